#pragma once

#include <string_view>

// Security-code and candle helpers of the market data layer.
class StockFunc {
public:
    StockFunc() = delete;

    // A code is a two-letter market prefix and at least one more character.
    static bool isValidCode(std::string_view code) { return code.size() > 2; }
};
