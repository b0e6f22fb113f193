#include "peers/ProxyPeer.h"

#include "peers/PeerSocket.h"

#include "base/Data.h"

#include <cctype>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace peers {

namespace {

// A connection to host:port; -1 when it fails.
int connectTo(const std::string &host, const std::string &port) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (getaddrinfo(host.c_str(), port.c_str(), &hints, &found) != 0)
        return -1;
    int fd = -1;
    for (addrinfo *a = found; a && fd < 0; a = a->ai_next) {
        fd = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
        if (fd >= 0 && connect(fd, a->ai_addr, a->ai_addrlen) != 0) {
            close(fd);
            fd = -1;
        }
    }
    freeaddrinfo(found);
    return fd;
}

// "host:port" split at its last colon.
std::pair<std::string, std::string> splitAuthority(const std::string &authority) {
    size_t colon = authority.rfind(':');
    if (colon == std::string::npos)
        return {authority, "80"};
    return {authority.substr(0, colon), authority.substr(colon + 1)};
}

} // namespace

ProxyPeer::ProxyPeer(Kind kind, std::string user, std::string password)
    : kind_(kind),
      expectedAuthorization_(
          user.empty() ? std::string() : "Basic " + base::Data::fromString(user + ":" + password).base64()) {}

std::vector<std::string> ProxyPeer::requestLines() {
    std::lock_guard guard(lock_);
    return lines_;
}

void ProxyPeer::note(std::string line) {
    std::lock_guard guard(lock_);
    lines_.push_back(std::move(line));
}

void ProxyPeer::serve(int fd) {
    if (kind_ == Http)
        serveHttp(fd);
    else
        serveSocks(fd);
}

void ProxyPeer::serveHttp(int fd) {
    std::string pending, head, body;
    while (!listener_.stopping() && readRequest(fd, listener_.wakeFd(), pending, head, body)) {
        const std::string line = head.substr(0, head.find("\r\n"));
        note(line);
        if (!expectedAuthorization_.empty() &&
            headerValue(head, "Proxy-Authorization") != expectedAuthorization_) {
            ++refused_;
            if (!sendAll(fd,
                         "HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic realm=\"" +
                             std::string(realm) + "\"\r\nContent-Length: 0\r\n\r\n"))
                return;
            continue;
        }
        const size_t space = line.find(' ');
        const std::string method = line.substr(0, space);
        const std::string target = line.substr(space + 1, line.rfind(' ') - space - 1);
        if (method == "CONNECT") {
            auto [host, port] = splitAuthority(target);
            int server = connectTo(host, port);
            if (server < 0) {
                sendAll(fd, "HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\n\r\n");
                return;
            }
            sendAll(fd, "HTTP/1.1 200 Connection established\r\n\r\n");
            relay(fd, server, pending);
            return;
        }
        // "GET http://host:port/path HTTP/1.1": passed on in origin form, the proxy's own field
        // removed.
        const size_t authorityStart = target.find("://") + 3;
        const size_t pathStart = target.find('/', authorityStart);
        auto [host, port] = splitAuthority(target.substr(authorityStart, pathStart - authorityStart));
        int server = connectTo(host, port);
        if (server < 0)
            return;
        std::string forwarded =
            method + " " + target.substr(pathStart) + line.substr(line.rfind(' ')) + "\r\n";
        size_t at = head.find("\r\n") + 2;
        while (at + 2 < head.size()) {
            size_t end = head.find("\r\n", at);
            std::string field = head.substr(at, end - at + 2);
            std::string name = field.substr(0, field.find(':'));
            for (char &c : name)
                c = char(std::tolower(static_cast<unsigned char>(c)));
            if (name != "proxy-authorization" && name != "connection" && name != "proxy-connection")
                forwarded += field;
            at = end + 2;
        }
        // One request per forwarded connection keeps the relay simple.
        if (!sendAll(server, forwarded + "Connection: close\r\n\r\n" + body))
            return;
        relay(fd, server, {});
        return;
    }
}

void ProxyPeer::serveSocks(int fd) {
    std::string pending, greeting, methods, request, address, port;
    // Greeting: version 5, the methods offered; "no authentication" is chosen.
    if (!readExactly(fd, listener_.wakeFd(), pending, 2, greeting) || greeting[0] != 5 ||
        !readExactly(fd, listener_.wakeFd(), pending, uint8_t(greeting[1]), methods) ||
        methods.find('\0') == std::string::npos || !sendAll(fd, std::string("\x05\x00", 2)))
        return;
    // CONNECT to an IPv4 address (type 1) or a name (type 3).
    if (!readExactly(fd, listener_.wakeFd(), pending, 4, request) || request[0] != 5 || request[1] != 1)
        return;
    std::string host;
    if (request[3] == 1) {
        if (!readExactly(fd, listener_.wakeFd(), pending, 4, address))
            return;
        host = std::to_string(uint8_t(address[0])) + "." + std::to_string(uint8_t(address[1])) + "." +
               std::to_string(uint8_t(address[2])) + "." + std::to_string(uint8_t(address[3]));
    } else if (request[3] == 3) {
        std::string length;
        if (!readExactly(fd, listener_.wakeFd(), pending, 1, length) ||
            !readExactly(fd, listener_.wakeFd(), pending, uint8_t(length[0]), host))
            return;
    } else {
        return;
    }
    if (!readExactly(fd, listener_.wakeFd(), pending, 2, port))
        return;
    const std::string portText = std::to_string(uint8_t(port[0]) << 8 | uint8_t(port[1]));
    note("SOCKS5 " + host + ":" + portText);
    int server = connectTo(host, portText);
    const char reply[] = {5, char(server < 0 ? 5 : 0), 0, 1, 0, 0, 0, 0, 0, 0};
    if (!sendAll(fd, std::string(reply, sizeof reply)) || server < 0)
        return;
    relay(fd, server, pending);
}

void ProxyPeer::relay(int client, int server, std::string pendingFromClient) {
    listener_.keepOpen(server);
    if (!pendingFromClient.empty() && !sendAll(server, pendingFromClient))
        return;
    char buffer[65536];
    for (;;) {
        pollfd p[3] = {{client, POLLIN, 0}, {server, POLLIN, 0}, {listener_.wakeFd(), POLLIN, 0}};
        if (poll(p, 3, -1) <= 0 || (p[2].revents & POLLIN))
            return;
        for (int side = 0; side < 2; ++side) {
            if (!(p[side].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            ssize_t n = read(p[side].fd, buffer, sizeof buffer);
            if (n <= 0) {
                shutdown(client, SHUT_RDWR);
                shutdown(server, SHUT_RDWR);
                return;
            }
            if (!sendAll(p[1 - side].fd, std::string(buffer, size_t(n))))
                return;
        }
    }
}

} // namespace peers
