#include "base/RunLoop.h"
#include "base/Thread.h"
#include "base/VirtualClock.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using base::Action;
using base::FdSource;
using base::Object;
using base::Ref;
using base::RunLoop;
using base::VirtualClock;

// A target that writes what happens to it into a shared log.
struct Probe : Object {
    Probe(std::vector<std::string> &log, std::string name) : log(log), name(std::move(name)) {}
    ~Probe() override { log.push_back(name + " gone"); }
    void ping() { log.push_back(name + " ping"); }
    void pong() { log.push_back(name + " pong"); }
    std::vector<std::string> &log;
    std::string name;
};

Action logging(std::vector<std::string> &log, std::string text) {
    return Action(text, [&log, text](Object *) { log.push_back(text); });
}

// Runs the main loop until `done` answers true, at most a few real seconds.
template <class F> bool runUntil(F done) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        RunLoop::main().runOnce(RunLoop::Default, 0.05);
    }
    return true;
}

class VirtualTime : public ::testing::Test {
protected:
    void SetUp() override { base::Clock::setCurrent(&clock); }
    void TearDown() override {
        while (RunLoop::main().runOnce(RunLoop::Default, 0)) {
        }
        base::Clock::setCurrent(nullptr);
    }
    VirtualClock clock;
    RunLoop &loop = RunLoop::main();
    std::vector<std::string> log;
};

TEST_F(VirtualTime, ZeroDelayRunsOnTheNextPassInOrderNeverInsideTheCaller) {
    loop.performAfter(0, Action("outer", [&](Object *) {
                          log.push_back("outer");
                          loop.performAfter(0, logging(log, "a"));
                          loop.performAfter(0, logging(log, "b"));
                          log.push_back("outer done");
                      }));
    loop.performAfter(0, logging(log, "c"));
    EXPECT_TRUE(log.empty());

    EXPECT_TRUE(loop.runOnce(RunLoop::Default, 0));
    EXPECT_EQ(log, (std::vector<std::string>{"outer", "outer done", "c"}));
    EXPECT_TRUE(loop.runOnce(RunLoop::Default, 0));
    EXPECT_EQ(log, (std::vector<std::string>{"outer", "outer done", "c", "a", "b"}));
    EXPECT_FALSE(loop.runOnce(RunLoop::Default, 0));
}

TEST_F(VirtualTime, CallsFireAtTheirVirtualTimesInTimeOrder) {
    std::vector<double> times;
    auto at = [&](std::string text) {
        return Action(text, [&, text](Object *) {
            log.push_back(text);
            times.push_back(clock.monotonic());
        });
    };
    loop.performAfter(2.0, at("late"));
    loop.performAfter(0.5, Action("chain", [&](Object *) {
                          log.push_back("chain");
                          times.push_back(clock.monotonic());
                          // Falls due inside the span being advanced, so it fires in this advance.
                          loop.performAfter(1.0, at("chained"));
                      }));
    loop.performAfter(0.5, at("tie"));
    loop.performAfter(9.0, at("beyond"));

    clock.advance(3.0);
    EXPECT_EQ(log, (std::vector<std::string>{"chain", "tie", "chained", "late"}));
    EXPECT_EQ(times, (std::vector<double>{0.5, 0.5, 1.5, 2.0}));
    EXPECT_DOUBLE_EQ(clock.monotonic(), 3.0);

    clock.advance(6.0);
    EXPECT_EQ(log.back(), "beyond");
    EXPECT_EQ(times.back(), 9.0);
}

TEST_F(VirtualTime, CancellingByTargetAndOperationRemovesOnlyThose) {
    struct Case {
        const char *cancel; // "a" or "b": which target
        const char *name;
        std::vector<std::string> left;
    } cases[] = {
        {"a", "ping", {"b ping", "anonymous", "a pong"}},
        {"a", "", {"b ping", "anonymous"}},
        {"b", "pong", {"a ping", "b ping", "anonymous", "a pong"}},
    };
    for (const auto &c : cases) {
        std::vector<std::string> calls;
        auto a = base::make<Probe>(calls, "a");
        auto b = base::make<Probe>(calls, "b");
        loop.performAfter(0, BASE_ACTION(a.get(), ping));
        loop.performAfter(0.1, BASE_ACTION(a.get(), pong));
        loop.performAfter(0, BASE_ACTION(b.get(), ping));
        loop.performAfter(0, logging(calls, "anonymous"));
        loop.cancelPerforms(std::string(c.cancel) == "a" ? a.get() : b.get(), c.name);
        loop.cancelPerforms(nullptr);
        clock.advance(1);
        EXPECT_EQ(calls, c.left) << c.cancel << " " << c.name;
    }
}

