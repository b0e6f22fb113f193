#include "CoordinatorFixture.h"
#include "Golden.h"

#include "Module/MyStock/MyStockViewController.h"
#include "Module/StockDataBaseMgnt/DataManager.h"

#include "DataBase/ComAPI.h"
#include "base/PropertyList.h"
#include "ui/NavigationController.h"

namespace mystock {

namespace {

constexpr int CodeListClass = 106;
constexpr int GroupSize = 120;

// A finished login on a loopback market of 120 stocks on each exchange, the default group
// "MyStockList" holding 120 of them, and the watch-list screen under a navigation controller.
class MyStockScreenTest : public coordinator::CoordinatorTest {
protected:
    MyStockScreenTest() : coordinator::CoordinatorTest(peers::MarketFixture::standard(GroupSize)) {
        for (int i = 0; i < GroupSize; ++i) {
            const peers::Security &s = market.securities()[size_t(i)];
            group.add(base::Dict{{"MarketCode", s.market + s.code}, {"StockName", s.name}});
        }
        base::FileManager::remove(documentsFile("MyStockModuleList.plist"));
        EXPECT_TRUE(base::PropertyList::write(group, documentsFile("MyStockList.plist")));
        MyStockViewController::resetEditFlag();
        DataManager::resetSharedDataManager();
        DataManager::sharedDataManager().initialize();
        DataManager::sharedDataManager().msgboxParentHandle = app.window().self<ui::View>();
        DataBase::setSharedDataBase(db);
        readyWithoutAccount();
        advance(30);
        nav = base::make<ui::NavigationController>(screen);
        app.window().setRootViewController(nav);
        app.runPending();
        settle();
    }
    ~MyStockScreenTest() override {
        app.window().setRootViewController(nullptr);
        nav.reset();
        screen.reset();
        settle();
        DataBase::setSharedDataBase(nullptr);
        DataManager::resetSharedDataManager();
        MyStockViewController::resetEditFlag();
    }
    // The by-code quote requests (their code counts) since the last call.
    std::vector<size_t> codeRequests() {
        std::vector<peers::ReceivedFrame> frames = quotes.received(peers::QuoteServer::QuoteListType);
        std::vector<size_t> counts;
        for (size_t i = codesSeen_; i < frames.size(); ++i) {
            ByteView body = frames[i].bytes();
            uint32_t pos = 0;
            if (ComAPI::ReadShort(body, pos) != CodeListClass)
                continue;
            ComAPI::ReadShort(body, pos);
            counts.push_back(size_t(ComAPI::ReadShort(body, pos)));
        }
        codesSeen_ = frames.size();
        return counts;
    }
    size_t minuteRequests() {
        size_t all = quotes.received(peers::QuoteServer::MinLineType).size(), fresh = all - minutesSeen_;
        minutesSeen_ = all;
        return fresh;
    }
    ui::Button &tabButton(int i) { return *screen->configBarView().tabButton(i); }

    peers::MarketFixture market = quotes.market();
    base::Array group;
    base::Ref<MyStockViewController> screen = base::make<MyStockViewController>();
    base::Ref<ui::NavigationController> nav;

private:
    size_t codesSeen_ = 0, minutesSeen_ = 0;
};

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
}

TEST_F(MyStockScreenTest, ARowOpensTheDetailScreenWithTheRowsAsShown) {
    screen->ReturnStockName("", *screen->myStockDataArray()->items[3]->MarketCode, 3);
    app.runPending();
    EXPECT_EQ(nav->viewControllers().size(), 2u);
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
