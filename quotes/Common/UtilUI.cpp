#include "Common/UtilUI.h"

base::Ref<gfx::Image> UtilUI::imageNamed(std::string_view name) {
    return gfx::Image::fromBundle(name);
}

base::Ref<gfx::Image> UtilUI::retinaImageNamed(std::string_view name) {
    auto image = gfx::Image::fromBundle(name);
    return image ? image->withScale(2) : nullptr;
}
