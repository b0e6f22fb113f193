#include "Module/CommonControls/KLine/KLine/KLineView.h"

#include "ChartData.h"
#include "Golden.h"
#include "host/Offscreen.h"
#include "ui/TableView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records what the view tells its owner, in order.
struct Owner : base::Object, KLineViewDelegate {
    std::vector<std::string> heard;

    base::Opt<void> reqForwardKLineData() override {
        heard.push_back("forward");
        return {};
    }
    base::Opt<void> NotifyReqKLineRelativeData() override {
        heard.push_back("relative");
        return {};
    }
    base::Opt<void> reqKLineLevel2TechIndex() override {
        heard.push_back("level2");
        return {};
    }
    base::Opt<bool> changeExright(int32_t type, int32_t date) override {
        heard.push_back("exright " + std::to_string(type) + " " + std::to_string(date));
        return true;
    }
    base::Opt<void> SetTechIndexAction(ui::Button *, const std::string &name) override {
        heard.push_back("tech " + name);
        return {};
    }
};

struct KLineViewTest : ::testing::Test {
    host::TestApp app;
    base::Ref<ui::View> screen = base::make<ui::View>(gfx::Rect{0, 0, 1024, 768});
    base::Ref<Owner> owner = base::make<Owner>();
    base::Ref<KLineView> view;

    void SetUp() override {
        screen->setBackgroundColor(gfx::Color::black());
        app.window().addSubview(screen);
    }
    void make(gfx::Rect frame, int mode, int candles) {
        view = KLineView::create(frame, mode);
        view->delegate = owner;
        screen->addSubview(view);
        view->Update(chartdata::snapshot(), chartdata::days(candles), 7);
        app.render();
    }
    // A point of the main plot, in window coordinates.
    gfx::Point inMain(float dx, float dy) const {
        const gfx::Rect m = view->chart().m_rtMain;
        return view->convert(gfx::Point{m.x() + dx, m.y() + dy}, nullptr);
    }
    void pinch(float from, float to) {
        const gfx::Point c = inMain(400, 150);
        app.touchDown(1, {c.x - from / 2, c.y});
        app.touchDown(2, {c.x + from / 2, c.y});
        for (int step = 1; step <= 5; ++step) {
            const float d = from + (to - from) * float(step) / 5;
            app.advance(0.02);
            app.touchesMove({{1, {c.x - d / 2, c.y}}, {2, {c.x + d / 2, c.y}}});
        }
        app.touchUp(1);
        app.touchUp(2);
        app.render();
    }
};

TEST_F(KLineViewTest, DragsMoveByWholeCandlesBeyondTheThreshold) {
    struct Case {
        float pitch, distance;
        int moved;
    };
    for (const Case &c : {Case{8, 9, 0}, Case{8, 40, 5}, Case{16, 15, 0}, Case{16, 40, 2}}) {
        make({0, 0, 1024, 768}, 0, 300);
        view->setKsize(c.pitch);
        app.render();
        const gfx::Point from = inMain(300, 100);
        app.dragAndRest(from, {from.x + c.distance, from.y});
        EXPECT_EQ(view->koffset(), c.moved) << c.pitch << " " << c.distance;
        view->removeFromSuperview();
    }
}

TEST_F(KLineViewTest, PanEndsAskForOlderCandlesOnlyAfterARightwardDragNearTheOldest) {
    struct Case {
        int candles;
        float distance;
        std::vector<std::string> heard;
    };
    for (const Case &c : {Case{130, -40, {}}, Case{130, 40, {"forward", "relative"}},
                          Case{300, 40, {"relative"}}, Case{130, 15, {}}}) {
        owner->heard.clear();
        make({0, 0, 1024, 768}, 0, c.candles);
        if (c.distance < 0)
            view->setKoffset(5);
        const gfx::Point from = inMain(300, 100);
        app.dragAndRest(from, {from.x + c.distance, from.y});
        EXPECT_EQ(owner->heard, c.heard) << c.candles << " " << c.distance;
        view->removeFromSuperview();
    }
}

TEST_F(KLineViewTest, PinchesZoomFromThePitchAtTheirStart) {
    make({0, 0, 1024, 768}, 0, 130);
    pinch(100, 150);
    EXPECT_EQ(view->ksize(), 10);
    EXPECT_TRUE(owner->heard.empty()); // zooming in reveals no older candles

    view->setKsize(8);
    pinch(100, 50);
    EXPECT_EQ(view->ksize(), 6);
    EXPECT_EQ(owner->heard, (std::vector<std::string>{"forward", "relative"}));
}

