#include "ToolBarFixture.h"

#include "Class/Module/ToolBarView/TradeSettingsView/AutoLockView.h"
#include "Class/Module/ToolBarView/TradeSettingsView/TradeSettingsView.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"
#include "support/Golden.h"

#include "base/NotificationCenter.h"
#include "base/PropertyList.h"

#include <sys/stat.h>

namespace toolbar {
namespace {

std::string settingsPath() {
    return TradeMsgCenter::dataFilePath(TradeMsgCenter::kSettingsFile);
}

std::optional<base::Dict> storedSettings() {
    std::optional<base::Value> read = base::PropertyList::read(settingsPath());
    if (!read || !read->dict())
        return std::nullopt;
    return *read->dict();
}

class SettingsTest : public ToolBarTest {
protected:
    SettingsTest() {
        base::NotificationCenter::shared().addObserver(
            observer, "AppNotify", [this](const base::Notification &n) {
                if (n.userInfo.get("Data").stringValue() == "TraderTimerOut")
                    ++timerOuts;
            });
    }
    ~SettingsTest() override { base::NotificationCenter::shared().removeObserver(observer.get()); }

    // The settings panel open, and its lock-time list over it.
    base::Ref<AutoLockView> openLockList() {
        press(130);
        settleSlides();
        settings = panel<TradeSettingsView>();
        if (!settings)
            return nullptr;
        settings->settingTableView().layoutIfNeeded();
        base::Ref<ui::TableCell> row = settings->settingTableView().cellForRow({0, 0});
        if (row)
            tap(*row);
        return settings->autoLockView();
    }
    void choose(AutoLockView &list, int row) {
        list.autoLockTableView().layoutIfNeeded();
        base::Ref<ui::TableCell> cell = list.autoLockTableView().cellForRow({0, row});
        ASSERT_TRUE(cell);
        tap(*cell);
    }
    // Both lists closed by their close buttons.
    void closeAll(AutoLockView &list) {
        tap(*list.closeButton());
        tap(*settings->closeButton());
        settleSlides();
    }

    base::Ref<TradeSettingsView> settings;
    int timerOuts = 0;
    base::Ref<base::Object> observer = base::make<base::Object>();
};

TEST_F(SettingsTest, OneGroupWithOneRowOpensTheSevenLockTimes) {
    showBar();
    base::Ref<AutoLockView> list = openLockList();
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->sectionArray(), std::vector<std::string>{"安全"});
    EXPECT_EQ(settings->itemArray(), std::vector<std::string>{"超时保护"});
    EXPECT_TRUE(settings->zoomInButton()->isHidden());
    ASSERT_TRUE(list);
    EXPECT_EQ(list->superview(), settings.get());
    EXPECT_EQ(list->frame(), (gfx::Rect{0, 0, 320, 654})) << "covering the whole panel";
    EXPECT_EQ(list->titleLabel()->text(), "超时保护");
    list->autoLockTableView().layoutIfNeeded();
    const char *items[] = {"1 分钟", "2 分钟", "5 分钟", "10 分钟", "15 分钟", "30 分钟", "永 不"};
    for (int row = 0; row < 7; ++row) {
        base::Ref<ui::TableCell> cell = list->autoLockTableView().cellForRow({0, row});
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->textLabel()->text(), items[row]);
        EXPECT_EQ(cell->accessoryType() == ui::TableCell::Accessory::Checkmark, row == 3)
            << "the bundle's 10";
    }
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "trade/lock-time-list"));

    tap(*list->closeButton());
    EXPECT_EQ(list->superview(), nullptr) << "back to the settings list";
    EXPECT_EQ(settings->superview(), &host->view());
}

