#include "NavToolBarFixture.h"

#include "Components/CMAlarmView/CMAlarmMainPanelCell.h"
#include "Components/CMAlarmViewController/CMAlarmEditViewController.h"
#include "Components/CMAlarmViewController/CMAlarmViewController.h"
#include "Golden.h"

#include "DataBase/ComAPI.h"
#include "ui/Alert.h"
#include "ui/Popover.h"

namespace navtoolbar {
namespace {

constexpr uint16_t kAlarmType = peers::QuoteServer::AlarmType;
enum SubType { Add = 300, Delete = 301, History = 302, Current = 307, Modify = 308 };

// The alarm popover of the home page's bar against the quote server, logged in under "u1".
class AlarmTest : public NavToolBarTest {
protected:
    bool withAccount() const override { return true; }
    void SetUp() override {
        NavToolBarTest::SetUp();
        screen->SetNavigationWithShowStockAlarm(true);
        // The login's passing tip has gone.
        advance(5);
        alarmFrames();
    }
    void TearDown() override {
        ui::Alert::discardAll();
        NavToolBarTest::TearDown();
    }

    // Alarms on the server as another screen of the same account would add them.
    void seed(std::vector<base::Dict> alarms) {
        base::Ref<StockAlarmData> seeder = StockAlarmData::create("AlarmTestSeeder");
        for (const base::Dict &alarm : alarms)
            seeder->reqAddAlarm(alarm);
        settle();
        alarmFrames();
    }

    CMAlarmViewController &open() {
        app.tap(centre(*screen->stockAlarmButton()));
        app.advance(1);
        settle();
        std::vector<base::Ref<ui::Popover>> shown = ui::Popover::visiblePopovers();
        EXPECT_EQ(shown.size(), 1u);
        return dynamic_cast<CMAlarmViewController &>(*nav().viewControllers().front());
    }
    ui::NavigationController &nav() {
        return dynamic_cast<ui::NavigationController &>(ui::Popover::visiblePopovers().front()->content());
    }
    void tapView(ui::View &view) {
        app.tap(centre(view));
        app.advance(1);
        settle();
    }
    void tapRight(ui::ViewController &controller) {
        tapView(*controller.navigationItem().rightItem()->view());
    }
    void tapList(CMAlarmViewController &list, int tag) {
        tapView(*list.navigationItem().leftItem()->customView()->viewWithTag(tag));
    }

    // The alarm requests since the last call.
    std::vector<peers::ReceivedFrame> alarmFrames() {
        std::vector<peers::ReceivedFrame> frames = quotes.received(kAlarmType);
        std::vector<peers::ReceivedFrame> fresh(frames.begin() + long(seen_), frames.end());
        seen_ = frames.size();
        return fresh;
    }
    static int subTypeOf(const peers::ReceivedFrame &frame) {
        uint32_t pos = 1;
        return uint16_t(ComAPI::ReadShort(frame.bytes(), pos));
    }
    std::vector<int> alarmSubTypes() {
        std::vector<int> types;
        for (const peers::ReceivedFrame &frame : alarmFrames())
            types.push_back(subTypeOf(frame));
        return types;
    }
    // The ids of a delete request.
    static std::vector<int32_t> deletedIDs(const peers::ReceivedFrame &frame) {
        ByteView body = frame.bytes();
        uint32_t pos = 11;
        for (int i = 0; i < 5; ++i)
            ComAPI::ReadString(body, pos);
        ComAPI::ReadByte(body, pos);
        ComAPI::ReadString(body, pos);
        std::vector<int32_t> ids(size_t(ComAPI::ReadShort(body, pos)));
        for (int32_t &id : ids)
            id = ComAPI::ReadInt(body, pos);
        return ids;
    }
    std::string topAlertMessage() {
        auto alerts = ui::Alert::visibleAlerts();
        return alerts.empty() ? std::string() : alerts.back()->message();
    }
    void closeAlerts() {
        while (!ui::Alert::visibleAlerts().empty())
            ASSERT_TRUE(app.pressAlertButton(0));
        app.advance(1);
    }
    CMAlarmEditViewController *form() {
        return dynamic_cast<CMAlarmEditViewController *>(nav().viewControllers().back().get());
    }
    std::vector<std::string> alarmCodes(const CMAlarmViewController &list) {
        std::vector<std::string> codes;
        for (const base::Value &row : const_cast<CMAlarmViewController &>(list).alarmView().dataArray())
            codes.push_back(row["STOCKCODE"].stringValue());
        return codes;
    }
    static base::Dict alarm(const char *code, const char *high = "", const char *limit = "一次") {
        return base::Dict{
            {"STOCKCODE", code}, {"HIGH", high}, {"LOW", "5.00"}, {"UPRATE", "3"}, {"LIMIT", limit}};
    }
    // Confirms the form and lets the reply and the list's new query run.
    void confirmForm() {
        tapRight(*form());
        ASSERT_EQ(topAlertMessage(), CMAlarmEditViewController::kConfirmMessage);
        ASSERT_TRUE(app.pressAlertButton(CMAlarmEditViewController::kConfirmButton));
        app.advance(1);
        settle();
        app.advance(1);
        settle();
    }

