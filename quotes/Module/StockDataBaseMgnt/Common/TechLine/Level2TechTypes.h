#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The level-2 indicator codes, equal to the quote messages that deliver their series, with their
// names and output names. Day series belong to the candlestick chart, minute series to the
// intraday chart.
struct Level2TechTypes {
    enum Code : int32_t {
        DDX = 2918,
        DDY = 2919,
        DDZ = 2920,
        MinDDX = 2922,
        MinDiffer = 2923,
        MinBSVol = 2924,
        MainFunds = 2928,
        BSPoints = 2933, // drawn from the candles' own BS-point records
    };

    // "" for any other code.
    static std::string name(int32_t code);
    // None for any other code (and for the BS points).
    static std::vector<std::string> outputs(int32_t code);
};
