#pragma once

#include "base/Action.h"
#include "ui/View.h"

#include <functional>
#include <string>

namespace ui {

class NavigationBar;

// A button of a navigation bar: a custom view the program made, or a drawn button with a title
// (plain, bordered, or the done style), or one of the system's items. A tap on a drawn button runs
// the action with the item as sender; a custom view handles its own touches.
class BarButtonItem : public base::Object {
public:
    enum class Style { Plain, Bordered, Done };
    enum class SystemItem { Done, Cancel };
    // The system items' titles.
    static constexpr const char *DoneTitle = "完成", *CancelTitle = "取消";

    static base::Ref<BarButtonItem> custom(base::Ref<View> view);
    static base::Ref<BarButtonItem> titled(std::string title, Style style, base::Action action);
    static base::Ref<BarButtonItem> system(SystemItem item, base::Action action);

    const std::string &title() const { return title_; }
    Style style() const { return style_; }
    View *customView() const { return custom_ ? view_.get() : nullptr; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);

    // What the bar shows: the custom view, or the drawn button (made once).
    const base::Ref<View> &view();
    // What a tap on the drawn button does.
    void press();

private:
    std::string title_;
    Style style_ = Style::Plain;
    base::Action action_;
    base::Ref<View> view_;
    bool custom_ = false;
    bool enabled_ = true;
};

// What a navigation bar shows for one screen: a title (or a view in its place), items on the left
// and right, an optional prompt line above, and the back button the next screen's bar offers.
// Changes show at once on the bar that carries the item.
class NavigationItem : public base::Object {
public:
    explicit NavigationItem(std::string title = {}) : title_(std::move(title)) {}

    const std::string &title() const { return title_; }
    void setTitle(std::string title);
    View *titleView() const { return titleView_.get(); }
    void setTitleView(base::Ref<View> view);
    BarButtonItem *leftItem() const { return left_.get(); }
    void setLeftItem(base::Ref<BarButtonItem> item);
    BarButtonItem *rightItem() const { return right_.get(); }
    void setRightItem(base::Ref<BarButtonItem> item);
    // The button shown on the next screen's bar to come back here; empty for the default, which
    // carries this item's title (or "返回" without one).
    BarButtonItem *backItem() const { return back_.get(); }
    void setBackItem(base::Ref<BarButtonItem> item);
    bool hidesBackButton() const { return hidesBack_; }
    void setHidesBackButton(bool hides);
    // A line of text above the title; a bar with a prompt is taller.
    const std::string &prompt() const { return prompt_; }
    void setPrompt(std::string prompt);

    static constexpr const char *DefaultBackTitle = "返回";

private:
    friend class NavigationBar;
    void changed();

    std::string title_, prompt_;
    base::Ref<View> titleView_;
    base::Ref<BarButtonItem> left_, right_, back_;
    bool hidesBack_ = false;
    NavigationBar *bar_ = nullptr;
};

} // namespace ui
