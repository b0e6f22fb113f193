#pragma once

#include "gfx/Surface.h"

#include <gtest/gtest.h>
#include <string>

namespace gfx::testing {

// Compares a rendering with the committed PNG of that name under the fixtures. Each channel may
// differ a little (antialiasing), and a few pixels more (glyph edges). With QV_UPDATE_GOLDENS=1
// in the environment the rendering replaces the committed file instead.
::testing::AssertionResult matchesGolden(const Surface &rendering, const std::string &name,
                                         int tolerance = 16);

} // namespace gfx::testing
