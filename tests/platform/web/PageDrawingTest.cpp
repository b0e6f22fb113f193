#include "WebFixture.h"

#include "base/Bundle.h"

#include <gtest/gtest.h>

namespace {

using webtest::WebStage;

constexpr gfx::Rgba8 Backdrop{5, 61, 88, 255}, Red{255, 0, 0, 255}, Green{0, 255, 0, 255},
    Blue{0x2c, 0x7b, 0xe5, 255};

// What a point of a small page shows: its own painting, or the owner's background through it.
TEST(PageDrawing, BackgroundsBordersImagesAndClipsLandWhereTheStyleSays) {
    struct Case {
        const char *name;
        std::string body;
        std::vector<std::pair<gfx::Point, gfx::Rgba8>> expected;
    } cases[] = {
        {"overflow hidden clips its content",
         "<div style=\"height:10px;overflow:hidden\"><div "
         "style=\"height:60px;background-color:#ff0000\"></div></div>",
         {{{5, 5}, Red}, {{5, 30}, Backdrop}}},
        {"border around an empty box",
         "<div style=\"width:50px;height:50px;border:4px solid #00ff00\"></div>",
         {{{1, 20}, Green}, {{56, 20}, Green}, {{20, 20}, Backdrop}}},
        {"rounded background leaves its corners clear",
         "<div style=\"width:40px;height:40px;background-color:#ff0000;border-radius:20px\"></div>",
         {{{1, 1}, Backdrop}, {{20, 20}, Red}}},
        {"bundle image drawn once",
         "<div style=\"height:20px;background:url(blue_line.png) no-repeat\"></div>",
         {{{50, 0}, Blue}, {{150, 0}, Backdrop}, {{50, 5}, Backdrop}}},
        {"bundle image repeated across",
         "<div style=\"height:20px;background:url(blue_line.png) repeat-x\"></div>",
         {{{50, 0}, Blue}, {{150, 0}, Blue}, {{150, 5}, Backdrop}}},
        {"empty markup shows nothing", "", {{{5, 5}, Backdrop}, {{150, 50}, Backdrop}}},
    };
    base::Url bundle = base::Url::file(base::Bundle::main().resourcePath() + "/");
    for (const Case &c : cases) {
        WebStage stage({200, 100});
        std::string html =
            c.body.empty() ? "" : "<html><body style=\"margin:0\">" + c.body + "</body></html>";
        stage.web->loadHtml(html, bundle);
        ASSERT_TRUE(stage.settle()) << c.name;
        EXPECT_EQ(stage.recorder->take().back(), "finish") << c.name;
        gfx::Surface shown = stage.app.render();
        for (auto [at, colour] : c.expected)
            EXPECT_EQ(shown.pixel(int(at.x), int(at.y)), colour) << c.name << " at " << at.x << "," << at.y;
    }
}

} // namespace
