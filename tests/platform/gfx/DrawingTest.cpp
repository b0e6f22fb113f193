#include "Golden.h"
#include "gfx/BitmapContext.h"
#include "gfx/Context.h"
#include "gfx/Gradient.h"
#include "gfx/Image.h"

#include <cmath>
#include <gtest/gtest.h>

namespace gfx {
namespace {

using qvtest::matchesGolden;

constexpr Rgba8 Red{255, 0, 0, 255}, Blue{0, 0, 255, 255}, White{255, 255, 255, 255}, None{};

// A small picture whose orientation shows: red top half, blue bottom half.
base::Ref<Image> redOverBlue(int w = 4, int h = 4) {
    Surface pixels(w, h);
    Context c(pixels);
    c.setFill(*Color::red());
    c.fillRect({0, 0, float(w), float(h) / 2});
    c.setFill(*Color::blue());
    c.fillRect({0, float(h) / 2, float(w), float(h) / 2});
    return base::make<Image>(pixels);
}

TEST(Context, StartsWithBlackOneWideLinesAndTheDocumentedDefaults) {
    Surface s(8, 8);
    Context c(s);
    EXPECT_EQ(c.fill(), *Color::black());
    EXPECT_EQ(c.stroke(), *Color::black());
    EXPECT_EQ(c.lineWidth(), 1);
    EXPECT_TRUE(c.dash().empty());
}

TEST(Context, RestoreBringsBackColoursLineWidthAndDash) {
    Surface s(8, 8);
    Context c(s);
    c.setStroke(*Color::red());
    c.save();
    const float dashes[] = {3, 2};
    c.setDash(dashes);
    c.setStroke(*Color::green());
    c.setFill(*Color::blue());
    c.setLineWidth(4);
    c.restore();
    EXPECT_TRUE(c.dash().empty());
    EXPECT_EQ(c.stroke(), *Color::red());
    EXPECT_EQ(c.fill(), *Color::black());
    EXPECT_EQ(c.lineWidth(), 1);
    c.restore(); // unbalanced: ignored
    EXPECT_EQ(c.stroke(), *Color::red());
}

TEST(Context, UnusableDashPatternsDrawSolid) {
    Surface s(8, 8);
    Context c(s);
    const float zeros[] = {0, 0}, negative[] = {2, -1};
    c.setDash(zeros);
    EXPECT_TRUE(c.dash().empty());
    c.setDash(negative);
    EXPECT_TRUE(c.dash().empty());
}

TEST(Context, OneWideStrokeOnTheHalfPixelCoversOneColumn) {
    Surface s(10, 10);
    Context c(s);
    c.setStroke(*Color::red());
    c.strokeRect({2.5f, 2.5f, 5, 5});
    EXPECT_EQ(s.pixel(2, 5), Red);
    EXPECT_EQ(s.pixel(1, 5), None);
    EXPECT_EQ(s.pixel(3, 5), None);
    EXPECT_EQ(s.pixel(7, 5), Red);
}

TEST(Context, WithoutAntialiasingAnEdgeOnAWholePixelCoversOneFullColumn) {
    Surface s(10, 10);
    Context c(s);
    EXPECT_TRUE(c.shouldAntialias());
    c.setShouldAntialias(false);
    c.setStroke(*Color::red());
    c.beginPath();
    c.moveTo({4, 1});
    c.lineTo({4, 8});
    c.strokePath();
    // Antialiased, the line would smear half over columns 3 and 4; now one of them takes it whole.
    EXPECT_EQ(s.pixel(3, 5), Red);
    EXPECT_EQ(s.pixel(4, 5), None);
    EXPECT_EQ(s.pixel(2, 5), None);
    c.setShouldAntialias(true);
    EXPECT_TRUE(c.shouldAntialias());
}

TEST(Context, FillAndStrokeUsesTheCurrentFillInside) {
    Surface s(12, 12);
    Context c(s);
    c.setFill(*Color::white());
    c.setStroke(*Color::red());
    c.beginPath();
    c.addRect({1.5f, 1.5f, 9, 9});
    c.fillAndStrokePath();
    EXPECT_EQ(s.pixel(6, 6), White);
    EXPECT_EQ(s.pixel(1, 6), Red);
    EXPECT_FALSE(c.hasCurrentPoint()) << "drawing consumes the path";
}

TEST(Context, HorizontalGradientPutsTheMiddleStopHalfWay) {
    const float stops[] = {1, 0, 0, 1, 0, 1, 0, 1, 0, 0, 1, 1};
    auto gradient = Gradient::deviceRgb(stops, 3);
    ASSERT_TRUE(gradient);
    Surface s(100, 4);
    Context c(s);
    c.save();
    c.clipToRect({5, 0, 90, 4});
    c.drawLinearGradient(*gradient, {5, 0}, {95, 0});
    c.restore();
    Rgba8 middle = s.pixel(50, 2); // centre of the pixel at 45.5 points into the rect
    EXPECT_GT(middle.g, 245);
    EXPECT_LT(middle.r, 10);
    EXPECT_GT(s.pixel(5, 2).r, 245);
    EXPECT_GT(s.pixel(94, 2).b, 245);
    EXPECT_EQ(s.pixel(2, 2), None) << "no extension beyond the clip";

    // A candle body: vertical, three stops, the unextended ends left as they were.
    Surface candle(16, 40);
    Context cc(candle);
    cc.setFill(*Color::black());
    cc.fillRect({0, 0, 16, 40});
    cc.drawLinearGradient(*gradient, {0, 5}, {0, 35});
    EXPECT_EQ(candle.pixel(8, 2), Rgba8({0, 0, 0, 255}));
    EXPECT_TRUE(matchesGolden(candle, "gfx/gradient"));
}

TEST(Gradient, StopsAreEvenAndComponentsChecked) {
    const float rgba[] = {0, 0, 0, 1, 1, 1, 1, 1, 0.5f, 0.5f, 0.5f, 1};
    auto three = Gradient::deviceRgb(rgba, 3);
    ASSERT_TRUE(three);
    EXPECT_FLOAT_EQ(three->stops()[1].offset, 0.5f);
    EXPECT_FLOAT_EQ(three->stops()[2].offset, 1);
    EXPECT_FALSE(Gradient::deviceRgb(rgba, 4)) << "12 components cannot make 4 stops";
    EXPECT_FALSE(Gradient::deviceRgb(rgba, 0));
    auto one = Gradient::deviceRgb(rgba, 1);
    ASSERT_TRUE(one);
    EXPECT_FLOAT_EQ(one->stops()[0].offset, 0);
}

TEST(Context, ArcToPointRoundsACornerTangentially) {
    Surface s(40, 40);
    Context c(s);
    c.setStroke(*Color::red());
    c.setLineWidth(2);
    c.beginPath();
    c.moveTo({0, 5});
    c.addArcToPoint({30, 5}, {30, 40}, 10);
    c.strokePath();
    EXPECT_EQ(s.pixel(15, 5).a, 255) << "straight part";
    EXPECT_EQ(s.pixel(29, 5).a, 0) << "the corner itself is cut by the arc";
    EXPECT_GT(s.pixel(29, 13).a, 200) << "the arc turns into the second line";
    EXPECT_EQ(s.pixel(29, 18).a, 0) << "and ends where it touches it";
}

TEST(Context, ShapesDashesAndClipsMatchTheirGolden) {
    Surface s(64, 48);
    Context c(s);
    c.setFill(*Color::rgba(20 / 255.f, 20 / 255.f, 20 / 255.f, 1));
    c.fillRect({0, 0, 64, 48});
    const Point line[] = {{2, 40}, {20, 10}, {40, 30}, {62, 4}};
    c.setStroke(*Color::yellow());
    c.setLineWidth(1.1f);
    c.beginPath();
    c.addLines(line);
    c.strokePath();
    c.save();
    const float dashes[] = {4, 2};
    c.setDash(dashes);
    c.setStroke(*Color::cyan());
    c.beginPath();
    c.moveTo({0, 24.5f});
    c.lineTo({64, 24.5f});
    c.strokePath();
    c.restore();
    c.setStroke(*Color::white());
    c.beginPath();
    c.moveTo({0, 44.5f});
    c.lineTo({64, 44.5f});
    c.strokePath(); // solid again after the restore
    c.save();
    c.beginPath();
    c.addArc({32, 24}, 14, 0, float(M_PI) / 2, false);
    c.lineTo({32, 24});
    c.closePath();
    c.clip();
    c.setFill(*Color::red());
    c.fillEllipse({18, 10, 28, 28});
    c.restore();
    c.setFill(*Color::green()->withAlpha(0.5f));
    c.beginPath();
    c.addRect({4, 4, 20, 12});
    c.addRect({8, 7, 12, 6});
    c.fillPath(true);
    EXPECT_EQ(s.pixel(14, 10), Rgba8({20, 20, 20, 255})) << "the even-odd hole";
    EXPECT_TRUE(matchesGolden(s, "gfx/shapes"));
}

TEST(Context, StretchableImageKeepsItsCaps) {
    // 5 × 3 pixels: a red cap column, one white column to stretch, three blue columns.
    Surface pixels(5, 3);
    {
        Context p(pixels);
        p.setFill(*Color::red());
        p.fillRect({0, 0, 1, 3});
        p.setFill(*Color::white());
        p.fillRect({1, 0, 1, 3});
        p.setFill(*Color::blue());
        p.fillRect({2, 0, 3, 3});
    }
    auto image = base::make<Image>(pixels)->stretchable(1, 0);
    Surface s(20, 3);
    Context c(s);
    c.drawImage({0, 0, 20, 3}, *image);
    EXPECT_EQ(s.pixel(0, 1), Red);
    EXPECT_EQ(s.pixel(1, 1), White);
    EXPECT_EQ(s.pixel(16, 1), White);
    EXPECT_EQ(s.pixel(17, 1), Blue);
    EXPECT_EQ(s.pixel(19, 1), Blue);

    Surface golden(48, 32);
    Context g(golden);
    auto face = redOverBlue(12, 12)->stretchable(5, 5);
    g.drawImage({2, 2, 44, 28}, *face);
    EXPECT_TRUE(matchesGolden(golden, "gfx/stretchable"));
}

TEST(Context, ImagesAreUprightInViewsAndRawImagesUprightOnlyInYUpSpaces) {
    auto image = redOverBlue();
    struct Case {
        const char *what;
        bool bitmap, raw;
        Rgba8 top; // the pixel row at the top of the resulting picture
    };
    const Case cases[] = {
        {"view, upright drawing", false, false, Red},
        {"view, raw drawing", false, true, Blue},
        {"y-up bitmap, upright drawing", true, false, Blue},
        {"y-up bitmap, raw drawing", true, true, Red},
    };
    for (const Case &k : cases) {
        Surface pixels;
        if (k.bitmap) {
            BitmapContext c(4, 4);
            k.raw ? c.drawImageRaw({0, 0, 4, 4}, *image) : c.drawImage({0, 0, 4, 4}, *image);
            pixels = c.makeImage()->surface();
        } else {
            pixels = Surface(4, 4);
            Context c(pixels);
            k.raw ? c.drawImageRaw({0, 0, 4, 4}, *image) : c.drawImage({0, 0, 4, 4}, *image);
        }
        EXPECT_EQ(pixels.pixel(1, 0), k.top) << k.what;
    }
}

TEST(BitmapContext, GrowsUpwardsUnlessFlippedAndCopiesOnMakeImage) {
    BitmapContext c(10, 10);
    c.setFill(*Color::red());
    c.fillRect({0, 0, 10, 2}); // y-up: the bottom rows
    auto first = c.makeImage();
    c.translate(0, 10);
    c.scale(1, -1); // the explicit flip: y grows downwards again
    c.setFill(*Color::blue());
    c.fillRect({0, 0, 10, 2});
    auto second = c.makeImage();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->surface().pixel(5, 9), Red);
    EXPECT_EQ(first->surface().pixel(5, 0), None) << "made before the blue rows";
    EXPECT_EQ(second->surface().pixel(5, 0), Blue);
    EXPECT_FALSE(BitmapContext(0, 5).makeImage());
}

TEST(BitmapContext, PieSectorDrawnWithTheRawRuleComesOutMirrored) {
    // A quarter from 0 to 90 degrees, growing toward +y: on screen (y down) that is the lower
    // right quarter; in a y-up bitmap it ends up as the upper right one.
    Surface art(40, 40);
    Context a(art);
    a.setFill(*Color::red());
    a.fillRect({0, 0, 40, 40});
    Image artwork(art);
    BitmapContext c(40, 40);
    c.beginPath();
    c.addArc({20, 20}, 18, 0, float(M_PI) / 2, false);
    c.lineTo({20, 20});
    c.closePath();
    c.clip();
    c.drawImageRaw({0, 0, 40, 40}, artwork);
    auto slice = c.makeImage();
    EXPECT_EQ(slice->surface().pixel(28, 12), Red);
    EXPECT_EQ(slice->surface().pixel(28, 28), None);
    EXPECT_TRUE(matchesGolden(slice->surface(), "gfx/sector"));
}

TEST(Context, TiledImageAndPatternColourRepeatFromTheirOrigin) {
    auto tile = redOverBlue(4, 4);
    Surface s(12, 8);
    Context c(s);
    c.drawTiledImage({0, 0, 4, 4}, *tile);
    EXPECT_EQ(s.pixel(9, 0), Red);
    EXPECT_EQ(s.pixel(9, 3), Blue);
    EXPECT_EQ(s.pixel(9, 4), Red);

    Surface p(12, 8);
    Context pc(p);
    pc.setFill(*Color::pattern(tile));
    pc.fillRect({0, 2, 12, 4});
    EXPECT_EQ(p.pixel(5, 2), Blue) << "the pattern keeps the space's origin, not the rect's";
    EXPECT_EQ(p.pixel(5, 4), Red);
    EXPECT_EQ(p.pixel(5, 0), None);
}

TEST(Context, ShadowFallsAtItsOffsetAndStaysWithTheSavedState) {
    Surface s(20, 20);
    Context c(s);
    c.save();
    auto black = Color::black();
    c.setShadow({3, 3}, 0, black.get());
    c.setFill(*Color::white());
    c.fillRect({2, 2, 8, 8});
    c.restore();
    c.setFill(*Color::white());
    c.fillRect({12, 2, 4, 4});
    EXPECT_EQ(s.pixel(5, 5), White);
    EXPECT_EQ(s.pixel(11, 11), Rgba8({0, 0, 0, 255})) << "shadow below right";
    EXPECT_EQ(s.pixel(17, 7), None) << "no shadow after the restore";
}

TEST(Context, ColourBlendTakesHueFromTheSourceAndLightnessFromBelow) {
    Surface s(4, 4);
    Context c(s);
    c.setFill(*Color::white(0.5f));
    c.fillRect({0, 0, 4, 4});
    c.save();
    c.setBlendMode(Blend::Color);
    c.setFill(*Color::red());
    c.fillRect({0, 0, 2, 4});
    c.restore();
    c.setFill(*Color::white(0.5f));
    c.fillRect({3, 0, 1, 4}); // normal again after the restore
    Rgba8 tinted = s.pixel(0, 0);
    EXPECT_GT(tinted.r, tinted.g + 60);
    EXPECT_GT(tinted.g, 20) << "lighter than pure red: the lightness of the grey below is kept";
    EXPECT_EQ(s.pixel(3, 0), s.pixel(2, 0));
}

TEST(Image, TintingRecoloursAndKeepsTheShape) {
    Surface pixels(4, 4);
    Context c(pixels);
    c.setFill(*Color::white(0.5f));
    c.fillRect({0, 0, 2, 4});
    auto tinted = Image(pixels).tinted(*Color::red());
    ASSERT_TRUE(tinted);
    Rgba8 inside = tinted->surface().pixel(0, 0), outside = tinted->surface().pixel(3, 0);
    EXPECT_NEAR(inside.a, 255, 1);
    EXPECT_GT(inside.r, inside.g);
    EXPECT_EQ(outside.a, 0);
}

} // namespace
} // namespace gfx
