#include "StartupFixture.h"

#include "Components/CMHelpView.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"
#include "Module/Market/MarketViewController.h"
#include "Module/NavToolBarModule/SearchMyStockPopover/SearchMyStockContentController.h"
#include "Module/StockDataBaseMgnt/DataManager.h"

#include "ui/NavigationController.h"

namespace app {
namespace {

// The stock detail screen as a user reaches it in the running application, every touch through
// the window: a code typed into the home screen's search field and the result picked, or a row of
// the market tab's stock list.
class DetailFromSearchTest : public StartupTest {
protected:
    void startApp() {
        writeUserConfig({{"IsShowNoticeAnnounce", false}});
        // As in a fresh home, whatever an earlier run left: the first detail screen shows its help.
        DataManager::sharedDataManager().SetHelpShowState(true, StockDetailViewController::kHelpID);
        launch();
        ASSERT_TRUE(runUntil([&] { return tabsShown(); }, 60));
        driver.runUntilIdle();
    }
    ui::NavigationController &homeTab() {
        return dynamic_cast<ui::NavigationController &>(*tabBar().viewControllers().front());
    }
    CMViewController &home() {
        return dynamic_cast<CMViewController &>(*homeTab().viewControllers().front());
    }
    SearchMyStockContentController &search() {
        return dynamic_cast<SearchMyStockContentController &>(
            *dynamic_cast<ui::NavigationController &>(home().searchPopoverController()->content())
                 .viewControllers()
                 .front());
    }
    // Taps the search field, types the code and picks the first result.
    StockDetailViewController *openBySearch(const std::string &code) {
        tap(*home().searchBarTextField());
        host.typeText(code);
        driver.runUntilIdle();
        advance(1);
        if (!home().searchPopoverController() || search().searchResultArray().empty())
            return nullptr;
        ui::TableView &results = search().searchResultTable()->resultTableView();
        base::Ref<ui::TableCell> first = results.cellForRow({0, 0});
        if (!first)
            return nullptr;
        tap(*first);
        advance(1);
        return dynamic_cast<StockDetailViewController *>(homeTab().top());
    }
    // Shows the market tab, its stock list by its switch button and taps the list's first row.
    StockDetailViewController *openByMarketRow() {
        auto &tabs = tabBar().viewControllers();
        for (size_t i = 0; i < tabs.size(); ++i) {
            auto *nav = dynamic_cast<ui::NavigationController *>(tabs[i].get());
            auto *market =
                nav ? dynamic_cast<MarketViewController *>(nav->viewControllers().front().get()) : nullptr;
            if (!market)
                continue;
            tabBar().setSelectedIndex(int(i));
            advance(1);
            tap(*market->switchTabBarView()->buttonAt(StockModelView::TabIndex));
            advance(1);
            if (!market->stockModelView() || !market->stockModelView()->curTableView())
                return nullptr;
            base::Ref<ui::TableCell> first = market->stockModelView()->curTableView()->cellForRow({0, 0});
            if (!first)
                return nullptr;
            tap(*first);
            advance(1);
            return dynamic_cast<StockDetailViewController *>(nav->top());
        }
        return nullptr;
    }
    // Taps the tab at its centre through the window.
    void tapTab(CMSlideMenuView &strip, int index) {
        ASSERT_TRUE(strip.item(index));
        tap(*strip.item(index));
        advance(1);
    }
    // A first detail screen in a fresh home shows its help over the whole tab bar: until its close
    // button takes it away, the overlay, not the tab strip under it, takes the touches. Then the
    // strips switch the panel's pages.
    void expectTheHelpThenTheStripsTakeTheTouches(StockDetailViewController &detail) {
        RightStockDetailPanel *panel = detail.rightStockDetailPanel();
        ASSERT_TRUE(panel);
        CMSlideMenuView &top = panel->slideMenuViewTop();
        CMSlideMenuItem &orderSizes = *top.item(1);
        gfx::Rect tab = orderSizes.convert(orderSizes.bounds(), nullptr);
        CMHelpView *help = nullptr;
        for (const auto &view : tabBar().view().subviews())
            if (auto *found = dynamic_cast<CMHelpView *>(view.get()))
                help = found;
        ASSERT_TRUE(help);
        ui::View *hit = host.window().hitTest({tab.midX(), tab.midY()}, nullptr);
        EXPECT_TRUE(hit && hit->isDescendantOf(help));
        tapTab(top, 1);
        EXPECT_FALSE(panel->buySellPanelView().isHidden()) << "the help took the tap";
        base::Weak<ui::View> shown = help->weakSelf<ui::View>();
        tap(help->closeButton());
        EXPECT_FALSE(shown.lock()) << "closed and gone";
        hit = host.window().hitTest({tab.midX(), tab.midY()}, nullptr);
        EXPECT_TRUE(hit && hit->isDescendantOf(&orderSizes))
            << "the window hands the tab's touches to the tab";

        tapTab(top, 1);
        EXPECT_TRUE(panel->buySellPanelView().isHidden());
        EXPECT_FALSE(panel->tigerSubDetailView().isHidden()) << "龙虎盘";
        tapTab(top, 2);
        EXPECT_FALSE(panel->elementBoardView().isHidden()) << "板块";
        tapTab(top, 0);
        EXPECT_FALSE(panel->buySellPanelView().isHidden()) << "买卖";
        tapTab(panel->slideMenuViewBelow(), 2);
        EXPECT_FALSE(panel->valuePanelView().isHidden()) << "盘口";
    }
};

TEST_F(DetailFromSearchTest, TheStockPanelsTabsSwitchAfterASearchOpenedTheScreen) {
    startApp();
    StockDetailViewController *detail = openBySearch("600000");
    ASSERT_TRUE(detail);
    EXPECT_EQ(detail->stockCode(), "SH600000");
    EXPECT_FALSE(home().searchPopoverController()->isVisible());
    expectTheHelpThenTheStripsTakeTheTouches(*detail);
}

// The search has no part in it: a screen opened from a list row behaves the same.
TEST_F(DetailFromSearchTest, TheStockPanelsTabsSwitchAfterAMarketRowOpenedTheScreen) {
    startApp();
    StockDetailViewController *detail = openByMarketRow();
    ASSERT_TRUE(detail);
    EXPECT_TRUE(detail->rightStockDetailPanel()) << detail->stockCode();
    expectTheHelpThenTheStripsTakeTheTouches(*detail);
}

} // namespace
} // namespace app
