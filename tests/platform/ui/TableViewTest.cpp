#include "ui/TableView.h"

#include "Golden.h"
#include "host/Offscreen.h"
#include "ui/Animator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ui {
namespace {

using base::make;
using base::Ref;
using Rows = std::vector<std::vector<std::string>>;

// A data source and delegate over sections of titled rows, that writes down what it is asked. Its
// cells are made once per reuse slot with their label found again by tag, as the screens make them.
struct Lister : TableDataSource, TableDelegate {
    Rows rows;
    std::vector<std::string> headers, footers, index;
    int indexOffset = 0;
    bool movable = false;
    bool refuseCurrent = false;
    int made = 0;
    std::vector<std::string> calls;

    int numberOfSections(TableView &) override { return int(rows.size()); }
    int numberOfRows(TableView &, int section) override { return int(rows[size_t(section)].size()); }
    Ref<TableCell> cellForRow(TableView &table, IndexPath path) override {
        auto cell = table.dequeueReusableCell("row");
        if (!cell) {
            ++made;
            cell = make<TableCell>(TableCell::Style::Default, "row");
            auto label = make<Label>(gfx::Rect{10, 0, 200, 40});
            label->tag = 1;
            cell->contentView().addSubview(label);
        }
        static_cast<Label *>(cell->viewWithTag(1))->setText(rows[size_t(path.section)][size_t(path.row)]);
        return cell;
    }
    base::Opt<std::string> titleForHeader(TableView &, int s) override {
        return s < int(headers.size()) ? base::Opt<std::string>(headers[size_t(s)]) : base::notImplemented;
    }
    base::Opt<std::string> titleForFooter(TableView &, int s) override {
        return s < int(footers.size()) ? base::Opt<std::string>(footers[size_t(s)]) : base::notImplemented;
    }
    base::Opt<std::vector<std::string>> sectionIndexTitles(TableView &) override {
        return index.empty() ? base::Opt<std::vector<std::string>>(base::notImplemented) : index;
    }
    base::Opt<int> sectionForIndexTitle(TableView &, const std::string &, int i) override {
        return i + indexOffset;
    }
    base::Opt<bool> canMoveRow(TableView &, IndexPath) override { return movable; }
    base::Opt<void> commitEditing(TableView &table, EditingStyle style, IndexPath path) override {
        calls.push_back("delete " + rows[size_t(path.section)][size_t(path.row)]);
        if (style != EditingStyle::Delete)
            return {};
        auto &section = rows[size_t(path.section)];
        section.erase(section.begin() + path.row);
        table.deleteRows({path}, RowAnimation::Right);
        return {};
    }
    base::Opt<void> moveRow(TableView &, IndexPath from, IndexPath to) override {
        auto &section = rows[size_t(from.section)];
        std::string moved = section[size_t(from.row)];
        calls.push_back("move " + moved + " to " + std::to_string(to.row));
        section.erase(section.begin() + from.row);
        section.insert(section.begin() + to.row, moved);
        return {};
    }
    base::Opt<std::optional<IndexPath>> willSelectRow(TableView &table, IndexPath path) override {
        calls.push_back("will select " + std::to_string(path.row));
        if (refuseCurrent && table.selectedRow() == path)
            return std::optional<IndexPath>();
        return std::optional(path);
    }
    base::Opt<void> didSelectRow(TableView &, IndexPath path) override {
        calls.push_back("did select " + std::to_string(path.row));
        return {};
    }
    base::Opt<void> didDeselectRow(TableView &, IndexPath path) override {
        calls.push_back("did deselect " + std::to_string(path.row));
        return {};
    }
};

Rows numbered(int sections, int count) {
    Rows rows(size_t(sections), std::vector<std::string>{});
    for (int s = 0; s < sections; ++s)
        for (int r = 0; r < count; ++r)
            rows[size_t(s)].push_back(std::to_string(s) + "." + std::to_string(r));
    return rows;
}

std::string textOf(TableCell &cell) {
    return static_cast<Label *>(cell.viewWithTag(1))->text();
}

// A plain table of 320 × 440 (ten rows of 44 in view) at the window's origin.
struct TableViewTest : ::testing::Test {
    host::TestApp app;
    Ref<Lister> lister = make<Lister>();
    Ref<TableView> table;

