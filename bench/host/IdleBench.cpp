// CPU time of the SDL host over 10 s of real time with nothing changing on screen, read against the
// same host drawing one frame a second: an idle window should draw nothing and wake for nothing
// (goal: under 0.2 % of a core, the "cpu_percent" counter). Runs in a window on the display when
// there is one (start it under Xvfb to measure the real driver), else on SDL's display-less driver.
// SDL may not open a second window in one process on a real display: run each case on its own
// (--benchmark_filter).
#include "base/Clock.h"
#include "base/RunLoop.h"
#include "base/Timer.h"
#include "host/Sdl.h"
#include "ui/Application.h"
#include "ui/Label.h"
#include "ui/Window.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>

namespace {

constexpr double Seconds = 10;

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

void runWindow(benchmark::State &state, bool tick) {
    if (!std::getenv("DISPLAY"))
        setenv("SDL_VIDEODRIVER", "dummy", 1);
    host::Sdl sdl;
    auto window = base::make<ui::Window>(gfx::Rect{0, 0, 1024, 768});
    window->setBackgroundColor(gfx::Color::white());
    auto label = base::make<ui::Label>(gfx::Rect{20, 20, 300, 30});
    label->setText("上证指数 3050.12");
    window->addSubview(label);
    window->makeKeyAndVisible();
    if (!sdl.open("idle")) {
        state.SkipWithError("SDL cannot open a window");
        return;
    }
    // The first frame (and the display driver's start) is not part of what is measured.
    for (double end = base::Clock::current().monotonic() + 1;
         sdl.framesPresented() == 0 && base::Clock::current().monotonic() < end;)
        base::RunLoop::main().runOnce(base::RunLoop::Default, 0.1);
    base::Ref<base::Timer> marker;
    int ticks = 0;
    if (tick)
        marker =
            base::Timer::scheduled(1, true, base::Action("mark", [&](base::Object *) {
                                       label->setText(++ticks % 2 ? "上证指数 3050.13" : "上证指数 3050.12");
                                   }));
    double cpu = 0;
    for (auto _ : state) {
        double startCpu = cpuSeconds();
        double end = base::Clock::current().monotonic() + Seconds;
        for (double now = base::Clock::current().monotonic(); now < end;
             now = base::Clock::current().monotonic())
            base::RunLoop::main().runOnce(base::RunLoop::Default, end - now);
        cpu += cpuSeconds() - startCpu;
    }
    state.counters["frames"] = sdl.framesPresented();
    state.counters["wake_ups"] = sdl.wakeUps();
    state.counters["cpu_percent"] = 100 * cpu / (Seconds * double(state.iterations()));
    if (marker)
        marker->invalidate();
    sdl.close();
    ui::Application::shared().removeWindow(window.get());
}

void SdlHostOneFrameASecond(benchmark::State &state) {
    runWindow(state, true);
}
BENCHMARK(SdlHostOneFrameASecond)->Iterations(1)->Unit(benchmark::kSecond);

void SdlHostIdle(benchmark::State &state) {
    runWindow(state, false);
}
BENCHMARK(SdlHostIdle)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
