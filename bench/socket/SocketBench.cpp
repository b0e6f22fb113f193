// Request/reply round trips over loopback against echoing peers: through RunLoopSocket on the run
// loop, and the same exchange written directly on poll(). The two take turns, one round trip each
// per iteration, so that both meet the same load on the machine; the time is the socket's, and
// "vs_direct" divides it by the direct trips of the same run (the aim is 1.3 or less).
#include "RunLoopSocket.h"
#include "peers/TcpPeer.h"

#include "base/RunLoop.h"

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// About the size of a quote request and of a short reply.
constexpr size_t MessageSize = 64;

using Clock = std::chrono::steady_clock;

double secondsBetween(Clock::time_point start, Clock::time_point end) {
    return std::chrono::duration<double>(end - start).count();
}

void waitFor(int fd, short events) {
    pollfd p{fd, events, 0};
    poll(&p, 1, -1);
}

// The exchange written directly on a non-blocking socket and poll().
class DirectExchange {
public:
    explicit DirectExchange(uint16_t port)
        : fd_(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)) {
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(port);
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (connect(fd_, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0 && errno == EINPROGRESS)
            waitFor(fd_, POLLOUT);
    }
    ~DirectExchange() { close(fd_); }

    void trip() {
        for (size_t sent = 0; sent < MessageSize;) {
            waitFor(fd_, POLLOUT);
            ssize_t n = send(fd_, request_ + sent, MessageSize - sent, MSG_NOSIGNAL);
            sent += n > 0 ? size_t(n) : 0;
        }
        for (size_t got = 0; got < MessageSize;) {
            waitFor(fd_, POLLIN);
            ssize_t n = recv(fd_, reply_ + got, MessageSize - got, 0);
            got += n > 0 ? size_t(n) : 0;
        }
        benchmark::DoNotOptimize(reply_);
    }

private:
    int fd_;
    char request_[MessageSize] = {1};
    char reply_[MessageSize] = {};
};

class EchoClient : public RunLoopSocketDelegate {
public:
    using RunLoopSocketDelegate::onSocket;
    bool connected = false;
    size_t received = 0;

    base::Opt<void> onSocket(RunLoopSocket &, const std::string &, uint16_t) override {
        connected = true;
        return {};
    }
    base::Opt<void> onSocket(RunLoopSocket &socket, const base::Data &data, int32_t tag) override {
        received += data.length();
        // A reply can come in pieces; ask for the rest, as the quote connection does with a frame.
        if (received < MessageSize)
            socket.readDataWithTimeout(10.0, tag);
        return {};
    }
};

// The same exchange through RunLoopSocket on the current run loop.
class SocketExchange {
public:
    explicit SocketExchange(uint16_t port) {
        socket_->connectToHost("127.0.0.1", port);
        while (!client_->connected)
            loop_.runOnce(base::RunLoop::Default, 1.0);
    }
    ~SocketExchange() { socket_->disconnect(); }

    void trip() {
        client_->received = 0;
        socket_->writeData(request_, 10.0, 1);
        socket_->readDataWithTimeout(10.0, 2);
        while (client_->received < MessageSize)
            loop_.runOnce(base::RunLoop::Default, 1.0);
    }

private:
    base::Ref<EchoClient> client_ = base::make<EchoClient>();
    base::Ref<RunLoopSocket> socket_ = base::make<RunLoopSocket>(client_);
    base::RunLoop &loop_ = base::RunLoop::current();
    const base::Data request_{std::vector<uint8_t>(MessageSize, 1)};
};

void BM_RunLoopSocketVsDirect(benchmark::State &state) {
    peers::TcpPeer directPeer({.echo = true}), socketPeer({.echo = true});
    DirectExchange direct(directPeer.port());
    SocketExchange socket(socketPeer.port());
    double directSeconds = 0, socketSeconds = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        direct.trip();
        auto middle = Clock::now();
        socket.trip();
        auto end = Clock::now();
        directSeconds += secondsBetween(start, middle);
        socketSeconds += secondsBetween(middle, end);
        state.SetIterationTime(secondsBetween(middle, end));
    }
    const double trips = double(state.iterations());
    state.counters["round_trips"] = benchmark::Counter(trips / socketSeconds);
    state.counters["direct_us"] = directSeconds / trips * 1e6;
    state.counters["vs_direct"] = socketSeconds / directSeconds;
}

} // namespace

BENCHMARK(BM_RunLoopSocketVsDirect)->UseManualTime()->Repetitions(5);