    size_t seen_ = 0;
};

TEST_F(AlarmTest, EachListAsksTheServerWhenItComesToView) {
    seed({alarm("SH600000", "20.00"), alarm("SZ000002", "", "永久")});
    CMAlarmViewController &list = open();
    EXPECT_EQ(alarmSubTypes(), std::vector<int>{Current});
    EXPECT_EQ(alarmCodes(list), (std::vector<std::string>{"SH600000", "SZ000002"}));
    EXPECT_EQ(list.title(), "预警列表");
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "shell/alarm-list"));

    // An alarm met at once by the day's price fired into the history.
    seed({alarm("SH600519", "1.00")});
    tapList(list, CMAlarmViewController::HistoryTag);
    EXPECT_EQ(alarmSubTypes(), std::vector<int>{History});
    ASSERT_TRUE(list.alarmDoneView());
    EXPECT_FALSE(list.alarmDoneView()->isHidden());
    EXPECT_TRUE(list.alarmView().isHidden());
    ASSERT_EQ(list.alarmDoneView()->dataArray().size(), 1u);
    EXPECT_EQ(list.alarmDoneView()->dataArray().at(0)["STOCKCODE"].stringValue(), "SH600519");
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "shell/alarm-history"));

    tapList(list, CMAlarmViewController::CurrentTag);
    EXPECT_EQ(alarmSubTypes(), std::vector<int>{Current});
    EXPECT_FALSE(list.alarmView().isHidden());
    EXPECT_TRUE(list.alarmDoneView()->isHidden());
}

TEST_F(AlarmTest, LeavingEditModeDeletesTheRemovedRowsInOneRequest) {
    seed({alarm("SH600000"), alarm("SH600036"), alarm("SZ000002"), alarm("SZ000001")});
    CMAlarmViewController &list = open();
    alarmFrames();

    tapRight(list);
    EXPECT_TRUE(list.isEditMode());
    EXPECT_EQ(list.navigationItem().rightItem()->title(), "完成");
    tapRight(list);
    EXPECT_FALSE(list.isEditMode());
    EXPECT_EQ(list.navigationItem().rightItem()->title(), "编辑");
    EXPECT_TRUE(alarmFrames().empty()) << "nothing removed, nothing sent";

    tapRight(list);
    ui::TableView &table = list.alarmView().mTableView();
    table.layoutIfNeeded();
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "shell/alarm-edit-mode"));
    for (int row : {2, 0, 0}) {
        table.layoutIfNeeded();
        base::Ref<ui::TableCell> cell = table.cellForRow({0, row});
        ASSERT_TRUE(cell);
        table.commitDelete(*cell);
    }
    app.advance(1);
    EXPECT_EQ(alarmCodes(list), std::vector<std::string>{"SZ000001"}) << "gone from the screen at once";
    EXPECT_TRUE(alarmFrames().empty()) << "and from the server only at the end";

    tapRight(list);
    std::vector<peers::ReceivedFrame> sent = alarmFrames();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(subTypeOf(sent[0]), Delete);
    EXPECT_EQ(deletedIDs(sent[0]), (std::vector<int32_t>{3, 1, 2}));
    EXPECT_EQ(subTypeOf(sent[1]), Current) << "the list is asked for again";
    EXPECT_EQ(quotes.alarms("u1").size(), 1u);
    EXPECT_EQ(alarmCodes(list), std::vector<std::string>{"SZ000001"});
}

