#include "audio/Session.h"

#include "audio/InputDevice.h"

#include "base/RunLoop.h"
#include "base/Value.h"

namespace audio {

Session &Session::shared() {
    static Session session;
    return session;
}

Status Session::initialize(base::RunLoop *loop, InterruptionListener interruption) {
    if (!loop)
        return BadParameter;
    std::lock_guard guard(lock_);
    loop_ = loop;
    interruption_ = std::move(interruption);
    listeners_.clear();
    return NoError;
}

Status Session::setCategory(Category) {
    std::lock_guard guard(lock_);
    return loop_ ? NoError : NotInitialized;
}

Status Session::addListener(Property property, PropertyListener listener) {
    std::lock_guard guard(lock_);
    if (!loop_)
        return NotInitialized;
    if (property != Property::AudioRouteChange && property != Property::AudioInputAvailable)
        return UnknownProperty;
    listeners_.emplace(property, std::move(listener));
    return NoError;
}

Status Session::get(Property property, void *out, uint32_t *size) {
    {
        std::lock_guard guard(lock_);
        if (!loop_)
            return NotInitialized;
    }
    switch (property) {
    case Property::AudioInputAvailable:
        return answerProperty(uint32_t(InputDevice::current().available()), out, size);
    case Property::CurrentHardwareSampleRate:
        return InputDevice::current().available() ? answerProperty(CaptureFormat.sampleRate, out, size)
                                                  : NoInputDevice;
    case Property::CurrentHardwareInputNumberChannels:
        return InputDevice::current().available() ? answerProperty(CaptureFormat.channelsPerFrame, out, size)
                                                  : NoInputDevice;
    default:
        return UnknownProperty;
    }
}

Status Session::setActive(bool) {
    std::lock_guard guard(lock_);
    return loop_ ? NoError : NotInitialized;
}

void Session::deliver(std::function<void()> call) {
    base::RunLoop *loop;
    {
        std::lock_guard guard(lock_);
        loop = loop_;
    }
    if (!loop)
        return;
    if (&base::RunLoop::current() == loop)
        call();
    else
        loop->post(std::move(call));
}

void Session::routeChanged(int32_t reason) {
    deliver([this, reason] {
        std::vector<PropertyListener> listeners;
        {
            std::lock_guard guard(lock_);
            for (auto [at, end] = listeners_.equal_range(Property::AudioRouteChange); at != end; ++at)
                listeners.push_back(at->second);
        }
        const base::Value change = base::Dict{{RouteChangeReasonKey, reason}};
        for (auto &listener : listeners)
            listener(Property::AudioRouteChange, &change, sizeof change);
    });
}

void Session::interrupt(uint32_t state) {
    deliver([this, state] {
        InterruptionListener listener;
        {
            std::lock_guard guard(lock_);
            listener = interruption_;
        }
        if (listener)
            listener(state);
    });
}

} // namespace audio
