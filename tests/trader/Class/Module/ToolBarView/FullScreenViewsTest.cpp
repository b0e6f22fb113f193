#include "QueryPanelFixture.h"

#include "Class/Module/ToolBarView/AccountCheckView/AccountCheckView.h"
#include "Class/Module/ToolBarView/DealQueryView/DealQueryView.h"
#include "Class/Module/ToolBarView/EntrustQueryView/EntrustQueryView.h"
#include "Class/Module/ToolBarView/FullScrTradeBaseView/AccountFullScreenView.h"
#include "Class/Module/ToolBarView/FullScrTradeBaseView/DealFullScreenView.h"
#include "Class/Module/ToolBarView/FullScrTradeBaseView/EntrustFullScreenView.h"
#include "Module/CommonControls/GeneralCell/GeneralCell.h"
#include "Module/CommonControls/GeneralCell/NameFieldView.h"
#include "support/Golden.h"

namespace toolbar {
namespace {

// A title list of `count` columns for the reply `funcID`, code and name among them or not.
std::string titles(int funcID, int count, bool codeAndName) {
    std::string text = std::to_string(funcID) + "," + std::to_string(count);
    for (int i = 0; i < count; ++i) {
        std::string id = std::to_string(1100 + i);
        if (codeAndName && i == 2)
            id = "1036";
        if (codeAndName && i == 5)
            id = "1037";
        text += "," + id + "=列" + std::to_string(i);
    }
    return text;
}

std::vector<std::string> captions(const base::Array &columns) {
    std::vector<std::string> out;
    for (const base::Value &column : columns)
        out.push_back(column["ColName"].stringValue());
    return out;
}

class FullScreenTest : public QueryPanelTest {
protected:
    // Opens the panel of the tag and presses its full-screen button.
    template <class Panel, class View> std::pair<base::Ref<Panel>, base::Ref<View>> openFull(int tag) {
        auto panel = open<Panel>(tag);
        if (!panel)
            return {};
        tap(*panel->zoomInButton());
        settle();
        return {panel, std::dynamic_pointer_cast<View>(panel->fullScreenView())};
    }
};

TEST_F(FullScreenTest, ColumnsComeFromTheLoginsTitleListWithCodeAndNameMerged) {
    logIn();
    struct Case {
        const char *name;
        std::vector<std::string> titleList;
        size_t columns;
        float width;
        bool merged;
    } cases[] = {
        {"ten without the pair", {titles(11141, 10, false)}, 11, 1240, false},
        {"ten with the pair", {titles(11141, 10, true)}, 10, 1120, true},
        {"five", {titles(11141, 5, false)}, 6, 1024, false},
        {"none for the reply", {titles(11143, 10, true)}, 1, 1024, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        setTitles(c.titleList);
        auto view = base::make<DealFullScreenView>(gfx::Rect{0, 20, 1024, 748});
        view->ResetTableColumns(11140);
        ASSERT_EQ(view->columnArray().size(), c.columns);
        EXPECT_EQ(view->tableWidth(), c.width);
        EXPECT_EQ(view->table().frame().width(), c.width);
        EXPECT_EQ(view->scrollView().contentSize().w, c.width);
        const base::Value &serial = view->columnArray()[0];
        EXPECT_EQ(serial["ColName"].stringValue(), "No");
        EXPECT_EQ(serial["ColWidth"].intValue(), 30);
        EXPECT_EQ(serial["SpecialName"].stringValue(), "INDEX");
        std::vector<std::string> names = captions(view->columnArray());
        EXPECT_EQ(names.size() > 1 && names[1] == " 名称", c.merged);
        if (c.merged) {
            EXPECT_EQ(std::count(names.begin(), names.end(), "列2"), 0) << "no separate code column";
            EXPECT_EQ(std::count(names.begin(), names.end(), "列5"), 0) << "no separate name column";
        }
    }
}

TEST_F(FullScreenTest, TheEntrustTableTakesOverThePanelsStateAndPagesOnItsOwn) {
    book->setRows(11134, 40);
    auto panel = open<EntrustQueryView>(104);
    ASSERT_TRUE(panel);
    tap(panel->pageStrip().nextButton());
    settle();
    ASSERT_EQ(panel->entrustData().currentPageNo(), 1);
    tap(*panel->zoomInButton());
    settle();
    auto view = panel->entrustFullScrView();
    ASSERT_TRUE(view);
    EXPECT_EQ(view->frame(), (gfx::Rect{0, 20, 1024, 748}));
    EXPECT_EQ(view->superview(), &host->view());
    EXPECT_EQ(view->titleLabel()->text(), "委托查询");
    EXPECT_EQ(view->pageStrip().pageInfo(), "从16到30条(共40条)");
    EXPECT_EQ(view->entrustData().currentPageNo(), 1);
    EXPECT_EQ(view->dataArray().size(), 15u);
    EXPECT_EQ(view->currentReqType(), 11134);
    EXPECT_EQ(view->dateRange()->startDate(), today());
    EXPECT_EQ(view->dateRange()->calendar().frame().x(), 352);
    EXPECT_EQ(view->scrollView().frame(), (gfx::Rect{0, 109, 1024, 640}));
    // The gateway's titles for today's orders: nine columns, code and name merged.
    EXPECT_EQ(captions(view->columnArray())[1], " 名称");
    EXPECT_EQ(view->tableWidth(), 30 + 8 * 120 + 10 < 1024 ? 1024 : 30 + 8 * 120 + 10);
    auto first = cell<GeneralCell>(view->table(), 0);
    ASSERT_TRUE(first);
    auto serial = dynamic_cast<ui::Label *>(first->columnAt(0));
    ASSERT_NE(serial, nullptr);
    EXPECT_EQ(serial->text(), "16") << "plain in full screen";
    EXPECT_EQ(first->accButton(), nullptr) << "no cancel button";

    size_t seen = sentCount();
    tap(view->pageStrip().nextButton());
    settle();
    EXPECT_EQ(sentSince(seen), std::vector<int>{11134});
    EXPECT_EQ(view->pageStrip().pageInfo(), "从31到40条(共40条)");
    tap(view->pageStrip().prevButton());
    tap(view->pageStrip().prevButton());
    EXPECT_EQ(view->entrustData().currentPageNo(), 0);
    EXPECT_EQ(panel->entrustData().currentPageNo(), 1) << "the panel's page is its own";
    EXPECT_EQ(panel->pageStrip().pageInfo(), "从16到30条(共40条)");

    tap(*view->closeButton());
    EXPECT_EQ(view->superview(), nullptr);
    EXPECT_EQ(panel->superview(), &host->view());
    EXPECT_EQ(panel->pageStrip().pageInfo(), "从16到30条(共40条)");
}

TEST_F(FullScreenTest, CancelModeFullScreenHasNoDatesNorSearchAndPages) {
    auto [panel, view] = openFull<EntrustQueryView, EntrustFullScreenView>(103);
    ASSERT_TRUE(view);
    EXPECT_TRUE(view->isQueryCanDisentrust());
    EXPECT_TRUE(view->dateRange()->startDateBtn().isHidden());
    EXPECT_TRUE(view->dateRange()->endDateBtn().isHidden());
    EXPECT_TRUE(view->searchBtn()->isHidden());
    EXPECT_EQ(view->currentReqType(), 11132);
    EXPECT_EQ(view->dataArray().size(), 15u);
    size_t seen = sentCount();
    tap(view->pageStrip().nextButton());
    settle();
    EXPECT_EQ(sentSince(seen), std::vector<int>{11132});
    EXPECT_EQ(view->pageStrip().pageInfo(), "从16到20条(共20条)");
}

TEST_F(FullScreenTest, AnEntrustTableScrolledSideways) {
    logIn();
    // A broker that shows twelve columns of today's orders: wider than the screen.
    setTitles({"11135,13,1042=委托编号,1036=证券代码,1037=证券名称,1026=买卖标志,1027=买卖方向,1041=委托价格,"
               "1040=委托数量,1047=成交数量,1049=成交金额,1043=委托状态,1038=委托日期,1039=委托时间,"
               "1019=股东代码"});
    auto [panel, view] = openFull<EntrustQueryView, EntrustFullScreenView>(104);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->tableWidth(), 30 + 12 * 120 + 10);
    EXPECT_EQ(view->scrollView().contentSize(), (gfx::Size{1480, 640}));
    view->scrollView().setContentOffset({view->tableWidth() - 1024, 0});
    settle();
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "trade/entrust-fullscreen-sideways"));
}

