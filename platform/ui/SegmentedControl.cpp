#include "ui/SegmentedControl.h"

#include "gfx/Font.h"

#include <algorithm>

namespace ui {

SegmentedControl::SegmentedControl(gfx::Rect frame)
    : Control(frame), tint_(gfx::Color::rgba(0.45f, 0.5f, 0.6f, 1)) {
    opaque = false;
}

void SegmentedControl::insert(Segment segment, int index) {
    index = std::clamp(index, 0, numberOfSegments());
    segments_.insert(segments_.begin() + index, std::move(segment));
    if (selected_ >= index)
        ++selected_;
    setNeedsDisplay();
}

void SegmentedControl::insertSegment(std::string title, int index) {
    insert({std::move(title), nullptr, 0}, index);
}

void SegmentedControl::insertSegment(base::Ref<gfx::Image> image, int index) {
    insert({{}, std::move(image), 0}, index);
}

void SegmentedControl::removeAllSegments() {
    segments_.clear();
    selected_ = NoSegment;
    setNeedsDisplay();
}

std::string SegmentedControl::titleForSegment(int index) const {
    return index >= 0 && index < numberOfSegments() ? segments_[size_t(index)].title : std::string();
}

void SegmentedControl::setWidth(float width, int index) {
    if (index < 0 || index >= numberOfSegments())
        return;
    segments_[size_t(index)].width = std::max(0.f, width);
    setNeedsDisplay();
}

void SegmentedControl::setSelectedIndex(int index) {
    selected_ = index >= 0 && index < numberOfSegments() ? index : NoSegment;
    setNeedsDisplay();
}

void SegmentedControl::setTint(base::Ref<gfx::Color> tint) {
    if (tint)
        tint_ = std::move(tint);
    setNeedsDisplay();
}

std::vector<gfx::Rect> SegmentedControl::segmentRects() const {
    gfx::Rect b = bounds();
    float fixed = 0;
    int flexible = 0;
    for (const auto &s : segments_)
        s.width > 0 ? void(fixed += s.width) : void(++flexible);
    float share = flexible ? std::max(0.f, b.width() - fixed) / float(flexible) : 0;
    std::vector<gfx::Rect> rects;
    float x = b.x();
    for (const auto &s : segments_) {
        float w = s.width > 0 ? s.width : share;
        rects.push_back({x, b.y(), w, b.height()});
        x += w;
    }
    return rects;
}

int SegmentedControl::segmentAt(gfx::Point point) const {
    auto rects = segmentRects();
    for (size_t i = 0; i < rects.size(); ++i)
        if (rects[i].contains(point))
            return int(i);
    return NoSegment;
}

bool SegmentedControl::beginTracking(const Touch &touch, const Event &) {
    pressed_ = segmentAt(touch.location(this));
    setNeedsDisplay();
    return true;
}

void SegmentedControl::endTracking(const Touch *touch, const Event *) {
    int segment = touch ? segmentAt(touch->location(this)) : NoSegment;
    bool hit = segment != NoSegment && segment == pressed_;
    pressed_ = NoSegment;
    setNeedsDisplay();
    if (!hit)
        return;
    if (!momentary)
        selected_ = segment;
    else
        selected_ = NoSegment;
    sendActions(ValueChanged);
}

void SegmentedControl::cancelTracking(const Event *) {
    pressed_ = NoSegment;
    setNeedsDisplay();
}

void SegmentedControl::drawRect(gfx::Context &c, gfx::Rect) {
    auto rects = segmentRects();
    auto font = gfx::Font::boldSystem(13);
    for (size_t i = 0; i < rects.size(); ++i) {
        const gfx::Rect &r = rects[i];
        bool on = int(i) == selected_ || int(i) == pressed_;
        c.setFill(on ? *tint_->withAlpha(1) : *tint_->withAlpha(0.55f));
        c.fillRect(r);
        c.setStroke(*gfx::Color::white(0.2f, 1));
        c.strokeRect(r.inset(0.5f, 0.5f));
        const Segment &s = segments_[i];
        if (s.image) {
            gfx::Size z = s.image->size();
            c.drawImage({r.midX() - z.w / 2, r.midY() - z.h / 2, z.w, z.h}, *s.image);
        } else if (!s.title.empty()) {
            float h = font->lineHeight();
            c.setFill(*gfx::Color::white());
            c.drawText(s.title, {r.x(), r.midY() - h / 2, r.width(), h}, *font, gfx::LineBreak::TruncateTail,
                       gfx::Align::Center);
        }
    }
}

} // namespace ui