TEST_F(VirtualTime, ATargetStaysAliveUntilItsCallHasRun) {
    auto first = base::make<Probe>(log, "first");
    auto second = base::make<Probe>(log, "second");
    loop.performAfter(0, BASE_ACTION(first.get(), ping));
    loop.performAfter(0, BASE_ACTION(second.get(), pong));
    base::Weak<Probe> watch = first;
    first.reset();
    second.reset();
    EXPECT_FALSE(watch.expired());
    EXPECT_TRUE(log.empty());

    loop.runOnce(RunLoop::Default, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"first ping", "first gone", "second pong", "second gone"}));
}

TEST_F(VirtualTime, ACancelledCallLetsGoOfItsTargetAtOnce) {
    auto target = base::make<Probe>(log, "t");
    const Object *id = target.get();
    loop.performAfter(1, BASE_ACTION(target.get(), ping));
    target.reset();
    EXPECT_TRUE(log.empty());
    loop.cancelPerforms(id, "ping");
    EXPECT_EQ(log, (std::vector<std::string>{"t gone"}));
    clock.advance(2);
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(VirtualTime, ModesSelectWhatRuns) {
    const std::string custom = "HTTPRequestRunLoopMode";
    loop.performAfter(0, logging(log, "default"));
    loop.performAfter(0, logging(log, "common"), {RunLoop::Common});
    loop.performAfter(0, logging(log, "custom"), {custom});
    loop.performAfter(0, logging(log, "both"), {custom, RunLoop::Default});
    loop.post([&] { log.push_back("posted"); });

    EXPECT_TRUE(loop.runOnce(custom, 0));
    EXPECT_EQ(log, (std::vector<std::string>{"custom", "both"}));
    EXPECT_TRUE(loop.runOnce(RunLoop::Default, 0));
    EXPECT_EQ(log, (std::vector<std::string>{"custom", "both", "posted", "default", "common"}));
    EXPECT_FALSE(loop.runOnce(custom, 0));
}

TEST_F(VirtualTime, ANestedPassDoesNotRunACallTwice) {
    loop.performAfter(0, Action("outer", [&](Object *) {
                          log.push_back("outer");
                          loop.runOnce(RunLoop::Default, 0); // as a synchronous request does
                      }));
    loop.performAfter(0, logging(log, "inner"));
    loop.runOnce(RunLoop::Default, 0);
    loop.runOnce(RunLoop::Default, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"outer", "inner"}));
}

TEST_F(VirtualTime, RunOnceDoesNotSleepForAVirtualDeadline) {
    loop.performAfter(100, logging(log, "far"));
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(loop.runOnce(RunLoop::Default, 30));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(log.empty());
    loop.cancelPerforms(nullptr);
    clock.advance(100);
    EXPECT_EQ(log, (std::vector<std::string>{"far"}));
}

TEST(RunLoop, RunOnceTimesOutWhenNothingHappens) {
    EXPECT_FALSE(RunLoop::main().runOnce(RunLoop::Default, 0.02));
}

TEST(RunLoop, PostAndPerformOnMainFromAnotherThreadRunOnTheLoop) {
    std::mutex lock;
    std::vector<std::string> log;
    auto note = [&](std::string s) {
        std::lock_guard guard(lock);
        log.push_back(s);
    };
    std::atomic<bool> workerDone{false};
    std::thread worker([&] {
        RunLoop::main().post([&] { note(base::Thread::isMain() ? "post on main" : "post elsewhere"); });
        base::performOnMain([&] { note(base::Thread::isMain() ? "nowait on main" : "nowait elsewhere"); },
                            false);
        base::performOnMain([&] { note(base::Thread::isMain() ? "wait on main" : "wait elsewhere"); }, true);
        note("worker after wait");
        workerDone = true;
    });
    EXPECT_TRUE(runUntil([&] { return workerDone.load(); }));
    worker.join();
    EXPECT_EQ(log, (std::vector<std::string>{"post on main", "nowait on main", "wait on main",
                                             "worker after wait"}));
}

