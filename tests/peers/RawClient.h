#pragma once

#include "DataBase/NTDataPageHead.h"
#include "base/Data.h"

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

// A plain blocking client socket: writes requests and reads the server's bytes with time limits.
// A test that expects no more bytes waits for the server to be quiet, then reads with 0.
class RawClient {
public:
    explicit RawClient(uint16_t port) {
        fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(port);
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = connect(fd_, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0;
    }
    ~RawClient() { ::close(fd_); }
    RawClient(const RawClient &) = delete;
    RawClient &operator=(const RawClient &) = delete;

    bool connected() const { return connected_; }

    void send(uint8_t seqID, uint16_t type, const base::Data &body = {}, uint16_t attribute = 0) {
        base::Data frame;
        NTDataPageHead::append(frame, seqID, type, attribute, body.span());
        sendBytes(frame.toString());
    }
    void sendBytes(const std::string &bytes) { ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }

    // Everything that arrives within `seconds` (less when the server closes), added to the buffer.
    // With 0, what has already arrived: once the server is quiet, all that it sent.
    std::string readFor(double seconds) {
        auto end = deadline(seconds);
        while (!closed_ && receiveUntil(end)) {
        }
        return takeAll();
    }
    // Waits until at least `length` bytes are buffered; answers what is buffered, leaving it there.
    std::string waitForBytes(size_t length, double seconds = 5.0) {
        auto end = deadline(seconds);
        while (buffer_.size() < length && !closed_ && receiveUntil(end)) {
        }
        return std::string(buffer_.begin(), buffer_.end());
    }
    // The next whole frame (header and body), cut from the buffer.
    std::optional<std::vector<uint8_t>> frame(double seconds = 5.0) {
        auto end = deadline(seconds);
        for (;;) {
            if (auto frame = NTDataFrame::first(buffer_)) {
                std::vector<uint8_t> bytes(frame->bytes().begin(), frame->bytes().end());
                buffer_.erase(buffer_.begin(), buffer_.begin() + std::ptrdiff_t(bytes.size()));
                return bytes;
            }
            if (closed_ || !receiveUntil(end))
                return std::nullopt;
        }
    }
    bool closedByServer() const { return closed_; }

private:
    static std::chrono::steady_clock::time_point deadline(double seconds) {
        return std::chrono::steady_clock::now() +
               std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                   std::chrono::duration<double>(seconds));
    }
    // Receives once; false when the time ran out first (bytes already there are taken even then).
    bool receiveUntil(std::chrono::steady_clock::time_point end) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, int(std::max<int64_t>(left.count(), 0))) <= 0)
            return false;
        uint8_t bytes[65536];
        ssize_t n = recv(fd_, bytes, sizeof bytes, 0);
        if (n <= 0)
            closed_ = true;
        else
            buffer_.insert(buffer_.end(), bytes, bytes + n);
        return true;
    }
    std::string takeAll() {
        std::string all(buffer_.begin(), buffer_.end());
        buffer_.clear();
        return all;
    }

    int fd_ = -1;
    bool connected_ = false;
    bool closed_ = false;
    std::vector<uint8_t> buffer_;
};