TEST_F(KLineViewTest, TapShowsTheCrossHairAfterTheDelayAndATapOnItHidesIt) {
    make({0, 0, 1024, 768}, 0, 130);
    app.tap(inMain(200, 100));
    app.advance(0.1);
    EXPECT_TRUE(view->cursorView().isHidden());
    app.advance(0.1);
    ASSERT_FALSE(view->cursorView().isHidden());
    EXPECT_EQ(view->cursorView().cursorTouch(), view->convertFrom(inMain(200, 100), nullptr));

    app.tap(inMain(300, 50));
    app.advance(0.2);
    EXPECT_TRUE(view->cursorView().isHidden());

    app.tap(view->convert(gfx::Point{500, 760}, nullptr)); // the time strip: no cross-hair
    app.advance(0.2);
    EXPECT_TRUE(view->cursorView().isHidden());

    app.tap(inMain(200, 100));
    app.advance(0.2);
    ASSERT_FALSE(view->cursorView().isHidden());
    view->setFrame({0, 0, 1000, 700}); // a new size hides it
    app.render();
    EXPECT_TRUE(view->cursorView().isHidden());
    EXPECT_EQ(view->cursorView().frame(), (gfx::Rect{0, 0, 1000, 700}));
}

TEST_F(KLineViewTest, LongPressShowsAndMovesTheCrossHair) {
    make({0, 0, 1024, 768}, 0, 130);
    app.touchDown(1, inMain(100, 100));
    app.advance(0.6);
    ASSERT_FALSE(view->cursorView().isHidden());
    app.touchMove(1, inMain(100, 104));
    app.touchMove(1, inMain(180, 120));
    EXPECT_EQ(view->cursorView().cursorTouch(), view->convertFrom(inMain(180, 120), nullptr));
    app.touchUp(1);
    EXPECT_FALSE(view->cursorView().isHidden());
}

TEST_F(KLineViewTest, UnderTheCrossHairOneFingerMovesItAndTwoScrollTheChart) {
    make({0, 0, 1024, 768}, 0, 300);
    app.tap(inMain(200, 100));
    app.advance(0.2);
    ASSERT_FALSE(view->cursorView().isHidden());
    app.dragAndRest(inMain(200, 100), inMain(260, 140));
    EXPECT_EQ(view->cursorView().cursorTouch(), view->convertFrom(inMain(260, 140), nullptr));
    EXPECT_EQ(view->koffset(), 0);

    const gfx::Point a = inMain(300, 100), b = inMain(300, 160);
    app.touchDown(1, a);
    app.touchDown(2, b);
    for (float dx = 8; dx <= 40; dx += 8) {
        app.advance(0.02);
        app.touchesMove({{1, {a.x + dx, a.y}}, {2, {b.x + dx, b.y}}});
    }
    app.touchUp(1);
    app.touchUp(2);
    EXPECT_EQ(view->koffset(), 5);
    EXPECT_FALSE(view->cursorView().isHidden());
}

TEST_F(KLineViewTest, CompactViewIgnoresTouchesOutsideItsCursorArea) {
    make({100, 100, 380, 250}, 1, 60);
    const gfx::Rect area = view->chart().getCursorRect();
    app.tap(view->convert(gfx::Point{area.x() + 50, area.y() + area.height() + 5}, nullptr));
    app.advance(0.2);
    EXPECT_TRUE(view->cursorView().isHidden());
    app.tap(view->convert(gfx::Point{area.x() + 50, area.y() + 20}, nullptr));
    app.advance(0.2);
    EXPECT_FALSE(view->cursorView().isHidden());
}

TEST_F(KLineViewTest, ExrightMenuSendsTheChosenAdjustment) {
    make({0, 0, 1024, 768}, 0, 130);
    auto choose = [&](int row) {
        ui::Button *button = view->exrightButton();
        app.tap(button->convert(gfx::Point{35, 10}, nullptr));
        app.advance(1);
        app.render();
        ASSERT_TRUE(view->exrightPopover() && view->exrightPopover()->isVisible());
        ui::TableView *table = view->exrightMenu()->tableView();
        app.tap(table->convert(gfx::Point{50, table->rowHeight * (float(row) + 0.5f)}, nullptr));
        app.advance(1);
        EXPECT_FALSE(view->exrightPopover()->isVisible());
    };
    choose(2);
    choose(0);
    EXPECT_EQ(owner->heard, (std::vector<std::string>{"exright 2 19900101", "exright 0 0"}));
}

TEST_F(KLineViewTest, ExpandingOneExrightMarkFoldsTheOther) {
    view = KLineView::create({0, 0, 1024, 768}, 0);
    view->delegate = owner;
    screen->addSubview(view);
    auto list = chartdata::days(130);
    for (int i : {40, 90}) {
        (*list)[size_t(i)]->exrightFlag = 1;
        (*list)[size_t(i)]->exrightDate = (*list)[size_t(i)]->time;
    }
    view->Update(chartdata::snapshot(), list, 7);
    app.render();
    CMMultiStateButton *first = view->exrightMark((*list)[40]->time);
    CMMultiStateButton *second = view->exrightMark((*list)[90]->time);
    ASSERT_TRUE(first && second);
    auto tapMark = [&](CMMultiStateButton *mark) {
        ui::View &button = mark->currOrientButton();
        app.tap(button.convert(gfx::Point{18, 18}, nullptr));
        app.advance(0.5);
    };
    tapMark(first);
    EXPECT_FALSE(first->isShrinkState());
    tapMark(second);
    EXPECT_FALSE(second->isShrinkState());
    EXPECT_TRUE(first->isShrinkState());

    // Scrolled out of the window, a mark hides.
    view->setKsize(16);
    view->setNeedsDisplay();
    app.render();
    EXPECT_TRUE(first->isHidden());
    EXPECT_FALSE(second->isHidden());

    // Another security's candles leave no mark of this one behind.
    view->Update(chartdata::snapshot(), chartdata::days(130), 7);
    app.render();
    EXPECT_TRUE(second->isHidden());
}

