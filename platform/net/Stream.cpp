#include "Stream.h"

#include "Link.h"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>

namespace net {

bool Stream::open() {
    if (status_ != Status::NotOpen)
        return false;
    status_ = Status::Opening;
    if (!link_->open()) {
        status_ = Status::Error;
        return false;
    }
    return true;
}

void Stream::close() {
    if (status_ == Status::Closed)
        return;
    status_ = Status::Closed;
    client_ = nullptr;
    events_ = 0;
    link_->streamClosed();
}

StreamError Stream::error() const {
    return link_->error();
}

void Stream::setClient(unsigned events, Client client) {
    events_ = client ? events : 0;
    client_ = std::move(client);
}

void Stream::schedule(base::RunLoop &loop, std::string_view mode) {
    link_->schedule(loop, mode);
}

void Stream::unschedule(base::RunLoop &loop, std::string_view mode) {
    link_->unschedule(loop, mode);
}

int Stream::nativeSocket() const {
    return status_ == Status::Closed ? -1 : link_->fd();
}

void Stream::signal(Event event) {
    if (!(events_ & event) || !client_)
        return;
    auto keep = self();
    Client client = client_;
    client(event);
}

namespace {

bool wouldBlock(int code) {
    return code == EAGAIN || code == EWOULDBLOCK || code == EINTR;
}

} // namespace

bool ReadStream::fill() {
    char chunk[65536];
    ssize_t n = recv(link_->fd(), chunk, sizeof chunk, MSG_DONTWAIT);
    if (n > 0) {
        buffer_.erase(0, offset_);
        offset_ = 0;
        buffer_.append(chunk, size_t(n));
        drained_ = size_t(n) < sizeof chunk;
        return true;
    }
    if (n == 0)
        atEnd_ = true;
    else if (!wouldBlock(errno))
        failure_ = errno;
    drained_ = true;
    return false;
}

bool ReadStream::wantsReadable() const {
    return status_ == Status::Open && offset_ == buffer_.size();
}

bool ReadStream::hasBytesAvailable() {
    if (offset_ < buffer_.size())
        return true;
    return status_ == Status::Open && !atEnd_ && !failure_ && !drained_ && fill();
}

long ReadStream::read(uint8_t *bytes, size_t length) {
    if (status_ == Status::Error)
        return -1;
    if (!hasBytesAvailable())
        return 0;
    size_t n = std::min(length, buffer_.size() - offset_);
    std::memcpy(bytes, buffer_.data() + offset_, n);
    offset_ += n;
    if (offset_ == buffer_.size()) {
        buffer_.clear();
        offset_ = 0;
        link_->updateInterest();
    }
    return long(n);
}

void ReadStream::readable() {
    drained_ = false;
    if (!atEnd_ && !failure_)
        fill();
    if (offset_ < buffer_.size()) {
        link_->updateInterest();
        signal(HasBytesAvailable);
    } else if (failure_) {
        link_->setError({StreamError::Posix, failure_});
        status_ = Status::Error;
        link_->updateInterest();
        signal(ErrorOccurred);
    } else if (atEnd_) {
        status_ = Status::AtEnd;
        link_->updateInterest();
        signal(EndEncountered);
    }
}

bool WriteStream::canAcceptBytes() {
    if (status_ != Status::Open)
        return false;
    if (!full_)
        return true;
    waiting_ = true;
    link_->updateInterest();
    return false;
}

long WriteStream::write(const uint8_t *bytes, size_t length) {
    if (status_ != Status::Open)
        return -1;
    ssize_t n = send(link_->fd(), bytes, length, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0 && !wouldBlock(errno)) {
        fail(errno);
        return -1;
    }
    if (n < 0 || size_t(n) < length) {
        full_ = true;
        waiting_ = true;
        link_->updateInterest();
    }
    return n < 0 ? 0 : long(n);
}

void WriteStream::fail(int code) {
    link_->setError({StreamError::Posix, code});
    status_ = Status::Error;
    link_->updateInterest();
}

void WriteStream::writable() {
    full_ = false;
    waiting_ = false;
    link_->updateInterest();
    signal(CanAcceptBytes);
}

std::pair<base::Ref<ReadStream>, base::Ref<WriteStream>> pairToHost(std::string host, uint16_t port) {
    auto link = std::make_shared<Link>(std::move(host), port);
    auto read = base::make<ReadStream>(link);
    auto write = base::make<WriteStream>(link);
    link->attach(read, write);
    return {read, write};
}

} // namespace net
