#include "Module/NewsViewController/BreakingNewsTipView.h"

#include "base/Timer.h"
#include "gfx/Image.h"
#include "ui/ImageView.h"

namespace {

base::Ref<ui::Label> label(gfx::Rect frame, base::Ref<gfx::Font> font, base::Ref<gfx::Color> color) {
    auto made = base::make<ui::Label>(frame);
    made->setFont(std::move(font));
    made->setTextColor(std::move(color));
    return made;
}

} // namespace

base::Ref<BreakingNewsTipView> BreakingNewsTipView::create(gfx::Rect frame) {
    struct Made : BreakingNewsTipView {
        explicit Made(gfx::Rect frame) : BreakingNewsTipView(frame) {}
    };
    base::Ref<BreakingNewsTipView> tip = base::make<Made>(frame);
    tip->initData();
    tip->initUI({0, 0, frame.width(), frame.height()});
    return tip;
}

BreakingNewsTipView::BreakingNewsTipView(gfx::Rect frame) : ui::View(frame) {
    opaque = false;
}

void BreakingNewsTipView::initData() {
    base::Timer::scheduled(ShowSeconds, false, BASE_ACTION(this, dismiss));
}

void BreakingNewsTipView::initUI(gfx::Rect rect) {
    const float w = rect.width(), h = rect.height();
    base::Ref<gfx::Image> background = gfx::Image::named("breakNewsTipBg.png");
    addSubview(base::make<ui::ImageView>(rect, background ? background->stretchable(7, 7) : nullptr));

    closeBtn_ = ui::Button::custom({w - 25, 11, 14, 14});
    closeBtn_->setImage(gfx::Image::named("breakNewsTipBgClose.png"));
    closeBtn_->addTarget(BASE_ACTION(this, dismissAction), ui::TouchUpInside);
    addSubview(closeBtn_);

    auto line = base::make<ui::View>(gfx::Rect{0, 32, w, 2});
    line->setBackgroundColor(gfx::Color::white());
    line->setAlpha(0.5f);
    addSubview(line);

    titleLabel_ = label({7, 0, w - 32, 32}, gfx::Font::boldSystem(18), gfx::Color::white());
    dateTimeLabel_ =
        label({7, 34, w - 14, 16}, gfx::Font::boldSystem(12), gfx::Color::rgba(1, 182 / 255.f, 14 / 255.f));
    dateTimeLabel_->setHidden(true);
    newsLabel_ = label({7, 34, w - 14, h - 50}, gfx::Font::system(14), gfx::Color::white());
    newsLabel_->setNumberOfLines(0);
    for (const auto &part : {titleLabel_, dateTimeLabel_, newsLabel_})
        addSubview(part);
}

void BreakingNewsTipView::dismissAction(ui::Button *) {
    dismiss();
}

void BreakingNewsTipView::dismiss() {
    removeFromSuperview();
}
