// Deferred-call dispatch and timer firing through the run loop, each read against the baseline of
// calling the same callbacks directly through std::function in the same run.
#include "base/RunLoop.h"
#include "base/Timer.h"
#include "base/VirtualClock.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <vector>

namespace {

using base::Object;
using base::RunLoop;

struct Target : Object {
    void tick() { ++calls; }
    int64_t calls = 0;
};

// Baseline: the callbacks called directly, as many per iteration as the loop runs below.
void Baseline_DirectCalls(benchmark::State &state) {
    auto target = base::make<Target>();
    std::vector<std::function<void(Object *)>> calls(size_t(state.range(0)),
                                                     [t = target.get()](Object *) { t->tick(); });
    for (auto _ : state) {
        for (auto &call : calls)
            call(nullptr);
        benchmark::DoNotOptimize(target->calls);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(Baseline_DirectCalls)->Arg(1000);

// Schedules a batch of zero-delay calls on one target and runs the pass that dispatches them.
void DeferredCallDispatch(benchmark::State &state) {
    RunLoop &loop = RunLoop::main();
    auto target = base::make<Target>();
    for (auto _ : state) {
        for (int64_t i = 0; i < state.range(0); ++i)
            loop.performAfter(0, BASE_ACTION(target.get(), tick));
        loop.runOnce(RunLoop::Default, 0);
    }
    if (target->calls != state.iterations() * state.range(0))
        state.SkipWithError("not every deferred call ran");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(DeferredCallDispatch)->Arg(1000);

// Repeating timers under a virtual clock: each iteration advances far enough for range(0) firings
// spread over range(1) timers.
void TimerFiring(benchmark::State &state) {
    base::VirtualClock clock;
    base::Clock::setCurrent(&clock);
    auto target = base::make<Target>();
    const int64_t timerCount = state.range(1);
    std::vector<base::Ref<base::Timer>> timers;
    for (int64_t i = 0; i < timerCount; ++i)
        timers.push_back(
            base::Timer::scheduled(0.001 * double(timerCount), true, BASE_ACTION(target.get(), tick)));
    const double span = 0.001 * double(state.range(0));
    for (auto _ : state)
        clock.advance(span);
    for (auto &timer : timers)
        timer->invalidate();
    base::Clock::setCurrent(nullptr);
    state.SetItemsProcessed(target->calls);
}
BENCHMARK(TimerFiring)->Args({1000, 1})->Args({1000, 50});

} // namespace
