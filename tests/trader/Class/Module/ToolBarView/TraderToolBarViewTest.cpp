#include "ToolBarFixture.h"

#include "Class/Module/ToolBarView/TradeSettingsView/TradeSettingsView.h"
#include "Class/Module/ToolBarView/TradeView/TradeView.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"
#include "support/Golden.h"

#include <cmath>

namespace toolbar {
namespace {

// The brightness of a colour, 0 to 1.
float luminance(float r, float g, float b) {
    return 0.299f * r + 0.587f * g + 0.114f * b;
}

// Where a view lies among its siblings: later is in front.
size_t depth(const ui::View &view) {
    const auto &siblings = view.superview()->subviews();
    for (size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].get() == &view)
            return i;
    return siblings.size();
}

TEST_F(ToolBarTest, TheBarCarriesSevenCaptionedButtonsThenSettingsAndExit) {
    showBar();
    EXPECT_EQ(bar->frame(), kBarFrame);
    EXPECT_EQ(bar->superview(), &host->view());
    EXPECT_EQ(*bar->backgroundColor(), *gfx::Color::rgba(4 / 255.f, 20 / 255.f, 52 / 255.f));
    EXPECT_EQ(bar->toolBarScrollView().frame(), (gfx::Rect{0, 0, 50, 654 - 150}));
    EXPECT_EQ(bar->toolBarScrollView().contentSize(), (gfx::Size{50, 350}));
    const char *captions[] = {"资金账户", "买入", "卖出", "撤单", "委托查询", "成交查询", "银证转账"};
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(captions[i]);
        ui::Button *button = bar->button(100 + i);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->superview(), &bar->toolBarScrollView());
        EXPECT_EQ(button->frame(), (gfx::Rect{0, float(i * 51), 50, 50}));
        ASSERT_EQ(button->subviews().size() > 0, true);
        auto caption = std::dynamic_pointer_cast<ui::Label>(button->subviews().back());
        ASSERT_TRUE(caption);
        EXPECT_EQ(caption->text(), captions[i]);
        EXPECT_EQ(caption->frame(), (gfx::Rect{6.25f, 0, 37.5f, 50}));
    }
    EXPECT_EQ(bar->button(130)->frame(), (gfx::Rect{0, 654 - 100, 50, 50}));
    EXPECT_EQ(bar->button(-1)->frame(), (gfx::Rect{0, 654 - 50, 50, 50}));
    EXPECT_TRUE(lockCounting()) << "no panel: the lock timer runs";
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "trade/toolbar"));
}

