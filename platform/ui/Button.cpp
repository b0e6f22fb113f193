#include "ui/Button.h"

#include <cmath>

namespace ui {

Button::Button(gfx::Rect frame, Type type)
    : Control(frame), type_(type), background_(base::make<ImageView>()), image_(base::make<ImageView>()),
      title_(base::make<Label>()) {
    opaque = false;
    title_->setFont(gfx::Font::boldSystem(15));
    title_->setTextAlignment(gfx::Align::Center);
    title_->setLineBreakMode(gfx::LineBreak::TruncateMiddle);
    titleColors_[Normal] = gfx::Color::white();
    image_->setContentMode(ImageView::Mode::Center);
    addSubview(background_);
    addSubview(image_);
    addSubview(title_);
}

base::Ref<Button> Button::custom(gfx::Rect frame) {
    return base::make<Button>(frame, Type::Custom);
}

base::Ref<Button> Button::contactAdd() {
    return base::make<Button>(gfx::Rect{0, 0, 29, 29}, Type::ContactAdd);
}

base::Ref<Button> Button::detailDisclosure() {
    return base::make<Button>(gfx::Rect{0, 0, 29, 29}, Type::DetailDisclosure);
}

template <class T> T Button::pick(const std::map<unsigned, T> &values, unsigned state) {
    if (auto it = values.find(state); it != values.end())
        return it->second;
    // Highlighted and selected together fall back on highlighted before normal.
    if (state == (Highlighted | Selected))
        if (auto it = values.find(Highlighted); it != values.end())
            return it->second;
    if (auto it = values.find(Normal); it != values.end())
        return it->second;
    return {};
}

std::string Button::titleForState(unsigned state) const {
    return pick(titles_, state);
}
base::Ref<gfx::Image> Button::imageForState(unsigned state) const {
    return pick(images_, state);
}
base::Ref<gfx::Image> Button::backgroundImageForState(unsigned state) const {
    return pick(backgrounds_, state);
}

void Button::changed() {
    setNeedsLayout();
    setNeedsDisplay();
}

void Button::setTitle(std::string title, unsigned state) {
    titles_[state] = std::move(title);
    changed();
}

void Button::setTitleColor(base::Ref<gfx::Color> color, unsigned state) {
    titleColors_[state] = std::move(color);
    changed();
}

void Button::setTitleShadowColor(base::Ref<gfx::Color> color, unsigned state) {
    shadowColors_[state] = std::move(color);
    changed();
}

void Button::setImage(base::Ref<gfx::Image> image, unsigned state) {
    images_[state] = std::move(image);
    changed();
}

void Button::setBackgroundImage(base::Ref<gfx::Image> image, unsigned state) {
    backgrounds_[state] = std::move(image);
    changed();
}

gfx::Size Button::sizeThatFits(gfx::Size) const {
    if (type_ != Type::Custom)
        return {29, 29};
    gfx::Size s;
    if (auto image = currentImage())
        s = image->size();
    std::string title = currentTitle();
    if (!title.empty()) {
        gfx::Size t = gfx::measure(title, *title_->font());
        s.w += std::ceil(t.w);
        s.h = std::max(s.h, std::ceil(t.h));
    }
    if (auto background = backgroundImageForState(state()))
        s = {std::max(s.w, background->size().w), std::max(s.h, background->size().h)};
    return {s.w + contentEdgeInsets.left + contentEdgeInsets.right,
            s.h + contentEdgeInsets.top + contentEdgeInsets.bottom};
}

void Button::layoutSubviews() {
    const unsigned s = state();
    gfx::Rect b = bounds();
    background_->setImage(backgroundImageForState(s));
    background_->setFrame(b);
    base::Ref<gfx::Image> image = imageForState(s);
    std::string title = titleForState(s);
    image_->setImage(image);
    title_->setText(title);
    title_->setTextColor(pick(titleColors_, s));
    title_->setShadowColor(pick(shadowColors_, s));
    gfx::Rect content = b.inset(contentEdgeInsets);
    gfx::Size imageSize = image ? image->size() : gfx::Size{};
    float titleWidth = title.empty() ? 0 : std::ceil(gfx::measure(title, *title_->font()).w);
    titleWidth = std::min(titleWidth, std::max(0.f, content.width() - imageSize.w));
    float x = content.midX() - (imageSize.w + titleWidth) / 2;
    image_->setFrame(
        gfx::Rect{x, content.midY() - imageSize.h / 2, imageSize.w, imageSize.h}.inset(imageEdgeInsets));
    title_->setFrame(
        gfx::Rect{x + imageSize.w, content.y(), titleWidth, content.height()}.inset(titleEdgeInsets));
    title_->setHidden(title.empty());
}

void Button::drawRect(gfx::Context &c, gfx::Rect) {
    if (type_ == Type::Custom)
        return View::drawRect(c, bounds());
    // A blue disc with a white plus or chevron, darker while pressed.
    gfx::Rect b = bounds().inset(1, 1);
    c.setFill(isHighlighted() ? *gfx::Color::rgba(0.1f, 0.3f, 0.7f, 1)
                              : *gfx::Color::rgba(0.2f, 0.5f, 0.95f, 1));
    c.fillEllipse(b);
    c.setStroke(*gfx::Color::white());
    c.setLineWidth(3);
    c.beginPath();
    if (type_ == Type::ContactAdd) {
        c.moveTo({b.midX() - 7, b.midY()});
        c.lineTo({b.midX() + 7, b.midY()});
        c.moveTo({b.midX(), b.midY() - 7});
        c.lineTo({b.midX(), b.midY() + 7});
    } else {
        c.moveTo({b.midX() - 3, b.midY() - 6});
        c.lineTo({b.midX() + 3, b.midY()});
        c.lineTo({b.midX() - 3, b.midY() + 6});
    }
    c.strokePath();
}

} // namespace ui
