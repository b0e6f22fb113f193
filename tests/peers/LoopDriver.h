#pragma once

#include "base/VirtualClock.h"

#include <functional>
#include <vector>

namespace peers {

// Drives the calling thread's run loop under a virtual clock against loopback peers that serve from
// threads of their own, with no real pause. It runs the loop until neither the loop nor any watched
// peer has anything left to do (waiting for the peers' bytes on the loop's own poll), and moves the
// clock only from one due timer or deferred call to the next, running until idle at each: a reply
// is handled at the virtual time it arrives, and a time-out fires only when nothing else can happen
// first. Tests of the quote connection and of what is built on it drive their client with it.
class LoopDriver {
public:
    // A peer's answer to whether it has anything left to do before its client acts
    // (FrameServer::quiet).
    using QuietCheck = std::function<bool()>;
    // Real seconds a run until idle may take before the driver gives up on it: a peer that never
    // quiets, or a loop that always has work, is a fault of the test.
    static constexpr double RealLimit = 10.0;

    explicit LoopDriver(base::VirtualClock &clock) : clock_(clock) {}

    void watch(QuietCheck quiet) { peers_.push_back(std::move(quiet)); }

    // Runs the loop without moving the clock until all is idle, or until `done` answers true.
    // Answers whether `done` was met (with no `done`: whether idle was reached).
    bool runUntilIdle(const std::function<bool()> &done = {});
    // Moves the clock on by `seconds`, stopping at each due time on the way to run until idle.
    void advance(double seconds);
    // Runs until idle and moves on to the next due time while `done` answers false, for at most
    // `seconds` of clock time. Answers whether `done` was met.
    bool runUntil(const std::function<bool()> &done, double seconds);

    // Whether a run until idle ever gave up after the real limit.
    bool stalled() const { return stalled_; }

private:
    bool peersQuiet() const;

    base::VirtualClock &clock_;
    std::vector<QuietCheck> peers_;
    bool stalled_ = false;
};

} // namespace peers
