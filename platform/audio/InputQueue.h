#pragma once

#include "audio/AudioTypes.h"

#include "base/Object.h"
#include "base/Timer.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace audio {

class CaptureSource;

// One block of captured sound, owned by its queue.
class Buffer {
public:
    explicit Buffer(uint32_t capacity) : bytes_(capacity) {}
    uint32_t capacity() const { return uint32_t(bytes_.size()); }
    uint8_t *data() { return bytes_.data(); }
    const uint8_t *data() const { return bytes_.data(); }
    // How many bytes of sound the buffer holds when it reaches the callback.
    uint32_t byteSize = 0;

private:
    std::vector<uint8_t> bytes_;
};

// Records from the capture device (InputDevice) into buffers that its owner allocates and enqueues.
// Each filled buffer goes to the callback on the queue's own capture thread, which runs from start()
// to stop(); the callback enqueues it again to keep it in use. Sound that arrives while no buffer
// is enqueued is lost.
//
// Clocked devices (the null device and a WAVE file) deliver one buffer per BufferInterval seconds of
// base::Clock, ticked by a timer on the run loop of the thread that called start(): under the
// virtual clock, advancing the clock is what records. Sound already captured when stop() is called
// is still handed over before it returns.
//
// Only 16 kHz 16-bit signed interleaved two-channel linear PCM is delivered. Every call but the
// callback's enqueue() belongs to the owner's thread; the callback must not stop or dispose.
class InputQueue : public base::Object {
public:
    using Callback = std::function<void(InputQueue &, Buffer &, double sampleTime, uint32_t packets)>;
    static constexpr double BufferInterval = 0.5;

    // UnsupportedFormat for any other format, NoInputDevice when the device does not open; `out`
    // is then empty and no thread has been started.
    static Status create(const StreamFormat &format, Callback callback, base::Ref<InputQueue> &out);
    InputQueue(std::unique_ptr<CaptureSource> source, Callback callback);
    ~InputQueue() override;

    // StreamDescription (a StreamFormat) and MaximumOutputPacketSize (uint32_t); linear PCM has no
    // MagicCookie (UnknownProperty). BadParameter when *size is too small; *size is set to the
    // value's size.
    Status get(Property property, void *out, uint32_t *size);
    Status getSize(Property property, uint32_t *size);
    Status allocate(uint32_t bytes, Buffer *&out);
    // Thread-safe; BadParameter for a buffer of another queue.
    Status enqueue(Buffer *buffer);
    // Opens the device and starts the capture thread; 0 when already running; the device's
    // status, and no thread, when it does not open.
    Status start();
    // Returns only when the capture thread has ended: no callback runs after it. A live device
    // drops the buffer being filled when `immediately`, and hands it over partly filled otherwise.
    Status stop(bool immediately);
    // Stops and frees the buffers; every later call answers Disposed.
    Status dispose();

private:
    struct Shared {
        std::mutex lock;
        std::condition_variable wake;
        // A clocked source's tick is handed over and waited for: its buffer is delivered before the
        // clock moves on, so that a run on a virtual clock records the same whatever the load.
        std::condition_variable handled;
        int ticks = 0;
        bool stopping = false;
        int wakeFd = -1;
    };

    void runClocked();
    void runLive();
    Buffer *takeQueued();
    void deliver(Buffer &buffer);
    bool stopping();

    std::unique_ptr<CaptureSource> source_;
    Callback callback_;
    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    std::vector<std::unique_ptr<Buffer>> buffers_;
    std::deque<Buffer *> queued_;
    std::thread thread_;
    base::Ref<base::Timer> timer_;
    bool immediately_ = true;
    bool running_ = false, disposed_ = false;
    double sampleTime_ = 0;
};

} // namespace audio
