#pragma once

#include "base/Object.h"

namespace gfx {

class Image;

// A device-RGB colour with components from 0 to 1, or a pattern repeating an image.
class Color : public base::Object {
public:
    Color(float r, float g, float b, float a) : r_(r), g_(g), b_(b), a_(a) {}
    static base::Ref<Color> rgba(float r, float g, float b, float a = 1);
    static base::Ref<Color> white(float white, float a = 1) { return rgba(white, white, white, a); }
    // A fill that repeats the image from the origin of the space it is drawn in.
    static base::Ref<Color> pattern(base::Ref<Image> image);

    static base::Ref<Color> red();
    static base::Ref<Color> green();
    static base::Ref<Color> blue();
    static base::Ref<Color> white();
    static base::Ref<Color> black();
    static base::Ref<Color> gray();
    static base::Ref<Color> darkGray();
    static base::Ref<Color> lightGray();
    static base::Ref<Color> clear();
    static base::Ref<Color> yellow();
    static base::Ref<Color> cyan();
    static base::Ref<Color> magenta();
    static base::Ref<Color> orange();
    static base::Ref<Color> purple();
    static base::Ref<Color> brown();

    float r() const { return r_; }
    float g() const { return g_; }
    float b() const { return b_; }
    float a() const { return a_; }
    const base::Ref<Image> &patternImage() const { return pattern_; }
    base::Ref<Color> withAlpha(float a) const;
    bool operator==(const Color &o) const;
    std::string description() const override;

private:
    float r_, g_, b_, a_;
    base::Ref<Image> pattern_;
};

} // namespace gfx
