#include "DataBase/WT/TradeRspData.h"

#include <gtest/gtest.h>

namespace {

base::Dict row(std::initializer_list<base::Dict::Entry> fields) {
    return base::Dict(fields);
}

TEST(TradeRspData, AccessorsAnswerNothingForMissingParts) {
    TradeRspData rsp;
    EXPECT_FALSE(rsp.getRspArray());
    EXPECT_FALSE(rsp.getRspInfoInArray());
    EXPECT_FALSE(rsp.getRspErrMsg());
    EXPECT_FALSE(rsp.getMainRspArray());

    rsp.dict().set("Table0", base::Array());
    EXPECT_TRUE(rsp.getRspArray());
    EXPECT_FALSE(rsp.getRspInfoInArray());

    rsp.setSuccessRsp(false);
    rsp.clear();
    EXPECT_TRUE(rsp.successRsp());
    EXPECT_TRUE(rsp.dict().empty());
}

TEST(TradeRspData, MainMoneyTableIsTheFirstWhoseRenminbiRowIsTheMainAccount) {
    base::Array hkd{row({{"1028", "2"}, {"1415", "1"}})};
    base::Array rmbSecondary{row({{"1028", "0"}, {"1415", "0"}}), row({{"1028", "0"}, {"1415", "1"}})};
    base::Array rmbMain{row({{"1028", "1"}}), row({{"1028", "0"}, {"1415", "1"}})};
    base::Array alsoMain{row({{"1028", "0"}, {"1415", "1"}})};
    struct Case {
        const char *name;
        std::vector<base::Array> tables;
        int expected; // index of the table returned
    } cases[] = {
        {"first qualifying table wins", {hkd, rmbSecondary, rmbMain, alsoMain}, 2},
        {"only the first renminbi row of a table counts", {rmbSecondary, hkd}, 0},
        {"none qualifies", {hkd, rmbSecondary}, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TradeRspData rsp;
        rsp.dict().set("TableCount", int(c.tables.size()));
        for (size_t i = 0; i < c.tables.size(); ++i)
            rsp.dict().set(TradeRspData::tableKey(int(i)), c.tables[i]);
        auto main = rsp.getMainRspArray();
        ASSERT_TRUE(main);
        EXPECT_TRUE(main->same(c.tables[size_t(c.expected)]));
    }
}

} // namespace
