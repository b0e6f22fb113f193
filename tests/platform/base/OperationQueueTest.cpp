#include "base/OperationQueue.h"
#include "base/RunLoop.h"
#include "base/Thread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using base::Operation;
using base::OperationQueue;
using base::Ref;

// Blocks operations until opened.
struct Gate {
    void open() {
        std::lock_guard guard(lock);
        opened = true;
        changed.notify_all();
    }
    void pass() {
        std::unique_lock guard(lock);
        changed.wait(guard, [&] { return opened; });
    }
    std::mutex lock;
    std::condition_variable changed;
    bool opened = false;
};

// Records the state keys it reports and how many operations run at once.
struct Tracker {
    void enter() {
        std::lock_guard guard(lock);
        peak = std::max(peak, ++running);
    }
    void leave(std::string name) {
        std::lock_guard guard(lock);
        --running;
        order.push_back(std::move(name));
    }
    std::mutex lock;
    int running = 0, peak = 0;
    std::vector<std::string> order;
};

struct Work : Operation {
    Work(Tracker &tracker, Gate &gate, std::string name)
        : tracker(tracker), gate(gate), name(std::move(name)) {}
    void main() override {
        tracker.enter();
        gate.pass();
        tracker.leave(name);
    }
    Tracker &tracker;
    Gate &gate;
    std::string name;
};

TEST(OperationQueue, RunsAtMostMaxConcurrentAndCountsUntilFinished) {
    struct Case {
        int max;
        int operations;
    } cases[] = {{1, 3}, {2, 5}, {4, 6}};
    for (const auto &c : cases) {
        Tracker tracker;
        Gate gate;
        OperationQueue queue(c.max);
        for (int i = 0; i < c.operations; ++i)
            queue.add(base::make<Work>(tracker, gate, std::to_string(i)));
        EXPECT_EQ(queue.count(), size_t(c.operations));
        gate.open();
        queue.waitUntilAllFinished();
        EXPECT_EQ(queue.count(), 0u);
        EXPECT_EQ(tracker.order.size(), size_t(c.operations));
        EXPECT_LE(tracker.peak, c.max) << c.max;
        if (c.max == 1) {
            EXPECT_EQ(tracker.order, (std::vector<std::string>{"0", "1", "2"}));
        }
    }
}

TEST(OperationQueue, SuspendedQueueStartsByPriorityOnceDependenciesFinish) {
    Tracker tracker;
    Gate gate;
    gate.open();
    OperationQueue queue(1, true);
    auto later = base::make<Work>(tracker, gate, "later");
    auto dependent = base::make<Work>(tracker, gate, "dependent");
    auto urgent = base::make<Work>(tracker, gate, "urgent");
    auto prerequisite = base::make<Work>(tracker, gate, "prerequisite");
    urgent->setQueuePriority(10);
    dependent->addDependency(prerequisite);
    // The dependent comes first in the queue but may not start before its prerequisite.
    queue.add(dependent);
    queue.add(later);
    queue.add(urgent);
    queue.add(prerequisite);
    EXPECT_TRUE(queue.isSuspended());
    EXPECT_EQ(queue.count(), 4u);
    EXPECT_TRUE(tracker.order.empty());
    queue.setSuspended(false);
    queue.waitUntilAllFinished();
    EXPECT_EQ(tracker.order, (std::vector<std::string>{"urgent", "later", "prerequisite", "dependent"}));
}

