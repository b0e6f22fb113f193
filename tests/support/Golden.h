#pragma once

#include "gfx/Surface.h"

#include <gtest/gtest.h>
#include <string>

namespace qvtest {

// Compares a rendering with the committed PNG tests/fixtures/<name>.png, where the name carries
// its area ("gfx/shapes", "ui/small-screen"). Each channel may differ a little (antialiasing), and
// a few pixels more (glyph edges). With QV_UPDATE_GOLDENS=1 in the environment the rendering
// replaces the committed file instead.
::testing::AssertionResult matchesGolden(const gfx::Surface &rendering, const std::string &name,
                                         int tolerance = 16);

} // namespace qvtest
