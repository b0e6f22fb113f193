#include "DataBase/MarketTimes/MarketTimes.h"

#include "Common/FileFunc.h"
#include "base/FileManager.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

class MarketTimesTest : public ::testing::Test {
protected:
    void SetUp() override {
        home_ = base::FileManager::uniqueTemporaryPath();
        ::setenv("QV_HOME", home_.c_str(), 1);
    }
    void TearDown() override { fs::remove_all(home_); }

    static std::string filePath() { return FileFunc::getFilePath("tradetime.dat"); }
    static void writeFile(const base::Data &bytes) {
        ASSERT_TRUE(base::FileManager::writeAtomically(filePath(), bytes));
    }
    static std::vector<std::string> codes(const MarketTimes &table) {
        std::vector<std::string> out;
        for (const auto &item : table.list)
            out.push_back(item->code);
        return out;
    }
    // A session block as an intraday reply carries it.
    static base::Data sessionBlock(const std::vector<TradeTimeItem> &times, int count = -1) {
        base::Data block;
        ComAPI::WriteShort(block, 0);
        ComAPI::WriteShort(block, count < 0 ? int(times.size()) : count);
        for (const auto &time : times) {
            ComAPI::WriteShort(block, time.opentime);
            ComAPI::WriteShort(block, time.closetime);
        }
        return block;
    }

    std::string home_;
};

TEST_F(MarketTimesTest, BuiltInTableGivesEachMarketsMinutes) {
    MarketTimes table;
    const std::vector<std::pair<std::string, int>> expected = {
        {"SH", 242},     {"SZ", 242},      {"BI", 242},       {"HK", 302},      {"SF", 272},
        {"SC", 242},     {"DC", 242},      {"ZC", 242},       {"SG", 603},      {"FE", 1401},
        {"IXUDI", 1381}, {"IXCRBI", 1381}, {"IXPLYI", 1381},  {"IXDJIA", 391},  {"IXSPX", 391},
        {"IXNDX", 391},  {"IXFCHI", 571},  {"IXFTSE", 586},   {"IXGDAXI", 586}, {"IXBVSP", 436},
        {"IXN225", 272}, {"IXTWII", 276},  {"IXSENSEX", 351}, {"IXKS11", 366},  {"IXKLSE", 436},
        {"IXJKSE", 302}, {"IXSET", 302},   {"IXPCOMP", 151},  {"IXFTSTI", 392}, {"IXAORD", 376},
    };
    ASSERT_EQ(table.list.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(table.list[i]->code, expected[i].first);
        EXPECT_EQ(table.list[i]->minCount, expected[i].second) << expected[i].first;
    }
    EXPECT_EQ(table.getMinCount("SH600519"), 242);
    EXPECT_EQ(table.getMinCount("HKHSI"), 302);
    EXPECT_EQ(table.getMinCount("XY000001"), 241);
    EXPECT_FALSE(fs::exists(filePath()));
}

TEST_F(MarketTimesTest, LookupComparesTheEntrysKeyWithTheStartOfTheCode) {
    MarketTimes table;
    EXPECT_EQ(table.getItem("IXDJIA")->code, "IXDJIA");
    EXPECT_EQ(table.getItem("SZ000002")->code, "SZ");
    for (const char *code : {"IXABC", "IX", "", "S", "XY000001"})
        EXPECT_EQ(table.getItem(code), nullptr) << code;
}

TEST_F(MarketTimesTest, MarketKeyOfACode) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"SH600519", "SH"}, {"IXDJIA", "IXDJIA"}, {"IX", "IX"}, {"CXAB01", "CXAB"}, {"CXA", ""}, {"S", ""},
        {"", ""},           {"HKHSI", "HK"},
    };
    for (const auto &[code, key] : cases)
        EXPECT_EQ(MarketTimes::fmtCode(code), key) << code;
}

TEST_F(MarketTimesTest, UnchangedSessionsWriteNothing) {
    MarketTimes table;
    table.addItem(sessionBlock({{930, 1130}, {1300, 1500}}).span(), "SZ000002");
    EXPECT_EQ(codes(table)[1], "SZ");
    EXPECT_FALSE(fs::exists(filePath()));
}

TEST_F(MarketTimesTest, ChangedSessionsMoveTheMarketToTheEndAndAreSaved) {
    MarketTimes table;
    table.addItem(sessionBlock({{930, 1130}, {1300, 1457}}).span(), "SZ000002");
    ASSERT_EQ(table.list.back()->code, "SZ");
    EXPECT_EQ(table.list.back()->minCount, 239);
    EXPECT_EQ(table.list.size(), 30u);
    EXPECT_EQ(table.list[1]->code, "BI");

    auto bytes = base::FileManager::read(filePath());
    ASSERT_TRUE(bytes);
    // Market count, then the first market: "SH" with two sessions.
    const std::vector<uint8_t> head = {30,   0,    2,    0,    'S',  'H',  2,   0xA2,
                                       0x03, 0x6A, 0x04, 0x14, 0x05, 0xDC, 0x05};
    ASSERT_GE(bytes->length(), head.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes->bytes(), bytes->bytes() + head.size()), head);

    MarketTimes reread;
    EXPECT_EQ(codes(reread), codes(table));
    EXPECT_EQ(reread.list.back()->times, (std::vector<TradeTimeItem>{{930, 1130}, {1300, 1457}}));
    EXPECT_EQ(reread.getMinCount("SZ000002"), 239);
}

