#pragma once

#include "base/Action.h"
#include "base/Object.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace base {

class Timer;

// A file descriptor a run loop watches. The callback runs on the loop's thread with the events seen
// (Read, Write, Error, HangUp); Error and HangUp arrive whatever the interest. A source with no
// interest is not watched.
class FdSource {
public:
    enum Event : unsigned { Read = 1, Write = 2, Error = 4, HangUp = 8 };
    using Callback = std::function<void(unsigned events)>;

    FdSource(int fd, unsigned interest, Callback callback)
        : fd_(fd), interest_(interest), callback_(std::move(callback)) {}

    int fd() const { return fd_; }
    unsigned interest() const { return interest_; }
    void setInterest(unsigned interest) { interest_ = interest; }

private:
    friend class RunLoop;
    int fd_;
    unsigned interest_;
    Callback callback_;
};

// One per thread. Polls file descriptors, fires timers and runs deferred calls and functions posted
// from other threads, in named modes. An item registered in "common" runs in the default mode.
//
// Everything except post(), stop() and main() belongs to the loop's own thread. A pass of the loop
// handles what was pending when the pass began: a call deferred during a pass runs on a later pass,
// never inside its caller. Due times come from Clock::current().monotonic(); under a VirtualClock
// the loop never sleeps for a deadline (the test advances the clock instead).
class RunLoop {
public:
    static constexpr const char *Default = "default";
    static constexpr const char *Common = "common";

    // The main thread's loop (reachable from any thread) and the calling thread's loop.
    static RunLoop &main();
    static RunLoop &current();

    RunLoop(const RunLoop &) = delete;
    RunLoop &operator=(const RunLoop &) = delete;
    ~RunLoop();

    // Runs the default mode until stop(), or until nothing in that mode could wake it any more:
    // no source, timer, deferred call, keep-alive source or posted function.
    void run();
    // Makes run() return after the current pass; callable from any thread.
    void stop();
    // Runs passes in `mode` until one has handled a source, timer, deferred call or posted function
    // (true), or until `maxWait` seconds have gone by (false). Under a VirtualClock it makes one
    // pass and waits for descriptors only briefly.
    bool runOnce(std::string_view mode = Default, double maxWait = 1e10);

    // Watches `source` in `modes` (added to any modes it already has). The loop keeps the source
    // alive while registered, also during its own callback.
    void addSource(Ref<FdSource> source, std::vector<std::string> modes = {Default});
    // Stops watching in `mode`, or in every mode when `mode` is empty.
    void removeSource(const FdSource &source, std::string_view mode = {});

    // Schedules a valid timer in `mode` (added to any modes it already has).
    void addTimer(const Ref<Timer> &timer, std::string_view mode = Default);

    // Runs `action` after `delay` seconds in one of `modes`; a delay of 0 means the next pass.
    // Calls run in the order of their due times, and in the order made when due together.
    // The action's target stays alive until the call has run or was cancelled.
    void performAfter(double delay, Action action, std::vector<std::string> modes = {Default});
    // Cancels the pending calls of `target`, only those named `name` when it is not empty.
    void cancelPerforms(const Object *target, std::string_view name = {});

    // Runs `fn` on this loop's thread on a coming pass in a common mode; callable from any thread.
    void post(std::function<void()> fn);
    // The same for a pass in `mode` (a synchronous HTTP run waits in a mode of its own).
    void post(std::function<void()> fn, std::string mode);

    // A source that never fires, so that run() does not return for want of sources.
    void addKeepAliveSource(std::string_view mode = Default);
    // Before a pass sleeps, it looks for work this many more times without blocking. For a loop
    // whose work comes in bursts: waking a sleeping thread costs both sides more than the looking.
    void setIdlePolls(int polls) { idlePolls_ = polls; }

    // The earliest due time of a timer or deferred call in `mode`.
    std::optional<double> nextDeadline(std::string_view mode = Default);

private:
    friend class Thread;
    struct SourceEntry {
        Ref<FdSource> source;
        std::vector<std::string> modes;
    };
    struct TimerEntry {
        Ref<Timer> timer;
        std::vector<std::string> modes;
        uint64_t seq;
    };
    struct Perform {
        Action action;
        Ref<Object> keep;
        std::vector<std::string> modes;
    };
    using PerformKey = std::pair<double, uint64_t>;

    RunLoop();
    static Ref<RunLoop> create();
    // Makes `loop` the calling thread's loop.
    static void adopt(Ref<RunLoop> loop);

    bool pass(std::string_view mode, double maxWait);
    std::vector<std::pair<Ref<FdSource>, unsigned>> poll(std::string_view mode, double wait);
    bool runPosts(std::string_view mode);
    bool fireDue(std::string_view mode, double now, uint64_t passSeq);
    bool hasWork(std::string_view mode);
    bool hasPosts(std::string_view mode);
    void dropInvalidTimers();
    void wake();

    int wakeFd_ = -1;
    // Set by the first post since the loop last took its posts: the ones after it need not wake the
    // loop again.
    std::atomic<bool> wakePending_{false};
    int idlePolls_ = 0;
    std::atomic<bool> stopped_{false};
    uint64_t nextSeq_ = 0;
    std::vector<SourceEntry> sources_;
    std::vector<TimerEntry> timers_;
    std::map<PerformKey, Perform> performs_;
    std::vector<std::string> keepAlive_;
    std::mutex postLock_;
    struct Posted {
        std::function<void()> fn;
        std::string mode;
    };
    std::deque<Posted> posted_;
};

// Runs `fn` on the main thread. With `waitUntilDone` it returns once `fn` has run, and on the main
// thread itself it runs `fn` at once; without, `fn` runs on a coming pass of the main loop.
void performOnMain(std::function<void()> fn, bool waitUntilDone);

} // namespace base
