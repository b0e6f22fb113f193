#include "Module/CommonControls/GeneralCell/GeneralCell.h"
#include "Module/CommonControls/GeneralColumn/GeneralColumn.h"

#include "host/Offscreen.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

namespace {

base::Value column(const char *name, int width, bool enabled, const char *special = nullptr, int id = -1) {
    base::Dict entry{{"ColName", name}, {"ColWidth", width}, {"Enabled", enabled}};
    if (special)
        entry.set("SpecialName", special);
    if (id >= 0)
        entry.set("ColID", id);
    return entry;
}

// No., name, latest, change (disabled).
base::Array fourColumns() {
    return {column("No.", 39, false, "INDEX"), column(" 名称", 91, true, "NAME", 9),
            column("最新 ", 81, true, nullptr, 4), column("涨跌 ", 81, false, nullptr, 502)};
}

struct Clicks : base::Object, GeneralColumnDelegate {
    std::vector<std::pair<int, int>> seen; // column, direction
    base::Ref<GeneralColumn> header;
    bool remark = false;
    base::Opt<void> ClickHeaderAction(GeneralHeaderView &, int column, int status) override {
        seen.emplace_back(column, status);
        if (remark) // as the lists do: mark the column during the report
            header->SetSelectedHeader(column);
        return {};
    }
};

struct GeneralRowsTest : ::testing::Test {
    host::TestApp app;

    base::Ref<GeneralCell> cell(gfx::Rect frame = {0, 0, 400, 44}) {
        return base::make<GeneralCell>(ui::TableCell::Style::Default, "genneralCell", frame);
    }
    void tapAt(ui::View &view) {
        gfx::Rect r = view.convert(view.bounds(), nullptr);
        app.tap({r.x() + r.width() / 2, r.y() + r.height() / 2});
    }
};

TEST_F(GeneralRowsTest, AnEmptyListBuildsNothingAndFillsNothing) {
    auto row = cell();
    row->SetFormatArray({});
    row->SetValueArray({"1", "2"});
    EXPECT_EQ(row->columnNum(), 0);
    EXPECT_EQ(row->columnAt(0), nullptr);
    auto header = base::make<GeneralColumn>(gfx::Rect{0, 0, 400, 30}, base::Array{});
    EXPECT_EQ(header->columnNum(), 0);
    EXPECT_TRUE(header->subviews().empty());
}

TEST_F(GeneralRowsTest, ColumnsLieSideBySideAndTakeTheirValues) {
    auto row = cell();
    row->SetFormatArray(fourColumns());
    ASSERT_EQ(row->columnNum(), 4);
    EXPECT_EQ(row->nameIndex(), 1);
    EXPECT_EQ(row->columnAt(2)->frame(), (gfx::Rect{130, 0, 81, 44}));
    row->SetValueArray({"1", base::Dict{{"StockName", "浦发银行"}}, "8.21", "0.05"});
    auto &name = dynamic_cast<NameFieldView &>(*row->columnAt(1));
    EXPECT_EQ(name.StocknameLabel().text(), "浦发银行");
    EXPECT_EQ(name.StockcodeLabel().text(), ""); // a missing key shows empty
    EXPECT_EQ(dynamic_cast<ui::Label &>(*row->columnAt(3)).text(), "0.05");

    // A short array empties the columns it does not reach instead of leaving old values.
    row->SetValueArray({"2"});
    EXPECT_EQ(name.StocknameLabel().text(), "");
    EXPECT_EQ(dynamic_cast<ui::Label &>(*row->columnAt(2)).text(), "");
}

TEST_F(GeneralRowsTest, ResetRebuildsOnlyForANewListId) {
    auto row = cell();
    row->ResetFormatArray(fourColumns(), 7);
    ui::View *first = row->columnAt(0);
    row->ResetFormatArray({column("A", 50, true)}, 0);
    row->ResetFormatArray({column("A", 50, true)}, 7);
    EXPECT_EQ(row->columnAt(0), first);
    EXPECT_EQ(row->columnNum(), 4);

    row->ResetFormatArray({column("A", 50, true)}, 8);
    EXPECT_EQ(row->columnNum(), 1);
    EXPECT_NE(row->columnAt(0), first);
    EXPECT_EQ(row->columnAt(1), nullptr); // the old columns are gone
    EXPECT_EQ(row->nameIndex(), -1);
}

TEST_F(GeneralRowsTest, SignColoursAndAReusedFlatRowTurnsWhite) {
    auto row = cell();
    row->SetFormatArray(fourColumns());
    auto &latest = dynamic_cast<ui::Label &>(*row->columnAt(2));
    row->SetTextColorAtIndex(2, 5);
    EXPECT_EQ(*latest.textColor(), *gfx::Color::red());
    row->SetTextColorAtIndex(2, -5);
    EXPECT_EQ(*latest.textColor(), *gfx::Color::green());
    row->SetTextColorAtIndex(2, 0);
    EXPECT_EQ(*latest.textColor(), *gfx::Color::white());
}

TEST_F(GeneralRowsTest, TapsReportTheDirectionThenFlipIt) {
    auto clicks = base::make<Clicks>();
    auto header = base::make<GeneralColumn>(gfx::Rect{0, 0, 292, 30}, fourColumns());
    header->delegate = clicks;
    clicks->header = header;
    clicks->remark = true;
    app.window().addSubview(header);
    app.runPending();

    for (int i = 0; i < 3; ++i)
        tapAt(*header->headerAt(2));
    tapAt(*header->headerAt(1));
    tapAt(*header->headerAt(3)); // disabled: nothing
    tapAt(*header->headerAt(0)); // disabled: nothing
    EXPECT_EQ(clicks->seen, (std::vector<std::pair<int, int>>{{2, 0}, {2, 1}, {2, 0}, {1, 0}}));
    EXPECT_FALSE(header->headerAt(1)->headerIcon().isHidden());
    EXPECT_TRUE(header->headerAt(2)->headerIcon().isHidden());
    EXPECT_TRUE(header->headerAt(3)->headerIcon().isHidden());
}

TEST_F(GeneralRowsTest, MarkingACellNarrowsItsCaptionAndMinusOneMarksNone) {
    auto header = base::make<GeneralColumn>(gfx::Rect{0, 0, 292, 30}, fourColumns());
    header->SetSelectedHeader(2, 1);
    GeneralHeaderView &latest = *header->headerAt(2);
    EXPECT_FALSE(latest.headerIcon().isHidden());
    EXPECT_EQ(latest.headerIcon().frame(), (gfx::Rect{59, 3, 22, 22}));
    EXPECT_EQ(latest.fieldLabel().frame().width(), 59);
    EXPECT_EQ(header->headerAt(0)->headerIcon().frame().x(), 0); // the serial arrow sits left
    header->SetSelectedHeader(-1);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(header->headerAt(i)->headerIcon().isHidden());
        EXPECT_EQ(header->headerAt(i)->fieldLabel().frame().width(), header->headerAt(i)->bounds().width());
    }
}

