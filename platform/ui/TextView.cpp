#include "ui/TextView.h"

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
    fit();
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
