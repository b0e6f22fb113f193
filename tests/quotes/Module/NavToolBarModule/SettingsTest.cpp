#include "NavToolBarFixture.h"

#include "Golden.h"
#include "Module/NavToolBarModule/SettingsViewController/AboutViewController.h"
#include "Module/NavToolBarModule/SettingsViewController/AccountPowerCell.h"
#include "Module/NavToolBarModule/SettingsViewController/AccountPowerController.h"
#include "Module/NavToolBarModule/SettingsViewController/CleanSettingsViewController.h"
#include "Module/NavToolBarModule/SettingsViewController/SettingsViewController.h"
#include "Module/NavToolBarModule/SettingsViewController/UserGuideViewController.h"

#include "base/PropertyList.h"
#include "gfx/Text.h"
#include "ui/Popover.h"

#include <filesystem>
#include <fstream>

namespace navtoolbar {
namespace {

namespace fs = std::filesystem;

// The settings popover opened from the market screen's bar, and what it asks and posts.
class SettingsTest : public NavToolBarTest {
protected:
    SettingsTest() {
        base::NotificationCenter::shared().addObserver(
            notes, DataBase::AppNotify, [this](const base::Notification &n) {
                posted.push_back(n.userInfo.get("MSG_ID").stringValue() + "/" +
                                 n.userInfo.get("Data").stringValue());
            });
    }
    ~SettingsTest() override { base::NotificationCenter::shared().removeObserver(notes.get()); }

    SettingsViewController &openSettings() {
        auto &control = *screen->navigationItem().leftItem()->customView();
        app.tap(centre(control));
        app.advance(1);
        base::Ref<ui::Popover> popover = DataManager::sharedDataManager().gSettingsPopoverVC;
        EXPECT_TRUE(popover && popover->isVisible());
        auto &content = dynamic_cast<ui::NavigationController &>(popover->content());
        return dynamic_cast<SettingsViewController &>(*content.viewControllers().front());
    }
    ui::NavigationController &settingsNav() {
        return dynamic_cast<ui::NavigationController &>(
            DataManager::sharedDataManager().gSettingsPopoverVC->content());
    }
    void tapRow(ui::TableView &table, ui::IndexPath path) {
        table.scrollToRow(path, ui::ScrollPosition::Middle, false);
        app.runPending();
        table.layoutIfNeeded();
        base::Ref<ui::TableCell> cell = table.cellForRow(path);
        ASSERT_TRUE(cell);
        app.tap(centre(*cell));
        app.advance(1);
    }
    base::Ref<ui::Alert> topAlert() {
        auto alerts = ui::Alert::visibleAlerts();
        return alerts.empty() ? nullptr : alerts.back();
    }
    // Presses a button of the alert on top and lets the answer run.
    void answer(int index) {
        ASSERT_TRUE(app.pressAlertButton(index));
        app.advance(1);
    }

