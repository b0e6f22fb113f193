#pragma once

#include "base/VirtualClock.h"
#include "ui/NavigationController.h"
#include "ui/Popover.h"
#include "ui/TabBarController.h"
#include "ui/Window.h"

#include <string>
#include <vector>

namespace ui::testing {

// The screens the controller stand-ins are checked with, both offscreen and in the SDL window: a
// tab screen whose navigation bar has a title view and a custom right item, a popover holding a
// navigation controller, a cross-dissolve caught halfway, a form sheet holding a grouped table. Each scene is
// built on the window and left as it should be drawn; time moves only through the clock given.
class Scenes {
public:
    Scenes(Window &window, base::VirtualClock &clock);
    ~Scenes();

    // The names the goldens carry.
    static std::vector<std::string> names();
    // Builds the named scene on the window; false for an unknown name.
    bool build(const std::string &name);

    TabBarController &tabs() { return *tabs_; }
    NavigationController &navigation() { return *nav_; }

private:
    void tabScreen();

    Window &window_;
    base::VirtualClock &clock_;
    base::Ref<TabBarController> tabs_;
    base::Ref<NavigationController> nav_;
    std::vector<base::Ref<Popover>> popovers_;
    std::vector<base::Ref<ViewController>> presented_;
};

} // namespace ui::testing
