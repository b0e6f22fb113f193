#pragma once

#include "audio/AudioTypes.h"

#include <functional>
#include <map>
#include <mutex>
#include <vector>

namespace base {
class RunLoop;
}

namespace audio {

// The process's audio session: which device records, and the events of the sound system. Its
// "input available" is whether the capture device (InputDevice) opens right now; the hardware
// rate and channel count are those the capture side delivers.
//
// Listeners run on the run loop given to initialize(). Route changes and interruptions have no
// source on this host but the test hooks routeChanged() and interrupt().
class Session {
public:
    using InterruptionListener = std::function<void(uint32_t state)>;
    // Route change: `value` points to a base::Value dictionary holding RouteChangeReasonKey.
    // Input availability: `value` points to a uint32_t.
    using PropertyListener = std::function<void(Property, const void *value, uint32_t size)>;
    static constexpr const char *RouteChangeReasonKey = "OutputDeviceDidChange_Reason";

    static Session &shared();

    // Initialising again replaces the interruption listener and forgets the property listeners
    // of the earlier owner.
    Status initialize(base::RunLoop *loop, InterruptionListener interruption);
    // Category and activation change nothing on this host; both answer NotInitialized before
    // initialize().
    Status setCategory(Category category);
    // AudioRouteChange and AudioInputAvailable; UnknownProperty for others.
    Status addListener(Property property, PropertyListener listener);
    // AudioInputAvailable (uint32_t 0 or 1), CurrentHardwareSampleRate (double) and
    // CurrentHardwareInputNumberChannels (uint32_t); the last two answer NoInputDevice without a
    // capture device. BadParameter when *size is too small.
    Status get(Property property, void *out, uint32_t *size);
    Status setActive(bool active);

    // Test hooks: the sound system reports a route change with `reason`, or an interruption state.
    // Delivered at once on the session's run loop thread, posted to it from others.
    void routeChanged(int32_t reason);
    void interrupt(uint32_t state);

private:
    Session() = default;
    void deliver(std::function<void()> call);

    std::mutex lock_;
    base::RunLoop *loop_ = nullptr;
    InterruptionListener interruption_;
    std::multimap<Property, PropertyListener> listeners_;
};

} // namespace audio
