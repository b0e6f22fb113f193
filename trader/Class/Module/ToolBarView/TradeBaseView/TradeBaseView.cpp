#include "Class/Module/ToolBarView/TradeBaseView/TradeBaseView.h"

#include "Common/UtilUI.h"
#include "Components/CMProgressWaitingView.h"

#include "gfx/Font.h"

// Hears the end of the panel's slides.
struct TradeBaseView::SlideRelay : ui::TransitionDelegate {
    base::Weak<TradeBaseView> panel;
    base::Opt<void> animationDidStop(ui::Transition &, bool) override {
        if (auto alive = panel.lock())
            alive->animationDidStop();
        return {};
    }
};

TradeBaseView::TradeBaseView(gfx::Rect frame) : ui::View(frame) {}

TradeBaseView::~TradeBaseView() {
    StopWaitingAlert();
}

void TradeBaseView::setUp() {
    ui::View::setUp();
    m_slideRelay = base::make<SlideRelay>();
    m_slideRelay->panel = weakSelf<TradeBaseView>();
    initData();
    initUI(frame());
}

void TradeBaseView::GenTitleBar(gfx::Rect rect) {
    float s = rect.height() - 6;
    m_closeButton = ui::Button::custom({3, 3, s, s - 2});
    m_closeButton->setBackgroundImage(UtilUI::imageNamed("close_trade.png"));
    m_zoomInButton = ui::Button::custom({s + 6, 3, s, s - 2});
    m_zoomInButton->setBackgroundImage(UtilUI::imageNamed("trader_fullscreen.png"));
    m_titleLabel = base::make<ui::Label>(gfx::Rect{2 * s + 9, 3, rect.width() - 2 * s - 12, s});
    m_titleLabel->setBackgroundColor(gfx::Color::clear());
    m_titleLabel->setTextAlignment(gfx::Align::Center);
    m_titleLabel->setFont(gfx::Font::boldSystem(21));
    m_titleLabel->setTextColor(gfx::Color::white());
    m_progressView = base::make<CMProgressWaitingView>(gfx::Rect{0, s + 3, rect.width(), 3});
    addSubview(m_closeButton);
    addSubview(m_zoomInButton);
    addSubview(m_titleLabel);
    addSubview(m_progressView);
}

void TradeBaseView::setTitle(const std::string &title) {
    if (m_titleLabel)
        m_titleLabel->setText(title);
}

void TradeBaseView::closeButtonDismisses() {
    m_closeButton->addTarget(action("CloseAction", &TradeBaseView::DismissView), ui::TouchUpInside);
}

void TradeBaseView::ShowView() {
    auto parent = parentView.lock();
    if (!parent)
        return;
    parent->addSubview(self<ui::View>());
    if (auto bar = toolBarView.lock(); bar && bar->superview() == parent.get())
        parent->bringSubviewToFront(bar.get());
    setHidden(true);
    m_isStartEnd = true;
    setHidden(false);
    slide(ui::Transition::From::Right);
    if (auto d = delegate.lock())
        d->ShowResponse();
}

void TradeBaseView::DismissView() {
    panelWillDismiss();
    if (auto d = delegate.lock())
        d->DismissResponse();
    m_isStartEnd = false;
    setHidden(true);
    slide(ui::Transition::From::Left);
}

void TradeBaseView::slide(ui::Transition::From from) {
    auto transition = base::make<ui::Transition>();
    transition->type = ui::Transition::Type::Push;
    transition->subtype = from;
    transition->duration = kSlideDuration;
    transition->delegate = m_slideRelay;
    layer().addTransition(transition, kAnimationKey);
}

void TradeBaseView::animationDidStop() {
    // Keeps the panel alive through its own removal.
    base::Ref<TradeBaseView> keep = self<TradeBaseView>();
    base::Ref<TradeBaseViewDelegate> d = delegate.lock();
    if (m_isStartEnd) {
        if (d)
            d->ShowFinishedAnimationResponse();
        return;
    }
    removeFromSuperview();
    if (d)
        d->DismissFinishedAnimationResponse();
}

void TradeBaseView::StartWaitingAlert() {
    if (m_progressView && !m_progressView->isAnimating())
        m_progressView->StartAnimating();
}

void TradeBaseView::StopWaitingAlert() {
    if (m_progressView)
        m_progressView->StopAnimating();
}
