#pragma once

#include "base/Data.h"
#include "base/Error.h"
#include "base/Object.h"
#include "net/SocketAddress.h"
#include "net/Stream.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace base {
class RunLoop;
class Timer;
} // namespace base

class RunLoopSocket;

// What a socket tells its owner. Every operation is optional. A delegate that overrides only some
// of the `onSocket` overloads should add `using RunLoopSocketDelegate::onSocket;`.
class RunLoopSocketDelegate {
public:
    virtual ~RunLoopSocketDelegate() = default;

    // Asked while connecting, before the streams are opened; false cancels the connect.
    virtual base::Opt<bool> onSocketWillConnect(RunLoopSocket &) { return base::notImplemented; }
    // The connection is open: the peer's numeric address and port.
    virtual base::Opt<void> onSocket(RunLoopSocket &, const std::string & /*host*/, uint16_t /*port*/) {
        return base::notImplemented;
    }
    // A read completed with these bytes (the delegate may keep them).
    virtual base::Opt<void> onSocket(RunLoopSocket &, const base::Data & /*data*/, int32_t /*tag*/) {
        return base::notImplemented;
    }
    // Every byte of a write was handed to the connection.
    virtual base::Opt<void> onSocket(RunLoopSocket &, int32_t /*tag*/) { return base::notImplemented; }
    // The connection is closing because of an error, a time-out or the peer's end of stream
    // (`error` is null for an orderly end).
    virtual base::Opt<void> onSocket(RunLoopSocket &, const base::Ref<base::Error> & /*error*/) {
        return base::notImplemented;
    }
    // The connection was closed; arrives on a later run-loop pass than the close.
    virtual base::Opt<void> onSocketDidDisconnect(RunLoopSocket &) { return base::notImplemented; }
};

// Misuse of a socket: connecting without a delegate, or while connected.
class RunLoopSocketException : public std::logic_error {
public:
    explicit RunLoopSocketException(const std::string &reason) : std::logic_error(reason) {}
    const char *name() const { return "RunLoopSocketException"; }
};

// The TCP client of the system: one connection to one host and port, a queue of reads and a queue
// of writes, each with its own time-out, and every outcome reported to a delegate. Everything runs
// on the run loop of the thread that connected it. Create it with base::make.
class RunLoopSocket : public base::Object {
public:
    static constexpr const char *ErrorDomain = "RunLoopSocketErrorDomain";
    enum ErrorCode : long {
        CFSocketError = -1,
        CanceledError = 1,
        ConnectTimeoutError = 2,
        ReadMaxedOutError = 3,
        ReadTimeoutError = 4,
        WriteTimeoutError = 5,
    };
    // Bits of flags().
    enum Flag : uint16_t {
        EnablePreBuffering = 0x01,
        DidStartConnect = 0x02,
        DidCompleteOpenForRead = 0x04,
        DidCompleteOpenForWrite = 0x08,
        ClosingWithError = 0x80,
    };
    // A connect that has not opened within this many seconds fails with ConnectTimeoutError.
    static constexpr double DefaultConnectTimeout = 10.0;
    // The most bytes handed to the connection in one write call, and the step of one read call.
    static constexpr size_t WriteChunk = 4096;
    static constexpr size_t ReadChunk = 256;

    RunLoopSocket() = default;
    explicit RunLoopSocket(base::Weak<RunLoopSocketDelegate> delegate, int32_t userData = 0)
        : delegate_(std::move(delegate)), userData_(userData) {}
    // Closes without telling the delegate anything.
    ~RunLoopSocket() override;

