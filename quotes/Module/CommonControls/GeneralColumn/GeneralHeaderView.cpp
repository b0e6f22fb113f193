#include "Module/CommonControls/GeneralColumn/GeneralHeaderView.h"

#include "gfx/Font.h"

GeneralHeaderView::GeneralHeaderView(gfx::Rect frame) : ui::View(frame) {
    m_fieldLabel = base::make<ui::Label>(gfx::Rect{0, 0, frame.width(), frame.height()});
    m_fieldLabel->setBackgroundColor(gfx::Color::clear());
    m_fieldLabel->setTextColor(gfx::Color::white());
    m_fieldLabel->setFont(gfx::Font::boldSystem(15));
    addSubview(m_fieldLabel);
    m_headerIcon = base::make<ui::ImageView>(gfx::Rect{}, gfx::Image::named(DownImage));
    m_headerIcon->setHidden(true);
    addSubview(m_headerIcon);
}

void GeneralHeaderView::setUp() {
    ui::View::setUp();
    m_tapRecognizer = base::make<ui::TapRecognizer>(BASE_ACTION(this, handleTapEvent));
    addGestureRecognizer(m_tapRecognizer);
}

void GeneralHeaderView::SetHeaderIconPosition(int16_t position) {
    float w = bounds().width(), h = bounds().height();
    float y = (h - IconSize) / 2 - 1;
    switch (position) {
    case 1:
        m_headerIcon->setFrame({w - IconSize, y, IconSize, IconSize});
        break;
    case 0:
        m_headerIcon->setFrame({0, y, IconSize, IconSize});
        break;
    case -1:
        m_headerIcon->setFrame({});
        break;
    default:
        break;
    }
}

void GeneralHeaderView::SetHeaderRankEnable(bool selected, int upDown) {
    m_headerIcon->setHidden(!selected);
    m_headerIcon->setImage(gfx::Image::named(upDown == 1 ? UpImage : DownImage));
    m_isUpDown = 0;
    float w = bounds().width(), h = bounds().height();
    m_fieldLabel->setFrame(selected ? gfx::Rect{0, 0, w - IconSize, h} : gfx::Rect{0, 0, w, h});
}

void GeneralHeaderView::handleTapEvent() {
    if (!enabled)
        return;
    // Report first: the owner may re-mark the cells meanwhile, which resets the toggle to 0.
    uint8_t reported = m_isUpDown;
    base::Ref<ui::View> alive = self<ui::View>();
    if (auto d = delegate.lock())
        d->ClickHeaderAction(*this, reported);
    m_isUpDown = reported ? 0 : 1;
    m_headerIcon->setImage(gfx::Image::named(reported ? UpImage : DownImage));
}
