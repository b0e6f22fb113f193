// The application: its window on the desktop, or, without a display, one offscreen frame
// written to the PNG named by QV_SCREENSHOT.
#include "QVNSolvaneMobileAppDelegate.h"
#include "host/Run.h"
#include "ui/View.h"
#include "ui/Window.h"

#include <cstdlib>

int main() {
    host::RunOptions options;
    if (const char *png = std::getenv("QV_SCREENSHOT"))
        options.pngPath = png;
    auto build = [] {
        auto window = base::make<ui::Window>(gfx::Rect{{0, 0}, ui::Screen::main().windowSize()});
        window->setBackgroundColor(gfx::Color::black());
        window->makeKeyAndVisible();
    };
    return host::run(base::make<QVNSolvaneMobileAppDelegate>(), build, options);
}
