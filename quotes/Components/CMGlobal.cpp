#include "Components/CMGlobal.h"

#include "base/Bundle.h"
#include "base/Paths.h"
#include "ui/Application.h"

std::string CMGlobal::fullBundlePath(std::string_view relativePath) {
    return base::Paths::join(base::Bundle::main().resourcePath(), relativePath);
}

base::Ref<gfx::Image> CMGlobal::imageNamedTK(std::string_view name) {
    return gfx::Image::forScale(name, ui::Screen::main().scale());
}
