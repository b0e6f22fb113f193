#include "Class/Module/ToolBarView/TradeBaseView/TradeBaseView.h"
#include "Components/CMProgressWaitingView.h"
#include "host/Offscreen.h"

#include <gtest/gtest.h>

namespace toolbar {
namespace {

// A panel with the title bar every panel builds.
class TitledPanel : public TradeBaseView {
public:
    using TradeBaseView::TradeBaseView;

protected:
    void initUI(gfx::Rect frame) override { GenTitleBar({0, 0, frame.width(), kTitleBarHeight}); }
};

// Notes each stage with the clock time and what the panel looked like then.
struct Stages : base::Object, TradeBaseViewDelegate {
    struct Heard {
        std::string stage;
        double at;
        bool inParent, hidden, sliding;
    };
    base::VirtualClock *clock = nullptr;
    base::Weak<TradeBaseView> panel;
    std::vector<Heard> heard;

    void note(const char *stage) {
        auto p = panel.lock();
        heard.push_back({stage, clock->now(), p && p->superview(), p && p->isHidden(),
                         p && p->layer().transitionForKey("animation")});
    }
    base::Opt<void> ShowResponse() override { return note("show"), base::Opt<void>{}; }
    base::Opt<void> ShowFinishedAnimationResponse() override { return note("shown"), base::Opt<void>{}; }
    base::Opt<void> DismissResponse() override { return note("dismiss"), base::Opt<void>{}; }
    base::Opt<void> DismissFinishedAnimationResponse() override { return note("removed"), base::Opt<void>{}; }
};

// Implements none of the stages.
struct Deaf : base::Object, TradeBaseViewDelegate {};

class TradeBaseViewTest : public ::testing::Test {
protected:
    TradeBaseViewTest() {
        parent = base::make<ui::View>(gfx::Rect{0, 0, 1024, 768});
        app.window().addSubview(parent);
        bar = base::make<ui::View>(gfx::Rect{974, 65, 50, 654});
        parent->addSubview(bar);
    }
    base::Ref<TitledPanel> makePanel(bool withBar) {
        auto panel = base::make<TitledPanel>(gfx::Rect{714, 65, 260, 654});
        panel->parentView = parent;
        if (withBar)
            panel->toolBarView = bar;
        return panel;
    }

    base::VirtualClock clock;
    host::TestApp app{&clock};
    base::Ref<ui::View> parent, bar;
};

TEST_F(TradeBaseViewTest, TheTitleBarHasItsTwoButtonsTitleAndIndicator) {
    auto panel = makePanel(true);
    ASSERT_TRUE(panel->closeButton() && panel->zoomInButton() && panel->titleLabel() &&
                panel->progressView());
    EXPECT_EQ(panel->closeButton()->frame(), (gfx::Rect{3, 3, 34, 32}));
    EXPECT_EQ(panel->zoomInButton()->frame(), (gfx::Rect{40, 3, 34, 32}));
    EXPECT_EQ(panel->titleLabel()->frame(), (gfx::Rect{77, 3, 260 - 80, 34}));
    EXPECT_EQ(panel->progressView()->frame(), (gfx::Rect{0, 37, 260, 3}));
    panel->StartWaitingAlert();
    EXPECT_TRUE(panel->progressView()->isAnimating());
    panel->StopWaitingAlert();
    EXPECT_FALSE(panel->progressView()->isAnimating());
}

TEST_F(TradeBaseViewTest, TheDelegateHearsEachStageWhenItHappens) {
    auto panel = makePanel(true);
    auto stages = base::make<Stages>();
    stages->clock = &clock;
    stages->panel = panel;
    panel->delegate = stages;
    double start = clock.now();
    panel->ShowView();
    EXPECT_GT(parent->subviews().size(), 0u);
    EXPECT_EQ(parent->subviews().back(), bar) << "the tool bar stays in front";
    app.advance(0.2);
    base::Weak<TradeBaseView> weak = panel;
    panel->DismissView();
    panel.reset();
    EXPECT_FALSE(weak.expired()) << "the slide-out holds the panel";
    app.advance(0.2);
    EXPECT_TRUE(weak.expired()) << "the removal ends it";

    ASSERT_EQ(stages->heard.size(), 4u);
    const Stages::Heard &show = stages->heard[0], &shown = stages->heard[1], &dismiss = stages->heard[2],
                        &removed = stages->heard[3];
    EXPECT_EQ(show.stage, "show");
    EXPECT_TRUE(show.sliding) << "heard while the slide-in runs";
    EXPECT_DOUBLE_EQ(show.at, start);
    EXPECT_EQ(shown.stage, "shown");
    EXPECT_NEAR(shown.at - start, 0.15, 0.02);
    EXPECT_EQ(dismiss.stage, "dismiss");
    EXPECT_FALSE(dismiss.hidden) << "heard before the slide-out starts";
    EXPECT_FALSE(dismiss.sliding);
    EXPECT_EQ(removed.stage, "removed");
    EXPECT_FALSE(removed.inParent) << "heard after the removal";
}

TEST_F(TradeBaseViewTest, WithoutStagesOrToolBarThePanelStillComesAndGoes) {
    auto panel = makePanel(false);
    auto deaf = base::make<Deaf>();
    panel->delegate = deaf;
    panel->ShowView();
    EXPECT_EQ(parent->subviews().back(), panel) << "simply on top";
    EXPECT_TRUE(panel->isStartEnd());
    app.advance(0.2);
    EXPECT_FALSE(panel->isHidden());
    panel->DismissView();
    EXPECT_FALSE(panel->isStartEnd());
    app.advance(0.2);
    EXPECT_EQ(panel->superview(), nullptr);
}

} // namespace
} // namespace toolbar
