#pragma once

#include "base/Object.h"
#include "gfx/Font.h"

// The system fonts by size. Class operations only; never instantiated.
class StyleFunc {
public:
    StyleFunc() = delete;

    static base::Ref<gfx::Font> getSysFont(int size);
    static base::Ref<gfx::Font> getBoldSysFont(int size);
    // x-height plus cap height, truncated: the height the charts and tables centre a line of
    // text by. 0 without a font.
    static int getFontHeight(const base::Ref<gfx::Font> &font);
};