    void show(Rows rows, TableView::Style style = TableView::Style::Plain,
              gfx::Rect frame = {0, 0, 320, 440}) {
        table = make<TableView>(frame, style);
        lister->rows = std::move(rows);
        table->dataSource = lister;
        table->delegate = lister;
        app.window().addSubview(table);
        table->reloadData();
    }
    std::vector<int> visibleRows() const {
        std::vector<int> rows;
        for (auto &p : table->indexPathsForVisibleRows())
            rows.push_back(p.row);
        return rows;
    }
};

TEST_F(TableViewTest, CellsScrolledAwayAreReusedForTheRowsThatComeIntoView) {
    show(numbered(1, 100));
    EXPECT_EQ(visibleRows(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(lister->made, 10);

    for (float y : {22.f, 300.f, 2000.f, 4000.f, 0.f})
        table->setContentOffset({0, y});
    EXPECT_LE(lister->made, 11);
    table->setContentOffset({0, 2000});
    auto paths = table->indexPathsForVisibleRows();
    ASSERT_EQ(paths.size(), 11u);
    EXPECT_EQ(paths.front().row, 45);
    for (auto &p : paths)
        EXPECT_EQ(textOf(*table->cellForRow(p)), "0." + std::to_string(p.row));

    // A reload hands the same cells back.
    int before = lister->made;
    table->reloadData();
    EXPECT_EQ(lister->made, before);
}

TEST_F(TableViewTest, AReusedCellComesBackUnselected) {
    show(numbered(1, 100));
    app.tap({100, 66});
    ASSERT_TRUE(table->cellForRow({0, 1})->isSelected());
    table->setContentOffset({0, 2000});
    for (auto &cell : table->visibleCells())
        EXPECT_FALSE(cell->isSelected());
    table->setContentOffset({0, 0});
    EXPECT_TRUE(table->cellForRow({0, 1})->isSelected());
}

TEST_F(TableViewTest, AGoneOwnerLeavesAnEmptyTableThatCallsNobody) {
    show(numbered(2, 5));
    lister.reset();
    table->reloadData();
    EXPECT_TRUE(table->visibleCells().empty());
    EXPECT_EQ(table->numberOfSections(), 0);
    app.tap({100, 20});
    app.drag({100, 200}, {100, 100});
    app.advance(1);
}

TEST_F(TableViewTest, TapsSelectAndDeselectThroughTheDelegate) {
    show(numbered(1, 20));
    app.tap({100, 66});
    app.tap({100, 110});
    EXPECT_EQ(lister->calls, (std::vector<std::string>{"will select 1", "did select 1", "will select 2",
                                                       "did deselect 1", "did select 2"}));
    EXPECT_EQ(table->selectedRow(), (IndexPath{0, 2}));
    EXPECT_FALSE(table->cellForRow({0, 1})->isSelected());
    EXPECT_TRUE(table->cellForRow({0, 2})->isSelected());
}

TEST_F(TableViewTest, WillSelectCanRefuseTheCurrentRow) {
    show(numbered(1, 20));
    lister->refuseCurrent = true;
    app.tap({100, 66});
    lister->calls.clear();
    app.tap({100, 66});
    EXPECT_EQ(lister->calls, (std::vector<std::string>{"will select 1"}));
    EXPECT_EQ(table->selectedRow(), (IndexPath{0, 1}));
}

TEST_F(TableViewTest, ADragOverTheRowsSelectsNothing) {
    show(numbered(1, 50));
    app.drag({100, 300}, {100, 100});
    app.advance(3);
    EXPECT_TRUE(lister->calls.empty());
    EXPECT_FALSE(table->selectedRow());
}

TEST_F(TableViewTest, ScrollToRowPutsItWhereAsked) {
    show(numbered(1, 100));
    struct Case {
        int row;
        ScrollPosition position;
        float y;
    } cases[] = {
        {20, ScrollPosition::Top, 880},  {20, ScrollPosition::Middle, 682}, {20, ScrollPosition::Bottom, 484},
        {99, ScrollPosition::Top, 3960}, {0, ScrollPosition::Bottom, 0},    {50, ScrollPosition::None, 1804},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.row);
        table->scrollToRow({0, c.row}, c.position, false);
        EXPECT_FLOAT_EQ(table->contentOffset().y, c.y);
    }
    table->scrollToRow({0, 0}, ScrollPosition::Top, true);
    app.advance(1);
    EXPECT_FLOAT_EQ(table->contentOffset().y, 0);
}

TEST_F(TableViewTest, SectionIndexEntryLeadsToTheSectionTheDataSourceNames) {
    lister->headers = {"已添加账户", "A", "B", "C"};
    lister->index = {"A", "B", "C"};
    lister->indexOffset = 1;
    show(numbered(4, 6));
    View *index = table->sectionIndexView();
    ASSERT_FALSE(index->isHidden());
    gfx::Rect f = index->frame();
    // Three entries of 16 points, centred in the strip: the second is section 2.
    app.tap({f.midX(), f.midY()});
    EXPECT_FLOAT_EQ(table->contentOffset().y, table->rectForHeader(2).y());
    // The strip stays at the right edge of what is in view.
    EXPECT_FLOAT_EQ(index->frame().y(), table->contentOffset().y);
}

TEST_F(TableViewTest, PlainHeadersStayOnTopWhileTheirRowsPass) {
    lister->headers = {"沪A", "深A"};
    show(numbered(2, 20));
    View *first = table->headerView(0), *second = table->headerView(1);
    float secondTop = table->rectForHeader(1).y();
    struct Case {
        float offset, firstY, secondY;
    } cases[] = {
        {0, 0, secondTop},
        {300, 300, secondTop},
        // The next header pushes the first one up.
        {secondTop - 10, secondTop - 22, secondTop},
        {secondTop + 100, secondTop - 22, secondTop + 100},
        // Pulled down past the top, the header stays with its rows.
        {-40, 0, secondTop},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.offset);
        table->setContentOffset({0, c.offset});
        EXPECT_FLOAT_EQ(first->frame().y(), c.firstY);
        EXPECT_FLOAT_EQ(second->frame().y(), c.secondY);
    }
}

TEST_F(TableViewTest, EditingDeletesThroughTheConfirmationAndSlidesTheRowAway) {
    show(numbered(1, 5));
    table->setEditing(true);
    Ref<TableCell> doomed = table->cellForRow({0, 2});
    app.window().layoutIfNeeded();
    ASSERT_TRUE(doomed->deleteControl());
    gfx::Rect control = doomed->deleteControl()->convert(doomed->deleteControl()->bounds(), nullptr);
    app.tap({control.midX(), control.midY()});
    ASSERT_TRUE(doomed->isShowingDeleteConfirmation());
    EXPECT_TRUE(lister->calls.empty());

    app.window().layoutIfNeeded();
    View *confirm = doomed->subviews().back().get();
    gfx::Rect r = confirm->convert(confirm->bounds(), nullptr);
    app.tap({r.midX(), r.midY()});
    EXPECT_EQ(lister->calls, (std::vector<std::string>{"delete 0.2"}));

    // Half-way the deleted row has slid right and the row below is moving up into its place.
    app.advance(0.1);
    EXPECT_GT(Animator::shared().presentation(*doomed).center.x, doomed->frame().width() / 2 + 10);
    Ref<TableCell> below = table->cellForRow({0, 2});
    ASSERT_TRUE(below);
    EXPECT_EQ(textOf(*below), "0.3");
    float shownY = Animator::shared().presentation(*below).center.y;
    EXPECT_GT(shownY, 88 + 22);
    EXPECT_LT(shownY, 132 + 22);
    app.advance(0.5);
    EXPECT_EQ(doomed->superview(), nullptr);
    EXPECT_EQ(visibleRows(), (std::vector<int>{0, 1, 2, 3}));
    // The slid cell went back to the pool.
    EXPECT_EQ(table->dequeueReusableCell("row"), doomed);
}

TEST_F(TableViewTest, AnInconsistentDeletionShowsWhatTheDataSourceHolds) {
    show(numbered(1, 5));
    table->deleteRows({{0, 1}}, RowAnimation::Fade);
    EXPECT_EQ(visibleRows(), (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST_F(TableViewTest, AGripMovesARowThroughTheDataSource) {
    lister->movable = true;
    show(numbered(1, 5));
    table->setEditing(true);
    app.window().layoutIfNeeded();
    View *grip = table->cellForRow({0, 0})->reorderControl();
    ASSERT_TRUE(grip);
    gfx::Rect g = grip->convert(grip->bounds(), nullptr);
    // Two rows and a half down: the row lands third.
    app.dragAndRest({g.midX(), g.midY()}, {g.midX(), g.midY() + 100}, 5, 0.5);
    EXPECT_EQ(lister->calls, (std::vector<std::string>{"move 0.0 to 2"}));
    EXPECT_EQ(textOf(*table->cellForRow({0, 2})), "0.0");
    EXPECT_FLOAT_EQ(table->contentOffset().y, 0);
}

TEST_F(TableViewTest, WithoutPermissionToMoveRowsShowNoGrip) {
    show(numbered(1, 5));
    table->setEditing(true);
    EXPECT_FALSE(table->cellForRow({0, 0})->reorderControl());
    EXPECT_TRUE(table->cellForRow({0, 0})->deleteControl());
    table->setEditing(false);
    EXPECT_FALSE(table->cellForRow({0, 0})->deleteControl());
}

TEST_F(TableViewTest, ATableBouncesVerticallyEvenWithShortContent) {
    show(numbered(1, 2));
    app.touchDown(1, {100, 60});
    for (int i = 1; i <= 5; ++i) {
        app.advance(0.05);
        app.touchMove(1, {100, 60 - 30.f * float(i)});
    }
    EXPECT_FLOAT_EQ(table->contentOffset().y, 75);
    app.advance(0.2);
    app.touchUp(1);
    app.advance(1);
    EXPECT_FLOAT_EQ(table->contentOffset().y, 0);
}

TEST_F(TableViewTest, AWideTableInsideASidewaysScroller) {
    auto strip = make<ScrollView>(gfx::Rect{0, 0, 400, 440});
    strip->setContentSize({1240, 440});
    app.window().addSubview(strip);
    show(numbered(1, 40), TableView::Style::Plain, {0, 0, 1240, 440});
    strip->addSubview(table);

    app.dragAndRest({300, 200}, {100, 200});
    EXPECT_FLOAT_EQ(strip->contentOffset().x, 200);
    EXPECT_FLOAT_EQ(table->contentOffset().y, 0);
    app.dragAndRest({300, 300}, {300, 100});
    EXPECT_FLOAT_EQ(strip->contentOffset().x, 200);
    EXPECT_FLOAT_EQ(table->contentOffset().y, 200);
    app.tap({100, 20});
    EXPECT_EQ(table->selectedRow(), (IndexPath{0, 5}));
}

TEST_F(TableViewTest, GroupedSectionsLeaveRoomForTitles) {
    lister->headers = {"行情", ""};
    lister->footers = {"", "说明"};
    show(numbered(2, 2), TableView::Style::Grouped);
    EXPECT_EQ(table->rectForRow({0, 0}), (gfx::Rect{10, 36, 300, 44}));
    // Section 0: title 36 + rows 88 + gap 10; section 1: gap 10, rows, footer title 30.
    EXPECT_EQ(table->rectForRow({1, 1}), (gfx::Rect{10, 36 + 88 + 10 + 10 + 44, 300, 44}));
    EXPECT_FLOAT_EQ(table->contentSize().h, 36 + 88 + 10 + 10 + 88 + 30);
    ASSERT_TRUE(table->headerView(0));
    EXPECT_FALSE(table->headerView(1));
}

TEST_F(TableViewTest, GroupedTableWithHeadersFootersAndIndexLooksRight) {
    lister->headers = {"沪深", "港股"};
    lister->footers = {"数据延时15分钟", ""};
    lister->index = {"沪", "港"};
    show({{"上证指数", "深证成指", "创业板指"}, {"恒生指数", "国企指数"}}, TableView::Style::Grouped,
         {0, 0, 400, 420});
    table->cellForRow({0, 1})->setAccessoryType(TableCell::Accessory::DisclosureIndicator);
    table->cellForRow({1, 0})->setAccessoryType(TableCell::Accessory::Checkmark);
    table->selectRow(IndexPath{0, 2}, false, ScrollPosition::None);
    table->removeFromSuperview();
    auto window = make<Window>(gfx::Rect{0, 0, 400, 420});
    window->addSubview(table);
    EXPECT_TRUE(qvtest::matchesGolden(window->render(), "ui/grouped-table"));
}

} // namespace
} // namespace ui
