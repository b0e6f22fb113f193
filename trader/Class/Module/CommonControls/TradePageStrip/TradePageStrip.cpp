#include "Class/Module/CommonControls/TradePageStrip/TradePageStrip.h"

#include "Common/UtilUI.h"

TradePageStrip::TradePageStrip(gfx::Rect frame, float textWidth, float prevX, float nextX)
    : ui::View(frame), m_textWidth(textWidth), m_prevX(prevX), m_nextX(nextX) {}

void TradePageStrip::setUp() {
    ui::View::setUp();
    float h = frame().height();
    setBackgroundColor(gfx::Color::clear());
    m_pageInfoLabel = base::make<ui::Label>(gfx::Rect{3, 0, m_textWidth, h});
    m_pageInfoLabel->setBackgroundColor(gfx::Color::clear());
    // Light on the screens' dark pattern.
    m_pageInfoLabel->setTextColor(gfx::Color::rgba(0.9f, 0.9f, 0.9f));
    m_prevButton = ui::Button::custom({m_prevX, 0, kButtonWidth, h});
    m_prevButton->setBackgroundImage(UtilUI::imageNamed("pageUp.png"));
    m_nextButton = ui::Button::custom({m_nextX, 0, kButtonWidth, h});
    m_nextButton->setBackgroundImage(UtilUI::imageNamed("pageDown.png"));
    base::Weak<TradePageStrip> weak = weakSelf<TradePageStrip>();
    m_prevButton->addTarget(base::Action("prevPageAction",
                                         [weak](base::Object *) {
                                             auto alive = weak.lock();
                                             if (auto d = alive ? alive->delegate.lock() : nullptr)
                                                 d->prevPageAction();
                                         }),
                            ui::TouchUpInside);
    m_nextButton->addTarget(base::Action("nextPageAction",
                                         [weak](base::Object *) {
                                             auto alive = weak.lock();
                                             if (auto d = alive ? alive->delegate.lock() : nullptr)
                                                 d->nextPageAction();
                                         }),
                            ui::TouchUpInside);
    addSubview(m_pageInfoLabel);
    addSubview(m_prevButton);
    addSubview(m_nextButton);
}

std::string TradePageStrip::FormatSerialNumberVertical(int n) {
    std::string text;
    for (char digit : std::to_string(n)) {
        text += digit;
        text += '\n';
    }
    return text;
}
