#pragma once

#include "gfx/Context.h"
#include "gfx/Image.h"

namespace gfx {

// An offscreen context of width × height pixels. Its y axis grows upwards from the bottom left
// corner, as the platform's raw bitmap contexts do: drawing made for a y-down space comes out
// mirrored top to bottom unless the caller flips the space first.
class BitmapContext : public Context {
public:
    BitmapContext(int width, int height);
    // A copy of the pixels drawn so far, its first row the top of the space; empty for a bitmap
    // without pixels.
    base::Ref<Image> makeImage(float scale = 1) const;
};

} // namespace gfx
