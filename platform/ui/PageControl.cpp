#include "ui/PageControl.h"

#include <algorithm>

namespace ui {

namespace {
constexpr float Dot = 7, Pitch = 16;
}

void PageControl::setNumberOfPages(int pages) {
    pages_ = std::max(0, pages);
    current_ = std::clamp(current_, 0, std::max(0, pages_ - 1));
    setNeedsDisplay();
}

void PageControl::setCurrentPage(int page) {
    current_ = std::clamp(page, 0, std::max(0, pages_ - 1));
    setNeedsDisplay();
}

void PageControl::setHidesForSinglePage(bool hides) {
    hidesForSinglePage_ = hides;
    setNeedsDisplay();
}

void PageControl::endTracking(const Touch *touch, const Event *) {
    if (!touch || !isTouchInside() || pages_ < 2)
        return;
    float x = touch->location(this).x;
    float dotX = bounds().midX() - (float(pages_) * Pitch) / 2 + (float(current_) + 0.5f) * Pitch;
    int page = std::clamp(current_ + (x < dotX ? -1 : 1), 0, pages_ - 1);
    if (page == current_)
        return;
    setCurrentPage(page);
    sendActions(ValueChanged);
}

void PageControl::drawRect(gfx::Context &c, gfx::Rect) {
    if (pages_ == 0 || (pages_ == 1 && hidesForSinglePage_))
        return;
    gfx::Rect b = bounds();
    float x = b.midX() - float(pages_) * Pitch / 2;
    for (int i = 0; i < pages_; ++i, x += Pitch) {
        c.setFill(*gfx::Color::white(1, i == current_ ? 1 : 0.35f));
        c.fillEllipse({x + (Pitch - Dot) / 2, b.midY() - Dot / 2, Dot, Dot});
    }
}

} // namespace ui
