#include "Module/DetailShowPanel/FullScreenToolBarView.h"

#include "Module/DetailShowPanel/StockDetailSwitchBar.h"
#include "Module/NavToolBarModule/SearchMyStockPopover/StockSearchRule.h"
#include "gfx/Font.h"
#include "gfx/Image.h"

namespace {

base::Ref<ui::Label> makeLabel(gfx::Rect frame, base::Ref<gfx::Font> font, base::Ref<gfx::Color> color) {
    auto label = base::make<ui::Label>(frame);
    label->setFont(std::move(font));
    label->setTextColor(std::move(color));
    label->setBackgroundColor(gfx::Color::clear());
    return label;
}

} // namespace

FullScreenToolBarView::FullScreenToolBarView(gfx::Rect frame) : ui::View(frame) {
    setBackgroundColor(gfx::Color::pattern(gfx::Image::named("configbar_bg.png")));
    m_nameLabel = makeLabel({0, 0, 100, 30}, gfx::Font::boldSystem(16), gfx::Color::white());
    m_nameLabel->setAdjustsFontSizeToFitWidth(true);
    m_codeLabel = makeLabel({0, 20, 100, 20}, gfx::Font::boldSystem(13), gfx::Color::yellow());
    m_lastLabel = makeLabel({110, 0, 100, 50}, gfx::Font::system(17), gfx::Color::white());
    m_rangeLabel = makeLabel({190, 0, 80, 50}, gfx::Font::system(17), gfx::Color::white());
    m_rangeLabel->setText("-.--%");
    for (const auto &label : {m_nameLabel, m_codeLabel, m_lastLabel, m_rangeLabel})
        addSubview(label);
    for (int i = 0; i < normalCount; ++i) {
        auto tab = CMSlideMenuItem::create(TabFrames[i]);
        tab->normalImage().setImage(gfx::Image::named("configbar_normal.png"));
        tab->pressedImage().setImage(gfx::Image::named("configbar_highlight.png"));
        tab->titleLabel().setText(TabTitles[i]);
        tab->tag = beginNormalTag + i;
        addSubview(tab);
        m_tabs.push_back(tab);
    }
    m_addSearchButton = base::make<AddSearchButton>(SearchFrame);
    addSubview(m_addSearchButton);
    m_resetButton = ui::Button::custom(ResetFrame);
    m_resetButton->setBackgroundImage(gfx::Image::named("resetButton.png"));
    m_resetButton->setTitle("__RESET__");
    m_resetButton->setTitleColor(gfx::Color::clear());
    addSubview(m_resetButton);
    m_zoomOutButton = ui::Button::custom(ZoomOutFrame);
    m_zoomOutButton->setBackgroundImage(gfx::Image::named("zoom_out.png"));
    addSubview(m_zoomOutButton);
}

void FullScreenToolBarView::setUp() {
    ui::View::setUp();
    base::Weak<FullScreenToolBarView> weak = weakSelf<FullScreenToolBarView>();
    for (const auto &tab : m_tabs)
        tab->delegate = weak;
    m_addSearchButton->delegate = weak;
    m_resetButton->addTarget(base::Action(weak, "resetAction",
                                          [weak](base::Object *) {
                                              auto self = weak.lock();
                                              if (!self)
                                                  return;
                                              playResetRay(*self->m_resetButton);
                                              if (auto d = self->delegate.lock())
                                                  d->ResetTechGraphicState();
                                          }),
                             ui::TouchUpInside);
    m_zoomOutButton->addTarget(base::Action(weak, "zoomOutAction",
                                            [weak](base::Object *) {
                                                auto self = weak.lock();
                                                if (auto d = self ? self->delegate.lock() : nullptr)
                                                    d->ZoomOutAction(*self->m_zoomOutButton);
                                            }),
                               ui::TouchUpInside);
    m_searchPopover = std::make_unique<OverlaySearchPopover>(weak, [weak] {
        if (auto self = weak.lock()) {
            self->m_addSearchButton->searchField().setText("");
            self->m_addSearchButton->DismissKeyPad();
        }
    });
}

void FullScreenToolBarView::SetSelectedItemIndex(int index, int group) {
    if (group != 0)
        return;
    for (int i = 0; i < normalCount; ++i)
        m_tabs[size_t(i)]->SetPressed(i == index ? 1 : 0);
}

base::Opt<void> FullScreenToolBarView::ReturnSelectedItem(CMSlideMenuItem &item) {
    for (const auto &tab : m_tabs)
        tab->SetPressed(tab->tag == item.tag ? 1 : 0);
    if (auto d = delegate.lock())
        d->StockDetailBarSelectedIndex(item.tag - beginNormalTag, 0, *this);
    return {};
}

base::Opt<void> FullScreenToolBarView::ReturnSearchFieldText(const std::string &text) {
    m_searchResultArray = StockSearchRule::search(text, StockSearchRule::OverlaySearch);
    m_searchPopover->show(m_searchResultArray, *m_addSearchButton);
    return {};
}

base::Opt<void> FullScreenToolBarView::ReturnSelectedStock(const std::string &code) {
    m_addSearchButton->DismissKeyPad();
    m_searchPopover->dismiss();
    if (auto d = delegate.lock())
        d->ReturnSearchFieldText(code);
    return {};
}
