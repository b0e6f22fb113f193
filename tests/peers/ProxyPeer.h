#pragma once

#include "peers/PeerListener.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace peers {

// A proxy on 127.0.0.1 for requests to go through: an HTTP proxy (requests in absolute form are
// forwarded, CONNECT opens a tunnel) or a SOCKS5 proxy (no authentication). The HTTP proxy may
// demand Basic credentials: without the right "Proxy-Authorization" it answers 407 with a
// "Proxy-Authenticate" challenge, on the connection kept open. A forwarded request goes to its
// server alone, without the proxy's own fields and with "Connection: close". Every request line it receives
// (and "SOCKS5 host:port" for each SOCKS connection) is recorded in order.
class ProxyPeer {
public:
    enum Kind { Http, Socks5 };
    static constexpr const char *realm = "proxy";

    // With `user` not empty, the HTTP proxy demands that user and password.
    explicit ProxyPeer(Kind kind, std::string user = {}, std::string password = {});
    ProxyPeer(const ProxyPeer &) = delete;
    ProxyPeer &operator=(const ProxyPeer &) = delete;

    uint16_t port() const { return listener_.port(); }
    std::vector<std::string> requestLines();
    // Requests answered 407.
    size_t refused() const { return refused_; }

private:
    void serve(int fd);
    void serveHttp(int fd);
    void serveSocks(int fd);
    void note(std::string line);
    // Carries bytes both ways until either side closes.
    void relay(int client, int server, std::string pendingFromClient);

    Kind kind_;
    std::string expectedAuthorization_;
    std::atomic<size_t> refused_{0};
    std::mutex lock_;
    std::vector<std::string> lines_;
    PeerListener listener_{[this](int fd) { serve(fd); }};
};

} // namespace peers
