#pragma once

#include "peers/PeerListener.h"

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
        enum Kind { Send, Close, Reset, Silence, ReadRequest, ProxyAuthentication } kind;
        std::string bytes;
    };
    static Step send(std::string bytes) { return {Step::Send, std::move(bytes)}; }
    static Step close() { return {Step::Close, {}}; }
    // Closes with a TCP reset.
    static Step reset() { return {Step::Reset, {}}; }
    // Stays silent (until the client gives up or the peer stops).
    static Step silence() { return {Step::Silence, {}}; }
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
    // Every request head received so far, in order, and the body each announced.
    std::vector<std::string> requests();
    std::vector<std::string> bodies();

private:
    void serve(int fd);
    // Reads the next request on the connection into `head` and records it with its body.
    bool readRequest(int fd, std::string &pending, std::string &head);
    void answerAsProxy(int fd, const std::string &challenge, std::string &pending, std::string head);

    std::vector<Step> script_;
    std::mutex lock_;
    std::vector<std::string> requests_, bodies_;
    PeerListener listener_{[this](int fd) { serve(fd); }};
};

} // namespace peers
