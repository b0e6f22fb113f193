#include "ui/StatusBar.h"

#include "base/Date.h"
#include "base/DateFormatter.h"
#include "base/VirtualClock.h"
#include "host/Offscreen.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

// 2026-12-11 09:29:50 in the device's zone, by way of the formatter the bar itself reads with.
double wallTime() {
    return base::DateFormatter("yyyy-MM-dd HH:mm:ss").date("2026-12-11 09:29:50")->sinceReference();
}

TEST(StatusBar, ShowsTheTimeOfDayAndTurnsToTheNextMinuteAsTheClockPassesIt) {
    base::VirtualClock clock(wallTime());
    host::TestApp app(&clock);
    auto bar = base::make<StatusBar>();
    app.window().addSubview(bar);
    EXPECT_EQ(bar->frame(), (gfx::Rect{0, 0, 1024, 20}));
    EXPECT_EQ(bar->clockLabel().text(), "09:29");
    app.advance(9.9);
    EXPECT_EQ(bar->clockLabel().text(), "09:29");
    app.advance(0.2);
    EXPECT_EQ(bar->clockLabel().text(), "09:30");
    app.advance(60);
    EXPECT_EQ(bar->clockLabel().text(), "09:31");
}

TEST(StatusBar, TheActivityIndicatorSpinsWhileTheApplicationSaysTheNetworkIsInUse) {
    host::TestApp app;
    Application &application = Application::shared();
    application.setNetworkActivityIndicatorVisible(true);
    auto bar = base::make<StatusBar>();
    app.window().addSubview(bar);
    EXPECT_TRUE(bar->activityIndicator().isAnimating()) << "already in use when the bar is made";
    EXPECT_FALSE(bar->activityIndicator().isHidden());
    application.setNetworkActivityIndicatorVisible(false);
    EXPECT_FALSE(bar->activityIndicator().isAnimating());
    EXPECT_TRUE(bar->activityIndicator().isHidden());
    application.setNetworkActivityIndicatorVisible(true);
    EXPECT_TRUE(bar->activityIndicator().isAnimating());
    application.setNetworkActivityIndicatorVisible(false);
}

} // namespace
} // namespace ui
