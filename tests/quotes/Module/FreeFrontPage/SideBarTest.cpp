#include "Module/FreeFrontPage/SVCapitalSideBarView.h"

#include "PanelFixture.h"

#include "Common/Util.h"
#include "ui/Popover.h"

#include <gtest/gtest.h>

namespace freefront {
namespace {

const gfx::Rect PanelFrame{0, 0, 744, 260};

std::vector<double> values(const base::Array &content) {
    std::vector<double> out;
    for (size_t i = 0; i < content.size(); ++i)
        out.push_back(content[i]["kValueY1"].doubleValue());
    return out;
}

std::vector<std::string> names(const base::Array &content) {
    std::vector<std::string> out;
    for (size_t i = 0; i < content.size(); ++i)
        out.push_back(content[i]["kValueX1"].stringValue());
    return out;
}

base::Ref<StockQuoteInf> board(const std::string &code, int32_t in, int32_t out) {
    auto record = base::make<StockQuoteInf>();
    record->code = code;
    record->name = code;
    record->fundIn = in;
    record->fundOut = out;
    return record;
}

StockQuoteList listOf(std::vector<base::Ref<StockQuoteInf>> records) {
    StockQuoteList list;
    list.items = std::move(records);
    return list;
}

class Picks : public base::Object, public SVCycleTableViewDelegate {
public:
    base::Opt<void> SVCycleTableViewClick(SVCycleTableViewController &, const base::Value &entry) override {
        picked.push_back(int(entry["cycleTypeKey"].intValue()));
        return {};
    }
    std::vector<int> picked;
};

class SideBarTest : public PanelTest {
protected:
    void make() {
        panel = base::make<SVCapitalSideBarView>(PanelFrame);
        app.window().addSubview(panel);
    }
    base::Value cycleEntry(int cycle) const { return panel->popTblVCtrl().tableArray[size_t(cycle - 1)]; }
    const base::Array content() const {
        return *panel->svCapitalChartV().dicData()->get("kContentData").array();
    }
    bool waiting() const { return panel->waitingAlert().superview() != nullptr; }

