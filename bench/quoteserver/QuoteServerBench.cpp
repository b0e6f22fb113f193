// A page of 50 rows of a market list, asked of the loopback quote server serving the whole market,
// over a loopback socket as the client asks: sorted by rise from the class of all A-shares (about
// 5,000 rows to rank) and from the Shanghai B-shares (50 rows), each with its ranking kept and with
// the ranking made anew after the market moved. The 5,000-row runs report their time per page as a
// multiple of the 50-row run of the same kind measured just before them ("vs_50_rows"); the aim is
// that a page takes under 1 ms either way.
#include "DataBase/ComAPI.h"
#include "peers/QuoteServer.h"
#include "peers/RawClient.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <map>

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

// Sends one page request on `client` and reads the whole reply; answers its frame's length.
size_t page(RawClient &client, int classID) {
    base::Data body;
    ComAPI::WriteShort(body, classID);
    ComAPI::WriteShort(body, ListFlags);
    ComAPI::WriteByte(body, RiseField);
    ComAPI::WriteByte(body, 0);
    ComAPI::WriteShort(body, 0);
    ComAPI::WriteShort(body, PageRows);
    client.send(1, 2955, body);
    auto reply = client.frame();
    return reply ? reply->size() : 0;
}

void BM_Page(benchmark::State &state) {
    int classID = int(state.range(0));
    bool moving = state.range(1) != 0;
    RawClient client(server().port());
    page(client, classID);
    double seconds = 0;
    for (auto _ : state) {
        if (moving) {
            state.PauseTiming();
            server().stepDay();
            state.ResumeTiming();
        }
        auto start = std::chrono::steady_clock::now();
        if (page(client, classID) == 0)
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
