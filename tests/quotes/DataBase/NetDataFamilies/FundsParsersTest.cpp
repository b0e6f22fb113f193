#include "FamiliesTestSupport.h"

#include "DataBase/NetData/FundQuoteInf.h"
#include "DataBase/NetData/KLineItem.h"
#include "DataBase/NetData/OpenFundStockItem.h"

namespace {

class FundsTest : public FamilyTest {};

TEST_F(FundsTest, ProductRowsReadUnsignedFields) {
    auto rows = base::make<StockQuoteList>();
    rows->items.push_back(base::make<StockBasicInf>());
    center->RequestMerchandiseList({}, 1, 4, 1, 0, 50, rows, 7);
    auto params = lastRecord().reqParams;
    EXPECT_EQ(params->get("tag").intValue(), 7);

    Body body;
    body.raw({0xE8, 0xFD}).i16(1).str("CU1207").str("沪铜").raw({0xFE}).raw({0xFF, 0xFF});
    for (int32_t v = 1; v <= 11; ++v)
        body.i32(v * 1000);
    center->ParseMerchandiseList(body.frame(2938), params);
    EXPECT_EQ(params->get("totalCount").intValue(), 65000);
    ASSERT_EQ(rows->items.size(), 1u);
    auto row = std::dynamic_pointer_cast<StockBasicInf>(rows->items[0]);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->code, "CU1207");
    EXPECT_EQ(row->name, "沪铜");
    EXPECT_EQ(row->decimal, int8_t(0xFE));
    EXPECT_EQ(row->sellVolUnit, -1);
    EXPECT_EQ(row->newprice, 1000);
    EXPECT_EQ(row->closeprice, 2000);
    EXPECT_EQ(row->vol, 3000);
    EXPECT_EQ(row->openprice, 6000);
    EXPECT_EQ(row->settlement, 8000);
    EXPECT_EQ(row->yposition, 11000);

    center->ParseMerchandiseList(emptyFrame(2938), params);
    EXPECT_TRUE(rows->items.empty());
}

Bytes fundReply(int type, int16_t total, int first, int count) {
    Body body;
    body.i8(type).i16(total).i16(count);
    int fields = type == 5 ? 6 : 10;
    for (int i = 0; i < count; ++i) {
        body.str("OF" + std::to_string(first + i)).str("基金");
        for (int f = 0; f < fields; ++f)
            body.i32(first + i);
    }
    return body.frame(2331);
}

TEST_F(FundsTest, FundRowsFollowTheFundType) {
    auto rows = base::make<NetDataCenter::ObjectList>();
    center->RequestOpenFundList({}, 5, 0, 0, 20, 1, 1, rows, 0, 0, 0);
    center->ParseOpenFundList(fundReply(5, 2, 0, 2), lastRecord().reqParams);
    ASSERT_EQ(rows->items.size(), 2u);
    auto money = std::dynamic_pointer_cast<CurrencyFundQuoteInf>(rows->items[1]);
    ASSERT_TRUE(money);
    EXPECT_EQ(money->code, "OF1");
    EXPECT_EQ(money->priorIncomeRate7, 1);

    center->RequestOpenFundList({}, 0, 0, 0, 20, 1, 1, rows, 0, 0, 0);
    center->ParseOpenFundList(fundReply(0, 1, 4, 1), lastRecord().reqParams);
    ASSERT_EQ(rows->items.size(), 1u);
    auto open = std::dynamic_pointer_cast<OpenFundQuoteInf>(rows->items[0]);
    ASSERT_TRUE(open);
    EXPECT_EQ(open->yearIncRate, 4);
    EXPECT_EQ(lastRecord().reqParams->get("totalCount").intValue(), 1);
}

TEST_F(FundsTest, FillModeOnePadsThenReplacesThePage) {
    auto rows = base::make<NetDataCenter::ObjectList>();
    for (int i = 0; i < 30; ++i)
        rows->items.push_back(base::make<OpenFundQuoteInf>());
    center->RequestOpenFundList({}, 0, 0, 30, 30, 1, 1, rows, 0, 1, 45);
    ASSERT_EQ(rows->items.size(), 45u);
    base::Ref<base::Object> kept = rows->items[29];
    auto params = lastRecord().reqParams;
    EXPECT_EQ(params->get("startid").intValue(), 30);
    EXPECT_EQ(params->get("reqCount").intValue(), 30);

    center->ParseOpenFundList(fundReply(0, 45, 30, 15), params);
    ASSERT_EQ(rows->items.size(), 45u);
    EXPECT_EQ(rows->items[29], kept);
    EXPECT_EQ(std::dynamic_pointer_cast<OpenFundQuoteInf>(rows->items[30])->code, "OF30");
    EXPECT_EQ(std::dynamic_pointer_cast<OpenFundQuoteInf>(rows->items[44])->code, "OF44");

    // A smaller total trims the list; an empty reply leaves it as it was.
    center->ParseOpenFundList(fundReply(0, 40, 30, 1), params);
    EXPECT_EQ(rows->items.size(), 40u);
    center->ParseOpenFundList(emptyFrame(2331), params);
    EXPECT_EQ(rows->items.size(), 40u);

    // Money-market placeholders for fund type 5.
    auto money = base::make<NetDataCenter::ObjectList>();
    center->RequestOpenFundList({}, 5, 0, 0, 3, 1, 1, money, 0, 1, 0);
    ASSERT_EQ(money->items.size(), 3u);
    EXPECT_TRUE(std::dynamic_pointer_cast<CurrencyFundQuoteInf>(money->items[0]));
}

