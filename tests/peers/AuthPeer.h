#pragma once

#include "peers/PeerListener.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace peers {

// An HTTP server on 127.0.0.1 whose every path answers "welcome" only to one account, checked the
// way a real server checks it: Digest (MD5, qop "auth") by recomputing the response from the
// nonce it issued, or NTLM by running the three-message handshake on one kept-alive connection and
// recomputing the NTLMv2 proof from its own challenge. Anything else gets a fresh 401 challenge.
class AuthPeer {
public:
    enum Scheme { Digest, Ntlm };
    struct Account {
        std::string user, password, domain;
    };
    static constexpr const char *realm = "peer";

    AuthPeer(Scheme scheme, Account account);
    AuthPeer(const AuthPeer &) = delete;
    AuthPeer &operator=(const AuthPeer &) = delete;

    uint16_t port() const { return listener_.port(); }
    std::string url(const std::string &path = "/") const;
    // Answers that passed the check, and those that failed it.
    size_t verified() const { return verified_; }
    size_t rejected() const { return rejected_; }

private:
    // What one connection has seen of an NTLM handshake.
    struct Connection {
        std::string serverChallenge;
    };

    void serve(int fd);
    // The reply to one request head on a connection.
    std::string answer(const std::string &head, Connection &connection);
    std::string digestAnswer(const std::string &method, const std::string &target,
                             const std::string &credentials);
    std::string ntlmAnswer(const std::string &message, Connection &connection);
    std::string challenge(const std::string &value) const;

    Scheme scheme_;
    Account account_;
    std::string nonce_;
    std::atomic<size_t> verified_{0}, rejected_{0};
    PeerListener listener_{[this](int fd) { serve(fd); }};
};

} // namespace peers
