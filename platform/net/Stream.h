#pragma once

#include "StreamError.h"
#include "base/Object.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace base {
class RunLoop;
}

namespace net {

class Link;

enum Event : unsigned {
    OpenCompleted = 1,
    HasBytesAvailable = 2,
    CanAcceptBytes = 4,
    ErrorOccurred = 8,
    EndEncountered = 16,
};

enum class Status { NotOpen, Opening, Open, Reading, Writing, AtEnd, Closed, Error };

// One direction of a TCP connection. Events reach the client on the run loop the stream is scheduled
// on, only those it asked for, and never after close() or after the client was replaced.
// HasBytesAvailable and CanAcceptBytes are edge-like: after one, the next comes only once the
// client has read everything buffered, or has met a full connection while writing.
class Stream : public base::Object {
public:
    using Client = std::function<void(Event)>;

    // Starts the connection (name lookup, then connect) when the other stream has not already.
    // False when the stream was opened before, or when the connection failed already: at once for
    // a name that cannot resolve or an address that cannot be reached (then error() says why).
    bool open();
    // Stops all events; the native socket closes once both streams are closed.
    void close();
    Status status() const { return status_; }
    // The last error; domain and code 0 when there was none.
    StreamError error() const;
    // Registers `client` for `events` (a set of Event bits); an empty client unregisters.
    void setClient(unsigned events, Client client);
    void schedule(base::RunLoop &loop, std::string_view mode);
    void unschedule(base::RunLoop &loop, std::string_view mode);
    // The connected socket's handle; -1 before the connection opened and after close.
    int nativeSocket() const;

protected:
    explicit Stream(base::Ref<Link> link) : link_(std::move(link)) {}
    void signal(Event event);

    base::Ref<Link> link_;
    Status status_ = Status::NotOpen;

private:
    friend class Link;
    unsigned events_ = 0;
    Client client_;
};

class ReadStream : public Stream {
public:
    explicit ReadStream(base::Ref<Link> link) : Stream(std::move(link)) {}
    // Copies up to `length` received bytes; 0 when none are at hand, -1 after an error.
    long read(uint8_t *bytes, size_t length);
    // Whether a read would return bytes now: buffered ones, or ones the socket holds unless it was
    // found empty since the loop last reported it readable (bytes arriving after that are reported
    // by the next HasBytesAvailable).
    bool hasBytesAvailable();

private:
    friend class Link;
    // Pulls what the socket holds into the buffer; false when nothing came.
    bool fill();
    // The socket is readable (or hung up, or failed).
    void readable();
    bool wantsReadable() const;

    std::string buffer_;
    size_t offset_ = 0;
    // The socket had nothing more at the last look; the loop says when that changes.
    bool drained_ = false;
    bool atEnd_ = false;
    int failure_ = 0;
};

class WriteStream : public Stream {
public:
    explicit WriteStream(base::Ref<Link> link) : Stream(std::move(link)) {}
    // Hands bytes to the connection; returns how many it took (0 when it is full), -1 on error.
    long write(const uint8_t *bytes, size_t length);
    // False from a write the connection did not take whole until the next CanAcceptBytes.
    bool canAcceptBytes();

private:
    friend class Link;
    void writable();
    void fail(int code);

    // Waiting for a CanAcceptBytes event (the client asked, or the connection just opened).
    bool waiting_ = false;
    // The connection took less than offered at the last write, and has not said it has room since.
    bool full_ = false;
};

// A pair of streams over one TCP connection to `host` (a name or a numeric address) and `port`.
// Nothing happens until one of them is opened; the name is then looked up (off the run loop unless
// the answer needs no name server), each address is tried in turn, and the opened streams report
// OpenCompleted (or ErrorOccurred). A failure known before any connect is under way fails open().
std::pair<base::Ref<ReadStream>, base::Ref<WriteStream>> pairToHost(std::string host, uint16_t port);

} // namespace net
