#include "Module/MyStock/ConfigBarView.h"

#include "gfx/Font.h"

namespace {

constexpr const char *TabImages[ConfigBarView::switchTabBtnNum][2] = {
    {"listdef_normal.png", "listdef_highlight.png"},
    {"list_normal.png", "list_highlight.png"},
    {"grids_normal.png", "grids_highlight.png"},
    {"grids_6_normal.png", "grids_6_highlight.png"}};
constexpr const char *CircleTitles[ConfigBarView::switchCircleBtnNum] = {"今日", "15分", "60分",
                                                                         "日K",  "周K",  "月K"};

base::Ref<gfx::Image> stretched(const char *name, int caps) {
    base::Ref<gfx::Image> image = gfx::Image::named(name);
    return image ? image->stretchable(caps, caps) : nullptr;
}

} // namespace

ConfigBarView::ConfigBarView(gfx::Rect frame) : ui::View(frame) {
    float w = frame.width(), h = frame.height();
    m_backgroundImageView =
        base::make<ui::ImageView>(gfx::Rect{0, 0, w, h}, gfx::Image::named("configbar_bg.png"));
    addSubview(m_backgroundImageView);

    m_buttonList = ui::Button::custom({0, 3, 110, 28});
    m_buttonList->titleLabel().setFont(gfx::Font::boldSystem(18));
    m_buttonList->setTitle("My Stocks");
    addSubview(m_buttonList);

    m_editButton = ui::Button::custom({w - EditWidth, 3, EditWidth, 28});
    m_editButton->setBackgroundImage(stretched("configbar_btn.png", 4));
    m_editButton->setTitle("编辑");
    addSubview(m_editButton);

    for (int i = 0; i < switchTabBtnNum; ++i) {
        auto button = ui::Button::custom();
        button->tag = modelTag + i;
        button->setBackgroundImage(gfx::Image::named(TabImages[i][0]));
        button->setBackgroundImage(gfx::Image::named(TabImages[i][1]), ui::Disabled);
        button->setEnabled(i != 0);
        addSubview(button);
    }
    for (int i = 0; i < switchCircleBtnNum; ++i) {
        auto button = ui::Button::custom();
        button->tag = circleTag + i;
        button->titleLabel().setFont(gfx::Font::boldSystem(15));
        button->setBackgroundColor(gfx::Color::clear());
        button->setTitle(CircleTitles[i]);
        button->setTitleColor(gfx::Color::rgba(1, 198 / 255.f, 21 / 255.f));
        button->setTitleColor(gfx::Color::rgba(10 / 255.f, 66 / 255.f, 101 / 255.f), ui::Disabled);
        button->setBackgroundImage(stretched("tab_bg_highlight.png", 18), ui::Disabled);
        button->setEnabled(i != 0);
        button->setHidden(true);
        addSubview(button);
    }
    layoutSubviews();
}

void ConfigBarView::setUp() {
    ui::View::setUp();
    m_editButton->addTarget(BASE_ACTION(this, btnEditAction), ui::TouchUpInside);
    for (int i = 0; i < switchTabBtnNum; ++i)
        tabButton(i)->addTarget(BASE_ACTION(this, switchModelAction), ui::TouchUpInside);
    for (int i = 0; i < switchCircleBtnNum; ++i)
        circleButton(i)->addTarget(BASE_ACTION(this, switchCircleAction), ui::TouchUpInside);
}

void ConfigBarView::reLayout(gfx::Rect frame) {
    setFrame(frame);
    m_editButton->setFrame({frame.width() - EditWidth, 3, EditWidth, 28});
}

void ConfigBarView::layoutSubviews() {
    ui::View::layoutSubviews();
    float w = bounds().width();
    for (int i = 0; i < switchTabBtnNum; ++i)
        tabButton(i)->setFrame({w - 122 - TabWidth * float(3 - i), 3, TabWidth, 30});
    for (int i = 0; i < switchCircleBtnNum; ++i)
        circleButton(i)->setFrame({(w - 480) / 2 + CircleWidth * float(i), 7, CircleWidth, 27});
}

ui::Button *ConfigBarView::tabButton(int index) {
    return dynamic_cast<ui::Button *>(viewWithTag(modelTag + index));
}

ui::Button *ConfigBarView::circleButton(int index) {
    return dynamic_cast<ui::Button *>(viewWithTag(circleTag + index));
}

void ConfigBarView::SetButtonListTitle(const std::string &title) {
    m_buttonList->setTitle(title);
}

void ConfigBarView::EnableTabBtn(bool show) {
    currentCircleEnabled = show;
    showGroup(modelTag, switchTabBtnNum, show);
}

void ConfigBarView::EnableCircleBtn(bool show) {
    currentCircleEnabled = show;
    showGroup(circleTag, switchCircleBtnNum, show);
}

void ConfigBarView::SetSelectedCircleTabIndex(int index, int group) {
    if (group != 0)
        return;
    for (int i = 0; i < switchCircleBtnNum; ++i)
        circleButton(i)->setEnabled(i != index);
}

void ConfigBarView::showGroup(int firstTag, int count, bool show) {
    for (int i = 0; i < count; ++i)
        if (ui::View *button = viewWithTag(firstTag + i))
            button->setHidden(!show);
}

void ConfigBarView::selectInGroup(int firstTag, int count, const ui::Button &sender) {
    for (int i = 0; i < count; ++i)
        if (auto *button = dynamic_cast<ui::Button *>(viewWithTag(firstTag + i)))
            button->setEnabled(button != &sender);
}

void ConfigBarView::switchModelAction(ui::Button *sender) {
    if (!sender)
        return;
    selectInGroup(modelTag, switchTabBtnNum, *sender);
    if (auto d = delegate.lock())
        d->SwitchTabButtonAction(*sender);
}

void ConfigBarView::switchCircleAction(ui::Button *sender) {
    if (!sender)
        return;
    selectInGroup(circleTag, switchCircleBtnNum, *sender);
    if (auto d = delegate.lock())
        d->SwitchCircleTabAction(*sender);
}

void ConfigBarView::btnEditAction(ui::Button *sender) {
    if (auto d = delegate.lock(); d && sender)
        d->BtnEditMyStockAction(*sender);
}
