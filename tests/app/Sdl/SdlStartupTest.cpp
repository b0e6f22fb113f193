#include "StartupFixture.h"
#include "VirtualDisplay.h"

#include "EncryptorAES.h"
#include "Golden.h"
#include "host/Sdl.h"

#include <SDL.h>

namespace app {
namespace {

// The start-up in a real SDL window on a virtual X display, with the mouse clicks going through
// SDL's event queue; the window's frames must match the offscreen goldens.
class SdlStartupTest : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        if (!display.running())
            GTEST_SKIP() << "Xvfb is not available";
        sdl = std::make_unique<host::Sdl>();
        ASSERT_TRUE(sdl->open("startup")) << "SDL cannot open a window on " << display.display();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override {
        if (sdl)
            sdl->close();
    }
    void click(ui::View &view) {
        gfx::Rect frame = view.convert(view.bounds(), nullptr);
        for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
            SDL_Event e{};
            e.type = type;
            e.button.button = SDL_BUTTON_LEFT;
            e.button.x = int(frame.midX()), e.button.y = int(frame.midY());
            SDL_PushEvent(&e);
        }
        sdl->pump();
        driver.runUntilIdle();
    }
    // The frame drawn into the window, the status bar's changing parts covered as for every golden.
    gfx::Surface frame() {
        sdl->present();
        gfx::Surface shown = sdl->lastFrame().copy();
        coverStatusBar(shown);
        return shown;
    }

    VirtualDisplay display;
    std::unique_ptr<host::Sdl> sdl;
};

TEST_F(SdlStartupTest, DisclaimerLoginAndTabsShowInTheWindow) {
    launch();
    EXPECT_TRUE(qvtest::matchesGolden(frame(), "app/disclaimer"));
    auto *notice =
        dynamic_cast<NoticeAnnounceView *>(delegate->splashViewController()->view().subviews().back().get());
    ASSERT_NE(notice, nullptr);
    click(notice->acceptButton());
    ASSERT_FALSE(statuses.empty()) << "the click reached the button";
    // The window is closed while the login and the closing animation run: a frame drawn at every
    // step of the virtual clock would only make the test slow.
    sdl->close();
    ASSERT_TRUE(runUntil([&] { return tabsShown(); }));
    ASSERT_TRUE(
        runUntil([&] { return !tabBar().boardBannerView().shownFace().boardNameLbl().text().empty(); }, 1));
    driver.runUntilIdle();
    ASSERT_TRUE(waitForHomePage());
    ASSERT_TRUE(sdl->open("startup"));
    EXPECT_TRUE(qvtest::matchesGolden(frame(), "app/first-tab"));
}

} // namespace
} // namespace app

namespace app {
namespace {

TEST_F(SdlStartupTest, TheLoginPanelAndTheSplashShowInTheWindow) {
    writeUserConfig(
        {{"IsShowNoticeAnnounce", false},
         {"MainLoginName", *EncryptorAES::encryptBase64String("u1", EncryptorAES::LoginKeyString, false)},
         {"MainLoginPwd", ""}});
    // The code tables are held back: the free login is caught under way, the splash showing.
    peers::Fault hold = peers::Fault::on(2956, -1);
    hold.delay = -1;
    quotes.addFault(hold);
    launch();
    const base::Ref<MainLoginView> &panel = delegate->splashViewController()->mainLoginView();
    ASSERT_TRUE(panel);
    EXPECT_TRUE(qvtest::matchesGolden(frame(), "app/login-panel"));
    // Emptying the name and pressing "免费使用" starts the free login: the bare splash shows.
    panel->nameField().setText("");
    click(panel->regButton());
    EXPECT_TRUE(panel->isHidden());
    EXPECT_TRUE(qvtest::matchesGolden(frame(), "app/splash"));
}

} // namespace
} // namespace app
