// Frames of a chart-like scene (120 candles with gradient bodies, wicks, moving averages, a dashed
// grid and axis texts) drawn into a 1024 × 768 surface, read against the baseline of one plain
// full-surface fill in the same run. A screen needs 60 frames a second.
#include "gfx/Context.h"
#include "gfx/Gradient.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace gfx;

constexpr int Width = 1024, Height = 768, Candles = 120;

struct Candle {
    float open, close, high, low;
};

std::vector<Candle> makeCandles() {
    std::vector<Candle> candles;
    float price = 10;
    for (int i = 0; i < Candles; ++i) {
        float open = price, close = price + std::sin(i * 0.7f) * 0.4f;
        candles.push_back({open, close, std::max(open, close) + 0.2f, std::min(open, close) - 0.2f});
        price = close;
    }
    return candles;
}

void drawScene(Context &c, const std::vector<Candle> &candles) {
    static const auto background = Color::black();
    static const auto grid = Color::rgba(47 / 255.f, 47 / 255.f, 47 / 255.f, 1);
    static const auto rise = Color::rgba(231 / 255.f, 64 / 255.f, 83 / 255.f, 1);
    static const auto fall = Color::rgba(52 / 255.f, 172 / 255.f, 230 / 255.f, 1);
    static const auto average = Color::rgba(254 / 255.f, 231 / 255.f, 114 / 255.f, 1);
    static const auto text = Color::rgba(192 / 255.f, 192 / 255.f, 192 / 255.f, 1);
    static const float riseStops[] = {1,          0.5f, 0.5f, 1,    231 / 255.f, 64 / 255.f,
                                      83 / 255.f, 1,    0.6f, 0.1f, 0.2f,        1};
    static const auto riseGradient = Gradient::deviceRgb(riseStops, 3);
    static const auto font = Font::system(12);

    c.setFill(*background);
    c.fillRect({0, 0, Width, Height});
    Rect chart{60, 20, Width - 80, Height - 80};
    c.save();
    const float dash[] = {3, 3};
    c.setDash(dash);
    c.setStroke(*grid);
    for (int i = 0; i <= 8; ++i) {
        float y = std::floor(chart.y() + chart.height() * i / 8) + 0.5f;
        c.beginPath();
        c.moveTo({chart.x(), y});
        c.lineTo({chart.maxX(), y});
        c.strokePath();
    }
    c.restore();

    float low = 1e9, high = -1e9;
    for (const Candle &k : candles)
        low = std::min(low, k.low), high = std::max(high, k.high);
    auto yOf = [&](float price) { return chart.maxY() - (price - low) / (high - low) * chart.height(); };
    float pitch = chart.width() / Candles;
    std::vector<Point> ma;
    for (int i = 0; i < Candles; ++i) {
        const Candle &k = candles[size_t(i)];
        float x = chart.x() + i * pitch, mid = std::floor(x + pitch / 2) + 0.5f;
        bool rising = k.close >= k.open;
        c.setStroke(rising ? *rise : *fall);
        c.beginPath();
        c.moveTo({mid, yOf(k.high)});
        c.lineTo({mid, yOf(k.low)});
        c.strokePath();
        Rect body{x + 1, yOf(std::max(k.open, k.close)), pitch - 2,
                  std::max(1.f, std::abs(yOf(k.open) - yOf(k.close)))};
        if (rising) {
            c.save();
            c.clipToRect(body);
            c.drawLinearGradient(*riseGradient, body.o, {body.maxX(), body.y()});
            c.restore();
        } else {
            c.setFill(*fall);
            c.fillRect(body);
        }
        ma.push_back({mid, yOf((k.open + k.close) / 2)});
    }
    c.setStroke(*average);
    c.beginPath();
    c.addLines(ma);
    c.strokePath();

    c.setFill(*text);
    for (int i = 0; i <= 8; ++i) {
        char label[16];
        std::snprintf(label, sizeof label, "%.2f", high - (high - low) * i / 8);
        c.drawText(label, Rect{0, chart.y() + chart.height() * i / 8 - 8, 56, 16}, *font, LineBreak::Clip,
                   Align::Right);
    }
    for (int i = 0; i < 6; ++i)
        c.drawText("10:" + std::to_string(10 + i * 8),
                   Rect{chart.x() + i * chart.width() / 6, chart.maxY() + 4, 60, 16}, *font, LineBreak::Clip,
                   Align::Left);
    c.drawText("上证指数 日K", Rect{chart.x(), 2, 200, 16}, *font, LineBreak::Clip, Align::Left);
}

void Baseline_FullSurfaceFill(benchmark::State &state) {
    Surface surface(Width, Height);
    Context c(surface);
    for (auto _ : state) {
        c.setFill(*Color::black());
        c.fillRect({0, 0, Width, Height});
        benchmark::ClobberMemory();
    }
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(Baseline_FullSurfaceFill);

void CandleChartFrame(benchmark::State &state) {
    Surface surface(Width, Height);
    Context c(surface);
    auto candles = makeCandles();
    for (auto _ : state) {
        drawScene(c, candles);
        benchmark::ClobberMemory();
    }
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(CandleChartFrame)->Unit(benchmark::kMillisecond);

} // namespace
