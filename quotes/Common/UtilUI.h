#pragma once

#include "base/Object.h"
#include "gfx/Image.h"

#include <string_view>

// Bundle images read afresh, outside the shared image cache. Class operations only.
class UtilUI {
public:
    UtilUI() = delete;

    // The bundle file of that name; empty when there is none.
    static base::Ref<gfx::Image> imageNamed(std::string_view name);
    // The same bitmap at scale 2 (half its pixel size in points); empty when there is none.
    static base::Ref<gfx::Image> retinaImageNamed(std::string_view name);
};
