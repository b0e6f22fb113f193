#include "ui/TextView.h"

#include "base/Str.h"

#include <algorithm>

namespace ui {

TextView::TextView(gfx::Rect frame) : ScrollView(frame), label_(base::make<Label>()) {
    setBackgroundColor(gfx::Color::white());
    label_->setFont(gfx::Font::system(16));
    label_->setNumberOfLines(0);
    label_->setLineBreakMode(gfx::LineBreak::WordWrap);
    addSubview(label_);
}

void TextView::setText(std::string text) {
    label_->setText(std::move(text));
    selection_ = {base::str::codePoints(label_->text()).size(), 0};
    fit();
}

void TextView::setSelectedRange(Range range) {
    const size_t length = base::str::codePoints(label_->text()).size();
    selection_.location = std::min(range.location, length);
    selection_.length = std::min(range.length, length - selection_.location);
}

void TextView::setFont(base::Ref<gfx::Font> font) {
    label_->setFont(font ? std::move(font) : gfx::Font::system(16));
    fit();
}

void TextView::setTextColor(base::Ref<gfx::Color> color) {
    label_->setTextColor(std::move(color));
}

void TextView::setTextAlignment(gfx::Align alignment) {
    label_->setTextAlignment(alignment);
}

void TextView::layoutSubviews() {
    if (contentSize().w != bounds().width())
        fit();
}

void TextView::fit() {
    float width = std::max(0.f, bounds().width() - 2 * Inset);
    gfx::Size s = label_->sizeThatFits({width, 1e6f});
    // The text starts at the top, however short it is.
    label_->setFrame({Inset, Inset, width, s.h});
    setContentSize({bounds().width(), s.h + 2 * Inset});
}

} // namespace ui
