#pragma once

#include "ui/NavigationItem.h"
#include "ui/View.h"

#include <functional>
#include <vector>

namespace ui {

// The bar across the top of a navigation screen: it shows the top item of its stack of navigation
// items (title or title view, left and right items, prompt) and, when the top item has no left
// item and something lies below it, a back button titled after the item below. Views the program
// adds to the bar itself stay where they were put, above the bar's own.
//
// A bar of a navigation controller follows that controller's stack; a bar on its own keeps a stack
// of its own (pushItem, popItem) and its back button pops it.
class NavigationBar : public View {
public:
    static constexpr float Height = 44, PromptHeight = 30;
    enum class Style { Default, Black };

    explicit NavigationBar(gfx::Rect frame = {});
    ~NavigationBar() override;

    const base::Ref<gfx::Color> &tint() const { return tint_; }
    void setTint(base::Ref<gfx::Color> tint);
    Style barStyle() const { return style_; }
    void setBarStyle(Style style);

    const std::vector<base::Ref<NavigationItem>> &items() const { return items_; }
    void setItems(std::vector<base::Ref<NavigationItem>> items);
    NavigationItem *topItem() const { return items_.empty() ? nullptr : items_.back().get(); }
    NavigationItem *backItem() const { return items_.size() < 2 ? nullptr : items_[items_.size() - 2].get(); }
    // An item already on the bar is not pushed again; the last item is never popped (nullptr).
    void pushItem(base::Ref<NavigationItem> item);
    base::Ref<NavigationItem> popItem();

    // What the back button does; by default it pops the top item.
    std::function<void()> onBack;
    // The back button on show, if any (for hosts and tests).
    View *backButton() const { return back_.get(); }

    // 44 points high, 74 with a prompt.
    gfx::Size sizeThatFits(gfx::Size size) const override;
    void layoutSubviews() override;
    void drawRect(gfx::Context &context, gfx::Rect dirty) override;

private:
    friend class NavigationItem;
    // Puts the top item's views on the bar in place of the last item's.
    void refresh();
    void place(View &view, float x);

    base::Ref<gfx::Color> tint_;
    Style style_ = Style::Default;
    std::vector<base::Ref<NavigationItem>> items_;
    std::vector<base::Ref<View>> shown_;
    base::Ref<View> back_, title_;
    base::Ref<BarButtonItem> backButtonItem_;
};

} // namespace ui
