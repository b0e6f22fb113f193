#include "CacheFixture.h"

#include <algorithm>

namespace {

using Candles = std::vector<base::Ref<KLineItem>>;

// A candle whose shown prices are adjusted: the unadjusted copies are what the file keeps.
base::Ref<KLineItem> candle(int32_t time, int32_t price = 1000) {
    auto item = base::make<KLineItem>();
    item->time = time;
    item->oopenprice = price;
    item->ohighprice = price + 10;
    item->olowprice = price - 10;
    item->ocloseprice = price + 5;
    item->ovol = 300;
    item->openprice = item->highprice = item->lowprice = item->closeprice = price / 2;
    item->vol = 600;
    item->amount = 4000;
    item->holdVol = 7;
    return item;
}

Candles days(int32_t first, int count, int32_t price = 1000) {
    Candles list;
    for (int i = 0; i < count; ++i)
        list.push_back(candle(first + i, price));
    return list;
}

std::vector<int32_t> timesOf(const Candles &list) {
    std::vector<int32_t> times;
    for (const auto &item : list)
        times.push_back(item->time);
    return times;
}

std::vector<int32_t> range(int32_t first, int32_t last) {
    std::vector<int32_t> times;
    for (int32_t t = first; t <= last; ++t)
        times.push_back(t);
    return times;
}

const char *const Path = "data/SH/600000/k7.dat";

class KLineCache : public CacheTest {
protected:
    static int32_t word(const base::Data &bytes, uint32_t pos) { return ComAPI::ReadInt(bytes.span(), pos); }
    static Candles readAll(char &flag) {
        Candles out;
        EXPECT_TRUE(LocalFileFunc::readKLine("SH600000", 7, out, flag));
        return out;
    }
};

TEST_F(KLineCache, PathsOfASecurity) {
    EXPECT_EQ(LocalFileFunc::getCodePath("SH600000"), "data/SH/600000/");
    EXPECT_EQ(LocalFileFunc::getCodePath("IXDJIA"), "data/IX/DJIA/");
}

TEST_F(KLineCache, FileHoldsTheUnadjustedCandles) {
    ASSERT_TRUE(
        LocalFileFunc::saveKLine("SH600000", 7, Candles{candle(20120305), candle(20120306, 2000)}, true));
    auto bytes = fileAt(Path);
    ASSERT_TRUE(bytes);
    base::Data expected = ints({1002});
    ComAPI::WriteByte(expected, 1);
    expected.append(ints({20120305, 20120306, 2}));
    expected.append(ints({20120305, 1000, 1010, 990, 1005, 300, 4000, 7}));
    expected.append(ints({20120306, 2000, 2010, 1990, 2005, 300, 4000, 7}));
    EXPECT_EQ(*bytes, expected);

    char flag = 0;
    Candles read = readAll(flag);
    EXPECT_EQ(flag, 1);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[1]->highprice, 2010);
    EXPECT_EQ(read[1]->ohighprice, 2010);
    EXPECT_EQ(read[1]->ovol, 300);
    EXPECT_EQ(read[1]->holdVol, 7);
}

TEST_F(KLineCache, ListStartingNoLaterThanTheFileReplacesIt) {
    ASSERT_TRUE(LocalFileFunc::saveKLine("SH600000", 7, days(20120310, 10), true));
    ASSERT_TRUE(LocalFileFunc::saveKLine("SH600000", 7, days(20120305, 3), false));
    char flag = 1;
    EXPECT_EQ(timesOf(readAll(flag)), range(20120305, 20120307));
    EXPECT_EQ(flag, 0);

    auto before = fileAt(Path);
    ASSERT_TRUE(LocalFileFunc::saveKLine("SH600000", 7, days(20120305, 3), false));
    EXPECT_EQ(fileAt(Path), before);
}

