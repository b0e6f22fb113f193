// Williams %R reads the highest high and lowest low of its window at every candle: over noisy
// candles, windows shorter than, equal to and longer than the list give what a plain scan of each
// window gives, block edges included.
#include "Candles.h"

#include <algorithm>

using namespace candles;

namespace {

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
