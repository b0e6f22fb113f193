#include "DataBase/WT/TradeTableTitle.h"

#include <gtest/gtest.h>

namespace {

TEST(TradeTableTitle, ParsesTitleTexts) {
    struct Case {
        std::string text;
        int reqType;
        int count;
        std::vector<TradeColumnInfo> columns;
    } cases[] = {
        {"11147,3,1036=证券代码,1037=证券名称,1040=数量",
         11147,
         3,
         {{"1036", "证券代码"}, {"1037", "证券名称"}, {"1040", "数量"}}},
        {"11105,2,,1078,1079=a=b,=x", 11105, 2, {{"1079", "a"}, {"", "x"}}},
        {",,1036=c", 0, 0, {{"1036", "c"}}},
        {"", 0, 0, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        TradeTableTitle title;
        title.ParseTitleStr("1,1,9=old");
        title.ParseTitleStr(c.text);
        EXPECT_EQ(title.reqType(), c.reqType);
        EXPECT_EQ(title.columnCount(), c.count);
        EXPECT_EQ(title.columnArray(), c.columns);
    }
}

TradeTableTitleGroup loginTitles() {
    TradeTableTitleGroup group;
    group.LoadFromRspArray(base::Array{
        base::Dict{{"1326", "11147,3,1036=证券代码,1037=证券名称,1040=数量"}},
        base::Dict{{"1000", "no title here"}},
        base::Dict{{"1326", "11105,2,1078=余额,1036=代码"}},
        base::Dict{{"1326", "11147,1,9=shadowed"}},
    });
    return group;
}

TEST(TradeTableTitleGroup, LoadsTitlesAndFindsTheFirstPerReply) {
    TradeTableTitleGroup group = loginTitles();
    EXPECT_EQ(group.tableTitleArray().size(), 3u);
    ASSERT_TRUE(group.getTableTitle(11147));
    EXPECT_EQ(group.getTableTitle(11147)->columnCount(), 3);
    EXPECT_FALSE(group.getTableTitle(11146));
    EXPECT_FALSE(group.getTableColumnArray(1));
    EXPECT_EQ(group.getTableColumnArray(11105)->size(), 2u);
    EXPECT_TRUE(TradeTableTitleGroup::existStockCodeAndName(*group.getTableColumnArray(11147)));
    EXPECT_FALSE(TradeTableTitleGroup::existStockCodeAndName(*group.getTableColumnArray(11105)));
    group.clear();
    EXPECT_TRUE(group.tableTitleArray().empty());
}

base::Dict indexColumn() {
    return base::Dict{{"ColName", "No."}, {"SpecialName", "INDEX"}, {"ColWidth", 40}};
}

TEST(TradeTableTitleGroup, MergesCodeAndNameIntoOneColumn) {
    TradeTableTitleGroup group = loginTitles();
    base::Array columns{indexColumn()};
    float width = 40;
    group.AddToColumnArray(columns, 11146, width);
    EXPECT_EQ(width, 280);
    base::Array expected{
        indexColumn(),
        base::Dict{{"ColName", " 名称"},
                   {"ColID", "CodeAndName"},
                   {"ColWidth", 120},
                   {"Enabled", false},
                   {"SpecialName", "NAME"}},
        base::Dict{{"ColName", "数量"}, {"ColID", "1040"}, {"ColWidth", 120}, {"Enabled", false}},
    };
    EXPECT_EQ(columns, expected) << base::Value(columns).description();

    base::Array plain{indexColumn()};
    width = 0;
    group.AddToColumnArray(plain, 11104, width);
    EXPECT_EQ(width, 240);
    ASSERT_EQ(plain.size(), 3u);
    EXPECT_EQ(plain[1]["ColID"].stringValue(), "1078");
    EXPECT_EQ(plain[2]["ColID"].stringValue(), "1036");

    base::Array none{indexColumn()};
    group.AddToColumnArray(none, 11146 + 2, width);
    EXPECT_EQ(none.size(), 1u);
}

TEST(TradeTableTitleGroup, BuildsCellsForColumnsAfterTheRowNumber) {
    base::Array columns{indexColumn(),
                        base::Dict{{"ColID", "CodeAndName"}},
                        base::Dict{{"ColID", "1040"}},
                        base::Dict{{"ColID", ""}},
                        base::Dict{{"ColName", "no id"}},
                        base::Dict{{"ColID", "9999"}}};
    struct Case {
        const char *name;
        base::Dict row;
        base::Array cells;
    } cases[] = {
        {"full row", base::Dict{{"1036", "600000"}, {"1037", "浦发银行"}, {"1040", "100"}},
         base::Array{base::Dict{{"StockName", "浦发银行"}, {"StockCode", "600000"}}, "100", ""}},
        {"no name leaves the name cell empty", base::Dict{{"1036", "600000"}},
         base::Array{base::Dict(), "", ""}},
        {"no code keeps the name", base::Dict{{"1037", "浦发银行"}},
         base::Array{base::Dict{{"StockName", "浦发银行"}}, "", ""}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        base::Array cells;
        TradeTableTitleGroup::AddToCellArray(cells, columns, c.row);
        EXPECT_EQ(cells, c.cells) << base::Value(cells).description();
    }
    base::Array cells;
    TradeTableTitleGroup::AddToCellArray(cells, base::Array{indexColumn()}, base::Dict{{"1", "x"}});
    EXPECT_TRUE(cells.empty());
}

} // namespace
