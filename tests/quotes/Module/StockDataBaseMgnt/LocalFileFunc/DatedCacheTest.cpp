#include "CacheFixture.h"

#include "Common/TimeFunc.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

constexpr int QuotesDate = 20120305;

base::Ref<StkMinLineItem> minute(int32_t time, int32_t price) {
    auto item = base::make<StkMinLineItem>();
    item->time = time;
    item->price = price;
    item->vol = 3;
    item->totalVol = 30;
    item->ave = price - 1;
    item->holdVol = -4;
    return item;
}

base::Ref<NewExrightItem> exright(int32_t date) {
    auto item = base::make<NewExrightItem>();
    item->date = date;
    item->give = 1000;
    item->pei = 2000;
    item->peiPrice = 35000;
    item->profit = -1;
    return item;
}

base::Ref<StkStrikeDetailItem> tick(int32_t time, bool outer, int8_t dealType) {
    auto item = base::make<StkStrikeDetailItem>();
    item->pos = 77;
    item->time = time;
    item->dealPrice = 1234;
    item->dealVol = 5;
    item->holdVol = 6;
    item->incVol = -7;
    item->isOuterPan = outer;
    item->dealType = dealType;
    return item;
}

using DatedCache = CacheTest;

TEST_F(DatedCache, MinuteFileLayoutAndDate) {
    std::vector<base::Ref<base::Object>> minutes = {minute(930, 1000), minute(931, 1002)};
    ASSERT_TRUE(LocalFileFunc::saveMinLine("SH600000", minutes, QuotesDate));
    base::Data expected = ints({2001, QuotesDate, 2});
    expected.append(ints({930, 1000, 3, 30, 999, -4, 931, 1002, 3, 30, 1001, -4}));
    EXPECT_EQ(fileAt("data/minline/SH600000.dat"), expected);

    std::vector<base::Ref<StkMinLineItem>> read = {minute(1, 1)};
    ASSERT_TRUE(LocalFileFunc::readMinLine("SH600000", read, QuotesDate));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[1]->time, 931);
    EXPECT_EQ(read[1]->ave, 1001);
    EXPECT_EQ(read[1]->holdVol, -4);

    EXPECT_FALSE(LocalFileFunc::readMinLine("SH600000", read, QuotesDate + 1));
    EXPECT_TRUE(read.empty());
}

TEST_F(DatedCache, ExrightFileLayout) {
    ASSERT_TRUE(LocalFileFunc::saveExright("SZ000002", std::vector{exright(20110601), exright(20120601)},
                                           QuotesDate));
    base::Data expected = ints({3001, QuotesDate, 2});
    expected.append(ints({20110601, 1000, 2000, 35000, -1, 20120601, 1000, 2000, 35000, -1}));
    EXPECT_EQ(fileAt("data/SZ/000002/exright.dat"), expected);

    std::vector<base::Ref<NewExrightItem>> read;
    ASSERT_TRUE(LocalFileFunc::readExright("SZ000002", read, QuotesDate));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[1]->date, 20120601);
    EXPECT_EQ(read[1]->peiPrice, 35000);
}

TEST_F(DatedCache, TickFileLayout) {
    ASSERT_TRUE(LocalFileFunc::saveStrikeDetail(
        "SH600000", std::vector{tick(93001, true, -2), tick(93002, false, 3)}, QuotesDate));
    base::Data expected = ints({4001, QuotesDate, 2, 77, 93001, 1234, 5, 6, -7});
    expected.append(base::Data(std::vector<uint8_t>{1, 0xFE}));
    expected.append(ints({77, 93002, 1234, 5, 6, -7}));
    expected.append(base::Data(std::vector<uint8_t>{0, 3}));
    EXPECT_EQ(fileAt("data/SH/600000/strike.dat"), expected);

    // Any positive byte is the outer side.
    base::Data stored = *fileAt("data/SH/600000/strike.dat");
    stored.mutableBytes()[12 + 24 + 26] = 9;
    stored.mutableBytes()[12 + 24] = 0x80;
    writeAt("data/SH/600000/strike.dat", stored);
    std::vector<base::Ref<StkStrikeDetailItem>> read;
    ASSERT_TRUE(LocalFileFunc::readStrikeDetail("SH600000", read, QuotesDate));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_FALSE(read[0]->isOuterPan);
    EXPECT_EQ(read[0]->dealType, -2);
    EXPECT_TRUE(read[1]->isOuterPan);
    EXPECT_EQ(read[1]->incVol, -7);
    EXPECT_EQ(read[1]->pos, 77);
}

TEST_F(DatedCache, UnusableFilesReadAsAbsent) {
    const std::vector<std::pair<std::string, base::Data>> cases = {
        {"empty", base::Data()},
        {"header only, count 0", ints({2001, QuotesDate, 0})},
        {"count past the bytes", ints({2001, QuotesDate, 2, 930, 1, 1, 1, 1, 1})},
        {"negative count", ints({2001, QuotesDate, -1, 930, 1, 1, 1, 1, 1})},
        {"short header", ints({2001, QuotesDate})},
    };
    for (const auto &[name, bytes] : cases) {
        writeAt("data/minline/SH600000.dat", bytes);
        std::vector<base::Ref<StkMinLineItem>> read = {minute(1, 1)};
        EXPECT_FALSE(LocalFileFunc::readMinLine("SH600000", read, QuotesDate)) << name;
        EXPECT_TRUE(read.empty()) << name;
    }
    std::vector<base::Ref<StkMinLineItem>> read = {minute(1, 1)};
    EXPECT_FALSE(LocalFileFunc::readMinLine("SH600001", read, QuotesDate));
    EXPECT_TRUE(read.empty());
}

