#include "gfx/Text.h"
#include "Golden.h"
#include "gfx/Context.h"
#include "gfx/FontRegistry.h"

#include <cmath>
#include <gtest/gtest.h>

namespace gfx {
namespace {

using qvtest::matchesGolden;

// The columns [first, last] where anything was drawn; first > last when nothing was.
std::pair<int, int> inkColumns(const Surface &s, int y0 = 0, int y1 = -1) {
    if (y1 < 0)
        y1 = s.height();
    int first = s.width(), last = -1;
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.pixel(x, y).a > 0)
                first = std::min(first, x), last = std::max(last, x);
    return {first, last};
}

TEST(FontRegistry, UsesTheBundleConfigurationAndKnownNamesOnly) {
    EXPECT_TRUE(FontRegistry::shared().usesBundleConfig());
    for (const char *name : {"Helvetica", "Helvetica-Bold", "Gurmukhi", "AppleColorEmoji", "宋体"})
        EXPECT_TRUE(Font::named(name, 12)) << name;
    EXPECT_FALSE(Font::named("Comic Sans MS", 12));
    EXPECT_FALSE(Font::named("Helvetica", 0));
    EXPECT_TRUE(Font::named("Helvetica-Bold", 17)->isBold());
    EXPECT_EQ(Font::system(12), Font::system(12)) << "one object per name and size";
}

TEST(Font, TextHeightIsXHeightPlusCapHeightAtOnePixelPerPoint) {
    struct Case {
        base::Ref<Font> font;
        float xPlusCap; // what the chart code truncates to centre its lines
    };
    const Case cases[] = {
        {Font::system(12), 15.312f},
        {Font::system(14), 17.864f},
        {Font::system(17), 21.692f},
        {Font::boldSystem(14), 17.864f},
        {Font::named("Helvetica", 16), 19.461f},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(c.font);
        EXPECT_NEAR(c.font->xHeight() + c.font->capHeight(), c.xPlusCap, 0.05) << c.font->description();
        EXPECT_LT(c.font->xHeight(), c.font->capHeight());
    }
    auto f = Font::system(15);
    EXPECT_NEAR(f->ascender() - f->descender(), f->lineHeight(), 1e-4);
    EXPECT_LT(f->descender(), 0);
    EXPECT_NEAR(f->lineHeight(), 21.72, 0.05) << "a 96 dpi layout would be a third larger";
}

TEST(Text, MeasuresChineseAndLatinOneLineWidths) {
    struct Case {
        const char *text;
        base::Ref<Font> font;
        float width;
    };
    const Case cases[] = {
        {"浦发银行", Font::system(14), 56},
        {"买一", Font::system(14), 28},
        {"600000", Font::system(14), 46.617f},
        {"600000", Font::boldSystem(14), 49.559f},
        {"12.35%", Font::named("Gurmukhi", 15), 50.877f},
        {"上证指数 3000.12", Font::system(14), 109.645f},
        {"Hello", Font::system(14), 34.384f},
        {"", Font::system(14), 0},
    };
    for (const Case &c : cases)
        EXPECT_NEAR(measure(c.text, *c.font).w, c.width, 0.5) << c.text << " " << c.font->description();
}

TEST(Text, WrapsWithinAWidthAndTruncatesToOneLine) {
    auto font = Font::system(14);
    float line = measure("浦", *font).h;
    Size wrapped = measure("浦发银行", *font, 30);
    EXPECT_LE(wrapped.w, 30);
    EXPECT_NEAR(wrapped.h, 2 * line, 0.5);
    Size truncated = measure("浦发银行浦发银行", *font, 40, LineBreak::TruncateTail);
    EXPECT_LE(truncated.w, 40);
    EXPECT_NEAR(truncated.h, line, 0.5);
    Size clipped = measure("浦发银行浦发银行", *font, 40, LineBreak::Clip);
    EXPECT_NEAR(clipped.h, line, 0.5) << "clipping never wraps";
    EXPECT_NEAR(measure("a\nb", *font).h, 2 * line, 0.5);
}

TEST(Context, TextAlignsInItsRectAndIsClippedToIt) {
    auto font = Font::system(12);
    Surface s(120, 60);
    Context c(s);
    c.setFill(*Color::white());
    const struct {
        Align align;
        int row;
    } rows[] = {{Align::Left, 0}, {Align::Center, 20}, {Align::Right, 40}};
    for (const auto &r : rows)
        for (LineBreak mode : {LineBreak::Clip, LineBreak::WordWrap}) {
            Surface one(120, 20);
            Context oc(one);
            oc.setFill(*Color::white());
            oc.drawText("600000", {10, 0, 100, 20}, *font, mode, r.align);
            auto [first, last] = inkColumns(one);
            int before = first - 10, after = 109 - last;
            switch (r.align) {
            case Align::Left:
                EXPECT_LE(before, 2);
                break;
            case Align::Center:
                EXPECT_NEAR(before, after, 2);
                break;
            case Align::Right:
                EXPECT_LE(after, 2);
                break;
            }
            c.drawText("600000", {10, float(r.row), 100, 20}, *font, mode, r.align);
        }
    // A text wider than its rect stops at the rect's edges.
    Surface narrow(60, 20);
    Context nc(narrow);
    nc.setFill(*Color::white());
    nc.drawText("上证指数 3000.12", {10, 0, 30, 20}, *font, LineBreak::Clip, Align::Left);
    auto [first, last] = inkColumns(narrow);
    EXPECT_GE(first, 10);
    EXPECT_LE(last, 39);
    EXPECT_GT(last, 35);
    EXPECT_TRUE(matchesGolden(s, "gfx/text-align", 48));
}

TEST(Context, TextCentredOnXHeightPlusCapHeight) {
    // The chart rule: a line of text in a rect 30 high becomes a rect of the font's text height,
    // moved down by half the difference.
    auto font = Font::boldSystem(16);
    float textHeight = std::floor(font->xHeight() + font->capHeight());
    Rect cell{0, 0, 80, 30};
    Rect line{cell.x(), cell.y() + (cell.height() - textHeight) / 2, cell.width(), textHeight};
    Surface s(80, 30);
    Context c(s);
    c.setFill(*Color::rgba(0.2f, 0.2f, 0.2f, 1));
    c.fillRect(cell);
    c.setFill(*Color::yellow());
    c.drawText("买一 12.35", line, *font, LineBreak::Clip, Align::Center);
    for (int x = 0; x < 80; ++x) {
        EXPECT_EQ(s.pixel(x, int(line.y()) - 1), s.pixel(0, 0))
            << "nothing above the text rect, column " << x;
        EXPECT_EQ(s.pixel(x, int(line.maxY()) + 1), s.pixel(0, 0)) << "nothing below, column " << x;
    }
    EXPECT_TRUE(matchesGolden(s, "gfx/text-centred", 48));
}

} // namespace
} // namespace gfx
