#include "Golden.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace qvtest {

namespace {

std::string goldenPath(const std::string &name) {
    return std::string(QV_FIXTURES_DIR) + "/" + name + ".png";
}

bool updating() {
    const char *flag = std::getenv("QV_UPDATE_GOLDENS");
    return flag && std::strcmp(flag, "1") == 0;
}

int distance(gfx::Rgba8 a, gfx::Rgba8 b) {
    // Colour only counts where there is something to see.
    int alpha = std::abs(a.a - b.a);
    if (a.a == 0 || b.a == 0)
        return alpha;
    return std::max({alpha, std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

} // namespace

::testing::AssertionResult matchesGolden(const gfx::Surface &rendering, const std::string &name,
                                         int tolerance) {
    std::string path = goldenPath(name);
    if (updating()) {
        if (!rendering.writePng(path))
            return ::testing::AssertionFailure() << "cannot write " << path;
        return ::testing::AssertionSuccess();
    }
    gfx::Surface golden = gfx::Surface::readFile(path);
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
        std::string actual = name;
        std::replace(actual.begin(), actual.end(), '/', '-');
        actual = ::testing::TempDir() + actual + ".actual.png";
        rendering.writePng(actual);
        return ::testing::AssertionFailure()
               << name << ": " << outliers << " pixels differ by more than " << tolerance << " (worst "
               << worst << "); rendering written to " << actual;
    }
    return ::testing::AssertionSuccess();
}

} // namespace qvtest
