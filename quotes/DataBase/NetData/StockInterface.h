#pragma once

#include <cstdint>

// The sort codes that the product and fund list messages expect for the display field ids the
// list screens sort by. Class operations only; an id without a code of its own passes unchanged.
class StockInterface {
public:
    StockInterface() = delete;

    static int32_t GetProdSortID(int32_t fieldID);
    static int32_t GetOpenFundSortID(int32_t fieldID);
    static int32_t GetCurrFundSortID(int32_t fieldID);
};
