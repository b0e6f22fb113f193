// Decoding cost of the two largest regular replies, per record, next to a plain copy of the same
// bytes: a 30-row market-list page with the list tabs' optional groups, and a 5,000-security code table.
#include "DataBase/ComAPI.h"
#include "DataBase/NetData/StockQuoteInf.h"
#include "base/Str.h"
#include "base/Value.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

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

base::Ref<StockQuoteInf> readListRow(ByteView body, uint32_t &pos) {
    auto row = base::make<StockQuoteInf>();
    row->code = ComAPI::ReadString(body, pos);
    row->name = ComAPI::ReadString(body, pos);
    row->decimal = ComAPI::ReadByte(body, pos);
    row->type = ComAPI::ReadByte(body, pos);
    row->closeprice = ComAPI::ReadInt(body, pos);
    row->openprice = ComAPI::ReadInt(body, pos);
    row->newprice = ComAPI::ReadInt(body, pos);
    row->highprice = ComAPI::ReadInt(body, pos);
    row->lowprice = ComAPI::ReadInt(body, pos);
    row->amount = ComAPI::ReadInt(body, pos);
    row->sellVolUnit = ComAPI::ReadShort(body, pos);
    row->vol = ComAPI::ReadInt(body, pos);
    row->npSellVol = ComAPI::ReadInt(body, pos);
    row->xianshou = ComAPI::ReadInt(body, pos);
    row->liangbi = ComAPI::ReadShort(body, pos);
    row->huanshou = ComAPI::ReadShort(body, pos);
    row->IncreaseSPD = ComAPI::ReadShort(body, pos);
    row->weibi = ComAPI::ReadShort(body, pos);
    row->noteCount = ComAPI::ReadByte(body, pos);
    row->shiyingRate = ComAPI::ReadInt(body, pos);
    row->shijingRate = ComAPI::ReadInt(body, pos);
    return row;
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

void BM_MarketListDecode(benchmark::State &state) {
    base::Data body = marketListBody();
    state.SetLabel(base::str::format("%d bytes", int(body.length())));
    for (auto _ : state) {
        uint32_t pos = 6;
        int64_t count = ComAPI::ReadShort(body.span(), pos);
        std::vector<base::Ref<StockQuoteInf>> rows;
        rows.reserve(size_t(count));
        ComAPI::ReadRows(body.span(), pos, count,
                         [&](int64_t) { rows.push_back(readListRow(body.span(), pos)); });
        benchmark::DoNotOptimize(rows.data());
    }
    perRecord(state, listRows);
}

void BM_MarketListMemcpy(benchmark::State &state) {
    copyBytes(state, marketListBody(), listRows);
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
