#include "TcpPeer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace peers {

namespace {

sockaddr_in loopback(uint16_t port) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return addr;
}

int boundSocket(int backlog, uint16_t &port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr = loopback(0);
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0 ||
        (backlog >= 0 && listen(fd, backlog) != 0))
        throw std::runtime_error("peer: cannot bind a loopback socket");
    socklen_t len = sizeof addr;
    getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len);
    port = ntohs(addr.sin_port);
    return fd;
}

// Writes everything, waiting for room; the peer's own thread may block here.
void writeAll(int fd, const char *bytes, size_t length) {
    while (length > 0) {
        ssize_t n = ::send(fd, bytes, length, MSG_NOSIGNAL);
        if (n > 0) {
            bytes += n;
            length -= size_t(n);
        } else if (n < 0 && errno == EAGAIN) {
            pollfd p{fd, POLLOUT, 0};
            poll(&p, 1, 100);
        } else {
            return;
        }
    }
}

} // namespace

TcpPeer::TcpPeer(Options options) : options_(options) {
    listener_ = boundSocket(options_.accept ? 16 : 0, port_);
    wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    thread_ = std::thread([this] { run(); });
}

TcpPeer::~TcpPeer() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake();
    thread_.join();
    for (int fd : conns_)
        ::close(fd);
    for (int fd : fillers_)
        ::close(fd);
    ::close(listener_);
    ::close(wakeFd_);
}

void TcpPeer::send(std::string bytes) {
    {
        std::lock_guard lock(mutex_);
        commands_.push_back(
            [this, bytes = std::move(bytes)] { writeAll(conns_.back(), bytes.data(), bytes.size()); });
    }
    wake();
}

void TcpPeer::closeConnection() {
    {
        std::lock_guard lock(mutex_);
        commands_.push_back([this] {
            ::close(conns_.back());
            conns_.pop_back();
        });
    }
    wake();
}

void TcpPeer::fillBacklog() {
    for (int i = 0; i < 3; ++i) {
        int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        sockaddr_in addr = loopback(port_);
        connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr);
        fillers_.push_back(fd);
    }
}

template <class Pred> bool TcpPeer::waitUntil(double seconds, Pred pred) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::duration<double>(seconds), pred);
}

bool TcpPeer::waitForConnections(size_t count, double seconds) {
    return waitUntil(seconds, [&] { return conns_.size() >= count; });
}

std::string TcpPeer::waitForBytes(size_t length, double seconds) {
    waitUntil(seconds, [&] { return received_.size() >= length; });
    return received();
}

bool TcpPeer::waitForClientClose(double seconds) {
    return waitUntil(seconds, [&] { return clientClosed_; });
}

std::string TcpPeer::received() {
    std::lock_guard lock(mutex_);
    return received_;
}

size_t TcpPeer::connections() {
    std::lock_guard lock(mutex_);
    return conns_.size();
}

// The descriptors are polled under the lock, which the thread takes before it reads anything: bytes
// it has not seen yet are either still readable here or it is busy with them.
bool TcpPeer::quiet() {
    std::lock_guard lock(mutex_);
    if (busy_ || (!commands_.empty() && !conns_.empty()))
        return false;
    std::vector<pollfd> fds;
    if (options_.accept)
        fds.push_back({listener_, POLLIN, 0});
    for (int fd : conns_)
        fds.push_back({fd, POLLIN, 0});
    return poll(fds.data(), fds.size(), 0) == 0;
}

uint16_t TcpPeer::closedPort() {
    uint16_t port = 0;
    ::close(boundSocket(-1, port));
    return port;
}

void TcpPeer::wake() {
    uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(wakeFd_, &one, sizeof one);
}

void TcpPeer::run() {
    for (;;) {
        std::vector<pollfd> fds{{wakeFd_, POLLIN, 0}};
        {
            std::lock_guard lock(mutex_);
            if (stop_)
                return;
            if (options_.accept)
                fds.push_back({listener_, POLLIN, 0});
            for (int fd : conns_)
                fds.push_back({fd, POLLIN, 0});
        }
        poll(fds.data(), fds.size(), -1);
        {
            std::lock_guard lock(mutex_);
            busy_ = true;
        }
        uint64_t count;
        [[maybe_unused]] ssize_t n = read(wakeFd_, &count, sizeof count);
        for (size_t i = 1; i < fds.size(); ++i) {
            if (!fds[i].revents)
                continue;
            if (fds[i].fd == listener_)
                acceptOne();
            else
                readFrom(fds[i].fd);
        }
        serviceCommands();
        std::lock_guard lock(mutex_);
        busy_ = false;
    }
}

void TcpPeer::serviceCommands() {
    for (;;) {
        std::function<void()> command;
        {
            std::lock_guard lock(mutex_);
            if (commands_.empty() || conns_.empty())
                return;
            command = std::move(commands_.front());
            commands_.pop_front();
        }
        command();
        changed_.notify_all();
    }
}

void TcpPeer::acceptOne() {
    int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0)
        return;
    std::lock_guard lock(mutex_);
    conns_.push_back(fd);
    clientClosed_ = false;
    changed_.notify_all();
}

void TcpPeer::readFrom(int fd) {
    char buffer[65536];
    ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    if (n < 0 && errno == EAGAIN)
        return;
    if (n > 0 && options_.echo) {
        writeAll(fd, buffer, size_t(n));
        return;
    }
    std::lock_guard lock(mutex_);
    if (n > 0) {
        received_.append(buffer, size_t(n));
    } else {
        ::close(fd);
        std::erase(conns_, fd);
        clientClosed_ = true;
    }
    changed_.notify_all();
}

} // namespace peers
