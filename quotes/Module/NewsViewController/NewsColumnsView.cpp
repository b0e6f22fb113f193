#include "Module/NewsViewController/NewsColumnsView.h"

#include "Module/NewsViewController/NewsViewController.h"

#include "Common/UtilUI.h"
#include "gfx/Color.h"
#include "gfx/Font.h"
#include "gfx/Text.h"

#include <algorithm>

struct NewsColumnsView::ScrollLink : ui::ScrollViewDelegate {
    base::Weak<NewsColumnsView> bar;
    base::Opt<void> didScroll(ui::ScrollView &scrollView) override {
        if (auto b = bar.lock())
            b->changeScrollTipStatus(scrollView);
        return {};
    }
};

NewsColumnsView::NewsColumnsView(gfx::Rect frame, base::Weak<NewsViewController> controller)
    : ui::View(frame), weakRefController(std::move(controller)) {}

void NewsColumnsView::setUp() {
    ui::View::setUp();
    const gfx::Rect area = bounds();
    addSubview(base::make<ui::ImageView>(area, UtilUI::imageNamed("news_columns_bg.png")));
    auto arrow = [&](const char *name, bool atLeft) {
        base::Ref<gfx::Image> image = UtilUI::imageNamed(name);
        gfx::Size size = image ? image->size() : gfx::Size{};
        float x = atLeft ? 0 : area.width() - size.w;
        auto tip =
            base::make<ui::ImageView>(gfx::Rect{x, (area.height() - size.h) / 2, size.w, size.h}, image);
        tip->setHidden(true);
        addSubview(tip);
        return tip;
    };
    leftTip_ = arrow("left_tip.png", true);
    rightTip_ = arrow("right_tip.png", false);
    const float arrowWidth = leftTip_->frame().width();
    scrollView_ =
        base::make<ui::ScrollView>(gfx::Rect{arrowWidth, 0, area.width() - 2 * arrowWidth, area.height()});
    scrollView_->setBackgroundColor(gfx::Color::clear());
    scrollView_->opaque = false;
    scrollView_->showsHorizontalScrollIndicator = false;
    scrollLink_ = base::make<ScrollLink>();
    scrollLink_->bar = weakSelf<NewsColumnsView>();
    scrollView_->delegate = scrollLink_;
    addSubview(scrollView_);
}

base::Ref<ui::Button> NewsColumnsView::createButtonWithTitle(const std::string &title) {
    base::Ref<gfx::Font> font = gfx::Font::boldSystem(TitleFontSize);
    gfx::Size text = gfx::measure(title, *font);
    float height = std::max(bounds().height(), text.h) - ButtonInset;
    auto button = ui::Button::custom({0, 0, text.w + TitlePadding, height});
    button->setTitle(title);
    button->titleLabel().setFont(font);
    button->setTitleColor(gfx::Color::white());
    button->setTitleColor(gfx::Color::rgba(60 / 255.f, 229 / 255.f, 239 / 255.f), ui::Selected);
    button->setBackgroundImage(UtilUI::imageNamed("news_column_highlighted.png"), ui::Selected);
    base::Weak<NewsColumnsView> weak = weakSelf<NewsColumnsView>();
    base::Weak<ui::Button> weakButton = button;
    button->addTarget(base::Action(weak, "onButtonClicked",
                                   [weak, weakButton](base::Object *) {
                                       auto bar = weak.lock();
                                       auto tapped = weakButton.lock();
                                       if (bar && tapped)
                                           bar->onButtonClicked(*tapped);
                                   }),
                      ui::TouchUpInside);
    return button;
}

void NewsColumnsView::updateColumns(const std::vector<base::Ref<NewsColumnItemInfo>> &columns) {
    if (!_columns.empty() && columns == _columns)
        return;
    _columns = columns;
    for (const base::Ref<ui::Button> &button : _buttons)
        button->removeFromSuperview();
    _buttons.clear();
    float x = 0;
    for (size_t i = 0; i < _columns.size(); ++i) {
        base::Ref<ui::Button> button = createButtonWithTitle(_columns[i]->cnName.value_or(""));
        gfx::Rect frame = button->frame();
        button->setFrame({x, 0, frame.width(), frame.height()});
        button->tag = int(i);
        button->setSelected(i == 0);
        x += frame.width();
        scrollView_->addSubview(button);
        _buttons.push_back(button);
    }
    if (x > scrollView_->bounds().width())
        scrollView_->setContentSize({x, bounds().height()});
    changeScrollTipStatus(*scrollView_);
    setNeedsDisplay();
    if (!_columns.empty())
        procButtonClickedAtIndex(0);
}

void NewsColumnsView::changeScrollTipStatus(ui::ScrollView &scrollView) {
    const float offset = scrollView.contentOffset().x;
    leftTip_->setHidden(!(offset > 0));
    rightTip_->setHidden(!(offset < scrollView.contentSize().w - scrollView.bounds().width()));
}

void NewsColumnsView::onButtonClicked(ui::Button &button) {
    for (const base::Ref<ui::Button> &other : _buttons)
        other->setSelected(other.get() == &button);
    procButtonClickedAtIndex(size_t(button.tag));
}

void NewsColumnsView::procButtonClickedAtIndex(size_t index) {
    auto screen = weakRefController.lock();
    if (screen && index < _columns.size())
        screen->openColumnList(_columns[index]->lisrUrl.value_or(""));
}
