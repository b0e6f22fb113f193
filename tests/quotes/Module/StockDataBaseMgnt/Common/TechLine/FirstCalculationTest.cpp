// The first calculation over candles that hold no record yet makes their records in one block and
// shares its working columns with every other indicator of the thread: what it stores must be what
// a plain computation gives and what a recalculation over records already in place gives, whatever
// list the shared columns served before.
#include "Candles.h"

#include <vector>

using namespace candles;

namespace {

const int32_t AllTypes[] = {TechIndex::MA,  TechIndex::BOLL, TechIndex::VOL, TechIndex::MACD, TechIndex::KDJ,
                            TechIndex::RSI, TechIndex::BIAS, TechIndex::CCI, TechIndex::WR,   TechIndex::DMA};

struct Stored {
    int count;
    std::vector<TechLineSubItem> subs;
};

// Every record in the indicator's slot of the candles, in candle order.
std::vector<Stored> stored(const KLineList &list, int32_t techClass) {
    std::vector<Stored> all;
    for (const auto &candle : list) {
        auto item = techClass == TechIndex::MainClass ? TechIndex::getMainTechIndexItem(*candle)
                                                      : TechIndex::getTechIndexItem(*candle);
        Stored s{item ? item->count() : -1, {}};
        for (int k = 0; k < s.count; ++k)
            s.subs.push_back(*item->getSubItem(k));
        all.push_back(s);
    }
    return all;
}

void expectSame(const std::vector<Stored> &actual, const std::vector<Stored> &expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        ASSERT_EQ(actual[i].count, expected[i].count) << "candle " << i;
        for (size_t k = 0; k < actual[i].subs.size(); ++k) {
            const TechLineSubItem &a = actual[i].subs[k], &e = expected[i].subs[k];
            ASSERT_TRUE(a.type == e.type && a.value == e.value && a.value2 == e.value2)
                << "candle " << i << " output " << k << ": " << a.type << " " << a.value << " against "
                << e.type << " " << e.value;
        }
    }
}

// Fills the shared columns with other prices over a longer list.
void useColumnsElsewhere() {
    auto other = noisyBars(500, 99);
    computed(TechIndex::WR, {}, other);
    computed(TechIndex::BOLL, {}, other);
}

TEST(IndicatorFirstCalculation, MovingAveragesMatchAPlainMeanOfEachWindow) {
    useColumnsElsewhere();
    auto list = noisyBars(120);
    auto ma = computed(TechIndex::MA, {5, 10, 20, 30}, list);
    const int periods[] = {5, 10, 20, 30};
    for (int j = 0; j < 4; ++j) {
        for (int i = periods[j] - 1; i < 120; ++i) {
            int64_t sum = 0;
            for (int k = i - periods[j] + 1; k <= i; ++k)
                sum += (*list)[size_t(k)]->closeprice;
            ASSERT_EQ(sub(*ma, i, j).value, float(double(sum) / periods[j]) / 100)
                << "MA" << j + 1 << " " << i;
        }
    }
    EXPECT_EQ(ma->getItem(0)->count(), 5);
}

TEST(IndicatorFirstCalculation, EqualsARecalculationOverRecordsInPlace) {
    for (int32_t type : AllTypes) {
        SCOPED_TRACE(TechIndex::getTechName(type));
        useColumnsElsewhere();
        auto list = noisyBars(300);
        auto first = computed(type, {}, list);
        std::vector<Stored> once = stored(*list, first->techClass());
        first->calculate(list, 2);
        expectSame(stored(*list, first->techClass()), once);
    }
}

// A refresh that appends candles: the older candles keep their records, the new ones get records
// of their own, and every value is the one a first calculation over the whole list gives. The
// records stay readable after the indicator and the columns have moved on.
TEST(IndicatorFirstCalculation, AppendedCandlesGetRecordsAndTheOlderKeepTheirs) {
    for (int32_t type : AllTypes) {
        SCOPED_TRACE(TechIndex::getTechName(type));
        auto whole = noisyBars(200);
        auto older = base::make<KLineList>(whole->begin(), whole->begin() + 150);
        auto tech = computed(type, {}, older);
        auto kept = tech->getItem(40);
        tech->calculate(whole, 2);
        EXPECT_EQ(tech->getItem(40), kept);
        int32_t techClass = tech->techClass();
        tech.reset();
        kept.reset();
        useColumnsElsewhere();
        auto fresh = noisyBars(200);
        computed(type, {}, fresh);
        expectSame(stored(*whole, techClass), stored(*fresh, techClass));
    }
}

} // namespace