TEST_F(KLineCache, MergeReplacesTheLastStoredCandleAndAppendsTheNewerOnes) {
    ASSERT_TRUE(LocalFileFunc::saveKLine("SH600000", 7, days(20120301, 5), true));
    ASSERT_TRUE(LocalFileFunc::saveKLine("SH600000", 7, days(20120303, 6, 3000), false));
    auto bytes = fileAt(Path);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->bytes()[4], 1);
    EXPECT_EQ(word(*bytes, 5), 20120301);
    EXPECT_EQ(word(*bytes, 9), 20120308);
    EXPECT_EQ(word(*bytes, 13), 8);
    EXPECT_EQ(bytes->length(), 17u + 8 * 32);

    char flag = 0;
    Candles read = readAll(flag);
    EXPECT_EQ(timesOf(read), range(20120301, 20120308));
    EXPECT_EQ(read[3]->openprice, 1000);
    EXPECT_EQ(read[4]->openprice, 3000);
    EXPECT_EQ(read[7]->openprice, 3000);
}

TEST_F(KLineCache, LaterListWithoutTheLastStoredTimeLeavesTheFile) {
    ASSERT_TRUE(LocalFileFunc::saveKLine("SH600000", 7, days(20120301, 5), true));
    auto before = fileAt(Path);
    EXPECT_TRUE(LocalFileFunc::saveKLine("SH600000", 7, days(20120310, 3), false));
    EXPECT_EQ(fileAt(Path), before);
}

TEST_F(KLineCache, UnusableFilesAreReplacedAndNotRead) {
    base::Data header = ints({1002});
    ComAPI::WriteByte(header, 1);
    header.append(ints({20120301, 20120301}));
    auto withCount = [&](int32_t count, int records) {
        base::Data bytes = header;
        bytes.append(ints({count}));
        for (int i = 0; i < records; ++i)
            bytes.append(ints({20120301 + i, 1, 1, 1, 1, 1, 1, 1}));
        return bytes;
    };
    base::Data otherVersion = withCount(1, 1);
    otherVersion.mutableBytes()[0] = 0xEB;
    const std::vector<std::pair<std::string, base::Data>> cases = {
        {"empty", base::Data()},
        {"header only", header},
        {"other version", otherVersion},
        {"count 0", withCount(0, 1)},
        {"negative count", withCount(-1, 1)},
        {"count past the bytes", withCount(3, 2)},
    };
    for (const auto &[name, bytes] : cases) {
        writeAt(Path, bytes);
        char flag = 7;
        Candles read = {candle(1)};
        EXPECT_FALSE(LocalFileFunc::readKLine("SH600000", 7, read, flag)) << name;
        EXPECT_TRUE(read.empty()) << name;
        int count = -1, first = -1, last = -1;
        Candles older = {candle(20120305)};
        EXPECT_FALSE(LocalFileFunc::readKLine("SH600000", 7, 10, 0, older, flag, count, first, last)) << name;
        EXPECT_EQ(older.size(), 1u) << name;
        EXPECT_EQ(flag, 7) << name;

        ASSERT_TRUE(LocalFileFunc::saveKLine("SH600000", 7, days(20120305, 2), false)) << name;
        EXPECT_EQ(timesOf(readAll(flag)), range(20120305, 20120306)) << name;
    }
}

TEST_F(KLineCache, RefusedArgumentsTouchNoFile) {
    const std::vector<std::string> codes = {"SH",
                                            "S/600000",
                                            "SH/600000",
                                            "SH..",
                                            "..600000",
                                            std::string("SH60\0"
                                                        "0",
                                                        6)};
    for (const std::string &code : codes)
        EXPECT_FALSE(LocalFileFunc::saveKLine(code, 7, days(20120301, 2), false)) << code;
    EXPECT_FALSE(LocalFileFunc::saveKLine("SH600000", -1, days(20120301, 2), false));
    EXPECT_FALSE(LocalFileFunc::saveKLine("SH600000", 7, Candles{}, false));
    EXPECT_FALSE(LocalFileFunc::saveKLine(
        "SH600000", 7, std::vector<base::Ref<base::Object>>{base::make<base::Object>()}, false));
    EXPECT_FALSE(std::filesystem::exists(FileFunc::getFilePath("data")));
    EXPECT_FALSE(std::filesystem::exists(home_ + "/Documents/600000"));

    char flag = 0;
    Candles list = {candle(1)};
    EXPECT_FALSE(LocalFileFunc::readKLine("S/6", 7, list, flag));
    EXPECT_EQ(list.size(), 1u);
}

