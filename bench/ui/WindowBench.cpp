// Full-window frames of 200 labelled views (a quote board), in frames per second, read against a
// baseline in the same run: the same 200 boxes and texts drawn straight through the graphics layer.
// "Redraw" marks every view so each frame runs the display pass in full; "Composite" only puts the
// cached contents together, as a frame where nothing changed does.
#include "base/Str.h"
#include "ui/Label.h"
#include "ui/Window.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int Width = 1024, Height = 768, Columns = 8, Rows = 25;
constexpr float CellW = float(Width) / Columns, CellH = float(Height) / Rows;

std::string text(int i) {
    return base::str::format("%06d %.2f", 600000 + i, 10 + i * 0.01);
}

gfx::Rect cell(int i) {
    return {float(i % Columns) * CellW, float(i / Columns) * CellH, CellW - 2, CellH - 2};
}

void rate(benchmark::State &state) {
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void RawLabels(benchmark::State &state) {
    gfx::Surface surface(Width, Height);
    auto font = gfx::Font::system(14);
    auto back = gfx::Color::rgba(0.1f, 0.12f, 0.18f, 1), ink = gfx::Color::white();
    std::vector<std::string> texts;
    for (int i = 0; i < Columns * Rows; ++i)
        texts.push_back(text(i));
    for (auto _ : state) {
        gfx::Context c(surface);
        c.clearRect({0, 0, Width, Height});
        for (int i = 0; i < Columns * Rows; ++i) {
            gfx::Rect r = cell(i);
            c.setFill(*back);
            c.fillRect(r);
            c.setFill(*ink);
            c.drawText(texts[size_t(i)], r, *font, gfx::LineBreak::TruncateTail, gfx::Align::Center);
        }
    }
    rate(state);
}
BENCHMARK(RawLabels)->Unit(benchmark::kMillisecond);

struct Board {
    base::Ref<ui::Window> window = base::make<ui::Window>(gfx::Rect{0, 0, Width, Height});
    std::vector<base::Ref<ui::Label>> labels;
    Board() {
        for (int i = 0; i < Columns * Rows; ++i) {
            auto box = base::make<ui::View>(cell(i));
            box->setBackgroundColor(gfx::Color::rgba(0.1f, 0.12f, 0.18f, 1));
            auto label = base::make<ui::Label>(gfx::Rect{{0, 0}, cell(i).s});
            label->setText(text(i));
            label->setFont(gfx::Font::system(14));
            label->setTextColor(gfx::Color::white());
            label->setTextAlignment(gfx::Align::Center);
            box->addSubview(label);
            window->addSubview(box);
            labels.push_back(label);
        }
    }
};

void WindowRedraw(benchmark::State &state) {
    Board board;
    gfx::Surface surface(Width, Height);
    for (auto _ : state) {
        for (auto &l : board.labels)
            l->setNeedsDisplay();
        board.window->renderInto(surface);
    }
    rate(state);
}
BENCHMARK(WindowRedraw)->Unit(benchmark::kMillisecond);

void WindowComposite(benchmark::State &state) {
    Board board;
    gfx::Surface surface(Width, Height);
    for (auto _ : state)
        board.window->renderInto(surface);
    rate(state);
}
BENCHMARK(WindowComposite)->Unit(benchmark::kMillisecond);

} // namespace
