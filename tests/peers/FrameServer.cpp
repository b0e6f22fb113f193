#include "FrameServer.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <future>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace peers {

namespace {

int listenOn(uint16_t &port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (bind(fd, reinterpret_cast<sockaddr *>(&addr), len) != 0 || listen(fd, 16) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len) != 0) {
        ::close(fd);
        return -1;
    }
    port = ntohs(addr.sin_port);
    return fd;
}

} // namespace

FrameServer::FrameServer(uint16_t port) {
    listener_ = listenOn(port);
    port_ = listener_ < 0 ? 0 : port;
    wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

bool FrameServer::setListening(bool listening) {
    if (port_ == 0)
        return false;
    auto apply = [this, listening] {
        if (!listening && listener_ >= 0) {
            ::close(listener_);
            listener_ = -1;
        } else if (listening && listener_ < 0) {
            uint16_t port = port_;
            listener_ = listenOn(port);
        }
        return (listener_ >= 0) == listening;
    };
    if (!thread_.joinable())
        return apply();
    auto done = std::make_shared<std::promise<bool>>();
    std::future<bool> result = done->get_future();
    command([apply, done] {
        done->set_value(apply());
        return true;
    });
    return result.get();
}

FrameServer::~FrameServer() {
    stop();
    if (listener_ >= 0)
        ::close(listener_);
    ::close(wakeFd_);
}

void FrameServer::start(Handler handler) {
    if (listener_ < 0 || thread_.joinable())
        return;
    handler_ = std::move(handler);
    thread_ = std::thread([this] { run(); });
}

void FrameServer::stop() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake();
    if (thread_.joinable())
        thread_.join();
    for (auto &conn : conns_)
        closeConnection(*conn);
    conns_.clear();
}

void FrameServer::addFault(Fault fault) {
    std::lock_guard lock(mutex_);
    faults_.push_back(std::move(fault));
}

void FrameServer::clearFaults() {
    std::lock_guard lock(mutex_);
    faults_.clear();
}

void FrameServer::resume() {
    command([this] {
        for (auto &conn : conns_)
            for (Chunk &chunk : conn->output)
                chunk.wait = std::max(chunk.wait, 0.0);
        return true;
    });
}

void FrameServer::push(const Frame &frame) {
    pushBytes(frame.encode());
}

void FrameServer::pushBytes(std::string bytes) {
    command([this, bytes = std::move(bytes)] {
        Connection *conn = newest();
        if (conn)
            conn->output.push_back(Chunk(bytes));
        return conn != nullptr;
    });
}

void FrameServer::closeConnection() {
    command([this] {
        Connection *conn = newest();
        if (conn)
            conn->output.push_back(Chunk::closing());
        return conn != nullptr;
    });
}

std::vector<ReceivedFrame> FrameServer::received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

std::vector<ReceivedFrame> FrameServer::received(uint16_t type) const {
    std::lock_guard lock(mutex_);
    std::vector<ReceivedFrame> frames;
    std::copy_if(received_.begin(), received_.end(), std::back_inserter(frames),
                 [type](const ReceivedFrame &frame) { return frame.type == type; });
    return frames;
}

size_t FrameServer::receivedCount(uint16_t type) const {
    std::lock_guard lock(mutex_);
    return size_t(std::count_if(received_.begin(), received_.end(),
                                [type](const ReceivedFrame &frame) { return frame.type == type; }));
}

void FrameServer::clearReceived() {
    std::lock_guard lock(mutex_);
    received_.clear();
}

int FrameServer::acceptedConnections() const {
    std::lock_guard lock(mutex_);
    return accepted_;
}

int FrameServer::openConnections() const {
    std::lock_guard lock(mutex_);
    return open_;
}

bool FrameServer::waitForRequests(uint16_t type, size_t count, double seconds) {
    return waitUntil(seconds, [&] {
        return size_t(std::count_if(received_.begin(), received_.end(), [type](const ReceivedFrame &frame) {
                   return frame.type == type;
               })) >= count;
    });
}

bool FrameServer::waitForConnections(int accepted, double seconds) {
    return waitUntil(seconds, [&] { return accepted_ >= accepted; });
}

bool FrameServer::waitForOpenConnections(int open, double seconds) {
    return waitUntil(seconds, [&] { return open_ == open; });
}