TEST_F(MarketTimesTest, NewMarketIsAppendedUnderItsKey) {
    MarketTimes table;
    table.addItem(sessionBlock({{2100, 230}}).span(), "CXAB01");
    ASSERT_EQ(table.list.back()->code, "CXAB");
    EXPECT_EQ(table.getMinCount("CXAB99"), 331);
    EXPECT_TRUE(fs::exists(filePath()));
}

TEST_F(MarketTimesTest, SessionBlockGivesAtMostEightSessionsAndOnlyThoseItHolds) {
    std::vector<TradeTimeItem> ten;
    for (int16_t hour = 1; hour <= 10; ++hour)
        ten.push_back({int16_t(hour * 100), int16_t(hour * 100 + 30)});
    MarketTimes table;
    table.addItem(sessionBlock(ten).span(), "QQ1");
    EXPECT_EQ(table.getItem("QQ1")->times, std::vector<TradeTimeItem>(ten.begin(), ten.begin() + 8));

    table.addItem(sessionBlock({{900, 1000}}, 5).span(), "RR1");
    EXPECT_EQ(table.getItem("RR1")->times, (std::vector<TradeTimeItem>{{900, 1000}}));
}

TEST_F(MarketTimesTest, RefusedUpdatesChangeNothing) {
    MarketTimes table;
    const std::vector<std::pair<std::string, base::Data>> cases = {
        {"SZ000002", sessionBlock({})},
        {"SZ000002", base::Data()},
        {"X", sessionBlock({{930, 1130}})},
        {"CXA", sessionBlock({{930, 1130}})},
        {"SZ000002", sessionBlock({{930, 1160}})},
        {"SZ000002", sessionBlock({{2400, 1130}})},
        {"SZ000002", sessionBlock({{930, 1130}, {int16_t(-100), 1500}})},
    };
    for (const auto &[code, block] : cases)
        table.addItem(block.span(), code);
    EXPECT_EQ(table.list.size(), 30u);
    EXPECT_EQ(table.getMinCount("SZ000002"), 242);
    EXPECT_FALSE(fs::exists(filePath()));
}

base::Data savedTable(int count,
                      const std::vector<std::pair<std::string, std::vector<TradeTimeItem>>> &markets,
                      int sessionCount = -1) {
    base::Data bytes;
    ComAPI::WriteShort(bytes, count);
    for (const auto &[code, times] : markets) {
        ComAPI::WriteString(bytes, code);
        ComAPI::WriteByte(bytes, sessionCount < 0 ? int(times.size()) : sessionCount);
        for (const auto &time : times) {
            ComAPI::WriteShort(bytes, time.opentime);
            ComAPI::WriteShort(bytes, time.closetime);
        }
    }
    return bytes;
}

TEST_F(MarketTimesTest, SavedTableReplacesTheBuiltInOne) {
    writeFile(savedTable(2, {{"SH", {{930, 1130}}}, {"HK", {{900, 1000}, {1300, 1330}}}}));
    MarketTimes table;
    EXPECT_EQ(codes(table), (std::vector<std::string>{"SH", "HK"}));
    EXPECT_EQ(table.getMinCount("SH600000"), 121);
    EXPECT_EQ(table.getMinCount("HKHSI"), 92);
    EXPECT_EQ(table.getMinCount("SZ000001"), 241);
}

TEST_F(MarketTimesTest, DamagedFileFallsBackToTheBuiltInTable) {
    base::Data whole = savedTable(1, {{"SH", {{930, 1130}}}});
    base::Data truncated = whole.subdata(0, whole.length() - 1);
    base::Data trailing = whole;
    trailing.append("x", 1);
    const std::vector<std::pair<std::string, base::Data>> cases = {
        {"empty", base::Data()},
        {"count 0", savedTable(0, {})},
        {"negative count", savedTable(-1, {})},
        {"fewer markets than counted", savedTable(2, {{"SH", {{930, 1130}}}})},
        {"truncated", truncated},
        {"trailing bytes", trailing},
        {"empty code", savedTable(1, {{"", {{930, 1130}}}})},
        {"no sessions", savedTable(1, {{"SH", {}}})},
        {"negative session count", savedTable(1, {{"SH", {{930, 1130}}}}, 0xFF)},
        {"minute 60", savedTable(1, {{"SH", {{960, 1130}}}})},
        {"hour 24", savedTable(1, {{"SH", {{930, 2400}}}})},
        {"negative time", savedTable(1, {{"SH", {{int16_t(-930), 1130}}}})},
    };
    for (const auto &[name, bytes] : cases) {
        writeFile(bytes);
        MarketTimes table;
        EXPECT_EQ(table.list.size(), 30u) << name;
        EXPECT_EQ(table.getMinCount("SH600000"), 242) << name;
        EXPECT_EQ(table.getMinCount("XY000001"), 241) << name;
    }
}

TEST_F(MarketTimesTest, FailedSaveKeepsTheUpdateInMemory) {
    ASSERT_TRUE(FileFunc::checkDir("tradetime.dat/blocked"));
    MarketTimes table;
    table.addItem(sessionBlock({{930, 1130}, {1300, 1457}}).span(), "SZ000002");
    EXPECT_EQ(table.getMinCount("SZ000002"), 239);
    EXPECT_FALSE(table.saveToFile());
}

TEST_F(MarketTimesTest, EmptyTableIsNotSaved) {
    MarketTimes table;
    table.list.clear();
    EXPECT_FALSE(table.saveToFile());
    EXPECT_FALSE(fs::exists(filePath()));
}

} // namespace
