#include "Components/CMPopDetailContentController.h"

#include "Golden.h"
#include "gfx/Context.h"
#include "host/Offscreen.h"

#include <gtest/gtest.h>

namespace {

base::Ref<StockQuoteInf> record(const char *code, const char *name, int32_t newprice) {
    auto info = base::make<StockBasicInf>();
    info->code = code;
    info->name = name;
    info->newprice = newprice;
    return info;
}

struct PopDetailTest : ::testing::Test {
    host::TestApp app;
    base::Ref<CMPopDetailContentController> popover =
        base::make<CMPopDetailContentController>(record("1A0001", "上证综指", 223456));

    void show() {
        app.window().addSubview(popover->viewRef());
        app.window().layoutIfNeeded();
    }
};

TEST_F(PopDetailTest, ShowsTheRecordInAWhiteGrid) {
    EXPECT_EQ(popover->code(), "1A0001");
    EXPECT_EQ(popover->contentSizeInPopover(), CMPopoverDetailView::Size);
    show();
    CMPopoverDetailView &view = popover->detailView();
    EXPECT_EQ(view.frame(), (gfx::Rect{{0, 0}, CMPopoverDetailView::Size}));
    EXPECT_EQ(view.nameLabel().text(), "上证综指");
    EXPECT_EQ(view.newPriceLabel().text(), "最新价:223456");
    ASSERT_EQ(view.fieldLabels().size(), 7u);
    EXPECT_EQ(view.fieldLabels()[1]->text(), "涨跌幅");
    EXPECT_EQ(view.fieldLabels()[6]->text(), "成交额");
    EXPECT_EQ(view.fieldLabels()[3]->frame(), (gfx::Rect{155, 90, 135, 30}));
}

TEST_F(PopDetailTest, UpdateShowsTheNewRecord) {
    show();
    popover->Update(record("2A01", "深证成指", 98765), {});
    EXPECT_EQ(popover->detailView().nameLabel().text(), "深证成指");
    EXPECT_EQ(popover->detailView().newPriceLabel().text(), "最新价:98765");
    EXPECT_EQ(popover->code(), "2A01");
    popover->Update(nullptr);
    EXPECT_EQ(popover->detailView().nameLabel().text(), "深证成指");
}

TEST_F(PopDetailTest, WithoutARecordKeepsTheDefaultTexts) {
    popover = base::make<CMPopDetailContentController>(nullptr);
    show();
    EXPECT_EQ(popover->code(), "");
    EXPECT_EQ(popover->detailView().nameLabel().text(), "上证指数");
    EXPECT_EQ(popover->detailView().newPriceLabel().text(), "最新价");
}

TEST_F(PopDetailTest, Golden) {
    show();
    gfx::Surface window = app.render();
    gfx::Surface shot(CMPopoverDetailView::Size.w, CMPopoverDetailView::Size.h);
    gfx::Context context(shot);
    context.drawImage({0, 0, float(window.width()), float(window.height())}, gfx::Image(window));
    EXPECT_TRUE(qvtest::matchesGolden(shot, "common/index-popover", 48));
}

} // namespace
