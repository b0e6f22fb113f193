// A page of 50 rows of a market list, asked of the loopback quote server serving the whole market,
// over a loopback socket as the client asks: sorted by rise from the class of all A-shares (about
// 5,000 rows to rank) and from the Shanghai B-shares (50 rows), each with its ranking kept and with
// the ranking made anew after the market moved. The 5,000-row runs report their time per page as a
// multiple of the 50-row run of the same kind measured just before them ("vs_50_rows"); the aim is
// that a page takes under 1 ms either way.
#include "DataBase/ComAPI.h"
#include "DataBase/NTDataPageHead.h"
#include "peers/QuoteServer.h"

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <chrono>
#include <map>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int AllShares = 0;
constexpr int ShanghaiB = 12;
constexpr int RiseField = 1;
constexpr int PageRows = 50;
// The field groups a list screen asks for.
constexpr int ListFlags = 511;

peers::QuoteServer &server() {
    static peers::QuoteServer instance(0, peers::MarketFixture::whole());
    return instance;
}

// Seconds per page of the 50-row runs, by whether the market moves before each page.
std::map<bool, double> smallClassSeconds;

class Client {
public:
    explicit Client(uint16_t port) {
        fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(port);
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connect(fd_, reinterpret_cast<sockaddr *>(&addr), sizeof addr);
    }
    ~Client() { ::close(fd_); }

    // Sends one page request and reads the whole reply; answers its body length.
    size_t page(int classID) {
        base::Data body;
        ComAPI::WriteShort(body, classID);
        ComAPI::WriteShort(body, ListFlags);
        ComAPI::WriteByte(body, RiseField);
        ComAPI::WriteByte(body, 0);
        ComAPI::WriteShort(body, 0);
        ComAPI::WriteShort(body, PageRows);
        base::Data frame;
        NTDataPageHead::append(frame, 1, 2955, 0, body.span());
        ::send(fd_, frame.bytes(), frame.length(), MSG_NOSIGNAL);
        buffer_.clear();
        for (;;) {
            if (auto reply = NTDataFrame::first(buffer_))
                return reply->body().size();
            uint8_t bytes[65536];
            ssize_t n = recv(fd_, bytes, sizeof bytes, 0);
            if (n <= 0)
                return 0;
            buffer_.insert(buffer_.end(), bytes, bytes + n);
        }
    }

private:
    int fd_ = -1;
    std::vector<uint8_t> buffer_;
};

void BM_Page(benchmark::State &state) {
    int classID = int(state.range(0));
    bool moving = state.range(1) != 0;
    Client client(server().port());
    client.page(classID);
    double seconds = 0;
    for (auto _ : state) {
        if (moving) {
            state.PauseTiming();
            server().stepDay();
            state.ResumeTiming();
        }
        auto start = std::chrono::steady_clock::now();
        if (client.page(classID) == 0)
            state.SkipWithError("no reply");
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    double perPage = seconds / double(state.iterations());
    state.counters["ms_per_page"] = perPage * 1000;
    if (classID == ShanghaiB)
        smallClassSeconds[moving] = perPage;
    else if (smallClassSeconds.count(moving))
        state.counters["vs_50_rows"] = perPage / smallClassSeconds[moving];
}

} // namespace

// Arguments: class id, whether the market moves (and the ranking is made anew) before each page.
BENCHMARK(BM_Page)->Args({ShanghaiB, 0})->Args({AllShares, 0})->Args({ShanghaiB, 1})->Args({AllShares, 1});
