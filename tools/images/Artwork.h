#pragma once

#include "gfx/Surface.h"

#include <optional>
#include <string>

namespace images {

// One line of the manifest: what to draw and at which size.
struct Entry {
    std::string name;
    int width = 0, height = 0;
    std::string kind;
    float r = 0, g = 0, b = 0;
    std::string label; // empty for none
};

// Parses "name<TAB>width<TAB>height<TAB>kind<TAB>#rrggbb<TAB>caps<TAB>label"; empty on a bad line.
std::optional<Entry> parseEntry(const std::string &line);
// Flat artwork of the entry's kind; empty for an unknown kind.
gfx::Surface draw(const Entry &entry);

} // namespace images
