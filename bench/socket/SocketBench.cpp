// Request/reply round trips over loopback against an echoing peer: through RunLoopSocket on the run
// loop, and the same exchange written directly on poll(). The socket's run reports its time per round
// trip as a multiple of the direct one measured just before it ("vs_direct"; the aim is 1.3 or less).
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

double directSecondsPerTrip = 0;

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void waitFor(int fd, short events) {
    pollfd p{fd, events, 0};
    poll(&p, 1, -1);
}

int connectDirect(uint16_t port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0 && errno == EINPROGRESS)
        waitFor(fd, POLLOUT);
    return fd;
}

void BM_DirectPoll(benchmark::State &state) {
    peers::TcpPeer peer({.echo = true});
    int fd = connectDirect(peer.port());
    char request[MessageSize] = {1}, reply[MessageSize];
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        for (size_t sent = 0; sent < MessageSize;) {
            waitFor(fd, POLLOUT);
            ssize_t n = send(fd, request + sent, MessageSize - sent, MSG_NOSIGNAL);
            sent += n > 0 ? size_t(n) : 0;
        }
        for (size_t got = 0; got < MessageSize;) {
            waitFor(fd, POLLIN);
            ssize_t n = recv(fd, reply + got, MessageSize - got, 0);
            got += n > 0 ? size_t(n) : 0;
        }
        benchmark::DoNotOptimize(reply);
    }
    directSecondsPerTrip = secondsSince(start) / double(state.iterations());
    close(fd);
    state.counters["round_trips"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

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

void BM_RunLoopSocket(benchmark::State &state) {
    peers::TcpPeer peer({.echo = true});
    auto client = base::make<EchoClient>();
    auto socket = base::make<RunLoopSocket>(client);
    socket->connectToHost("127.0.0.1", peer.port());
    auto &loop = base::RunLoop::current();
    while (!client->connected)
        loop.runOnce(base::RunLoop::Default, 1.0);
    const base::Data request(std::vector<uint8_t>(MessageSize, 1));
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        client->received = 0;
        socket->writeData(request, 10.0, 1);
        socket->readDataWithTimeout(10.0, 2);
        while (client->received < MessageSize)
            loop.runOnce(base::RunLoop::Default, 1.0);
    }
    const double secondsPerTrip = secondsSince(start) / double(state.iterations());
    socket->disconnect();
    state.counters["round_trips"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    if (directSecondsPerTrip > 0)
        state.counters["vs_direct"] = secondsPerTrip / directSecondsPerTrip;
}

} // namespace

// Registered in this order so that the direct figure exists when the socket's ratio is taken.
BENCHMARK(BM_DirectPoll)->UseRealTime();
BENCHMARK(BM_RunLoopSocket)->UseRealTime();