bool FrameServer::quiet() {
    if (!thread_.joinable())
        return true;
    auto answer = std::make_shared<std::promise<bool>>();
    std::future<bool> result = answer->get_future();
    command([this, answer] {
        answer->set_value(nothingToDo());
        return true;
    });
    return result.get();
}

// The question waits among the server's commands until a round ends with nothing to do, so the
// server's own poll does the waiting.
bool FrameServer::waitForQuiet(double seconds) {
    if (!thread_.joinable())
        return true;
    auto answer = std::make_shared<std::promise<void>>();
    std::future<void> result = answer->get_future();
    command([this, answer] {
        if (!nothingToDo())
            return false;
        answer->set_value();
        return true;
    });
    return result.wait_for(std::chrono::duration<double>(seconds)) == std::future_status::ready;
}

// On the server thread, after the reads and commands of its current round: a reply queued in that
// round and not flushed yet counts as work, as does one waiting for its time.
bool FrameServer::nothingToDo() const {
    std::vector<pollfd> fds;
    if (listener_ >= 0)
        fds.push_back({listener_, POLLIN, 0});
    for (const auto &conn : conns_) {
        if (conn->fd < 0)
            continue;
        const std::deque<Chunk> &out = conn->output;
        if (!out.empty() && !(out.front().wait < 0 && !out.front().due))
            return false;
        fds.push_back({conn->fd, POLLIN, 0});
    }
    return poll(fds.data(), fds.size(), 0) == 0;
}

bool FrameServer::waitUntil(double seconds, const std::function<bool()> &pred) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::duration<double>(seconds), pred);
}

std::deque<FrameServer::Chunk> FrameServer::shape(const Frame &reply, const std::optional<Fault> &fault) {
    if (!fault)
        return std::deque<Chunk>{Chunk(reply.encode())};
    if (fault->silent)
        return {};
    Frame altered = reply;
    altered.seqID = fault->seqID.value_or(reply.seqID);
    altered.type = fault->replyType.value_or(reply.type);
    if (fault->bodyBytes && *fault->bodyBytes < altered.body.length())
        altered.body.resize(*fault->bodyBytes);
    std::string bytes = fault->before + altered.encode(fault->announcedLength);
    if (fault->thenReply)
        bytes += reply.encode();
    bytes += fault->after;
    if (fault->closeAfter && *fault->closeAfter < bytes.size())
        bytes.resize(*fault->closeAfter);

    std::deque<Chunk> chunks;
    if (fault->splitAfter > 0 && fault->splitAfter < bytes.size()) {
        chunks.push_back(Chunk(bytes.substr(0, fault->splitAfter), fault->delay));
        chunks.push_back(Chunk(bytes.substr(fault->splitAfter), fault->pause));
    } else {
        chunks.push_back(Chunk(bytes, fault->delay));
    }
    if (fault->closeAfter)
        chunks.push_back(Chunk::closing());
    return chunks;
}

std::optional<Fault> FrameServer::takeFault(uint16_t type) {
    std::lock_guard lock(mutex_);
    auto it = std::find_if(faults_.begin(), faults_.end(),
                           [type](const Fault &fault) { return fault.type == 0 || fault.type == type; });
    if (it == faults_.end())
        return std::nullopt;
    Fault fault = *it;
    if (it->times > 0 && --it->times == 0)
        faults_.erase(it);
    return fault;
}

void FrameServer::run() {
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (stop_)
                return;
        }
        std::vector<pollfd> fds{{wakeFd_, POLLIN, 0}, {listener_, POLLIN, 0}};
        for (auto &conn : conns_) {
            bool ready = !conn->output.empty() && conn->output.front().due &&
                         *conn->output.front().due <= std::chrono::steady_clock::now();
            fds.push_back({conn->fd, short(POLLIN | (ready ? POLLOUT : 0)), 0});
        }
        poll(fds.data(), fds.size(), pollTimeout());
        uint64_t count;
        [[maybe_unused]] ssize_t n = read(wakeFd_, &count, sizeof count);
        for (size_t i = 2; i < fds.size(); ++i)
            if (fds[i].revents & (POLLIN | POLLHUP | POLLERR))
                readFrom(*conns_[i - 2]);
        if (fds[1].revents & POLLIN)
            acceptOne();
        serviceCommands();
        for (auto &conn : conns_)
            flush(*conn);
        std::erase_if(conns_, [](const auto &conn) { return conn->fd < 0; });
        // Commands still waiting look again at what the flush left, before the poll sleeps.
        serviceCommands();
    }
}

