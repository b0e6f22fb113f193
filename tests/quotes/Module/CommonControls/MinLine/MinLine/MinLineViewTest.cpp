#include "Module/CommonControls/MinLine/MinLine/MinLineView.h"

#include "../IntradayFixture.h"
#include "Common/StylePool.h"
#include "DataBase/DataBase.h"
#include "DataBase/NetData/SeriesNumber.h"
#include "Golden.h"
#include "Module/CommonControls/MinLine/Chart/ChartMinLineClass.h"
#include "host/Offscreen.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace intraday;

struct Owner : MinLineViewDelegate {
    base::Opt<void> reqMLineLevel2TechIndex() override {
        calls.push_back("req");
        return {};
    }
    base::Opt<void> SetMLineLevel2TechIndexAction(ui::Button *sender, int32_t techID,
                                                  const std::string &techName) override {
        calls.push_back(sender && techID == 0 && techName.empty() ? "menu" : "menu?");
        return {};
    }
    base::Opt<void> minLineView_didTouchBomb(ui::Button *sender) override {
        calls.push_back(sender ? "bomb" : "bomb?");
        return {};
    }
    std::vector<std::string> calls;
};

base::Ref<MinLineClassBase::ReplyList> orderDifferences(int count) {
    auto list = base::make<MinLineClassBase::ReplyList>();
    for (int i = 0; i < count; ++i)
        list->push_back(base::make<SeriesNumber>(int32_t(40 * std::sin(float(i) / 11.0f))));
    return list;
}

class MinLineViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A coordinator set up but never connected keeps the user's chart choices.
        auto db = base::make<DataBase>();
        db->initialize({});
        DataBase::setSharedDataBase(db);
        view = base::make<MinLineView>(gfx::Rect{0, 0, 1024, 768}, MinLineClass::FullMode);
        view->delegate = owner;
        app.window().setBackgroundColor(gfx::Color::black());
        app.window().addSubview(view);
        info = quote("SH600000", "浦发银行", 1000);
        minutes = wavingDay(*info, 200);
        view->Update(info, minutes);
    }
    void TearDown() override { DataBase::setSharedDataBase(nullptr); }
    // Where minute i is drawn, halfway down the main plot.
    gfx::Point minutePoint(int i) {
        app.render();
        const gfx::Rect &plot = view->mobj()->m_rtMain;
        return {view->mobj()->minLineXPosList()[size_t(i)].x, plot.midY()};
    }
    // How many pixels of the colour the chart view's own drawing has in the main plot.
    int pixelsOf(const base::Ref<gfx::Color> &color) {
        app.render();
        gfx::Surface probe(1, 1);
        gfx::Context c(probe);
        c.setFill(*color);
        c.fillRect({0, 0, 1, 1});
        gfx::Rgba8 want = probe.pixel(0, 0);
        const gfx::Rect &plot = view->mobj()->m_rtMain;
        int count = 0;
        for (int y = int(plot.y()); y < int(plot.maxY()); ++y)
            for (int x = int(plot.x()); x < int(plot.maxX()); ++x)
                count += view->content().pixel(x, y) == want;
        return count;
    }

    host::TestApp app;
    std::shared_ptr<Owner> owner = std::make_shared<Owner>();
    base::Ref<MinLineView> view;
    base::Ref<StockQuoteInf> info;
    base::Ref<MinLineList> minutes;
};

TEST_F(MinLineViewTest, FullViewWithLevel2AndCrossHair) {
    EXPECT_EQ(view->getCurLevel2TechType(), MinLineView::DefaultLevel2TechIndex);
    view->UpdateLevel2TechIndex(2923, orderDifferences(200));
    app.tap(minutePoint(120));
    app.advance(KLineViewBase::TapDelay + 0.01);
    ASSERT_FALSE(view->cursorView()->isHidden());
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "charts/intraday-view", 48));
    EXPECT_TRUE(view->mobj()->isShowCursor());
    EXPECT_EQ(view->mobj()->curIndex(), 120);
}

