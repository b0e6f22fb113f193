#include "FamiliesTestSupport.h"

#include "DataBase/NetData/StockBoardInf.h"
#include "DataBase/NetData/StockPoolInf.h"

namespace {

class PoolsTest : public FamilyTest {};

TEST_F(PoolsTest, PoolStocksWithTheirHeader) {
    auto rows = base::make<NetDataCenter::StockPoolList>();
    rows->items.push_back(base::make<StockPoolInf>());
    center->RequestStockPoolStockList({}, 3, 0, 20, rows);
    auto params = lastRecord().reqParams;
    Body body;
    body.i16(3).i16(57).i32(20120608).i16(1).str("SZ000001").str("平安银行").i8(1).i8(2).i16(100);
    for (int32_t v = 1; v <= 8; ++v)
        body.i32(v);
    center->ParseStockPoolStockList(body.frame(2950), params);
    EXPECT_EQ(params->get("PoolID").intValue(), 3);
    EXPECT_EQ(params->get("TotalCount").intValue(), 57);
    EXPECT_EQ(params->get("CurrentDate").intValue(), 20120608);
    ASSERT_EQ(rows->items.size(), 1u);
    const StockPoolInf &row = *rows->items[0];
    EXPECT_EQ(row.name, "平安银行");
    EXPECT_EQ(row.type, 1);
    EXPECT_EQ(row.decimal, 2);
    EXPECT_EQ(row.sellVolUnit, 100);
    EXPECT_EQ(row.closeprice, 1);
    EXPECT_EQ(row.circulatedCapital, 4);
    EXPECT_EQ(row.totalCapital, 5);
    EXPECT_EQ(row.enterPoolTime, 7);
    EXPECT_EQ(row.enterPoolPrice, 8);

    center->ParseStockPoolStockList(emptyFrame(2950), params);
    EXPECT_TRUE(rows->items.empty());
}

TEST(PoolsParsers, BoardsOfAStock) {
    NetDataCenter::PackList list;
    list.push_back(base::make<StockBoardInf>());
    NetDataCenter::ParseStockBoards(
        Body().i16(1).str("BK0001").str("银行").i8(2).i32(1234).i32(-56).i16(9).frame(2969), list);
    ASSERT_EQ(list.size(), 1u);
    auto board = itemAs<StockBoardInf>(list, 0);
    EXPECT_EQ(board->code, "BK0001");
    EXPECT_EQ(board->decimal, 2);
    EXPECT_EQ(board->lastPrice, 1234);
    EXPECT_EQ(board->range, -56);
    EXPECT_EQ(board->boardID, 9);
    NetDataCenter::ParseStockBoards(emptyFrame(2969), list);
    EXPECT_TRUE(list.empty());
}

TEST_F(PoolsTest, WebRightsReplyNeedsItsMarker) {
    center->RequestWebPower({});
    auto params = lastRecord().reqParams;
    center->ParseWebPower(Body().i8(2).i16(119).i16(5).i16(6).str("key-1").frame(2972), params);
    base::Dict dict = *params->get("rspDict").dict();
    EXPECT_EQ(dict.get("subType").intValue(), 119);
    EXPECT_EQ(dict.get("userKey").stringValue(), "key-1");

    center->ParseWebPower(Body().i8(3).i16(119).i16(5).i16(6).str("key-2").frame(2972), params);
    EXPECT_TRUE(dict.empty());
    center->ParseWebPower(Body().i8(2).i16(119).i16(5).i16(6).str("key-2").frame(2972),
                          base::make<ReqParams>());
}

TEST_F(PoolsTest, PoolCatalogueNestsItsSubPools) {
    base::Array pools{"stale"};
    center->RequestStockPoolConfigInfo({}, pools);
    Bytes frame = Body()
                      .i16(1)
                      .str("强势股")
                      .str("强")
                      .i16(4)
                      .i16(2)
                      .str("甲")
                      .str("a")
                      .i16(41)
                      .i8(1)
                      .i32(0xFF0000)
                      .str("乙")
                      .str("b")
                      .i16(42)
                      .i8(2)
                      .i32(0x00FF00)
                      .frame(2949);
    center->ParseStockPoolConfigInfo(frame, lastRecord().reqParams);
    ASSERT_EQ(pools.size(), 1u);
    EXPECT_EQ(pools[0]["PoolName"].stringValue(), "强势股");
    EXPECT_EQ(pools[0]["PoolID"].intValue(), 4);
    EXPECT_EQ(pools[0]["SubPoolArray"][1]["SubPoolID"].intValue(), 42);
    EXPECT_EQ(pools[0]["SubPoolArray"][0]["RGBValue"].intValue(), 0xFF0000);
    EXPECT_EQ(pools[0]["SubPoolArray"][1]["ShowType"].intValue(), 2);
}

} // namespace
