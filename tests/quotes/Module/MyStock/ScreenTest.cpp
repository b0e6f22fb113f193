#include "ScreenFixture.h"

#include "Golden.h"

#include "Components/CMHelpView.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"
#include "ui/TabBarController.h"

#include "base/FileManager.h"

#include <algorithm>

namespace mystock {

namespace {

TEST_F(MyStockScreenTest, StartUpAsksTheFirstPageThenItsFirstTenCharts) {
    EXPECT_EQ(screen->currentModelFileName(), "MyStockList");
    EXPECT_EQ(screen->configBarView().buttonList().currentTitle(), screen->currentModelName());
    EXPECT_EQ(codeRequests(), std::vector<size_t>{25});
    EXPECT_EQ(minuteRequests(), 10u);
    ASSERT_EQ(screen->myStockDataArray()->items.size(), size_t(GroupSize));
    EXPECT_TRUE(screen->myStockDataArray()->items[0]->basicInf->updateTick > 0);

    // Pages 1-3 as the offset passes 15, 40 and 65 trend rows, each once.
    for (float rows : {16.f, 17.f, 41.f, 66.f, 70.f}) {
        screen->prereqNextPageQuotes(rows * MyStockTableView::RowHeight, MyStockTableView::RowHeight);
        settle();
    }
    EXPECT_EQ(codeRequests(), (std::vector<size_t>{25, 25, 25}));
}

TEST_F(MyStockScreenTest, ASortFromTheServerKeepsEveryRowAndALocalOneFollowsWithinFiveSeconds) {
    advance(10);
    // The visible rows' refresh ticks while connected.
    EXPECT_FALSE(codeRequests().empty());
    screen->resetQuotesSortId(4, 0);
    settle();
    EXPECT_EQ(codeRequests(), (std::vector<size_t>{50, 50}));
    EXPECT_EQ(screen->myStockDataArray()->items.size(), size_t(GroupSize));
    screen->resetQuotesSortId(4, 1);
    settle();
    EXPECT_TRUE(codeRequests().empty());
    EXPECT_EQ(screen->myStockDataArray()->items.size(), size_t(GroupSize));
}

TEST_F(MyStockScreenTest, ASortFromTheServerWaitsBehindACentredViewOnlyWhileConnected) {
    advance(6);
    settle();
    gfx::Rect b = screen->view().bounds();
    const gfx::Rect centred{(b.width() - 140) / 2, (b.height() - 100) / 2, 140, 100};
    // Ended by the sorted rows, or by a reconnection when they never come.
    for (bool reconnect : {false, true}) {
        SCOPED_TRACE(reconnect);
        advance(6);
        screen->resetQuotesSortId(4, reconnect ? 1 : 0);
        ASSERT_NE(screen->waitingAlert(), nullptr);
        EXPECT_EQ(screen->waitingAlert()->frame(), centred);
        if (reconnect)
            base::NotificationCenter::shared().post(DataBase::CommonNotify, nullptr,
                                                    base::Dict{{"HQConnectStatus", true}});
        else
            settle();
        EXPECT_EQ(screen->waitingAlert(), nullptr);
        settle();
    }
    advance(6);
    quotes.closeConnection();
    pumpUntil([&] { return !db->isHQConnected(); });
    screen->resetQuotesSortId(4, 0);
    EXPECT_EQ(screen->waitingAlert(), nullptr);
}

TEST_F(MyStockScreenTest, TheTradeButtonLaunchesTheTrader) {
    std::vector<std::string> launched;
    base::Ref<base::Object> listener = base::make<base::Object>();
    base::NotificationCenter::shared().addObserver(
        listener, DataBase::AppNotify,
        [&](const base::Notification &n) { launched.push_back(n.userInfo.get("Data").stringValue()); });
    screen->traderButtonAction(screen->view());
    base::NotificationCenter::shared().removeObserver(listener.get());
    EXPECT_EQ(launched, std::vector<std::string>{"LaunchTrader"});
}

TEST_F(MyStockScreenTest, EditModeStopsTheTicksAndLeavingItReadsTheFileAndAsksThePageAgain) {
    codeRequests();
    ui::Button &edit = screen->configBarView().editButton();
    screen->BtnEditMyStockAction(edit);
    EXPECT_EQ(edit.currentTitle(), "完成");
    EXPECT_FALSE(screen->configView().isHidden());
    EXPECT_TRUE(tabButton(0).isHidden());
    advance(12);
    EXPECT_TRUE(codeRequests().empty());

    ui::TableView &list = screen->configView().configTableView();
    list.dataSource.lock()->moveRow(list, {0, 2}, {0, 0});
    screen->BtnEditMyStockAction(edit);
    settle();
    EXPECT_EQ(edit.currentTitle(), "编辑");
    EXPECT_EQ(*screen->myStockDataArray()->items[0]->MarketCode, group[2]["MarketCode"].stringValue());
    EXPECT_EQ(codeRequests(), std::vector<size_t>{25});
}

TEST_F(MyStockScreenTest, QuickChangesToTheGroupGiveOneRequestASecondAfterTheLast) {
    codeRequests();
    DataManager &dm = DataManager::sharedDataManager();
    const peers::Security &extra = market.securities()[size_t(GroupSize)];
    ASSERT_TRUE(dm.AddNewStockToModel(screen->currentModelName(), "MyStockList", extra.name,
                                      extra.market + extra.code));
    advance(0.5);
    ASSERT_TRUE(dm.DelNewStockToModel(screen->currentModelName(), "MyStockList", extra.name,
                                      extra.market + extra.code));
    advance(0.9);
    EXPECT_TRUE(codeRequests().empty());
    advance(0.2);
    settle();
    EXPECT_EQ(codeRequests(), std::vector<size_t>{25});
    advance(2);
    EXPECT_TRUE(codeRequests().empty());

    // A change to another group leaves this one alone: no page is asked again (the refresh of
    // the visible rows goes on).
    ASSERT_TRUE(dm.AddNewStockToModel("重点关注", "MyFocusList", extra.name, extra.market + extra.code));
    advance(2);
    settle();
    std::vector<size_t> asked = codeRequests();
    EXPECT_EQ(std::count(asked.begin(), asked.end(), size_t(MyStockQuotesData::PageSize)), 0);
    EXPECT_EQ(screen->myStockDataArray()->items.size(), size_t(GroupSize));
}

TEST_F(MyStockScreenTest, AfterASortARowOpensTheDetailScreenOnTheRowsAsShown) {
    advance(6);
    screen->resetQuotesSortId(4, 1);
    settle();
    std::vector<std::string> shown;
    for (const auto &row : screen->myStockDataArray()->items)
        shown.push_back(*row->MarketCode);
    ASSERT_NE(shown[3], group[3]["MarketCode"].stringValue()) << "the sort moved the rows";
    screen->ReturnStockName("", shown[3], 3);
    app.runPending();
    ASSERT_EQ(nav->viewControllers().size(), 2u);
    auto detail = std::dynamic_pointer_cast<StockDetailViewController>(nav->viewControllers().back());
    ASSERT_TRUE(detail);
    EXPECT_EQ(detail->stockCode(), shown[3]);
    EXPECT_EQ(detail->currentStocksIndex(), 3);
    for (size_t i = 0; i < shown.size(); ++i)
        EXPECT_EQ(detail->checkStocksArray()[i]["MarketCode"].stringValue(), shown[i]) << i;
}

TEST_F(MyStockScreenTest, TheResetAfterTheUsersFilesAreGoneShowsTheBundlesFirstGroup) {
    screen->configBarView().SetSelectedCircleTabIndex(3, 0);
    base::FileManager::remove(documentsFile("MyStockList.plist"));
    screen->ResetMyModuleAndStockArray();
    EXPECT_EQ(screen->currentModelFileName(), "MyStockList");
    EXPECT_EQ(screen->myStockDataArray()->items.size(),
              DataManager::sharedDataManager().GetCurrentMyStockArrayByModelName("MyStockList").size());
    EXPECT_LT(screen->myStockDataArray()->items.size(), size_t(GroupSize));
    EXPECT_FALSE(screen->configBarView().circleButton(0)->isEnabled());
    EXPECT_TRUE(screen->configBarView().circleButton(3)->isEnabled());
}

// The first-run help shows once over the tab bar, its five tips where the screen shows them.
TEST_F(MyStockScreenTest, TheHelpShowsOnceOverTheTabBar) {
    DataManager::sharedDataManager().SetHelpShowState(true, MyStockViewController::HelpID);
    auto tabs = base::make<ui::TabBarController>();
    auto helps = [&] {
        std::vector<CMHelpView *> found;
        for (const auto &view : tabs->view().subviews())
            if (auto *help = dynamic_cast<CMHelpView *>(view.get()))
                found.push_back(help);
        return found;
    };
    std::vector<base::Ref<MyStockViewController>> screens;
    for (int i = 0; i < 2; ++i) {
        screens.push_back(base::make<MyStockViewController>());
        tabs->setViewControllers({base::make<ui::NavigationController>(screens.back())});
        app.window().setRootViewController(tabs);
        app.runPending();
        settle();
        if (i == 0)
            EXPECT_TRUE(qvtest::matchesGolden(app.render(), "mystock/help"));
    }
    std::vector<CMHelpView *> shown = helps();
    ASSERT_EQ(shown.size(), 1u);
    CMHelpView &help = *shown[0];
    ASSERT_EQ(help.countMaskBtn(), 5);
    const gfx::Rect tips[] = {
        {948, 65, 76, 33}, {0, 65, 191, 33}, {104, 642, 21, 21}, {443, 104, 33, 27}, {821, 63, 127, 33}};
    for (int i = 0; i < 5; ++i) {
        ui::View *tip = help.viewWithTag(help.beginHelpBtnTag() + i);
        ASSERT_NE(tip, nullptr);
        EXPECT_EQ(tip->convert(tip->bounds(), nullptr), tips[i]) << i;
    }
    EXPECT_FALSE(DataManager::sharedDataManager().IsFirstShowHelp(MyStockViewController::HelpID));
    app.window().setRootViewController(nav);
    app.runPending();
}

// The editor over the trend rows, then a row's delete control asking for confirmation.
TEST_F(MyStockScreenTest, GoldenEditMode) {
    advance(1);
    settle();
    ui::Button &edit = screen->configBarView().editButton();
    tapCentre(edit);
    ASSERT_FALSE(screen->configView().isHidden());
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "mystock/edit-mode"));
    base::Ref<ui::TableCell> row = screen->configView().configTableView().cellForRow({0, 1});
    ASSERT_TRUE(row && row->deleteControl());
    tapCentre(*row->deleteControl());
    ASSERT_TRUE(row->isShowingDeleteConfirmation());
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "mystock/edit-delete"));
}

TEST_F(MyStockScreenTest, GoldenTrendAndPlainRows) {
    advance(1);
    settle();
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "mystock/trend-rows"));
    gfx::Rect plain = tabButton(1).convert(tabButton(1).bounds(), nullptr);
    app.tap({plain.x() + plain.width() / 2, plain.y() + plain.height() / 2});
    app.runPending();
    EXPECT_EQ(screen->currentViewType(), 1);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "mystock/plain-rows"));
}

} // namespace

} // namespace mystock