TEST_F(MinLineViewTest, TapsShowAndHideTheCrossHairAndALongPressMovesIt) {
    gfx::Point at = minutePoint(50);
    app.tap(at);
    app.advance(KLineViewBase::TapDelay - 0.02);
    EXPECT_TRUE(view->cursorView()->isHidden());
    app.advance(0.03);
    ASSERT_FALSE(view->cursorView()->isHidden());
    EXPECT_EQ(view->cursorView()->cursorTouch(), at);

    // On the shown cross-hair a drag moves it and a tap hides it.
    gfx::Point later = minutePoint(90);
    app.dragAndRest(at, later);
    EXPECT_EQ(view->cursorView()->cursorTouch(), later);
    app.tap(later);
    app.advance(1);
    EXPECT_TRUE(view->cursorView()->isHidden());

    app.touchDown(1, at);
    app.advance(0.6);
    EXPECT_FALSE(view->cursorView()->isHidden());
    app.touchMove(1, {at.x + 6, at.y});
    EXPECT_EQ(view->cursorView()->cursorTouch(), (gfx::Point{at.x + 6, at.y}));
    app.touchUp(1);

    // Outside the plot nothing shows; neither does a chart without minutes.
    view->hideCursor();
    app.tap({5, 5});
    app.advance(1);
    EXPECT_TRUE(view->cursorView()->isHidden());
    view->clearView();
    app.tap(at);
    app.advance(1);
    EXPECT_TRUE(view->cursorView()->isHidden());
}

TEST_F(MinLineViewTest, AResizeHidesTheCrossHairAndAnEmptiedViewDrawsItsAxis) {
    app.tap(minutePoint(10));
    app.advance(1);
    ASSERT_FALSE(view->cursorView()->isHidden());
    view->setFrame({0, 0, 800, 600});
    app.render();
    EXPECT_TRUE(view->cursorView()->isHidden());
    EXPECT_EQ(view->cursorView()->frame(), (gfx::Rect{0, 0, 800, 600}));

    view->zeroView();
    app.render();
    EXPECT_FALSE(view->mobj()->isShowLevel2Tech());
    EXPECT_TRUE(view->level2Button()->isHidden());
    EXPECT_FALSE(view->mobj()->canShowCursor({300, 200}));
    app.tap({300, 200});
    app.advance(1);
    EXPECT_TRUE(view->cursorView()->isHidden());
}

// The layout pass places the level-2 button on its pane's border, so the first frame drawn already
// has it there.
TEST_F(MinLineViewTest, TheLevel2ButtonStandsOnItsPaneBeforeTheFirstDraw) {
    app.window().layoutIfNeeded();
    const gfx::Rect placed = view->level2Button()->frame();
    EXPECT_FALSE(view->level2Button()->isHidden());
    app.render();
    const gfx::Rect &border = view->mobj()->m_rtLevel2Border;
    EXPECT_EQ(placed, (gfx::Rect{border.maxX() - 22, border.y(), 19, 19}));
    EXPECT_EQ(view->level2Button()->frame(), placed);
}

TEST_F(MinLineViewTest, Level2ButtonAndCodes) {
    app.render();
    ui::Button &button = *view->level2Button();
    EXPECT_FALSE(button.isHidden());
    const gfx::Rect &border = view->mobj()->m_rtLevel2Border;
    EXPECT_EQ(button.frame(), (gfx::Rect{border.maxX() - 22, border.y(), 19, 19}));
    app.touchDown(1, {button.frame().midX(), button.frame().midY()});
    EXPECT_EQ(owner->calls, std::vector<std::string>{"menu"});
    app.touchUp(1);

    view->changeLevel2TechIndex(2923);
    EXPECT_EQ(owner->calls.size(), 1u);
    view->changeLevel2TechIndex(2922);
    EXPECT_EQ(owner->calls.back(), "req");
    EXPECT_EQ(view->getCurLevel2TechType(), 2922);
    EXPECT_EQ(DataBase::sharedDataBase()->IO_StockDetailStatus()->minlineLevel2TechIndex, 2922);
    // The next full view starts with the user's choice.
    auto next = base::make<MinLineView>(gfx::Rect{0, 0, 600, 400}, MinLineClass::FullMode);
    EXPECT_EQ(next->getCurLevel2TechType(), 2922);

    // A security without a level-2 pane hides the button rather than leaving it off the view.
    view->Update(quote("HKHSI", "恒生指数", 2000000, 0), wavingDay(*info, 30));
    app.render();
    EXPECT_FALSE(view->mobj()->isShowLevel2Tech());
    EXPECT_TRUE(button.isHidden());

    auto compact = base::make<MinLineView>(gfx::Rect{0, 0, 380, 250}, MinLineClass::CompactMode);
    EXPECT_FALSE(compact->level2Button());
    EXPECT_EQ(compact->mobj()->drawMinLineStep(), 3);
}

