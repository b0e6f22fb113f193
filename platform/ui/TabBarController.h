#pragma once

#include "ui/TabBar.h"
#include "ui/ViewController.h"

#include <vector>

namespace ui {

class TabBarController;

struct TabBarControllerDelegate : base::Object {
    // Asked when the user taps a tab; "no" keeps the current one.
    virtual base::Opt<bool> shouldSelect(TabBarController &, ViewController &) {
        return base::notImplemented;
    }
    // Sent after the user's tap changed the tab (not after a change by the program).
    virtual base::Opt<void> didSelect(TabBarController &, ViewController &) { return base::notImplemented; }
};

// Screens side by side behind a tab bar: the selected one fills the area above the 49-point bar.
// Setting the controllers loads no view (the tab bar takes each one's tab item then); the selected
// screen's view is loaded when it is shown.
// Views the program adds to the controller's view (tool bars, splash and help overlays) stay above
// the screens and the bar, whichever tab is selected. Selecting another tab tells the old screen
// it disappears and the new one that it appears, when the tab-bar controller itself shows.
//
// The delegate is not retained; one that is gone is skipped.
class TabBarController : public ViewController {
public:
    TabBarController();
    ~TabBarController() override;

    // Animation is not offered: the change is always immediate. An index past the new list
    // selects the first tab.
    void setViewControllers(std::vector<base::Ref<ViewController>> controllers, bool animated = false);
    const std::vector<base::Ref<ViewController>> &viewControllers() const { return controllers_; }
    // -1 when there are no tabs.
    int selectedIndex() const { return selected_; }
    // An index out of range does nothing.
    void setSelectedIndex(int index);
    ViewController *selectedController() const;
    void setSelectedController(ViewController &controller);

    TabBar &tabBar() { return *tabBar_; }
    base::Weak<TabBarControllerDelegate> delegate;

    ViewController *visibleChild() const override { return selectedController(); }
    void loadView() override;

private:
    // Puts the selected screen's view in the screen area.
    void showSelected();
    void userSelected(int index);

    std::vector<base::Ref<ViewController>> controllers_;
    base::Ref<TabBar> tabBar_;
    base::Ref<View> screens_;
    int selected_ = -1;
};

} // namespace ui