    base::Ref<base::Object> notes = base::make<base::Object>();
    std::vector<std::string> posted;
};

class AccountSettingsTest : public SettingsTest {
protected:
    bool withAccount() const override { return true; }
};

// The rows are taller than the popover: a drag brings the last ones, "风险提示" and "关于", whole
// into the popover, where a finger reaches them.
TEST_F(SettingsTest, TheTableScrollsItsLastRowsIntoThePopover) {
    SettingsViewController &settings = openSettings();
    ui::TableView &table = settings.mTableView();
    gfx::Rect popover = settings.view().convert(settings.view().bounds(), nullptr);
    EXPECT_LT(popover.height(), SettingsTableController::kContentSize.h);
    EXPECT_LE(table.convert(table.bounds(), nullptr).maxY(), popover.maxY());
    gfx::Point middle{popover.midX(), popover.midY()};
    app.dragAndRest(middle, {middle.x, middle.y - 300});
    app.advance(2);
    table.layoutIfNeeded();
    for (const char *text : {"风险提示", "关于"}) {
        base::Ref<ui::TableCell> found;
        for (const auto &cell : table.visibleCells())
            if (cell->textLabel()->text() == text)
                found = cell;
        ASSERT_TRUE(found) << text;
        gfx::Rect frame = found->convert(found->bounds(), nullptr);
        EXPECT_GE(frame.y(), popover.y()) << text;
        EXPECT_LE(frame.maxY(), popover.maxY()) << text;
    }
}

TEST_F(SettingsTest, WithoutAnAccountTheFirstRowLogsIn) {
    SettingsViewController &settings = openSettings();
    EXPECT_EQ(settings.title(), "通用设置");
    EXPECT_EQ(settings.sectionArray, (std::vector<std::string>{"用户", "信息"}));
    EXPECT_EQ(settings.mTableView().cellForRow({0, 0})->textLabel()->text(), "登录");
    EXPECT_EQ(settings.mTableView().numberOfRows(0), 5);
    EXPECT_EQ(settings.mTableView().numberOfRows(1), 4);
}

TEST_F(AccountSettingsTest, WithAnAccountTheFirstRowSwitchesUser) {
    SettingsViewController &settings = openSettings();
    EXPECT_EQ(settings.sectionArray[0], "用户: u1");
    EXPECT_EQ(settings.mTableView().cellForRow({0, 0})->textLabel()->text(), "切换用户");
}

TEST_F(AccountSettingsTest, LoggingOutClosesTheLinksForgetsTheLoginAndAsksForTheMarketLogin) {
    DataManager::sharedDataManager().SaveLoginNamePwd("u1", "pw", true);
    SettingsViewController &settings = openSettings();
    tapRow(settings.mTableView(), {0, 0});
    settle();
    EXPECT_EQ(posted, std::vector<std::string>{"Stock_MSG/MainLogin"});
    EXPECT_FALSE(db->isHQConnected());
    EXPECT_FALSE(DataManager::sharedDataManager().gSettingsPopoverVC->isVisible());
    std::optional<base::Value> config = base::PropertyList::read(documentsFile("UserConfig.plist"));
    ASSERT_TRUE(config);
    EXPECT_EQ((*config)["LoginPwd"].stringValue(), "");
}

TEST_F(AccountSettingsTest, SyncChoicesReachTheQuoteServerOnlyWhenConfirmed) {
    quotes.setWatchList("u1", {"SH600036", "SZ000002"});
    auto local = [] {
        std::vector<std::string> codes;
        for (const base::Value &stock :
             DataManager::sharedDataManager().GetCurrentMyStockArrayByModelName("MyStockList"))
            codes.push_back(stock["MarketCode"].stringValue());
        return codes;
    };
    const std::vector<std::string> bundled = local();
    ASSERT_EQ(bundled.size(), 5u);
    std::vector<std::string> merged = bundled;
    merged.insert(merged.end(), {"SH600036", "SZ000002"});
    struct Case {
        const char *name;
        int choice; // button of the first alert; 0 cancels it
        bool confirm;
        size_t requests;
        std::vector<std::string> localAfter, serverAfter;
    } cases[] = {
        {"cancelled at once", 0, false, 0, bundled, {"SH600036", "SZ000002"}},
        {"merge not confirmed", 2, false, 0, bundled, {"SH600036", "SZ000002"}},
        {"merge", 2, true, 1, merged, {"SH600036", "SZ000002"}},
        {"upload", 3, true, 1, merged, merged},
        {"download and replace", 1, true, 1, merged, merged},
    };
    SettingsViewController &settings = openSettings();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        size_t before = quotes.receivedCount(peers::QuoteServer::WatchListSyncType);
        tapRow(settings.mTableView(), {0, 4});
        base::Ref<ui::Alert> first = topAlert();
        ASSERT_TRUE(first);
        EXPECT_EQ(first->tag, SettingsViewController::kSyncAlertTag);
        const std::vector<std::string> buttons = {"取 消", "下载自选股", "同步自选股", "上传自选股"};
        EXPECT_EQ(first->buttonTitle(c.choice), buttons[size_t(c.choice)]);
        answer(c.choice);
        if (c.choice) {
            ASSERT_TRUE(topAlert());
            EXPECT_EQ(topAlert()->tag, 10040 + c.choice);
            answer(c.confirm ? 1 : 0);
        }
        settle();
        if (auto box = topAlert())
            answer(0); // the result box
        EXPECT_EQ(quotes.receivedCount(peers::QuoteServer::WatchListSyncType) - before, c.requests);
        EXPECT_EQ(local(), c.localAfter);
        EXPECT_EQ(quotes.watchList("u1"), c.serverAfter);
    }
}

TEST_F(AccountSettingsTest, SyncWhileTheQuoteLinkIsDownTellsTheUser) {
    SettingsViewController &settings = openSettings();
    db->Disconnect();
    settle();
    tapRow(settings.mTableView(), {0, 4});
    answer(2);
    answer(1);
    settle();
    EXPECT_EQ(quotes.receivedCount(peers::QuoteServer::WatchListSyncType), 0u);
    ASSERT_FALSE(app.alerts().empty());
    EXPECT_EQ(app.alerts().back().message, SettingsViewController::kSyncOfflineText);
}

TEST_F(SettingsTest, RegistrationOpensOurAccountHostInTheBrowser) {
    SettingsViewController &settings = openSettings();
    tapRow(settings.mTableView(), {0, 1});
    EXPECT_EQ(app.openedUrls(), std::vector<std::string>{"http://127.0.0.1:21382/register.jsp"});
}

TEST_F(SettingsTest, SyncWithoutAnAccountOnlyTellsTheUser) {
    SettingsViewController &settings = openSettings();
    tapRow(settings.mTableView(), {0, 4});
    ASSERT_FALSE(app.alerts().empty());
    EXPECT_EQ(app.alerts().back().message, "对不起，请先登录或注册，才能进行自选股同步。");
    EXPECT_EQ(quotes.receivedCount(peers::QuoteServer::WatchListSyncType), 0u);
}

// A documents tree with the kinds of entries the cleaning meets.
struct Tree {
    fs::path documents{base::Paths::documents()}, outside;
    Tree() {
        outside = fs::path(base::Paths::temporary()) / "outside-documents";
        fs::remove_all(outside);
        fs::create_directories(outside);
        touch(outside / "kept.plist");
        for (const char *name : {"a.plist", "UserConfig.plist", "p.png", "P.PNG", "j.jpg", "J.JPG", "e.jpeg",
                                 "E.JPEG", "sub/deep/g.plist", "mixed.Png", "cache.dat", "noext", "plist"})
            touch(documents / name);
        fs::create_directories(documents / "dir.plist");
        fs::create_symlink(outside, documents / "linked");
        fs::create_symlink(outside / "kept.plist", documents / "link.plist");
    }
    ~Tree() {
        for (const char *name :
             {"mixed.Png", "cache.dat", "noext", "plist", "sub", "dir.plist", "linked", "link.plist"})
            fs::remove_all(documents / name);
        fs::remove_all(outside);
    }
    static void touch(const fs::path &path) {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "x";
    }
    bool has(const char *name) const { return fs::exists(fs::symlink_status(documents / name)); }
};

TEST_F(SettingsTest, CleaningDeletesPicturesAndPropertyListsOfTheDocumentsOnly) {
    Tree tree;
    CleanSettingsViewController::cleanDirectory(tree.documents.string());
    for (const char *gone : {"a.plist", "UserConfig.plist", "p.png", "P.PNG", "j.jpg", "J.JPG", "e.jpeg",
                             "E.JPEG", "sub/deep/g.plist"})
        EXPECT_FALSE(tree.has(gone)) << gone;
    for (const char *kept : {"mixed.Png", "cache.dat", "noext", "plist", "dir.plist", "linked", "link.plist"})
        EXPECT_TRUE(tree.has(kept)) << kept;
    EXPECT_TRUE(fs::exists(tree.outside / "kept.plist")) << "no link is followed out of the documents";
}

TEST_F(SettingsTest, ClearingTheAccountStartsFromTheBundlesDefaultsBeforeAnythingWrites) {
    DataManager &files = DataManager::sharedDataManager();
    files.AddNewStockToModel("我的自选", "MyStockList", "中国石化", "SH600028");
    files.AddLatestRecentViewed("浦发银行", "SH600000");
    files.gUserConfigDict.set("Stale", true);
    ASSERT_TRUE(files.SaveUserConfigFile());

    SettingsViewController &settings = openSettings();
    tapRow(settings.mTableView(), {0, 3});
    auto *clean = dynamic_cast<CleanSettingsViewController *>(settingsNav().top());
    ASSERT_TRUE(clean);
    EXPECT_EQ(clean->title(), "清除用户信息");
    tapRow(clean->mTableView(), {0, 0});
    ASSERT_TRUE(topAlert());
    EXPECT_EQ(topAlert()->tag, CleanSettingsViewController::kAccountTag);
    answer(1);
    settle();

    EXPECT_EQ(posted, std::vector<std::string>{"Stock_MSG/MainLogin"});
    EXPECT_FALSE(files.IsStockInMyStock("SH600028", "MyStockList"));
    EXPECT_TRUE(files.gLatestRecentViewedArray.empty());
    EXPECT_FALSE(files.gUserConfigDict.has("Stale"));
    // The log-out saved the login into the configuration: the defaults, not the old one.
    std::optional<base::Value> config = base::PropertyList::read(documentsFile("UserConfig.plist"));
    ASSERT_TRUE(config && config->dict());
    EXPECT_FALSE(config->dict()->has("Stale"));
}

TEST_F(SettingsTest, CancellingTheClearingChangesNothing) {
    DataManager::sharedDataManager().AddLatestRecentViewed("浦发银行", "SH600000");
    SettingsViewController &settings = openSettings();
    tapRow(settings.mTableView(), {0, 3});
    auto *clean = dynamic_cast<CleanSettingsViewController *>(settingsNav().top());
    ASSERT_TRUE(clean);
    for (int row : {0, 1}) {
        tapRow(clean->mTableView(), {row, 0});
        answer(0);
    }
    EXPECT_TRUE(fs::exists(documentsFile("LatestRecentViewed.plist")));
    EXPECT_TRUE(posted.empty());
}

TEST_F(AccountSettingsTest, TheRightsScreenKeepsItsOwnCopyOfTheRecords) {
    SettingsViewController &settings = openSettings();
    tapRow(settings.mTableView(), {0, 2});
    auto *rights = dynamic_cast<AccountPowerController *>(settingsNav().top());
    ASSERT_TRUE(rights);
    EXPECT_EQ(rights->userArray,
              (std::vector<std::string>{"用户名称:          u1", "登录状态:          登录成功"}));
    size_t shown = rights->powerArray.size();
    ASSERT_GT(shown, 0u);
    rights->mTableView().layoutIfNeeded();
    auto &cell = dynamic_cast<AccountPowerCell &>(*rights->mTableView().cellForRow({1, 0}));
    EXPECT_EQ(cell.nameLabel().text(), rights->powerArray.at(0)["PowerName"].stringValue());
    EXPECT_EQ(cell.validLabel().text(), rights->powerArray.at(0)["IsValid"].boolValue() ? "有效" : "无效");
    // The validity column shows whole inside the row.
    const ui::Label &valid = cell.validLabel();
    float text = gfx::measure(valid.text(), *valid.font()).w;
    EXPECT_LE(valid.frame().x() + text, valid.frame().maxX());
    EXPECT_LE(valid.frame().maxX(), cell.contentView().bounds().width());

    db->Disconnect(); // empties the live list
    settle();
    ASSERT_TRUE(db->IO_NetDataCenter()->IO_AccountPowerArray().empty());
    EXPECT_EQ(rights->powerArray.size(), shown);
    rights->mTableView().reloadData();
    app.runPending();
    EXPECT_EQ(rights->mTableView().numberOfRows(1), int(shown));
}

TEST_F(SettingsTest, TheRightsScreenWithoutAnAccount) {
    auto rights = base::make<AccountPowerController>();
    EXPECT_EQ(rights->userArray,
              (std::vector<std::string>{"用户名称:          --", "登录状态:          --"}));
    EXPECT_TRUE(rights->powerArray.empty());
}

TEST_F(SettingsTest, AboutAndRiskPages) {
    struct Case {
        int type;
        const char *title;
        const char *contains;
    } cases[] = {{AboutViewController::About, "关于", "V3.00"},
                 {AboutViewController::RiskWarning, "风险提示", "风险提醒："},
                 {7, "", ""}};
    for (const Case &c : cases) {
        auto about = base::make<AboutViewController>();
        about->aboutType = c.type;
        about->view();
        EXPECT_EQ(about->title(), c.title);
        EXPECT_NE(about->textView()->text().find(c.contains), std::string::npos);
        EXPECT_EQ(about->textView()->text().empty(), *c.contains == '\0');
    }
}

TEST_F(SettingsTest, TheGuidesStartButtonWorksOnItsFourthPageOnly) {
    SettingsViewController &settings = openSettings();
    tapRow(settings.mTableView(), {1, 0});
    EXPECT_FALSE(DataManager::sharedDataManager().gSettingsPopoverVC->isVisible());
    auto *guide =
        dynamic_cast<UserGuideViewController *>(app.window().rootViewController()->presentedController());
    ASSERT_TRUE(guide);
    UserGuideView &pages = *guide->guideView();
    EXPECT_EQ(pages.pageCtrl().currentPage(), 0);

    app.tap({880, 690}); // where the start button sits on the last page
    app.advance(1);
    EXPECT_EQ(app.window().rootViewController()->presentedController(), guide);

    for (int page = 1; page < UserGuideView::kPageCount; ++page) {
        app.fling({900, 300}, {300, 300});
        app.advance(2);
        EXPECT_EQ(pages.pageCtrl().currentPage(), page);
    }
    app.tap({880, 690});
    app.advance(1);
    EXPECT_EQ(app.window().rootViewController()->presentedController(), nullptr);
}

TEST_F(SettingsTest, SettingsLookRight) {
    openSettings();
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "shell/settings"));
}

} // namespace
} // namespace navtoolbar
