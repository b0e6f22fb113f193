#include "MarketFixture.h"

#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"

#include "base/Str.h"

namespace market {

namespace {

// Groups of made-up stocks standing in for indexes: `groups` groups of `size` codes.
base::Array groupsOf(int groups, int size) {
    base::Array list;
    for (int g = 0; g < groups; ++g) {
        base::Array codes;
        for (int i = 1; i <= size; ++i)
            codes.add(base::str::format("%s%02d", g % 2 ? "SZ0090" : "SH6090", g / 2 * size + i));
        list.add(base::Dict{{"GroupName", "组" + std::to_string(g + 1)}, {"DataArray", codes}});
    }
    return list;
}

class IndexListTest : public MarketScreenTest {
protected:
    ui::TableView &table() { return indexList().indexTableView(); }
    IndexReportCell &row(int section, int item) {
        table().layoutIfNeeded();
        return dynamic_cast<IndexReportCell &>(*table().cellForRow({section, item}));
    }
    // Ends a scroll where the table stands.
    void endScroll() { scrollTo(table(), table().contentOffset().y); }
};

TEST_F(IndexListTest, ThreeGroupsOfTwentyAskFiftyCodesFirstAndKeepSixtyCharts) {
    replaceBundleList("IndexReport", groupsOf(3, 20));
    show();
    EXPECT_EQ(table().numberOfSections(), 3);
    std::vector<std::vector<std::string>> asked = codeRequests();
    ASSERT_FALSE(asked.empty());
    ASSERT_EQ(asked.front().size(), 50u);
    EXPECT_EQ(asked.front()[40], "SH609021"); // the third group's first code
    EXPECT_EQ(indexList().mviews().holdMiniTrendViewCount(), 60);
    EXPECT_EQ(row(0, 0).StockNameLabel().text(), "沪模拟01");
}

TEST_F(IndexListTest, ACodeInTwoGroupsShowsOneRecord) {
    replaceBundleList(
        "IndexReport",
        base::Array{base::Dict{{"GroupName", "甲"}, {"DataArray", base::Array{"SH000001", "SZ399001"}}},
                    base::Dict{{"GroupName", "乙"}, {"DataArray", base::Array{"SZ399001"}}}});
    show();
    EXPECT_EQ(row(0, 1).LastLabel().text(), row(1, 0).LastLabel().text());
    EXPECT_EQ(row(1, 0).StockNameLabel().text(), "深证成指");
    EXPECT_EQ(row(0, 1).basicInf, row(1, 0).basicInf);
}

TEST_F(IndexListTest, APlaceholderShowsDashesAndIsStaleAtScrollEndWhileFreshRowsAskOnlyCharts) {
    replaceBundleList(
        "IndexReport",
        base::Array{base::Dict{{"GroupName", "甲"}, {"DataArray", base::Array{"SH000001", "SH999999"}}}});
    show();
    IndexReportCell &unknown = row(0, 1);
    EXPECT_EQ(unknown.StockNameLabel().text(), "");
    EXPECT_EQ(unknown.valueLabel1().text(), "成交量: --");
    EXPECT_EQ(unknown.valueLabel2().text(), "成交额: --");
    EXPECT_EQ(unknown.upDownTagImageView().image(), gfx::Image::named("white_tag.png"));
    forgetRequests();
    endScroll();
    EXPECT_EQ(codeRequests(), (std::vector<std::vector<std::string>>{{"SH999999"}}));

    // All fresh now: the pass asks only the charts, and those only once they are 5 s old.
    forgetRequests();
    for (const char *code : {"SH000001", "SH999999"})
        if (auto chart = indexList().mviews().getMView(code))
            chart->updateTick = 0;
    endScroll();
    EXPECT_TRUE(codeRequests().empty());
    EXPECT_EQ(minuteRequests(), (std::vector<std::string>{"SH000001", "SH999999"}));
}

TEST_F(IndexListTest, WithoutTheBundleListTheTableIsEmpty) {
    replaceBundleList("IndexReport", std::nullopt);
    show();
    EXPECT_EQ(table().numberOfSections(), 0);
    EXPECT_EQ(indexList().mviews().holdMiniTrendViewCount(), 30);
    EXPECT_TRUE(codeRequests().empty());
}

TEST_F(IndexListTest, ARowOpensAtItsPlaceWithinItsGroup) {
    show();
    scrollTo(table(), table().rectForRow({1, 0}).y());
    const IndexReportCell &chosen = row(1, 2);
    tapView(chosen);
    app.advance(1);
    auto *detail = dynamic_cast<StockDetailViewController *>(nav->top());
    ASSERT_NE(detail, nullptr);
    base::Array group = indexList().groupCodes(1);
    EXPECT_EQ(detail->stockCode(), group[2].stringValue());
    EXPECT_EQ(detail->currentStocksIndex(), 2);
    EXPECT_EQ(detail->currentBoardID(), 0);
    ASSERT_EQ(detail->checkStocksArray().size(), group.size());
    EXPECT_EQ(detail->checkStocksArray()[0]["MarketCode"].stringValue(), group[0].stringValue());
    EXPECT_FALSE(detail->checkStocksArray()[0]["StockName"].stringValue().empty());
}

TEST_F(IndexListTest, EveryBundledIndexIsQuotedAndCharted) {
    show();
    for (int section = 0; section < table().numberOfSections(); ++section) {
        scrollTo(table(), table().rectForHeader(section).y());
        for (const base::Value &code : indexList().groupCodes(section)) {
            base::Ref<StockQuoteInf> record = indexList().recordFor(code.stringValue());
            ASSERT_NE(record, nullptr) << code.stringValue();
            EXPECT_FALSE(record->name.empty()) << code.stringValue();
            EXPECT_GT(record->newprice, 0) << code.stringValue();
            base::Ref<MiniMinLineView> chart = indexList().mviews().getMView(code.stringValue());
            EXPECT_TRUE(chart && chart->image()) << code.stringValue();
        }
    }
}

} // namespace

} // namespace market
