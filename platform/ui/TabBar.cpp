#include "ui/TabBar.h"

#include "gfx/Gradient.h"
#include "gfx/Text.h"
#include "ui/ViewController.h"

namespace ui {

TabBar::TabBar(gfx::Rect frame) : View(frame) {
    autoresizingMask = FlexibleWidth | FlexibleTopMargin;
}

void TabBar::setItems(std::vector<TabBarItem> items) {
    items_ = std::move(items);
    if (selected_ >= int(items_.size()))
        selected_ = items_.empty() ? -1 : 0;
    setNeedsDisplay();
}

void TabBar::setSelectedIndex(int index) {
    if (index < -1 || index >= int(items_.size()) || index == selected_)
        return;
    selected_ = index;
    setNeedsDisplay();
}

gfx::Rect TabBar::itemFrame(int index) const {
    const float n = float(items_.size());
    const float total = n * ItemWidth + (n - 1) * ItemGap;
    const float x = (bounds().width() - total) / 2 + float(index) * (ItemWidth + ItemGap);
    return {x, 0, ItemWidth, Height};
}

void TabBar::drawRect(gfx::Context &c, gfx::Rect) {
    gfx::Rect b = bounds();
    c.drawLinearGradient(gfx::Gradient({{0, 0.22f, 0.22f, 0.24f, 1}, {1, 0.02f, 0.02f, 0.03f, 1}}),
                         {0, b.minY()}, {0, b.maxY()});
    c.setFill(*gfx::Color::white(0.35f));
    c.fillRect({b.minX(), b.minY(), b.width(), 1});
    auto font = gfx::Font::boldSystem(10);
    for (int i = 0; i < int(items_.size()); ++i) {
        const TabBarItem &item = items_[size_t(i)];
        gfx::Rect f = itemFrame(i);
        bool lit = i == selected_;
        if (lit) {
            c.setFill(*gfx::Color::white(1, 0.15f));
            c.beginPath();
            c.addRect(f.inset(2, 3));
            c.fillPath();
        }
        gfx::Rect image{f.midX() - ImageSize / 2, f.minY() + 4, ImageSize, ImageSize};
        if (item.image)
            c.drawImage(image, *item.image);
        gfx::Size s = gfx::measure(item.title, *font);
        c.setFill(lit ? *gfx::Color::white() : *gfx::Color::white(0.6f));
        c.drawText(item.title, gfx::Point{f.midX() - s.w / 2, f.maxY() - s.h - 2}, *font);
    }
}

void TabBar::touchesEnded(const TouchSet &touches, const Event &) {
    if (touches.empty())
        return;
    gfx::Point p = touches.front()->location(this);
    for (int i = 0; i < int(items_.size()); ++i)
        if (itemFrame(i).contains(p)) {
            if (onSelect)
                onSelect(i);
            return;
        }
}

} // namespace ui
