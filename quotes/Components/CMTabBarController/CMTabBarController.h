#pragma once

#include "CMBoardBannerView.h"
#include "CMIndexBannerView.h"
#include "CMOverturnShowerView.h"

#include "Common/MyTimer.h"
#include "Components/CMViewController.h"
#include "DataBase/NetData/CustomQuotesList.h"
#include "DataBase/NetData/NetDataCenter.h"
#include "HTTPRequest.h"
#include "SpeakController.h"
#include "base/Timer.h"
#include "ui/Alert.h"
#include "ui/TabBarController.h"

#include <string>

// The application's tab-bar controller. It becomes the window's root after the first market login
// and lives for the whole run; its tabs are the top-level screens of the tab configuration. Under
// every tab it keeps three strips of its own: the headline marquee and, below it, the index and
// board banners. Its view also hosts the overlays: the trading tool bar and broker login, the
// splash of a market re-login, and DataManager's tips.
//
// From its first appearance it asks for the banners' quotes every 5.0 s while the quote server is
// connected (the three indexes, tag 100; the five boards of class 105 ranked by rise, tag 201; both
// message 2955) and fetches the headline file from the news host every 360.0 s whether connected
// or not. A headline reply replaces the marquee's items only when it is a JSON array; its elements
// that are dictionaries with a text "title" are kept. Anything else (no array, a failed fetch, no
// news host configured) keeps what the marquee shows.
//
// It also holds the voice-search dialog every screen's speech button opens: when a speech service is
// set and a microphone is there, the dialog "语音查询" (tag SpeakAlertTag) records for SpeakDuration
// seconds, then the recording is recognised and its text reaches the asking screen as pinyin
// initials (ReturnSpeechSearchResult). "取 消" ends the recording and sends nothing. What goes
// wrong is told in a toast: no service set, no microphone (also when capture fails to start), or
// a recognition that failed in any way; the speech button works again at once.
//
// Strip geometry is given for the whole 1024 × 768 screen; the controller's view starts below the
// status bar, so the strips are placed that much higher in it. With the landscape orientations (3,
// 4) set before the view is built the strips take their landscape frames.
class CMTabBarController : public ui::TabBarController,
                           public DataPoolDelegate,
                           public HTTPRequestDelegate,
                           public CMIndexBannerViewDelegate,
                           public CMBoardBannerViewDelegate,
                           public CMOverturnShowerViewDelegate,
                           public CMSpeechStarter,
                           public SpeakControllerDelegate {
public:
    static constexpr double QuoteInterval = 5.0;
    static constexpr double NewsInterval = 360.0;
    static constexpr int QuoteListType = 2955;
    static constexpr int IndexTag = 100, BoardTag = 201;
    static constexpr int BoardClassID = 105, BoardCount = 5, RiseSortField = 1;
    static constexpr const char *HeadlinePath = "/wap/data/ipad/news/ssxw/index.json";
    static constexpr float HelpBtnHoriX = 924;
    // Screen frames of the strips: as created, and in landscape.
    static inline const gfx::Rect MarqueeFrame{0, 700, 1024, 20}, IndexBannerFrame{0, 720, 180, 44},
        BoardBannerFrame{HelpBtnHoriX, 720, 100, 44};
    static inline const gfx::Rect MarqueeLandscape{0, 705, 1024, 20}, IndexBannerLandscape{0, 725, 180, 44},
        BoardBannerLandscape{HelpBtnHoriX, 725, 100, 44};
    // The tab of the market screen and its board module.
    static constexpr int MarketTabIndex = 2, BoardModuleIndex = 1;

    static constexpr int SpeakAlertTag = 1011;
    static constexpr double SpeakDuration = 3.0;
    static constexpr const char *SpeakTitle = "语音查询";
    static constexpr const char *SpeakMessage = "请说出股票名称或代码......";
    static constexpr const char *SpeakCancelTitle = "取 消";
    static constexpr const char *SpeakIconName = "speech_ico.png";
    static inline const gfx::Rect SpeakIconFrame{80, 15, 26, 26};
    static constexpr const char *NoSpeechServiceText = "语音查询服务未设置";
    static constexpr const char *NoMicrophoneText = "未检测到麦克风，无法使用语音查询";
    static constexpr const char *RecogniseFailedText = "语音不能识别，请再试一次";

    // The marquee's first item: the maker's greeting with its securities code and web address.
    static std::string welcomeText();
    // The index codes, in banner order.
    static const std::vector<std::string> &indexCodes();

    ~CMTabBarController() override;

    int prevOrientation() const { return prevOrientation_; }
    void setPrevOrientation(int orientation) { prevOrientation_ = orientation; }

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    // First appearance only: the timers, the index list and the first requests.
    void initData();
    void OnMyTimerEvent();
    void OnNewsTimerEvent();
    void reqData(bool first);
    void reqIndexs();
    void reqBoard();
    void reqHttpNews();

    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;
    void ProcQuotes(const base::Ref<ReqParams> &params);
    base::Opt<void> requestFinished(HTTPRequest &request) override;
    base::Opt<void> requestFailed(HTTPRequest &request) override;

    // A tapped index opens in the selected tab: an open detail screen on top changes security,
    // else a detail screen is pushed. Nothing without a navigation controller there.
    base::Opt<void> ReturnSelectedIndex(const std::string &name, const std::string &code) override;
    // A tapped board opens the market tab (2) on its board module, back at the market screen;
    // the board itself is not passed on. Nothing without a tab 2.
    base::Opt<void> ReturnSelectedBoard(const std::string &name, const std::string &code) override;
    // Marquee taps open nothing.
    base::Opt<void> EnterNewsDetail(const std::string &) override { return {}; }

    // The voice dialog for the screen whose speech button was pressed; nothing while a recording
    // or recognition is under way.
    void StartSpeech(base::Weak<CMViewController> receiver) override;
    // The recording time is up: the dialog goes and the recording is recognised.
    void SpeakTimerEvent();
    base::Opt<void> ReturnRecogniseSuccess(const std::string &text) override;
    base::Opt<void> ReturnRecogniseError(const std::string &text) override;
    // Created on the first press of a speech button.
    const base::Ref<SpeakController> &speak() const { return speak_; }

    CMOverturnShowerView &overturnShowerView() { return *overturnShowerView_; }
    CMIndexBannerView &indexBannerView() { return *indexBannerView_; }
    CMBoardBannerView &boardBannerView() { return *boardBannerView_; }
    const base::Ref<CustomQuotesList> &indexQuotes() const { return indexQuotes_; }
    // A headline fetch is under way.
    bool isFetchingNews() const { return newsRequest_ != nullptr; }

private:
    class SpeakAlertRelay;
    void speakAlertDidPresent();
    void speakAlertCancelled();
    void closeSpeakAlert();

    void SetOrientation(int orientation);
    // The screen on top of the selected tab.
    ui::ViewController *visibleController() const;
    // A screen frame in the view's own coordinates.
    static gfx::Rect inView(gfx::Rect screenFrame);

    base::Ref<CMOverturnShowerView> overturnShowerView_;
    base::Ref<CMIndexBannerView> indexBannerView_;
    base::Ref<CMBoardBannerView> boardBannerView_;
    int prevOrientation_ = 0;
    base::Ref<MyTimer> myTimer_, newsTimer_;
    base::Ref<CustomQuotesList> indexQuotes_;
    base::Ref<StockQuoteList> indexRspArray_;
    base::Ref<StockQuoteList> boardRspArray1_;
    base::Ref<HTTPRequest> newsRequest_;
    base::Weak<CMViewController> mNeedResultHandle;
    base::Ref<SpeakController> speak_;
    base::Ref<ui::Alert> speakAlert_;
    base::Ref<SpeakAlertRelay> speakAlertRelay_;
    base::Ref<base::Timer> speakTimer_;
};
