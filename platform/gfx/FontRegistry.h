#pragma once

#include <optional>
#include <string>
#include <string_view>

typedef struct _PangoFontMap PangoFontMap;
typedef struct _PangoContext PangoContext;

namespace gfx {

// Resolves the font names the application asks for to the fonts installed with it, through
// fontconfig. The bundle's "fonts.conf" limits fontconfig to those fonts, so text looks the same
// whatever the user's own font set-up. Text is laid out at 72 dpi: one point is one pixel.
class FontRegistry {
public:
    struct Face {
        std::string family; // a Pango family list, the first entry preferred
        bool bold = false;
    };

    static FontRegistry &shared();
    // The face for a font name; empty for names the application does not know.
    static std::optional<Face> resolve(std::string_view name);
    static constexpr std::string_view SystemName = "system";
    static constexpr std::string_view BoldSystemName = "system-bold";

    PangoFontMap *fontMap() const { return fontMap_; }
    // A context for measuring text outside any drawing (no transform).
    PangoContext *measuringContext() const { return measuring_; }
    // A new context with the project's rendering options (no hinting, grey antialiasing); the
    // caller releases it with g_object_unref.
    PangoContext *newContext() const;
    // Whether the bundle's font configuration was found and loaded.
    bool usesBundleConfig() const { return bundleConfig_; }

private:
    FontRegistry();
    PangoFontMap *fontMap_ = nullptr;
    PangoContext *measuring_ = nullptr;
    bool bundleConfig_ = false;
};

} // namespace gfx
