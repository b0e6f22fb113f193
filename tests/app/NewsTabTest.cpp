#include "StartupFixture.h"

#include "DataBase/DataBase.h"
#include "Golden.h"

#include "DataManagement/DLDataManagement/DLDataManagement.h"
#include "Module/NewsViewController/NewsViewController.h"

#include "base/Bundle.h"
#include "base/FileManager.h"
#include "base/Paths.h"
#include "base/PropertyList.h"
#include "ui/NavigationController.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace app {
namespace {

// The application started whole against our news documents: the board menu files after a login,
// and the news tab.
class NewsTabTest : public StartupTest {
protected:
    static constexpr const char *MenuFiles[] = {"StockModelMenu.plist", "DDEModelMenu.plist",
                                                "SectionModelMenu.plist"};

    NewsTabTest() {
        nginx->serveNewsRoot();
        for (const char *file : MenuFiles)
            base::FileManager::remove(menuPath(file));
        driver.watch([] {
            auto fetcher = DLDataManagement::sharedDLDataManagement()->newsDataManagement();
            return !fetcher || fetcher->pendingRequestCount() == 0;
        });
    }
    // The menus written here would change the market screens of the tests that follow.
    ~NewsTabTest() override {
        shutDown();
        driver.runUntilIdle();
        for (const char *file : MenuFiles)
            base::FileManager::remove(menuPath(file));
    }
    static std::string menuPath(const std::string &file) {
        return base::Paths::join(base::Paths::documents(), file);
    }
    static base::Array menu(const std::string &file) {
        std::optional<base::Value> read = base::PropertyList::read(menuPath(file));
        return read && read->array() ? *read->array() : base::Array();
    }
    // Name and class id of each row.
    static std::vector<std::pair<std::string, int64_t>> rows(const base::Array &menu) {
        std::vector<std::pair<std::string, int64_t>> out;
        for (const base::Value &row : menu)
            out.emplace_back(row["MENU_NAME"].stringValue(), row["CLASS_ID"].intValue());
        return out;
    }
    void loggedIn() {
        writeUserConfig({{"IsShowNoticeAnnounce", false}, {"MainLoginName", ""}});
        launch();
        ASSERT_TRUE(runUntil([&] { return tabsShown(); }));
        driver.runUntilIdle();
    }
    // The board lists asked again, with the variant in place of the host's document.
    void boardListsFrom(const std::string &variant) {
        std::filesystem::copy_file(nginx->root() + "/wap/data/" + variant,
                                   nginx->root() + "/wap/data/bkinfo.json",
                                   std::filesystem::copy_options::overwrite_existing);
        for (const char *file : MenuFiles)
            base::FileManager::remove(menuPath(file));
        NewsData::create()->reqMarketBoard();
        driver.runUntilIdle();
    }
};

TEST_F(NewsTabTest, TheLoginRewritesTheBoardMenus) {
    base::FileManager::writeAtomically(menuPath("DDEModelMenu.plist"), base::Data::fromString("an old menu"));
    loggedIn();
    using Rows = std::vector<std::pair<std::string, int64_t>>;
    EXPECT_EQ(rows(menu("DDEModelMenu.plist")), (Rows{{"大单净量", 12}, {"板块资金", 105}, {"板块类", 105}}));
    base::Array dde = menu("DDEModelMenu.plist");
    EXPECT_EQ(dde[2]["MENU_ID"].stringValue(), "MENU_STOCK_HUSHEN_ZXB");
    EXPECT_EQ(dde[2]["CLASS_ID"].stringValue(), "105");
    EXPECT_FALSE(dde[2].dict()->has("HasSubMenu"));
    EXPECT_EQ(rows(menu("SectionModelMenu.plist")),
              (Rows{{"阶段涨幅", 25}, {"阶段换手", 26}, {"板块类", 105}}));

    base::Array stock = menu("StockModelMenu.plist");
    base::Array bundle =
        *base::PropertyList::read(*base::Bundle::main().pathFor("StockModelMenu", "plist"))->array();
    ASSERT_EQ(stock.size(), bundle.size());
    for (size_t i = 1; i < stock.size(); ++i)
        EXPECT_EQ(stock[i], bundle[i]) << "row " << i;
    base::Array sub = *stock[0]["SUB_MENU_ARRAY"].array();
    EXPECT_EQ(rows(sub), (Rows{{"银行", 201}, {"券商", 202}, {"保险", 0}}));
    for (const base::Value &row : sub) {
        EXPECT_EQ(row["MENU_ID"], row["MENU_NAME"]);
        EXPECT_FALSE(row["HasSubMenu"].boolValue());
    }
    EXPECT_EQ(stock[0]["MENU_NAME"], bundle[0]["MENU_NAME"]);

    boardListsFrom("bkinfo_no_ddejc.json");
    EXPECT_TRUE(base::FileManager::exists(menuPath("StockModelMenu.plist")));
    EXPECT_TRUE(base::FileManager::exists(menuPath("SectionModelMenu.plist")));
    EXPECT_FALSE(base::FileManager::exists(menuPath("DDEModelMenu.plist")))
        << "a missing list leaves its file";

    boardListsFrom("bkinfo_only_excluded.json");
    EXPECT_EQ(rows(menu("DDEModelMenu.plist")), (Rows{{"板块类", 105}}));
    EXPECT_FALSE(base::FileManager::exists(menuPath("StockModelMenu.plist")));
}

TEST_F(NewsTabTest, TheNewsTabShowsOurColumnsListAndArticle) {
    loggedIn();
    tabBar().setSelectedIndex(3);
    auto *nav = dynamic_cast<ui::NavigationController *>(tabBar().selectedController());
    ASSERT_NE(nav, nullptr);
    auto *news = dynamic_cast<NewsViewController *>(nav->viewControllers().front().get());
    ASSERT_NE(news, nullptr);
    ASSERT_TRUE(runUntil(
        [&] { return news->newsListView() && !news->newsListView()->newsListInfo().items().empty(); }));
    driver.runUntilIdle();
    std::vector<std::string> titles;
    for (const auto &button : news->newsColumnsView()->buttons())
        titles.push_back(button->currentTitle());
    EXPECT_EQ(titles, (std::vector<std::string>{"要闻", "公司", "市场", "行业", "专题"}));
    EXPECT_EQ(news->newsListView()->newsListInfo().items()[0]->title, "沪深两市震荡走高，券商板块领涨");
    EXPECT_TRUE(qvtest::matchesGolden(screen(), "app/news-tab"));
}

} // namespace
} // namespace app
