#include "Scenes.h"
#include "Golden.h"
#include "host/Offscreen.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(ControllerScenes, MatchTheirGoldenImages) {
    for (const std::string &name : testing::Scenes::names()) {
        host::TestApp app;
        testing::Scenes scenes(app.window(), app.clock());
        ASSERT_TRUE(scenes.build(name));
        EXPECT_TRUE(qvtest::matchesGolden(app.render(), "ui/" + name)) << name;
    }
}

} // namespace
} // namespace ui
