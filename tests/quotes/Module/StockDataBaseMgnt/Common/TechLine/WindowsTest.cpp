// Williams %R reads the highest high and lowest low of its window at every candle: over noisy
// candles, windows shorter than, equal to and longer than the list give what a plain scan of each
// window gives, block edges included.
#include "Candles.h"

#include <algorithm>
#include <random>

using namespace candles;

namespace {

base::Ref<KLineList> noisyBars(int count) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> move(-30, 30), range(0, 20);
    auto list = base::make<KLineList>();
    int32_t close = 1000;
    for (int i = 0; i < count; ++i) {
        close = std::max(50, close + move(random));
        list->push_back(candle(i + 1, close, close + range(random), close - range(random), close));
    }
    return list;
}

TEST(IndicatorWindows, WilliamsRMatchesAPlainScanOfEachWindow) {
    const int count = 61;
    auto list = noisyBars(count);
    for (int period : {1, 2, 7, 14, 30, 60, 61, 100}) {
        SCOPED_TRACE(period);
        auto wr = computed(TechIndex::WR, {period, period}, list);
        for (int i = period; i < count; ++i) {
            int32_t high = 0, low = INT32_MAX;
            for (int k = i - period + 1; k <= i; ++k) {
                high = std::max(high, (*list)[size_t(k)]->highprice);
                low = std::min(low, (*list)[size_t(k)]->lowprice);
            }
            float expected =
                high == low ? 0 : float(high - (*list)[size_t(i)]->closeprice) * 100 / float(high - low);
            ASSERT_EQ(sub(*wr, i, 0).value, expected) << "candle " << i;
        }
    }
}

} // namespace