TEST_F(AlarmTest, RefusalsSpeakAsTheListsAndTheDeleteWant) {
    seed({alarm("SH600000"), alarm("SH600036")});
    struct Case {
        const char *name;
        int subType;
        int result;
        const char *reason;
        std::string expected; // empty: no message
    };
    const Case cases[] = {
        {"list with a reason", Current, 1, "服务器忙", "查询预警列表失败！原因：服务器忙"},
        {"list without one", Current, 2, "", ""},
        // The server's reason when it has no history.
        {"history", History, 0, "", "查询历史预警失败！原因：没有历史预警"},
        {"delete with a reason", Delete, 1, "预警不存在", "删除预警失败！原因：预警不存在"},
        {"delete without one", Delete, 2, "", "删除预警失败！原因："},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.result)
            quotes.failNextAlarm(c.subType, c.result, c.reason);
        CMAlarmViewController &list = open();
        if (c.subType == History)
            tapList(list, CMAlarmViewController::HistoryTag);
        if (c.subType == Delete) {
            tapRight(list);
            list.alarmView().mTableView().layoutIfNeeded();
            list.alarmView().mTableView().commitDelete(*list.alarmView().mTableView().cellForRow({0, 0}));
            tapRight(list);
            EXPECT_EQ(alarmCodes(list), (std::vector<std::string>{"SH600000", "SH600036"}))
                << "the server kept both: asked again, they come back";
        }
        EXPECT_EQ(topAlertMessage(), c.expected);
        closeAlerts();
        app.tap({900, 700});
        app.advance(1);
    }
}

TEST_F(AlarmTest, TheSearchListsTheFirstMatchesAndPlusOpensAnEmptyForm) {
    CMAlarmViewController &list = open();
    CMAlarmView &view = list.alarmView();
    list.didSearchWord("");
    EXPECT_TRUE(view.isShowingResults());
    EXPECT_TRUE(view.alarmResultsView().dataArray().empty());

    base::Array dollar = list.getSearchResult("$sh600000");
    ASSERT_EQ(dollar.size(), 1u);
    EXPECT_EQ(dollar.at(0)["order"].intValue(), 100);
    for (const base::Value &result : list.getSearchResult("000"))
        if (result["code"].stringValue() == "SH600000")
            EXPECT_EQ(result["order"].intValue(), 98);

    app.render(); // the bar lays its field out as it is drawn
    app.tap(centre(view.mSearchBar().textField()));
    app.typeText("6000");
    settle();
    EXPECT_EQ(view.mSearchBar().text(), "6000");
    ASSERT_TRUE(view.isShowingResults());
    const base::Array &rows = view.alarmResultsView().dataArray();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.at(0)["NAME"].stringValue(), "SH600000        浦发银行");
    EXPECT_EQ(rows.at(0)["KEY"].stringValue(), "SH600000");
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "shell/alarm-search"));

    ui::TableView &results = view.alarmResultsView().mTableView();
    results.layoutIfNeeded();
    base::Ref<ui::TableCell> first = results.cellForRow({0, 0});
    ASSERT_TRUE(first && first->accessoryView());
    tapView(*first->accessoryView());
    app.advance(1);
    CMAlarmEditViewController *edit = form();
    ASSERT_TRUE(edit);
    EXPECT_FALSE(view.isShowingResults());
    EXPECT_TRUE(edit->isAddAlarm());
    EXPECT_EQ(edit->marketCode(), "SH600000");
}