// Until the earliest chunk that waits for its time; chunks already due wait for room to write.
int FrameServer::pollTimeout() const {
    auto now = std::chrono::steady_clock::now();
    std::optional<TimePoint> earliest;
    for (const auto &conn : conns_) {
        if (conn->output.empty() || !conn->output.front().due || *conn->output.front().due <= now)
            continue;
        TimePoint due = *conn->output.front().due;
        earliest = earliest ? std::min(*earliest, due) : due;
    }
    if (!earliest)
        return -1;
    return int(std::chrono::ceil<std::chrono::milliseconds>(*earliest - now).count());
}

void FrameServer::acceptOne() {
    int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0)
        return;
    int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    auto conn = std::make_unique<Connection>();
    conn->fd = fd;
    {
        std::lock_guard lock(mutex_);
        conn->number = ++accepted_;
        ++open_;
    }
    conns_.push_back(std::move(conn));
    changed_.notify_all();
}

void FrameServer::readFrom(Connection &conn) {
    if (conn.fd < 0)
        return;
    uint8_t buffer[65536];
    ssize_t n = recv(conn.fd, buffer, sizeof buffer, 0);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (n <= 0) {
        closeConnection(conn);
        return;
    }
    // Acknowledged at once rather than after the delayed-acknowledgement wait: a client that wrote
    // a second small request behind an unacknowledged one holds it back until then, and a test
    // that drives its client until both sides are quiet would take that real wait for silence.
    int on = 1;
    setsockopt(conn.fd, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
    conn.input.insert(conn.input.end(), buffer, buffer + n);
    while (auto request = takeRequest(conn.input)) {
        request->connection = conn.number;
        answer(conn, *request);
    }
}

void FrameServer::answer(Connection &conn, const ReceivedFrame &request) {
    {
        std::lock_guard lock(mutex_);
        received_.push_back(request);
    }
    changed_.notify_all();
    if (std::optional<Frame> reply = handler_(request)) {
        std::deque<Chunk> chunks = shape(*reply, takeFault(request.type));
        std::move(chunks.begin(), chunks.end(), std::back_inserter(conn.output));
    }
}

void FrameServer::flush(Connection &conn) {
    while (conn.fd >= 0 && !conn.output.empty()) {
        Chunk &chunk = conn.output.front();
        auto now = std::chrono::steady_clock::now();
        if (!chunk.due) {
            if (chunk.wait < 0)
                return;
            chunk.due = now + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                  std::chrono::duration<double>(chunk.wait));
        }
        if (*chunk.due > now)
            return;
        while (chunk.sent < chunk.bytes.size()) {
            ssize_t n = ::send(conn.fd, chunk.bytes.data() + chunk.sent, chunk.bytes.size() - chunk.sent,
                               MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                return;
            if (n <= 0) {
                closeConnection(conn);
                return;
            }
            chunk.sent += size_t(n);
        }
        if (chunk.close) {
            closeConnection(conn);
            return;
        }
        conn.output.pop_front();
    }
}

void FrameServer::closeConnection(Connection &conn) {
    if (conn.fd < 0)
        return;
    ::close(conn.fd);
    conn.fd = -1;
    conn.output.clear();
    {
        std::lock_guard lock(mutex_);
        --open_;
    }
    changed_.notify_all();
}

FrameServer::Connection *FrameServer::newest() {
    for (auto it = conns_.rbegin(); it != conns_.rend(); ++it)
        if ((*it)->fd >= 0)
            return it->get();
    return nullptr;
}

void FrameServer::command(std::function<bool()> action) {
    {
        std::lock_guard lock(mutex_);
        commands_.push_back(std::move(action));
    }
    wake();
}

// Runs the queued commands; those that need a connection while none is open wait, in order.
void FrameServer::serviceCommands() {
    std::deque<std::function<bool()>> waiting;
    for (;;) {
        std::function<bool()> action;
        {
            std::lock_guard lock(mutex_);
            if (commands_.empty()) {
                commands_ = std::move(waiting);
                return;
            }
            action = std::move(commands_.front());
            commands_.pop_front();
        }
        if (!action())
            waiting.push_back(std::move(action));
    }
}

void FrameServer::wake() {
    uint64_t one = 1;
    [[maybe_unused]] ssize_t n = write(wakeFd_, &one, sizeof one);
}

} // namespace peers
