#include "Module/DetailShowPanel/RightIndexDetailPanel.h"
#include "Module/DetailShowPanel/RightProdDetailPanel.h"
#include "Module/DetailShowPanel/RightStockDetailPanel.h"

#include "host/Offscreen.h"

#include <gtest/gtest.h>

namespace {

const gfx::Rect kColumn{768, 0, 256, 660};

TEST(RightStockDetailPanel, EachStripShowsOneOfItsPages) {
    auto panel = base::make<RightStockDetailPanel>(kColumn);
    EXPECT_EQ(panel->buySellPanelView().frame(), (gfx::Rect{0, 30, 256, 355}));
    EXPECT_EQ(panel->buySellPanelView().fieldNum(), 10);
    EXPECT_EQ(panel->strikeDetailView().frame(), (gfx::Rect{0, 415, 256, 230}));
    EXPECT_FALSE(panel->strikeDetailView().isHidden());
    EXPECT_TRUE(panel->valuePanelView().isHidden());

    panel->ReturnSelectedIndex(1, panel->slideMenuViewTop());
    EXPECT_TRUE(panel->buySellPanelView().isHidden()) << "龙虎盘 replaces the book";
    panel->ReturnSelectedIndex(0, panel->slideMenuViewTop());
    EXPECT_FALSE(panel->buySellPanelView().isHidden());

    panel->ReturnSelectedIndex(2, panel->slideMenuViewBelow());
    EXPECT_FALSE(panel->valuePanelView().isHidden());
    EXPECT_TRUE(panel->strikeDetailView().isHidden());
    EXPECT_TRUE(panel->stockDDDetailView().isHidden());
    EXPECT_EQ(panel->valuePanelView().fieldCount(), 16u);
    EXPECT_EQ(panel->valuePanelView().captionLabel(15)->text(), "外盘");
    EXPECT_EQ(panel->valuePanelView().valueLabel(15)->text(), "--");

    auto stranger = CMSlideMenuView::create({0, 0, 100, 30});
    panel->ReturnSelectedIndex(0, *stranger);
    EXPECT_FALSE(panel->valuePanelView().isHidden()) << "another strip is ignored";

    panel->valuePanelView().SetValueArray({"10.20"});
    panel->clearView();
    EXPECT_EQ(panel->valuePanelView().valueLabel(0)->text(), "--");
}

TEST(RightIndexDetailPanel, ListsOrBoardMembersUnderTheGrid) {
    auto panel = base::make<RightIndexDetailPanel>(kColumn);
    EXPECT_EQ(panel->valuePanelView().fieldCount(), 8u);
    EXPECT_EQ(panel->indexGXView().frame(), (gfx::Rect{0, 90, 256, 285}));
    EXPECT_EQ(panel->indexDDDetailView().frame(), (gfx::Rect{0, 375, 256, 263}));
    EXPECT_TRUE(panel->boardStocksView().isHidden());

    panel->resetPanel(true);
    EXPECT_FALSE(panel->boardStocksView().isHidden());
    EXPECT_TRUE(panel->indexGXView().isHidden());
    EXPECT_TRUE(panel->indexDDDetailView().isHidden());
    EXPECT_EQ(panel->boardStocksView().frame(), (gfx::Rect{0, 90, 256, 570}));
    panel->resetPanel(false);
    EXPECT_TRUE(panel->boardStocksView().isHidden());
    EXPECT_FALSE(panel->indexGXView().isHidden());
}

TEST(RightProdDetailPanel, FiveLevelsAGridAndTheFuturesTicks) {
    auto panel = base::make<RightProdDetailPanel>(kColumn);
    EXPECT_EQ(panel->buySellPanelView().fieldNum(), 5);
    EXPECT_FLOAT_EQ(panel->buySellPanelView().tableRowHeight(), 19.8f);
    EXPECT_EQ(panel->valuePanelView().frame(), (gfx::Rect{0, 200, 256, 90}));
    EXPECT_EQ(panel->valuePanelView().captionLabel(4)->text(), "日增");
    EXPECT_EQ(panel->futureStrikeDetailView().frame(), (gfx::Rect{0, 292, 256, 346}));
}

} // namespace