TEST_F(MinLineViewTest, TheMineButtonFallsBackToFiftyPoints) {
    auto fresh = base::make<MinLineView>(gfx::Rect{0, 0, 1024, 768}, MinLineClass::FullMode);
    app.window().addSubview(fresh);
    fresh->Update(info, minutes);
    // Before the first drawing no minute has a place yet.
    fresh->UpdateInfoBomb(1000);
    EXPECT_FALSE(fresh->bombButton()->isHidden());
    EXPECT_EQ(fresh->bombButton()->frame(), (gfx::Rect{50, 0, 22, 22}));
    app.render();
    EXPECT_EQ(fresh->bombButton()->frame().x(), 50);

    fresh->UpdateInfoBomb(1000);
    EXPECT_FLOAT_EQ(fresh->bombButton()->frame().x(), fresh->mobj()->minLineXPosList()[30].x);
    fresh->UpdateInfoBomb(1450);
    EXPECT_EQ(fresh->bombButton()->frame().x(), 50);
    app.tap({60, 11});
    EXPECT_EQ(owner->calls, std::vector<std::string>{});
    fresh->delegate = owner;
    app.tap({60, 11});
    EXPECT_EQ(owner->calls, std::vector<std::string>{"bomb"});
    fresh->hideInfoBomb();
    EXPECT_TRUE(fresh->bombButton()->isHidden());
}

class MinLineOverlayTest : public MinLineViewTest {
protected:
    void SetUp() override {
        MinLineViewTest::SetUp();
        // The shown stock rises 1.9 % at most; the comparison stock falls 3 %.
        info = quote("SH600000", "浦发银行", 1000);
        view->Update(info, day(*info, 200, [](int i) { return 1000 + i / 10; }));
        other = quote("SZ000001", "平安银行", 2000);
        list.add(base::Dict{{"code", "SZ000001"}, {"basicInf", other}, {"colorID", 1}});
        view->setMultiStockList(list);
        view->UpdateAddStock("SZ000001", day(*other, 200, [](int i) { return 2000 - (i * 60) / 199; }));
    }
    base::Ref<StockQuoteInf> other;
    base::Array list;
};

TEST_F(MinLineOverlayTest, TheChartsShareTheLargerRangeAndTheAverageLineReturnsAfterwards) {
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "charts/intraday-view-overlay", 48));
    auto overlay = list[0]["mobj"].objectAs<ChartMinLineClass>();
    ASSERT_TRUE(overlay);
    EXPECT_EQ(view->mobj()->maxPrice(), 1030);
    EXPECT_EQ(view->mobj()->minPrice(), 970);
    EXPECT_EQ(overlay->maxPrice(), 2060);
    EXPECT_EQ(overlay->minPrice(), 1940);
    EXPECT_TRUE(view->mobj()->isAddStocksMode());
    EXPECT_EQ(pixelsOf(StylePool::Instance().clPriceAveLine), 0);
    EXPECT_GT(pixelsOf(StylePool::Instance().clAddStock2), 100);

    list.clear();
    view->CloseAddStocksMode();
    EXPECT_EQ(view->mobj()->maxPrice(), 1019);
    EXPECT_GT(pixelsOf(StylePool::Instance().clPriceAveLine), 100);
    EXPECT_FALSE(view->mobj()->isAddStocksMode());
}

TEST_F(MinLineOverlayTest, RepliesForOtherCodesOrWithoutSnapshotAreIgnored) {
    list.add(base::Dict{{"code", "SZ000002"}, {"colorID", 2}});
    view->UpdateAddStock("SZ000002", minutes);
    view->UpdateAddStock("SH601398", minutes);
    EXPECT_FALSE(list[1]["mobj"].object());
    EXPECT_EQ(list.size(), 2u);
}

} // namespace
