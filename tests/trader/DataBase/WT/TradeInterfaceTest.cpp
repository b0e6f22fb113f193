#include "DataBase/WT/TradeInterface.h"

#include <gtest/gtest.h>

namespace {

TEST(TradeInterface, AccountTypesAndTheirExchanges) {
    struct Case {
        int type;
        const char *name;
        const char *exchange;
    } cases[] = {
        {0, "资金帐号", ""},    {1, "客户号", ""},      {2, "深圳A股东", "SZ"}, {3, "上海A股东", "SH"},
        {4, "深圳B股东", "SZ"}, {5, "上海B股东", "SH"}, {6, "深圳国债", "SZ"},  {7, "上海国债", "SH"},
        {8, "深圳创业", "SZ"},  {9, "特别A", ""},       {10, "特别B", ""},      {11, "三板G股", ""},
        {12, "开放式基金", ""}, {13, "", ""},           {-1, "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(TradeInterface::getAccountTypeName(c.type), c.name);
        EXPECT_EQ(TradeInterface::getExchangeStr(c.type), c.exchange);
    }
}

TEST(TradeInterface, CurrencyAndTransferPasswordNames) {
    EXPECT_EQ(TradeInterface::getCurrencyName(0), "人民币");
    EXPECT_EQ(TradeInterface::getCurrencyName(1), "美元");
    EXPECT_EQ(TradeInterface::getCurrencyName(2), "港元");
    EXPECT_EQ(TradeInterface::getCurrencyName(3), "--");
    EXPECT_EQ(TradeInterface::getCurrencyName(-1), "--");
    EXPECT_EQ(TradeInterface::getTransferPswTypeName(0), "不需要任何密码");
    EXPECT_EQ(TradeInterface::getTransferPswTypeName(1), "需要输入银行密码");
    EXPECT_EQ(TradeInterface::getTransferPswTypeName(2), "需要输入资金密码");
    EXPECT_EQ(TradeInterface::getTransferPswTypeName(3), "需要输入银行密码和资金密码");
    EXPECT_EQ(TradeInterface::getTransferPswTypeName(4), "--");
    EXPECT_EQ(TradeInterface::getTransferPswTypeName(-7), "--");
}

TEST(TradeUtil, ConvertsBetweenShownAndRequestDates) {
    struct Case {
        const char *shown;
        const char *request;
    } roundTrips[] = {{"2024-02-29", "20240229"}, {"1999-12-31", "19991231"}};
    for (const Case &c : roundTrips) {
        EXPECT_EQ(TradeUtil::getRequestDate(c.shown), c.request);
        EXPECT_EQ(TradeUtil::getDisplayDate(c.request), c.shown);
    }
    EXPECT_EQ(TradeUtil::getRequestDate("--2024-"), "2024");
    for (const char *odd : {"", "2024", "202402291", "测试ab", "2024-02-29"})
        EXPECT_EQ(TradeUtil::getDisplayDate(odd), odd);
}

} // namespace
