#include "CMIndexBannerView.h"

#include "gfx/Font.h"
#include "ui/Animator.h"

namespace {

base::Ref<ui::Label> bannerLabel(float fontSize) {
    auto label = base::make<ui::Label>(gfx::Rect{});
    label->setBackgroundColor(gfx::Color::clear());
    label->setTextColor(gfx::Color::white());
    label->setTextAlignment(gfx::Align::Center);
    label->setFont(gfx::Font::boldSystem(fontSize));
    return label;
}

} // namespace

base::Ref<gfx::Color> riseColour(float difference) {
    if (difference > 0)
        return gfx::Color::red();
    if (difference < 0)
        return gfx::Color::green();
    return gfx::Color::white();
}

// ---------------------------------------------------------------------------------------------
// IndexDetailView

IndexDetailView::IndexDetailView(gfx::Rect frame) : ui::View(frame) {}

void IndexDetailView::setUp() {
    ui::View::setUp();
    setBackgroundColor(gfx::Color::clear());
    indexNameLbl_ = bannerLabel(16);
    lastLbl_ = bannerLabel(16);
    rangeLbl_ = bannerLabel(13);
    volLbl_ = bannerLabel(13);
    for (const auto &label : {indexNameLbl_, lastLbl_, rangeLbl_, volLbl_})
        addSubview(label);
    base::Weak<IndexDetailView> weak = weakSelf<IndexDetailView>();
    tapRecognizer_ = base::make<ui::TapRecognizer>();
    tapRecognizer_->addTarget(base::Action("handleTapEvent:", [weak](base::Object *) {
        if (auto alive = weak.lock())
            alive->handleTapEvent();
    }));
    addGestureRecognizer(tapRecognizer_);
    layoutSubviews();
}

void IndexDetailView::layoutSubviews() {
    float w = bounds().width(), h = bounds().height(), half = (w - NameWidth) / 2;
    indexNameLbl_->setFrame({0, 0, NameWidth, h});
    lastLbl_->setFrame({NameWidth, 0, w - NameWidth, h / 2});
    rangeLbl_->setFrame({NameWidth, h / 2, half, h / 2});
    volLbl_->setFrame({NameWidth + half, h / 2, half, h / 2});
}

void IndexDetailView::show(const StockQuoteInf &quote) {
    indexNameLbl_->setText(quote.name);
    lastLbl_->setText(quote.FormatValue(4));
    rangeLbl_->setText(quote.FormatValue(1));
    volLbl_->setText(quote.FormatValue(3, 0));
    SetUpDown(float(quote.newprice - quote.closeprice));
}

void IndexDetailView::SetUpDown(float difference) {
    auto colour = riseColour(difference);
    lastLbl_->setTextColor(colour);
    rangeLbl_->setTextColor(colour);
}

void IndexDetailView::handleTapEvent() {
    if (auto listener = delegate.lock())
        listener->ReturnSelected(gridID);
}

// ---------------------------------------------------------------------------------------------
// CMIndexBannerView

CMIndexBannerView::CMIndexBannerView(gfx::Rect frame) : ui::View(frame) {}

void CMIndexBannerView::setUp() {
    ui::View::setUp();
    setBackgroundColor(gfx::Color::clear());
    gfx::Rect face{0, 0, bounds().width(), bounds().height()};
    first_ = base::make<IndexDetailView>(face);
    second_ = base::make<IndexDetailView>(face);
    for (const auto &view : {first_, second_}) {
        view->delegate = weakSelf<CMIndexBannerView>();
        addSubview(view);
    }
    second_->setHidden(true);
}

CMIndexBannerView::~CMIndexBannerView() {
    if (timer_)
        timer_->invalidate();
}

void CMIndexBannerView::SetIndexDataArray(const std::vector<base::Ref<CustomQuotesList::QuoteDic>> &entries) {
    if (entries.empty())
        return;
    indexArray_ = entries;
    fill(*first_);
    if (!timer_)
        startSwitch();
}

void CMIndexBannerView::fill(IndexDetailView &face) {
    if (iIndex_ < 0 || size_t(iIndex_) >= indexArray_.size())
        iIndex_ = 0;
    const auto &entry = indexArray_[size_t(iIndex_)];
    if (entry && entry->basicInf)
        face.show(*entry->basicInf);
    face.gridID = iIndex_;
}

void CMIndexBannerView::startSwitch() {
    base::Weak<CMIndexBannerView> weak = weakSelf<CMIndexBannerView>();
    timer_ = base::Timer::scheduled(SwitchInterval, false, base::Action("switchStep", [weak](base::Object *) {
                                        if (auto alive = weak.lock())
                                            alive->switchStep();
                                    }));
}

void CMIndexBannerView::switchStep() {
    auto transition = base::make<ui::Transition>();
    transition->type = ui::Transition::typeNamed("oglFlip");
    transition->subtype = ui::Transition::subtypeNamed("fromBottom");
    transition->duration = TransitionDuration;
    iIndex_ = size_t(iIndex_ + 1) >= indexArray_.size() ? 0 : iIndex_ + 1;
    fill(*second_);
    first_->setHidden(true);
    second_->setHidden(false);
    layer().addTransition(transition, "animation");
    startSwitch();
}

base::Opt<void> CMIndexBannerView::ReturnSelected(int gridID) {
    if (gridID >= 0 && size_t(gridID) < indexArray_.size())
        if (auto listener = delegate.lock()) {
            const auto &entry = indexArray_[size_t(gridID)];
            std::string name = entry->basicInf ? entry->basicInf->name : entry->code;
            listener->ReturnSelectedIndex(name, entry->code);
        }
    return {};
}

void CMIndexBannerView::layoutSubviews() {
    gfx::Rect face{0, 0, bounds().width(), bounds().height()};
    first_->setFrame(face);
    second_->setFrame(face);
}
