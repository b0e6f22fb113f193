#include "DetailScreenFixture.h"

#include "Components/CMAlertView.h"
#include "DataBase/NetData/StockDetailStatus.h"
#include "Module/NewsDataBaseMgnt/NewsData/NewsSummaryInfo.h"
#include "Module/NewsViewController/InfoBombViewController.h"

namespace detailscreen {
namespace {

class MenuTest : public DetailScreenTest {
protected:
    base::Ref<StockDetailViewController> openOn(const std::string &code, bool candles) {
        DataBase::sharedDataBase()->IO_StockDetailStatus()->setIsShowKLine(candles);
        auto screen = open(code);
        settle();
        return screen;
    }
    // The texts of the message boxes on the window.
    std::vector<std::string> alertMessages() {
        std::vector<std::string> out;
        for (const auto &view : app.window().subviews())
            if (auto *box = dynamic_cast<CMAlertView *>(view.get()))
                out.push_back(box->infoLabel().text());
        return out;
    }
};

TEST_F(MenuTest, TheIndicatorPopoverIsMadeOnceAndResetOnReopening) {
    readyWithoutAccount();
    auto screen = openOn("SH600000", true);
    ui::Button *anchor = screen->klineView()->techButton();
    screen->SetTechIndexAction(anchor, "VOL");
    PopTechSettingsController *settings = screen->techSettings();
    ui::Popover *popover = screen->techIndexPopoverController();
    ASSERT_TRUE(popover && popover->isVisible());
    EXPECT_EQ(popover->arrowDirection(), ui::ArrowDown);
    settings->paramSetBtn()->sendActions(ui::TouchUpInside);
    ASSERT_FALSE(settings->paramPickerView()->isHidden());
    popover->dismiss(false);
    screen->SetTechIndexAction(anchor, "VOL");
    EXPECT_EQ(screen->techSettings(), settings);
    EXPECT_EQ(screen->techIndexPopoverController(), popover);
    EXPECT_TRUE(settings->paramPickerView()->isHidden());
    screen->ReturnSelectedTechName("KDJ", base::Array());
    EXPECT_FALSE(popover->isVisible());
}

TEST_F(MenuTest, AFundRefusesBollAndOverlaysWithAnAlert) {
    readyWithoutAccount();
    auto screen = openOn("OF110022", true);
    screen->SetTechIndexAction(screen->klineView()->techButton(), "VOL");
    screen->ReturnSelectedTechName("BOLL", base::Array());
    EXPECT_TRUE(screen->techIndexPopoverController()->isVisible());
    screen->ReturnSearchFieldText("SH600000");
    screen->ResetTechGraphicState();
    EXPECT_TRUE(screen->stockDetailData().multiStockList().empty());
    std::vector<std::string> messages = alertMessages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages, (std::vector<std::string>{"对不起，开放基金不能使用BOLL指标！",
                                                  "对不起，开放基金不能使用叠加股票功能！",
                                                  "对不起，开放基金不能使用叠加股票功能！"}));
}

TEST_F(MenuTest, LevelTwoMenusReachTheirCharts) {
    readyWithAccount();
    auto screen = openOn("SH600000", true);
    screen->SetKLineLevel2TechIndexAction(screen->klineView()->level2Button(), 0, "");
    PopMenuController *kmenu = screen->klineLevel2Menu();
    ASSERT_NE(kmenu, nullptr);
    EXPECT_EQ(kmenu->popMenuID, 100);
    EXPECT_EQ(screen->klineLevel2Popover()->content().contentSizeInPopover(), (gfx::Size{100, 120}));
    std::vector<std::pair<std::string, int>> items;
    for (const PopMenuItem &item : kmenu->items())
        items.emplace_back(item.itemName, item.itemID);
    EXPECT_EQ(items, (std::vector<std::pair<std::string, int>>{
                         {"DDX", 2918}, {"DDY", 2919}, {"DDZ", 2920}, {"主力资金", 2928}, {"BS点", 2933}}));
    screen->ReturnSelectedPopMenuItem(100, 2919, "DDY");
    EXPECT_EQ(screen->klineView()->getCurLevel2TechType(), 2919);
    EXPECT_FALSE(screen->klineLevel2Popover()->isVisible());

    screen->StockDetailBarSelectedIndex(0, 0, *screen->stockDetailSwitchBar());
    screen->SetMLineLevel2TechIndexAction(screen->trendLineView()->level2Button().get(), 0, "");
    PopMenuController *mmenu = screen->mlineLevel2Menu();
    ASSERT_NE(mmenu, nullptr);
    EXPECT_EQ(mmenu->popMenuID, 200);
    EXPECT_EQ(screen->mlineLevel2Popover()->content().contentSizeInPopover(), (gfx::Size{100, 80}));
    items.clear();
    for (const PopMenuItem &item : mmenu->items())
        items.emplace_back(item.itemName, item.itemID);
    EXPECT_EQ(items, (std::vector<std::pair<std::string, int>>{
                         {" 成交单差", 2923}, {" 分时DDX", 2922}, {" 总买总卖", 2924}}));
    screen->ReturnSelectedPopMenuItem(200, 2924, " 总买总卖");
    EXPECT_EQ(screen->trendLineView()->getCurLevel2TechType(), 2924);
    EXPECT_FALSE(screen->mlineLevel2Popover()->isVisible());
    // Another menu's choice reaches neither chart.
    screen->ReturnSelectedPopMenuItem(300, 2922, "x");
    EXPECT_EQ(screen->trendLineView()->getCurLevel2TechType(), 2924);
    EXPECT_EQ(screen->klineView()->getCurLevel2TechType(), 2919);
}

TEST_F(MenuTest, OverlaysEnableTheResetButtonOnlyWhenAccepted) {
    readyWithoutAccount();
    auto screen = openOn("SH600000", false);
    ui::Button &reset = screen->stockDetailSwitchBar()->resetTlineBtn();
    EXPECT_FALSE(reset.isEnabled());
    // The shown code is no overlay; the reset button stays as it was.
    screen->ReturnSearchFieldText("SH600000");
    EXPECT_FALSE(reset.isEnabled());
    EXPECT_TRUE(screen->klineView()->isAddStocksMode());
    for (const char *code : {"SZ000002", "SH601398", "SZ000001"})
        screen->ReturnSearchFieldText(code);
    EXPECT_TRUE(reset.isEnabled());
    EXPECT_EQ(screen->stockDetailData().multiStockList().size(), 3u);
    // An overlaid code or a fourth one leave it enabled and add nothing.
    reset.setEnabled(false);
    screen->ReturnSearchFieldText("SZ000002");
    screen->ReturnSearchFieldText("SH600036");
    EXPECT_FALSE(reset.isEnabled());
    EXPECT_EQ(screen->stockDetailData().multiStockList().size(), 3u);
    settle();
    screen->ResetTechGraphicState();
    EXPECT_FALSE(reset.isEnabled());
    EXPECT_FALSE(screen->klineView()->isAddStocksMode());
    EXPECT_TRUE(screen->stockDetailData().multiStockList().empty());
}

TEST_F(MenuTest, TheInformationMineIsAskedMarkedAndOpened) {
    readyWithoutAccount();
    std::vector<base::Dict> asked;
    base::NotificationCenter::shared().addObserver(observer, NewsData::MsgCenterNotify,
                                                   [&](const base::Notification &n) {
                                                       if (n.userInfo.get("FuncID").stringValue() == "600")
                                                           asked.push_back(*n.userInfo.get("ReqData").dict());
                                                   });
    auto screen = openOn("SH600000", false);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].get("stockCode").stringValue(), "SH600000");
    EXPECT_TRUE(screen->isBombLoaded());
    advance(290);
    EXPECT_EQ(asked.size(), 1u);
    advance(15);
    EXPECT_EQ(asked.size(), 2u);

    auto item = [](const std::string &time) {
        auto info = base::make<NewsSummaryInfo>();
        info->time = time;
        return info;
    };
    ui::Button &bomb = *screen->trendLineView()->bombButton();
    for (const char *time : {"", "2012-12-07 10", "2012-12-07 1x:30"}) {
        screen->updateTodayInfoBombArray({item(time)});
        EXPECT_TRUE(bomb.isHidden()) << time;
    }
    screen->updateTodayInfoBombArray({});
    EXPECT_TRUE(bomb.isHidden());
    screen->updateTodayInfoBombArray({item("2012-12-07 10:31:00"), item("2012-12-07 09:45:00")});
    EXPECT_FALSE(bomb.isHidden());
    screen->minLineView_didTouchBomb(&bomb);
    ui::Popover *popover = screen->infoAlertPopoverController();
    ASSERT_TRUE(popover && popover->isVisible());
    EXPECT_EQ(popover->arrowDirection(), ui::ArrowUp);
    auto *navigation = dynamic_cast<ui::NavigationController *>(&popover->content());
    ASSERT_NE(navigation, nullptr);
    auto *bombScreen = dynamic_cast<InfoBombViewController *>(navigation->top());
    ASSERT_NE(bombScreen, nullptr);
    EXPECT_EQ(bombScreen->stockCode(), "SH600000");
    EXPECT_EQ(bombScreen->title(), "信息地雷 - 浦发银行");
    // Leaving the screen takes its popovers away.
    nav->pop(false);
    app.runPending();
    EXPECT_FALSE(popover->isVisible());
}

TEST(NewsSummaryInfo, MinuteOfATimeText) {
    const std::pair<const char *, int> cases[] = {{"2012-12-07 10:31", 1031},
                                                  {"2012-12-07 09:05:59", 905},
                                                  {"2012-12-07 10:3", -1},
                                                  {"", -1},
                                                  {"2012-12-07 ab:cd", -1}};
    for (const auto &[text, minute] : cases)
        EXPECT_EQ(NewsSummaryInfo::getNumMinuteFromOTime(text), minute) << text;
}

} // namespace
} // namespace detailscreen
