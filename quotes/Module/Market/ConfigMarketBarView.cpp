#include "Module/Market/ConfigMarketBarView.h"

#include "gfx/Font.h"

ConfigMarketBarView::ConfigMarketBarView(gfx::Rect frame) : ui::View(frame) {
    float w = frame.width(), h = frame.height();
    m_backgroundImageView =
        base::make<ui::ImageView>(gfx::Rect{0, 0, w, h}, gfx::Image::named("HeaderSelectedBG.png"));
    addSubview(m_backgroundImageView);

    m_leftButton = ui::Button::custom(MenuButtonFrame);
    m_leftButton->tag = MenuButtonTag;
    base::Ref<gfx::Image> background = gfx::Image::named("configbar_btn.png");
    m_leftButton->setBackgroundImage(background ? background->stretchable(5, 5) : nullptr);
    float bw = MenuButtonFrame.width(), bh = MenuButtonFrame.height();
    m_leftButton->addSubview(base::make<ui::ImageView>(gfx::Rect{bw - 20, (bh - 11) / 2 + 2, 13, 11},
                                                       gfx::Image::named("configbar_btn_arrow.png")));
    addSubview(m_leftButton);

    m_changeModeButton = ui::Button::custom({w - 52, 3, 42, 30});
    m_changeModeButton->tag = ModeButtonTag;
    m_changeModeButton->setBackgroundImage(gfx::Image::named(MiniTrendModeImage));
    addSubview(m_changeModeButton);

    m_backButton = ui::Button::custom({20, 0, 80, 28});
    m_backButton->tag = BackButtonTag;
    m_backButton->setBackgroundImage(gfx::Image::named("back.png"));
    m_backButton->setTitle("       返回板块");
    m_backButton->titleLabel().setFont(gfx::Font::boldSystem(13));
    m_backButton->titleLabel().setTextAlignment(gfx::Align::Right);
    m_backButton->setHidden(true);
    addSubview(m_backButton);

    m_boardNameLabel = base::make<ui::Label>(gfx::Rect{200, 0, 200, h});
    m_boardNameLabel->setBackgroundColor(gfx::Color::clear());
    m_boardNameLabel->setTextColor(gfx::Color::white());
    m_boardNameLabel->setHidden(true);
    addSubview(m_boardNameLabel);
}

void ConfigMarketBarView::setUp() {
    ui::View::setUp();
    m_leftButton->addTarget(BASE_ACTION(this, leftButtonAction), ui::TouchUpInside);
    m_changeModeButton->addTarget(BASE_ACTION(this, changeModeAction), ui::TouchUpInside);
    m_backButton->addTarget(BASE_ACTION(this, backButtonAction), ui::TouchUpInside);
}

void ConfigMarketBarView::SetLeftButtonListTitle(const std::string &title) {
    m_leftButton->setTitle(title);
}

void ConfigMarketBarView::SetModeButtonShow(int show) {
    if (show == 0 || show == 1)
        m_changeModeButton->setHidden(show == 0);
}

void ConfigMarketBarView::reLayout(gfx::Rect frame) {
    setFrame(frame);
    m_leftButton->setFrame(MenuButtonFrame);
}

void ConfigMarketBarView::leftButtonAction(ui::Button *button) {
    if (auto d = delegate.lock(); d && button)
        d->PerformAction(*button);
}

void ConfigMarketBarView::changeModeAction(ui::Button *button) {
    m_modeState = m_modeState ? 0 : 1;
    m_changeModeButton->setBackgroundImage(
        gfx::Image::named(m_modeState ? MiniTrendModeImage : ColumnModeImage));
    if (auto d = delegate.lock(); d && button)
        d->PerformAction(*button);
}

void ConfigMarketBarView::backButtonAction(ui::Button *button) {
    if (auto d = delegate.lock(); d && button)
        d->BackAction(*button);
}
