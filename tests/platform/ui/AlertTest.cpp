#include "ui/Alert.h"
#include "host/Offscreen.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ui {
namespace {

using base::make;
using base::Ref;

// Writes down every call, and runs an optional step inside one of them.
struct Recorder : AlertDelegate {
    std::vector<std::string> calls;
    void note(Alert &a, const std::string &what) { calls.push_back(a.title() + ":" + what); }
    base::Opt<void> clicked(Alert &a, int i) override {
        note(a, "clicked " + std::to_string(i));
        return {};
    }
    base::Opt<void> willPresent(Alert &a) override {
        note(a, "willPresent");
        return {};
    }
    base::Opt<void> didPresent(Alert &a) override {
        note(a, "didPresent");
        return {};
    }
    base::Opt<void> willDismiss(Alert &a, int i) override {
        note(a, "willDismiss " + std::to_string(i));
        return {};
    }
    base::Opt<void> didDismiss(Alert &a, int i) override {
        note(a, "didDismiss " + std::to_string(i));
        return {};
    }
};

using Calls = std::vector<std::string>;

struct AlertTest : ::testing::Test {
    host::TestApp app;
    Ref<Recorder> recorder = make<Recorder>();
    Ref<Alert> alert(const std::string &title, std::optional<std::string> cancel,
                     std::vector<std::string> others = {}) {
        return make<Alert>(title, "正在连接", recorder, std::move(cancel), std::move(others));
    }
};

TEST_F(AlertTest, ButtonIndicesPutCancelFirst) {
    auto a = alert("A", "取消", {"确定", "重试"});
    EXPECT_EQ(a->cancelIndex(), 0);
    EXPECT_EQ(a->firstOtherIndex(), 1);
    EXPECT_EQ(a->buttonTitle(0), "取消");
    EXPECT_EQ(a->buttonTitle(2), "重试");
    EXPECT_EQ(a->addButton("关闭"), 3);
    EXPECT_EQ(a->buttonTitle(9), "");
    auto b = alert("B", std::nullopt, {"关闭"});
    EXPECT_EQ(b->cancelIndex(), -1);
    EXPECT_EQ(b->firstOtherIndex(), 0);
    EXPECT_EQ(alert("C", "取消")->firstOtherIndex(), -1);
}

TEST_F(AlertTest, ShowReturnsAtOnceAndATapRunsTheDelegateInOrder) {
    auto a = alert("A", "取消", {"确定"});
    a->show();
    EXPECT_EQ(recorder->calls, (Calls{"A:willPresent"})) << "didPresent comes on a later pass";
    EXPECT_TRUE(a->isVisible());
    app.runPending();
    EXPECT_EQ(recorder->calls, (Calls{"A:willPresent", "A:didPresent"}));
    ASSERT_TRUE(app.pressAlertButton(1));
    EXPECT_EQ(recorder->calls,
              (Calls{"A:willPresent", "A:didPresent", "A:clicked 1", "A:willDismiss 1", "A:didDismiss 1"}));
    EXPECT_FALSE(a->isVisible());
    ASSERT_EQ(app.alerts().size(), 1u);
    EXPECT_EQ(app.alerts()[0].title, "A");
    EXPECT_EQ(app.alerts()[0].message, "正在连接");
    EXPECT_EQ(app.alerts()[0].buttons, (std::vector<std::string>{"取消", "确定"}));
    EXPECT_EQ(app.alerts()[0].dismissedWith, 1);
}

TEST_F(AlertTest, ProgrammaticDismissalSendsNoClicked) {
    auto a = alert("A", "取消");
    a->show();
    app.runPending();
    a->dismiss(0, true);
    EXPECT_EQ(recorder->calls, (Calls{"A:willPresent", "A:didPresent", "A:willDismiss 0", "A:didDismiss 0"}));
    a->dismiss(0, true);
    EXPECT_EQ(recorder->calls.size(), 4u) << "a second dismissal does nothing";
}

TEST_F(AlertTest, DismissedBeforeAppearingNeverReportsDidPresent) {
    auto a = alert("A", "取消");
    a->show();
    a->dismiss(0, false);
    app.runPending();
    EXPECT_EQ(recorder->calls, (Calls{"A:willPresent", "A:willDismiss 0", "A:didDismiss 0"}));
}

TEST_F(AlertTest, AlertsStackNewestOnTop) {
    auto a = alert("A", "取消"), b = alert("B", "取消", {"确定"});
    a->show();
    b->show();
    app.runPending();
    ASSERT_EQ(app.visibleAlerts().size(), 2u);
    EXPECT_EQ(app.visibleAlerts().back(), b);
    EXPECT_TRUE(a->isHidden()) << "only the newest shows";
    ASSERT_TRUE(app.pressAlertButton(0));
    EXPECT_EQ(app.visibleAlerts().size(), 1u);
    EXPECT_FALSE(a->isHidden()) << "the one below comes back";
    // Dismissing one below the top leaves the top alone.
    auto c = alert("C", "取消");
    c->show();
    a->dismiss(0, false);
    EXPECT_EQ(app.visibleAlerts(), (std::vector<Ref<Alert>>{c}));
    EXPECT_FALSE(c->isHidden());
}

TEST_F(AlertTest, AnAlertShownAndForgottenStaysAliveUntilDismissed) {
    std::weak_ptr<Alert> weak;
    {
        auto a = alert("A", "取消");
        a->show();
        weak = a;
    }
    ASSERT_FALSE(weak.expired());
    app.pressAlertButton(0);
    app.runPending();
    EXPECT_TRUE(weak.expired());
}

TEST_F(AlertTest, TheAlertLayerTakesEveryTouchWhileAnAlertShows) {
    struct Counter : View {
        using View::View;
        int touches = 0;
        void touchesBegan(const TouchSet &, const Event &) override { ++touches; }
    };
    auto below = make<Counter>(gfx::Rect{0, 0, 1024, 768});
    app.window().addSubview(below);
    auto a = alert("A", "取消");
    a->show();
    app.tap({5, 5});
    EXPECT_EQ(below->touches, 0);
    EXPECT_TRUE(a->isVisible()) << "a tap beside the buttons does nothing";
    a->dismiss(0, false);
    app.tap({5, 5});
    EXPECT_EQ(below->touches, 1);
}

TEST_F(AlertTest, ADelegateMayRestyleTheLabelsBeforePresenting) {
    struct LeftAligner : AlertDelegate {
        base::Opt<void> willPresent(Alert &a) override {
            a.messageLabel().setTextAlignment(gfx::Align::Left);
            return {};
        }
    };
    auto d = make<LeftAligner>();
    auto a = make<Alert>("超时", "请重新登录", d, "确定", std::vector<std::string>{});
    a->show();
    EXPECT_EQ(a->messageLabel().textAlignment(), gfx::Align::Left);
    EXPECT_EQ(a->titleLabel().textAlignment(), gfx::Align::Center);
}

TEST_F(AlertTest, TwoButtonsSitSideBySideAndMoreStackWithCancelLast) {
    auto pair = alert("A", "取消", {"确定"});
    pair->show();
    gfx::Rect cancel = pair->buttonFrame(0), ok = pair->buttonFrame(1);
    EXPECT_EQ(cancel.y(), ok.y());
    EXPECT_LT(cancel.x(), ok.x());
    pair->dismiss(0, false);
    auto stack = alert("B", "取消", {"一", "二"});
    stack->show();
    gfx::Rect c = stack->buttonFrame(0), one = stack->buttonFrame(1), two = stack->buttonFrame(2);
    EXPECT_EQ(c.x(), one.x());
    EXPECT_LT(one.y(), two.y());
    EXPECT_LT(two.y(), c.y());
    gfx::Rect box = stack->frame();
    EXPECT_LE(c.maxY(), box.maxY()) << "the alert is tall enough for its buttons";
    EXPECT_NEAR(box.midX(), 512, 1);
    EXPECT_NEAR(box.midY(), 384, 1);
}

TEST_F(AlertTest, PressingAMissingButtonFails) {
    EXPECT_FALSE(app.pressAlertButton(0));
    alert("A", "取消")->show();
    EXPECT_FALSE(app.pressAlertButton(1));
    EXPECT_FALSE(app.pressAlertButton(-1));
}

TEST(Toast, IsRecordedAndGoesAwayAfterItsTime) {
    host::TestApp app;
    auto toast = Toast::show("网络连接失败", nullptr, 2);
    ASSERT_EQ(app.toasts().size(), 1u);
    EXPECT_EQ(app.toasts()[0].text, "网络连接失败");
    EXPECT_EQ(toast->superview(), &app.window());
    app.advance(1.9);
    EXPECT_EQ(toast->superview(), &app.window());
    app.advance(0.2);
    EXPECT_EQ(toast->superview(), nullptr);
}

TEST(ApplicationHooks, TerminateOpenUrlAndLifeCycle) {
    host::TestApp app;
    struct Delegate : ApplicationDelegate {
        std::vector<std::string> calls;
        bool didFinishLaunching(Application &, const base::Dict &) override {
            calls.push_back("launch");
            return true;
        }
        base::Opt<void> didBecomeActive(Application &) override {
            calls.push_back("active");
            return {};
        }
        base::Opt<void> willTerminate(Application &) override {
            calls.push_back("terminate");
            return {};
        }
    };
    auto d = make<Delegate>();
    bool built = false;
    EXPECT_TRUE(Application::shared().launch(d, [&] { built = true; }));
    EXPECT_TRUE(built);
    Application::shared().simulateResignActive(); // not implemented: nothing happens
    Application::shared().quit();
    EXPECT_EQ(d->calls, (std::vector<std::string>{"launch", "active", "terminate"}));
    EXPECT_EQ(app.terminatedWith(), 0);
    Application::shared().terminate(3);
    EXPECT_EQ(app.terminatedWith(), 3);
    EXPECT_TRUE(Application::shared().openUrl("http://127.0.0.1/upgrade"));
    EXPECT_FALSE(Application::shared().openUrl(""));
    EXPECT_EQ(app.openedUrls(), (std::vector<std::string>{"http://127.0.0.1/upgrade"}));
    Application::shared().launch(nullptr);
}

TEST(ScreenAndDevice, ReportTheTabletTheApplicationExpects) {
    EXPECT_EQ(Screen::main().bounds(), (gfx::Rect{0, 0, 768, 1024}));
    EXPECT_EQ(Screen::main().applicationFrame(), (gfx::Rect{0, 20, 1024, 748}));
    EXPECT_EQ(Screen::main().scale(), 1);
    std::string id = Device::current().uniqueIdentifier();
    EXPECT_EQ(id.size(), 40u);
    EXPECT_EQ(id.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_EQ(Device::current().uniqueIdentifier(), id);
    EXPECT_GE(std::stod(Device::current().systemVersion()), 5.0);
}

} // namespace
} // namespace ui
