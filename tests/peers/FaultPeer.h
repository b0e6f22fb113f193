#pragma once

#include "peers/PeerListener.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace peers {

// An HTTP server on 127.0.0.1 that answers every connection with the same script, for faults no
// real server makes: raw status lines and headers, bad chunks, bodies cut short, resets, silence.
// It reads each request head (and a body its Content-Length announces), then runs the steps in
// order; a connection that outlives its script is kept open and silent until the peer is stopped.
class FaultPeer {
public:
    struct Step {
        enum Kind { Send, Close, Reset, Silence, Hold, ReadRequest, ProxyAuthentication } kind;
        std::string bytes;
    };
    static Step send(std::string bytes) { return {Step::Send, std::move(bytes)}; }
    static Step close() { return {Step::Close, {}}; }
    // Closes with a TCP reset.
    static Step reset() { return {Step::Reset, {}}; }
    // Stays silent (until the client gives up or the peer stops).
    static Step silence() { return {Step::Silence, {}}; }
    // Waits until the test calls release() (at once when it already has), then goes on with the
    // script: an answer held back so that a later request can complete first.
    static Step hold() { return {Step::Hold, {}}; }
    // Reads the next request on the same connection (keep-alive).
    static Step readRequest() { return {Step::ReadRequest, {}}; }
    // Acts as a proxy that wants credentials, for every request on the connection: one without a
    // "Proxy-Authorization" field gets a 407 with "Proxy-Authenticate: <challenge>", one with it
    // "200 OK" with that field's value as the body.
    static Step proxyAuthentication(std::string challenge) {
        return {Step::ProxyAuthentication, std::move(challenge)};
    }

    explicit FaultPeer(std::vector<Step> script);
    FaultPeer(const FaultPeer &) = delete;
    FaultPeer &operator=(const FaultPeer &) = delete;

    uint16_t port() const { return listener_.port(); }
    std::string url(const std::string &path = "/") const;
    size_t accepted() const { return listener_.accepted(); }
    // Lets every connection waiting in a hold step, and every later one, go on.
    void release();
    // Connections waiting in a hold step now.
    size_t holding() const { return holding_; }
    // Every request head received so far, in order, and the body each announced.
    std::vector<std::string> requests();
    std::vector<std::string> bodies();

private:
    void serve(int fd);
    // Reads the next request on the connection into `head` and records it with its body.
    bool readRequest(int fd, std::string &pending, std::string &head);
    void answerAsProxy(int fd, const std::string &challenge, std::string &pending, std::string head);

    // Waits in a hold step until released or stopping.
    void holdUntilReleased();

    std::vector<Step> script_;
    // Readable once released; never drained, so that every hold passes afterwards. Closed after the
    // listener has stopped its connections.
    struct ReleasePipe {
        int fds[2] = {-1, -1};
        ReleasePipe();
        ~ReleasePipe();
    } release_;
    std::atomic<size_t> holding_{0};
    std::mutex lock_;
    std::vector<std::string> requests_, bodies_;
    PeerListener listener_{[this](int fd) { serve(fd); }};
};

} // namespace peers
