#include "ui/ActivityIndicator.h"

#include <cmath>
#include <numbers>

namespace ui {

namespace {
constexpr int Spokes = 12;
}

ActivityIndicator::ActivityIndicator(Style style)
    : View(style == Style::WhiteLarge ? gfx::Rect{0, 0, 37, 37} : gfx::Rect{0, 0, 20, 20}), style_(style) {
    opaque = false;
    userInteractionEnabled = false;
    setHidden(true);
}

ActivityIndicator::~ActivityIndicator() {
    if (timer_)
        timer_->invalidate();
}

void ActivityIndicator::start() {
    setHidden(false);
    if (timer_)
        return;
    // The timer must not keep the indicator alive: it captures a weak reference only.
    base::Weak<ActivityIndicator> weak = weakSelf<ActivityIndicator>();
    timer_ = base::Timer::scheduled(1.0 / Spokes, true, base::Action("spin", [weak](base::Object *) {
                                        if (auto self = weak.lock()) {
                                            self->phase_ = (self->phase_ + 1) % Spokes;
                                            self->setNeedsDisplay();
                                        }
                                    }));
}

void ActivityIndicator::stop() {
    if (timer_)
        timer_->invalidate();
    timer_ = nullptr;
    if (hidesWhenStopped_)
        setHidden(true);
}

void ActivityIndicator::setHidesWhenStopped(bool hides) {
    hidesWhenStopped_ = hides;
    if (!isAnimating())
        setHidden(hides);
}

void ActivityIndicator::drawRect(gfx::Context &c, gfx::Rect) {
    gfx::Rect b = bounds();
    float radius = std::min(b.width(), b.height()) / 2;
    auto base = style_ == Style::Gray ? gfx::Color::gray() : gfx::Color::white();
    c.setLineWidth(std::max(2.f, radius / 5));
    for (int i = 0; i < Spokes; ++i) {
        float angle = float(i) * 2 * std::numbers::pi_v<float> / Spokes;
        int age = (phase_ - i + Spokes) % Spokes;
        c.setStroke(*base->withAlpha(1 - float(age) / Spokes * 0.85f));
        float dx = std::cos(angle), dy = std::sin(angle);
        c.beginPath();
        c.moveTo({b.midX() + dx * radius * 0.5f, b.midY() + dy * radius * 0.5f});
        c.lineTo({b.midX() + dx * radius * 0.9f, b.midY() + dy * radius * 0.9f});
        c.strokePath();
    }
}

} // namespace ui
