#include "Components/CMSliderView.h"

#include "ui/Label.h"

#include <algorithm>
#include <cmath>

namespace {

base::Ref<gfx::Image> stretched(std::string_view name, int cap) {
    base::Ref<gfx::Image> image = gfx::Image::named(name);
    return image ? image->stretchable(cap, cap) : nullptr;
}

} // namespace

base::Ref<CMSliderView> CMSliderView::create(gfx::Rect frame) {
    struct Made : CMSliderView {
        explicit Made(gfx::Rect frame) : CMSliderView(frame) {}
    };
    base::Ref<CMSliderView> slider = base::make<Made>(frame);
    slider->initUI({0, 0, frame.width(), frame.height()});
    return slider;
}

CMSliderView::CMSliderView(gfx::Rect frame) : ui::View(frame) {}

void CMSliderView::initUI(gfx::Rect rect) {
    opaque = false;
    setBackgroundColor(gfx::Color::clear());
    backgroundImage_ = base::make<ui::ImageView>(rect, stretched("bgSlider.png", 2));
    addSubview(backgroundImage_);
    sliderBgImage_ = base::make<ui::ImageView>(rect.inset(8, 8), stretched("bgSlider_inner.png", 3));
    addSubview(sliderBgImage_);
    indicator_ = base::make<CMIndicator>(gfx::Rect{{0, 0}, IndicatorSize});
    indicator_->delegate = self<CMSliderView>();
    indicator_->leftLimit = LeftSpace;
    indicator_->rightLimit = rect.width() - LeftSpace;
    addSubview(indicator_);
}

void CMSliderView::SetTagArray(const std::vector<std::string> &texts) {
    for (int i = 0; i < count_; ++i)
        for (int tag : {BeginLabelNum + i, BeginTagNum + i})
            if (ui::View *old = viewWithTag(tag))
                old->removeFromSuperview();
    count_ = int(texts.size());
    if (count_ < 2)
        return;
    pitch_ = (bounds().width() - 2 * LeftSpace) / float(count_ - 1);
    for (int i = 0; i < count_; ++i) {
        auto label = base::make<ui::Label>();
        label->setFont(gfx::Font::system(12));
        label->setTextColor(gfx::Color::cyan());
        label->setTextAlignment(gfx::Align::Center);
        label->setBackgroundColor(gfx::Color::clear());
        label->setText(texts[size_t(i)]);
        label->tag = BeginLabelNum + i;
        addSubview(label);
        auto mark = base::make<ui::ImageView>(gfx::Image::named("divScale.png"));
        mark->tag = BeginTagNum + i;
        addSubview(mark);
        placeTick(i);
    }
    indicator_->setCenter({LeftSpace + 1, MarkerY});
    bringSubviewToFront(indicator_.get());
}

void CMSliderView::placeTick(int index) {
    const float x = tickX(index);
    if (ui::View *label = viewWithTag(BeginLabelNum + index))
        label->setFrame({x - LabelSize.w / 2, LabelCentreY - LabelSize.h / 2, LabelSize.w, LabelSize.h});
    if (ui::View *mark = viewWithTag(BeginTagNum + index))
        mark->setFrame({{x, MarkY}, MarkSize});
}

void CMSliderView::ResetUI() {
    if (count_ < 2)
        return;
    pitch_ = (bounds().width() - 2 * LeftSpace) / float(count_ - 1);
    for (int i = 0; i < count_; ++i)
        placeTick(i);
    indicator_->setCenter({LeftSpace + 1 + float(currentSelIndex_) * pitch_, MarkerY});
    bringSubviewToFront(indicator_.get());
}

void CMSliderView::layoutSubviews() {
    const gfx::Rect rect = bounds();
    backgroundImage_->setFrame(rect);
    sliderBgImage_->setFrame(rect.inset(8, 8));
    indicator_->rightLimit = rect.width() - LeftSpace;
    ResetUI();
}

void CMSliderView::SetIndicatorAtIndex(int index) {
    currentSelIndex_ = index;
    indicator_->setCenter({tickX(index), indicator_->center().y});
}

void CMSliderView::MoveIndicator(float x) {
    if (count_ < 2 || pitch_ <= 0)
        return;
    const float d = x - LeftSpace;
    const float whole = std::floor(d / pitch_);
    int index = int(whole) + (d - whole * pitch_ >= pitch_ / 2 ? 1 : 0);
    // The owners map the index straight to a candle period, so it never leaves the ticks.
    index = std::clamp(index, 0, count_ - 1);
    currentSelIndex_ = index;
    indicator_->setCenter({tickX(index), indicator_->center().y});
    if (auto owner = delegate.lock())
        owner->SelectedIndicator(index);
}

base::Opt<void> CMSliderView::ReturnXscale(float x) {
    MoveIndicator(x);
    return {};
}

void CMSliderView::touchesBegan(const ui::TouchSet &touches, const ui::Event &) {
    if (count_ < 2 || touches.empty())
        return;
    const float x = touches.front()->location(this).x;
    ui::View::animate(TapSeconds, 0, ui::Curve::EaseIn, [&] { MoveIndicator(x); });
}
