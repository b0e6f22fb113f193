#include "MessageTestSupport.h"

#include "Common/FileFunc.h"

#include <zlib.h>

namespace {

using Bytes = std::vector<uint8_t>;

const char *const Titles[] = {"SH", "SZ", "HK", "IX", "OF", "BI", "SF", "SC", "ZC", "DC", "SG"};

struct Security {
    std::string code, name, pinyin;
};

Bytes securityBytes(const std::vector<Security> &securities) {
    Body body;
    for (const Security &s : securities)
        body.string(s.code).string(s.name).string(s.pinyin);
    return bytesOf(body.data);
}

Bytes zlibBytes(const Bytes &plain) {
    uLongf length = compressBound(uLong(plain.size()));
    Bytes out(length);
    compress(out.data(), &length, plain.data(), uLong(plain.size()));
    out.resize(length);
    return out;
}

// A code-table reply: size, checksum, count, then the records as given.
base::Data codeTable(uint32_t size, uint32_t crc, int count, const Bytes &records, bool zlib) {
    Body body;
    body.intValue(int32_t(size)).intValue(int32_t(crc)).shortValue(count).raw(records);
    return replyFrame(2956, body.data, zlib ? 4 : 0);
}

base::Data plainTable(uint32_t crc, const std::vector<Security> &securities) {
    Bytes records = securityBytes(securities);
    return codeTable(uint32_t(records.size()), crc, int(securities.size()), records, false);
}

base::Data zlibTable(uint32_t crc, const std::vector<Security> &securities) {
    Bytes records = securityBytes(securities);
    return codeTable(uint32_t(records.size()), crc, int(securities.size()), zlibBytes(records), true);
}

const std::vector<Security> Shanghai = {
    {"600000", "浦发银行", "PFYH"}, {"600036", "招商银行", "ZSYH"}, {"600519", "贵州茅台", "GZMT"}};

class CodeTablesTest : public MessageLayerTest {
protected:
    void SetUp() override {
        MessageLayerTest::SetUp();
        fresh();
    }

    // No stored tables and a new layer with the 11 empty markets.
    void fresh() {
        base::FileManager::remove(FileFunc::getFilePath("code"));
        center = NetDataCenter::create();
        center->theDelegate = coordinator;
        for (const char *title : Titles)
            center->IO_MktStockCodeLib.add(base::Dict{{"name", title}, {"title", title}});
    }

