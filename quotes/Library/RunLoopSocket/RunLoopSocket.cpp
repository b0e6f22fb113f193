#include "RunLoopSocket.h"

#include "base/RunLoop.h"
#include "base/Timer.h"

#include <algorithm>
#include <cerrno>

namespace {

bool isOpenish(net::Status status) {
    return status == net::Status::Open || status == net::Status::Reading || status == net::Status::Writing ||
           status == net::Status::Error;
}

} // namespace

RunLoopSocket::~RunLoopSocket() {
    shutDown(false);
    base::RunLoop::current().cancelPerforms(steps_.get());
}

base::Ref<base::Error> RunLoopSocket::makeError(ErrorCode code) {
    const char *text = "General CFSocket error";
    switch (code) {
    case CFSocketError:
        break;
    case CanceledError:
        text = "Connection canceled";
        break;
    case ConnectTimeoutError:
        text = "Attempt to connect to host timed out";
        break;
    case ReadMaxedOutError:
        text = "Read operation reached set maximum length";
        break;
    case ReadTimeoutError:
        text = "Read operation timed out";
        break;
    case WriteTimeoutError:
        text = "Write operation timed out";
        break;
    }
    return base::Error::make(ErrorDomain, code, text);
}

// Connecting.

bool RunLoopSocket::connectToHost(const std::string &host, uint16_t port, base::Ref<base::Error> *error) {
    return connectToHost(host, port, DefaultConnectTimeout, error);
}

bool RunLoopSocket::connectToHost(const std::string &host, uint16_t port, double timeout,
                                  base::Ref<base::Error> *error) {
    if (delegate_.expired())
        throw RunLoopSocketException("Attempting to connect without a delegate. Set a delegate first.");
    if (theSocket_)
        throw RunLoopSocketException(
            "Attempting to connect while connected or accepting connections. Disconnect first.");
    if (theReadStream_) {
        // A connect is already under way: starting another would orphan its streams.
        if (error)
            *error = net::toError({net::StreamError::Posix, EALREADY});
        return false;
    }
    auto keep = self<RunLoopSocket>();
    attachStreams(host, port);

    base::Ref<base::Error> failure;
    if (auto delegate = delegate_.lock(); delegate && !delegate->onSocketWillConnect(*this).valueOr(true))
        failure = makeError(CanceledError);
    else if (!theReadStream_->open() || !theWriteStream_->open())
        failure = openError();
    if (failure) {
        close();
        if (error)
            *error = failure;
        return false;
    }
    if (timeout >= 0)
        theConnectTimer_ = startTimer(timeout, &RunLoopSocket::connectTimedOut);
    flags_ |= DidStartConnect;
    return true;
}

base::Ref<base::Error> RunLoopSocket::openError() const {
    for (net::Stream *stream : {static_cast<net::Stream *>(theReadStream_.get()),
                                static_cast<net::Stream *>(theWriteStream_.get())})
        if (auto error = net::toError(stream->error()))
            return error;
    return makeError(CFSocketError);
}

void RunLoopSocket::attachStreams(const std::string &host, uint16_t port) {
    std::tie(theReadStream_, theWriteStream_) = net::pairToHost(host, port);
    theRunLoop_ = &base::RunLoop::current();
    auto weak = weakSelf<RunLoopSocket>();
    theReadStream_->setClient(net::OpenCompleted | net::HasBytesAvailable | net::ErrorOccurred |
                                  net::EndEncountered,
                              [weak](net::Event event) {
                                  if (auto socket = weak.lock())
                                      socket->readStreamEvent(event);
                              });
    theWriteStream_->setClient(net::OpenCompleted | net::CanAcceptBytes | net::ErrorOccurred |
                                   net::EndEncountered,
                               [weak](net::Event event) {
                                   if (auto socket = weak.lock())
                                       socket->writeStreamEvent(event);
                               });
    for (const auto &mode : theRunLoopModes_) {
        theReadStream_->schedule(*theRunLoop_, mode);
        theWriteStream_->schedule(*theRunLoop_, mode);
    }
}

// Stream events. Each handler runs with the socket held by the stream client's lock.

void RunLoopSocket::readStreamEvent(net::Event event) {
    switch (event) {
    case net::OpenCompleted:
        openCompleted(DidCompleteOpenForRead);
        break;
    case net::HasBytesAvailable:
        doBytesAvailable();
        break;
    default:
        closeWithError(net::toError(theReadStream_->error()));
        break;
    }
}

void RunLoopSocket::writeStreamEvent(net::Event event) {
    switch (event) {
    case net::OpenCompleted:
        openCompleted(DidCompleteOpenForWrite);
        break;
    case net::CanAcceptBytes:
        doSendBytes();
        break;
    default:
        closeWithError(net::toError(theWriteStream_->error()));
        break;
    }
}

void RunLoopSocket::openCompleted(Flag flag) {
    flags_ |= flag;
    if ((flags_ & DidCompleteOpenForRead) && (flags_ & DidCompleteOpenForWrite))
        didOpen();
}

