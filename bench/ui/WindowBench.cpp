// Frames of a window laid out like the stock detail screen (a title bar, a quote panel of 40 labels
// in a rounded box, a table of 10 rows of 5 labels, a line chart with its grid and a tab bar), each
// read against a baseline timed in the same loop, iteration by iteration, so that a busy machine
// slows both alike; times are the thread's CPU time. The "ratio" counter is the subject's time over
// the baseline's.
//   ViewRedraw: every text changed and the window composited whole, against drawing the same shapes
//     and texts straight through the graphics layer (goal: at most 1.2).
//   OneLabelChanged: one price changed and the window brought up to date, against a full redraw
//     (goal: at most 0.1).
//   Unchanged: the window brought up to date with nothing changed, against a full redraw (goal: at
//     most 0.02; it draws nothing).
#include "base/Str.h"
#include "gfx/Context.h"
#include "ui/Label.h"
#include "ui/Window.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int Width = 1024, Height = 768, PanelRows = 20, TableRows = 10, TableColumns = 5, ChartPoints = 240;

const gfx::Rect TitleBar{0, 0, 1024, 44}, Panel{8, 52, 300, 660}, Table{316, 52, 700, 300},
    Chart{316, 360, 700, 352}, TabBar{0, 720, 1024, 48};

gfx::Rect panelName(int row) {
    return {Panel.x() + 10, Panel.y() + 10 + float(row) * 32, 130, 28};
}
gfx::Rect panelValue(int row) {
    return {Panel.x() + 150, Panel.y() + 10 + float(row) * 32, 140, 28};
}
gfx::Rect tableRow(int row) {
    return {Table.x(), Table.y() + float(row) * 30, Table.width(), 30};
}
gfx::Rect tableCell(int row, int column) {
    return {Table.x() + float(column) * 140 + 4, Table.y() + float(row) * 30, 132, 30};
}
gfx::Rect tab(int i) {
    return {TabBar.x() + float(i) * 204.8f, TabBar.y(), 200, 48};
}

// The texts of one version of the screen; `round` changes every price.
struct Texts {
    std::vector<std::string> names, values, cells, tabs;
    std::string title;
    explicit Texts(int round) {
        title = base::str::format("平安银行 000001 %d", round % 2);
        const char *fields[] = {"最新", "涨跌",   "涨幅",   "今开", "最高",
                                "最低", "成交量", "成交额", "换手", "量比"};
        for (int r = 0; r < PanelRows; ++r) {
            names.push_back(fields[r % 10]);
            values.push_back(base::str::format("%.2f", 10 + r * 0.37 + (round % 2) * 0.01));
        }
        for (int r = 0; r < TableRows; ++r)
            for (int c = 0; c < TableColumns; ++c)
                cells.push_back(base::str::format("%.2f", 10 + r * 0.11 + c * 1.3 + (round % 2) * 0.01));
        for (const char *t : {"首页", "自选股", "行情", "资讯", "决策"})
            tabs.push_back(t);
    }
};

std::vector<gfx::Point> chartLine(int round) {
    std::vector<gfx::Point> points;
    for (int i = 0; i < ChartPoints; ++i)
        points.push_back({float(i) * Chart.width() / ChartPoints,
                          Chart.height() / 2 + 120 * std::sin(float(i + round) * 0.05f)});
    return points;
}

struct Palette {
    base::Ref<gfx::Color> back = gfx::Color::white(0.1f), bar = gfx::Color::rgba(0.15f, 0.2f, 0.3f),
                          panel = gfx::Color::white(0.16f), border = gfx::Color::white(0.4f),
                          stripe = gfx::Color::white(0.13f), ink = gfx::Color::white(0.9f),
                          rise = gfx::Color::rgba(0.9f, 0.2f, 0.2f), grid = gfx::Color::white(0.3f),
                          line = gfx::Color::yellow();
    base::Ref<gfx::Font> font = gfx::Font::system(15), title = gfx::Font::boldSystem(18);
};

