#pragma once

#include "base/Object.h"

#include <cstdint>

// The chart switches the stock detail screen keeps for the life of the process.
class StockDetailStatus : public base::Object {
public:
    bool isShowKLine() const { return isShowKLine_; }
    // Also resets showKType: a caller wanting a period sets it afterwards.
    void setIsShowKLine(bool show);
    int32_t showKType() const { return showKType_; }
    void setShowKType(int32_t ktype) { showKType_ = ktype; }

    bool isShowKLineVol = true;
    bool isShowKLineLevel2 = true;
    bool isShowMLineLevel2 = true;
    int32_t klineLevel2TechIndex = 0;
    int32_t minlineLevel2TechIndex = 0;

private:
    bool isShowKLine_ = false;
    int32_t showKType_ = 0;
};
