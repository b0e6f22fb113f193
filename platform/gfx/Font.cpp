#include "gfx/Font.h"

#include "base/Str.h"
#include "gfx/FontRegistry.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <map>
#include <pango/pangocairo.h>

namespace gfx {

using base::Ref;

namespace {

// Fonts are made in every draw pass; one object per name and size is enough.
std::map<std::pair<std::string, float>, Ref<Font>, std::less<>> &cache() {
    static std::map<std::pair<std::string, float>, Ref<Font>, std::less<>> fonts;
    return fonts;
}

// Ink height of a glyph, for fonts whose tables do not give the x-height or cap height.
float inkHeight(const PangoFontDescription *description, const char *glyph) {
    PangoLayout *layout = pango_layout_new(FontRegistry::shared().measuringContext());
    pango_layout_set_font_description(layout, description);
    pango_layout_set_text(layout, glyph, -1);
    PangoRectangle ink;
    pango_layout_get_extents(layout, &ink, nullptr);
    g_object_unref(layout);
    return static_cast<float>(ink.height) / PANGO_SCALE;
}

} // namespace

Ref<Font> Font::system(float pointSize) {
    return named(FontRegistry::SystemName, pointSize);
}

Ref<Font> Font::boldSystem(float pointSize) {
    return named(FontRegistry::BoldSystemName, pointSize);
}

Ref<Font> Font::named(std::string_view name, float pointSize) {
    auto key = std::make_pair(std::string(name), pointSize);
    if (auto it = cache().find(key); it != cache().end())
        return it->second;
    auto face = FontRegistry::resolve(name);
    if (!face || !(pointSize > 0))
        return nullptr;
    auto font = base::make<Font>(key.first, face->family, face->bold, pointSize);
    cache().emplace(std::move(key), font);
    return font;
}

Font::Font(std::string name, std::string family, bool bold, float pointSize)
    : name_(std::move(name)), family_(std::move(family)), bold_(bold), pointSize_(pointSize),
      description_(pango_font_description_new()) {
    pango_font_description_set_family(description_, family_.c_str());
    pango_font_description_set_weight(description_, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_absolute_size(description_, pointSize * PANGO_SCALE);
    loadMetrics();
}

Font::~Font() {
    pango_font_description_free(description_);
}

void Font::loadMetrics() {
    FontRegistry &registry = FontRegistry::shared();
    PangoFont *font = pango_font_map_load_font(registry.fontMap(), registry.measuringContext(), description_);
    if (!font)
        return;
    PangoFontMetrics *metrics = pango_font_get_metrics(font, nullptr);
    ascender_ = static_cast<float>(pango_font_metrics_get_ascent(metrics)) / PANGO_SCALE;
    descender_ = -static_cast<float>(pango_font_metrics_get_descent(metrics)) / PANGO_SCALE;
    pango_font_metrics_unref(metrics);

    cairo_scaled_font_t *scaled = pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(font));
    if (FT_Face face = scaled ? cairo_ft_scaled_font_lock_face(scaled) : nullptr) {
        auto *os2 = static_cast<TT_OS2 *>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        if (os2 && os2->version >= 2 && face->units_per_EM > 0) {
            xHeight_ = pointSize_ * os2->sxHeight / face->units_per_EM;
            capHeight_ = pointSize_ * os2->sCapHeight / face->units_per_EM;
        }
        cairo_ft_scaled_font_unlock_face(scaled);
    }
    g_object_unref(font);
    if (xHeight_ <= 0)
        xHeight_ = inkHeight(description_, "x");
    if (capHeight_ <= 0)
        capHeight_ = inkHeight(description_, "H");
}

Ref<Font> Font::withSize(float pointSize) const {
    return named(name_, pointSize);
}

std::string Font::description() const {
    return base::str::format("<UIFont: %s %g>", name_, pointSize_);
}

} // namespace gfx
