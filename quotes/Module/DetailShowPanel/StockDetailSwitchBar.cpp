#include "Module/DetailShowPanel/StockDetailSwitchBar.h"

#include "Module/NavToolBarModule/SearchMyStockPopover/StockSearchRule.h"
#include "gfx/Image.h"
#include "ui/ImageView.h"

namespace {

constexpr float kRayMargin = 12;
constexpr double kRayDuration = 0.6;

base::Ref<ui::Button> makeButton(gfx::Rect frame, const char *image, const char *title) {
    auto button = ui::Button::custom(frame);
    button->setBackgroundImage(gfx::Image::named(image));
    button->setTitle(title);
    button->setTitleColor(gfx::Color::clear());
    return button;
}

} // namespace

void playResetRay(ui::Button &button) {
    gfx::Rect bounds = button.bounds();
    auto ray = base::make<ui::ImageView>(gfx::Rect{-kRayMargin, -kRayMargin, bounds.width() + 2 * kRayMargin,
                                                   bounds.height() + 2 * kRayMargin},
                                         gfx::Image::named("ray.png"));
    ray->userInteractionEnabled = false;
    button.addSubview(ray);
    ui::View::animate(
        kRayDuration, [ray] { ray->setAlpha(0); }, [ray](bool) { ray->removeFromSuperview(); });
}

StockDetailSwitchBar::StockDetailSwitchBar(gfx::Rect frame) : ui::View(frame) {
    setBackgroundColor(gfx::Color::pattern(gfx::Image::named("configbar_bg.png")));
    m_bgScrollView = base::make<ui::ScrollView>(gfx::Rect{0, 0, frame.width(), frame.height()});
    m_bgScrollView->setContentSize({768, frame.height()});
    m_bgScrollView->showsHorizontalScrollIndicator = false;
    m_bgScrollView->setBackgroundColor(gfx::Color::clear());
    addSubview(m_bgScrollView);
    for (int i = 0; i < normalCount; ++i) {
        auto tab = CMSlideMenuItem::create({FirstTabX + TabPitch * float(i), 0, TabWidth, frame.height()});
        tab->normalImage().setImage(gfx::Image::named("configbar_normal.png"));
        tab->pressedImage().setImage(gfx::Image::named("configbar_highlight.png"));
        tab->titleLabel().setText(TabTitles[i]);
        tab->tag = beginNormalTag + i;
        m_bgScrollView->addSubview(tab);
        m_tabs.push_back(tab);
    }
    m_addSearchButton = base::make<AddSearchButton>(SearchFrame);
    m_bgScrollView->addSubview(m_addSearchButton);
    m_resetTlineBtn = makeButton(ResetFrame, "resetButton.png", "__RESET__");
    m_bgScrollView->addSubview(m_resetTlineBtn);
    m_zoomButton = makeButton(ZoomFrame, "zoom_in.png", "__ZOOMIN__");
    m_bgScrollView->addSubview(m_zoomButton);
}

void StockDetailSwitchBar::setUp() {
    ui::View::setUp();
    base::Weak<StockDetailSwitchBar> weak = weakSelf<StockDetailSwitchBar>();
    for (const auto &tab : m_tabs)
        tab->delegate = weak;
    m_addSearchButton->delegate = weak;
    m_resetTlineBtn->addTarget(base::Action(weak, "resetAction",
                                            [weak](base::Object *) {
                                                if (auto self = weak.lock())
                                                    self->resetAction();
                                            }),
                               ui::TouchUpInside);
    m_zoomButton->addTarget(base::Action(weak, "zoomInAction",
                                         [weak](base::Object *) {
                                             if (auto self = weak.lock())
                                                 self->zoomInAction();
                                         }),
                            ui::TouchUpInside);
    m_searchPopover = std::make_unique<OverlaySearchPopover>(weak, [weak] {
        if (auto self = weak.lock())
            self->popoverDismissedByTap();
    });
}

void StockDetailSwitchBar::SetSelectedItemIndex(int index, int group) {
    if (group != 0)
        return;
    for (int i = 0; i < normalCount; ++i)
        m_tabs[size_t(i)]->SetPressed(i == index ? 1 : 0);
}

base::Opt<void> StockDetailSwitchBar::ReturnSelectedItem(CMSlideMenuItem &item) {
    for (const auto &tab : m_tabs)
        tab->SetPressed(tab->tag == item.tag ? 1 : 0);
    if (auto d = delegate.lock())
        d->StockDetailBarSelectedIndex(item.tag - beginNormalTag, 0, *this);
    return {};
}

void StockDetailSwitchBar::getSearchResult(const std::string &text) {
    m_searchResultArray = StockSearchRule::search(text, StockSearchRule::OverlaySearch);
}

base::Opt<void> StockDetailSwitchBar::ReturnSearchFieldText(const std::string &text) {
    if (text.empty()) {
        m_searchPopover->show(m_stockBoardArray, *m_addSearchButton);
        return {};
    }
    getSearchResult(text);
    m_searchPopover->show(m_searchResultArray, *m_addSearchButton);
    return {};
}

base::Opt<void> StockDetailSwitchBar::ReturnSelectedStock(const std::string &code) {
    m_addSearchButton->DismissKeyPad();
    if (auto d = delegate.lock())
        d->ReturnSearchFieldText(code);
    m_searchPopover->dismiss();
    return {};
}

void StockDetailSwitchBar::popoverDismissedByTap() {
    m_addSearchButton->searchField().setText("");
    m_addSearchButton->DismissKeyPad();
}

void StockDetailSwitchBar::resetAction() {
    playResetRay(*m_resetTlineBtn);
    if (auto d = delegate.lock())
        d->ResetTechGraphicState();
}

void StockDetailSwitchBar::zoomInAction() {
    if (auto d = delegate.lock())
        d->ZoomInAction();
}
