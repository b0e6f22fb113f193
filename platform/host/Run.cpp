#include "host/Run.h"

#include "host/Offscreen.h"
#include "host/Sdl.h"

namespace host {

int run(base::Ref<ui::ApplicationDelegate> delegate, const std::function<void()> &buildMainInterface,
        const RunOptions &options) {
    if (options.useDisplay) {
        Sdl sdl;
        if (sdl.open(options.title))
            return ui::Application::shared().run(std::move(delegate), buildMainInterface);
    }
    Offscreen offscreen;
    ui::Application::shared().launch(std::move(delegate), buildMainInterface);
    offscreen.advance(options.offscreenSeconds);
    if (options.pngPath.empty())
        return 0;
    return offscreen.renderPng(options.pngPath) ? 0 : 1;
}

} // namespace host
