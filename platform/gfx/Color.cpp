#include "gfx/Color.h"

#include "base/Str.h"
#include "gfx/Image.h"

namespace gfx {

using base::Ref;

Ref<Color> Color::rgba(float r, float g, float b, float a) {
    return base::make<Color>(r, g, b, a);
}

Ref<Color> Color::pattern(Ref<Image> image) {
    auto color = base::make<Color>(0.f, 0.f, 0.f, 1.f);
    color->pattern_ = std::move(image);
    return color;
}

Ref<Color> Color::red() {
    return rgba(1, 0, 0);
}
Ref<Color> Color::green() {
    return rgba(0, 1, 0);
}
Ref<Color> Color::blue() {
    return rgba(0, 0, 1);
}
Ref<Color> Color::white() {
    return rgba(1, 1, 1);
}
Ref<Color> Color::black() {
    return rgba(0, 0, 0);
}
Ref<Color> Color::gray() {
    return rgba(0.5f, 0.5f, 0.5f);
}
Ref<Color> Color::darkGray() {
    return rgba(1 / 3.f, 1 / 3.f, 1 / 3.f);
}
Ref<Color> Color::lightGray() {
    return rgba(2 / 3.f, 2 / 3.f, 2 / 3.f);
}
Ref<Color> Color::clear() {
    return rgba(0, 0, 0, 0);
}
Ref<Color> Color::yellow() {
    return rgba(1, 1, 0);
}
Ref<Color> Color::cyan() {
    return rgba(0, 1, 1);
}
Ref<Color> Color::magenta() {
    return rgba(1, 0, 1);
}
Ref<Color> Color::orange() {
    return rgba(1, 0.5f, 0);
}
Ref<Color> Color::purple() {
    return rgba(0.5f, 0, 0.5f);
}
Ref<Color> Color::brown() {
    return rgba(0.6f, 0.4f, 0.2f);
}

Ref<Color> Color::withAlpha(float a) const {
    auto color = base::make<Color>(r_, g_, b_, a);
    color->pattern_ = pattern_;
    return color;
}

bool Color::operator==(const Color &o) const {
    return r_ == o.r_ && g_ == o.g_ && b_ == o.b_ && a_ == o.a_ && pattern_ == o.pattern_;
}

std::string Color::description() const {
    if (pattern_)
        return "UIPatternColor";
    return base::str::format("UIDeviceRGBColorSpace %g %g %g %g", r_, g_, b_, a_);
}

} // namespace gfx
