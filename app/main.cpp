// The application: its window on the desktop, or, without a display, the start-up run offscreen
// for a few seconds with the window written to the PNG named by QV_SCREENSHOT.
#include "QVNSolvaneMobileAppDelegate.h"
#include "TabScreens.h"
#include "host/Run.h"

#include <cstdlib>

int main() {
    registerTabScreens();
    host::RunOptions options;
    if (const char *png = std::getenv("QV_SCREENSHOT"))
        options.pngPath = png;
    auto delegate = base::make<QVNSolvaneMobileAppDelegate>();
    auto build = [delegate] {
        delegate->window = base::make<ui::Window>(gfx::Rect{{0, 0}, ui::Screen::main().windowSize()});
        delegate->window->setBackgroundColor(gfx::Color::black());
        delegate->mtabBarController = base::make<CMTabBarController>();
    };
    int status = host::run(delegate, build, options);
    // The application's objects live until the process ends, as the platform's do: no static
    // destructor runs under them.
    ui::Application::shared().terminate(status);
    return status;
}
