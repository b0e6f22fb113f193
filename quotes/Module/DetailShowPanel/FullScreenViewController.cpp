#include "Module/DetailShowPanel/FullScreenViewController.h"

#include "Module/StockDataBaseMgnt/StockFunc.h"
#include "gfx/Image.h"

namespace {

const std::vector<std::string> kSliderTags = {"日线", "5分钟", "15分钟", "60分钟", "周线", "月线"};

} // namespace

FullScreenViewController::FullScreenViewController() {
    presentation = Presentation::FullScreen;
    transition = Transition::CrossDissolve;
    modalInPopover = true;
}

void FullScreenViewController::setUp() {
    ui::ViewController::setUp();
    view();
}

void FullScreenViewController::loadView() {
    ui::ViewController::loadView();
    buildView();
}

void FullScreenViewController::buildView() {
    if (m_stockDetailSwitchBar)
        return;
    ui::View &root = view();
    root.setBackgroundColor(gfx::Color::pattern(gfx::Image::named("background.png")));
    m_trendLineView = base::make<MinLineView>(kTrendFrame, 0);
    root.addSubview(m_trendLineView);
    m_klineView = KLineView::create(kKLineFrame, 0);
    root.addSubview(m_klineView);
    m_sliderView = CMSliderView::create(kSliderFrame);
    m_sliderView->SetTagArray(kSliderTags);
    root.addSubview(m_sliderView);
    m_stockDetailSwitchBar = base::make<FullScreenToolBarView>(kToolBarFrame);
    m_stockDetailSwitchBar->delegate = weakSelf<FullScreenViewController>();
    m_stockDetailSwitchBar->SetSelectedItemIndex(0, 0);
    root.addSubview(m_stockDetailSwitchBar);
}

bool FullScreenViewController::shouldAutorotateTo(ui::Orientation orientation) {
    bool landscape =
        orientation == ui::Orientation::LandscapeLeft || orientation == ui::Orientation::LandscapeRight;
    if (landscape && m_stockDetailSwitchBar)
        m_stockDetailSwitchBar->reLayout(int(orientation));
    return landscape;
}

bool FullScreenViewController::isFund() const {
    return StockFunc::isOFCode(m_marketCode);
}

void FullScreenViewController::UpdateBasicInf(const StockBasicInf &record) {
    if (!m_stockDetailSwitchBar)
        return;
    m_stockDetailSwitchBar->codeLabel().setText(record.code);
    m_stockDetailSwitchBar->nameLabel().setText(record.name);
    m_stockDetailSwitchBar->lastLabel().setText(record.FormatValue(4));
    m_stockDetailSwitchBar->rangeLabel().setText(record.FormatValue(1));
}

void FullScreenViewController::SetCurrentViewType(int type) {
    bool candles = type == 1;
    m_sliderView->setHidden(!candles || isFund());
    m_stockDetailSwitchBar->SetSelectedItemIndex(candles ? 1 : 0, 0);
    if (isFund()) {
        m_klineView->setFrame(kFundChartFrame);
        m_trendLineView->setFrame(kFundChartFrame);
    }
}

void FullScreenViewController::showMinLineOrKLineView(bool showMinLine) {
    m_sliderView->setHidden(showMinLine || isFund());
}

void FullScreenViewController::startWaitingAlert() {
    if (m_waitingAlert)
        return;
    m_waitingAlert = base::make<CMWaitingAlertView>(kWaitingFrame);
    view().addSubview(m_waitingAlert);
    m_waitingAlert->StartAlertWithInfo("", kWaitingFontSize);
}

void FullScreenViewController::stopWaitingAlert() {
    if (!m_waitingAlert)
        return;
    m_waitingAlert->StopWaitingAlert();
    m_waitingAlert->removeFromSuperview();
    m_waitingAlert.reset();
}

base::Opt<void> FullScreenViewController::StockDetailBarSelectedIndex(int index, int group,
                                                                      ui::View &sender) {
    if (index == 1)
        m_sliderView->setHidden(isFund());
    else if (index == 0)
        m_sliderView->setHidden(true);
    if (auto d = delegate.lock())
        d->FullScreenStockDetailBarSelectedIndex(index, group, sender);
    return {};
}

base::Opt<void> FullScreenViewController::ReturnSearchFieldText(const std::string &code) {
    if (auto d = delegate.lock())
        d->ReturnSearchFieldText(code);
    return {};
}

base::Opt<void> FullScreenViewController::ResetTechGraphicState() {
    if (auto d = delegate.lock())
        d->ResetTechGraphicState();
    return {};
}

base::Opt<void> FullScreenViewController::ZoomOutAction(ui::Button &) {
    if (auto d = delegate.lock())
        d->dismissModalFullScreen();
    dismissModal(true);
    return {};
}
