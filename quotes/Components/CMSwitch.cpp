#include "Components/CMSwitch.h"

#include "base/Bundle.h"

#include <cmath>

namespace {

const gfx::Rect ClipWindow{4, 2, 87, 23};
constexpr float LabelWidth = 48, LabelHeight = 23;

base::Ref<ui::Label> switchLabel(gfx::Rect frame, const std::string &text,
                                 const base::Ref<gfx::Color> &color) {
    auto label = base::make<ui::Label>(frame);
    label->setText(text);
    label->setTextAlignment(gfx::Align::Center);
    label->setFont(gfx::Font::boldSystem(17));
    label->setTextColor(color);
    label->setBackgroundColor(gfx::Color::clear());
    return label;
}

std::string localizedOr(std::string_view key, std::string_view fallback) {
    std::string text = base::localized(key);
    return text.empty() ? std::string(fallback) : text;
}

} // namespace

base::Ref<CMSwitch> CMSwitch::create(gfx::Rect frame) {
    struct Made : CMSwitch {
        explicit Made(gfx::Rect frame) : CMSwitch(frame) {}
    };
    base::Ref<CMSwitch> control = base::make<Made>(frame);
    control->awakeFromNib();
    return control;
}

CMSwitch::CMSwitch(gfx::Rect frame) : ui::Slider({frame.o, Size}) {}

void CMSwitch::setFrame(gfx::Rect frame) {
    ui::Slider::setFrame({frame.o, Size});
}

void CMSwitch::awakeFromNib() {
    setBackgroundColor(gfx::Color::clear());
    setThumbImage(gfx::Image::named("switchThumb.png"));
    setMinimumTrackImage(gfx::Image::named("switchBlueBg.png"));
    setMaximumTrackImage(gfx::Image::named("switchOffPlain.png"));
    minimumValue = 0;
    maximumValue = 1;
    continuous = false;
    setOn(false);
    setValue(0);

    clippingView_ = base::make<ui::View>(ClipWindow);
    clippingView_->clipsToBounds = true;
    clippingView_->opaque = false;
    clippingView_->setBackgroundColor(gfx::Color::clear());
    clippingView_->userInteractionEnabled = false;
    addSubview(clippingView_);

    leftLabel_ = switchLabel({0, 0, LabelWidth, LabelHeight}, localizedOr("ON", "l"), gfx::Color::white());
    rightLabel_ = switchLabel({95, 0, LabelWidth, LabelHeight}, localizedOr("OFF", "O"), gfx::Color::gray());
    clippingView_->addSubview(leftLabel_);
    clippingView_->addSubview(rightLabel_);
    setNeedsLayout();
}

void CMSwitch::setOn(bool on, bool animated) {
    on_ = on;
    if (!animated) {
        setValue(on ? 1 : 0);
        setNeedsLayout();
        return;
    }
    ui::View::beginAnimations("CMSwitch");
    ui::View::setAnimationDuration(AnimationSeconds);
    setValue(on ? 1 : 0, true);
    // The texts take their new places inside the animation, so that they slide with the thumb.
    setNeedsLayout();
    layoutIfNeeded();
    ui::View::commitAnimations();
}

void CMSwitch::setTintColor(base::Ref<gfx::Color> color) {
    const bool same = color && tintColor_ ? *color == *tintColor_ : color == tintColor_;
    if (same)
        return;
    tintColor_ = std::move(color);
    setMinimumTrackImage(imageTintedWithColor(gfx::Image::named("switchBlueBg.png"), tintColor_));
}

base::Ref<gfx::Image> CMSwitch::imageTintedWithColor(const base::Ref<gfx::Image> &image,
                                                     const base::Ref<gfx::Color> &color) {
    if (!image || !color)
        return image;
    return image->tinted(*color);
}

void CMSwitch::layoutSubviews() {
    ui::Slider::layoutSubviews();
    if (!clippingView_)
        return;
    bringSubviewToFront(clippingView_.get());
    const float width = bounds().width(), v = value();
    const float d = width - thumbRect().width(), c = clippingView_->frame().x();
    leftLabel_->setFrame({std::trunc(d * v - d - c), 0, d, LabelHeight});
    rightLabel_->setFrame({std::trunc(width + d * v - d - c), 0, d, LabelHeight});
}

bool CMSwitch::beginTracking(const ui::Touch &touch, const ui::Event &event) {
    // Only a finger on the thumb drags it; one beside it flips the switch when it lifts.
    if (!thumbRect().contains(touch.location(this)))
        return false;
    return ui::Slider::beginTracking(touch, event);
}

void CMSwitch::endTracking(const ui::Touch *, const ui::Event *) {
    // The slider's own end would report a change only when the drag moved the value; the flip
    // is reported here instead, once, wherever the thumb was let go.
    m_touchedSelf = true;
    completeFlip();
}

bool CMSwitch::ownsTouch(const ui::TouchSet &touches) const {
    for (const ui::Touch *touch : touches)
        if (touch->id() == touchId_)
            return true;
    return false;
}

void CMSwitch::touchesBegan(const ui::TouchSet &touches, const ui::Event &event) {
    const bool fresh = isEnabled() && touchId_ < 0 && !touches.empty();
    ui::Slider::touchesBegan(touches, event);
    if (!fresh)
        return;
    touchId_ = touches.front()->id();
    m_touchedSelf = false;
    on_ = !on_;
}

void CMSwitch::touchesEnded(const ui::TouchSet &touches, const ui::Event &event) {
    const bool mine = ownsTouch(touches);
    base::Ref<base::Object> keep = shared_from_this();
    ui::Slider::touchesEnded(touches, event);
    if (!mine)
        return;
    touchId_ = -1;
    if (!m_touchedSelf)
        completeFlip();
}

void CMSwitch::touchesCancelled(const ui::TouchSet &touches, const ui::Event &event) {
    const bool mine = ownsTouch(touches);
    ui::Slider::touchesCancelled(touches, event);
    if (!mine)
        return;
    // A touch taken away (by a gesture of a superview) flips nothing.
    touchId_ = -1;
    setOn(!on_, true);
}

void CMSwitch::completeFlip() {
    setOn(on_, true);
    sendActions(ui::ValueChanged);
}