TEST_F(KLineCache, FailedWritesAnswerNo) {
    ASSERT_TRUE(FileFunc::checkDir(std::string(Path) + "/blocked"));
    EXPECT_FALSE(LocalFileFunc::saveKLine("SH600000", 7, days(20120301, 2), false));
    ASSERT_TRUE(
        base::FileManager::writeAtomically(FileFunc::getFilePath("data/SZ"), base::Data::fromString("x")));
    EXPECT_FALSE(LocalFileFunc::saveKLine("SZ000001", 7, days(20120301, 2), false));
}

TEST_F(KLineCache, ReplyListsOfObjectsAreSavedAndFilled) {
    std::vector<base::Ref<base::Object>> list = {candle(20120301), candle(20120302)};
    ASSERT_TRUE(LocalFileFunc::saveKLine("SH600000", 7, list, false));
    std::vector<base::Ref<base::Object>> read = {candle(20120302)};
    char flag = 5;
    int count = 0, first = 0, last = 0;
    ASSERT_TRUE(LocalFileFunc::readKLine("SH600000", 7, 10, 0, read, flag, count, first, last));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(std::dynamic_pointer_cast<KLineItem>(read[0])->time, 20120301);
}

// Older candles of a file of `stored` days from 20120101 (as plain numbers), oldest flag set.
class OlderCandles : public KLineCache {
protected:
    void store(int stored) {
        ASSERT_TRUE(LocalFileFunc::saveKLine("SH600000", 7, days(20120101, stored), true));
    }

    struct Read {
        bool answer;
        std::vector<int32_t> times;
        char flag;
        int count;
    };
    static Read read(Candles list, int needCount, int fromTime) {
        char flag = 9;
        int count = -1, first = 0, last = 0;
        bool answer =
            LocalFileFunc::readKLine("SH600000", 7, needCount, fromTime, list, flag, count, first, last);
        return {answer, timesOf(list), flag, count};
    }
};

TEST_F(OlderCandles, EmptyListTakesTheNewestNeeded) {
    store(150);
    Read all = read({}, 200, 0);
    EXPECT_TRUE(all.answer);
    EXPECT_EQ(all.times, range(20120101, 20120250));
    EXPECT_EQ(all.flag, 1);
    EXPECT_EQ(all.count, 150);

    store(500);
    Read last = read({}, 200, 0);
    EXPECT_EQ(last.times, range(20120401, 20120600));
    EXPECT_EQ(last.flag, 0);
    EXPECT_EQ(last.count, 200);
}

TEST_F(OlderCandles, CandlesBeforeTheListsFirst) {
    store(100);
    Read few = read({candle(20120111), candle(20120112)}, 50, 0);
    EXPECT_EQ(few.times, range(20120101, 20120112));
    EXPECT_EQ(few.flag, 1);
    EXPECT_EQ(few.count, 10);

    Read some = read({candle(20120181)}, 30, 0);
    EXPECT_EQ(some.times, range(20120151, 20120181));
    EXPECT_EQ(some.flag, 0);

    Read exact = read({candle(20120131)}, 30, 0);
    EXPECT_EQ(exact.times, range(20120101, 20120131));
    EXPECT_EQ(exact.flag, 1);
}

TEST_F(OlderCandles, ListNotJoiningTheFileReadsNothing) {
    store(100);
    for (int32_t first : {20120500, 20120101}) {
        Read none = read({candle(first)}, 30, 0);
        EXPECT_TRUE(none.answer);
        EXPECT_EQ(none.times, std::vector<int32_t>{first});
        EXPECT_EQ(none.count, 0);
        EXPECT_EQ(none.flag, 9);
    }
}

