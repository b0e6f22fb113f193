#include "Link.h"

#include "base/RunLoop.h"

#include <algorithm>
#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

namespace net {

Link::~Link() {
    closeSocket();
}

void Link::attach(const base::Ref<ReadStream> &read, const base::Ref<WriteStream> &write) {
    read_ = read;
    write_ = write;
}

bool Link::open() {
    if (!loop_)
        loop_ = &base::RunLoop::current();
    if (failed_)
        return false;
    if (connected_) {
        loop_->post([weak = weak_from_this()] {
            if (auto link = weak.lock())
                link->settle();
        });
        return true;
    }
    if (started_)
        return true;
    started_ = true;
    // What fails before a connect is under way (a name nothing can resolve, an address the system
    // cannot reach) fails the open itself, as the caller's own mistake rather than the network's.
    if (std::optional<Resolution> known = resolveAtOnce(host_, port_)) {
        error_ = connectTo(std::move(*known));
        failed_ = error_.isError();
        return !failed_;
    }
    resolve(host_, port_, *loop_, [weak = weak_from_this()](Resolution result) {
        if (auto link = weak.lock())
            link->resolved(std::move(result));
    });
    return true;
}

void Link::resolved(Resolution result) {
    if (StreamError error = connectTo(std::move(result)); error.isError())
        fail(error);
}

StreamError Link::connectTo(Resolution result) {
    if (result.error)
        return {StreamError::NetDb, result.error};
    addresses_ = std::move(result.addresses);
    next_ = 0;
    return tryNext();
}

StreamError Link::tryNext() {
    while (next_ < addresses_.size()) {
        const SocketAddress &addr = addresses_[next_++];
        fd_ = socket(addr.family(), SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd_ < 0) {
            lastErrno_ = errno;
            continue;
        }
        // Even a connect that completes at once is reported by the loop, never inside open().
        if (connect(fd_, addr.get(), addr.length()) == 0 || errno == EINPROGRESS) {
            connecting_ = true;
            watch();
            return {};
        }
        lastErrno_ = errno;
        closeSocket();
    }
    return {StreamError::Posix, lastErrno_};
}

void Link::watch() {
    source_ = base::make<base::FdSource>(fd_, 0, [weak = weak_from_this()](unsigned events) {
        if (auto link = weak.lock())
            link->onEvents(events);
    });
    for (const auto &mode : modes_)
        loop_->addSource(source_, {mode});
    updateInterest();
}

void Link::onEvents(unsigned events) {
    auto keep = shared_from_this();
    if (connecting_) {
        connectFinished();
        return;
    }
    auto read = read_.lock();
    auto write = write_.lock();
    const unsigned trouble = base::FdSource::Error | base::FdSource::HangUp;
    if (read && read->wantsReadable() && (events & (base::FdSource::Read | trouble)))
        read->readable();
    if (write && write->waiting_ && (events & (base::FdSource::Write | trouble)))
        write->writable();
}

void Link::connectFinished() {
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        error = errno;
    if (error == EINPROGRESS)
        return;
    connecting_ = false;
    if (error == 0) {
        connected();
        return;
    }
    lastErrno_ = error;
    closeSocket();
    if (StreamError failure = tryNext(); failure.isError())
        fail(failure);
}

void Link::connected() {
    connected_ = true;
    if (auto write = write_.lock())
        write->waiting_ = true;
    settle();
    updateInterest();
}

void Link::fail(StreamError error) {
    failed_ = true;
    error_ = error;
    settle();
}

void Link::settle() {
    auto keep = shared_from_this();
    const Status outcome = connected_ ? Status::Open : Status::Error;
    const Event event = connected_ ? OpenCompleted : ErrorOccurred;
    auto read = read_.lock();
    auto write = write_.lock();
    for (Stream *stream : {static_cast<Stream *>(read.get()), static_cast<Stream *>(write.get())}) {
        if (stream && stream->status_ == Status::Opening) {
            stream->status_ = outcome;
            stream->signal(event);
        }
    }
}

void Link::updateInterest() {
    if (!source_)
        return;
    unsigned interest = 0;
    if (connecting_) {
        interest = base::FdSource::Write;
    } else {
        auto read = read_.lock();
        auto write = write_.lock();
        if (read && read->wantsReadable())
            interest |= base::FdSource::Read;
        if (write && write->waiting_)
            interest |= base::FdSource::Write;
    }
    source_->setInterest(interest);
}

void Link::streamClosed() {
    auto read = read_.lock();
    auto write = write_.lock();
    auto done = [](const Stream *s) {
        return !s || s->status() == Status::Closed || s->status() == Status::NotOpen;
    };
    if (done(read.get()) && done(write.get()))
        closeSocket();
    else
        updateInterest();
}

void Link::schedule(base::RunLoop &loop, std::string_view mode) {
    loop_ = &loop;
    if (std::find(modes_.begin(), modes_.end(), mode) != modes_.end())
        return;
    modes_.emplace_back(mode);
    if (source_)
        loop.addSource(source_, {std::string(mode)});
}

void Link::unschedule(base::RunLoop &loop, std::string_view mode) {
    std::erase(modes_, mode);
    if (source_)
        loop.removeSource(*source_, mode);
}

void Link::closeSocket() {
    if (source_) {
        loop_->removeSource(*source_);
        source_.reset();
    }
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    connecting_ = false;
    connected_ = false;
}

} // namespace net