TEST(RunLoop, EveryPostWakesASleepingLoop) {
    // One wake stands for every post made before the loop takes its posts; a post made after must
    // wake it again. Each burst waits for the loop to run the last one, so it often lands while the
    // loop is asleep; a lost wake shows as a pass that sleeps its whole minute.
    // A loop that looks again before it sleeps must take them just the same.
    constexpr int bursts = 2000, burst = 3;
    for (int idlePolls : {0, 32}) {
        RunLoop::main().setIdlePolls(idlePolls);
        std::atomic<int> ran{0};
        std::thread poster([&] {
            for (int i = 0; i < bursts; ++i) {
                while (ran.load() < i * burst)
                    std::this_thread::yield();
                for (int j = 0; j < burst; ++j)
                    RunLoop::main().post([&] { ++ran; });
            }
        });
        bool woken = true;
        while (woken && ran.load() < bursts * burst)
            woken = RunLoop::main().runOnce(RunLoop::Default, 60);
        poster.join();
        EXPECT_TRUE(woken) << idlePolls;
        EXPECT_EQ(ran.load(), bursts * burst) << idlePolls;
    }
    RunLoop::main().setIdlePolls(0);
}

TEST(RunLoop, PerformOnMainFromTheMainThreadWaitsOnlyByRunningAtOnce) {
    std::vector<std::string> log;
    base::performOnMain([&] { log.push_back("later"); }, false);
    base::performOnMain([&] { log.push_back("at once"); }, true);
    EXPECT_EQ(log, (std::vector<std::string>{"at once"}));
    RunLoop::main().runOnce(RunLoop::Default, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"at once", "later"}));
}

TEST(RunLoop, FdSourceReportsReadinessOfAPipe) {
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_NONBLOCK | O_CLOEXEC), 0);
    RunLoop &loop = RunLoop::main();
    std::vector<unsigned> seen;
    std::string got;
    auto reader = base::make<FdSource>(fds[0], FdSource::Read, [&](unsigned events) {
        seen.push_back(events);
        char buffer[16];
        ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n > 0)
            got.append(buffer, size_t(n));
    });
    loop.addSource(reader);
    EXPECT_FALSE(loop.runOnce(RunLoop::Default, 0.01));

    ASSERT_EQ(write(fds[1], "abc", 3), 3);
    EXPECT_TRUE(loop.runOnce(RunLoop::Default, 1));
    EXPECT_EQ(got, "abc");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], unsigned(FdSource::Read));

    // Not watched in another mode, nor once removed.
    ASSERT_EQ(write(fds[1], "d", 1), 1);
    EXPECT_FALSE(loop.runOnce("other", 0.01));
    loop.removeSource(*reader, RunLoop::Default);
    EXPECT_FALSE(loop.runOnce(RunLoop::Default, 0.01));
    EXPECT_EQ(got, "abc");

    loop.addSource(reader, {RunLoop::Common});
    close(fds[1]);
    EXPECT_TRUE(runUntil([&] { return seen.size() >= 2 && (seen.back() & FdSource::HangUp); }));
    EXPECT_EQ(got, "abcd");
    loop.removeSource(*reader);
    close(fds[0]);
}

TEST(RunLoop, WriteInterestAndASourceRemovedByAnEarlierCallbackOfTheSamePass) {
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_NONBLOCK | O_CLOEXEC), 0);
    RunLoop &loop = RunLoop::main();
    int calls = 0;
    Ref<FdSource> first, second;
    auto removeBoth = [&](unsigned events) {
        EXPECT_TRUE(events & FdSource::Write);
        ++calls;
        loop.removeSource(*first);
        loop.removeSource(*second);
    };
    first = base::make<FdSource>(fds[1], FdSource::Write, removeBoth);
    second = base::make<FdSource>(fds[1], FdSource::Write, removeBoth);
    loop.addSource(first);
    loop.addSource(second);
    EXPECT_TRUE(loop.runOnce(RunLoop::Default, 1));
    EXPECT_EQ(calls, 1);
    close(fds[0]);
    close(fds[1]);
}

TEST(RunLoop, RunReturnsWithoutWorkAndAKeepAliveSourceHoldsItUntilStopped) {
    std::atomic<int> phase{0};
    auto thread = base::Thread::detach([&] {
        RunLoop &own = RunLoop::current();
        own.run(); // nothing to do: returns at once
        phase = 1;
        own.addKeepAliveSource();
        own.run();
        phase = 2;
    });
    EXPECT_TRUE(runUntil([&] { return phase.load() == 1; }));
    std::atomic<bool> ranThere{false};
    thread->runLoop().post(
        [&] { ranThere = !base::Thread::isMain() && &RunLoop::current() == &thread->runLoop(); });
    EXPECT_TRUE(runUntil([&] { return ranThere.load(); }));
    EXPECT_EQ(phase.load(), 1);
    thread->runLoop().stop();
    EXPECT_TRUE(runUntil([&] { return phase.load() == 2; }));
}

} // namespace
