#include "Module/Market/SwitchTabBarView.h"

#include "gfx/Font.h"

SwitchTabBarView::SwitchTabBarView(gfx::Rect frame) : ui::View(frame) {
    SetupTabBarButtons(frame);
}

void SwitchTabBarView::SetupTabBarButtons(gfx::Rect frame) {
    m_selIndex = FirstTag;
    m_buttonImage = base::make<ui::ImageView>(gfx::Rect{0, 0, frame.width() / TabCount, frame.height()},
                                              gfx::Image::named("tabbtn_bg.png"));
    addSubview(m_buttonImage);
    for (int k = 0; k < TabCount; ++k) {
        auto button = ui::Button::custom(buttonFrame(k));
        button->tag = FirstTag + k;
        button->setTitle(Captions[size_t(k)]);
        button->titleLabel().setFont(gfx::Font::boldSystem(18));
        button->setTitleColor(k == 0 ? gfx::Color::white() : gfx::Color::gray());
        addSubview(button);
    }
}

void SwitchTabBarView::setUp() {
    ui::View::setUp();
    for (int k = 0; k < TabCount; ++k)
        buttonAt(k)->addTarget(BASE_ACTION(this, TabItemAction), ui::TouchUpInside);
}

gfx::Rect SwitchTabBarView::buttonFrame(int index) const {
    float w = bounds().width() / TabCount;
    return {float(index) * w, 0, w, bounds().height()};
}

ui::Button *SwitchTabBarView::buttonAt(int index) {
    return dynamic_cast<ui::Button *>(viewWithTag(FirstTag + index));
}

void SwitchTabBarView::layoutSubviews() {
    for (int k = 0; k < TabCount; ++k)
        buttonAt(k)->setFrame(buttonFrame(k));
    m_buttonImage->setFrame(buttonFrame(m_selIndex - FirstTag));
}

void SwitchTabBarView::moveHighlight() {
    ui::View::beginAnimations("MoveBgImage");
    ui::View::setAnimationDuration(MoveSeconds);
    m_buttonImage->setFrame(buttonFrame(m_selIndex - FirstTag));
    ui::View::commitAnimations();
}

void SwitchTabBarView::TabItemAction(ui::Button *button) {
    if (!button)
        return;
    for (int k = 0; k < TabCount; ++k)
        buttonAt(k)->setTitleColor(buttonAt(k) == button ? gfx::Color::white() : gfx::Color::gray());
    base::Ref<ui::View> alive = self<ui::View>();
    if (auto d = delegate.lock())
        d->SelectedTabIndex(button->tag - FirstTag);
    m_selIndex = button->tag;
    moveHighlight();
}

void SwitchTabBarView::SetCurrSelectedTab(int index) {
    if (ui::Button *previous = buttonAt(m_selIndex - FirstTag))
        previous->setTitleColor(gfx::Color::gray());
    if (ui::Button *chosen = buttonAt(index))
        chosen->setTitleColor(gfx::Color::white());
    m_selIndex = FirstTag + index;
    moveHighlight();
}
