#pragma once

#include "base/Object.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

namespace base {

// A unit of work for an OperationQueue. The plain start() runs main() on the calling thread and is
// finished when main() returns; a concurrent operation overrides start() to hand its work on, and
// reports the end itself with setFinished(). Each change of "isExecuting", "isFinished" or
// "isCancelled" is reported to the state observers, on the thread that made it.
class Operation : public Object {
public:
    using StateObserver = std::function<void(Operation &, std::string_view key)>;

    virtual void start();
    virtual void main() {}
    virtual bool isConcurrent() const { return false; }
    // Marks the operation cancelled; what that means is up to the operation. One not yet started
    // finishes without running main().
    virtual void cancel();
    virtual bool isCancelled() const { return cancelled_; }
    bool isExecuting() const { return executing_; }
    bool isFinished() const { return finished_; }

    void onStateChange(StateObserver observer);

    // An operation waits in its queue until every operation it depends on has finished.
    void addDependency(Ref<Operation> operation);
    bool isReady() const;
    // Among ready operations a queue starts the highest priority first (0 normal).
    int queuePriority() const { return queuePriority_; }
    void setQueuePriority(int priority) { queuePriority_ = priority; }

protected:
    void setExecuting(bool executing);
    void setFinished(bool finished);

private:
    void changed(std::string_view key);

    std::atomic<bool> cancelled_{false}, executing_{false}, finished_{false};
    std::atomic<int> queuePriority_{0};
    mutable std::mutex dependenciesLock_;
    std::vector<Ref<Operation>> dependencies_;
    std::mutex observersLock_;
    std::vector<StateObserver> observers_;
};

// Runs operations on threads of their own, at most maxConcurrent at once, in the order added
// (higher priority first among those ready). A concurrent operation's start only hands its work
// on, so it is called on the thread that adds it or ends the one before it, saving a thread
// switch. An operation counts until it is finished. A suspended queue starts nothing new until it
// is resumed.
class OperationQueue {
public:
    explicit OperationQueue(int maxConcurrent = 4, bool suspended = false);
    virtual ~OperationQueue() = default;
    // The queue shared by the whole process, four at once.
    static OperationQueue &shared();

    void setMaxConcurrent(int maxConcurrent);
    int maxConcurrent() const;
    void setSuspended(bool suspended);
    bool isSuspended() const;
    virtual void add(Ref<Operation> operation);
    // Cancels every operation waiting or running.
    virtual void cancelAll();
    // Operations added and not yet finished.
    size_t count() const;
    void waitUntilAllFinished();

private:
    struct State;
    std::shared_ptr<State> state_;
};

} // namespace base
