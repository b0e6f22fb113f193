#pragma once

#include "CMBoardBannerView.h"
#include "CMIndexBannerView.h"
#include "CMOverturnShowerView.h"

#include "Common/MyTimer.h"
#include "DataBase/NetData/CustomQuotesList.h"
#include "DataBase/NetData/NetDataCenter.h"
#include "HTTPRequest.h"
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
// Strip geometry is given for the whole 1024 × 768 screen; the controller's view starts below the
// status bar, so the strips are placed that much higher in it. With the landscape orientations (3,
// 4) set before the view is built the strips take their landscape frames.
class CMTabBarController : public ui::TabBarController,
                           public DataPoolDelegate,
                           public HTTPRequestDelegate,
                           public CMIndexBannerViewDelegate,
                           public CMBoardBannerViewDelegate,
                           public CMOverturnShowerViewDelegate {
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

    CMOverturnShowerView &overturnShowerView() { return *overturnShowerView_; }
    CMIndexBannerView &indexBannerView() { return *indexBannerView_; }
    CMBoardBannerView &boardBannerView() { return *boardBannerView_; }
    const base::Ref<CustomQuotesList> &indexQuotes() const { return indexQuotes_; }
    // A headline fetch is under way.
    bool isFetchingNews() const { return newsRequest_ != nullptr; }

private:
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
};
