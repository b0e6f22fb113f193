#include "Common/Gdip.h"
#include "Common/StyleFunc.h"

#include <gtest/gtest.h>

namespace {

using gfx::Rgba8;

constexpr Rgba8 None{};

struct Canvas {
    gfx::Surface pixels;
    gfx::Context context;
    Canvas(int w, int h) : pixels(w, h), context(pixels) {}
    Rgba8 at(int x, int y) const { return pixels.pixel(x, y); }
    // The first row from the top holding any ink, or -1.
    int firstInkedRow() const {
        for (int y = 0; y < pixels.height(); ++y)
            for (int x = 0; x < pixels.width(); ++x)
                if (at(x, y).a > 0)
                    return y;
        return -1;
    }
};

TEST(Gdip, ARectIsStrokedOnePointWideAndLeavesItsColourAndWidthSet) {
    Canvas c(40, 40);
    c.context.setLineWidth(5);
    Gdip::drawRect(c.context, {10.5f, 10.5f, 20, 20}, *gfx::Color::red());
    EXPECT_EQ(c.at(10, 20), (Rgba8{255, 0, 0, 255}));
    EXPECT_EQ(c.at(9, 20), None);
    EXPECT_EQ(c.at(11, 20), None);
    EXPECT_EQ(c.context.lineWidth(), 1);
    EXPECT_EQ(c.context.stroke(), *gfx::Color::red());
}

TEST(Gdip, GradientStopsSpreadEvenlyAcrossTheRectAndStopAtItsEdges) {
    const float redGreenBlue[] = {1, 0, 0, 1, 0, 1, 0, 1, 0, 0, 1, 1};
    Canvas c(120, 120);
    Gdip::drawGradientRect(c.context, {10, 10, 90, 20}, redGreenBlue, 3, true);
    // The middle stop lies 45 points in: pixel 54 straddles it.
    Rgba8 middle = c.at(54, 20);
    EXPECT_GT(middle.g, 245);
    EXPECT_LT(std::max(middle.r, middle.b), 10);
    EXPECT_GT(c.at(10, 20).r, 245);
    EXPECT_GT(c.at(99, 20).b, 245);
    EXPECT_EQ(c.at(100, 20), None);
    EXPECT_EQ(c.at(54, 30), None);

    Gdip::drawGradientRect(c.context, {10, 40, 20, 60}, redGreenBlue, 3, false);
    EXPECT_GT(c.at(20, 70).g, 240);
    EXPECT_GT(c.at(20, 40).r, 245);
    EXPECT_TRUE(c.context.dash().empty());
    // Components short of the stops draw nothing.
    Canvas empty(20, 20);
    Gdip::drawGradientRect(empty.context, {0, 0, 20, 20}, std::span(redGreenBlue, 8), 3, true);
    EXPECT_EQ(empty.firstInkedRow(), -1);
}

TEST(Gdip, VerticallyCentredTextMovesDownByHalfTheSpareHeight) {
    auto font = StyleFunc::getBoldSysFont(16);
    const float textHeight = font->xHeight() + font->capHeight();
    ASSERT_LT(textHeight, 30);
    Canvas top(80, 40), centred(80, 40);
    Gdip::drawStrInRect(top.context, "HH", {0, 0, 80, 30}, *font, *gfx::Color::white(), 0);
    Gdip::drawStrInRect(centred.context, "HH", {0, 0, 80, 30}, *font, *gfx::Color::white(), true, 0);
    ASSERT_GE(top.firstInkedRow(), 0);
    EXPECT_NEAR(centred.firstInkedRow() - top.firstInkedRow(), (30 - textHeight) / 2, 1);
    // The text keeps its colour as the context's colours.
    EXPECT_EQ(centred.context.fill(), *gfx::Color::white());
    EXPECT_EQ(centred.context.stroke(), *gfx::Color::white());
}

TEST(Gdip, TextIsAlignedWithinItsRectAndClippedToIt) {
    auto font = StyleFunc::getSysFont(14);
    struct Case {
        int alignment;
        int minX, maxX; // where the ink may lie in a 100-wide rect at x 0
    } cases[] = {{0, 0, 30}, {1, 35, 65}, {2, 70, 100}};
    for (const Case &k : cases) {
        Canvas c(100, 20);
        Gdip::drawStrInRect(c.context, "88", {0, 0, 100, 20}, *font, *gfx::Color::white(), k.alignment);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 100; ++x)
                if (c.at(x, y).a > 0) {
                    EXPECT_GE(x, k.minX) << "alignment " << k.alignment;
                    EXPECT_LT(x, k.maxX) << "alignment " << k.alignment;
                }
    }
    Canvas clipped(40, 40);
    Gdip::drawStrInRect(clipped.context, "WWWWWWWW", {0, 0, 20, 10}, *font, *gfx::Color::white(), 0);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            if (x >= 20 || y >= 10)
                ASSERT_EQ(clipped.at(x, y), None) << x << "," << y;
        }
}

TEST(Gdip, DashedLinesKeepTheStateAndSolidLinesLeaveColourAndWidthSet) {
    Canvas c(40, 10);
    const gfx::Point pts[] = {{0, 2.5f}, {40, 2.5f}};
    const float dashes[] = {3, 8};
    Gdip::drawDashLine(c.context, pts, *gfx::Color::red(), 1, dashes);
    EXPECT_EQ(c.at(1, 2).r, 255);
    EXPECT_EQ(c.at(5, 2), None);
    EXPECT_EQ(c.at(12, 2).r, 255);
    EXPECT_TRUE(c.context.dash().empty());
    EXPECT_EQ(c.context.stroke(), *gfx::Color::black());

    const gfx::Point below[] = {{0, 6.5f}, {40, 6.5f}};
    Gdip::drawLine(c.context, below, *gfx::Color::blue(), 2);
    EXPECT_EQ(c.at(5, 6).b, 255);
    EXPECT_EQ(c.context.stroke(), *gfx::Color::blue());
    EXPECT_EQ(c.context.lineWidth(), 2);
}

TEST(Gdip, ShapesFillWithTheirColourAndRoundedRectsTakeTheCurrentFill) {
    Canvas c(60, 60);
    c.context.setFill(*gfx::Color::green());
    Gdip::fillEllipse(c.context, {0, 0, 20, 20}, *gfx::Color::red());
    EXPECT_EQ(c.at(10, 10), (Rgba8{255, 0, 0, 255}));
    EXPECT_EQ(c.at(1, 1), None);
    EXPECT_EQ(c.context.fill(), *gfx::Color::green());

    Gdip::drawRoundedRect(c.context, {30.5f, 30.5f, 20, 20}, *gfx::Color::blue());
    EXPECT_EQ(c.at(40, 40), (Rgba8{0, 255, 0, 255}));
    EXPECT_EQ(c.at(30, 40), (Rgba8{0, 0, 255, 255}));
    EXPECT_EQ(c.at(30, 30), None); // the corner is rounded off

    const gfx::Point triangle[] = {{0, 30}, {20, 30}, {0, 50}};
    Gdip::fillPolygon(c.context, triangle, *gfx::Color::white(), {0, 30, 10, 20});
    EXPECT_EQ(c.at(3, 33), (Rgba8{255, 255, 255, 255}));
    EXPECT_EQ(c.at(13, 32), None); // inside the triangle, outside the clip
    EXPECT_EQ(c.context.fill(), *gfx::Color::green());
}

} // namespace
