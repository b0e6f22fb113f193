// Every indicator of the engine recalculated over 10,000 candles, next to a plain loop computing a
// 5-period moving average over the same candles: the engine's whole set should stay within 20
// times the plain loop. Also the first calculation over a list just loaded, whose candles get their
// records then: within 3 ms.
#include "TechIndex.h"

#include <benchmark/benchmark.h>

#include <random>

#include <sys/resource.h>

namespace {

constexpr int CandleCount = 10000;

base::Ref<KLineList> randomCandles() {
    std::mt19937 random(3);
    std::uniform_int_distribution<int> move(-40, 40), range(0, 30), volume(50000, 900000);
    auto list = base::make<KLineList>();
    int32_t close = 1500;
    for (int i = 0; i < CandleCount; ++i) {
        auto candle = base::make<KLineItem>();
        candle->time = 20000101 + i;
        candle->openprice = std::max(100, close + move(random) / 4);
        candle->closeprice = std::max(100, candle->openprice + move(random));
        candle->highprice = std::max(candle->openprice, candle->closeprice) + range(random);
        candle->lowprice = std::min(candle->openprice, candle->closeprice) - range(random);
        candle->vol = volume(random);
        candle->backupPrices();
        close = candle->closeprice;
        list->push_back(candle);
    }
    return list;
}

void BM_PlainMA5Baseline(benchmark::State &state) {
    auto list = randomCandles();
    std::vector<float> averages(list->size());
    for (auto _ : state) {
        int64_t sum = 0;
        for (size_t i = 0; i < list->size(); ++i) {
            sum += (*list)[i]->closeprice;
            if (i >= 5)
                sum -= (*list)[i - 5]->closeprice;
            averages[i] = i >= 4 ? float(sum) / 5 : 0;
        }
        benchmark::DoNotOptimize(averages.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * CandleCount);
}

// The main pane's two indicators and the sub-pane's eight, as the chart offers them.
std::vector<base::Ref<TechIndex>> allIndicators() {
    const int32_t mainTypes[] = {TechIndex::MA, TechIndex::BOLL};
    const int32_t subTypes[] = {TechIndex::VOL,  TechIndex::MACD, TechIndex::KDJ, TechIndex::RSI,
                                TechIndex::BIAS, TechIndex::CCI,  TechIndex::WR,  TechIndex::DMA};
    std::vector<base::Ref<TechIndex>> indicators;
    for (int32_t type : mainTypes)
        indicators.push_back(base::make<TechIndex>(type, TechIndex::MainClass));
    for (int32_t type : subTypes)
        indicators.push_back(base::make<TechIndex>(type, TechIndex::SubClass));
    return indicators;
}

// Recalculation: the candles already hold their records from an earlier pass.
void BM_AllIndicators(benchmark::State &state) {
    auto list = randomCandles();
    auto indicators = allIndicators();
    for (auto &tech : indicators)
        tech->calculate(list, 2);
    for (auto _ : state) {
        for (auto &tech : indicators)
            tech->calculate(list, 2);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * CandleCount);
}

// The first calculation over a list just loaded, by indicators just made, as when a chart opens:
// no candle holds a record yet. Loading the list and making the indicators, and freeing the
// previous ones with their records, are left out of the time.
void BM_AllIndicatorsFirstCalculation(benchmark::State &state) {
    std::vector<base::Ref<TechIndex>> indicators;
    base::Ref<KLineList> list;
    for (auto _ : state) {
        state.PauseTiming();
        list = randomCandles();
        indicators = allIndicators();
        state.ResumeTiming();
        for (auto &tech : indicators)
            tech->calculate(list, 2);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * CandleCount);
}

// The same, keeping every list and indicator until the end, so that no memory freed by an earlier
// pass is reused: every page the calculation writes is new to the program, as for the first chart
// it opens. Each page new to the program costs the kernel a fault.
void BM_AllIndicatorsFirstCalculationNewMemory(benchmark::State &state) {
    std::vector<std::vector<base::Ref<TechIndex>>> indicators;
    std::vector<base::Ref<KLineList>> lists;
    long faults = 0;
    for (auto _ : state) {
        state.PauseTiming();
        lists.push_back(randomCandles());
        indicators.push_back(allIndicators());
        rusage before;
        getrusage(RUSAGE_SELF, &before);
        state.ResumeTiming();
        for (auto &tech : indicators.back())
            tech->calculate(lists.back(), 2);
        benchmark::ClobberMemory();
        state.PauseTiming();
        rusage after;
        getrusage(RUSAGE_SELF, &after);
        faults += after.ru_minflt - before.ru_minflt;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * CandleCount);
    state.counters["page_faults"] = benchmark::Counter(double(faults), benchmark::Counter::kAvgIterations);
}

} // namespace

BENCHMARK(BM_PlainMA5Baseline);
BENCHMARK(BM_AllIndicators);
BENCHMARK(BM_AllIndicatorsFirstCalculation)->Unit(benchmark::kMillisecond);
// A bounded count of passes: each keeps its list and records, about 4 MB.
BENCHMARK(BM_AllIndicatorsFirstCalculationNewMemory)->Unit(benchmark::kMillisecond)->Iterations(30);

namespace {

void BM_OneIndicator(benchmark::State &state) {
    auto list = randomCandles();
    auto type = int32_t(state.range(0));
    auto tech = base::make<TechIndex>(type, TechIndex::SubClass);
    tech->calculate(list, 2);
    state.SetLabel(TechIndex::getTechName(type));
    for (auto _ : state) {
        tech->calculate(list, 2);
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(BM_OneIndicator)
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Arg(4)
    ->Arg(5)
    ->Arg(6)
    ->Arg(12)
    ->Arg(13)
    ->Arg(14)
    ->Arg(4096);
