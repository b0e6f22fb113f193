#include "FrontPageFixture.h"

#include "Golden.h"

namespace frontpage {

namespace {

using Tab = FrontPageViewController::Tab;

// The home screen as users see it, on the loopback market at the close of the fixed quotes date,
// with nginx serving the analysis pages.
class GoldensTest : public FrontPageTest {
protected:
    void SetUp() override { ASSERT_TRUE(nginx().running()); }
    void settleAll() {
        settle();
        app.advance(1);
        settle();
        app.runPending();
    }
    bool matches(const std::string &name) { return qvtest::matchesGolden(app.render(), "frontpage/" + name); }
};

TEST_F(GoldensTest, TheHomeTabWithItsIndexTilesAndPage) {
    show();
    ASSERT_TRUE(waitForPage(screen->synView()->contentWebView()));
    settleAll();
    EXPECT_TRUE(matches("home-tab"));
}

TEST_F(GoldensTest, TheHelpOverlayOfTheFirstStart) {
    helpSeen = false;
    show();
    ASSERT_TRUE(waitForPage(screen->synView()->contentWebView()));
    settleAll();
    EXPECT_TRUE(matches("help-overlay"));
}

TEST_F(GoldensTest, ThePoolsFirstPageAndAnEnlargedBoard) {
    show();
    chooseTab(Tab::PoolTab);
    settleAll();
    EXPECT_TRUE(matches("pool-page-1"));
    tapView(screen->stocksPoolView()->page(1)->boardForPool(108)->zoomInOutBtn());
    settleAll();
    EXPECT_TRUE(matches("pool-enlarged-board"));
}

} // namespace

} // namespace frontpage
