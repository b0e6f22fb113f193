#include "Candles.h"
#include "KLineLevel2TechIndex.h"
#include "MLineLevel2TechIndex.h"

#include "DataBase/NetData/Level2BSItem.h"
#include "DataBase/NetData/SeriesNumber.h"

using namespace candles;
using Sub = TechLineSubItem;

namespace {

base::Ref<KLineLevel2TechIndex::Series>
daySeries(std::initializer_list<std::tuple<int32_t, float, float>> items) {
    auto list = base::make<KLineLevel2TechIndex::Series>();
    for (auto [date, value, value2] : items) {
        auto item = base::make<DD_Item>();
        item->date = date;
        item->value = value;
        item->value2 = value2;
        list->push_back(item);
    }
    return list;
}

base::Ref<KLineList> dated(std::initializer_list<int32_t> dates) {
    auto list = base::make<KLineList>();
    for (int32_t date : dates)
        list->push_back(candle(date, 1000, 1000, 1000, 1000));
    return list;
}

TechLineSubItem level2(const TechIndexBase &tech, int candle) {
    auto item = tech.getItem(candle);
    return item && item->getSubItem(0) ? *item->getSubItem(0) : TechLineSubItem{-1, -1, -1};
}

TEST(Level2DaySeries, CandlesTakeTheirSameDatedItemAndAreHiddenOtherwise) {
    struct Case {
        const char *name;
        int32_t code;
        std::initializer_list<int32_t> candles;
        std::initializer_list<std::tuple<int32_t, float, float>> series;
        std::vector<TechLineSubItem> expected;
    };
    const Case cases[] = {
        {"gaps",
         Level2TechTypes::DDX,
         {1, 2, 3, 4},
         {{2, 0.5f, 0}, {4, -0.25f, 0}},
         {{Sub::Hidden, 0, 0}, {Sub::Bar, 0.5f, 0}, {Sub::Hidden, 0, 0}, {Sub::Bar, -0.25f, 0}}},
        {"series starting before the candles",
         Level2TechTypes::DDY,
         {5, 6, 7},
         {{3, 1, 0}, {4, 2, 0}, {6, 3, 0}},
         {{Sub::Hidden, 0, 0}, {Sub::Bar, 3, 0}, {Sub::Hidden, 0, 0}}},
        {"band depth",
         Level2TechTypes::DDZ,
         {1, 2},
         {{1, 2, 6}, {2, -1, 6}},
         {{Sub::Band, 2, 6}, {Sub::Band, -1, 6}}},
        {"main funds",
         Level2TechTypes::MainFunds,
         {1, 2, 3},
         {{1, 4, 9}, {3, 5, 9}},
         {{Sub::LineAlways, 4, 0}, {Sub::Hidden, 0, 0}, {Sub::LineAlways, 5, 0}}},
        {"BS points",
         Level2TechTypes::BSPoints,
         {1, 2},
         {{1, 4, 0}},
         {{Sub::Hidden, 0, 0}, {Sub::Hidden, 0, 0}}},
    };
    for (const Case &c : cases) {
        auto candles = dated(c.candles);
        KLineLevel2TechIndex tech(Level2TechTypes::DDX);
        // Values from an earlier series must not survive.
        tech.calculate(
            daySeries({{1, 9, 9}, {2, 9, 9}, {3, 9, 9}, {4, 9, 9}, {5, 9, 9}, {6, 9, 9}, {7, 9, 9}}),
            candles);
        tech.setTechType(c.code);
        tech.calculate(daySeries(c.series), candles);
        for (size_t i = 0; i < c.expected.size(); ++i) {
            TechLineSubItem s = level2(tech, int(i));
            EXPECT_EQ(s.type, c.expected[i].type) << c.name << " candle " << i;
            EXPECT_EQ(s.value, c.expected[i].value) << c.name << " candle " << i;
            EXPECT_EQ(s.value2, c.expected[i].value2) << c.name << " candle " << i;
        }
    }
}

TEST(Level2DaySeries, SwitchingCodeWithoutASeriesLeavesNoValue) {
    auto candles = dated({1, 2});
    KLineLevel2TechIndex tech(Level2TechTypes::DDX);
    tech.calculate(daySeries({{1, 1, 0}, {2, 2, 0}}), candles);
    EXPECT_EQ(level2(tech, -1).type, Sub::Bar);
    tech.setTechType(Level2TechTypes::DDY);
    tech.calculate(nullptr, candles);
    EXPECT_EQ(level2(tech, 0).type, Sub::Hidden);
    EXPECT_EQ(level2(tech, 1).value, 0);
    EXPECT_FALSE(tech.getItem(2));
    EXPECT_EQ(tech.getTechItemName(0), "DDY");
}

TEST(Level2DaySeries, Ranges) {
    auto candles = dated({1, 2, 3});
    KLineLevel2TechIndex tech(Level2TechTypes::DDX);
    tech.calculate(daySeries({{1, 0.5f, 0}, {2, -2, 0}, {3, 1, 0}}), candles);
    float max = 0, min = 0;
    EXPECT_TRUE(tech.getMaxMinInfo(0, 2, max, min));
    EXPECT_EQ(max, 2);
    EXPECT_EQ(min, -2);
    tech.setTechType(Level2TechTypes::MainFunds);
    tech.calculate(daySeries({{1, 0.5f, 0}, {2, -2, 0}, {3, 1, 0}}), candles);
    EXPECT_TRUE(tech.getMaxMinInfo(0, 2, max, min));
    EXPECT_EQ(max, 1);
    EXPECT_EQ(min, -2);
    tech.setTechType(Level2TechTypes::BSPoints);
    EXPECT_FALSE(tech.getMaxMinInfo(0, 2, max, min));
    EXPECT_EQ(KLineLevel2TechIndex::getTechName(Level2TechTypes::MainFunds), "主力资金");
    EXPECT_EQ(KLineLevel2TechIndex::getTechName(2921), "");
}

base::Ref<MLineLevel2TechIndex::Series> numbers(std::initializer_list<int32_t> values) {
    auto list = base::make<MLineLevel2TechIndex::Series>();
    for (int32_t v : values)
        list->push_back(base::make<SeriesNumber>(v));
    return list;
}

TEST(Level2MinuteSeries, OneRecordPerMinute) {
    MLineLevel2TechIndex ddx(Level2TechTypes::MinDDX);
    ddx.calculate(numbers({1500, 1200, 1800}));
    ASSERT_EQ(ddx.count(), 3);
    const float expected[3][2] = {{1.5f, 1.5f}, {-0.3f, 1.2f}, {0.6f, 1.8f}};
    for (int i = 0; i < 3; ++i) {
        auto record = ddx.getItem(i);
        EXPECT_EQ(record->getSubItem(0)->type, Sub::Bar);
        EXPECT_NEAR(record->getSubItem(0)->value, expected[i][0], 1e-6);
        EXPECT_EQ(record->getSubItem(1)->type, Sub::Line);
        EXPECT_NEAR(record->getSubItem(1)->value, expected[i][1], 1e-6);
    }
    float max = 0, min = 0;
    EXPECT_TRUE(ddx.getMaxMinInfo(0, 2, max, min));
    EXPECT_NEAR(max, 1.8f, 1e-6);
    EXPECT_NEAR(min, -1.8f, 1e-6);

    MLineLevel2TechIndex differ(Level2TechTypes::MinDiffer);
    differ.calculate(numbers({-7, 3}));
    EXPECT_EQ(differ.getItem(-1)->getSubItem(0)->type, Sub::Stick);
    EXPECT_EQ(differ.getItem(0)->getSubItem(0)->value, -7);

    MLineLevel2TechIndex volumes(Level2TechTypes::MinBSVol);
    auto list = base::make<MLineLevel2TechIndex::Series>();
    auto item = base::make<Level2MinBSVolItem>();
    item->totalBuy = 300;
    item->totalSell = 200;
    list->push_back(item);
    list->push_back(base::make<SeriesNumber>(5)); // the wrong kind: a hidden, minute-aligned record
    volumes.calculate(list);
    ASSERT_EQ(volumes.count(), 2);
    EXPECT_EQ(volumes.getItem(0)->getSubItem(1)->value, 200);
    EXPECT_EQ(volumes.getItem(1)->getSubItem(0)->type, Sub::Hidden);
    EXPECT_TRUE(volumes.getMaxMinInfo(0, 1, max, min));
    EXPECT_EQ(max, 300);
    EXPECT_EQ(min, 200);
    EXPECT_EQ(MLineLevel2TechIndex::getLeftTextDigits(Level2TechTypes::MinBSVol), 0);
    EXPECT_EQ(MLineLevel2TechIndex::getTopTextDigits(Level2TechTypes::MinDDX), 3);

    // A code of the day chart builds nothing, and a new calculation empties the list first.
    ddx.setTechType(Level2TechTypes::DDX);
    ddx.calculate(numbers({1, 2}));
    EXPECT_EQ(ddx.count(), 0);
    EXPECT_FALSE(ddx.getItem(-1));
    EXPECT_FALSE(ddx.getMaxMinInfo(0, 1, max, min));
}

TEST(TechLineItem, SubItemsGrowOnDemand) {
    TechLineItem record(2);
    EXPECT_EQ(record.count(), 2);
    EXPECT_EQ(record.getSubItem(1)->type, Sub::Hidden);
    record.setSubItem(4, Sub::Band, 3, 6);
    EXPECT_EQ(record.count(), 5);
    EXPECT_EQ(record.getSubItem(3)->type, Sub::Hidden);
    EXPECT_EQ(record.getSubItem(4)->value2, 6);
    record.setSubItem(-1, Sub::Line, 1);
    EXPECT_EQ(record.count(), 5);
    EXPECT_FALSE(record.getSubItem(5));
    EXPECT_FALSE(record.getSubItem(-1));
}

} // namespace