    base::Dict market(size_t id) { return *center->IO_MktStockCodeLib[id - 1].dict(); }
    base::Ref<ReqParams> marketParams(int id) { return base::make<ReqParams>(ReqParams{{"marketID", id}}); }
    void parse(const base::Data &frame, int id = 1) {
        center->ParseMarketStockList(frame.span(), marketParams(id));
    }
    std::vector<std::string> codes(size_t id) {
        std::vector<std::string> out;
        const base::Value lib = market(id).get("Lib");
        if (lib.array())
            for (const base::Value &security : *lib.array())
                out.push_back(security["SCode"].stringValue());
        return out;
    }
    bool fileExists(const char *title) {
        return base::FileManager::exists(FileFunc::getFilePath(std::string("code/") + title + ".dat"));
    }
};

TEST_F(CodeTablesTest, OneRequestPerMarketWithTheStoredChecksum) {
    parse(plainTable(0x80000001, Shanghai), 1);
    market(1).set("crc", 0);
    center->RequestMarketStockList({});

    ASSERT_EQ(coordinator->records.size(), 11u);
    for (int id = 1; id <= 11; ++id) {
        const QuoteRequestRecord &record = coordinator->records[size_t(id - 1)];
        EXPECT_EQ(record.reqType, 2956);
        EXPECT_EQ(record.data.bytes()[3], 4) << "compressed replies accepted";
        EXPECT_EQ(record.reqParams->get("marketID").intValue(), id);
        Bytes body(record.data.bytes() + 7, record.data.bytes() + record.data.length());
        uint32_t crc = id == 1 ? 0x80000001 : 0;
        Bytes expected = {uint8_t(Titles[id - 1][0]), uint8_t(Titles[id - 1][1]), uint8_t(crc),
                          uint8_t(crc >> 8),          uint8_t(crc >> 16),         uint8_t(crc >> 24)};
        EXPECT_EQ(body, expected) << Titles[id - 1];
        EXPECT_EQ(uint32_t(market(size_t(id)).get("crc").intValue()), crc);
    }
}

TEST_F(CodeTablesTest, PlainAndCompressedTablesFillTheMarketAndItsFile) {
    for (bool zlib : {false, true}) {
        fresh();
        parse(zlib ? zlibTable(77, Shanghai) : plainTable(77, Shanghai), 1);
        EXPECT_EQ(codes(1), (std::vector<std::string>{"600000", "600036", "600519"})) << zlib;
        EXPECT_EQ(market(1).get("crc").intValue(), 77);
        EXPECT_EQ(market(1).get("Lib")[2]["SName"].stringValue(), "贵州茅台");
        EXPECT_EQ(market(1).get("Lib")[2]["SPinY"].stringValue(), "GZMT");

        uint32_t stored = 0;
        ASSERT_TRUE(NetDataCenter::readCodeList("SH", stored));
        EXPECT_EQ(stored, 77u);
        base::Dict loaded{{"title", "SH"}};
        ASSERT_TRUE(NetDataCenter::readCodeList(loaded));
        EXPECT_EQ(loaded.get("Lib"), market(1).get("Lib"));
        EXPECT_EQ(loaded.get("crc").intValue(), 77);
    }
}

TEST_F(CodeTablesTest, CodeTableFileLayout) {
    base::Dict entry{
        {"title", "SZ"},
        {"crc", 5},
        {"Lib", base::Array{base::Dict{{"SCode", "000001"}, {"SName", "平安银行"}, {"SPinY", "PAYH"}}}}};
    ASSERT_TRUE(NetDataCenter::saveCodeList(entry));
    auto file = base::FileManager::read(FileFunc::getFilePath("code/SZ.dat"));
    ASSERT_TRUE(file);
    Body expected;
    expected.string("SZ").intValue(5).shortValue(1).string("000001").string("平安银行").string("PAYH");
    EXPECT_EQ(*file, expected.data);
}

TEST_F(CodeTablesTest, AnUnchangedTableInMemoryChangesNothing) {
    parse(plainTable(77, Shanghai), 1);
    base::FileManager::remove(FileFunc::getFilePath("code"));
    parse(plainTable(77, {{"000001", "x", "X"}}), 1);
    EXPECT_EQ(codes(1).size(), 3u);
    EXPECT_FALSE(fileExists("SH"));
}

TEST_F(CodeTablesTest, AnUnchangedTableIsLoadedFromItsFileWhenNotInMemory) {
    parse(plainTable(77, Shanghai), 1);
    market(1).set("Lib", base::Array());
    parse(plainTable(77, {}), 1);
    EXPECT_EQ(codes(1).size(), 3u);

    // Also when the reply is marked compressed and carries no records.
    market(1).remove("Lib");
    parse(codeTable(0, 77, 0, {}, true), 1);
    EXPECT_EQ(codes(1).size(), 3u);
}

TEST_F(CodeTablesTest, ChecksumsWithTheTopBitSetMatchTheStoredTable) {
    parse(plainTable(0xFFFFFFF0, Shanghai), 1);
    market(1).remove("Lib");
    market(1).remove("crc");
    center->RequestMarketStockList({});
    parse(plainTable(0xFFFFFFF0, {}), 1);
    EXPECT_EQ(codes(1).size(), 3u);
}

TEST_F(CodeTablesTest, ANewChecksumWithoutRecords) {
    parse(plainTable(77, Shanghai), 1);
    parse(plainTable(78, {}), 1);
    EXPECT_TRUE(codes(1).empty());
    EXPECT_EQ(market(1).get("crc").intValue(), 78);
    base::Dict loaded{{"title", "SH"}};
    ASSERT_TRUE(NetDataCenter::readCodeList(loaded));
    EXPECT_TRUE(loaded.get("Lib").array()->empty());

    // Compressed, nothing is taken.
    parse(codeTable(0, 79, 0, {}, true), 1);
    EXPECT_EQ(market(1).get("crc").intValue(), 78);
}

TEST_F(CodeTablesTest, RepliesThatLeaveTheTableAsItWas) {
    Bytes records = securityBytes(Shanghai);
    Bytes packed = zlibBytes(records);
    Bytes corrupt = packed;
    corrupt[corrupt.size() / 2] ^= 0x5A;
    Body tooShort;
    tooShort.intValue(0).intValue(99).byte(0);
    struct Case {
        const char *name;
        base::Data frame;
        int market;
    };
    const Case cases[] = {
        {"market 12", plainTable(99, Shanghai), 12},
        {"market 0", plainTable(99, Shanghai), 0},
        {"body shorter than its fields", replyFrame(2956, tooShort.data), 1},
        {"empty body", replyFrame(2956, {}), 1},
        {"corrupt block", codeTable(uint32_t(records.size()), 99, 3, corrupt, true), 1},
        {"size too small for the block", codeTable(uint32_t(records.size() - 1), 99, 3, packed, true), 1},
        {"size above the cap", codeTable(NetDataCenter::MaxCodeTableBytes + 1, 99, 3, packed, true), 1},
        {"no size", codeTable(0, 99, 3, packed, true), 1},
    };
    for (const Case &c : cases) {
        fresh();
        parse(plainTable(77, {{"000001", "x", "X"}}), 1);
        parse(c.frame, c.market);
        EXPECT_EQ(market(1).get("crc").intValue(), 77) << c.name;
        EXPECT_EQ(codes(1), std::vector<std::string>{"000001"}) << c.name;
    }
    center->ParseMarketStockList(plainTable(99, Shanghai).span(), nullptr);
    center->ParseMarketStockList(plainTable(99, Shanghai).span(), base::make<ReqParams>());
    EXPECT_EQ(market(1).get("crc").intValue(), 77);
}

TEST_F(CodeTablesTest, RecordsAreReadOnlyFromTheBytesPresent) {
    // The server announces more than it sends, and a larger inflated size than the block holds.
    Bytes records = securityBytes(Shanghai);
    parse(codeTable(uint32_t(records.size()), 5, 0xFFFF, records, false), 1);
    EXPECT_EQ(codes(1).size(), 3u);
    parse(codeTable(uint32_t(records.size()) * 4, 6, 0xFFFF, zlibBytes(records), true), 2);
    EXPECT_EQ(codes(2).size(), 3u);
}

TEST_F(CodeTablesTest, NoStoredTable) {
    uint32_t crc = 5;
    EXPECT_FALSE(NetDataCenter::readCodeList("SH", crc));
    base::Dict entry{{"title", "SH"}};
    EXPECT_FALSE(NetDataCenter::readCodeList(entry));
    base::FileManager::createDirectory(FileFunc::getFilePath("code"), true);
    base::FileManager::writeAtomically(FileFunc::getFilePath("code/SH.dat"), base::Data());
    EXPECT_FALSE(NetDataCenter::readCodeList("SH", crc));
}

TEST_F(CodeTablesTest, NeighbouringCodes) {
    parse(plainTable(1, Shanghai), 1);
    struct Case {
        const char *code;
        int step;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"SH600036", 1, "SH600519"},  {"SH600036", -1, "SH600000"},  {"SH600519", 1, "SH600519"},
        {"SH600000", -1, "SH600000"}, {"SH600000", 10, "SH600519"},  {"SH", 1, std::nullopt},
        {"SH601", 1, std::nullopt},   {"SZ000001", 1, std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(center->getNextCode(c.code, c.step), c.expected) << c.code << " " << c.step;
}

TEST_F(CodeTablesTest, RemoveOverItem) {
    std::vector<int> items(95);
    for (int i = 0; i < 95; ++i)
        items[size_t(i)] = i;
    NetDataCenter::removeOverItem(items, 10, 100);
    ASSERT_EQ(items.size(), 90u);
    EXPECT_EQ(items.front(), 5);
    NetDataCenter::removeOverItem(items, 10, 100);
    EXPECT_EQ(items.size(), 90u);
    NetDataCenter::removeOverItem(items, 500, 100);
    EXPECT_TRUE(items.empty());
}

TEST_F(CodeTablesTest, ServerSearch) {
    auto rows = base::make<StockQuoteList>();
    center->RequestSearchStocks({}, "gzmt", rows);
    center->RequestSearchStocksWithPrice({}, "gzmt", rows);
    ASSERT_EQ(coordinator->records.size(), 2u);
    EXPECT_EQ(coordinator->records[0].reqType, 2943);
    EXPECT_EQ(coordinator->records[1].reqType, 2968);
    EXPECT_EQ(coordinator->records[1].reqParams->object("rspArray"), rows);

    Body plain;
    plain.shortValue(2)
        .string("SH600519")
        .string("贵州茅台")
        .byte(1)
        .string("SZ000001")
        .string("平安银行")
        .byte(1);
    center->ParseSearchStocks(replyFrame(2943, plain.data).span(), coordinator->records[0].reqParams);
    ASSERT_EQ(rows->items.size(), 2u);
    EXPECT_EQ(rows->items[1]->name, "平安银行");
    EXPECT_EQ(rows->items[1]->type, 1);

    Body priced;
    priced.shortValue(1)
        .string("SH600519")
        .string("贵州茅台")
        .byte(1)
        .byte(2)
        .intValue(180050)
        .intValue(-125);
    center->ParseSearchStocksWithPrice(replyFrame(2968, priced.data).span(),
                                       coordinator->records[1].reqParams);
    ASSERT_EQ(rows->items.size(), 1u);
    EXPECT_EQ(rows->items[0]->decimal, 2);
    EXPECT_EQ(rows->items[0]->newprice, 180050);
    EXPECT_EQ(rows->items[0]->riseRate7, -125);

    center->ParseSearchStocks(replyFrame(2943, {}).span(), coordinator->records[0].reqParams);
    EXPECT_TRUE(rows->items.empty());
}

} // namespace
