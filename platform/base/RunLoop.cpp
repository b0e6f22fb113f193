#include "base/RunLoop.h"

#include "base/Clock.h"
#include "base/Thread.h"
#include "base/Timer.h"
#include "base/VirtualClock.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <future>
#include <tuple>

namespace base {

namespace {

// Under a virtual clock no deadline is worth sleeping for; descriptors get this long at most.
constexpr double virtualPollWait = 0.01;
// poll() takes an int of milliseconds; longer waits are made of several passes.
constexpr double longestPoll = 3600;

thread_local Ref<RunLoop> threadLoop;

bool contains(const std::vector<std::string> &modes, std::string_view mode) {
    return std::find(modes.begin(), modes.end(), mode) != modes.end();
}

bool isCommon(std::string_view mode) {
    return mode == RunLoop::Default;
}

// Whether an item registered in `modes` runs while the loop runs in `mode`.
bool runsIn(const std::vector<std::string> &modes, std::string_view mode) {
    return contains(modes, mode) || (isCommon(mode) && contains(modes, RunLoop::Common));
}

void addModes(std::vector<std::string> &modes, std::vector<std::string> more) {
    for (auto &mode : more)
        if (!contains(modes, mode))
            modes.push_back(std::move(mode));
}

bool underVirtualClock() {
    return dynamic_cast<VirtualClock *>(&Clock::current()) != nullptr;
}

unsigned eventsFrom(short revents) {
    unsigned events = 0;
    if (revents & POLLIN)
        events |= FdSource::Read;
    if (revents & POLLOUT)
        events |= FdSource::Write;
    if (revents & (POLLERR | POLLNVAL))
        events |= FdSource::Error;
    if (revents & POLLHUP)
        events |= FdSource::HangUp;
    return events;
}

} // namespace

RunLoop::RunLoop() : wakeFd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

RunLoop::~RunLoop() {
    if (wakeFd_ >= 0)
        close(wakeFd_);
}

Ref<RunLoop> RunLoop::create() {
    return Ref<RunLoop>(new RunLoop);
}

RunLoop &RunLoop::main() {
    // Never destroyed: what it still holds at exit must not be torn down after the objects it uses.
    static RunLoop *loop = new RunLoop;
    return *loop;
}

RunLoop &RunLoop::current() {
    if (Thread::isMain())
        return main();
    if (!threadLoop)
        threadLoop = create();
    return *threadLoop;
}

void RunLoop::adopt(Ref<RunLoop> loop) {
    threadLoop = std::move(loop);
}

void RunLoop::run() {
    stopped_ = false;
    while (!stopped_ && hasWork(Default))
        pass(Default, longestPoll);
    stopped_ = false;
}

void RunLoop::stop() {
    stopped_ = true;
    wake();
}

bool RunLoop::runOnce(std::string_view mode, double maxWait) {
    if (underVirtualClock())
        return pass(mode, std::min(maxWait, virtualPollWait));
    Clock &clock = Clock::current();
    const double end = clock.monotonic() + maxWait;
    for (;;) {
        if (pass(mode, std::max(end - clock.monotonic(), 0.0)))
            return true;
        if (clock.monotonic() >= end)
            return false;
    }
}

bool RunLoop::pass(std::string_view mode, double maxWait) {
    dropInvalidTimers();
    // Whatever is scheduled from here on carries a later number and waits for the next pass.
    const uint64_t passSeq = nextSeq_;
    Clock &clock = Clock::current();
    double wait = std::min(maxWait, longestPoll);
    if (hasPosts(mode))
        wait = 0;
    else if (auto due = nextDeadline(mode))
        wait = std::min(wait, std::max(*due - clock.monotonic(), 0.0));

    auto ready = poll(mode, wait);
    bool handled = runPosts(mode);
    for (auto &[source, events] : ready) {
        const auto &target = source;
        auto it = std::find_if(sources_.begin(), sources_.end(),
                               [&](const SourceEntry &e) { return e.source == target; });
        // An earlier callback of this pass may have removed it.
        if (it == sources_.end() || !runsIn(it->modes, mode))
            continue;
        source->callback_(events);
        handled = true;
    }
    bool fired = fireDue(mode, clock.monotonic(), passSeq);
    return handled || fired;
}

std::vector<std::pair<Ref<FdSource>, unsigned>> RunLoop::poll(std::string_view mode, double wait) {
    std::vector<pollfd> fds{{wakeFd_, POLLIN, 0}};
    std::vector<Ref<FdSource>> watched;
    for (auto &e : sources_) {
        unsigned interest = e.source->interest_;
        if (!interest || !runsIn(e.modes, mode))
            continue;
        short events = 0;
        if (interest & FdSource::Read)
            events |= POLLIN;
        if (interest & FdSource::Write)
            events |= POLLOUT;
        fds.push_back({e.source->fd_, events, 0});
        watched.push_back(e.source);
    }
    std::vector<std::pair<Ref<FdSource>, unsigned>> ready;
    int count = 0;
    for (int i = 0; wait > 0 && i < idlePolls_ && count == 0; ++i)
        count = ::poll(fds.data(), fds.size(), 0);
    if (count == 0)
        count = ::poll(fds.data(), fds.size(), int(std::ceil(wait * 1000)));
    if (count <= 0)
        return ready;
    if (fds[0].revents & POLLIN) {
        uint64_t count;
        [[maybe_unused]] ssize_t n = read(wakeFd_, &count, sizeof count);
    }
    for (size_t i = 1; i < fds.size(); ++i)
        if (fds[i].revents)
            ready.emplace_back(watched[i - 1], eventsFrom(fds[i].revents));
    return ready;
}

bool RunLoop::runPosts(std::string_view mode) {
    wakePending_ = false;
    size_t count;
    {
        std::lock_guard guard(postLock_);
        count = posted_.size();
    }
    // One at a time, so that a nested pass run by one of them keeps the order of the others.
    bool ran = false;
    for (size_t i = 0; i < count; ++i) {
        std::function<void()> fn;
        {
            std::lock_guard guard(postLock_);
            auto it = std::find_if(posted_.begin(), posted_.end(),
                                   [&](const Posted &p) { return runsIn({p.mode}, mode); });
            if (it == posted_.end())
                break;
            fn = std::move(it->fn);
            posted_.erase(it);
        }
        fn();
        ran = true;
    }
    return ran;
}

bool RunLoop::fireDue(std::string_view mode, double now, uint64_t passSeq) {
    struct Due {
        double at;
        uint64_t seq;
        Ref<Timer> timer; // none for a deferred call
    };
    std::vector<Due> due;
    for (auto &[key, perform] : performs_) {
        if (key.first > now)
            break;
        if (key.second < passSeq && runsIn(perform.modes, mode))
            due.push_back({key.first, key.second, nullptr});
    }
    for (auto &e : timers_)
        if (e.seq < passSeq && e.timer->isValid() && e.timer->fireDate() <= now && runsIn(e.modes, mode))
            due.push_back({e.timer->fireDate(), e.seq, e.timer});
    std::sort(due.begin(), due.end(),
              [](const Due &a, const Due &b) { return std::tie(a.at, a.seq) < std::tie(b.at, b.seq); });

    // Each item is checked again before it runs: an earlier callback may have cancelled it, or run
    // it from a nested pass.
    for (auto &d : due) {
        if (d.timer) {
            if (d.timer->isValid() && d.timer->fireDate() <= now)
                d.timer->fireFromLoop(now);
            continue;
        }
        auto node = performs_.extract(PerformKey{d.at, d.seq});
        if (node)
            node.mapped().action();
    }
    return !due.empty();
}

bool RunLoop::hasWork(std::string_view mode) {
    dropInvalidTimers();
    auto sourceRuns = [&](const SourceEntry &e) { return runsIn(e.modes, mode); };
    auto timerRuns = [&](const TimerEntry &e) { return runsIn(e.modes, mode); };
    auto performRuns = [&](const auto &entry) { return runsIn(entry.second.modes, mode); };
    return std::any_of(sources_.begin(), sources_.end(), sourceRuns) ||
           std::any_of(timers_.begin(), timers_.end(), timerRuns) ||
           std::any_of(performs_.begin(), performs_.end(), performRuns) || runsIn(keepAlive_, mode) ||
           hasPosts(mode);
}

bool RunLoop::hasPosts(std::string_view mode) {
    std::lock_guard guard(postLock_);
    return std::any_of(posted_.begin(), posted_.end(),
                       [&](const Posted &p) { return runsIn({p.mode}, mode); });
}

void RunLoop::dropInvalidTimers() {
    std::erase_if(timers_, [](const TimerEntry &e) { return !e.timer->isValid(); });
}

void RunLoop::wake() {
    uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(wakeFd_, &one, sizeof one);
}

void RunLoop::addSource(Ref<FdSource> source, std::vector<std::string> modes) {
    auto it = std::find_if(sources_.begin(), sources_.end(),
                           [&](const SourceEntry &e) { return e.source == source; });
    if (it != sources_.end())
        addModes(it->modes, std::move(modes));
    else
        sources_.push_back({std::move(source), std::move(modes)});
}

void RunLoop::removeSource(const FdSource &source, std::string_view mode) {
    auto it = std::find_if(sources_.begin(), sources_.end(),
                           [&](const SourceEntry &e) { return e.source.get() == &source; });
    if (it == sources_.end())
        return;
    if (!mode.empty()) {
        std::erase(it->modes, mode);
        if (!it->modes.empty())
            return;
    }
    // Released once the list is consistent: the source's callback may own objects that come back.
    SourceEntry gone = std::move(*it);
    sources_.erase(it);
}

void RunLoop::addTimer(const Ref<Timer> &timer, std::string_view mode) {
    if (!timer || !timer->isValid())
        return;
    auto it =
        std::find_if(timers_.begin(), timers_.end(), [&](const TimerEntry &e) { return e.timer == timer; });
    if (it != timers_.end())
        addModes(it->modes, {std::string(mode)});
    else
        timers_.push_back({timer, {std::string(mode)}, nextSeq_++});
}

void RunLoop::performAfter(double delay, Action action, std::vector<std::string> modes) {
    Ref<Object> keep = action.target();
    if (action.hasTarget() && !keep)
        return;
    const double due = Clock::current().monotonic() + (delay > 0 ? delay : 0);
    performs_.emplace(PerformKey{due, nextSeq_++},
                      Perform{std::move(action), std::move(keep), std::move(modes)});
}

void RunLoop::cancelPerforms(const Object *target, std::string_view name) {
    // Released after the map is consistent: a target's destructor may cancel or schedule again.
    std::vector<Perform> gone;
    for (auto it = performs_.begin(); it != performs_.end();) {
        if (it->second.action.matches(target, name)) {
            gone.push_back(std::move(it->second));
            it = performs_.erase(it);
        } else {
            ++it;
        }
    }
}

void RunLoop::post(std::function<void()> fn) {
    post(std::move(fn), Common);
}

void RunLoop::post(std::function<void()> fn, std::string mode) {
    {
        std::lock_guard guard(postLock_);
        posted_.push_back({std::move(fn), std::move(mode)});
    }
    if (!wakePending_.exchange(true))
        wake();
}

void RunLoop::addKeepAliveSource(std::string_view mode) {
    addModes(keepAlive_, {std::string(mode)});
}

std::optional<double> RunLoop::nextDeadline(std::string_view mode) {
    std::optional<double> earliest;
    for (auto &[key, perform] : performs_)
        if (runsIn(perform.modes, mode)) {
            earliest = key.first;
            break;
        }
    for (auto &e : timers_)
        if (e.timer->isValid() && runsIn(e.modes, mode) && (!earliest || e.timer->fireDate() < *earliest))
            earliest = e.timer->fireDate();
    return earliest;
}

void performOnMain(std::function<void()> fn, bool waitUntilDone) {
    if (!waitUntilDone) {
        RunLoop::main().post(std::move(fn));
        return;
    }
    if (Thread::isMain()) {
        fn();
        return;
    }
    std::promise<void> done;
    auto finished = done.get_future();
    RunLoop::main().post([&] {
        fn();
        done.set_value();
    });
    finished.wait();
}

} // namespace base
