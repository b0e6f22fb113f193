#include "peers/PeerListener.h"

#include "peers/PeerSocket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace peers {

PeerListener::PeerListener(std::function<void(int fd)> serve) : serve_(std::move(serve)) {
    listener_ = listenOnLoopback(&port_);
    pipe2(wake_, O_CLOEXEC);
    thread_ = std::thread([this] { run(); });
}

PeerListener::~PeerListener() {
    stop_ = true;
    [[maybe_unused]] ssize_t n = write(wake_[1], "x", 1);
    thread_.join();
    for (auto &w : workers_)
        w.join();
    for (int fd : open_)
        ::close(fd);
    ::close(listener_);
    ::close(wake_[0]);
    ::close(wake_[1]);
}

void PeerListener::keepOpen(int fd) {
    std::lock_guard guard(lock_);
    open_.push_back(fd);
}

void PeerListener::closeNow(int fd) {
    std::lock_guard guard(lock_);
    std::erase(open_, fd);
    ::close(fd);
}

void PeerListener::run() {
    while (!stop_) {
        pollfd fds[2] = {{listener_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (poll(fds, 2, -1) <= 0 || (fds[1].revents & POLLIN))
            continue;
        int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        ++accepted_;
        keepOpen(fd);
        workers_.emplace_back([this, fd] { serve_(fd); });
    }
}

} // namespace peers