TEST_F(FullScreenTest, ASwitchBetweenTodayAndHistoryRebuildsTheDealColumns) {
    auto [panel, view] = openFull<DealQueryView, DealFullScreenView>(105);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->currentReqType(), 11140);
    EXPECT_EQ(captions(view->columnArray())[2], "买卖标志") << "the titles of 11141";
    view->dateRange()->setDates(daysBefore(4), today());
    tap(*view->searchBtn());
    settle();
    EXPECT_EQ(view->currentReqType(), 11142);
    EXPECT_EQ(captions(view->columnArray())[2], "成交日期") << "the titles of 11143";
    auto first = cell<GeneralCell>(view->table(), 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->titleClass, 11142) << "the row's columns were rebuilt";
    EXPECT_EQ(panel->dealData().getCurrentReqType(), 11140) << "the panel's query stays";
}

TEST_F(FullScreenTest, TheAccountViewOpensInRenminbiAndFillsItsOwnFields) {
    book->trade();
    auto panel = open<AccountCheckView>(100);
    ASSERT_TRUE(panel);
    panel->SwitchCurrencyTab(212);
    tap(*panel->zoomInButton());
    settle();
    auto view = panel->accountFullScrView();
    ASSERT_TRUE(view);
    EXPECT_EQ(view->valueLabel(1)->text(), "100000.00");
    EXPECT_EQ(view->valueLabel(0)->frame(), (gfx::Rect{0, 85, 1024.f / 6, 30}));
    EXPECT_FALSE(dynamic_cast<ui::Button *>(view->viewWithTag(211))->isEnabled()) << "人民币 marked";
    EXPECT_EQ(view->currentReqType(), 11146);
    EXPECT_EQ(view->dataArray().size(), 4u);
    EXPECT_EQ(view->scrollView().frame(), (gfx::Rect{0, 158, 1024, 590}));
    auto first = cell<GeneralCell>(view->table(), 0);
    ASSERT_TRUE(first);
    auto name = dynamic_cast<NameFieldView *>(first->columnAt(1));
    EXPECT_NE(name, nullptr) << "code and name in one column";

    // Its tabs work from the rows it was handed, also once its panel is gone.
    panel->UpdateMoneyArray(base::Array());
    view->SwitchCurrencyTab(213);
    EXPECT_EQ(view->valueLabel(1)->text(), "3800.00");
    EXPECT_EQ(panel->valueLabel(1)->text(), "--");
}

TEST_F(FullScreenTest, TheFullScreenGoesWithItsPanel) {
    struct Case {
        const char *name;
        int tag;
        bool lock; // the lock time-out rather than the panel's close button
    } cases[] = {{"closed panel", 105, false}, {"lock time-out", 104, true}, {"lock time-out", 100, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto panel = open<TradeQueryPanel>(c.tag);
        ASSERT_TRUE(panel);
        tap(*panel->zoomInButton());
        settle();
        base::Weak<ui::View> view = panel->fullScreenView();
        ASSERT_TRUE(view.lock());
        if (c.lock)
            bar->LockToolBar();
        else
            panel->CloseAction();
        EXPECT_EQ(view.lock() ? view.lock()->superview() : nullptr, nullptr);
        settleSlides();
        settleSlides();
        settle();
        panel.reset();
        EXPECT_FALSE(view.lock()) << "nothing holds it any more";
        if (c.lock) {
            EXPECT_EQ(bar->superview(), nullptr);
            bar.reset();
        }
    }
}

} // namespace
} // namespace toolbar