    base::Ref<SVCapitalSideBarView> panel;
};

TEST_F(SideBarTest, EachCycleHasItsSortFieldTagsAndTitle) {
    struct Case {
        int cycle, sortField, descending, ascending;
        const char *title;
    } cases[] = {{1, 17, 203, 204, "最近一天   ▼"},
                 {2, 18, 205, 206, "最近一周   ▼"},
                 {3, 19, 207, 208, "最近一月   ▼"},
                 {7, 17, 203, 204, ""}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.cycle);
        EXPECT_EQ(SVCapitalSideBarView::getRankSortIdByCycle(c.cycle), c.sortField);
        EXPECT_EQ(SVCapitalSideBarView::getReqDescendingTagIdByCycle(c.cycle), c.descending);
        EXPECT_EQ(SVCapitalSideBarView::getReqAscendingTagIdByCycle(c.cycle), c.ascending);
        EXPECT_EQ(SVCapitalSideBarView::cycleButtonTitle(c.cycle), c.title);
    }
}

TEST_F(SideBarTest, TheDayShowsFourInflowAndFourOutflowBoards) {
    quotes.clearReceived();
    make();
    EXPECT_TRUE(waiting());
    settle();
    EXPECT_EQ(listRequests(), (std::vector<ListRequest>{{105, 4096, 17, 0, 0, 4}, {105, 4096, 17, 1, 0, 4}}));
    ASSERT_TRUE(panel->svCapitalChartV().dicData());
    EXPECT_EQ(values(content()), (std::vector<double>{23456, 12800, 8200, 3100, 0, -1200, -9200, -15800}));
    EXPECT_EQ(names(content()), (std::vector<std::string>{"银行板块", "证券板块", "保险板块", "白酒板块",
                                                          "汽车板块", "医药板块", "地产板块", "钢铁板块"}));
    EXPECT_EQ(content()[0]["kStkCode"].stringValue(), "BI000101");
    EXPECT_EQ(panel->svCapitalChartV().axisY1UnitString(), "净额（单位：亿元）");
    EXPECT_EQ(panel->svCapitalChartV().digit(), 4);
    EXPECT_EQ(panel->svCapitalChartV().barLooks().size(), 8u);
    EXPECT_FALSE(waiting());
    EXPECT_EQ(panel->switchSVCycleBtn().currentTitle(), "最近一天   ▼");
}

TEST_F(SideBarTest, AnotherCycleIgnoresRepliesOfTheLastOne) {
    make();
    // The day's pair is still queued when the month is chosen.
    panel->SVCycleTableViewClick(panel->popTblVCtrl(), cycleEntry(3));
    EXPECT_EQ(panel->curSwitchType(), 3);
    EXPECT_EQ(panel->popTblVCtrl().curSelType, 3);
    EXPECT_EQ(panel->switchSVCycleBtn().currentTitle(), "最近一月   ▼");
    EXPECT_FALSE(panel->svCapitalChartV().dicData());
    EXPECT_TRUE(waiting());

    // A late day reply changes nothing, nor does the month's first.
    for (int tag : {204, 207}) {
        panel->DataPoolCallBack(2955, base::make<ReqParams>(ReqParams{{"tag", tag}}));
        EXPECT_FALSE(panel->svCapitalChartV().dicData()) << tag;
    }
    quotes.clearReceived();
    settle();
    ASSERT_TRUE(panel->svCapitalChartV().dicData());
    EXPECT_EQ(values(content()),
              (std::vector<double>{187648, 102400, 65600, 24800, 0, -9600, -73600, -126400}));
    EXPECT_FALSE(waiting());
}

TEST_F(SideBarTest, TheMonthAsksWithItsOwnFieldAndTags) {
    make();
    settle();
    quotes.clearReceived();
    panel->SVCycleTableViewClick(panel->popTblVCtrl(), cycleEntry(2));
    settle();
    EXPECT_EQ(listRequests(), (std::vector<ListRequest>{{105, 4096, 18, 0, 0, 4}, {105, 4096, 18, 1, 0, 4}}));
    // The week's figures are the days' of boards three along, three times over.
    EXPECT_EQ(values(content()).front(), 3 * 23456.0);
}

TEST_F(SideBarTest, ChartDataFromThePairOfReplies) {
    struct Case {
        const char *name;
        std::vector<base::Ref<StockQuoteInf>> descending, ascending;
        std::vector<double> values;
        double top, bottom;
        int digit;
        const char *unit;
    } cases[] = {
        {"small values in 万元",
         {board("A", 900, 100), board("B", 300, 100)},
         {board("D", 100, 3100), board("C", 100, 600)},
         {800, 200, -500, -3000},
         880,
         -3300,
         0,
         "净额（单位：万元）"},
        {"-9,200 passes 10,000 once scaled",
         {board("A", 500, 0)},
         {board("B", 0, 9200)},
         {500, -9200},
         550,
         -10120,
         4,
         "净额（单位：亿元）"},
        {"no rows", {}, {}, {}, 0, 0, 0, "净额（单位：万元）"},
        {"all rising: the bottom follows the smallest",
         {board("A", 2000, 0)},
         {board("B", 300, 0)},
         {2000, 300},
         2200,
         -330,
         0,
         "净额（单位：万元）"},
        {"packed amounts decode",
         {board("A", int32_t((1u << 30) | 2200u), 0)},
         {},
         {35200},
         38720,
         -38720,
         4,
         "净额（单位：亿元）"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto data = SVCapitalSideBarView::chartDataFrom(listOf(c.descending), listOf(c.ascending), 1);
        EXPECT_EQ(values(data.content), c.values);
        EXPECT_NEAR(data.top, c.top, 1e-6);
        EXPECT_NEAR(data.bottom, c.bottom, 1e-6);
        EXPECT_EQ(data.digit, c.digit);
        EXPECT_EQ(data.unit, c.unit);
    }
    // A value of exactly 0 takes the rise colours.
    auto data = SVCapitalSideBarView::chartDataFrom(listOf({board("Z", 50, 50)}), listOf({}), 1);
    EXPECT_EQ(*data.content[0]["kPositiveClr1"].objectAs<gfx::Color>(),
              *gfx::Color::rgba(0.84f, 0.05f, 0.16f));
    EXPECT_EQ(*data.content[0]["kNegativeClr1"].objectAs<gfx::Color>(),
              *gfx::Color::rgba(0.32f, 0.08f, 0.09f));
}

TEST_F(SideBarTest, EmptyRepliesShowAxesOnlyAndStopWaiting) {
    quotes.setEmptyLists(true);
    make();
    settle();
    ASSERT_TRUE(panel->svCapitalChartV().dicData());
    EXPECT_TRUE(content().size() == 0);
    EXPECT_TRUE(panel->svCapitalChartV().scaleLabels().empty()) << "no 1.1e8 scale";
    EXPECT_EQ(panel->svCapitalChartV().axisY1UnitString(), "净额（单位：万元）");
    EXPECT_EQ(panel->svCapitalChartV().digit(), 0);
    EXPECT_FALSE(waiting());
    quotes.setEmptyLists(false);
}

TEST_F(SideBarTest, TheButtonTogglesThePickerAndTheCurrentCycleOnlyCloses) {
    make();
    settle();
    app.runPending();
    app.tap(centre(panel->switchSVCycleBtn()));
    app.advance(0.5);
    ASSERT_TRUE(panel->switchSVCyclePopoverController().isVisible());
    // The picker marks the current cycle.
    ui::TableView &table = panel->popTblVCtrl().tableView();
    table.layoutIfNeeded();
    ASSERT_TRUE(table.selectedRow());
    EXPECT_EQ(table.selectedRow()->row, 0);

    quotes.clearReceived();
    panel->SVCycleTableViewClick(panel->popTblVCtrl(), cycleEntry(1));
    settle();
    app.runPending();
    EXPECT_FALSE(panel->switchSVCyclePopoverController().isVisible());
    EXPECT_TRUE(listRequests().empty());
    EXPECT_EQ(content().size(), 8u) << "the chart keeps its bars";
}

TEST_F(SideBarTest, ThePickerReportsAndLeavesTheChoiceToItsOwner) {
    auto picker = base::make<SVCycleTableViewController>();
    auto picks = base::make<Picks>();
    picker->tableArray = base::Array{base::Dict{{"nameKey", "一"}, {"cycleTypeKey", 1}},
                                     base::Dict{{"nameKey", "二"}, {"cycleTypeKey", 2}}};
    picker->curSelType = 2;
    picker->curCellAccessorType = ui::TableCell::Accessory::Checkmark;
    picker->tblDelegate = picks;
    picker->view().setFrame({0, 0, 140, 140});
    app.window().addSubview(picker->view().self<ui::View>());
    picker->tableView().reloadData();
    app.runPending();
    ASSERT_TRUE(picker->tableView().selectedRow());
    EXPECT_EQ(picker->tableView().selectedRow()->row, 1);
    EXPECT_EQ(picker->tableView().cellForRow({0, 1})->accessoryType(), ui::TableCell::Accessory::Checkmark);
    EXPECT_EQ(picker->tableView().cellForRow({0, 0})->accessoryType(), ui::TableCell::Accessory::None);

    app.tap(centre(picker->tableView().convert(picker->tableView().rectForRow({0, 0}), nullptr)));
    app.runPending();
    EXPECT_EQ(picks->picked, std::vector<int>{1});
    EXPECT_EQ(picker->curSelType, 2);
    EXPECT_FALSE(picker->shouldAutorotateTo(ui::Orientation::LandscapeLeft));
    EXPECT_TRUE(picker->shouldAutorotateTo(ui::Orientation::Portrait));
}

TEST_F(SideBarTest, APanelThatGoesClosesItsPicker) {
    make();
    settle();
    app.runPending();
    panel->switchSVCycleAction(nullptr);
    app.runPending();
    ASSERT_EQ(ui::Popover::visiblePopovers().size(), 1u);
    base::Weak<SVCycleTableViewController> picker = panel->popTblVCtrl().self<SVCycleTableViewController>();
    panel->removeFromSuperview();
    panel.reset();
    app.runPending();
    EXPECT_TRUE(ui::Popover::visiblePopovers().empty());
    if (auto left = picker.lock())
        EXPECT_FALSE(left->tblDelegate.lock());
}

} // namespace
} // namespace freefront