TEST_F(DatedCache, CodesThatWouldLeaveTheirDirectoryAreRefused) {
    std::vector<base::Ref<StkMinLineItem>> minutes = {minute(930, 1)};
    for (const std::string &code :
         {std::string("../../x"), std::string("SH/../../x"), std::string("SH6\0x", 5), std::string("SH")}) {
        EXPECT_FALSE(LocalFileFunc::saveMinLine(code, minutes, QuotesDate)) << code;
        EXPECT_FALSE(LocalFileFunc::saveExright(code, std::vector{exright(1)}, QuotesDate)) << code;
        EXPECT_FALSE(LocalFileFunc::saveStrikeDetail(code, std::vector{tick(1, true, 0)}, QuotesDate))
            << code;
        std::vector<base::Ref<StkMinLineItem>> read = {minute(1, 1)};
        EXPECT_FALSE(LocalFileFunc::readMinLine(code, read, QuotesDate)) << code;
        EXPECT_EQ(read.size(), 1u) << code;
    }
    EXPECT_FALSE(fs::exists(FileFunc::getFilePath("data")));
}

TEST_F(DatedCache, FailedWritesAnswerNo) {
    ASSERT_TRUE(FileFunc::checkDir("data/minline/SH600000.dat/blocked"));
    EXPECT_FALSE(LocalFileFunc::saveMinLine("SH600000", std::vector{minute(930, 1)}, QuotesDate));
    ASSERT_TRUE(FileFunc::checkDir("data/SH/600000/exright.dat/blocked"));
    EXPECT_FALSE(LocalFileFunc::saveExright("SH600000", std::vector{exright(1)}, QuotesDate));
    ASSERT_TRUE(FileFunc::checkDir("data/SH/600000/strike.dat/blocked"));
    EXPECT_FALSE(LocalFileFunc::saveStrikeDetail("SH600000", std::vector{tick(1, true, 0)}, QuotesDate));
    writeAt("data/trade", base::Data::fromString("x"));
    EXPECT_FALSE(LocalFileFunc::saveTradeAddressInfo(base::Data::fromString("abc").span()));
}

TEST_F(DatedCache, BrokerTableBytesAreKeptAsGiven) {
    EXPECT_FALSE(LocalFileFunc::readTradeAddressInfo());
    base::Data body(std::vector<uint8_t>{0, 1, 2, 0xFF});
    ASSERT_TRUE(LocalFileFunc::saveTradeAddressInfo(body.span()));
    EXPECT_EQ(fileAt("data/trade/tradeaddr.dat"), body);
    EXPECT_EQ(LocalFileFunc::readTradeAddressInfo(), body);
}

class ClearTempFiles : public CacheTest {
protected:
    // Creates the file modified `secondsBefore` the local midnight that starts the quotes date.
    static void fileAged(const std::string &relative, double secondsBefore) {
        writeAt(relative, base::Data::fromString("x"));
        double when = TimeFunc::getDateFromNumDate(QuotesDate)->since1970() - secondsBefore;
        struct timespec times[2];
        times[0].tv_sec = times[1].tv_sec = time_t(when);
        times[0].tv_nsec = times[1].tv_nsec = 0;
        ASSERT_EQ(::utimensat(AT_FDCWD, FileFunc::getFilePath(relative).c_str(), times, 0), 0);
    }
    static bool exists(const std::string &relative) { return fs::exists(FileFunc::getFilePath(relative)); }
};

TEST_F(ClearTempFiles, DeletesOnlyStaleMinuteAndTickFiles) {
    const double day = 86400;
    const std::vector<std::pair<std::string, bool>> files = {
        {"data/minline/SH600000.dat", false},    {"data/minline/SZ000001.dat", true},
        {"data/SH/600000/strike.dat", false},    {"data/SH/600000/k7.dat", true},
        {"data/SH/600000/exright.dat", true},    {"data/SH/600000/mystrike.dat", true},
        {"data/minline/old/SH600000.dat", true}, {"notes/data/minline/SH600000.dat", true},
        {"data/trade/tradeaddr.dat", true},
    };
    for (const auto &[path, kept] : files)
        fileAged(path, path == "data/minline/SZ000001.dat" ? day - 1 : day);
    fileAged("data/SZ/000001/strike.dat", 9 * 3600);

    for (int date : {0, -1, 20121340})
        LocalFileFunc::clearTempFiles(date);
    for (const auto &[path, kept] : files)
        EXPECT_TRUE(exists(path)) << path;

    LocalFileFunc::clearTempFiles(QuotesDate);
    for (const auto &[path, kept] : files)
        EXPECT_EQ(exists(path), kept) << path;
    EXPECT_TRUE(exists("data/SZ/000001/strike.dat"));
    EXPECT_TRUE(exists("data/minline"));
}

} // namespace
