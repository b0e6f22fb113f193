// Cost of the display texts of one quote row, per cell, next to a bare "%.2f" of the same number
// of values: every visible cell of a market list is formatted again at every refresh.
#include "Common/Util.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int cellsPerRow = 8;

struct Quote {
    int newprice, closeprice, highprice, lowprice, vol, amount;
};

// Rows with varied magnitudes, so that every unit band of the formatters is crossed.
std::vector<Quote> quotes() {
    std::vector<Quote> rows;
    for (int i = 0; i < 64; ++i) {
        int close = 500 + i * 397;
        rows.push_back(
            {close + (i % 7 - 3) * 13, close, close + 50, close - 40, 3000 + i * i * 99991, 800 + i * 12345});
    }
    return rows;
}

void perCell(benchmark::State &state) {
    state.SetItemsProcessed(int64_t(state.iterations()) * cellsPerRow);
}

void BM_PrintfBaseline(benchmark::State &state) {
    const auto rows = quotes();
    size_t i = 0;
    for (auto _ : state) {
        const Quote &q = rows[i++ % rows.size()];
        for (int v :
             {q.newprice, q.closeprice, q.highprice, q.lowprice, q.vol, q.amount, q.newprice, q.lowprice}) {
            char buffer[64];
            int n = std::snprintf(buffer, sizeof buffer, "%.2f", v / 100.0);
            std::string text(buffer, size_t(n));
            benchmark::DoNotOptimize(text.data());
        }
    }
    perCell(state);
}

void BM_QuoteRowCells(benchmark::State &state) {
    const auto rows = quotes();
    size_t i = 0;
    for (auto _ : state) {
        const Quote &q = rows[i++ % rows.size()];
        std::string cells[cellsPerRow] = {
            Util::FormatPrice(q.newprice, 2),
            Util::FormatZDString(q.newprice, q.closeprice, 2),
            Util::FormatZAFString(q.newprice, q.closeprice, true),
            Util::FormatPrice(q.highprice, 2),
            Util::FormatPrice(q.lowprice, 2),
            Util::FormatVolume(q.vol, 6, 2),
            Util::FormatAmount(q.amount, 2),
            Util::FormatZEFString(q.lowprice, q.highprice, true),
        };
        benchmark::DoNotOptimize(cells);
    }
    perCell(state);
}

} // namespace

BENCHMARK(BM_PrintfBaseline);
BENCHMARK(BM_QuoteRowCells);
