#include "base/OperationQueue.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace base {

void Operation::start() {
    if (executing_ || finished_)
        return;
    if (isCancelled()) {
        setFinished(true);
        return;
    }
    setExecuting(true);
    main();
    setExecuting(false);
    setFinished(true);
}

void Operation::cancel() {
    if (!cancelled_.exchange(true))
        changed("isCancelled");
}

void Operation::onStateChange(StateObserver observer) {
    std::lock_guard guard(observersLock_);
    observers_.push_back(std::move(observer));
}

void Operation::addDependency(Ref<Operation> operation) {
    std::lock_guard guard(dependenciesLock_);
    dependencies_.push_back(std::move(operation));
}

bool Operation::isReady() const {
    std::lock_guard guard(dependenciesLock_);
    return std::all_of(dependencies_.begin(), dependencies_.end(),
                       [](const Ref<Operation> &o) { return o->isFinished(); });
}

void Operation::setExecuting(bool executing) {
    if (executing_.exchange(executing) != executing)
        changed("isExecuting");
}

void Operation::setFinished(bool finished) {
    if (finished_.exchange(finished) != finished)
        changed("isFinished");
}

void Operation::changed(std::string_view key) {
    // An observer may let go of the last other reference to this operation.
    auto self = weak_from_this().lock();
    std::vector<StateObserver> observers;
    {
        std::lock_guard guard(observersLock_);
        observers = observers_;
    }
    for (auto &observer : observers)
        observer(*this, key);
}

// Shared with the worker threads, so that a queue may go away while its operations still run. Each
// worker is kept a few seconds after its last operation for the next ones.
struct OperationQueue::State : std::enable_shared_from_this<State> {
    State(int maxConcurrent, bool suspended)
        : maxConcurrent(std::max(maxConcurrent, 1)), suspended(suspended) {}

    // The first waiting operation of the highest priority among those ready.
    std::deque<Ref<Operation>>::iterator nextReady() {
        auto best = waiting.end();
        for (auto it = waiting.begin(); it != waiting.end(); ++it)
            if ((*it)->isReady() &&
                (best == waiting.end() || (*it)->queuePriority() > (*best)->queuePriority()))
                best = it;
        return best;
    }

    void startReady() {
        size_t spawn = 0;
        {
            std::lock_guard guard(lock);
            while (!suspended && running.size() < size_t(maxConcurrent)) {
                auto next = nextReady();
                if (next == waiting.end())
                    break;
                running.push_back(*next);
                ((*next)->isConcurrent() ? startHere : startable).push_back(*next);
                waiting.erase(next);
            }
            // Every operation handed on needs an idle worker; the missing ones are made.
            for (; workers - busy < startable.size(); ++spawn)
                ++workers;
        }
        for (size_t i = 0; i < spawn; ++i)
            std::thread([self = shared_from_this()] { self->work(); }).detach();
        workAvailable.notify_all();
        startConcurrentHere();
    }

    // A concurrent operation's start only hands its work on: it runs on this thread instead of
    // waking a worker. One that ends at once makes room for the next, which this loop starts too,
    // rather than a nested call for each.
    void startConcurrentHere() {
        thread_local std::vector<const State *> draining;
        if (std::find(draining.begin(), draining.end(), this) != draining.end())
            return;
        draining.push_back(this);
        for (;;) {
            Ref<Operation> operation;
            {
                std::lock_guard guard(lock);
                if (startHere.empty())
                    break;
                operation = std::move(startHere.front());
                startHere.pop_front();
            }
            run(*operation);
        }
        std::erase(draining, this);
    }

    void run(Operation &operation) {
        operation.start();
        if (operation.isFinished())
            finished(operation);
    }

    // A worker runs the start of operations handed on, and ends after a while with nothing to do:
    // a burst of operations reuses threads instead of making one each.
    void work() {
        std::unique_lock guard(lock);
        for (;;) {
            if (!workAvailable.wait_for(guard, idleWorkerLifetime, [&] { return !startable.empty(); })) {
                --workers;
                return;
            }
            Ref<Operation> operation = std::move(startable.front());
            startable.pop_front();
            ++busy;
            guard.unlock();
            run(*operation);
            operation.reset();
            guard.lock();
            --busy;
        }
    }

    // Called for every report of the end; only the first one counts.
    void finished(Operation &operation) {
        Ref<Operation> done; // let go outside the lock
        {
            std::lock_guard guard(lock);
            auto same = [&](const Ref<Operation> &o) { return o.get() == &operation; };
            if (auto it = std::find_if(running.begin(), running.end(), same); it != running.end()) {
                done = std::move(*it);
                running.erase(it);
            } else if (auto w = std::find_if(waiting.begin(), waiting.end(), same); w != waiting.end()) {
                done = std::move(*w);
                waiting.erase(w);
            }
            if (waiting.empty() && running.empty())
                idle.notify_all();
        }
        startReady();
    }

    static constexpr std::chrono::seconds idleWorkerLifetime{5};

    mutable std::mutex lock;
    std::condition_variable idle, workAvailable;
    int maxConcurrent;
    bool suspended;
    std::deque<Ref<Operation>> waiting;
    std::vector<Ref<Operation>> running;
    // Operations whose start waits for a worker thread, and concurrent ones for the thread that
    // made room for them.
    std::deque<Ref<Operation>> startable, startHere;
    size_t workers = 0, busy = 0;
};

OperationQueue::OperationQueue(int maxConcurrent, bool suspended)
    : state_(std::make_shared<State>(maxConcurrent, suspended)) {}

OperationQueue &OperationQueue::shared() {
    // Never destroyed: its operations may still be running when the process exits.
    static OperationQueue *queue = new OperationQueue(4);
    return *queue;
}

void OperationQueue::setMaxConcurrent(int maxConcurrent) {
    {
        std::lock_guard guard(state_->lock);
        state_->maxConcurrent = std::max(maxConcurrent, 1);
    }
    state_->startReady();
}

void OperationQueue::setSuspended(bool suspended) {
    {
        std::lock_guard guard(state_->lock);
        state_->suspended = suspended;
    }
    state_->startReady();
}

bool OperationQueue::isSuspended() const {
    std::lock_guard guard(state_->lock);
    return state_->suspended;
}

int OperationQueue::maxConcurrent() const {
    std::lock_guard guard(state_->lock);
    return state_->maxConcurrent;
}

void OperationQueue::add(Ref<Operation> operation) {
    if (!operation || operation->isFinished())
        return;
    operation->onStateChange([weak = std::weak_ptr<State>(state_)](Operation &o, std::string_view key) {
        if (key == "isFinished" && o.isFinished())
            if (auto state = weak.lock())
                state->finished(o);
    });
    {
        std::lock_guard guard(state_->lock);
        state_->waiting.push_back(std::move(operation));
    }
    state_->startReady();
}

void OperationQueue::cancelAll() {
    std::vector<Ref<Operation>> all;
    {
        std::lock_guard guard(state_->lock);
        all.assign(state_->waiting.begin(), state_->waiting.end());
        all.insert(all.end(), state_->running.begin(), state_->running.end());
    }
    for (auto &operation : all)
        operation->cancel();
}

size_t OperationQueue::count() const {
    std::lock_guard guard(state_->lock);
    return state_->waiting.size() + state_->running.size();
}

void OperationQueue::waitUntilAllFinished() {
    std::unique_lock guard(state_->lock);
    state_->idle.wait(guard, [&] { return state_->waiting.empty() && state_->running.empty(); });
}

} // namespace base
