#include "SocketAddress.h"

#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>

namespace net {

SocketAddress::SocketAddress(const sockaddr *addr, socklen_t length)
    : length_(std::min<socklen_t>(length, sizeof storage_)) {
    std::memcpy(&storage_, addr, length_);
}

std::optional<SocketAddress> SocketAddress::numeric(std::string_view host, uint16_t port) {
    std::string text(host);
    sockaddr_in v4{};
    if (inet_pton(AF_INET, text.c_str(), &v4.sin_addr) == 1) {
        v4.sin_family = AF_INET;
        v4.sin_port = htons(port);
        return SocketAddress(reinterpret_cast<sockaddr *>(&v4), sizeof v4);
    }
    sockaddr_in6 v6{};
    if (inet_pton(AF_INET6, text.c_str(), &v6.sin6_addr) == 1) {
        v6.sin6_family = AF_INET6;
        v6.sin6_port = htons(port);
        return SocketAddress(reinterpret_cast<sockaddr *>(&v6), sizeof v6);
    }
    return std::nullopt;
}

std::string SocketAddress::numericHost() const {
    char text[INET6_ADDRSTRLEN] = {};
    const void *addr = nullptr;
    if (isIPv4())
        addr = &reinterpret_cast<const sockaddr_in *>(&storage_)->sin_addr;
    else if (isIPv6())
        addr = &reinterpret_cast<const sockaddr_in6 *>(&storage_)->sin6_addr;
    if (!addr || !inet_ntop(family(), addr, text, sizeof text))
        return {};
    return text;
}

uint16_t SocketAddress::port() const {
    if (isIPv4())
        return ntohs(reinterpret_cast<const sockaddr_in *>(&storage_)->sin_port);
    if (isIPv6())
        return ntohs(reinterpret_cast<const sockaddr_in6 *>(&storage_)->sin6_port);
    return 0;
}

bool SocketAddress::isAny() const {
    if (isIPv4())
        return reinterpret_cast<const sockaddr_in *>(&storage_)->sin_addr.s_addr == htonl(INADDR_ANY);
    if (isIPv6())
        return IN6_IS_ADDR_UNSPECIFIED(&reinterpret_cast<const sockaddr_in6 *>(&storage_)->sin6_addr);
    return false;
}

namespace {

template <class Query> std::optional<SocketAddress> ask(int fd, Query query) {
    sockaddr_storage storage{};
    socklen_t length = sizeof storage;
    if (fd < 0 || query(fd, reinterpret_cast<sockaddr *>(&storage), &length) != 0)
        return std::nullopt;
    return SocketAddress(reinterpret_cast<sockaddr *>(&storage), length);
}

} // namespace

std::optional<SocketAddress> Socket::peer() const {
    return ask(fd_, getpeername);
}

std::optional<SocketAddress> Socket::local() const {
    return ask(fd_, getsockname);
}

} // namespace net
