#pragma once

#include "base/Object.h"

#include <array>
#include <cstdint>
#include <vector>

// One output value of one indicator at one candle or minute. `type` says how the charts draw it.
struct TechLineSubItem {
    // Drawing types of a value.
    enum Type : int32_t {
        Hidden = 0,     // kept but neither drawn nor counted in a pane's range
        RiseFlag = 1,   // 1 when the candle closed at or above its open; not drawn
        Line = 2,       // joined to the previous point when that one is shown
        VolBar = 3,     // volume bar from the pane's bottom
        Stick = 4,      // stick from the pane's middle, coloured by its sign
        Bar = 5,        // bar between the pane's middle and the value
        LineAlways = 6, // joined to the previous point whatever its type
        Band = 7,       // line point with a filled band `value2` points deep
    };

    int32_t type = Hidden;
    float value = 0;
    float value2 = 0;
};

// The indicator record of one candle or minute: one sub-item per output name of the indicator,
// in that order. Candles own their records; the engine reuses a record across calculations so
// that a recalculation allocates nothing. The first sub-items live inside the record itself, so
// that writing a candle's values touches one object.
class TechLineItem final : public base::Object {
public:
    // Sub-items held without a separate allocation: the most outputs an indicator has.
    static constexpr int InlineCapacity = 5;

    TechLineItem() = default;
    // Filled with n hidden zero sub-items.
    explicit TechLineItem(int capacity);

    // Appends one sub-item (value2 0).
    void addSubItem(int32_t type, float value);
    // Sets sub-item i, first appending hidden zeros until it exists; a negative index changes
    // nothing.
    void setSubItem(int index, int32_t type, float value, float value2 = 0) {
        if (index >= 0 && index < count_)
            at(index) = {type, value, value2};
        else
            growTo(index, {type, value, value2});
    }
    int count() const { return count_; }
    // Sub-item i, or none outside the list.
    const TechLineSubItem *getSubItem(int index) const {
        if (index < 0 || index >= count_)
            return nullptr;
        return index < InlineCapacity ? &inline_[size_t(index)] : &more_[size_t(index - InlineCapacity)];
    }

private:
    TechLineSubItem &at(int index) {
        return index < InlineCapacity ? inline_[size_t(index)] : more_[size_t(index - InlineCapacity)];
    }
    void growTo(int index, TechLineSubItem item);

    std::array<TechLineSubItem, InlineCapacity> inline_{};
    std::vector<TechLineSubItem> more_;
    int count_ = 0;
};