void RunLoopSocket::didOpen() {
    auto socket = net::Socket::wrap(theReadStream_->nativeSocket());
    auto peer = socket->peer();
    if (!socket->isValid() || !peer) {
        // The peer may already be gone; that is a failed connect, not a reason to stop the program.
        auto error = net::toError(theReadStream_->error());
        closeWithError(error ? error : makeError(CFSocketError));
        return;
    }
    theSocket_ = socket;
    if (theConnectTimer_)
        theConnectTimer_->invalidate();
    theConnectTimer_.reset();
    if (auto delegate = delegate_.lock())
        delegate->onSocket(*this, peer->numericHost(), peer->port());
    // Reads and writes queued before the connection opened have waited for this.
    maybeDequeueRead();
    maybeDequeueWrite();
}

// Deferred steps run on a later pass, in the socket's modes; like the timers, they do not keep the
// socket alive.

void RunLoopSocket::performLater(const char *name, void (RunLoopSocket::*step)()) {
    base::RunLoop &loop = theRunLoop_ ? *theRunLoop_ : base::RunLoop::current();
    loop.performAfter(0,
                      base::Action(steps_, name,
                                   [weak = weakSelf<RunLoopSocket>(), step](base::Object *) {
                                       if (auto socket = weak.lock())
                                           (socket.get()->*step)();
                                   }),
                      theRunLoopModes_);
}

base::Ref<base::Timer> RunLoopSocket::startTimer(double seconds, void (RunLoopSocket::*expired)()) {
    // The timer does not keep the socket alive: a socket its owner dropped simply goes away.
    auto timer = base::Timer::make(
        seconds, false, base::Action("timeout", [weak = weakSelf<RunLoopSocket>(), expired](base::Object *) {
            if (auto socket = weak.lock())
                (socket.get()->*expired)();
        }));
    base::RunLoop &loop = theRunLoop_ ? *theRunLoop_ : base::RunLoop::current();
    for (const auto &mode : theRunLoopModes_)
        loop.addTimer(timer, mode);
    return timer;
}

// Reading.

void RunLoopSocket::readDataWithTimeout(double timeout, int32_t tag) {
    theReadQueue_.push_back({base::Data(), 0, timeout, tag});
    performLater("maybeDequeueRead", &RunLoopSocket::maybeDequeueRead);
}

void RunLoopSocket::maybeDequeueRead() {
    if (theCurrentRead_ || !theReadStream_ || theReadQueue_.empty())
        return;
    theCurrentRead_ = std::move(theReadQueue_.front());
    theReadQueue_.pop_front();
    if (theCurrentRead_->timeout >= 0)
        theReadTimer_ = startTimer(theCurrentRead_->timeout, &RunLoopSocket::readTimedOut);
    doBytesAvailable();
}

void RunLoopSocket::doBytesAvailable() {
    if (!theCurrentRead_ || !theReadStream_)
        return;
    AsyncReadPacket &packet = *theCurrentRead_;
    bool failed = false;
    while (!partialReadBuffer_.empty() || theReadStream_->hasBytesAvailable()) {
        packet.buffer.resize(packet.bytesDone + ReadChunk);
        uint8_t *into = packet.buffer.mutableBytes() + packet.bytesDone;
        long got;
        if (!partialReadBuffer_.empty()) {
            got = long(std::min(ReadChunk, partialReadBuffer_.length()));
            std::copy_n(partialReadBuffer_.bytes(), got, into);
            partialReadBuffer_.removeFront(size_t(got));
        } else {
            got = theReadStream_->read(into, ReadChunk);
        }
        if (got < 0) {
            failed = true;
            break;
        }
        if (got == 0)
            break;
        packet.bytesDone += size_t(got);
    }
    auto stream = theReadStream_;
    if (packet.bytesDone > 0)
        completeCurrentRead();
    else
        packet.buffer.resize(0);
    if (failed && theReadStream_ == stream)
        closeWithError(net::toError(stream->error()));
}

void RunLoopSocket::completeCurrentRead() {
    theCurrentRead_->buffer.resize(theCurrentRead_->bytesDone);
    base::Data data = std::move(theCurrentRead_->buffer);
    const int32_t tag = theCurrentRead_->tag;
    if (auto delegate = delegate_.lock())
        delegate->onSocket(*this, data, tag);
    endCurrentRead();
    performLater("maybeDequeueRead", &RunLoopSocket::maybeDequeueRead);
}

void RunLoopSocket::endCurrentRead() {
    if (theReadTimer_)
        theReadTimer_->invalidate();
    theReadTimer_.reset();
    theCurrentRead_.reset();
}

void RunLoopSocket::readTimedOut() {
    endCurrentRead();
    closeWithError(makeError(ReadTimeoutError));
}

// Writing.

void RunLoopSocket::writeData(base::Data data, double timeout, int32_t tag) {
    if (data.empty())
        return;
    theWriteQueue_.push_back({std::move(data), 0, tag, timeout});
    performLater("maybeDequeueWrite", &RunLoopSocket::maybeDequeueWrite);
}

