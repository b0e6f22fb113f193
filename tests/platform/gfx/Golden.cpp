#include "Golden.h"

#include <cstdlib>
#include <cstring>

namespace gfx::testing {

namespace {

std::string goldenPath(const std::string &name) {
    return std::string(QV_FIXTURES_DIR) + "/gfx/" + name + ".png";
}

bool updating() {
    const char *flag = std::getenv("QV_UPDATE_GOLDENS");
    return flag && std::strcmp(flag, "1") == 0;
}

int distance(Rgba8 a, Rgba8 b) {
    // Colour only counts where there is something to see.
    int alpha = std::abs(a.a - b.a);
    if (a.a == 0 || b.a == 0)
        return alpha;
    return std::max({alpha, std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

} // namespace

::testing::AssertionResult matchesGolden(const Surface &rendering, const std::string &name, int tolerance) {
    std::string path = goldenPath(name);
    if (updating()) {
        if (!rendering.writePng(path))
            return ::testing::AssertionFailure() << "cannot write " << path;
        return ::testing::AssertionSuccess();
    }
    Surface golden = Surface::readFile(path);
    if (!golden)
        return ::testing::AssertionFailure()
               << "no golden image " << path << " (run with QV_UPDATE_GOLDENS=1)";
    if (golden.width() != rendering.width() || golden.height() != rendering.height())
        return ::testing::AssertionFailure()
               << name << ": size " << rendering.width() << "x" << rendering.height() << ", golden "
               << golden.width() << "x" << golden.height();
    int outliers = 0, worst = 0;
    for (int y = 0; y < golden.height(); ++y)
        for (int x = 0; x < golden.width(); ++x) {
            int d = distance(golden.pixel(x, y), rendering.pixel(x, y));
            worst = std::max(worst, d);
            outliers += d > tolerance;
        }
    int allowed = golden.width() * golden.height() / 200;
    if (outliers > allowed) {
        rendering.writePng(::testing::TempDir() + name + ".actual.png");
        return ::testing::AssertionFailure()
               << name << ": " << outliers << " pixels differ by more than " << tolerance << " (worst "
               << worst << "); rendering written to " << ::testing::TempDir() << name << ".actual.png";
    }
    return ::testing::AssertionSuccess();
}

} // namespace gfx::testing
