#pragma once

#include "ui/View.h"

#include <functional>
#include <vector>

namespace ui {

struct TabBarItem;

// The strip of tabs along the bottom of a tab-bar controller: each item's image above its title,
// the items side by side in the middle of the bar so that both ends stay free for the program's
// own strips. The selected item is lit. A tap on an item reports its index.
class TabBar : public View {
public:
    static constexpr float Height = 49, ItemWidth = 76, ItemGap = 24, ImageSize = 30;

    explicit TabBar(gfx::Rect frame = {});

    void setItems(std::vector<TabBarItem> items);
    const std::vector<TabBarItem> &items() const { return items_; }
    int selectedIndex() const { return selected_; }
    void setSelectedIndex(int index);
    // Where the item sits in the bar.
    gfx::Rect itemFrame(int index) const;

    std::function<void(int index)> onSelect;

    void drawRect(gfx::Context &context, gfx::Rect dirty) override;
    void touchesEnded(const TouchSet &touches, const Event &event) override;

private:
    std::vector<TabBarItem> items_;
    int selected_ = -1;
};

} // namespace ui