void drawChart(gfx::Context &c, const Palette &p, const std::vector<gfx::Point> &line) {
    c.setStroke(*p.grid);
    c.setLineWidth(1);
    for (int i = 1; i < 8; ++i) {
        c.beginPath();
        c.moveTo({0, float(i) * Chart.height() / 8});
        c.lineTo({Chart.width(), float(i) * Chart.height() / 8});
        c.strokePath();
    }
    c.setStroke(*p.line);
    c.setLineWidth(1.5f);
    c.beginPath();
    c.addLines(line);
    c.strokePath();
}

// The screen drawn straight through the graphics layer.
void drawRaw(gfx::Context &c, const Palette &p, const Texts &t, const std::vector<gfx::Point> &line) {
    c.clearRect({0, 0, Width, Height});
    c.setFill(*p.back);
    c.fillRect({0, 0, Width, Height});
    c.setFill(*p.bar);
    c.fillRect(TitleBar);
    c.setFill(*p.ink);
    c.drawText(t.title, TitleBar, *p.title, gfx::LineBreak::TruncateTail, gfx::Align::Center);
    c.setFill(*p.panel);
    c.fillRect(Panel);
    c.setStroke(*p.border);
    c.setLineWidth(1);
    c.strokeRect(Panel.inset(0.5f, 0.5f));
    for (int r = 0; r < PanelRows; ++r) {
        c.setFill(*p.ink);
        c.drawText(t.names[size_t(r)], panelName(r), *p.font, gfx::LineBreak::TruncateTail, gfx::Align::Left);
        c.setFill(*p.rise);
        c.drawText(t.values[size_t(r)], panelValue(r), *p.font, gfx::LineBreak::TruncateTail,
                   gfx::Align::Right);
    }
    for (int r = 0; r < TableRows; ++r) {
        c.setFill(r % 2 ? *p.stripe : *p.panel);
        c.fillRect(tableRow(r));
        c.setFill(*p.ink);
        for (int col = 0; col < TableColumns; ++col)
            c.drawText(t.cells[size_t(r * TableColumns + col)], tableCell(r, col), *p.font,
                       gfx::LineBreak::TruncateTail, gfx::Align::Right);
    }
    c.save();
    c.translate(Chart.x(), Chart.y());
    c.setFill(*p.panel);
    c.fillRect({0, 0, Chart.width(), Chart.height()});
    drawChart(c, p, line);
    c.restore();
    c.setFill(*p.bar);
    c.fillRect(TabBar);
    c.setFill(*p.ink);
    for (int i = 0; i < 5; ++i)
        c.drawText(t.tabs[size_t(i)], tab(i), *p.font, gfx::LineBreak::TruncateTail, gfx::Align::Center);
}

class ChartView : public ui::View {
public:
    using View::View;
    const Palette *palette = nullptr;
    std::vector<gfx::Point> line;
    void drawRect(gfx::Context &c, gfx::Rect) override { drawChart(c, *palette, line); }
};

// The same screen as views.
struct Screen {
    Palette p;
    base::Ref<ui::Window> window = base::make<ui::Window>(gfx::Rect{0, 0, Width, Height});
    base::Ref<ui::Label> title;
    std::vector<base::Ref<ui::Label>> names, values, cells, tabs;
    base::Ref<ChartView> chart = base::make<ChartView>(Chart);
    gfx::Surface surface{Width, Height};

    base::Ref<ui::Label> label(ui::View &in, gfx::Rect frame, gfx::Align align,
                               const base::Ref<gfx::Color> &ink, const base::Ref<gfx::Font> &font) {
        auto l = base::make<ui::Label>(frame);
        l->setTextAlignment(align);
        l->setTextColor(ink);
        l->setFont(font);
        in.addSubview(l);
        return l;
    }

