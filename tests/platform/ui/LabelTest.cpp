#include "ui/Label.h"
#include "host/Offscreen.h"
#include "ui/Application.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ui {
namespace {

using base::make;

// Chinese in a Latin font is drawn from the CJK face, whose line is half again the Latin line.
struct FallbackCase {
    const char *font;
    float size;
    const char *text;
    float height;
};

void PrintTo(const FallbackCase &c, std::ostream *out) {
    *out << c.font << " " << c.size << " \"" << c.text << "\" in " << c.height;
}

class LabelFallbackTest : public ::testing::TestWithParam<FallbackCase> {};

TEST_P(LabelFallbackTest, AOneLineLabelCentresTheGlyphsOfItsLaidOutLine) {
    const FallbackCase &c = GetParam();
    host::Offscreen host;
    auto window = make<Window>(gfx::Rect{0, 0, 120, 60});
    window->makeKeyAndVisible();
    window->setBackgroundColor(gfx::Color::black());
    const int top = 20, bottom = top + int(c.height) - 1;
    auto label = make<Label>(gfx::Rect{10, float(top), 100, c.height});
    label->setFont(gfx::Font::named(c.font, c.size));
    label->setTextColor(gfx::Color::white());
    label->setText(c.text);
    window->addSubview(label);

    ASSERT_GT(gfx::measure(c.text, *label->font()).h, label->font()->lineHeight() + 2);
    EXPECT_EQ(label->sizeThatFits({100, 100}).h, std::ceil(gfx::measure(c.text, *label->font()).h));

    gfx::Surface shot = host.render();
    int first = -1, last = -1;
    for (int y = 0; y < 60; ++y)
        for (int x = 10; x < 110; ++x)
            if (shot.pixel(x, y).r > 96) {
                first = first < 0 ? y : first;
                last = y;
            }
    ASSERT_GE(first, 0) << "nothing drawn";
    EXPECT_GT(first, top) << "cut at the top";
    EXPECT_LT(last, bottom) << "cut at the bottom";
    EXPECT_LE(std::abs((first - top) - (bottom - last)), 2) << "not centred: ink " << first << ".." << last;
    Application::shared().removeWindow(window.get());
}

INSTANTIATE_TEST_SUITE_P(Labels, LabelFallbackTest,
                         ::testing::Values(FallbackCase{"Helvetica", 16, "卖", 18},
                                           FallbackCase{"Helvetica-Bold", 14, "浦发银行", 17},
                                           FallbackCase{"Helvetica", 16, "买10", 20}));

TEST(Label, LinesOfFallbackGlyphsAreCountedAtTheirOwnHeight) {
    auto label = make<Label>(gfx::Rect{0, 0, 40, 100});
    label->setFont(gfx::Font::named("Helvetica", 16));
    label->setText("上海浦东发展银行股份有限公司");
    const float cjkLine = gfx::measure("卖", *label->font()).h;
    label->setNumberOfLines(2);
    EXPECT_NEAR(label->sizeThatFits({40, 1000}).h, std::ceil(2 * cjkLine), 1);
    label->setNumberOfLines(0);
    EXPECT_GT(label->sizeThatFits({40, 1000}).h, 4 * cjkLine);
}

} // namespace
} // namespace ui
