// Expansion of bit-coded chart replies, in output bytes per second, next to zlib inflating a
// reply of the same output size: a full trading day of minutes and a page of 200 day candles. The
// expansion should give its output at least 1.3 times as fast as zlib ("vs_zlib").
#include "peers/ChartFrameWriter.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <chrono>
#include <random>

namespace {

using namespace chartframes;

// A day of minutes on the two Shanghai sessions, prices drifting by a few ticks.
base::Data fullDayFrame() {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> tick(-3, 3), volume(0, 4000);
    MinFrame layout;
    layout.hold = true;
    layout.position = 241;
    layout.count = 241;
    Minute minute{1500, 0, 1500, 80000};
    for (int i = 0; i < 241; ++i) {
        minute.price += tick(random);
        minute.totalVol += volume(random);
        minute.ave += tick(random) / 2;
        minute.holdVol += tick(random) * 10;
        layout.coded.push_back(minute);
    }
    return codedMinFrame(layout);
}

base::Data candlePageFrame() {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> move(-40, 40), range(0, 30), volume(50000, 900000);
    std::vector<Candle> candles;
    int32_t close = 1500;
    for (int i = 0; i < 200; ++i) {
        Candle c;
        c.time = 20120101 + i;
        c.open = close + move(random) / 4;
        c.close = c.open + move(random);
        c.high = std::max(c.open, c.close) + range(random);
        c.low = std::min(c.open, c.close) - range(random);
        c.vol = volume(random);
        c.amount = c.vol / 7;
        close = c.close;
        candles.push_back(c);
    }
    return codedKLineFrame(7, false, candles);
}

template <class Expand> std::vector<uint8_t> expandOnce(const base::Data &frame, Expand expand) {
    uint32_t size = 0;
    expand(frame.span(), std::span<uint8_t>(), size);
    std::vector<uint8_t> out(size);
    expand(frame.span(), out, size);
    return out;
}

// The frame deflated at zlib's default level.
std::vector<uint8_t> deflated(const std::vector<uint8_t> &plain) {
    uLongf size = compressBound(uLong(plain.size()));
    std::vector<uint8_t> out(size);
    compress2(out.data(), &size, plain.data(), uLong(plain.size()), Z_DEFAULT_COMPRESSION);
    out.resize(size);
    return out;
}

int expandMin(ByteView frame, std::span<uint8_t> out, uint32_t &size) {
    return NewExpandMinData(frame, out, size, nullptr);
}

template <class Expand>
void expandBench(benchmark::State &state, const base::Data &frame, Expand expand, int records) {
    std::vector<uint8_t> out = expandOnce(frame, expand);
    state.SetLabel(std::to_string(frame.length()) + " coded bytes");
    for (auto _ : state) {
        uint32_t size = 0;
        if (expand(frame.span(), out, size) != records)
            state.SkipWithError("records missing");
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
}

// zlib inflating the same expanded frame from its deflated form.
template <class Expand> void inflateBench(benchmark::State &state, const base::Data &frame, Expand expand) {
    std::vector<uint8_t> plain = expandOnce(frame, expand);
    std::vector<uint8_t> packed = deflated(plain);
    state.SetLabel(std::to_string(packed.size()) + " deflated bytes");
    std::vector<uint8_t> out(plain.size());
    for (auto _ : state) {
        uLongf outSize = uLongf(out.size());
        benchmark::DoNotOptimize(uncompress(out.data(), &outSize, packed.data(), uLong(packed.size())));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(plain.size()));
}

// The expansion and zlib's inflation taking turns, a few of each per iteration, so that both meet
// the same load on the machine: the time is the expansion's, and "vs_zlib" is its output rate as a
// multiple of zlib's (zlib's time over the expansion's).
template <class Expand>
void expandVsInflateBench(benchmark::State &state, const base::Data &frame, Expand expand, int records) {
    using Clock = std::chrono::steady_clock;
    constexpr int Turns = 8;
    std::vector<uint8_t> plain = expandOnce(frame, expand);
    std::vector<uint8_t> packed = deflated(plain);
    std::vector<uint8_t> out(plain.size());
    double expandSeconds = 0, inflateSeconds = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        for (int i = 0; i < Turns; ++i) {
            uint32_t size = 0;
            if (expand(frame.span(), out, size) != records)
                state.SkipWithError("records missing");
            benchmark::ClobberMemory();
        }
        auto middle = Clock::now();
        for (int i = 0; i < Turns; ++i) {
            uLongf outSize = uLongf(out.size());
            benchmark::DoNotOptimize(uncompress(out.data(), &outSize, packed.data(), uLong(packed.size())));
            benchmark::ClobberMemory();
        }
        auto end = Clock::now();
        double expanding = std::chrono::duration<double>(middle - start).count();
        expandSeconds += expanding;
        inflateSeconds += std::chrono::duration<double>(end - middle).count();
        state.SetIterationTime(expanding / Turns);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(plain.size()));
    state.counters["vs_zlib"] = inflateSeconds / expandSeconds;
}

constexpr int DayMinutes = 241;
constexpr int PageCandles = 200;

void BM_ExpandFullDayMinutes(benchmark::State &state) {
    expandBench(state, fullDayFrame(), expandMin, DayMinutes);
}

void BM_InflateFullDayMinutes(benchmark::State &state) {
    inflateBench(state, fullDayFrame(), expandMin);
}

void BM_ExpandVsInflateFullDayMinutes(benchmark::State &state) {
    expandVsInflateBench(state, fullDayFrame(), expandMin, DayMinutes);
}

void BM_Expand200Candles(benchmark::State &state) {
    expandBench(state, candlePageFrame(), NewExpandKLineData, PageCandles);
}

void BM_Inflate200Candles(benchmark::State &state) {
    inflateBench(state, candlePageFrame(), NewExpandKLineData);
}

void BM_ExpandVsInflate200Candles(benchmark::State &state) {
    expandVsInflateBench(state, candlePageFrame(), NewExpandKLineData, PageCandles);
}

} // namespace

BENCHMARK(BM_ExpandFullDayMinutes);
BENCHMARK(BM_InflateFullDayMinutes);
BENCHMARK(BM_ExpandVsInflateFullDayMinutes)->UseManualTime()->Repetitions(5);
BENCHMARK(BM_Expand200Candles);
BENCHMARK(BM_Inflate200Candles);
BENCHMARK(BM_ExpandVsInflate200Candles)->UseManualTime()->Repetitions(5);
