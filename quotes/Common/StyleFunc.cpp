#include "Common/StyleFunc.h"

base::Ref<gfx::Font> StyleFunc::getSysFont(int size) {
    return gfx::Font::system(float(size));
}

base::Ref<gfx::Font> StyleFunc::getBoldSysFont(int size) {
    return gfx::Font::boldSystem(float(size));
}

int StyleFunc::getFontHeight(const base::Ref<gfx::Font> &font) {
    return font ? int(font->xHeight() + font->capHeight()) : 0;
}
