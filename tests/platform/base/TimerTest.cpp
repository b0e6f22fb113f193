#include "base/Timer.h"
#include "base/RunLoop.h"
#include "base/VirtualClock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using base::Action;
using base::Object;
using base::Ref;
using base::RunLoop;
using base::Timer;

struct Firing {
    std::string name;
    double at;
    bool operator==(const Firing &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Firing &f) {
    return out << f.name << "@" << f.at;
}

// A controller-like target that owns its timer, as screens do.
struct Ticker : Object {
    explicit Ticker(std::vector<std::string> &log) : log(log) {}
    ~Ticker() override { log.push_back("gone"); }
    void onTick(Timer *timer) {
        log.push_back(timer ? "tick" : "tick without timer");
        if (++ticks == stopAfter)
            timer->invalidate();
    }
    std::vector<std::string> &log;
    int ticks = 0;
    int stopAfter = 0;
};

class TimerTest : public ::testing::Test {
protected:
    void SetUp() override { base::Clock::setCurrent(&clock); }
    void TearDown() override { base::Clock::setCurrent(nullptr); }

    Action record(std::string name) {
        return Action(name, [this, name](Object *) { firings.push_back({name, clock.monotonic()}); });
    }

    base::VirtualClock clock;
    std::vector<Firing> firings;
    std::vector<std::string> log;
};

TEST_F(TimerTest, TimersFireAtTheirVirtualTimesInOrder) {
    auto every3 = Timer::scheduled(3, true, record("every3"));
    auto every2 = Timer::scheduled(2, true, record("every2"));
    auto once = Timer::scheduled(5, false, record("once"));
    RunLoop::main().performAfter(4.5, record("deferred"));

    clock.advance(6.5);
    EXPECT_EQ(firings, (std::vector<Firing>{{"every2", 2},
                                            {"every3", 3},
                                            {"every2", 4},
                                            {"deferred", 4.5},
                                            {"once", 5},
                                            {"every3", 6},
                                            {"every2", 6}}));
    EXPECT_FALSE(once->isValid());
    EXPECT_TRUE(every2->isValid());
    EXPECT_DOUBLE_EQ(every2->fireDate(), 8);
    every2->invalidate();
    every3->invalidate();
}

TEST_F(TimerTest, ARepeatingTimerInvalidatedInsideItsCallbackStops) {
    auto ticker = base::make<Ticker>(log);
    ticker->stopAfter = 2;
    auto timer = Timer::scheduled(1, true, BASE_ACTION(ticker.get(), onTick));
    clock.advance(10);
    EXPECT_EQ(ticker->ticks, 2);
    EXPECT_FALSE(timer->isValid());
    timer->invalidate();
    timer->fire();
    EXPECT_EQ(ticker->ticks, 2);
}

TEST_F(TimerTest, KeepsItsTargetUntilInvalidated) {
    auto ticker = base::make<Ticker>(log);
    auto repeating = Timer::scheduled(1, true, BASE_ACTION(ticker.get(), onTick));
    ticker.reset();
    clock.advance(2.5);
    EXPECT_EQ(log, (std::vector<std::string>{"tick", "tick"}));
    repeating->invalidate();
    EXPECT_EQ(log.back(), "gone");
    repeating->invalidate();
    EXPECT_EQ(log.size(), 3u);

    log.clear();
    auto other = base::make<Ticker>(log);
    auto once = Timer::scheduled(1, false, BASE_ACTION(other.get(), onTick));
    other.reset();
    clock.advance(1);
    EXPECT_EQ(log, (std::vector<std::string>{"tick", "gone"}));
}

TEST_F(TimerTest, FireRunsNowWithoutMovingTheSchedule) {
    auto repeating = Timer::scheduled(2, true, record("repeating"));
    auto once = Timer::make(2, false, record("once"));
    repeating->fire();
    once->fire();
    EXPECT_EQ(firings, (std::vector<Firing>{{"repeating", 0}, {"once", 0}}));
    EXPECT_DOUBLE_EQ(repeating->fireDate(), 2);
    EXPECT_FALSE(once->isValid());
    RunLoop::main().addTimer(once);
    clock.advance(2);
    EXPECT_EQ(firings.back(), (Firing{"repeating", 2}));
    repeating->invalidate();
}

TEST_F(TimerTest, ATimerThatFellBehindFiresOnceAndReschedulesFromNow) {
    const std::string mode = "HTTPRequestRunLoopMode";
    auto timer = Timer::make(1, true, record("late"));
    RunLoop::main().addTimer(timer, mode);
    clock.advance(5.5); // runs the default mode only
    EXPECT_TRUE(firings.empty());
    EXPECT_TRUE(RunLoop::main().runOnce(mode, 0));
    EXPECT_FALSE(RunLoop::main().runOnce(mode, 0));
    EXPECT_EQ(firings, (std::vector<Firing>{{"late", 5.5}}));
    EXPECT_DOUBLE_EQ(timer->fireDate(), 6.5);
    timer->invalidate();
}

TEST_F(TimerTest, CommonModeTimersFireInTheDefaultMode) {
    auto timer = Timer::make(1, false, record("common"));
    RunLoop::main().addTimer(timer, RunLoop::Common);
    clock.advance(1);
    EXPECT_EQ(firings, (std::vector<Firing>{{"common", 1}}));
}

TEST_F(TimerTest, ATimerForATargetAlreadyGoneIsInvalid) {
    auto ticker = base::make<Ticker>(log);
    Action action = BASE_ACTION(ticker.get(), onTick);
    ticker.reset();
    auto timer = Timer::scheduled(1, true, action);
    EXPECT_FALSE(timer->isValid());
    clock.advance(2);
    EXPECT_EQ(log, (std::vector<std::string>{"gone"}));
}

} // namespace
