#pragma once

#include "Module/FreeFrontPage/IndexSideBannerListView.h"
#include "Module/FreeFrontPage/MyStockListView.h"
#include "Module/FreeFrontPage/NewsContentFrontPageView.h"
#include "Module/FreeFrontPage/NewsSideBarView.h"
#include "Module/FreeFrontPage/SVCapitalSideBarView.h"

#include "Common/TimerCenter.h"
#include "Components/CMViewController.h"

// The free home page ("首页"): one landscape screen holding the fund-flow panel across the top
// left, the index list under it, the watch-list panel beside that and the news side bar down the
// right edge; the refresh reaches all four. A tapped index chart or watch-list row opens the detail
// screen. A touched headline opens the headline pop-up over the panels (centred a little above the
// middle), whose security links open the detail screen. While the page shows, the shared
// TimerCenter refreshes it every 5 s (id 600) as long as the quote connection is up; back after
// more than 5 s away it refreshes at once.
// The first load of an installation asks the application for the user guide, once.
//
// Made by class name from the tab configuration.
class FreeFrontPageViewController : public CMViewController,
                                    public TimerCenterDelegate,
                                    public SVCapitalChartViewOperation,
                                    public IndexSideBannerDelegate,
                                    public MyStockListViewDelegate,
                                    public NewsSideBarViewOperation,
                                    public NewsContentFrontPageViewDelegate {
public:
    static constexpr int TimerID = 600;
    static constexpr double RefreshPeriod = 5.0;
    static constexpr const char *GuideKey = "IsShowUserGuide";
    // The heights the navigation bar, the tab bar and the status bar take.
    static constexpr float NavBarHeight = 44, TabBarHeight = 49, StatusBarHeight = 20;
    static constexpr float NewsSideBarWidth = 279, IndexListWidth = 235, FundFlowHeight = 260;
    static constexpr gfx::Size HeadlinePopupSize{600, 400};

    // The panels' frames for a screen of these bounds, laid out for landscape.
    struct Layout {
        gfx::Rect fundFlow, indexList, newsSideBar, watchList;
        gfx::Point headlineCentre;
    };
    static Layout layoutFor(gfx::Rect screenBounds);

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    bool shouldAutorotateTo(ui::Orientation orientation) override;
    base::Opt<void> traderButtonAction(ui::View &) override;

    void resetCurTimerCenter();
    base::Opt<void> OnTimerCenterNotify(int32_t userID) override;
    void reqDataOnTimer(int index);
    base::Opt<void> chartViewClick(SVCapitalChartView &chart, const base::Dict &dic) override;
    base::Opt<void> IndexSideBannerMinLineViewClick(ui::View &list, const base::Dict &userInfo) override;
    base::Opt<void> ReturnStockCodeMarket(const std::string &code, const std::string &moduleName,
                                          int stockIndex, const base::Array &dataArray) override;

    // A headline: the pop-up over the panels, closed by a tap outside it, showing the article at
    // "urlKey" when there is one.
    void newsSideBarViewItemClick(NewsSideBarView &sideBar, const base::Dict &userInfo) override;
    // A security link of the article opens its detail screen, with no list to walk.
    base::Opt<void> newsContentFrontPageView_didClickStockCode(const std::string &code) override;

    NewsSideBarView *newsSideBarV() const { return newsSideBarV_.get(); }
    NewsContentFrontPageView *newsContentV() const { return newsContentV_.get(); }
    SVCapitalSideBarView *svCapitalSideBarV() const { return svCapitalSideBarV_.get(); }
    IndexSideBannerListView *indexSidBanner() const { return indexSidBanner_.get(); }
    MyStockListView *mystockListV() const { return mystockListV_.get(); }
    const Layout &layout() const { return layout_; }

private:
    void showGuideOnFirstRun();
    void initUI();
    // The news side bar in its place, and the headline pop-up, made once and shown by a headline.
    void initNewsPanels();
    void openDetail(const std::string &code, const base::Array &stocks, int index);

    base::Ref<SVCapitalSideBarView> svCapitalSideBarV_;
    base::Ref<IndexSideBannerListView> indexSidBanner_;
    base::Ref<MyStockListView> mystockListV_;
    base::Ref<NewsSideBarView> newsSideBarV_;
    base::Ref<NewsContentFrontPageView> newsContentV_;
    Layout layout_;
};
