#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace peers {

// A listening socket on 127.0.0.1 and its accepting thread: each connection is handed to `serve` on
// a thread of its own. The destructor wakes every wait on wakeFd(), joins the threads and closes
// every socket the connections used, so an owner declares its listener last (it stops first).
class PeerListener {
public:
    explicit PeerListener(std::function<void(int fd)> serve);
    ~PeerListener();
    PeerListener(const PeerListener &) = delete;
    PeerListener &operator=(const PeerListener &) = delete;

    uint16_t port() const { return port_; }
    // Readable once the listener stops: the second descriptor of every wait in `serve`.
    int wakeFd() const { return wake_[0]; }
    bool stopping() const { return stop_; }
    size_t accepted() const { return accepted_; }
    // A further socket (a relay's far side) to close when the listener stops.
    void keepOpen(int fd);
    // Closes a connection at once (a reset) instead of at the stop.
    void closeNow(int fd);

private:
    void run();

    std::function<void(int fd)> serve_;
    int listener_ = -1;
    int wake_[2] = {-1, -1};
    uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<size_t> accepted_{0};
    std::mutex lock_;
    std::vector<int> open_;
    std::vector<std::thread> workers_;
    std::thread thread_;
};

} // namespace peers
