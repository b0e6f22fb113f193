// CPU time of the SDL host over 10 s of real time with nothing changing on screen, read against the
// same host drawing one frame a second: an idle window should draw nothing and cost no more than
// the run loop's pumping. Runs on SDL's display-less driver.
#include "base/Clock.h"
#include "base/RunLoop.h"
#include "base/Timer.h"
#include "host/Sdl.h"
#include "ui/Application.h"
#include "ui/Label.h"
#include "ui/Window.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

constexpr double Seconds = 10;

void runWindow(benchmark::State &state, bool tick) {
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
    base::Ref<base::Timer> marker;
    if (tick)
        marker = base::Timer::scheduled(
            1, true, base::Action("mark", [&](base::Object *) { label->setNeedsDisplay(); }));
    for (auto _ : state) {
        double end = base::Clock::current().monotonic() + Seconds;
        for (double now = base::Clock::current().monotonic(); now < end;
             now = base::Clock::current().monotonic())
            base::RunLoop::main().runOnce(base::RunLoop::Default, end - now);
    }
    state.counters["frames"] = sdl.framesPresented();
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