// The layout pass places the buttons on the panes' borders, so the first frame drawn already has
// them there; the draw pass that follows finds them where its panes are.
TEST_F(KLineViewTest, TheButtonsStandOnTheirPanesBeforeTheFirstDraw) {
    view = KLineView::create({0, 0, 1024, 768}, 0);
    screen->addSubview(view);
    view->Update(chartdata::snapshot(), chartdata::days(130), 7);
    screen->layoutIfNeeded();
    const gfx::Rect tech = view->techButton()->frame(), level2 = view->level2Button()->frame(),
                    exright = view->exrightButton()->frame();
    app.render();
    const gfx::Rect vol = view->chart().m_rtVolBorder, pane = view->chart().m_rtLevel2Border;
    EXPECT_EQ(tech, (gfx::Rect{vol.maxX() - 22, vol.y(), 19, 19}));
    EXPECT_EQ(level2, (gfx::Rect{pane.maxX() - 22, pane.y(), 19, 19}));
    EXPECT_EQ(exright, (gfx::Rect{1024 - 120, 0, 70, 20}));
    EXPECT_EQ(view->techButton()->frame(), tech);
    EXPECT_EQ(view->level2Button()->frame(), level2);
}

TEST_F(KLineViewTest, IndicatorButtonsAndTheLevel2SwitchReachTheOwner) {
    make({0, 0, 1024, 768}, 0, 130);
    ui::Button *tech = view->techButton();
    ASSERT_FALSE(tech->isHidden());
    EXPECT_FALSE(view->level2Button()->isHidden());
    // Just above the small button, still on the price plot: the button's action, no cross-hair.
    const gfx::Rect f = tech->frame();
    ASSERT_TRUE(view->chart().m_rtMain.contains({f.midX(), f.y() - 5}));
    app.tap(view->convert(gfx::Point{f.midX(), f.y() - 5}, nullptr));
    app.advance(0.2);
    EXPECT_TRUE(view->cursorView().isHidden());
    app.tap(tech->convert(gfx::Point{9, 9}, nullptr));
    EXPECT_EQ(owner->heard, (std::vector<std::string>{"tech MACD", "tech MACD"}));

    owner->heard.clear();
    view->changeLevel2TechIndex(KLineView::DefaultLevel2TechType); // the current one
    view->changeLevel2TechIndex(KLineClassBase::BSPointTechType);
    EXPECT_EQ(owner->heard, std::vector<std::string>{"level2"});
    EXPECT_EQ(view->getCurLevel2TechType(), KLineClassBase::BSPointTechType);
}

TEST_F(KLineViewTest, PitchOfZeroOrLessStoresTheDefault) {
    make({0, 0, 1024, 768}, 0, 10);
    for (auto [size, stored] : {std::pair{0.f, 8.f}, {-3.f, 8.f}, {12.f, 12.f}}) {
        view->setKsize(size);
        EXPECT_EQ(view->ksize(), stored) << size;
    }
}

TEST_F(KLineViewTest, GoldenFullChartWithLevel2MarksAndCrossHair) {
    view = KLineView::create({0, 0, 1024, 768}, 0);
    view->delegate = owner;
    screen->addSubview(view);
    auto list = chartdata::days(130);
    (*list)[70]->exrightFlag = 1;
    (*list)[70]->exrightDate = (*list)[70]->time;
    (*list)[110]->exrightFlag = 3;
    (*list)[110]->exrightDate = (*list)[110]->time;
    view->Update(chartdata::snapshot(5000000), list, 7);
    view->UpdateLevel2TechIndex(KLineView::DefaultLevel2TechType, chartdata::ddx(130));
    app.render();
    app.tap(inMain(500, 120));
    app.advance(0.2);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "charts/kline-full", 48));
}

TEST_F(KLineViewTest, GoldenCompactChartWithCrossHair) {
    make({0, 0, 380, 250}, 1, 60);
    app.tap(inMain(150, 20)); // near the top: the two-row panel goes to the bottom
    app.advance(0.2);
    gfx::Surface window = app.render();
    gfx::Surface shot(380, 250);
    gfx::Context context(shot);
    context.drawImage({0, 0, float(window.width()), float(window.height())}, gfx::Image(window));
    EXPECT_TRUE(qvtest::matchesGolden(shot, "charts/kline-compact", 48));
}

} // namespace
