#include "../StockDataBaseMgnt/DataManager/UserFilesFixture.h"

#include "Module/MyStock/ConfigBarView.h"
#include "Module/MyStock/ConfigView.h"

#include "ui/Window.h"

namespace mystock {

namespace {

struct BarTaps : base::Object, ConfigBarViewDelegate {
    std::vector<int> tags;
    base::Opt<void> BtnEditMyStockAction(ui::Button &) override {
        tags.push_back(0);
        return {};
    }
    base::Opt<void> SwitchTabButtonAction(ui::Button &sender) override {
        tags.push_back(sender.tag);
        return {};
    }
    base::Opt<void> SwitchCircleTabAction(ui::Button &sender) override {
        tags.push_back(sender.tag);
        return {};
    }
};

struct ConfigBarTest : ::testing::Test {
    host::TestApp app;
    base::Ref<BarTaps> taps = base::make<BarTaps>();
    base::Ref<ConfigBarView> bar = base::make<ConfigBarView>(gfx::Rect{0, 0, 1024, 36});

    ConfigBarTest() {
        bar->delegate = taps;
        app.window().addSubview(bar);
        bar->EnableCircleBtn(true);
        app.runPending();
    }
    void tap(const ui::View &view) {
        gfx::Rect r = view.convert(view.bounds(), nullptr);
        app.tap({r.x() + r.width() / 2, r.y() + r.height() / 2});
    }
    std::vector<bool> circleEnabled() {
        std::vector<bool> enabled;
        for (int i = 0; i < ConfigBarView::switchCircleBtnNum; ++i)
            enabled.push_back(bar->circleButton(i)->isEnabled());
        return enabled;
    }
};

TEST_F(ConfigBarTest, ButtonsSitWhereTheBarPlacesThemAtWidth1024) {
    for (int i = 0; i < ConfigBarView::switchTabBtnNum; ++i)
        EXPECT_EQ(bar->tabButton(i)->frame().x(), 776 + 42 * i);
    EXPECT_EQ(bar->tabButton(3)->frame().maxX(), 944);
    EXPECT_EQ(bar->editButton().frame().x(), 949);
    for (int i = 0; i < ConfigBarView::switchCircleBtnNum; ++i)
        EXPECT_EQ(bar->circleButton(i)->frame().x(), 272 + 80 * i);
}

TEST_F(ConfigBarTest, TheChosenButtonIsDisabledAndTappingItOrTheTitleDoesNothing) {
    tap(*bar->tabButton(0));
    tap(bar->buttonList());
    tap(*bar->circleButton(0));
    EXPECT_TRUE(taps->tags.empty());

    tap(*bar->tabButton(2));
    tap(*bar->circleButton(3));
    tap(bar->editButton());
    EXPECT_EQ(taps->tags, (std::vector<int>{102, 203, 0}));
    EXPECT_TRUE(bar->tabButton(0)->isEnabled());
    EXPECT_FALSE(bar->tabButton(2)->isEnabled());
    EXPECT_EQ(circleEnabled(), (std::vector<bool>{true, true, true, false, true, true}));

    bar->SetSelectedCircleTabIndex(0, 1);
    EXPECT_EQ(circleEnabled(), (std::vector<bool>{true, true, true, false, true, true}));
    bar->SetSelectedCircleTabIndex(0, 0);
    EXPECT_EQ(circleEnabled(), (std::vector<bool>{false, true, true, true, true, true}));
}

// The editor over the bundle's default group "MyStockList" (five stocks) of a fresh home.
struct EditorTest : UserFiles {
    base::Ref<ConfigView> editor = base::make<ConfigView>(gfx::Rect{0, 36, 1024, 600});

    void SetUp() override {
        UserFiles::SetUp();
        editor->currentModelFileName = "MyStockList";
        editor->SetTableDataArray(dm.GetCurrentMyStockArrayByModelName("MyStockList"));
        app.window().addSubview(editor);
        app.runPending();
    }
    ui::TableDataSource &source() { return *editor->configTableView().dataSource.lock(); }
    std::vector<std::string> codes(const base::Array &entries) {
        std::vector<std::string> list;
        for (const auto &entry : entries)
            list.push_back(entry["MarketCode"].stringValue());
        return list;
    }
};

TEST_F(EditorTest, EditsWriteTheDocumentsCopyAtOnce) {
    ASSERT_FALSE(base::FileManager::exists(path("MyStockList.plist")));
    std::vector<std::string> before = codes(editor->myStockArray());
    ASSERT_EQ(before.size(), 5u);

    source().moveRow(editor->configTableView(), {0, 2}, {0, 0});
    std::vector<std::string> moved = {before[2], before[0], before[1], before[3], before[4]};
    ASSERT_TRUE(stored("MyStockList.plist").array());
    EXPECT_EQ(codes(*stored("MyStockList.plist").array()), moved);

    for (int left = 4; left >= 0; --left)
        source().commitEditing(editor->configTableView(), ui::EditingStyle::Delete, {0, 0});
    EXPECT_EQ(stored("MyStockList.plist"), base::Value(base::Array()));
    EXPECT_EQ(editor->configTableView().numberOfRows(0), 0);
}

TEST_F(EditorTest, AnEditThatCannotBeSavedShowsTheFileAgainAfterOneAlert) {
    source().commitEditing(editor->configTableView(), ui::EditingStyle::Insert, {0, 0});
    EXPECT_EQ(editor->myStockArray().size(), 5u);
    breakDocuments();
    source().commitEditing(editor->configTableView(), ui::EditingStyle::Delete, {0, 0});
    app.runPending();
    EXPECT_EQ(toastTexts(), std::vector<std::string>{"文件保存失败"});
    EXPECT_EQ(editor->myStockArray(), dm.GetCurrentMyStockArrayByModelName("MyStockList"));
    EXPECT_EQ(editor->configTableView().numberOfRows(0), int(editor->myStockArray().size()));
}

TEST_F(EditorTest, ADamagedGroupFileShowsNoRowsAndIsNeverWritten) {
    storeBytes("MyStockList.plist", "<plist><array><dict>");
    editor->SetTableDataArray(dm.GetCurrentMyStockArrayByModelName("MyStockList"));
    EXPECT_EQ(editor->configTableView().numberOfRows(0), 0);
    source().commitEditing(editor->configTableView(), ui::EditingStyle::Delete, {0, 0});
    source().moveRow(editor->configTableView(), {0, 1}, {0, 0});
    base::Data bytes = base::FileManager::read(path("MyStockList.plist")).value_or(base::Data());
    EXPECT_EQ(bytes.toString(), "<plist><array><dict>");
}

} // namespace

} // namespace mystock
