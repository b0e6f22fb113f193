#pragma once

#include "base/Object.h"

#include <cstdint>

// One value of a numeric series kept in a pack's reply list: the points of an index's rise/fall
// line and the level-2 minute series.
class SeriesNumber : public base::Object {
public:
    explicit SeriesNumber(int32_t value) : value(value) {}

    int32_t value = 0;
};
