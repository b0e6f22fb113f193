#pragma once

#include "base/Object.h"

#include <string>
#include <string_view>

typedef struct _PangoFontDescription PangoFontDescription;

namespace gfx {

// A font of one size, resolved through the FontRegistry. Metrics are in points (pixels).
class Font : public base::Object {
public:
    static base::Ref<Font> system(float pointSize);
    static base::Ref<Font> boldSystem(float pointSize);
    // Empty for a name the registry does not know, as the platform answers for a missing font.
    static base::Ref<Font> named(std::string_view name, float pointSize);

    Font(std::string name, std::string family, bool bold, float pointSize);
    ~Font() override;
    Font(const Font &) = delete;
    Font &operator=(const Font &) = delete;

    const std::string &name() const { return name_; }
    const std::string &family() const { return family_; }
    bool isBold() const { return bold_; }
    float pointSize() const { return pointSize_; }
    float ascender() const { return ascender_; }
    // Below the baseline, so negative.
    float descender() const { return descender_; }
    float lineHeight() const { return ascender_ - descender_; }
    float xHeight() const { return xHeight_; }
    float capHeight() const { return capHeight_; }
    base::Ref<Font> withSize(float pointSize) const;

    const PangoFontDescription *pango() const { return description_; }
    std::string description() const override;

private:
    void loadMetrics();

    std::string name_, family_;
    bool bold_;
    float pointSize_;
    PangoFontDescription *description_;
    float ascender_ = 0, descender_ = 0, xHeight_ = 0, capHeight_ = 0;
};

} // namespace gfx
