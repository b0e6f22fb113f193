#include "Components/CMMultiStateButton.h"

#include "gfx/Image.h"

namespace {

struct StateLook {
    const char *picture, *name;
};
constexpr StateLook States[] = {
    {"arrow_up.png", "不复权"}, {"arrow_left.png", "前复权"}, {"arrow_right.png", "后复权"}};

} // namespace

base::Ref<CMMultiStateButton> CMMultiStateButton::create(gfx::Rect frame) {
    struct Made : CMMultiStateButton {
        explicit Made(gfx::Rect frame) : CMMultiStateButton(frame) {}
    };
    base::Ref<CMMultiStateButton> button = base::make<Made>(frame);
    button->initUI({0, 0, frame.width(), frame.height()});
    return button;
}

CMMultiStateButton::CMMultiStateButton(gfx::Rect frame) : ui::View(frame) {
    opaque = false;
    setBackgroundColor(gfx::Color::clear());
}

void CMMultiStateButton::initUI(gfx::Rect rect) {
    cell_ = rect.s;
    for (int state = 0; state < StateCount; ++state) {
        auto choice = ui::Button::custom(rect);
        choice->setBackgroundImage(gfx::Image::named(States[state].picture));
        choice->tag = BeginTag + state;
        choice->setHidden(true);
        choice->addTarget(BASE_ACTION(this, OrientButtonAction), ui::TouchUpInside);
        addSubview(choice);
        choices_[size_t(state)] = choice;
    }
    leftButton_ = choices_[1];

    currOrientButton_ = ui::Button::custom(rect);
    currOrientButton_->setBackgroundImage(gfx::Image::named("arrow_up.png"));
    currOrientButton_->setTitleColor(gfx::Color::blue());
    currOrientButton_->titleLabel().setFont(gfx::Font::system(10));
    currOrientButton_->addTarget(BASE_ACTION(this, CurrentOrientButtonAction), ui::TouchUpInside);
    addSubview(currOrientButton_);

    base::Ref<gfx::Image> bubble = gfx::Image::named("tip_bg.png");
    tipImage_ = base::make<ui::ImageView>(rect, bubble ? bubble->stretchable(8, 4) : nullptr);
    tipImage_->setHidden(true);
    addSubview(tipImage_);

    nameLabel_ = base::make<ui::Label>(rect);
    nameLabel_->setTextColor(gfx::Color::white());
    nameLabel_->setFont(gfx::Font::boldSystem(13));
    nameLabel_->setBackgroundColor(gfx::Color::clear());
    nameLabel_->setText(States[0].name);
    nameLabel_->setHidden(true);
    addSubview(nameLabel_);
}

void CMMultiStateButton::SetCurrentSate(int state) {
    buttonTag_ = state;
    const bool known = state >= 0 && state < StateCount;
    nameLabel_->setText(known ? States[state].name : "");
    currOrientButton_->setBackgroundImage(known ? gfx::Image::named(States[state].picture) : nullptr);
}

void CMMultiStateButton::CurrentOrientButtonAction(ui::Button *) {
    if (phase_ != Phase::Folded)
        return;
    phase_ = Phase::Unfolding;
    currOrientButton_->setEnabled(false);
    const float w = cell_.w, h = cell_.h;
    const gfx::Rect old = frame();
    setFrame({old.x() - w, old.y() - h, 3 * w, 2 * h});
    const gfx::Rect middle{w, h, w, h};
    currOrientButton_->setFrame(middle);
    for (auto &choice : choices_) {
        choice->setFrame(middle);
        choice->setHidden(false);
    }
    base::Weak<CMMultiStateButton> weak = self<CMMultiStateButton>();
    ui::View::beginAnimations("flowerAnimation");
    ui::View::setAnimationCurve(ui::Curve::EaseIn);
    ui::View::setAnimationDuration(UnfoldSeconds);
    ui::View::setAnimationDidStop([weak](const std::string &, bool) {
        if (auto self = weak.lock())
            self->finishedPinchFlower();
    });
    choices_[0]->setFrame(middle.offset(0, -h));
    choices_[1]->setFrame(middle.offset(-w, 0));
    choices_[2]->setFrame(middle.offset(w, 0));
    ui::View::commitAnimations();
}

void CMMultiStateButton::finishedPinchFlower() {
    if (phase_ != Phase::Unfolding)
        return;
    phase_ = Phase::Unfolded;
    const gfx::Point at = currOrientButton_->frame().o;
    const float h = cell_.h;
    tipImage_->setFrame({{at.x + 40, at.y - h + 5}, BubbleSize});
    nameLabel_->setFrame({{at.x + 56, at.y - h + 3}, NameSize});
    tipImage_->setHidden(false);
    nameLabel_->setHidden(false);
    bringSubviewToFront(tipImage_.get());
    bringSubviewToFront(nameLabel_.get());
    if (auto owner = delegate.lock())
        owner->OnExpandFlower(exrightDate_);
}

void CMMultiStateButton::OrientButtonAction(ui::Button *sender) {
    if (!sender || phase_ != Phase::Unfolded)
        return;
    SetCurrentSate(sender->tag - BeginTag);
    fold(ChooseSeconds, true);
}

void CMMultiStateButton::ShrinkState() {
    if (phase_ == Phase::Unfolding || phase_ == Phase::Unfolded)
        fold(ShrinkSeconds, false);
}

void CMMultiStateButton::fold(double seconds, bool choose) {
    phase_ = Phase::Folding;
    const gfx::Rect middle = currOrientButton_->frame();
    base::Weak<CMMultiStateButton> weak = self<CMMultiStateButton>();
    ui::View::beginAnimations(choose ? "shrink_Flower" : "shrink_State");
    ui::View::setAnimationCurve(ui::Curve::EaseIn);
    ui::View::setAnimationDuration(seconds);
    ui::View::setAnimationDidStop([weak, choose](const std::string &, bool) {
        if (auto self = weak.lock())
            self->finishedShrink(choose);
    });
    for (auto &choice : choices_)
        choice->setFrame(middle);
    ui::View::commitAnimations();
}

void CMMultiStateButton::finishedShrink(bool choose) {
    tipImage_->setHidden(true);
    nameLabel_->setHidden(true);
    for (auto &choice : choices_)
        choice->setHidden(true);
    currOrientButton_->setEnabled(true);
    const gfx::Rect grown = frame();
    const gfx::Rect home{0, 0, cell_.w, cell_.h};
    setFrame({grown.x() + cell_.w, grown.y() + cell_.h, cell_.w, cell_.h});
    currOrientButton_->setFrame(home);
    for (auto &choice : choices_)
        choice->setFrame(home);
    phase_ = Phase::Folded;
    if (!choose)
        return;
    if (auto owner = delegate.lock())
        owner->ReturnSelectedButtonIndex(buttonTag_, exrightDate_);
}
