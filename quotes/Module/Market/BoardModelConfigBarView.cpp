#include "Module/Market/BoardModelConfigBarView.h"

#include "gfx/Font.h"

namespace {

base::Ref<ui::Label> makeBoardLabel(gfx::Rect frame, float fontSize) {
    auto label = base::make<ui::Label>(frame);
    label->setBackgroundColor(gfx::Color::clear());
    label->setTextColor(gfx::Color::rgba(244 / 255.f, 216 / 255.f, 57 / 255.f));
    label->setFont(gfx::Font::boldSystem(fontSize));
    label->setHidden(true);
    return label;
}

} // namespace

BoardModelConfigBarView::BoardModelConfigBarView(gfx::Rect frame) : ui::View(frame) {
    float w = frame.width(), h = frame.height();
    m_backgroundImageView =
        base::make<ui::ImageView>(gfx::Rect{0, 0, w, h}, gfx::Image::named("configbar_bg.png"));
    addSubview(m_backgroundImageView);

    m_backButton = ui::Button::custom({20, 5, 112, 23});
    m_backButton->tag = ButtonTag;
    m_backButton->setBackgroundImage(gfx::Image::named("back.png"));
    m_backButton->setTitle("  返回板块");
    m_backButton->titleLabel().setFont(gfx::Font::boldSystem(13));
    m_backButton->titleLabel().setTextAlignment(gfx::Align::Right);
    m_backButton->setHidden(true);
    addSubview(m_backButton);

    m_boardNameLabel = makeBoardLabel({200, 0, 140, h}, 20);
    addSubview(m_boardNameLabel);
    m_boardRangeLabel = makeBoardLabel({340, 0, 140, h}, 18);
    addSubview(m_boardRangeLabel);

    m_changeModeButton = ui::Button::custom({w - 52, 3, 42, 30});
    m_changeModeButton->tag = ButtonTag;
    m_changeModeButton->setBackgroundImage(
        gfx::Image::named(MarketProcessMarks::boardBarModeImage ? ColumnModeImage : MiniTrendModeImage));
    addSubview(m_changeModeButton);
}

void BoardModelConfigBarView::setUp() {
    ui::View::setUp();
    m_backButton->addTarget(BASE_ACTION(this, backButtonAction), ui::TouchUpInside);
    m_changeModeButton->addTarget(BASE_ACTION(this, changeModeAction), ui::TouchUpInside);
}

void BoardModelConfigBarView::SetRankOrientationType(int type) {
    if (type == 0 || type == 1)
        m_isUpdown = uint8_t(type);
}

void BoardModelConfigBarView::changeModeAction(ui::Button *button) {
    MarketProcessMarks::boardBarModeImage = MarketProcessMarks::boardBarModeImage ? 0 : 1;
    m_changeModeButton->setBackgroundImage(
        gfx::Image::named(MarketProcessMarks::boardBarModeImage ? ColumnModeImage : MiniTrendModeImage));
    if (auto d = delegate.lock(); d && button)
        d->PerformAction(*button);
}

void BoardModelConfigBarView::backButtonAction(ui::Button *button) {
    if (auto d = delegate.lock(); d && button)
        d->BackAction(*button);
}
