#pragma once

#include "base/Object.h"
#include "gfx/Geometry.h"
#include "gfx/Surface.h"

#include <string>
#include <string_view>

namespace gfx {

class Color;

// Pixels with a scale (pixels per point), optionally stretchable: a left cap and a top cap stay
// as they are, the one column and row after them stretch, and the rest is the right and bottom cap.
class Image : public base::Object {
public:
    explicit Image(Surface pixels, float scale = 1, int leftCap = 0, int topCap = 0);

    // PNG or JPEG; empty when the file is missing or unreadable.
    static base::Ref<Image> fromFile(const std::string &path, float scale = 1);
    static base::Ref<Image> fromBytes(std::span<const uint8_t> bytes, float scale = 1);
    // The bundle image of that name ("x" and "x.png" are the same image; "x.jpg" is the JPEG
    // picture), kept in a process-wide cache so that every caller shares one image. Empty when
    // the bundle has no such file.
    static base::Ref<Image> named(std::string_view name);
    // The bundle file of exactly that name ("%@/%@" of the bundle directory), read afresh each time.
    static base::Ref<Image> fromBundle(std::string_view fileName);
    // The bundle file "<name>@2x.png" on screens of a scale above 1, else "<name>.png", at that scale.
    static base::Ref<Image> forScale(std::string_view name, float screenScale);
    static void clearCache();

    // In points: pixels divided by the scale.
    Size size() const;
    float scale() const { return scale_; }
    const Surface &surface() const { return pixels_; }
    int leftCap() const { return leftCap_; }
    int topCap() const { return topCap_; }
    bool isStretchable() const { return leftCap_ > 0 || topCap_ > 0; }

    base::Ref<Image> stretchable(int leftCap, int topCap) const;
    base::Ref<Image> withScale(float scale) const;
    // The picture recoloured with the colour's hue and saturation, its own luminosity and alpha kept.
    base::Ref<Image> tinted(const Color &color) const;
    bool writePng(const std::string &path) const { return pixels_.writePng(path); }
    std::string description() const override;

private:
    Surface pixels_;
    float scale_;
    int leftCap_, topCap_;
};

} // namespace gfx