// A new alarm for SH600000 from the search, its form on top.
class AlarmFormTest : public AlarmTest {
protected:
    CMAlarmEditViewController &newForm(CMAlarmViewController &list, const std::string &code = "SH600000") {
        list.addStockAlarmAction(code, true, 0, base::Value());
        app.advance(1);
        settle();
        alarmFrames();
        return *form();
    }
    CMInputCell &row(CMAlarmEditViewController &edit, int index) {
        ui::TableView &table = edit.alarmEditView().mTableView();
        table.scrollToRow({1, index}, ui::ScrollPosition::Middle, false);
        table.layoutIfNeeded();
        auto cell = std::dynamic_pointer_cast<CMInputCell>(table.cellForRow({1, index}));
        EXPECT_TRUE(cell);
        return *cell;
    }
    static bool showsPercent(CMInputCell &cell) {
        if (!cell.valueField())
            return false;
        for (const auto &view : cell.valueField()->subviews())
            if (auto *label = dynamic_cast<ui::Label *>(view.get()); label && label->text() == "%")
                return !label->isHidden();
        return false;
    }
};

TEST_F(AlarmFormTest, ANewAlarmConfirmedAsItIsGoesOutOnceWithNothingSet) {
    CMAlarmViewController &list = open();
    CMAlarmEditViewController &edit = newForm(list);
    EXPECT_EQ(edit.title(), "预警条件");
    for (int index = 0; index < 5; ++index)
        EXPECT_EQ(row(edit, index).valueField()->text(), "") << index;
    ASSERT_TRUE(row(edit, 5).switchBtn());
    EXPECT_TRUE(row(edit, 5).switchBtn()->isOn()) << "once";

    // The panel has its quote: name, code, and the price coloured by the day's change.
    ui::TableView &table = edit.alarmEditView().mTableView();
    table.scrollToRow({0, 0}, ui::ScrollPosition::Top, false);
    table.layoutIfNeeded();
    auto panel = std::dynamic_pointer_cast<CMAlarmMainPanelCell>(table.cellForRow({0, 0}));
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->nameLabel().text(), "浦发银行");
    EXPECT_EQ(panel->codeLabel().text(), "SH600000");
    base::Value quote = edit.alarmEditView().quoteDict();
    ASSERT_FALSE(quote["LAST"].stringValue().empty());
    double rate = std::strtod(quote["RATE"].stringValue().c_str(), nullptr);
    EXPECT_EQ(*panel->valueAtTag(1)->textColor(), *(rate > 0   ? gfx::Color::red()
                                                    : rate < 0 ? gfx::Color::rgba(0, 0.6f, 0)
                                                               : gfx::Color::black()));
    app.advance(1);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "shell/alarm-form"));

    confirmForm();
    std::vector<int> sent = alarmSubTypes();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), Add);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), Add), 1);
    std::vector<peers::QuoteServer::Alarm> kept = quotes.alarms("u1");
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].code, "SH600000");
    for (float threshold : {kept[0].high, kept[0].low, kept[0].rise, kept[0].fall, kept[0].exchange})
        EXPECT_EQ(threshold, -1.f);
    EXPECT_EQ(form(), nullptr) << "success returns to the list";
    EXPECT_EQ(alarmCodes(list), std::vector<std::string>{"SH600000"}) << "which asked again";
}

TEST_F(AlarmFormTest, AnAlarmOpenedFromItsRowChangesOnlyWhatWasChanged) {
    seed({alarm("SH600036", "40.00")});
    CMAlarmViewController &list = open();
    ui::TableView &table = list.alarmView().mTableView();
    table.layoutIfNeeded();
    base::Ref<ui::TableCell> cell = table.cellForRow({0, 0});
    ASSERT_TRUE(cell);
    table.accessoryTapped(*cell);
    app.advance(1);
    settle();
    alarmFrames();
    CMAlarmEditViewController &edit = *form();
    EXPECT_FALSE(edit.isAddAlarm());
    EXPECT_EQ(edit.alarmID(), 1);
    EXPECT_EQ(row(edit, 0).valueField()->text(), "40.00");
    EXPECT_EQ(row(edit, 1).valueField()->text(), "5.00");
    EXPECT_TRUE(row(edit, 5).switchBtn()->isOn());

    row(edit, 5).switchBtn()->setOn(false);
    row(edit, 5).switchBtn()->sendActions(ui::ValueChanged);
    confirmForm();
    std::vector<int> sent = alarmSubTypes();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), Modify);
    ASSERT_EQ(list.alarmView().dataArray().size(), 1u);
    base::Value shown = list.alarmView().dataArray().at(0);
    EXPECT_EQ(shown["LIMIT"].stringValue(), "永久");
    EXPECT_EQ(shown["HIGH"].stringValue(), "40.00");
    EXPECT_EQ(shown["LOW"].stringValue(), "5.00");
    EXPECT_EQ(shown["UPRATE"].stringValue(), "3.00");
}

