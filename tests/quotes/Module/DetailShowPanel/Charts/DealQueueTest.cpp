#include "DetailScreenFixture.h"

#include "Common/Util.h"
#include "DataBase/NetData/StockDetailStatus.h"

namespace detailscreen {
namespace {

constexpr int Sell = DealQueuePanelView::SellBeginTag, Buy = DealQueuePanelView::BuyBeginTag;

std::string text(DealQueuePanelView &panel, int tag) {
    ui::Label *label = panel.labelWithTag(tag);
    return label ? label->text() : "<none>";
}

std::vector<std::string> header(DealQueuePanelView &panel, int base) {
    return {text(panel, base + 61), text(panel, base + 62), text(panel, base + 63), text(panel, base + 64)};
}

TEST(DealQueuePanelView, BuildsBothSidesAtTheScreensSize) {
    DealQueuePanelView panel({0, 510, 768, 129});
    for (int base : {Sell, Buy}) {
        SCOPED_TRACE(base);
        EXPECT_EQ(header(panel, base), (std::vector<std::string>{"0.00", "--", "--笔", "--手/笔"}));
        for (int tag = base + 50; tag <= base + 60; ++tag)
            EXPECT_EQ(panel.viewWithTag(tag), nullptr) << tag;
        gfx::Rect first = panel.viewWithTag(base)->frame(), last = panel.viewWithTag(base + 49)->frame();
        float x = base == Sell ? 0 : 385;
        EXPECT_FLOAT_EQ(first.x(), x);
        EXPECT_FLOAT_EQ(first.y(), 23);
        EXPECT_FLOAT_EQ(first.width(), 38.3f);
        EXPECT_FLOAT_EQ(first.height(), 21.2f);
        EXPECT_FLOAT_EQ(last.x(), x + 38.3f * 9);
        EXPECT_FLOAT_EQ(last.y(), 23 + 21.2f * 4);
        EXPECT_FLOAT_EQ(panel.viewWithTag(base + 61)->frame().x(), x + 383 - 262 + 36);
        EXPECT_FLOAT_EQ(panel.viewWithTag(base + 64)->frame().maxX(), x + 383);
    }
    // The header columns start at 121 on the sell side and 506 on the buy side.
    EXPECT_FLOAT_EQ(panel.viewWithTag(Sell + 61)->frame().x() - 36, 121);
    EXPECT_FLOAT_EQ(panel.viewWithTag(Buy + 61)->frame().x() - 36, 506);
}

TEST(DealQueuePanelView, FillsOneSideAndBlanksTheRest) {
    DealQueuePanelView panel({0, 510, 768, 129});
    std::vector<std::string> queue;
    for (int i = 1; i <= 12; ++i)
        queue.push_back(std::to_string(i * 10));
    panel.UpdateQueueData(queue, Buy, 857, 38300, 3, 2.5f, 2);
    EXPECT_EQ(header(panel, Buy), (std::vector<std::string>{"8.57", "3.83万", "3笔", "2.5手/笔"}));
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(text(panel, Buy + i), i < 12 ? queue[size_t(i)] : "") << i;
    EXPECT_EQ(header(panel, Sell), (std::vector<std::string>{"0.00", "--", "--笔", "--手/笔"}));
    // A longer queue shows its first 50; the count stays as given.
    panel.UpdateQueueData(std::vector<std::string>(60, "7"), Sell, 858, 500, 60, 7, 2);
    EXPECT_EQ(text(panel, Sell + 49), "7");
    EXPECT_EQ(text(panel, Sell + 63), "60笔");
    panel.clearView();
    for (int base : {Sell, Buy}) {
        EXPECT_EQ(header(panel, base), (std::vector<std::string>{"--", "--", "0笔", "0.0手/笔"}));
        EXPECT_EQ(text(panel, base), "");
    }
}

// The level-2 account's deal queue fills both sides from the reply: the buy side under 2400.
TEST_F(DetailScreenTest, TheLevelTwoQueueFillsThePanel) {
    readyWithAccount();
    DataBase::sharedDataBase()->IO_StockDetailStatus()->setIsShowKLine(false);
    quotes.clearReceived();
    auto screen = open("SH600000");
    settle();
    EXPECT_TRUE(typeSet().contains(2917));
    DealQueuePanelView &panel = *screen->dealQueuePanelView();
    const StockBasicInf &record = *screen->getCurrentBasicInf();
    EXPECT_EQ(text(panel, Buy + 61), Util::FormatPrice(record.buyPrice[0], record.decimal));
    EXPECT_EQ(text(panel, Sell + 61), Util::FormatPrice(record.sellPrice[0], record.decimal));
    const base::Dict *queue = screen->stockDetailData().stockDetailLib()->getStockRspDict(2917);
    ASSERT_NE(queue, nullptr);
    base::Value buyArray = queue->get("buyArray");
    const base::Array *buys = buyArray.array();
    ASSERT_TRUE(buys && !buys->empty());
    EXPECT_EQ(text(panel, Buy + 63), std::to_string(buys->size()) + "笔");
    EXPECT_EQ(text(panel, Buy), buys->at(0).stringValue());
}

} // namespace
} // namespace detailscreen
