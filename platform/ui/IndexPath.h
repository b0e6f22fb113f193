#pragma once

#include <compare>

namespace ui {

// A row of a table: its section and its row within the section, ordered section first.
struct IndexPath {
    int section = 0, row = 0;
    auto operator<=>(const IndexPath &) const = default;
};

} // namespace ui
