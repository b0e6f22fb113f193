// Decoding cost of the two largest regular replies, per record, next to a plain copy of the same
// bytes: a 30-row market-list page with the list tabs' optional groups, and a 5,000-security code table.
#include "DataBase/ComAPI.h"
#include "DataBase/NTDataPageHead.h"
#include "DataBase/NetData/NetDataCenter.h"
#include "ScratchHome.h"
#include "base/Str.h"
#include "base/Value.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr int StockListType = 2955;
constexpr int listRows = 30;
constexpr int codeRows = 5000;
// Optional groups 0 to 8, as the market list tabs ask for them.
constexpr int listFlags = 511;

base::Data marketListBody() {
    base::Data body;
    ComAPI::WriteShort(body, 104);
    ComAPI::WriteShort(body, listFlags);
    ComAPI::WriteShort(body, 3000);
    ComAPI::WriteShort(body, listRows);
    for (int i = 0; i < listRows; ++i) {
        ComAPI::WriteString(body, base::str::format("SH60%04d", i));
        ComAPI::WriteString(body, "浦发银行");
        ComAPI::WriteByte(body, 2);
        ComAPI::WriteByte(body, 1);
        for (int price : {1000, 1010, 1050 + i, 1080, 990, 123456})
            ComAPI::WriteInt(body, price);
        ComAPI::WriteShort(body, 100);
        ComAPI::WriteInt(body, 987654);
        ComAPI::WriteInt(body, 456789);
        ComAPI::WriteInt(body, 120);
        for (int ratio : {120, 345, -12, -50})
            ComAPI::WriteShort(body, ratio);
        ComAPI::WriteByte(body, 3);
        ComAPI::WriteInt(body, 1234);
        ComAPI::WriteInt(body, 234);
    }
    return body;
}

// The page's reply frame: the 7-byte header, then the body.
base::Data marketListFrame() {
    base::Data body = marketListBody();
    base::Data frame;
    NTDataPageHead::append(frame, 1, StockListType, 0, body.span());
    return frame;
}

base::Data codeTableRecords() {
    base::Data records;
    for (int i = 0; i < codeRows; ++i) {
        ComAPI::WriteString(records, base::str::format("SZ%06d", i));
        ComAPI::WriteString(records, "平安银行");
        ComAPI::WriteString(records, "PAYH");
    }
    return records;
}

void perRecord(benchmark::State &state, int records) {
    state.counters["per_record"] = benchmark::Counter(records, benchmark::Counter::kIsIterationInvariantRate |
                                                                   benchmark::Counter::kInvert);
}

void copyBytes(benchmark::State &state, const base::Data &bytes, int records) {
    std::vector<uint8_t> target(bytes.length());
    for (auto _ : state) {
        std::memcpy(target.data(), bytes.bytes(), bytes.length());
        benchmark::ClobberMemory();
    }
    perRecord(state, records);
}

// The page as the message layer parses it: one reply frame through NetDataCenter's list parser,
// filling the requester's rows in place as a refresh of the page does.
void BM_MarketListDecode(benchmark::State &state) {
    useScratchHomeUnlessSet();
    auto center = NetDataCenter::create();
    base::Data frame = marketListFrame();
    auto rows = base::make<StockQuoteList>();
    auto params = base::make<ReqParams>(ReqParams{{"fillType", 0}});
    params->setObject("rspArray", rows);
    state.SetLabel(base::str::format("%d bytes", int(frame.length())));
    for (auto _ : state) {
        center->ParseStockListCom(frame.span(), params);
        benchmark::DoNotOptimize(rows->items.data());
    }
    if (rows->items.size() != size_t(listRows) || rows->items.back()->shijingRate != 234)
        state.SkipWithError("the page was not read whole");
    perRecord(state, listRows);
}

void BM_MarketListMemcpy(benchmark::State &state) {
    copyBytes(state, marketListFrame(), listRows);
}

void BM_CodeTableDecode(benchmark::State &state) {
    base::Data records = codeTableRecords();
    state.SetLabel(base::str::format("%d bytes", int(records.length())));
    for (auto _ : state) {
        uint32_t pos = 0;
        base::Array lib;
        ComAPI::ReadRows(records.span(), pos, codeRows, [&](int64_t) {
            base::Dict entry;
            entry.set("SCode", ComAPI::ReadString(records.span(), pos));
            entry.set("SName", ComAPI::ReadString(records.span(), pos));
            entry.set("SPinY", ComAPI::ReadString(records.span(), pos));
            lib.add(entry);
        });
        benchmark::DoNotOptimize(lib.size());
    }
    perRecord(state, codeRows);
}

void BM_CodeTableMemcpy(benchmark::State &state) {
    copyBytes(state, codeTableRecords(), codeRows);
}

} // namespace

BENCHMARK(BM_MarketListDecode);
BENCHMARK(BM_MarketListMemcpy);
BENCHMARK(BM_CodeTableDecode);
BENCHMARK(BM_CodeTableMemcpy);
