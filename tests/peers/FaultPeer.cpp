#include "peers/FaultPeer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fcntl.h>

namespace peers {

FaultPeer::FaultPeer(std::vector<Step> script) : script_(std::move(script)) {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr *>(&addr), sizeof addr);
    listen(listener_, 16);
    socklen_t len = sizeof addr;
    getsockname(listener_, reinterpret_cast<sockaddr *>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    pipe2(wake_, O_CLOEXEC);
    thread_ = std::thread([this] { run(); });
}

FaultPeer::~FaultPeer() {
    stop_ = true;
    [[maybe_unused]] ssize_t n = write(wake_[1], "x", 1);
    thread_.join();
    for (auto &w : workers_)
        w.join();
    std::lock_guard guard(lock_);
    for (int fd : open_)
        ::close(fd);
    ::close(listener_);
    ::close(wake_[0]);
    ::close(wake_[1]);
}

std::string FaultPeer::url(const std::string &path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> FaultPeer::requests() {
    std::lock_guard guard(lock_);
    return requests_;
}

std::vector<std::string> FaultPeer::bodies() {
    std::lock_guard guard(lock_);
    return bodies_;
}

void FaultPeer::run() {
    while (!stop_) {
        pollfd fds[2] = {{listener_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (poll(fds, 2, -1) <= 0 || (fds[1].revents & POLLIN))
            continue;
        int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        ++accepted_;
        {
            std::lock_guard guard(lock_);
            open_.push_back(fd);
        }
        workers_.emplace_back([this, fd] { serve(fd); });
    }
}

bool FaultPeer::readRequest(int fd, std::string *received) {
    std::string head;
    char c;
    while (head.find("\r\n\r\n") == std::string::npos) {
        pollfd p[2] = {{fd, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (poll(p, 2, -1) <= 0 || (p[1].revents & POLLIN) || read(fd, &c, 1) != 1)
            return false;
        head += c;
    }
    size_t at = head.find("Content-Length: ");
    size_t body = at == std::string::npos ? 0 : std::strtoul(head.c_str() + at + 16, nullptr, 10);
    std::string rest(body, '\0');
    size_t got = 0;
    while (got < body) {
        ssize_t n = read(fd, rest.data() + got, body - got);
        if (n <= 0)
            return false;
        got += size_t(n);
    }
    if (received)
        *received = head;
    std::lock_guard guard(lock_);
    requests_.push_back(head);
    bodies_.push_back(std::move(rest));
    return true;
}

void FaultPeer::serve(int fd) {
    std::string head;
    if (!readRequest(fd, &head))
        return;
    for (auto &step : script_) {
        if (stop_)
            return;
        switch (step.kind) {
        case Step::Send:
            for (size_t done = 0; done < step.bytes.size();) {
                ssize_t n = ::send(fd, step.bytes.data() + done, step.bytes.size() - done, MSG_NOSIGNAL);
                if (n <= 0)
                    return;
                done += size_t(n);
            }
            break;
        case Step::Close:
            shutdown(fd, SHUT_RDWR);
            return;
        case Step::Reset: {
            linger l{1, 0};
            setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
            shutdown(fd, SHUT_RD);
            std::lock_guard guard(lock_);
            std::erase(open_, fd);
            ::close(fd);
            return;
        }
        case Step::Silence: {
            pollfd p{wake_[0], POLLIN, 0};
            poll(&p, 1, -1);
            return;
        }
        case Step::ReadRequest:
            if (!readRequest(fd, &head))
                return;
            break;
        case Step::ProxyAuthentication:
            answerAsProxy(fd, step.bytes, head);
            return;
        }
    }
}

} // namespace peers
