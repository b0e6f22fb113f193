#pragma once

#include "Frame.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace peers {

// How the server misbehaves on the replies to come. A fault shapes the reply to the next request
// of its type (0: any type) that gets one, `times` times (negative: for good); requests the server
// does not answer, such as heartbeats, leave it in place. Its parts combine: the reply is first
// altered (id, type, announced length, body), then framed with the extra bytes, then written in
// the pieces and at the times the fault asks for. Times are real seconds; a negative time holds
// the bytes until `FrameServer::resume()`.
struct Fault {
    uint16_t type = 0;
    int times = 1;

    // No reply at all.
    bool silent = false;
    // The reply carries this sequence id or this message type instead of its own.
    std::optional<uint8_t> seqID;
    std::optional<uint16_t> replyType;
    // The header states this body length, while only the real body follows.
    std::optional<uint32_t> announcedLength;
    // The body is cut to this many bytes and the header says so: a reply shorter than its layout.
    std::optional<size_t> bodyBytes;
    // The unaltered reply follows the altered one in the same write (say a reply under a wrong id
    // and then the right one).
    bool thenReply = false;
    // Raw bytes written in the same write before and after the reply: coalesced frames.
    std::string before;
    std::string after;

    // Seconds before anything of the write goes out.
    double delay = 0;
    // When above 0, that many bytes go out first and the rest `pause` seconds later.
    size_t splitAfter = 0;
    double pause = 0.2;
    // The connection closes once this many bytes of the write are out (all of them when larger).
    std::optional<size_t> closeAfter;

    // The same settings one by one: Fault::on(2956).split(8, -1).
    static Fault on(uint16_t requestType, int count = 1) {
        Fault fault;
        fault.type = requestType;
        fault.times = count;
        return fault;
    }
    Fault &silence() { return silent = true, *this; }
    Fault &withSeqID(uint8_t id) { return seqID = id, *this; }
    Fault &withType(uint16_t value) { return replyType = value, *this; }
    Fault &announcing(uint32_t length) { return announcedLength = length, *this; }
    Fault &cutBody(size_t bytes) { return bodyBytes = bytes, *this; }
    Fault &followedByReply() { return thenReply = true, *this; }
    Fault &withBefore(std::string bytes) { return before = std::move(bytes), *this; }
    Fault &withAfter(std::string bytes) { return after = std::move(bytes), *this; }
    Fault &delayed(double seconds) { return delay = seconds, *this; }
    Fault &split(size_t bytes, double seconds) { return splitAfter = bytes, pause = seconds, *this; }
    Fault &closingAfter(size_t bytes) { return closeAfter = bytes, *this; }
};

// A TCP server on 127.0.0.1 speaking the quote framing, on a thread of its own. Every complete
// request is recorded and handed to the handler, whose reply goes out as the pending fault shapes
// it. Tests script it from their own thread: faults, pushes, closing; and they read back the
// requests received. It binds in the constructor (port 0: one of the system's choosing) and
// serves from `start`.
class FrameServer {
public:
    // The reply to a request, or nothing to stay silent (heartbeats, unknown requests).
    using Handler = std::function<std::optional<Frame>(const ReceivedFrame &)>;

    explicit FrameServer(uint16_t port = 0);
    virtual ~FrameServer();
    FrameServer(const FrameServer &) = delete;
    FrameServer &operator=(const FrameServer &) = delete;

    // 0 when the port could not be bound; such a server never serves.
    uint16_t port() const { return port_; }
    void start(Handler handler);
    // Stops serving and closes every connection; the handler is not called afterwards.
    void stop();
    // Closes the listening socket, so that connecting is refused, or listens again on the same
    // port; open connections stay. Returns once done; false when listening again failed.
    bool setListening(bool listening);

    void addFault(Fault fault);
    void clearFaults();
    // Lets held bytes go out.
    void resume();

    // Writes to the newest open connection after what is already queued for it, unshaped; waits
    // for a connection when none is open. Which one is newest is decided on the server's thread:
    // after a reconnect, wait for the new connection (waitForConnections) before pushing.
    void push(const Frame &frame);
    void pushBytes(std::string bytes);
    // Closes the newest open connection once what is queued for it has gone out (waiting for a
    // connection as pushes do).
    void closeConnection();

    std::vector<ReceivedFrame> received() const;
    std::vector<ReceivedFrame> received(uint16_t type) const;
    size_t receivedCount(uint16_t type) const;
    void clearReceived();
    // Connections accepted since the start, and those still open.
    int acceptedConnections() const;
    int openConnections() const;

    // Real-time waits for raw-socket tests; false on time-out. A client driven by the test's own
    // run loop must be pumped instead, polling the counts above.
    bool waitForRequests(uint16_t type, size_t count, double seconds = 5.0);
    bool waitForConnections(int accepted, double seconds = 5.0);
    bool waitForOpenConnections(int open, double seconds = 5.0);

    // Whether the server has nothing to do until its client acts: no request or connection
    // waiting to be read or accepted, and every reply out except those held. Bytes written before
    // the answer are in the client's socket by then, so a test that drives its client's run loop
    // until both sides are quiet needs no real pause. True once stopped.
    bool quiet();

private:
    using TimePoint = std::chrono::steady_clock::time_point;

    struct Chunk {
        explicit Chunk(std::string data, double waitSeconds = 0, bool closes = false)
            : bytes(std::move(data)), wait(waitSeconds), close(closes) {}
        static Chunk closing() { return Chunk({}, 0, true); }

        std::string bytes;
        double wait = 0; // seconds after the previous chunk; negative: held
        bool close = false;
        size_t sent = 0;
        std::optional<TimePoint> due;
    };
    struct Connection {
        int fd = -1;
        int number = 0;
        std::vector<uint8_t> input;
        std::deque<Chunk> output;
    };

    static std::deque<Chunk> shape(const Frame &reply, const std::optional<Fault> &fault);
    std::optional<Fault> takeFault(uint16_t type);
    void run();
    int pollTimeout() const;
    void acceptOne();
    void readFrom(Connection &conn);
    void answer(Connection &conn, const ReceivedFrame &request);
    void flush(Connection &conn);
    void closeConnection(Connection &conn);
    bool nothingToDo() const;
    Connection *newest();
    // Runs `action` on the server thread; one answering false is tried again after the next event.
    void command(std::function<bool()> action);
    void serviceCommands();
    void wake();
    bool waitUntil(double seconds, const std::function<bool()> &pred);

    int listener_ = -1;
    int wakeFd_ = -1;
    uint16_t port_ = 0;
    Handler handler_;
    std::thread thread_;
    std::vector<std::unique_ptr<Connection>> conns_; // the server thread's own

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<bool()>> commands_;
    std::deque<Fault> faults_;
    std::vector<ReceivedFrame> received_;
    int accepted_ = 0;
    int open_ = 0;
    bool stop_ = false;
};

} // namespace peers
