#include "Golden.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace ui::testing {

::testing::AssertionResult matchesGolden(const gfx::Surface &rendering, const std::string &name) {
    const std::string path = std::string(QV_FIXTURES_DIR) + "/ui/" + name + ".png";
    const char *update = std::getenv("QV_UPDATE_GOLDENS");
    if (update && std::strcmp(update, "1") == 0)
        return rendering.writePng(path) ? ::testing::AssertionSuccess()
                                        : ::testing::AssertionFailure() << "cannot write " << path;
    gfx::Surface golden = gfx::Surface::readFile(path);
    if (!golden)
        return ::testing::AssertionFailure() << "no golden image " << path;
    if (golden.width() != rendering.width() || golden.height() != rendering.height())
        return ::testing::AssertionFailure() << name << ": size differs from the golden image";
    int outliers = 0;
    for (int y = 0; y < golden.height(); ++y)
        for (int x = 0; x < golden.width(); ++x) {
            gfx::Rgba8 a = golden.pixel(x, y), b = rendering.pixel(x, y);
            int d = std::max(
                {std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b), std::abs(a.a - b.a)});
            outliers += d > 16;
        }
    if (outliers > golden.width() * golden.height() / 200) {
        std::string actual = ::testing::TempDir() + name + ".actual.png";
        rendering.writePng(actual);
        return ::testing::AssertionFailure() << name << ": " << outliers << " pixels differ; see " << actual;
    }
    return ::testing::AssertionSuccess();
}

} // namespace ui::testing