    // Starts connecting to `host` (a name or a numeric address); the outcome arrives by callback.
    // False when it failed at once (then `error`, when given, receives why, and no callback follows):
    // a name that cannot resolve without asking a name server (malformed, or under "invalid"), an
    // address the system cannot reach, a connect the delegate cancelled, or an earlier connect still
    // under way. Whatever the network has to answer (lookups, refusals) arrives by callback. Throws
    // RunLoopSocketException without a delegate or while connected.
    bool connectToHost(const std::string &host, uint16_t port, base::Ref<base::Error> *error = nullptr);
    // The same with a connect time-out of its own; a negative time-out means none.
    bool connectToHost(const std::string &host, uint16_t port, double timeout, base::Ref<base::Error> *error);
    // Queues a read that completes with everything available once at least one byte has arrived.
    // A negative time-out means none.
    void readDataWithTimeout(double timeout, int32_t tag);
    // Queues bytes for sending in order; empty data is ignored.
    void writeData(base::Data data, double timeout, int32_t tag);
    // Closes at once; a started connection reports only onSocketDidDisconnect, on a later pass.
    void disconnect();
    bool isConnected() const;

    // While onSocket(…, error) runs: the bytes received but not delivered, then whatever is
    // still readable. Nothing at any other time.
    std::optional<base::Data> unreadData();

    base::Weak<RunLoopSocketDelegate> delegate() const { return delegate_; }
    void setDelegate(base::Weak<RunLoopSocketDelegate> delegate) { delegate_ = std::move(delegate); }
    int32_t userData() const { return userData_; }
    void setUserData(int32_t userData) { userData_ = userData; }
    uint16_t flags() const { return flags_; }

    static base::Ref<base::Error> makeError(ErrorCode code);

private:
    struct AsyncReadPacket {
        base::Data buffer;
        size_t bytesDone = 0;
        double timeout;
        int32_t tag;
    };
    struct AsyncWritePacket {
        base::Data buffer;
        size_t bytesDone = 0;
        int32_t tag;
        double timeout;
    };

    void attachStreams(const std::string &host, uint16_t port);
    // Why a stream would not open: its own error, or the general one.
    base::Ref<base::Error> openError() const;
    void readStreamEvent(net::Event event);
    void writeStreamEvent(net::Event event);
    void openCompleted(Flag flag);
    void didOpen();

    // Runs `step` on a later pass in the socket's modes, unless the socket is gone by then.
    void performLater(const char *name, void (RunLoopSocket::*step)());
    void notifyDisconnect();
    void maybeDequeueRead();
    void doBytesAvailable();
    void completeCurrentRead();
    void endCurrentRead();
    void maybeDequeueWrite();
    void doSendBytes();
    void completeCurrentWrite();
    void endCurrentWrite();

    base::Ref<base::Timer> startTimer(double seconds, void (RunLoopSocket::*expired)());
    void connectTimedOut();
    void readTimedOut();
    void writeTimedOut();

    void closeWithError(const base::Ref<base::Error> &error);
    void close();
    // Drops everything; `notify` schedules onSocketDidDisconnect when a connect had been started.
    void shutDown(bool notify);
    void emptyQueues();

    base::Ref<net::Socket> theSocket_;
    base::Ref<net::ReadStream> theReadStream_;
    base::Ref<net::WriteStream> theWriteStream_;
    base::RunLoop *theRunLoop_ = nullptr;
    std::vector<std::string> theRunLoopModes_ = {"default", "common"};
    base::Ref<base::Timer> theConnectTimer_;
    std::deque<AsyncReadPacket> theReadQueue_;
    std::optional<AsyncReadPacket> theCurrentRead_;
    base::Ref<base::Timer> theReadTimer_;
    base::Data partialReadBuffer_;
    std::deque<AsyncWritePacket> theWriteQueue_;
    std::optional<AsyncWritePacket> theCurrentWrite_;
    base::Ref<base::Timer> theWriteTimer_;
    base::Weak<RunLoopSocketDelegate> delegate_;
    // What deferred steps are filed under: they do not keep the socket alive, so an owner that
    // lets go of it ends it at once, without callbacks.
    base::Ref<base::Object> steps_ = base::make<base::Object>();
    uint16_t flags_ = EnablePreBuffering;
    int32_t userData_ = 0;
    bool reportingError_ = false;
};
