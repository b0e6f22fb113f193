#include "gfx/FontRegistry.h"

#include "base/Bundle.h"

#include <array>
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

namespace gfx {

namespace {

constexpr const char *Sans = "Noto Sans CJK SC";
constexpr const char *Serif = "Noto Serif CJK SC,Noto Sans CJK SC";
// Liberation Sans has no Chinese; "万" and "亿" in quote figures come from the sans.
constexpr const char *Helvetica = "Liberation Sans,Noto Sans CJK SC";

struct Alias {
    std::string_view name;
    const char *family;
    bool bold;
};

constexpr std::array aliases{
    Alias{FontRegistry::SystemName, Sans, false},
    Alias{FontRegistry::BoldSystemName, Sans, true},
    Alias{"Helvetica", Helvetica, false},
    Alias{"Helvetica-Bold", Helvetica, true},
    Alias{"Gurmukhi", Helvetica, false},
    Alias{"AppleColorEmoji", Sans, false},
    Alias{"宋体", Serif, false},
    Alias{"SimSun", Serif, false},
    Alias{"Noto Sans CJK SC", Sans, false},
    Alias{"Noto Serif CJK SC", Serif, false},
    Alias{"Liberation Sans", Helvetica, false},
};

FcConfig *loadBundleConfig() {
    auto path = base::Bundle::main().pathFor("fonts", "conf");
    if (!path)
        return nullptr;
    FcConfig *config = FcConfigCreate();
    if (!FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8 *>(path->c_str()), FcTrue) ||
        !FcConfigBuildFonts(config)) {
        FcConfigDestroy(config);
        return nullptr;
    }
    return config;
}

} // namespace

// Fontconfig links its patterns with encoded offsets that the leak checker cannot follow, so the
// fonts it keeps for the whole run would be reported as lost.
extern "C" const char *__lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

FontRegistry &FontRegistry::shared() {
    static FontRegistry registry;
    return registry;
}

FontRegistry::FontRegistry() {
    fontMap_ = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
    if (FcConfig *config = loadBundleConfig()) {
        pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(fontMap_), config);
        FcConfigDestroy(config);
        bundleConfig_ = true;
    }
    pango_cairo_font_map_set_resolution(PANGO_CAIRO_FONT_MAP(fontMap_), 72);
    measuring_ = newContext();
}

PangoContext *FontRegistry::newContext() const {
    PangoContext *context = pango_font_map_create_context(fontMap_);
    cairo_font_options_t *options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_context_set_round_glyph_positions(context, FALSE);
    pango_context_set_language(context, pango_language_from_string("zh-cn"));
    return context;
}

std::optional<FontRegistry::Face> FontRegistry::resolve(std::string_view name) {
    for (const Alias &alias : aliases)
        if (alias.name == name)
            return Face{alias.family, alias.bold};
    return std::nullopt;
}

} // namespace gfx