TEST(OperationQueue, CancelAllSkipsWhatHasNotStartedAndTellsWhatRuns) {
    Tracker tracker;
    Gate gate;
    OperationQueue queue(1);
    auto running = base::make<Work>(tracker, gate, "running");
    auto waiting = base::make<Work>(tracker, gate, "waiting");
    std::vector<std::string> keys;
    std::mutex keysLock;
    waiting->onStateChange([&](Operation &, std::string_view key) {
        std::lock_guard guard(keysLock);
        keys.emplace_back(key);
    });
    queue.add(running);
    queue.add(waiting);
    while (!running->isExecuting())
        std::this_thread::yield();
    queue.cancelAll();
    EXPECT_TRUE(running->isCancelled());
    gate.open();
    queue.waitUntilAllFinished();
    EXPECT_EQ(tracker.order, (std::vector<std::string>{"running"}));
    EXPECT_TRUE(waiting->isFinished());
    std::lock_guard guard(keysLock);
    EXPECT_EQ(keys, (std::vector<std::string>{"isCancelled", "isFinished"}));
}

TEST(OperationQueue, StateChangesOfAPlainOperation) {
    struct Plain : Operation {};
    auto plain = base::make<Plain>();
    std::vector<std::string> keys;
    plain->onStateChange([&](Operation &o, std::string_view key) {
        keys.push_back(std::string(key) + (key == "isExecuting" ? (o.isExecuting() ? "=1" : "=0") : ""));
    });
    plain->start();
    plain->start();
    EXPECT_EQ(keys, (std::vector<std::string>{"isExecuting=1", "isExecuting=0", "isFinished"}));
}

// Hands its work to another thread's run loop and finishes from there, as network requests do.
struct Handed : Operation {
    explicit Handed(base::Thread &worker) : worker(worker) {}
    bool isConcurrent() const override { return true; }
    void start() override {
        startedOn = std::this_thread::get_id();
        setExecuting(true);
        auto self = std::static_pointer_cast<Handed>(shared_from_this());
        worker.runLoop().post([self] {
            if (self->hold)
                self->hold->pass();
            self->ranElsewhere = !base::Thread::isMain();
            self->setExecuting(false);
            self->setFinished(true);
        });
    }
    base::Thread &worker;
    // When set, the work waits on the worker until the gate opens.
    Gate *hold = nullptr;
    bool ranElsewhere = false;
    std::thread::id startedOn;
};

TEST(OperationQueue, AConcurrentOperationCountsUntilItReportsItsEnd) {
    Gate stop;
    std::thread::id workerId;
    auto worker = base::Thread::detach([&] {
        workerId = std::this_thread::get_id();
        base::RunLoop::current().addKeepAliveSource();
        base::RunLoop::current().run();
        stop.open();
    });
    OperationQueue queue(1);
    auto first = base::make<Handed>(*worker);
    auto second = base::make<Handed>(*worker);
    // However slow the machine, the first ends only once the second is waiting for it.
    Gate bothAdded;
    first->hold = &bothAdded;
    queue.add(first);
    queue.add(second);
    bothAdded.open();
    queue.waitUntilAllFinished();
    EXPECT_TRUE(first->ranElsewhere);
    EXPECT_TRUE(second->isFinished());
    // Starting only hands the work on, so no thread of the queue's own comes in between: the first
    // starts on the thread that added it, the second on the one where the first ended.
    EXPECT_EQ(first->startedOn, std::this_thread::get_id());
    EXPECT_EQ(second->startedOn, workerId);
    worker->runLoop().stop();
    stop.pass();
}

// A concurrent operation that ends inside its own start, as a cancelled one may.
struct EndsAtOnce : Operation {
    bool isConcurrent() const override { return true; }
    void start() override { setFinished(true); }
};

TEST(OperationQueue, OperationsEndingInsideTheirStartAreStartedInALoopNotByNesting) {
    // Each end makes room for the next; started from inside that end, five thousand would nest as
    // deep and overflow the stack.
    OperationQueue queue(1, true);
    std::vector<Ref<Operation>> all;
    for (int i = 0; i < 5000; ++i) {
        all.push_back(base::make<EndsAtOnce>());
        queue.add(all.back());
    }
    queue.setSuspended(false);
    queue.waitUntilAllFinished();
    EXPECT_TRUE(all.back()->isFinished());
    EXPECT_EQ(queue.count(), 0u);
}

} // namespace