TEST_F(SettingsTest, FiveMinutesLockTheSessionFiveMinutesAfterTheSettingsClose) {
    logIn();
    showBar();
    base::Ref<AutoLockView> list = openLockList();
    ASSERT_TRUE(list);
    choose(*list, 2);
    EXPECT_EQ(list->currentSelRow(), 2);
    EXPECT_EQ(TradeMsgCenter::sharedTradeMsgCenter()->lockTimeMinute(), 5);
    EXPECT_FALSE(lockCounting()) << "not while the settings are open";
    closeAll(*list);
    EXPECT_TRUE(lockCounting());
    driver.advance(299);
    EXPECT_EQ(timerOuts, 0);
    driver.advance(1.5);
    EXPECT_EQ(timerOuts, 1);
    settle();
    EXPECT_TRUE(bar->isToolBarHidden());
    EXPECT_EQ(gateway->openConnections(), 0) << "the gateway sees the close";
}

TEST_F(SettingsTest, NeverLeavesNoTimerAndIsStored) {
    showBar();
    base::Ref<AutoLockView> list = openLockList();
    ASSERT_TRUE(list);
    choose(*list, 6);
    closeAll(*list);
    EXPECT_FALSE(lockCounting());
    std::optional<base::Dict> stored = storedSettings();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->get("LockTimeMin").intValue(), -1);
}

TEST_F(SettingsTest, AChoiceWritesTheWholeDictionaryOwnerOnly) {
    struct Case {
        const char *name;
        std::optional<base::Dict> before; // none: the bundle's copy is read
        base::Dict after;
    } cases[] = {
        {"from the bundle copy", std::nullopt, {{"LockTimeMin", int64_t(15)}, {"LockPassword", ""}}},
        {"the documents copy keeps its keys",
         base::Dict{{"LockTimeMin", int64_t(2)}, {"LockPassword", "p4ss"}, {"Other", "x"}},
         {{"LockTimeMin", int64_t(15)}, {"LockPassword", "p4ss"}, {"Other", "x"}}},
    };
    showBar();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::remove(settingsPath().c_str());
        if (c.before)
            ASSERT_TRUE(base::PropertyList::write(*c.before, settingsPath()));
        base::Ref<AutoLockView> list = openLockList();
        ASSERT_TRUE(list);
        choose(*list, 4);
        std::optional<base::Dict> stored = storedSettings();
        ASSERT_TRUE(stored);
        for (const auto &[key, value] : c.after.entries())
            EXPECT_EQ(stored->get(key), value) << key;
        EXPECT_EQ(stored->size(), c.after.size());
        struct stat info {};
        ASSERT_EQ(stat(settingsPath().c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        closeAll(*list);
    }
}

TEST_F(SettingsTest, TheMarkShowsWhatTheTimerWillDoAndTheValueStaysUntilChosen) {
    struct Case {
        const char *name;
        std::optional<base::Value> stored; // none: the key is missing
        int row;                           // -1: no row marked
    } cases[] = {
        {"missing", std::nullopt, 6},
        {"not a number", base::Value("5"), 6},
        {"zero", base::Value(int64_t(0)), 6},
        {"never", base::Value(int64_t(-1)), 6},
        {"negative", base::Value(int64_t(-7)), 6},
        {"a choice", base::Value(int64_t(30)), 5},
        {"no choice", base::Value(int64_t(7)), -1},
        {"a fraction", base::Value(2.5), -1},
    };
    showBar();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        base::Dict before{{"LockPassword", ""}};
        if (c.stored)
            before.set("LockTimeMin", *c.stored);
        ASSERT_TRUE(base::PropertyList::write(before, settingsPath()));
        base::Ref<AutoLockView> list = openLockList();
        ASSERT_TRUE(list);
        EXPECT_EQ(list->currentSelRow(), c.row);
        list->autoLockTableView().layoutIfNeeded();
        for (const auto &cell : list->autoLockTableView().visibleCells())
            EXPECT_EQ(cell->accessoryType() == ui::TableCell::Accessory::Checkmark,
                      list->autoLockTableView().indexPathForCell(*cell)->row == c.row);
        closeAll(*list);
        std::optional<base::Dict> after = storedSettings();
        ASSERT_TRUE(after);
        EXPECT_EQ(*after, before) << "unchanged until the user chooses";
    }
}

} // namespace
} // namespace toolbar
