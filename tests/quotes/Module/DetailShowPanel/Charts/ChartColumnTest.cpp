#include "DetailScreenFixture.h"

#include "Components/CMHelpView.h"
#include "DataBase/NetData/StockDetailStatus.h"
#include "Golden.h"
#include "ui/TabBarController.h"

namespace detailscreen {
namespace {

StockDetailStatus &status() {
    return *DataBase::sharedDataBase()->IO_StockDetailStatus();
}

// The column of each kind of security on the intraday and the candle tab: which chart shows at
// which frame, and whether the deal queue, the slider and the ex-rights button come with it.
TEST_F(DetailScreenTest, TheColumnOfEachKindOfSecurity) {
    struct Case {
        const char *code;
        int tab;
        gfx::Rect chart;
        bool dealQueue, slider, exright;
    };
    const Case cases[] = {
        {"SH600000", 0, {0, 120, 768, 392}, true, false, false},
        {"SH600000", 1, {0, 120, 768, 465}, false, true, true},
        {"SH000001", 0, {0, 120, 768, 520}, false, false, false},
        {"SH000001", 1, {0, 120, 768, 465}, false, true, false},
        {"SFIF1212", 1, {0, 120, 768, 465}, false, true, false},
        {"OF110022", 1, {0, 120, 768, 520}, false, false, false},
    };
    readyWithoutAccount();
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.code) + " tab " + std::to_string(c.tab));
        status().setIsShowKLine(false);
        auto screen = open(c.code);
        screen->StockDetailBarSelectedIndex(c.tab, 0, *screen->stockDetailSwitchBar());
        settle();
        ui::View *chart = c.tab == 0 ? static_cast<ui::View *>(screen->trendLineView()) : screen->klineView();
        ui::View *other = c.tab == 0 ? static_cast<ui::View *>(screen->klineView()) : screen->trendLineView();
        EXPECT_FALSE(chart->isHidden());
        EXPECT_TRUE(other->isHidden());
        EXPECT_EQ(chart->frame(), c.chart);
        EXPECT_EQ(!screen->dealQueuePanelView()->isHidden(), c.dealQueue);
        EXPECT_EQ(!screen->sliderView()->isHidden(), c.slider);
        EXPECT_EQ(!screen->klineView()->exrightButton()->isHidden(), c.exright);
        nav->pop(false);
        app.runPending();
    }
}

TEST_F(DetailScreenTest, BeforeItsBasicInformationAStockShowsTheDealQueue) {
    readyWithoutAccount();
    status().setIsShowKLine(false);
    auto screen = make("SH600000");
    push(screen);
    EXPECT_FALSE(screen->dealQueuePanelView()->isHidden());
    EXPECT_EQ(screen->dealQueuePanelView()->frame(), (gfx::Rect{0, 510, 768, 129}));
    EXPECT_EQ(screen->trendLineView()->frame(), (gfx::Rect{0, 120, 768, 392}));
    settle();
}

TEST_F(DetailScreenTest, AFundStartsOnCandlesAndNeverAsksForMinutes) {
    readyWithoutAccount();
    status().setIsShowKLine(false);
    quotes.clearReceived();
    auto screen = open("OF110022");
    EXPECT_TRUE(screen->trendLineView()->isHidden());
    EXPECT_FALSE(screen->klineView()->isHidden());
    EXPECT_TRUE(screen->stockDetailSwitchBar()->tab(1).isPressed());
    screen->StockDetailBarSelectedIndex(0, 0, *screen->stockDetailSwitchBar());
    screen->SelectedIndicator(1);
    advance(6);
    EXPECT_FALSE(typeSet().contains(2942));
    EXPECT_FALSE(typeSet().contains(2944));
    EXPECT_TRUE(screen->sliderView()->isHidden());
}

