// One frame of a quote table scrolled by 7 points, read against a from-scratch redraw of the same
// screen in the same run: 17 rows of 10 labels in view. Scrolling brings the window's last frame up
// to date as the host does: the cells already drawn are composited again where they moved to and
// only the row that comes into view is drawn.
#include "base/Str.h"
#include "ui/Label.h"
#include "ui/TableView.h"
#include "ui/Window.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int Width = 1024, Height = 768, Columns = 10, RowCount = 400;
constexpr float ColumnWidth = float(Width) / Columns;

struct Quotes : ui::TableDataSource {
    // Moves every price, so that every label has new text to draw.
    int round = 0;
    int numberOfRows(ui::TableView &, int) override { return RowCount; }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto cell = table.dequeueReusableCell("quote");
        if (!cell) {
            cell = base::make<ui::TableCell>(ui::TableCell::Style::Default, "quote");
            for (int c = 0; c < Columns; ++c) {
                auto label = base::make<ui::Label>(gfx::Rect{float(c) * ColumnWidth, 0, ColumnWidth - 2, 44});
                label->tag = c + 1;
                label->setFont(gfx::Font::system(15));
                label->setTextAlignment(gfx::Align::Right);
                cell->contentView().addSubview(label);
            }
        }
        for (int c = 0; c < Columns; ++c)
            static_cast<ui::Label *>(cell->viewWithTag(c + 1))
                ->setText(base::str::format("%.2f", 10 + path.row * 0.37 + c * 1.01 + round % 2 * 0.01));
        return cell;
    }
};

struct Screen {
    base::Ref<ui::Window> window = base::make<ui::Window>(gfx::Rect{0, 0, Width, Height});
    base::Ref<ui::TableView> table = base::make<ui::TableView>(gfx::Rect{0, 0, Width, 748});
    base::Ref<Quotes> quotes = base::make<Quotes>();
    gfx::Surface surface{Width, Height};
    Screen() {
        table->dataSource = quotes;
        window->addSubview(table);
        table->reloadData();
        window->update(surface);
    }
};

void TableRedrawFromScratch(benchmark::State &state) {
    Screen screen;
    for (auto _ : state) {
        ++screen.quotes->round;
        screen.table->reloadData();
        screen.window->renderInto(screen.surface);
    }
}
BENCHMARK(TableRedrawFromScratch)->Unit(benchmark::kMillisecond);

void TableScrolledBySevenPoints(benchmark::State &state) {
    Screen screen;
    float y = 0;
    for (auto _ : state) {
        y = y + 7 > 44 * RowCount - 748 ? 0 : y + 7;
        screen.table->setContentOffset({0, y});
        screen.window->update(screen.surface);
    }
}
BENCHMARK(TableScrolledBySevenPoints)->Unit(benchmark::kMillisecond);

} // namespace
