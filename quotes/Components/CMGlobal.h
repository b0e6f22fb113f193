#pragma once

#include "base/Object.h"
#include "gfx/Image.h"

#include <string>
#include <string_view>

// Bundle paths and the scale-aware picture loader of the month calendar. Class operations only.
class CMGlobal {
public:
    CMGlobal() = delete;

    // The path inside the application's resource directory.
    static std::string fullBundlePath(std::string_view relativePath);
    // The PNG file of the name, with @2x appended to the name on a screen of a scale above 1,
    // at the screen's scale; empty when the bundle has no such file.
    static base::Ref<gfx::Image> imageNamedTK(std::string_view name);
};
