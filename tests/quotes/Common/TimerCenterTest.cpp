#include "Common/TimerCenter.h"
#include "Common/MyTimer.h"
#include "base/VirtualClock.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A screen that records when it was told to refresh.
struct Screen : TimerCenterDelegate {
    base::Opt<void> OnTimerCenterNotify(int32_t userID) override {
        calls.push_back({userID, base::Clock::current().monotonic()});
        return {};
    }
    struct Call {
        int32_t id;
        double at;
    };
    std::vector<Call> calls;
};

// A controller that does not implement the refresh operation.
struct Deaf : TimerCenterDelegate {};

class TimerCenterTest : public ::testing::Test {
protected:
    TimerCenterTest() {
        base::Clock::setCurrent(&clock);
        center = TimerCenter::create();
    }
    ~TimerCenterTest() override {
        center->closeTimer();
        base::Clock::setCurrent(nullptr);
    }

    base::VirtualClock clock;
    base::Ref<TimerCenter> center;
    std::shared_ptr<Screen> screen = std::make_shared<Screen>();
};

TEST_F(TimerCenterTest, FirstCallWithinFiveToFiveAndAHalfSecondsThenEveryFiveAndAHalf) {
    // Resets falling just after a tick and just before one.
    for (double offset : {0.01, 0.49}) {
        screen->calls.clear();
        clock.advance(offset);
        double reset = clock.monotonic();
        center->setController(screen);
        center->resetCountDown(5.0, 200);
        clock.advance(5.5 + 5.5 + 0.3);
        ASSERT_EQ(screen->calls.size(), 2u) << offset;
        EXPECT_GE(screen->calls[0].at - reset, 5.0);
        EXPECT_LE(screen->calls[0].at - reset, 5.5);
        EXPECT_DOUBLE_EQ(screen->calls[1].at - screen->calls[0].at, 5.5);
        EXPECT_EQ(screen->calls[0].id, 200);
        center->setController({});
        clock.advance(1.0 - offset - 0.3);
    }
}

TEST_F(TimerCenterTest, NoControllerOrAScreenIdBelowOneFreezesTheCountDown) {
    center->resetCountDown(5.0, 300);
    clock.advance(20);
    EXPECT_EQ(center->countDown(), 5.0);

    center->setController(screen);
    for (int32_t id : {0, -4}) {
        center->resetCountDown(5.0, id);
        clock.advance(20);
        EXPECT_EQ(center->countDown(), 5.0) << id;
    }
    EXPECT_TRUE(screen->calls.empty());
}

TEST_F(TimerCenterTest, AControllerWithoutTheOperationIsSkippedButItsCountDownRestarts) {
    auto deaf = std::make_shared<Deaf>();
    center->setController(deaf);
    center->resetCountDown(1.0, 400);
    clock.advance(1.5);
    EXPECT_EQ(center->countDown(), 1.0);
    // The screen taking over finds a full period, not a count-down run below zero.
    center->setController(screen);
    clock.advance(1.5);
    ASSERT_EQ(screen->calls.size(), 1u);
    EXPECT_DOUBLE_EQ(screen->calls[0].at, 3.0);
}

TEST_F(TimerCenterTest, AResetMidCountRestartsTheFullPeriod) {
    center->setController(screen);
    center->resetCountDown(5.0, 200);
    clock.advance(4.0);
    center->resetCountDown(5.0, 201);
    clock.advance(5.0);
    EXPECT_TRUE(screen->calls.empty());
    clock.advance(0.5);
    ASSERT_EQ(screen->calls.size(), 1u);
    EXPECT_EQ(screen->calls[0].id, 201);
}

TEST_F(TimerCenterTest, ANewControllerKeepsThePreviousIdAndRemainder) {
    center->setController(screen);
    center->resetCountDown(5.0, 300);
    clock.advance(3.0);
    auto next = std::make_shared<Screen>();
    center->setController(next);
    EXPECT_EQ(center->userID(), 300);
    EXPECT_EQ(center->countDown(), 2.0);
    clock.advance(2.5);
    ASSERT_EQ(next->calls.size(), 1u);
    EXPECT_EQ(next->calls[0].id, 300);
    EXPECT_TRUE(screen->calls.empty());
}

TEST_F(TimerCenterTest, APeriodOfZeroOrLessNotifiesEveryTick) {
    center->setController(screen);
    for (double period : {0.0, -1.0}) {
        screen->calls.clear();
        center->resetCountDown(period, 100);
        clock.advance(2.0);
        EXPECT_EQ(screen->calls.size(), 4u) << period;
    }
}

TEST_F(TimerCenterTest, AReleasedControllerIsNeverCalled) {
    center->setController(screen);
    center->resetCountDown(0, 100);
    screen.reset();
    clock.advance(2.0);
    EXPECT_EQ(center->controller(), nullptr);
}

TEST_F(TimerCenterTest, CloseTimerStopsTheTickAndTwiceIsHarmless) {
    base::Weak<TimerCenter> weak = center;
    center->setController(screen);
    center->resetCountDown(0, 100);
    center->closeTimer();
    center->closeTimer();
    EXPECT_FALSE(center->isTicking());
    clock.advance(2.0);
    EXPECT_TRUE(screen->calls.empty());
    center.reset();
    EXPECT_TRUE(weak.expired());
    center = TimerCenter::create();
}

TEST(MyTimerTest, RepeatsUntilClosed) {
    base::VirtualClock clock;
    base::Clock::setCurrent(&clock);
    int ticks = 0;
    auto timer = base::make<MyTimer>(5.0, base::Action("OnMyTimerEvent", [&](base::Object *) { ++ticks; }));
    clock.advance(15.0);
    EXPECT_EQ(ticks, 3);
    timer->closeTimer();
    timer->closeTimer();
    clock.advance(15.0);
    EXPECT_EQ(ticks, 3);
    base::Clock::setCurrent(nullptr);
}

} // namespace
