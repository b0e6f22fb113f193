#include "ui/NavigationItem.h"

#include "gfx/Text.h"
#include "ui/Button.h"
#include "ui/NavigationBar.h"

namespace ui {

namespace {

constexpr float ButtonHeight = 30, ButtonPadding = 10, MinButtonWidth = 48;

} // namespace

base::Ref<BarButtonItem> BarButtonItem::custom(base::Ref<View> view) {
    auto item = base::make<BarButtonItem>();
    item->view_ = std::move(view);
    item->custom_ = true;
    return item;
}

base::Ref<BarButtonItem> BarButtonItem::titled(std::string title, Style style, base::Action action) {
    auto item = base::make<BarButtonItem>();
    item->title_ = std::move(title);
    item->style_ = style;
    item->action_ = std::move(action);
    return item;
}

base::Ref<BarButtonItem> BarButtonItem::system(SystemItem which, base::Action action) {
    return which == SystemItem::Done ? titled(DoneTitle, Style::Done, std::move(action))
                                     : titled(CancelTitle, Style::Bordered, std::move(action));
}

void BarButtonItem::setEnabled(bool enabled) {
    enabled_ = enabled;
    if (auto *b = dynamic_cast<Button *>(view_.get()); b && !custom_) {
        b->setEnabled(enabled);
        b->setAlpha(enabled ? 1 : 0.5f);
    }
}

const base::Ref<View> &BarButtonItem::view() {
    if (view_)
        return view_;
    auto font = gfx::Font::boldSystem(12);
    float width = std::max(MinButtonWidth, gfx::measure(title_, *font).w + 2 * ButtonPadding);
    auto button = Button::custom({0, 0, width, ButtonHeight});
    button->setTitle(title_);
    button->setTitleColor(gfx::Color::white());
    button->titleLabel().setFont(font);
    if (style_ != Style::Plain) {
        button->setBackgroundColor(style_ == Style::Done ? gfx::Color::rgba(0.16f, 0.38f, 0.85f, 1)
                                                         : gfx::Color::white(1, 0.12f));
        button->layer().cornerRadius = 5;
        button->layer().borderWidth = 1;
        button->layer().borderColor = gfx::Color::white(0, 0.45f);
    }
    button->addTarget(base::Action(weakSelf(), "press", [this](base::Object *) { press(); }), TouchUpInside);
    view_ = button;
    setEnabled(enabled_);
    return view_;
}

void BarButtonItem::press() {
    if (enabled_)
        action_(this);
}

void NavigationItem::changed() {
    if (bar_)
        bar_->refresh();
}

void NavigationItem::setTitle(std::string title) {
    title_ = std::move(title);
    changed();
}

void NavigationItem::setTitleView(base::Ref<View> view) {
    titleView_ = std::move(view);
    changed();
}

void NavigationItem::setLeftItem(base::Ref<BarButtonItem> item) {
    left_ = std::move(item);
    changed();
}

void NavigationItem::setRightItem(base::Ref<BarButtonItem> item) {
    right_ = std::move(item);
    changed();
}

void NavigationItem::setBackItem(base::Ref<BarButtonItem> item) {
    back_ = std::move(item);
    changed();
}

void NavigationItem::setHidesBackButton(bool hides) {
    hidesBack_ = hides;
    changed();
}

void NavigationItem::setPrompt(std::string prompt) {
    prompt_ = std::move(prompt);
    changed();
}

} // namespace ui
