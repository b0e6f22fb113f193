#pragma once

#include "base/Object.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <sys/socket.h>

namespace net {

// An IPv4 or IPv6 socket address.
class SocketAddress {
public:
    SocketAddress(const sockaddr *addr, socklen_t length);
    // From a dotted IPv4 or a colon IPv6 address; nothing for anything else (no name lookup).
    static std::optional<SocketAddress> numeric(std::string_view host, uint16_t port);

    int family() const { return storage_.ss_family; }
    bool isIPv4() const { return family() == AF_INET; }
    bool isIPv6() const { return family() == AF_INET6; }
    // "127.0.0.1", "::1"; empty for a family other than the two.
    std::string numericHost() const;
    uint16_t port() const;
    // True for 0.0.0.0 and ::.
    bool isAny() const;

    const sockaddr *get() const { return reinterpret_cast<const sockaddr *>(&storage_); }
    socklen_t length() const { return length_; }

private:
    sockaddr_storage storage_{};
    socklen_t length_ = 0;
};

// A view of a connected native socket, which it does not own: its peer and local addresses.
class Socket : public base::Object {
public:
    static base::Ref<Socket> wrap(int fd) { return base::make<Socket>(fd); }
    explicit Socket(int fd) : fd_(fd) {}

    int nativeHandle() const { return fd_; }
    bool isValid() const { return fd_ >= 0; }
    // Forgets the handle; the socket itself is closed by whoever owns it.
    void invalidate() { fd_ = -1; }
    std::optional<SocketAddress> peer() const;
    std::optional<SocketAddress> local() const;

private:
    int fd_;
};

} // namespace net
