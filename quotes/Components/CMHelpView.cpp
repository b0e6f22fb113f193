#include "Components/CMHelpView.h"

#include "gfx/Image.h"

base::Ref<CMHelpView> CMHelpView::create(gfx::Rect frame) {
    struct Made : CMHelpView {
        explicit Made(gfx::Rect frame) : CMHelpView(frame) {}
    };
    base::Ref<CMHelpView> view = base::make<Made>(frame);
    view->initUI({0, 0, frame.width(), frame.height()});
    return view;
}

CMHelpView::CMHelpView(gfx::Rect frame) : ui::View(frame) {
    opaque = false;
}

void CMHelpView::initUI(gfx::Rect rect) {
    backgroundImage_ = base::make<ui::ImageView>(rect);
    addSubview(backgroundImage_);

    base::Ref<gfx::Image> close = gfx::Image::named("close_mask.png");
    const gfx::Size size = close ? close->size() : gfx::Size{};
    closeButton_ = ui::Button::custom({(1024 - size.w) / 2, 710, size.w, size.h});
    closeButton_->setImage(close);
    closeButton_->addTarget(BASE_ACTION(this, CloseButtonAction), ui::TouchUpInside);
    addSubview(closeButton_);
}

void CMHelpView::SetTipButtonWithImage(std::string_view imageName, gfx::Rect imgFrame) {
    base::Ref<gfx::Image> image = gfx::Image::named(imageName);
    auto tip = ui::Button::custom(imgFrame);
    tip->setImage(image, ui::Normal);
    tip->setImage(image, ui::Highlighted);
    tip->tag = BeginHelpBtnTag + countMaskBtn_;
    tip->addTarget(BASE_ACTION(this, MaskButtonAction), ui::TouchUpInside);
    addSubview(tip);
    ++countMaskBtn_;
}

void CMHelpView::CloseButtonAction(ui::Button *) {
    removeFromSuperview();
}

void CMHelpView::MaskButtonAction(ui::Button *sender) {
    for (int tag = BeginHelpBtnTag; tag < BeginHelpBtnTag + countMaskBtn_; ++tag)
        if (ui::View *tip = viewWithTag(tag))
            tip->setHidden(tip == sender);
}