TEST_F(GeneralRowsTest, TheRightEdgeButtonComesOnlyWithOne) {
    struct Buttons : base::Object, GeneralCellDelegate {
        std::vector<ui::IndexPath> taps;
        base::Opt<void> ReturnSelectedCell(ui::Button *, ui::IndexPath path) override {
            taps.push_back(path);
            return {};
        }
    };
    auto buttons = base::make<Buttons>();
    auto row = cell();
    row->delegate = buttons;
    row->indexPath = {0, 4};
    row->ShowAccelerateButton(0, "add_stock.png");
    row->ShowAccelerateButton(2, "add_stock.png");
    EXPECT_EQ(row->accButton(), nullptr);
    row->ShowAccelerateButton(1, "add_stock.png");
    ASSERT_NE(row->accButton(), nullptr);
    EXPECT_EQ(row->accButton()->frame(), (gfx::Rect{370, 7, 30, 30}));
    app.window().addSubview(row);
    row->layoutIfNeeded();
    tapAt(*row->accButton());
    EXPECT_EQ(buttons->taps, (std::vector<ui::IndexPath>{{0, 4}}));
    row->ShowAccelerateButton(0, "");
    EXPECT_TRUE(row->accButton()->isHidden());
}

TEST_F(GeneralRowsTest, ALongPressWidensTheNameForOneAndAHalfSeconds) {
    auto row = cell();
    row->SetFormatArray(fourColumns());
    auto &name = dynamic_cast<NameFieldView &>(*row->columnAt(1));
    app.window().addSubview(row);
    app.runPending();
    gfx::Rect r = name.convert(name.bounds(), nullptr);
    app.touchDown(1, {r.x() + 10, r.y() + 10});
    app.advance(0.6);
    EXPECT_EQ(name.StocknameLabel().frame().width(), NameFieldView::TipWidth);
    app.touchUp(1);
    app.advance(1.0);
    EXPECT_EQ(name.StocknameLabel().frame().width(), NameFieldView::TipWidth);
    app.advance(0.6);
    EXPECT_EQ(name.StocknameLabel().frame().width(), 91);
}

TEST_F(GeneralRowsTest, ARowFreedWhileItsNameIsWideIsRestoredSafely) {
    base::Weak<GeneralCell> gone;
    {
        auto row = cell();
        row->SetFormatArray(fourColumns());
        app.window().addSubview(row);
        app.runPending();
        dynamic_cast<NameFieldView &>(*row->columnAt(1)).longPressEvent();
        row->removeFromSuperview();
        gone = row;
    }
    app.advance(2);
    EXPECT_TRUE(gone.expired());
}

} // namespace
