#include "ui/Slider.h"

#include <algorithm>

namespace ui {

Slider::Slider(gfx::Rect frame) : Control(frame) {
    opaque = false;
}

void Slider::setValue(float value, bool) {
    float clamped = std::clamp(value, minimumValue, std::max(minimumValue, maximumValue));
    if (clamped == value_)
        return;
    value_ = clamped;
    setNeedsDisplay();
}

void Slider::setThumbImage(base::Ref<gfx::Image> image, unsigned state) {
    thumb_[state] = std::move(image);
    setNeedsDisplay();
}

void Slider::setMinimumTrackImage(base::Ref<gfx::Image> image, unsigned state) {
    minimumTrack_[state] = std::move(image);
    setNeedsDisplay();
}

void Slider::setMaximumTrackImage(base::Ref<gfx::Image> image, unsigned state) {
    maximumTrack_[state] = std::move(image);
    setNeedsDisplay();
}

base::Ref<gfx::Image> Slider::imageFor(const Images &images) const {
    if (auto it = images.find(state()); it != images.end())
        return it->second;
    auto it = images.find(Normal);
    return it == images.end() ? nullptr : it->second;
}

gfx::Size Slider::thumbSize() const {
    if (auto image = imageFor(thumb_))
        return image->size();
    return {23, 23};
}

gfx::Rect Slider::thumbRect() const {
    gfx::Rect b = bounds();
    gfx::Size t = thumbSize();
    float span = maximumValue - minimumValue;
    float k = span > 0 ? (value_ - minimumValue) / span : 0;
    return {b.x() + k * (b.width() - t.w), b.midY() - t.h / 2, t.w, t.h};
}

void Slider::track(const Touch &touch) {
    gfx::Rect b = bounds();
    float travel = b.width() - thumbSize().w;
    if (travel <= 0)
        return;
    float x = touch.location(this).x - grab_;
    setValue(minimumValue + std::clamp((x - b.x()) / travel, 0.f, 1.f) * (maximumValue - minimumValue));
}

bool Slider::beginTracking(const Touch &touch, const Event &) {
    startValue_ = value_;
    gfx::Point p = touch.location(this);
    gfx::Rect thumb = thumbRect();
    // A finger on the thumb drags it from where it holds it; elsewhere the thumb jumps under it.
    grab_ = thumb.inset(-10, -10).contains(p) ? p.x - thumb.x() : thumbSize().w / 2;
    return true;
}

bool Slider::continueTracking(const Touch &touch, const Event &) {
    float before = value_;
    track(touch);
    if (continuous && value_ != before)
        sendActions(ValueChanged);
    return true;
}

void Slider::endTracking(const Touch *touch, const Event *) {
    float before = value_;
    if (touch)
        track(*touch);
    if (continuous ? value_ != before : value_ != startValue_)
        sendActions(ValueChanged);
}

void Slider::drawRect(gfx::Context &c, gfx::Rect) {
    gfx::Rect b = bounds();
    gfx::Rect thumb = thumbRect();
    auto minImage = imageFor(minimumTrack_), maxImage = imageFor(maximumTrack_);
    float trackH = minImage ? minImage->size().h : 9;
    float y = b.midY() - trackH / 2;
    gfx::Rect left{b.x(), y, thumb.midX() - b.x(), trackH},
        right{thumb.midX(), y, b.maxX() - thumb.midX(), trackH};
    if (minImage)
        c.drawImage(left, *minImage);
    else
        c.setFill(*gfx::Color::rgba(0.2f, 0.45f, 0.9f, 1)), c.fillRect(left);
    if (maxImage)
        c.drawImage(right, *maxImage);
    else
        c.setFill(*gfx::Color::lightGray()), c.fillRect(right);
    if (auto image = imageFor(thumb_)) {
        c.drawImage(thumb, *image);
        return;
    }
    c.setFill(*gfx::Color::white());
    c.fillEllipse(thumb);
    c.setStroke(*gfx::Color::gray());
    c.strokeEllipse(thumb.inset(0.5f, 0.5f));
}

} // namespace ui
