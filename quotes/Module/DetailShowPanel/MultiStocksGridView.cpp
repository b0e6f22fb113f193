#include "Module/DetailShowPanel/MultiStocksGridView.h"

#include "Common/StylePool.h"
#include "gfx/Image.h"

#include <array>

MultiStocksGridView::MultiStocksGridView(gfx::Rect frame) : ui::View(frame) {
    backgroundImageView = base::make<ui::ImageView>(gfx::Rect{}, gfx::Image::named("gridItem_bg.png"));
    addSubview(backgroundImageView);
    stockGrid_ = base::make<MultiStocksGridPricePanel>();
    addSubview(stockGrid_);
    minView = base::make<MinLineView>(gfx::Rect{}, CompactViewMode);
    minView->SetChartBackgroundColor(StylePool::Instance().clChartBG);
    addSubview(minView);
}

void MultiStocksGridView::setUp() {
    ui::View::setUp();
    tapRecognizer = base::make<ui::TapRecognizer>(BASE_ACTION(this, tapped));
    addGestureRecognizer(tapRecognizer);
}

int MultiStocksGridView::getKType(int circleID) {
    static constexpr std::array<int, 6> ktypes{0, 3, 5, 7, 8, 9};
    return circleID >= 0 && circleID < int(ktypes.size()) ? ktypes[size_t(circleID)] : 0;
}

gfx::Rect MultiStocksGridView::chartFrame() const {
    const float w = bounds().width(), h = bounds().height();
    return {ChartInset, ChartTop, w - 2 * ChartInset, h - ChartTop - ChartBottom};
}

void MultiStocksGridView::layoutSubviews() {
    const float w = bounds().width(), h = bounds().height();
    if (w <= 0 || h <= 0)
        return;
    backgroundImageView->setFrame({0, 0, w, h});
    stockGrid_->setFrame({0, 0, w, PanelHeight});
    minView->setFrame(chartFrame());
    if (kview)
        kview->setFrame(chartFrame());
}

void MultiStocksGridView::tapped() {
    if (auto d = delegate.lock())
        d->ReturnSelectedGrid(*this);
}

void MultiStocksGridView::SetStockCodeMarket(const std::string &code) {
    stockGrid_->code = code;
    stockGrid_->codeLabel->setText(StockQuoteInf::FormatDisplayCode(code));
}

void MultiStocksGridView::SetStockName(const std::string &name) {
    stockGrid_->nameLabel->setText(name);
}

void MultiStocksGridView::setIsShowMinLineView(bool show) {
    isShowMinLineView_ = show;
    minView->setHidden(!show);
    if (kview)
        kview->setHidden(show);
}

void MultiStocksGridView::createKLineView() {
    if (kview)
        return;
    kview = KLineView::create(chartFrame(), CompactViewMode);
    kview->SetChartBackgroundColor(StylePool::Instance().clChartBG);
    kview->delegate = weakSelf<MultiStocksGridView>();
    kview->setHidden(isShowMinLineView_);
    insertSubviewBelow(kview, minView.get());
}

void MultiStocksGridView::UpdateMinLine(const base::Ref<StockQuoteInf> &record, base::Ref<MinLineList> list) {
    setIsShowMinLineView(true);
    minView->Update(record, std::move(list));
}

void MultiStocksGridView::UpdateKLine(const base::Ref<StockQuoteInf> &record, base::Ref<KLineList> list,
                                      int ktype) {
    createKLineView();
    setIsShowMinLineView(false);
    // The candle chart reads the detail snapshot; a list row's quote fills its common part.
    auto basic = std::dynamic_pointer_cast<StockBasicInf>(record);
    if (!basic && record) {
        basic = base::make<StockBasicInf>();
        static_cast<StockQuoteInf &>(*basic) = *record;
    }
    kview->Update(basic, std::move(list), ktype, 0);
}

void MultiStocksGridView::clearMinLineView() {
    minView->clearView();
}

void MultiStocksGridView::clearKLineView() {
    if (kview)
        kview->clearView();
}

void MultiStocksGridView::StartMinLineWaitingAlert() {
    // From the cell's own size: the chart is laid out only on the next layout pass.
    minView->StartWaitingAlert(chartFrame());
}

void MultiStocksGridView::StopMinLineWaitingAlert() {
    minView->StopWaitingAlert();
}

void MultiStocksGridView::StartKLineWaitingAlert() {
    createKLineView();
    kview->StartWaitingAlert(chartFrame());
}

void MultiStocksGridView::StopKLineWaitingAlert() {
    if (kview)
        kview->StopWaitingAlert();
}