TEST_F(FundsTest, FillModeOneWithoutAFirstRowKeepsTheList) {
    auto rows = base::make<NetDataCenter::ObjectList>();
    rows->items.push_back(base::make<OpenFundQuoteInf>());
    auto params = base::make<ReqParams>(ReqParams{{"fillType", 1}});
    params->setObject("rspArray", rows);
    center->ParseOpenFundList(fundReply(0, 5, 0, 5), params);
    EXPECT_EQ(rows->items.size(), 1u);
}

TEST(FundSeries, RowsOfEachPanel) {
    NetDataCenter::PackList list;
    list.push_back(base::make<KLineItem>());
    NetDataCenter::ParseFundKLine(Body().i16(1).i32(20120608).i32(12345).i32(77).frame(2311), list);
    ASSERT_EQ(list.size(), 1u);
    auto candle = itemAs<KLineItem>(list, 0);
    EXPECT_EQ(candle->time, 20120608);
    for (int32_t price :
         {candle->openprice, candle->highprice, candle->lowprice, candle->closeprice, candle->ocloseprice})
        EXPECT_EQ(price, 12345);
    EXPECT_EQ(candle->vol + candle->amount, 0);
    EXPECT_EQ(candle->holdVol, 77);

    NetDataCenter::ParseFundStocks(
        Body().i16(1).str("SH600000").str("浦发").i32(1).i32(2).i32(3).i32(4).frame(2312), list);
    auto holding = itemAs<OpenFundStockItem>(list, 0);
    ASSERT_TRUE(holding);
    EXPECT_EQ(holding->name, "浦发");
    EXPECT_EQ(holding->inCapitalRate, 4);

    NetDataCenter::ParseFundShares(Body().i16(1).i32(20120630).i32(1).i32(2).i32(3).frame(2313), list);
    EXPECT_EQ(itemAs<OpenFundSharesItem>(list, 0)->sellShares, 3);

    NetDataCenter::ParseFundStruct(Body().i16(1).i32(20120630).i32(1).i32(2).i32(3).i32(4).frame(2314), list);
    EXPECT_EQ(itemAs<OpenFundOwnerItem>(list, 0)->individualShares, 4);

    NetDataCenter::ParseFundStruct(emptyFrame(2314), list);
    EXPECT_TRUE(list.empty());
}

TEST_F(FundsTest, OldFundListReadsTheSevenDayYieldOnlyForMoneyFunds) {
    auto rows = base::make<StockQuoteList>();
    center->RequestFundList({}, 2301, 1, 0, 0, 10, rows, 0);
    auto params = lastRecord().reqParams;
    center->ParseFundList(
        Body().i16(1).str("OF1").str("a").i8(4).i32(10).i32(20).i32(30).i32(40).i32(50).frame(2301), params);
    center->ParseFundList(Body().i16(1).str("OF2").str("b").i8(4).i32(10).i32(30).i32(40).i32(50).frame(2300),
                          params);
    ASSERT_EQ(rows->items.size(), 2u);
    for (const auto &item : rows->items) {
        auto row = std::dynamic_pointer_cast<StockBasicInf>(item);
        EXPECT_EQ(row->newprice, 10);
        EXPECT_EQ(row->closeprice, 30);
        EXPECT_EQ(row->yesDate, 50);
    }
    EXPECT_EQ(std::dynamic_pointer_cast<StockBasicInf>(rows->items[0])->sevenDYRate, 20);
}

TEST_F(FundsTest, FundCompanyNames) {
    base::Array names{"old"};
    center->RequestFundCompany({}, names);
    center->ParseFundCompany(Body().i16(0).i16(2).str("华夏").str("嘉实").frame(2330),
                             lastRecord().reqParams);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[1].stringValue(), "嘉实");
}

} // namespace