TEST_F(OlderCandles, TimeRange) {
    store(100);
    EXPECT_EQ(read({}, 0, 20120191).times, range(20120191, 20120200));
    EXPECT_EQ(read({}, 0, 20000101).times, range(20120101, 20120200));
    EXPECT_EQ(read({}, 0, 20120191).flag, 0);
    EXPECT_EQ(read({}, 0, 20000101).flag, 1);

    Read between = read({candle(20120150), candle(20120151)}, 0, 20120140);
    EXPECT_EQ(between.times, range(20120140, 20120151));
    EXPECT_EQ(between.count, 10);

    for (const Read &none : {read({}, 0, 20130101), read({candle(20120150)}, 0, 20120160),
                             read({candle(20120300)}, 0, 20120140)}) {
        EXPECT_TRUE(none.answer);
        EXPECT_EQ(none.count, 0);
        EXPECT_EQ(none.flag, 9);
    }
    EXPECT_FALSE(read({}, 0, 0).answer);
}

TEST_F(OlderCandles, HeaderTimesComeBackEvenWhenNothingIsRead) {
    store(10);
    Candles list = {candle(20120500)};
    char flag = 0;
    int count = 0, first = 0, last = 0;
    ASSERT_TRUE(LocalFileFunc::readKLine("SH600000", 7, 5, 0, list, flag, count, first, last));
    EXPECT_EQ(first, 20120101);
    EXPECT_EQ(last, 20120110);
    int version = 0;
    ASSERT_TRUE(LocalFileFunc::readKLineStatus(FileFunc::getFilePath(Path), version, first, last));
    EXPECT_EQ(version, 1002);
    EXPECT_FALSE(
        LocalFileFunc::readKLineStatus(FileFunc::getFilePath("data/none.dat"), version, first, last));
}

// The linear answers the jump search must give: the record with the time, or (inexact) the first
// record at or after it; nothing at all without records.
std::optional<int> linearFind(const std::vector<int32_t> &times, int32_t search, bool exact) {
    if (times.empty())
        return std::nullopt;
    auto at = std::lower_bound(times.begin(), times.end(), search);
    if (exact && (at == times.end() || *at != search))
        return std::nullopt;
    return int(at - times.begin());
}

TEST(FindKLinePos, AgreesWithALinearSearch) {
    for (int count : {0, 1, 2, 3, 5, 16, 17, 100}) {
        std::vector<int32_t> times;
        base::Data file = base::Data::fromString("12345678901234567");
        for (int i = 0; i < count; ++i) {
            times.push_back(100 + 3 * i);
            base::Data record;
            for (int f = 0; f < 8; ++f)
                ComAPI::WriteInt(record, f == 0 ? times.back() : -1);
            file.append(record);
        }
        std::vector<int32_t> searches = {0, 99, 100, 101, 102, 100 + 3 * count, 100 + 3 * count - 3, 5000};
        for (int i = 0; i < count; i += 7)
            searches.insert(searches.end(), {times[i], times[i] + 1, times[i] - 1});
        for (int approximate : {-5, 0, 1, 4, count / 2, count, count * 10})
            for (int start : {0, count / 2})
                for (int32_t search : searches)
                    for (bool exact : {true, false}) {
                        // Inexact searches always start from the first record.
                        if (!exact && start != 0)
                            continue;
                        int index = start, pos = 17 + start * 32;
                        bool found = LocalFileFunc::findKLinePos(file.span(), search, count, approximate,
                                                                 index, pos, 17, exact);
                        auto expected = linearFind(times, search, exact);
                        ASSERT_EQ(found, expected.has_value())
                            << count << " " << approximate << " " << start << " " << search << " " << exact;
                        if (found) {
                            EXPECT_EQ(index, *expected) << count << " " << search << " " << exact;
                            EXPECT_EQ(pos, 17 + *expected * 32);
                        }
                    }
    }
}

TEST(FindKLinePos, OutArgumentsAreWrittenOnlyOnSuccess) {
    base::Data file = base::Data::fromString("12345678901234567");
    file.append(base::Data(std::vector<uint8_t>(32, 0)));
    int index = 5, pos = 6;
    EXPECT_FALSE(LocalFileFunc::findKLinePos(file.span(), 4, 1, 1, index, pos, 17, true));
    EXPECT_EQ(index, 5);
    EXPECT_EQ(pos, 6);
}

} // namespace
