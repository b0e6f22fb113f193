#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace peers {

// A small TCP server on 127.0.0.1 with a port of the system's choosing, running on a thread of its
// own. Tests script it: it accepts connections (or leaves them waiting), sends bytes to the newest
// connection, stays silent, echoes, or closes; and they read back what it received.
class TcpPeer {
public:
    struct Options {
        // When false, nothing is accepted and the listen queue holds one connection: once filled
        // (fillBacklog), further connection attempts hang, like a black-holed address.
        bool accept = true;
        // Every byte received is sent straight back (request/reply exchanges) and not kept.
        bool echo = false;
    };

    TcpPeer() : TcpPeer(Options{}) {}
    explicit TcpPeer(Options options);
    ~TcpPeer();
    TcpPeer(const TcpPeer &) = delete;
    TcpPeer &operator=(const TcpPeer &) = delete;

    uint16_t port() const { return port_; }

    // Queues bytes for the newest accepted connection (sent once one exists).
    void send(std::string bytes);
    // Closes the newest accepted connection after everything queued before has been sent.
    void closeConnection();
    // Occupies the listen queue of a peer that does not accept.
    void fillBacklog();

    // Waits (real time) until `count` connections were accepted; false on time-out.
    bool waitForConnections(size_t count, double seconds = 5.0);
    // Waits until at least `length` bytes were received in all; returns everything received.
    std::string waitForBytes(size_t length, double seconds = 5.0);
    // Waits until the newest connection's client has closed its end; false on time-out.
    bool waitForClientClose(double seconds = 5.0);
    std::string received();
    size_t connections();

    // Whether the peer has nothing to do until its client acts: nothing to accept or read, nothing
    // queued to send to an open connection, and no round of its thread under way. What it sent
    // before is in the client's socket by then (peers::LoopDriver). Answers without waiting for the
    // peer's thread, which may be blocked on a client that must read first.
    bool quiet();

    // A free loopback port on which nothing listens (connecting to it is refused).
    static uint16_t closedPort();

private:
    void run();
    void wake();
    void serviceCommands();
    void acceptOne();
    void readFrom(int fd);
    template <class Pred> bool waitUntil(double seconds, Pred pred);

    Options options_;
    int listener_ = -1;
    int wakeFd_ = -1;
    uint16_t port_ = 0;
    std::vector<int> fillers_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> commands_;
    std::vector<int> conns_;
    std::string received_;
    bool clientClosed_ = false;
    bool stop_ = false;
    // The thread is handling what woke it.
    bool busy_ = false;
    std::thread thread_;
};

} // namespace peers
