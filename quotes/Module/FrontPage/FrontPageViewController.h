#pragma once

#include "Module/FrontPage/AnalysisPanels/AnalysisPanels.h"
#include "Module/FrontPage/DecisionLists/AnalysisListView.h"
#include "Module/FrontPage/StocksPoolView/StocksPoolView.h"
#include "Module/FrontPage/SynthesizedView/SynthesizedView.h"
#include "Module/FrontSwitchTabBarView/FrontSwitchTabBarView.h"

#include "Common/TimerCenter.h"
#include "Components/CMHelpView.h"
#include "Components/CMViewController.h"
#include "DataBase/NetData/QuoteRequestRecord.h"
#include "base/NotificationCenter.h"

#include <array>
#include <string>
#include <vector>

// The home tab: under the navigation bar (settings, trade button, breaking news, alarm button,
// search field) a strip of seven page tabs over one analysis view at a time: the index column and
// home page (tab 100, made with the screen), the stock pools (101) and three analysis web pages
// (102–104) and the big-order and stage-statistics lists (105, 106), each made on its first
// selection and kept. Selecting the first or a web tab again asks it to reload; the others only show.
//
// While the screen shows, the shared TimerCenter refreshes the visible view every 5 s (id 100 + its
// refresh index: 0 the index column, 3 the pools, 1 and 2 the list tabs, 11 and 21 while they show a
// board's members; the web tabs none) as long as the quote connection is up; back after more than 5 s away
// the view is refreshed at once. The landscape orientations move the strip to StripLandscape and every tab
// view, later ones too, to TabLandscape. A memory warning drops the hidden list tabs. A tapped index, pool or
// list row opens the security's detail screen; the headline link of the first page switches to the news tab.
// The first start of an installation lays a help overlay over the whole application.
class FrontPageViewController : public CMViewController,
                                public FrontSwitchTabBarViewDelegate,
                                public SynthesizedViewDelegate,
                                public DDEModelViewDelegate,
                                public SectionAnalysViewDelegate,
                                public MarketTableBaseViewTarget,
                                public TimerCenterDelegate,
                                public DataPoolDelegate {
public:
    // The name replies to this screen would be posted under; the screen itself asks nothing.
    static constexpr const char *ObserverName = "FrontPageCenter";

    static constexpr int FirstTabTag = FrontSwitchTabBarView::FirstTag;
    enum Tab { HomeTab = 100, PoolTab, SubjectTab, DiscoverTab, ProfitTab, DDETab, SectionTab };
    static constexpr int TimerBase = 100;
    static constexpr double RefreshPeriod = 5.0;
    static constexpr int HomeIndex = 0, DDEIndex = 1, SectionIndex = 2, PoolIndex = 3;
    static constexpr int DDEBoardIndex = 11, SectionBoardIndex = 21;
    static constexpr int HelpTipID = 0;
    static constexpr std::array<const char *, 7> TabTitles = {
        "首页", "锐丰股票池", "主题投资", "价值发现", "一致性盈利预期", "DDE决策", "阶段统计"};
    static inline const gfx::Rect StripFrame{0, 0, 1024, 50}, StripLandscape{50, 0, 924, 50};
    static inline const gfx::Rect SynFrame{0, 60, 1024, 604}, TabLandscape{0, 50, 1024, 584};
    static inline const gfx::Rect HelpFrame{0, 0, 1024, 768};

    ~FrontPageViewController() override;
    void setUp() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void didReceiveMemoryWarning() override;
    bool shouldAutorotateTo(ui::Orientation orientation) override;
    base::Opt<void> traderButtonAction(ui::View &) override;

    base::Opt<void> SelectedTabItem(ui::Button &button) override;
    base::Opt<void> ReturnSynthesizeStockCode(const std::string &code, int index,
                                              const std::vector<std::string> &codes) override;
    base::Opt<void> ReturnNewsFuncID(const std::string &address) override;
    base::Opt<void> OnTimerCenterNotify(int32_t userID) override;
    base::Opt<void> ReturnDDEStockCodeMarket(const std::string &code, const std::string &moduleName,
                                             int stockIndex, const base::Array &dataArray) override;
    base::Opt<void> EnterDDEBoardStocks(const base::Ref<StockQuoteInf> &board) override;
    base::Opt<void> BackToDDEBoardAction() override;
    base::Opt<void> ReturnSectionStockCodeMarket(const std::string &code, const std::string &moduleName,
                                                 int stockIndex, const base::Array &dataArray) override;
    base::Opt<void> EnterSectionBoardStocks(const base::Ref<StockQuoteInf> &board) override;
    base::Opt<void> BackToSectionBoardAction() override;
    // From either list.
    base::Opt<void> resetTimerCenterOnScroll(int tabIndex) override;
    // Replies under ObserverName, and the connection and activity news of "CommonNotify": the
    // screen's views keep their own data, so the screen itself has nothing to do with either.
    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;
    virtual void CommonNotify(const base::Notification &notification);

    // The refresh index of the visible tab; -1 for the web tabs.
    int getCurTabIndex() const;
    void reqDataOnTimer(int index);
    void resetTabTimerCenter(int index);
    void ResizeTabViews(gfx::Rect rect);
    void rightAction(ui::View *sender);

    FrontSwitchTabBarView &frontSwitchTabBarView() { return *frontSwitchTabBarView_; }
    ui::View *currentSelectedView() const { return currentSelectedView_.lock().get(); }
    // The view of a tab tag, or nullptr before it is made.
    ui::View *tabView(int tag) const;
    SynthesizedView *synView() const { return synView_.get(); }
    StocksPoolView *stocksPoolView() const { return stocksPoolView_.get(); }
    DDEDecisionView *ddeDecisionView() const { return ddeDecisionView_.get(); }
    SectionAnalysView *sectionAnalysView() const { return sectionAnalysView_.get(); }
    gfx::Rect gRect() const { return gRect_; }
    int currentOrientation() const { return currentOrientation_; }

private:
    void initializeUI();
    void SetHelpTip();
    void CheckWhichTabIsAlive();
    void resetCurTimerCenter();
    void clearMemory();
    void openDetail(const std::string &code, const base::Array &list, int index);
    // Every tab view made so far.
    std::vector<ui::View *> tabViews() const;
    template <class View> base::Ref<View> &showTab(base::Ref<View> &member);
    template <class List> void showList(base::Ref<List> &member, int index, int boardIndex);

    base::Ref<FrontSwitchTabBarView> frontSwitchTabBarView_;
    base::Weak<ui::View> currentSelectedView_;
    gfx::Rect gRect_ = SynFrame;
    base::Ref<SynthesizedView> synView_;
    base::Ref<StocksPoolView> stocksPoolView_;
    base::Ref<SubjectInvestView> subjectInvestView_;
    base::Ref<DiscoverValueView> discoverValueView_;
    base::Ref<ProfitExpectcanceView> profitExpectanceView_;
    base::Ref<DDEDecisionView> ddeDecisionView_;
    base::Ref<SectionAnalysView> sectionAnalysView_;
    int currentOrientation_ = 0;
    base::Weak<CMHelpView> helpView_;
};
