#include "DetailScreenFixture.h"

#include "DataBase/NetData/StockDetailStatus.h"
#include "Module/NavToolBarModule/SearchMyStockPopover/StockSearchRule.h"
#include "base/Str.h"

#include <algorithm>

namespace detailscreen {
namespace {

base::Dict entry(const std::string &code, const std::string &name, const std::string &pinyin) {
    return base::Dict{{"SCode", code}, {"SName", name}, {"SPinY", pinyin}};
}

base::Array library(std::initializer_list<std::pair<const char *, std::vector<base::Dict>>> markets) {
    base::Array lib;
    for (const auto &[title, entries] : markets) {
        base::Array stocks;
        for (const base::Dict &e : entries)
            stocks.add(e);
        lib.add(base::Dict{{"title", title}, {"Lib", stocks}});
    }
    return lib;
}

// "code:order" of each row.
std::vector<std::string> rows(const base::Array &result) {
    std::vector<std::string> out;
    for (const base::Value &row : result)
        out.push_back(row["code"].stringValue() + ":" + std::to_string(row["order"].intValue()));
    return out;
}

TEST(StockSearchRule, OneRuleTwoSettings) {
    const base::Array lib = library({
        {"SH",
         {entry("600000", "浦发银行", "PFYH"), entry("600036", "招商银行", "ZSYH"),
          entry("000600", "测试一", "CSY"), entry("160000", "测试二", "CSE"),
          entry("123600", "测试三", "CSS")}},
        {"SZ",
         {entry("000001", "平安银行", "PAYH"), entry("006001", "东方财富", "DFCF"),
          entry("000002", "万科Ａ", "WKA"), entry("", "无码", "")}},
    });
    const auto overlay = StockSearchRule::OverlaySearch, navigation = StockSearchRule::NavigationSearch;
    struct Case {
        const char *text;
        StockSearchRule::Settings settings;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        // Codes that begin with the digits first, then by where they hold them.
        {"600",
         overlay,
         {"SH600000:99", "SH600036:99", "SH160000:98", "SZ006001:97", "SH000600:96", "SH123600:96"}},
        {"600000", overlay, {"SH600000:100"}},
        // Initials equal to the text win though a code holds it further in.
        {"CSE", overlay, {"SH160000:100"}},
        {"payh", overlay, {"SZ000001:100"}},
        {"$SH600000", overlay, {"SH600000:100"}},
        {"$sh600000", overlay, {"SH600000:100"}},
        {"SH600000", overlay, {}},
        {"$SZ600000", overlay, {}},
        // As typed for the overlay fields; the navigation bar trims.
        {" payh\n", overlay, {}},
        {" payh\n", navigation, {"SZ000001:100"}},
        {"   ", overlay, {}},
        // Upper case for ASCII only: a full-width letter stays as it is.
        {"ＷＫＡ", overlay, {}},
        // An empty text finds only the entry with neither code nor initials.
        {"", overlay, {"SZ:100"}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(rows(StockSearchRule::search(c.text, lib, c.settings)), c.rows) << '"' << c.text << '"';
    base::Array one = StockSearchRule::search("PFYH", lib, overlay);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one.at(0)["market"].stringValue(), "SH");
    EXPECT_EQ(one.at(0)["numCode"].stringValue(), "600000");
    EXPECT_EQ(one.at(0)["name"].stringValue(), "浦发银行");
}

TEST(StockSearchRule, TheScanStopsAtTwoHundredAndKeepsTheBest) {
    std::vector<base::Dict> entries;
    // 250 codes holding "ZZ": at position 3 (score 96) for the first 199, then at 0 (score 99).
    for (int i = 0; i < 250; ++i)
        entries.push_back(
            entry(i < 199 ? base::str::format("%03dZZ", i) : base::str::format("ZZ%03d", i), "x", ""));
    const base::Array lib = library({{"SZ", entries}});
    std::vector<std::string> overlay =
        rows(StockSearchRule::search("ZZ", lib, StockSearchRule::OverlaySearch));
    ASSERT_EQ(overlay.size(), 70u);
    // The 200th found is the only 99 scanned; the 96s keep library order.
    EXPECT_EQ(overlay[0], "SZZZ199:99");
    EXPECT_EQ(overlay[1], "SZ000ZZ:96");
    EXPECT_EQ(overlay[69], "SZ068ZZ:96");
    EXPECT_EQ(rows(StockSearchRule::search("ZZ", lib, StockSearchRule::NavigationSearch)).size(), 20u);
    // The alarm search stops at the 50th match: the 99s further on are never seen.
    const base::Array firstFifty = StockSearchRule::search("ZZ", lib, StockSearchRule::AlarmSearch);
    ASSERT_EQ(firstFifty.size(), 50u);
    EXPECT_EQ(rows(firstFifty).front(), "SZ000ZZ:96");
    EXPECT_EQ(rows(firstFifty).back(), "SZ049ZZ:96");
}

TEST(StockSearchRule, TheAlarmSearchSortsTheFirstFiftyMatches) {
    std::vector<base::Dict> entries;
    // Scores 96, 97 and 98 in turn, then from the 51st on an exact match that comes too late.
    for (int i = 0; i < 60; ++i)
        entries.push_back(
            entry(i < 50 ? std::string(size_t(3 - i % 3), 'A') + "ZZ" + std::to_string(i) : "ZZ", "x", ""));
    const base::Array lib = library({{"SZ", entries}});
    std::vector<std::string> found = rows(StockSearchRule::search("ZZ", lib, StockSearchRule::AlarmSearch));
    ASSERT_EQ(found.size(), 50u);
    EXPECT_EQ(found.front(), "SZAZZ2:98");
    EXPECT_EQ(found.back(), "SZAAAZZ48:96");
    EXPECT_TRUE(std::is_sorted(found.begin(), found.end(), [](const std::string &a, const std::string &b) {
        return std::stoi(a.substr(a.find(':') + 1)) > std::stoi(b.substr(b.find(':') + 1));
    }));
    // Typed blanks stay part of the key.
    EXPECT_TRUE(StockSearchRule::search(" ZZ", lib, StockSearchRule::AlarmSearch).empty());
}

class StripSearchTest : public DetailScreenTest {
protected:
    base::Ref<StockDetailViewController> openStock() {
        DataBase::sharedDataBase()->IO_StockDetailStatus()->setIsShowKLine(false);
        auto screen = open("SH600000");
        settle();
        return screen;
    }
    static std::vector<std::string> shownNames(StockDetailSwitchBar &strip) {
        std::vector<std::string> out;
        if (SearchStockListController *list = strip.searchPopover().list())
            for (const base::Value &row : list->stockArray())
                out.push_back(row["name"].stringValue());
        return out;
    }
};

TEST_F(StripSearchTest, TypingSearchesAndAnEmptyFieldShowsTheBoards) {
    readyWithoutAccount();
    auto screen = openStock();
    StockDetailSwitchBar &strip = *screen->stockDetailSwitchBar();
    ui::TextField &field = strip.addSearchButton().searchField();
    // Before the board list is filled an empty text shows an empty list.
    strip.clearView();
    app.tap(centre(strip.addSearchButton()));
    ASSERT_TRUE(field.isFirstResponder());
    EXPECT_TRUE(strip.addSearchButton().frontImageView().isHidden());
    strip.ReturnSearchFieldText("");
    ASSERT_NE(strip.searchPopover().popover(), nullptr);
    EXPECT_TRUE(strip.searchPopover().popover()->isVisible());
    EXPECT_TRUE(shownNames(strip).empty());
    screen->DataPoolCallBack(2969, params("SH600000"));
    screen->DataPoolCallBack(2969, params("SH600000"));
    std::vector<std::string> boards = shownNames(strip);
    strip.ReturnSearchFieldText("");
    boards = shownNames(strip);
    ASSERT_GE(boards.size(), 2u);
    EXPECT_EQ(boards[0], "上证指数");
    EXPECT_EQ(boards[1], "深证成指");
    EXPECT_EQ(strip.stockBoardArray().size(), boards.size());

    app.typeText("pfyh");
    EXPECT_EQ(shownNames(strip), (std::vector<std::string>{"浦发银行"}));
    app.typeText("zz");
    EXPECT_TRUE(shownNames(strip).empty());
    EXPECT_TRUE(strip.searchPopover().popover()->isVisible());
    // A tap outside closes the popover and clears the field.
    app.tap({900, 700});
    EXPECT_FALSE(strip.searchPopover().popover()->isVisible());
    EXPECT_EQ(field.text(), "");
    EXPECT_FALSE(field.isFirstResponder());
    EXPECT_FALSE(strip.addSearchButton().frontImageView().isHidden());
}

TEST_F(StripSearchTest, APickBecomesAnOverlayAndClosesEverything) {
    readyWithoutAccount();
    auto screen = openStock();
    StockDetailSwitchBar &strip = *screen->stockDetailSwitchBar();
    ui::TextField &field = strip.addSearchButton().searchField();
    app.tap(centre(strip.addSearchButton()));
    app.typeText("000002");
    ASSERT_EQ(strip.searchResultArray().size(), 1u);
    ui::TableView *table = strip.searchPopover().list()->searchList();
    app.advance(0.5);
    app.render();
    app.tap(table->convert(gfx::Point{100, 14}, nullptr));
    app.advance(0.5);
    EXPECT_FALSE(field.isFirstResponder());
    EXPECT_FALSE(strip.searchPopover().popover()->isVisible());
    ASSERT_EQ(screen->stockDetailData().multiStockList().size(), 1u);
    EXPECT_EQ(screen->stockDetailData().multiStockList()[0].get("code").stringValue(), "SZ000002");
    EXPECT_TRUE(strip.resetTlineBtn().isEnabled());
    // Tapping the field again starts from an empty text.
    app.tap(centre(strip.addSearchButton()));
    EXPECT_EQ(field.text(), "");
    settle();
}

TEST_F(StripSearchTest, OtherFieldsNeverReachTheStrip) {
    readyWithoutAccount();
    auto screen = openStock();
    StockDetailSwitchBar &strip = *screen->stockDetailSwitchBar();
    auto other = base::make<ui::TextField>(gfx::Rect{800, 700, 100, 30});
    app.window().addSubview(other);
    other->becomeFirstResponder();
    app.typeText("600");
    EXPECT_EQ(strip.searchPopover().popover(), nullptr);
    EXPECT_TRUE(strip.searchResultArray().empty());
    other->removeFromSuperview();
}

struct TabRecorder : base::Object, StockDetailSwitchBarDelegate {
    std::vector<int> tabs;
    int resets = 0, zooms = 0;
    base::Opt<void> StockDetailBarSelectedIndex(int index, int group, ui::View &) override {
        tabs.push_back(index * 10 + group);
        return {};
    }
    base::Opt<void> ResetTechGraphicState() override {
        ++resets;
        return {};
    }
    base::Opt<void> ZoomInAction() override {
        ++zooms;
        return {};
    }
};

TEST_F(StripSearchTest, TabsReportEveryTapAndTheButtonsTheirActions) {
    auto strip = base::make<StockDetailSwitchBar>(gfx::Rect{0, 80, 768, 40});
    auto recorder = base::make<TabRecorder>();
    strip->delegate = recorder;
    app.window().addSubview(strip);
    strip->SetSelectedItemIndex(1, 0);
    strip->SetSelectedItemIndex(3, 1);
    EXPECT_TRUE(strip->tab(1).isPressed());
    for (int tab : {2, 2, 0})
        strip->ReturnSelectedItem(strip->tab(tab));
    EXPECT_EQ(recorder->tabs, (std::vector<int>{20, 20, 0}));
    EXPECT_TRUE(strip->tab(0).isPressed());
    EXPECT_FALSE(strip->tab(2).isPressed());
    strip->resetTlineBtn().sendActions(ui::TouchUpInside);
    strip->zoomButton().sendActions(ui::TouchUpInside);
    EXPECT_EQ(recorder->resets, 1);
    EXPECT_EQ(recorder->zooms, 1);
    EXPECT_EQ(strip->resetTlineBtn().frame(), (gfx::Rect{573, 5, 30, 30}));
    EXPECT_EQ(strip->zoomButton().frame(), (gfx::Rect{613, 5, 30, 30}));
    EXPECT_EQ(strip->addSearchButton().frame(), (gfx::Rect{408, 5, 155, 30}));
    EXPECT_EQ(strip->tab(3).frame(), (gfx::Rect{310, 0, 88, 40}));
    strip->removeFromSuperview();
}

} // namespace
} // namespace detailscreen
