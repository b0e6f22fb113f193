#include "SmallMinLineView.h"

SmallMinLineView::SmallMinLineView(gfx::Rect frame)
    : ui::View(frame), m_mobj(base::make<SmallMinLineClass>()) {
    setBackgroundColor(gfx::Color::clear());
    opaque = false;
    gfx::Point at = spinnerPoint();
    m_waitingAlert = base::make<CMWaitingAlertView>(gfx::Rect{at.x, at.y, SpinnerSize, SpinnerSize});
    m_waitingAlert->StartAlert();
    addSubview(m_waitingAlert);
}

gfx::Point SmallMinLineView::spinnerPoint() const {
    return {(bounds().width() - SpinnerMarginW) / 2, (bounds().height() - SpinnerMarginH) / 2};
}

void SmallMinLineView::Update(base::Ref<StockQuoteInf> basicInf, base::Ref<MinLineList> mlineList) {
    if (m_waitingAlert) {
        m_waitingAlert->StopWaitingAlert();
        m_waitingAlert.reset();
    }
    m_mobj->Update(std::move(basicInf), std::move(mlineList));
    setNeedsDisplay();
}

void SmallMinLineView::SetChartBackgroundColor(base::Ref<gfx::Color> color) {
    m_mobj->chartBackgroundColor = std::move(color);
    setNeedsDisplay();
}

void SmallMinLineView::drawRect(gfx::Context &context, gfx::Rect) {
    // Each pass centres the spinner on the point its corner was first put at.
    if (m_waitingAlert)
        m_waitingAlert->setCenter(spinnerPoint());
    m_mobj->draw(context, bounds());
}
