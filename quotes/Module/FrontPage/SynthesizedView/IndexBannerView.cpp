#include "Module/FrontPage/SynthesizedView/IndexBannerView.h"

#include "Common/StylePool.h"

#include "gfx/Font.h"

namespace {

base::Ref<ui::Label> tileLabel(gfx::Rect frame, float fontSize, const char *text) {
    auto label = base::make<ui::Label>(frame);
    label->setBackgroundColor(gfx::Color::clear());
    label->opaque = false;
    label->setTextColor(gfx::Color::white());
    label->setFont(gfx::Font::boldSystem(fontSize));
    label->setText(text);
    return label;
}

} // namespace

IndexBannerView::IndexBannerView(gfx::Rect frame) : ui::View(frame) {}

void IndexBannerView::setUp() {
    ui::View::setUp();
    float w = bounds().width(), h = bounds().height();
    background_ = base::make<ui::ImageView>(gfx::Rect{0, 0, w, h}, gfx::Image::named("gridItem_bg.png"));
    addSubview(background_);
    nameLabel_ = tileLabel({15, 0, w / 2, 50}, 20, "上证指数");
    lastLabel_ = tileLabel({w / 2, 5, w / 2, 50}, 23, "2440.50");
    lastLabel_->setTextAlignment(gfx::Align::Center);
    rangeLabel_ = tileLabel({15, 30, w / 2 - 15, 25}, 14, "1.65%");
    minView_ = base::make<SmallMinLineView>(gfx::Rect{2, 50, w - 4, h - 55});
    minView_->SetChartBackgroundColor(StylePool::Instance().clChartBG);
    for (const base::Ref<ui::View> &part : {base::Ref<ui::View>(nameLabel_), base::Ref<ui::View>(lastLabel_),
                                            base::Ref<ui::View>(rangeLabel_), base::Ref<ui::View>(minView_)})
        addSubview(part);
    tapRecognizer_ = base::make<ui::TapRecognizer>(BASE_ACTION(this, handleTap));
    addGestureRecognizer(tapRecognizer_);
}

void IndexBannerView::SetStockData(const StockQuoteInf &record) {
    stockCode = record.code;
    nameLabel_->setText(record.name);
    lastLabel_->setText(record.FormatValue(4));
    rangeLabel_->setText(record.FormatValue(1));
    // An index without a last value yet is not shown as falling.
    SetValueUpdownColor(record.newprice > 0 ? record.newprice - record.closeprice : 0);
}

void IndexBannerView::SetValueUpdownColor(int32_t change) {
    base::Ref<gfx::Color> colour = change > 0   ? gfx::Color::red()
                                   : change < 0 ? gfx::Color::green()
                                                : gfx::Color::white();
    lastLabel_->setTextColor(colour);
    rangeLabel_->setTextColor(colour);
}

void IndexBannerView::handleTap(ui::GestureRecognizer *) {
    base::Ref<ui::View> alive = self<ui::View>();
    if (auto d = delegate.lock())
        d->ReturnSelStockCode(stockCode, tag);
}