TEST_F(ToolBarTest, EachButtonOpensItsPanelBesideTheBar) {
    logIn();
    showBar();
    struct Case {
        int tag;
        gfx::Rect frame;
        const char *title;
        int orderType; // -1: no order panel
    } cases[] = {
        {100, {654, 65, 320, 654}, "账户信息", -1}, {101, {714, 65, 260, 654}, "买入", 0},
        {102, {714, 65, 260, 654}, "卖出", 1},      {103, {654, 65, 320, 654}, "撤单", -1},
        {104, {654, 65, 320, 654}, "委托查询", -1}, {105, {654, 65, 320, 654}, "成交查询", -1},
        {106, {614, 65, 360, 654}, "银行转账", -1}, {130, {654, 65, 320, 654}, "交易设置", -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        press(c.tag);
        settleSlides();
        // A panel whose first request this gateway cannot answer says so; the user closes that.
        app.pressAlertButton(0);
        base::Ref<TradeBaseView> open = bar->prevView();
        ASSERT_TRUE(open);
        EXPECT_EQ(bar->prevType(), c.tag);
        EXPECT_EQ(open->frame(), c.frame);
        EXPECT_EQ(open->frame().maxX(), bar->frame().minX());
        EXPECT_EQ(open->titleLabel()->text(), c.title);
        // The title reads against the panel drawn behind it (the label's left end holds no text).
        gfx::Rect title = open->titleLabel()->convert(open->titleLabel()->bounds(), nullptr);
        gfx::Rgba8 behind = app.render().pixel(int(title.minX()) + 2, int(title.midY()));
        const gfx::Color &ink = *open->titleLabel()->textColor();
        EXPECT_GT(std::abs(luminance(ink.r(), ink.g(), ink.b()) -
                           luminance(behind.r / 255.f, behind.g / 255.f, behind.b / 255.f)),
                  0.5f);
        EXPECT_EQ(open->superview(), &host->view());
        EXPECT_GT(depth(*bar), depth(*open)) << "the bar stays in front";
        auto order = std::dynamic_pointer_cast<TradeView>(open);
        EXPECT_EQ(order ? int(order->buySellType()) : -1, c.orderType);
        EXPECT_EQ(c.tag == 130, bool(std::dynamic_pointer_cast<TradeSettingsView>(open)));
        EXPECT_FALSE(lockCounting());
    }
}

TEST_F(ToolBarTest, TheSameButtonClosesItsPanelAndOpensANewOneTheThirdTime) {
    logIn();
    showBar();
    press(101);
    settleSlides();
    base::Ref<TradeBaseView> first = bar->prevView();
    ASSERT_TRUE(first);
    EXPECT_FALSE(lockCounting()) << "no auto-lock while a panel is open";

    press(101);
    EXPECT_FALSE(bar->prevView());
    EXPECT_EQ(bar->prevType(), -1);
    EXPECT_TRUE(lockCounting()) << "restarted at the dismissal";
    settleSlides();
    EXPECT_EQ(first->superview(), nullptr);

    press(101);
    settleSlides();
    ASSERT_TRUE(bar->prevView());
    EXPECT_NE(bar->prevView(), first);
    EXPECT_FALSE(lockCounting());
}

TEST_F(ToolBarTest, AnotherButtonSlidesTheOldPanelOutAndTheNewOneIn) {
    logIn();
    showBar();
    press(101);
    settleSlides();
    base::Ref<TradeBaseView> buy = bar->prevView();
    press(104);
    base::Ref<TradeBaseView> query = bar->prevView();
    ASSERT_TRUE(query);
    EXPECT_NE(query, buy);
    EXPECT_TRUE(buy->isHidden()) << "sliding out";
    EXPECT_TRUE(buy->layer().transitionForKey("animation"));
    EXPECT_TRUE(query->layer().transitionForKey("animation"));
    settleSlides();
    EXPECT_EQ(buy->superview(), nullptr);
    EXPECT_EQ(query->superview(), &host->view());
    EXPECT_FALSE(lockCounting()) << "stopped once the new panel is in";
}

TEST_F(ToolBarTest, WithTheConnectionDownAFunctionButtonClosesTheBarAndAsksForTheLogin) {
    showBar();
    press(101);
    EXPECT_EQ(launches(), 1);
    EXPECT_FALSE(bar->prevView());
    EXPECT_FALSE(lockCounting());
    settleSlides();
    EXPECT_TRUE(bar->isToolBarHidden());
    EXPECT_EQ(bar->superview(), nullptr);

    showBar();
    press(130);
    settleSlides();
    EXPECT_TRUE(panel<TradeSettingsView>()) << "settings need no connection";
    EXPECT_EQ(launches(), 1);
    press(130);
    settleSlides();
    EXPECT_FALSE(bar->prevView());
    EXPECT_FALSE(bar->isToolBarHidden());
}

TEST_F(ToolBarTest, ExitAsksThenClosesThePanelThenTheBarThenTheConnection) {
    logIn();
    showBar();
    press(102);
    settleSlides();
    base::Ref<TradeBaseView> open = bar->prevView();
    press(-1);
    ASSERT_EQ(alertTexts().back(), "确定要退出委托?");
    ASSERT_TRUE(app.pressAlertButton(0));
    driver.runUntilIdle();
    EXPECT_EQ(bar->prevView(), open) << "取消 changes nothing";
    EXPECT_TRUE(db->isConnected());

    press(-1);
    ASSERT_TRUE(app.pressAlertButton(1));
    EXPECT_TRUE(open->isHidden());
    EXPECT_FALSE(bar->isHidden()) << "the bar waits for the panel";
    driver.advance(0.16);
    EXPECT_EQ(open->superview(), nullptr);
    EXPECT_TRUE(bar->isHidden());
    EXPECT_FALSE(bar->isToolBarHidden());
    driver.advance(0.16);
    EXPECT_TRUE(bar->isToolBarHidden());
    EXPECT_EQ(bar->superview(), nullptr);
    settle();
    EXPECT_FALSE(db->isConnected());
    EXPECT_EQ(gateway->openConnections(), 0);
    EXPECT_FALSE(lockCounting()) << "a closed bar leaves no lock timer behind";
}

TEST_F(ToolBarTest, TheLockTimeOutClosesTheBarAndTheConnection) {
    logIn();
    TradeMsgCenter::sharedTradeMsgCenter()->setLockTimeMinute(1);
    showBar();
    press(101);
    settleSlides();
    press(101);
    settleSlides();
    driver.advance(59);
    EXPECT_FALSE(bar->isToolBarHidden());
    driver.advance(1.5);
    EXPECT_TRUE(bar->isToolBarHidden());
    settle();
    EXPECT_EQ(gateway->openConnections(), 0);

    // With a panel open the panel goes first.
    bar.reset();
    logIn();
    showBar();
    press(105);
    settleSlides();
    base::Ref<TradeBaseView> open = bar->prevView();
    bar->LockToolBar();
    driver.advance(0.16);
    EXPECT_EQ(open->superview(), nullptr);
    EXPECT_FALSE(bar->isToolBarHidden());
    driver.advance(0.16);
    EXPECT_TRUE(bar->isToolBarHidden());
}

TEST_F(ToolBarTest, ASpecialModelLeavesAnOpenPanelAloneAndOpensAnother) {
    logIn();
    showBar();
    bar->PopSpecialTradeModel(2);
    settleSlides();
    base::Ref<TradeView> sell = panel<TradeView>();
    ASSERT_TRUE(sell);
    EXPECT_EQ(sell->buySellType(), TradeView::kSell);
    bar->PopSpecialTradeModel(2);
    settleSlides();
    EXPECT_EQ(bar->prevView(), sell);
    EXPECT_EQ(sell->superview(), &host->view());
    bar->PopSpecialTradeModel(1);
    settleSlides();
    ASSERT_TRUE(panel<TradeView>());
    EXPECT_EQ(panel<TradeView>()->buySellType(), TradeView::kBuy);
    EXPECT_EQ(sell->superview(), nullptr);
}

} // namespace
} // namespace toolbar
