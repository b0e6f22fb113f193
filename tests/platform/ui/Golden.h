#pragma once

#include "gfx/Surface.h"

#include <gtest/gtest.h>
#include <string>

namespace ui::testing {

// Compares a rendering with the committed PNG tests/fixtures/ui/<name>.png, allowing small
// differences at antialiased edges. With QV_UPDATE_GOLDENS=1 the rendering replaces the file.
::testing::AssertionResult matchesGolden(const gfx::Surface &rendering, const std::string &name);

} // namespace ui::testing