TEST_F(AlarmFormTest, WhatIsTypedGoesOutEvenFromTheFieldStillBeingEdited) {
    CMAlarmViewController &list = open();
    CMAlarmEditViewController &edit = newForm(list);

    // Cancelling the confirmation sends nothing and keeps the form.
    tapRight(edit);
    ASSERT_TRUE(app.pressAlertButton(0));
    app.advance(1);
    settle();
    EXPECT_TRUE(alarmFrames().empty());
    EXPECT_EQ(form(), &edit);

    CMInputCell &low = row(edit, 1);
    app.tap(centre(*low.valueField()));
    app.typeText("7.5");
    CMInputCell &rise = row(edit, 2);
    app.tap(centre(*rise.valueField()));
    app.typeText("4");
    ASSERT_TRUE(rise.valueField()->isEditing());
    confirmForm();
    std::vector<peers::QuoteServer::Alarm> kept = quotes.alarms("u1");
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_FLOAT_EQ(kept[0].low, 7.5f);
    EXPECT_FLOAT_EQ(kept[0].rise, 4.f);
}

TEST_F(AlarmFormTest, OnlyThePercentageRowsShowTheSignAlsoAfterScrolling) {
    CMAlarmViewController &list = open();
    CMAlarmEditViewController &edit = newForm(list);
    for (int pass = 0; pass < 2; ++pass)
        for (int index : {4, 0, 2, 1, 3}) {
            CMInputCell &cell = row(edit, index);
            app.tap(centre(*cell.valueField()));
            EXPECT_EQ(showsPercent(cell), index >= 2) << "row " << index;
            app.typeText(std::to_string(index));
        }
    base::Dict values = edit.alarmEditView().getAlarmValueDict();
    EXPECT_EQ(values.get("HIGH").stringValue(), "00");
    EXPECT_EQ(values.get("DOWNRATE").stringValue(), "33");
    EXPECT_EQ(values.get("TURNOVER").stringValue(), "44");
}

TEST_F(AlarmFormTest, ARefusedAlarmStaysOnTheFormWithItsValues) {
    CMAlarmViewController &list = open();
    struct Case {
        const char *name;
        const char *typed;
        bool serverRefuses;
        std::string message;
    };
    const Case cases[] = {
        {"by the server", "12", true, "添加预警失败！原因：超出预警数量"},
        {"not a number", "12元", false, "添加预警失败！原因：预警条件须为数字"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CMAlarmEditViewController &edit = newForm(list);
        if (c.serverRefuses)
            quotes.failNextAlarm(Add, 1, "超出预警数量");
        CMInputCell &high = row(edit, 0);
        app.tap(centre(*high.valueField()));
        app.typeText(c.typed);
        confirmForm();
        EXPECT_EQ(topAlertMessage(), c.message);
        closeAlerts();
        EXPECT_EQ(form(), &edit) << "still on the form";
        EXPECT_EQ(row(edit, 0).valueField()->text(), c.typed);
        EXPECT_EQ(edit.alarmEditView().valueDict().get("STOCKCODE").stringValue(), "SH600000");
        EXPECT_TRUE(quotes.alarms("u1").empty());
        nav().pop(false);
        app.runPending();
        settle();
    }
}

} // namespace
} // namespace navtoolbar