TEST_F(DetailScreenTest, TheGridsChartAndPeriodOpenTheScreen) {
    readyWithoutAccount();
    status().setIsShowKLine(true);
    status().setShowKType(3);
    quotes.clearReceived();
    auto screen = open("SH600000");
    EXPECT_TRUE(screen->stockDetailSwitchBar()->tab(1).isPressed());
    EXPECT_FALSE(screen->klineView()->isHidden());
    EXPECT_EQ(screen->klineView()->ktype(), 3);
    EXPECT_EQ(screen->sliderView()->currentSelIndex(), 2);
    EXPECT_TRUE(typeSet().contains(2944));
    EXPECT_FALSE(typeSet().contains(2942));
}

// The web tab and the news tab take the column's place; the zoom button does nothing there.
TEST_F(DetailScreenTest, TheOtherTabsHideTheChartsAndRefuseTheFullScreen) {
    readyWithoutAccount();
    status().setIsShowKLine(false);
    auto screen = open("SH600000");
    for (int tab : {2, 3}) {
        SCOPED_TRACE(tab);
        screen->StockDetailBarSelectedIndex(tab, 0, *screen->stockDetailSwitchBar());
        for (ui::View *view :
             std::initializer_list<ui::View *>{screen->klineView(), screen->trendLineView(),
                                               screen->dealQueuePanelView(), screen->sliderView()})
            EXPECT_TRUE(view->isHidden());
        screen->ZoomInAction();
        EXPECT_EQ(screen->curFullScreenVC(), nullptr);
    }
    EXPECT_TRUE(screen->f10TabView()->isHidden());
    // Another group or another sender changes nothing.
    screen->StockDetailBarSelectedIndex(0, 1, *screen->stockDetailSwitchBar());
    screen->StockDetailBarSelectedIndex(0, 0, *screen->dealQueuePanelView());
    EXPECT_TRUE(screen->trendLineView()->isHidden());
    screen->StockDetailBarSelectedIndex(0, 0, *screen->stockDetailSwitchBar());
    EXPECT_FALSE(screen->trendLineView()->isHidden());
    settle();
}

// The first-use help shows once, over the tab bar, with its tips where the screen shows them. It
// takes every touch until its close button, so its picture must read as help and say how to close
// it even over the dark screen.
TEST_F(DetailScreenTest, TheHelpOverlayShowsOnceOverTheTabBar) {
    readyWithoutAccount();
    DataManager::sharedDataManager().SetHelpShowState(true, 2);
    auto tabs = base::make<ui::TabBarController>();
    auto tabNav = base::make<ui::NavigationController>(base::make<ListScreen>());
    tabs->setViewControllers({tabNav});
    app.window().setRootViewController(tabs);
    app.runPending();
    auto countHelp = [&] {
        int n = 0;
        for (const auto &view : tabs->view().subviews())
            n += dynamic_cast<CMHelpView *>(view.get()) ? 1 : 0;
        return n;
    };
    for (int i = 0; i < 2; ++i) {
        auto screen = make("SH600000");
        tabNav->push(screen, false);
        app.runPending();
        settle();
        if (i == 0)
            EXPECT_TRUE(qvtest::matchesGolden(app.render(), "detail/help-overlay"));
        tabNav->pop(false);
        app.runPending();
    }
    ASSERT_EQ(countHelp(), 1);
    CMHelpView *help = nullptr;
    for (const auto &view : tabs->view().subviews())
        if (auto *h = dynamic_cast<CMHelpView *>(view.get()))
            help = h;
    ASSERT_EQ(help->countMaskBtn(), 6);
    const gfx::Rect tips[] = {{172, 87, 26, 24},  {410, 150, 156, 29}, {575, 151, 26, 26},
                              {614, 152, 28, 25}, {689, 453, 22, 22},  {0, 573, 771, 128}};
    for (int i = 0; i < 6; ++i) {
        ui::View *tip = help->viewWithTag(help->beginHelpBtnTag() + i);
        ASSERT_NE(tip, nullptr);
        gfx::Point origin = tip->superview()->convert(tip->frame().o, nullptr);
        EXPECT_EQ(origin, tips[i].o) << i;
        EXPECT_EQ(tip->frame().s, tips[i].s) << i;
    }
    app.window().setRootViewController(nav);
    app.runPending();
}

} // namespace
} // namespace detailscreen
