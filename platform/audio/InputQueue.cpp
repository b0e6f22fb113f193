#include "audio/InputQueue.h"

#include "audio/InputDevice.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>

namespace audio {

namespace {

bool isCaptureFormat(const StreamFormat &f) {
    return f.formatId == LinearPCM && f.sampleRate == CaptureFormat.sampleRate &&
           f.channelsPerFrame == CaptureFormat.channelsPerFrame &&
           f.bitsPerChannel == CaptureFormat.bitsPerChannel;
}

} // namespace

Status InputQueue::create(const StreamFormat &format, Callback callback, base::Ref<InputQueue> &out) {
    out.reset();
    if (!isCaptureFormat(format))
        return UnsupportedFormat;
    auto source = InputDevice::current().makeSource();
    if (!source)
        return NoInputDevice;
    out = base::make<InputQueue>(std::move(source), std::move(callback));
    return NoError;
}

InputQueue::InputQueue(std::unique_ptr<CaptureSource> source, Callback callback)
    : source_(std::move(source)), callback_(std::move(callback)) {
    shared_->wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

InputQueue::~InputQueue() {
    dispose();
    ::close(shared_->wakeFd);
}

Status InputQueue::get(Property property, void *out, uint32_t *size) {
    if (disposed_)
        return Disposed;
    switch (property) {
    case Property::StreamDescription:
        return answerProperty(CaptureFormat, out, size);
    case Property::MaximumOutputPacketSize:
        return answerProperty(CaptureFormat.bytesPerPacket, out, size);
    default:
        return UnknownProperty;
    }
}

Status InputQueue::getSize(Property property, uint32_t *size) {
    if (disposed_)
        return Disposed;
    if (!size)
        return BadParameter;
    switch (property) {
    case Property::StreamDescription:
        *size = sizeof(StreamFormat);
        return NoError;
    case Property::MaximumOutputPacketSize:
        *size = sizeof(uint32_t);
        return NoError;
    default:
        return UnknownProperty;
    }
}

Status InputQueue::allocate(uint32_t bytes, Buffer *&out) {
    out = nullptr;
    if (disposed_)
        return Disposed;
    if (bytes == 0)
        return BadParameter;
    std::lock_guard guard(shared_->lock);
    buffers_.push_back(std::make_unique<Buffer>(bytes));
    out = buffers_.back().get();
    return NoError;
}

Status InputQueue::enqueue(Buffer *buffer) {
    std::lock_guard guard(shared_->lock);
    if (disposed_)
        return Disposed;
    auto owned = std::find_if(buffers_.begin(), buffers_.end(), [&](auto &b) { return b.get() == buffer; });
    if (owned == buffers_.end() || std::find(queued_.begin(), queued_.end(), buffer) != queued_.end())
        return BadParameter;
    buffer->byteSize = 0;
    queued_.push_back(buffer);
    return NoError;
}

Status InputQueue::start() {
    if (disposed_)
        return Disposed;
    if (running_)
        return NoError;
    if (Status status = source_->open())
        return status;
    {
        std::lock_guard guard(shared_->lock);
        shared_->ticks = 0;
        shared_->stopping = false;
    }
    running_ = true;
    if (source_->live()) {
        thread_ = std::thread([this] { runLive(); });
        return NoError;
    }
    thread_ = std::thread([this] { runClocked(); });
    std::weak_ptr<Shared> weak = shared_;
    timer_ = base::Timer::scheduled(
        BufferInterval, true, base::Action("captureTick", [weak](base::Object *) {
            if (auto shared = weak.lock()) {
                std::unique_lock guard(shared->lock);
                ++shared->ticks;
                shared->wake.notify_all();
                shared->handled.wait(guard, [&] { return shared->ticks == 0 || shared->stopping; });
            }
        }));
    return NoError;
}

Status InputQueue::stop(bool immediately) {
    if (disposed_)
        return Disposed;
    if (!running_)
        return NoError;
    if (std::this_thread::get_id() == thread_.get_id())
        return BadParameter;
    if (timer_)
        timer_->invalidate();
    timer_.reset();
    {
        std::lock_guard guard(shared_->lock);
        shared_->stopping = true;
        immediately_ = immediately;
        shared_->wake.notify_all();
        shared_->handled.notify_all();
    }
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(shared_->wakeFd, &one, sizeof one);
    thread_.join();
    uint64_t drained;
    n = ::read(shared_->wakeFd, &drained, sizeof drained);
    source_->close();
    running_ = false;
    return NoError;
}

Status InputQueue::dispose() {
    if (disposed_)
        return Disposed;
    stop(true);
    std::lock_guard guard(shared_->lock);
    disposed_ = true;
    queued_.clear();
    buffers_.clear();
    return NoError;
}

Buffer *InputQueue::takeQueued() {
    std::lock_guard guard(shared_->lock);
    if (queued_.empty())
        return nullptr;
    Buffer *buffer = queued_.front();
    queued_.pop_front();
    return buffer;
}

bool InputQueue::stopping() {
    std::lock_guard guard(shared_->lock);
    return shared_->stopping;
}

void InputQueue::deliver(Buffer &buffer) {
    const uint32_t packets = buffer.byteSize / CaptureFormat.bytesPerPacket;
    const double time = sampleTime_;
    sampleTime_ += packets;
    callback_(*this, buffer, time, packets);
}

void InputQueue::runClocked() {
    const uint32_t tickBytes =
        uint32_t(CaptureFormat.sampleRate * BufferInterval) * CaptureFormat.bytesPerFrame;
    std::vector<uint8_t> lost(tickBytes);
    for (;;) {
        {
            std::unique_lock guard(shared_->lock);
            shared_->wake.wait(guard, [&] { return shared_->ticks > 0 || shared_->stopping; });
            if (shared_->ticks == 0)
                return;
        }
        if (Buffer *buffer = takeQueued()) {
            buffer->byteSize = uint32_t(std::max(source_->read(buffer->data(), buffer->capacity()), 0L));
            deliver(*buffer);
        } else {
            source_->read(lost.data(), lost.size());
        }
        std::lock_guard guard(shared_->lock);
        --shared_->ticks;
        shared_->handled.notify_all();
    }
}

void InputQueue::runLive() {
    std::vector<uint8_t> lost(CaptureFormat.bytesPerFrame * 1024);
    Buffer *filling = nullptr;
    for (;;) {
        std::vector<pollfd> fds = source_->descriptors();
        fds.push_back({shared_->wakeFd, POLLIN, 0});
        ::poll(fds.data(), fds.size(), -1);
        if (stopping())
            break;
        for (;;) {
            if (!filling)
                filling = takeQueued();
            uint8_t *into = filling ? filling->data() + filling->byteSize : lost.data();
            const size_t room = filling ? filling->capacity() - filling->byteSize : lost.size();
            const long got = source_->read(into, room);
            if (got < 0)
                return;
            if (got == 0)
                break;
            if (filling && (filling->byteSize += uint32_t(got)) == filling->capacity()) {
                deliver(*filling);
                filling = nullptr;
            }
        }
    }
    if (filling && !immediately_ && filling->byteSize > 0) {
        deliver(*filling);
    } else if (filling) {
        std::lock_guard guard(shared_->lock);
        filling->byteSize = 0;
        queued_.push_front(filling);
    }
}

} // namespace audio
