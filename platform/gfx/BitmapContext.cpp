#include "gfx/BitmapContext.h"

namespace gfx {

BitmapContext::BitmapContext(int width, int height) : Context(Surface(width, height)) {
    flipVertically(static_cast<float>(target().height()));
}

base::Ref<Image> BitmapContext::makeImage(float scale) const {
    Surface pixels = target().copy();
    return pixels ? base::make<Image>(std::move(pixels), scale) : nullptr;
}

} // namespace gfx
