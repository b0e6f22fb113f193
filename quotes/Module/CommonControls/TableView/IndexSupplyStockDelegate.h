#pragma once

#include "base/Object.h"

#include <string>

// Hears which member stock was tapped in the index contribution, index big-order and board-member
// tables (the detail screen, which opens the pop-up window for it).
class IndexSupplyStockDelegate {
public:
    virtual ~IndexSupplyStockDelegate() = default;
    virtual base::Opt<void> ReturnIndexSupplyStock(const std::string &code, const std::string &name) {
        (void)code, (void)name;
        return base::notImplemented;
    }
};
