#include "Module/CommonControls/GeneralCell/NameFieldView.h"

#include "gfx/Font.h"

NameFieldView::NameFieldView(gfx::Rect frame) : ui::View(frame) {
    float w = frame.width(), h = frame.height(), nameHeight = 3 * h / 4;
    m_stocknameLabel = base::make<ui::Label>(gfx::Rect{0, 0, w, nameHeight});
    m_stocknameLabel->setBackgroundColor(gfx::Color::clear());
    m_stocknameLabel->setTextColor(gfx::Color::white());
    m_stocknameLabel->setFont(gfx::Font::boldSystem(16));
    m_stocknameLabel->setAdjustsFontSizeToFitWidth(true);
    addSubview(m_stocknameLabel);
    m_stockcodeLabel = base::make<ui::Label>(gfx::Rect{0, nameHeight, w, h - nameHeight});
    m_stockcodeLabel->setBackgroundColor(gfx::Color::clear());
    m_stockcodeLabel->setTextColor(gfx::Color::rgba(244 / 255.f, 216 / 255.f, 57 / 255.f));
    m_stockcodeLabel->setFont(gfx::Font::system(14));
    addSubview(m_stockcodeLabel);
}

NameFieldView::~NameFieldView() {
    if (auto timer = m_timer.lock())
        timer->invalidate();
}

void NameFieldView::setUp() {
    ui::View::setUp();
    m_longPressRecognizer = base::make<ui::LongPressRecognizer>(BASE_ACTION(this, longPressEvent));
    m_longPressRecognizer->minimumDuration = PressSeconds;
    m_longPressRecognizer->touchesRequired = 1;
    addGestureRecognizer(m_longPressRecognizer);
}

// Every callback of the press (start, moves, end) widens again and restarts the count-down.
void NameFieldView::longPressEvent() {
    gfx::Rect frame = m_stocknameLabel->frame();
    ui::View::animate(AnimationSeconds, 0, ui::Curve::EaseIn, [&] {
        m_stocknameLabel->setFrame({frame.x(), frame.y(), TipWidth, frame.height()});
        m_stocknameLabel->setBackgroundColor(gfx::Color::gray());
    });
    if (auto previous = m_timer.lock())
        previous->invalidate();
    m_timer = base::Timer::scheduled(TipSeconds, false, BASE_ACTION(this, showTip));
}

void NameFieldView::showTip() {
    gfx::Rect frame = m_stocknameLabel->frame();
    ui::View::animate(AnimationSeconds, [&] {
        m_stocknameLabel->setFrame({frame.x(), frame.y(), bounds().width(), frame.height()});
        m_stocknameLabel->setBackgroundColor(gfx::Color::clear());
    });
}