void RunLoopSocket::maybeDequeueWrite() {
    if (theCurrentWrite_ || !theWriteStream_ || theWriteQueue_.empty())
        return;
    theCurrentWrite_ = std::move(theWriteQueue_.front());
    theWriteQueue_.pop_front();
    if (theCurrentWrite_->timeout >= 0)
        theWriteTimer_ = startTimer(theCurrentWrite_->timeout, &RunLoopSocket::writeTimedOut);
    doSendBytes();
}

void RunLoopSocket::doSendBytes() {
    if (!theCurrentWrite_ || !theWriteStream_)
        return;
    AsyncWritePacket &packet = *theCurrentWrite_;
    const size_t length = packet.buffer.length();
    while (packet.bytesDone < length && theWriteStream_->canAcceptBytes()) {
        const size_t piece = std::min(length - packet.bytesDone, WriteChunk);
        long taken = theWriteStream_->write(packet.buffer.bytes() + packet.bytesDone, piece);
        if (taken < 0) {
            closeWithError(net::toError(theWriteStream_->error()));
            return;
        }
        if (taken == 0)
            break;
        packet.bytesDone += size_t(taken);
    }
    if (packet.bytesDone == length)
        completeCurrentWrite();
}

void RunLoopSocket::completeCurrentWrite() {
    const int32_t tag = theCurrentWrite_->tag;
    if (auto delegate = delegate_.lock())
        delegate->onSocket(*this, tag);
    endCurrentWrite();
    performLater("maybeDequeueWrite", &RunLoopSocket::maybeDequeueWrite);
}

void RunLoopSocket::endCurrentWrite() {
    if (theWriteTimer_)
        theWriteTimer_->invalidate();
    theWriteTimer_.reset();
    theCurrentWrite_.reset();
}

void RunLoopSocket::writeTimedOut() {
    endCurrentWrite();
    closeWithError(makeError(WriteTimeoutError));
}

void RunLoopSocket::connectTimedOut() {
    closeWithError(makeError(ConnectTimeoutError));
}

// Closing.

void RunLoopSocket::closeWithError(const base::Ref<base::Error> &error) {
    auto keep = self<RunLoopSocket>();
    flags_ |= ClosingWithError;
    if (flags_ & DidStartConnect) {
        if (theCurrentRead_) {
            const AsyncReadPacket &packet = *theCurrentRead_;
            partialReadBuffer_.replace(0, 0, packet.buffer.bytes(), packet.bytesDone);
        }
        emptyQueues();
        reportingError_ = true;
        if (auto delegate = delegate_.lock())
            delegate->onSocket(*this, error);
        reportingError_ = false;
    }
    close();
}

std::optional<base::Data> RunLoopSocket::unreadData() {
    if (!reportingError_)
        return std::nullopt;
    uint8_t chunk[ReadChunk];
    while (theReadStream_ && theReadStream_->hasBytesAvailable()) {
        long got = theReadStream_->read(chunk, sizeof chunk);
        if (got <= 0)
            break;
        partialReadBuffer_.append(chunk, size_t(got));
    }
    return partialReadBuffer_;
}

void RunLoopSocket::disconnect() {
    close();
}

void RunLoopSocket::notifyDisconnect() {
    if (auto delegate = delegate_.lock())
        delegate->onSocketDidDisconnect(*this);
}

void RunLoopSocket::close() {
    shutDown(true);
}

void RunLoopSocket::emptyQueues() {
    endCurrentRead();
    endCurrentWrite();
    theReadQueue_.clear();
    theWriteQueue_.clear();
    base::RunLoop &loop = theRunLoop_ ? *theRunLoop_ : base::RunLoop::current();
    loop.cancelPerforms(steps_.get(), "maybeDequeueRead");
    loop.cancelPerforms(steps_.get(), "maybeDequeueWrite");
}

void RunLoopSocket::shutDown(bool notify) {
    emptyQueues();
    partialReadBuffer_ = base::Data();
    if (theConnectTimer_)
        theConnectTimer_->invalidate();
    theConnectTimer_.reset();

    base::RunLoop &loop = theRunLoop_ ? *theRunLoop_ : base::RunLoop::current();
    for (net::Stream *stream : {static_cast<net::Stream *>(theReadStream_.get()),
                                static_cast<net::Stream *>(theWriteStream_.get())}) {
        if (!stream)
            continue;
        for (const auto &mode : theRunLoopModes_)
            stream->unschedule(loop, mode);
        stream->setClient(0, nullptr);
        stream->close();
    }
    theReadStream_.reset();
    theWriteStream_.reset();
    if (theSocket_)
        theSocket_->invalidate();
    theSocket_.reset();
    theRunLoop_ = nullptr;

    if (notify && (flags_ & DidStartConnect))
        performLater("onSocketDidDisconnect", &RunLoopSocket::notifyDisconnect);
    flags_ &= EnablePreBuffering;
}

bool RunLoopSocket::isConnected() const {
    return theSocket_ && theSocket_->isValid() && theReadStream_ && theWriteStream_ &&
           isOpenish(theReadStream_->status()) && isOpenish(theWriteStream_->status());
}
