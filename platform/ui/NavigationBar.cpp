#include "ui/NavigationBar.h"

#include "gfx/Gradient.h"
#include "gfx/Text.h"
#include "ui/Label.h"

#include <algorithm>

namespace ui {

namespace {

constexpr float SideInset = 5, TitleGap = 10;

base::Ref<gfx::Color> defaultTint() {
    return gfx::Color::rgba(0.43f, 0.52f, 0.62f, 1);
}

} // namespace

NavigationBar::NavigationBar(gfx::Rect frame) : View(frame) {
    autoresizingMask = FlexibleWidth;
}

NavigationBar::~NavigationBar() {
    for (auto &item : items_)
        if (item->bar_ == this)
            item->bar_ = nullptr;
}

void NavigationBar::setTint(base::Ref<gfx::Color> tint) {
    tint_ = std::move(tint);
    setNeedsDisplay();
}

void NavigationBar::setBarStyle(Style style) {
    style_ = style;
    setNeedsDisplay();
}

void NavigationBar::setItems(std::vector<base::Ref<NavigationItem>> items) {
    for (auto &item : items_)
        if (item->bar_ == this)
            item->bar_ = nullptr;
    items_.clear();
    for (auto &item : items)
        if (item && std::find(items_.begin(), items_.end(), item) == items_.end()) {
            item->bar_ = this;
            items_.push_back(item);
        }
    refresh();
}

void NavigationBar::pushItem(base::Ref<NavigationItem> item) {
    if (!item || std::find(items_.begin(), items_.end(), item) != items_.end())
        return;
    item->bar_ = this;
    items_.push_back(std::move(item));
    refresh();
}

base::Ref<NavigationItem> NavigationBar::popItem() {
    if (items_.size() < 2)
        return nullptr;
    base::Ref<NavigationItem> item = std::move(items_.back());
    items_.pop_back();
    if (item->bar_ == this)
        item->bar_ = nullptr;
    refresh();
    return item;
}

void NavigationBar::refresh() {
    for (auto &v : shown_)
        if (v->superview() == this)
            v->removeFromSuperview();
    shown_.clear();
    back_ = title_ = nullptr;
    NavigationItem *top = topItem();
    if (top) {
        base::Ref<View> left;
        if (top->leftItem()) {
            left = top->leftItem()->view();
        } else if (NavigationItem *below = backItem(); below && !top->hidesBackButton()) {
            std::string text = below->backItem() ? below->backItem()->title() : below->title();
            auto item = BarButtonItem::titled(text.empty() ? NavigationItem::DefaultBackTitle : text,
                                              BarButtonItem::Style::Bordered,
                                              base::Action(weakSelf(), "back", [this](base::Object *) {
                                                  if (onBack)
                                                      onBack();
                                                  else
                                                      popItem();
                                              }));
            back_ = left = item->view();
            backButtonItem_ = item;
        }
        if (top->titleView()) {
            title_ = top->titleView_;
        } else {
            auto label = base::make<Label>();
            label->setText(top->title());
            label->setFont(gfx::Font::boldSystem(20));
            label->setTextColor(gfx::Color::white());
            label->setShadowColor(gfx::Color::white(0, 0.5f));
            label->setTextAlignment(gfx::Align::Center);
            title_ = label;
        }
        for (auto &v : {left, title_, top->rightItem() ? top->rightItem()->view() : base::Ref<View>()})
            if (v)
                shown_.push_back(v);
    }
    for (size_t i = 0; i < shown_.size(); ++i)
        insertSubview(shown_[i], i);
    setNeedsLayout();
    setNeedsDisplay();
}

gfx::Size NavigationBar::sizeThatFits(gfx::Size size) const {
    NavigationItem *top = topItem();
    return {size.w, Height + (top && !top->prompt().empty() ? PromptHeight : 0)};
}

void NavigationBar::place(View &view, float x) {
    NavigationItem *top = topItem();
    float rowTop = top && !top->prompt().empty() ? PromptHeight : 0;
    gfx::Rect f = view.frame();
    float rowHeight = std::max(0.f, bounds().height() - rowTop);
    view.setFrame({x, rowTop + (rowHeight - f.height()) / 2, f.width(), f.height()});
}

void NavigationBar::layoutSubviews() {
    NavigationItem *top = topItem();
    if (!top)
        return;
    const float w = bounds().width();
    float leftEdge = SideInset, rightEdge = w - SideInset;
    View *left = top->leftItem() ? top->leftItem()->view().get() : back_.get();
    if (left) {
        place(*left, SideInset);
        leftEdge = left->frame().maxX() + TitleGap;
    }
    if (top->rightItem()) {
        View &right = *top->rightItem()->view();
        place(right, w - SideInset - right.frame().width());
        rightEdge = right.frame().minX() - TitleGap;
    }
    if (!title_)
        return;
    if (auto *label = dynamic_cast<Label *>(title_.get()); label && !top->titleView()) {
        float room = std::max(0.f, rightEdge - leftEdge);
        float width = std::min(room, gfx::measure(label->text(), *label->font()).w + 2);
        label->setFrame({0, 0, width, Height});
    }
    // Centred on the bar, pushed aside by the items when they are in the way.
    float width = title_->frame().width();
    float x = std::clamp((w - width) / 2, leftEdge, std::max(leftEdge, rightEdge - width));
    place(*title_, x);
}

void NavigationBar::drawRect(gfx::Context &c, gfx::Rect) {
    gfx::Rect b = bounds();
    auto tint = style_ == Style::Black ? gfx::Color::white(0.12f) : tint_ ? tint_ : defaultTint();
    auto shade = [&](float k) -> gfx::Gradient::Stop {
        return {0, std::clamp(tint->r() * k, 0.f, 1.f), std::clamp(tint->g() * k, 0.f, 1.f),
                std::clamp(tint->b() * k, 0.f, 1.f), tint->a()};
    };
    gfx::Gradient::Stop top = shade(1.25f), bottom = shade(0.8f);
    bottom.offset = 1;
    c.drawLinearGradient(gfx::Gradient({top, bottom}), {0, b.minY()}, {0, b.maxY()});
    c.setFill(*gfx::Color::white(0, 0.5f));
    c.fillRect({b.minX(), b.maxY() - 1, b.width(), 1});
    NavigationItem *item = topItem();
    if (item && !item->prompt().empty()) {
        c.setFill(*gfx::Color::white());
        auto font = gfx::Font::system(13);
        gfx::Size s = gfx::measure(item->prompt(), *font);
        c.drawText(item->prompt(), gfx::Point{(b.width() - s.w) / 2, (PromptHeight - s.h) / 2}, *font);
    }
}

} // namespace ui
