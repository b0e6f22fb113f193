#pragma once

#include "Module/Decision/SVFundView.h"
#include "Module/Decision/TotalRankMultiListView.h"
#include "Module/Decision/TotalRankMultiMLineView.h"
#include "Module/FrontPage/DecisionLists/AnalysisListView.h"
#include "Module/FrontSwitchTabBarView/FrontSwitchTabBarView.h"

#include "Common/TimerCenter.h"
#include "Components/CMViewController.h"

#include <array>
#include <string>

// The decision tab ("决策"): under the navigation bar (settings, trade button, breaking news, search
// field) a strip of four page tabs over one view at a time: the overall rankings ("综合排行", nine
// small rank lists, over which a list's chart grid lies until its back button), the stage
// statistics, the big-order list and the fund-flow ranking of the boards, each made on its first
// selection and kept.
//
// While the screen shows, the shared TimerCenter refreshes the visible list every 5 s under
// 500 + its timer index (0 the chart grid or else the rankings, 1 stage statistics, 2 big orders, 3 fund
// flow; 21, 11 and 31 while that list shows a board's members) as long as the quote connection is up; back
// after more than 5 s away the list is refreshed at once. Scrolling a list, or entering or
// leaving a board, restarts the count-down. A memory warning drops the hidden lists. A security
// tapped in any list opens the detail screen, stepping through the list's rows.
class DecisionViewController : public CMViewController,
                               public FrontSwitchTabBarViewDelegate,
                               public DDEModelViewDelegate,
                               public SectionAnalysViewDelegate,
                               public SVFundViewDelegate,
                               public TotalRankMultiListViewDelegates,
                               public TotalRankMultiMLineViewDelegate,
                               public MarketTableBaseViewTarget,
                               public TimerCenterDelegate {
public:
    enum Tab { RankTab = 0, SectionTab = 1, DDETab = 2, SVFundTab = 3 };
    static constexpr int TimerBase = 500;
    static constexpr double RefreshPeriod = 5.0;
    static constexpr int RankIndex = 0, SectionIndex = 1, DDEIndex = 2, SVFundIndex = 3;
    static constexpr int DDEBoardIndex = 11, SectionBoardIndex = 21, SVFundBoardIndex = 31;
    static constexpr const char *Title = "决策";
    static constexpr std::array<const char *, 4> TabTitles = {"综合排行", "阶段统计", "DDE决策", "SV资金流"};
    static inline const gfx::Rect StripFrame{0, 0, 1024, 50}, TabFrame{0, 50, 1024, 584};

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void didReceiveMemoryWarning() override;
    bool shouldAutorotateTo(ui::Orientation orientation) override;
    base::Opt<void> traderButtonAction(ui::View &) override;

    base::Opt<void> frontSwitchTabBarView_didSelectTabItem(int index, const std::string &title) override;
    base::Opt<void> OnTimerCenterNotify(int32_t userID) override;

    base::Opt<void> ReturnDDEStockCodeMarket(const std::string &code, const std::string &moduleName,
                                             int stockIndex, const base::Array &dataArray) override;
    base::Opt<void> EnterDDEBoardStocks(const base::Ref<StockQuoteInf> &board) override;
    base::Opt<void> BackToDDEBoardAction() override;
    base::Opt<void> ReturnSectionStockCodeMarket(const std::string &code, const std::string &moduleName,
                                                 int stockIndex, const base::Array &dataArray) override;
    base::Opt<void> EnterSectionBoardStocks(const base::Ref<StockQuoteInf> &board) override;
    base::Opt<void> BackToSectionBoardAction() override;
    base::Opt<void> ReturnSVFundStockCodeMarket(const std::string &code, const std::string &moduleName,
                                                int stockIndex, const base::Array &dataArray) override;
    base::Opt<void> EnterSVFundBoardStocks(const base::Ref<StockQuoteInf> &board) override;
    base::Opt<void> BackToSVFundBoardAction() override;
    base::Opt<void> jumpToMinLineView(TotalRankMultiListView &view, const base::Dict &info) override;
    base::Opt<void> jumpToMultiMinLineView(TotalRankMultiListView &view, const base::Dict &info) override;
    base::Opt<void> totalRankMultiMLineView_didTouchBack() override;
    base::Opt<void> totalRankMultiMLineView_didSelectGridStockName(const std::string &name,
                                                                   const std::string &marketCode,
                                                                   int stockIndex,
                                                                   const base::Array &rows) override;
    // From any of the three lists.
    base::Opt<void> resetTimerCenterOnScroll(int tabIndex) override;

    // The timer index of the visible view; -1 for none.
    int getCurTabIndex() const;
    void reqDataOnTimer(int index);
    void resetTabTimerCenter(int index);

    FrontSwitchTabBarView &frontSwitchTabBarView() { return *frontSwitchTabBarView_; }
    ui::View *currentSelectedView() const { return currentSelectedView_.lock().get(); }
    gfx::Rect gRect() const { return gRect_; }
    // The view of a tab, or nullptr before it is made (or after a memory warning dropped it).
    ui::View *tabView(int index) const;
    DDEDecisionView *ddeDecisionView() const { return ddeDecisionView_.get(); }
    SectionAnalysView *sectionAnalysView() const { return sectionAnalysView_.get(); }
    SVFundView *svfundView() const { return svfundView_.get(); }
    TotalRankMultiListView *rankMutiListView() const { return rankMutiListView_.get(); }
    // The chart grid while it lies over the tabs, else nullptr.
    TotalRankMultiMLineView *rankMultiMLineView() const { return rankMultiMLineView_.lock().get(); }
    int currentOrientation() const { return currentOrientation_; }

private:
    void initUI();
    void selectTab(int index);
    void addTabView(const base::Ref<ui::View> &tab);
    void CheckWhichTabIsAlive();
    void resetCurTimerCenter();
    void clearMemory();
    void openDetail(const std::string &code, const base::Array &rows, int index);
    template <class List> void makeList(base::Ref<List> &member, int index, int boardIndex);

    base::Ref<FrontSwitchTabBarView> frontSwitchTabBarView_;
    base::Weak<ui::View> currentSelectedView_;
    gfx::Rect gRect_ = TabFrame;
    base::Ref<DDEDecisionView> ddeDecisionView_;
    base::Ref<SectionAnalysView> sectionAnalysView_;
    base::Ref<SVFundView> svfundView_;
    base::Ref<TotalRankMultiListView> rankMutiListView_;
    // Held by the view tree only, so that removing it is all its back button needs.
    base::Weak<TotalRankMultiMLineView> rankMultiMLineView_;
    int currentOrientation_ = 0;
};