    Screen() {
        window->setBackgroundColor(p.back);
        auto bar = base::make<ui::View>(TitleBar);
        bar->setBackgroundColor(p.bar);
        window->addSubview(bar);
        title = label(*bar, {{0, 0}, TitleBar.s}, gfx::Align::Center, p.ink, p.title);
        auto panel = base::make<ui::View>(Panel);
        panel->setBackgroundColor(p.panel);
        panel->layer().borderWidth = 1;
        panel->layer().borderColor = p.border;
        window->addSubview(panel);
        for (int r = 0; r < PanelRows; ++r) {
            names.push_back(
                label(*panel, panelName(r).offset(-Panel.x(), -Panel.y()), gfx::Align::Left, p.ink, p.font));
            values.push_back(label(*panel, panelValue(r).offset(-Panel.x(), -Panel.y()), gfx::Align::Right,
                                   p.rise, p.font));
        }
        for (int r = 0; r < TableRows; ++r) {
            auto row = base::make<ui::View>(tableRow(r));
            row->setBackgroundColor(r % 2 ? p.stripe : p.panel);
            window->addSubview(row);
            for (int c = 0; c < TableColumns; ++c)
                cells.push_back(label(*row, tableCell(r, c).offset(-Table.x(), -tableRow(r).y()),
                                      gfx::Align::Right, p.ink, p.font));
        }
        chart->palette = &p;
        chart->setBackgroundColor(p.panel);
        window->addSubview(chart);
        auto tabBar = base::make<ui::View>(TabBar);
        tabBar->setBackgroundColor(p.bar);
        window->addSubview(tabBar);
        for (int i = 0; i < 5; ++i)
            tabs.push_back(
                label(*tabBar, tab(i).offset(-TabBar.x(), -TabBar.y()), gfx::Align::Center, p.ink, p.font));
        show(Texts(0), chartLine(0));
        window->update(surface);
    }

    void show(const Texts &t, std::vector<gfx::Point> line) {
        title->setText(t.title);
        for (int r = 0; r < PanelRows; ++r) {
            names[size_t(r)]->setText(t.names[size_t(r)]);
            values[size_t(r)]->setText(t.values[size_t(r)]);
        }
        for (size_t i = 0; i < cells.size(); ++i)
            cells[i]->setText(t.cells[i]);
        for (size_t i = 0; i < tabs.size(); ++i)
            tabs[i]->setText(t.tabs[i]);
        chart->line = std::move(line);
        chart->setNeedsDisplay();
    }

    // Every text and the chart changed, drawn and composited whole.
    void redraw(int round) {
        show(Texts(round), chartLine(round));
        window->renderInto(surface);
    }
};

// The thread's CPU time: on a shared machine the wall clock also counts other programs' turns.
double cpuNow() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double seconds(const std::function<void()> &work) {
    double start = cpuNow();
    work();
    return cpuNow() - start;
}

// Times the subject and the baseline alternately; the subject's time is what the benchmark reports.
void compare(benchmark::State &state, const std::function<void(int)> &subject,
             const std::function<void(int)> &baseline) {
    double mine = 0, theirs = 0;
    int round = 0;
    for (auto _ : state) {
        ++round;
        theirs += seconds([&] { baseline(round); });
        double t = seconds([&] { subject(round); });
        mine += t;
        state.SetIterationTime(t);
    }
    state.counters["ratio"] = mine / theirs;
    state.counters["baseline_ms"] = theirs * 1000 / double(state.iterations());
}

void ViewRedraw(benchmark::State &state) {
    Screen screen;
    Palette p;
    gfx::Surface surface(Width, Height);
    compare(
        state, [&](int round) { screen.redraw(round); },
        [&](int round) {
            gfx::Context c(surface);
            drawRaw(c, p, Texts(round), chartLine(round));
        });
}
BENCHMARK(ViewRedraw)->UseManualTime()->Unit(benchmark::kMillisecond);

void OneLabelChanged(benchmark::State &state) {
    Screen screen, full;
    compare(
        state,
        [&](int round) {
            screen.values[0]->setText(base::str::format("%.2f", 10 + round * 0.01));
            screen.window->update(screen.surface);
        },
        [&](int round) { full.redraw(round); });
}
BENCHMARK(OneLabelChanged)->UseManualTime()->Unit(benchmark::kMillisecond);

void Unchanged(benchmark::State &state) {
    Screen screen, full;
    compare(
        state, [&](int) { screen.window->update(screen.surface); }, [&](int round) { full.redraw(round); });
}
BENCHMARK(Unchanged)->UseManualTime()->Iterations(500)->Unit(benchmark::kMicrosecond);

} // namespace
