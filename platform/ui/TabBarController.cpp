#include "ui/TabBarController.h"

#include <algorithm>

namespace ui {

TabBarController::TabBarController() = default;

TabBarController::~TabBarController() {
    for (auto &c : controllers_)
        if (c->parent() == this)
            release(*c);
}

void TabBarController::loadView() {
    gfx::Rect frame = Screen::main().applicationFrame();
    auto view = base::make<View>(frame);
    gfx::Rect b{0, 0, frame.width(), frame.height()};
    screens_ = base::make<View>(gfx::Rect{0, 0, b.width(), b.height() - TabBar::Height});
    screens_->autoresizingMask = FlexibleWidth | FlexibleHeight;
    screens_->clipsToBounds = true;
    tabBar_ = base::make<TabBar>(gfx::Rect{0, b.height() - TabBar::Height, b.width(), TabBar::Height});
    std::vector<TabBarItem> items;
    for (auto &c : controllers_)
        items.push_back(c->tabBarItem());
    tabBar_->setItems(items);
    tabBar_->setSelectedIndex(selected_);
    base::Weak<TabBarController> weak = weakSelf<TabBarController>();
    tabBar_->onSelect = [weak](int index) {
        if (auto t = weak.lock())
            t->userSelected(index);
    };
    view->addSubview(screens_);
    view->addSubview(tabBar_);
    setView(view);
    showSelected();
}

void TabBarController::setViewControllers(std::vector<base::Ref<ViewController>> controllers, bool) {
    std::erase(controllers, nullptr);
    // Held here: the list may have been the last owner of the screen that leaves.
    base::Ref<ViewController> old = selectedController() ? controllers_[size_t(selected_)] : nullptr;
    const bool showing = isShowing();
    for (auto &c : controllers_)
        if (c->parent() == this)
            release(*c);
    controllers_.clear();
    for (auto &c : controllers)
        if (!c->parent() && std::find(controllers_.begin(), controllers_.end(), c) == controllers_.end()) {
            adopt(*c);
            controllers_.push_back(c);
        }
    if (controllers_.empty())
        selected_ = -1;
    else if (selected_ < 0 || selected_ >= int(controllers_.size()))
        selected_ = 0;
    if (tabBar_) {
        std::vector<TabBarItem> items;
        for (auto &c : controllers_)
            items.push_back(c->tabBarItem());
        tabBar_->setItems(items);
        tabBar_->setSelectedIndex(selected_);
    }
    ViewController *now = selectedController();
    if (old.get() != now && old && showing) {
        old->beginAppearance(false, false);
        if (old->isViewLoaded())
            old->view().removeFromSuperview();
        old->endAppearance(false);
    }
    if (isViewLoaded())
        showSelected();
}

ViewController *TabBarController::selectedController() const {
    return selected_ >= 0 && selected_ < int(controllers_.size()) ? controllers_[size_t(selected_)].get()
                                                                  : nullptr;
}

void TabBarController::setSelectedController(ViewController &controller) {
    auto it = std::find_if(controllers_.begin(), controllers_.end(),
                           [&](auto &c) { return c.get() == &controller; });
    if (it != controllers_.end())
        setSelectedIndex(int(it - controllers_.begin()));
}

void TabBarController::setSelectedIndex(int index) {
    if (index < 0 || index >= int(controllers_.size()) || index == selected_)
        return;
    ViewController *old = selectedController();
    const bool showing = isShowing();
    if (old && showing)
        old->beginAppearance(false, false);
    if (old && old->isViewLoaded() && old->view().superview() == screens_.get())
        old->view().removeFromSuperview();
    selected_ = index;
    if (tabBar_)
        tabBar_->setSelectedIndex(index);
    if (old && showing)
        old->endAppearance(false);
    if (isViewLoaded())
        showSelected();
}

void TabBarController::showSelected() {
    ViewController *c = selectedController();
    if (!c || !screens_)
        return;
    const base::Ref<View> &v = c->viewRef();
    if (v->superview() == screens_.get())
        return;
    v->setFrame(screens_->bounds());
    v->autoresizingMask = FlexibleWidth | FlexibleHeight;
    const bool showing = isShowing();
    if (showing)
        c->beginAppearance(true, false);
    screens_->addSubview(v);
    if (showing)
        c->endAppearance(false);
}

void TabBarController::userSelected(int index) {
    if (index < 0 || index >= int(controllers_.size()))
        return;
    base::Ref<ViewController> target = controllers_[size_t(index)];
    auto d = delegate.lock();
    if (d && !d->shouldSelect(*this, *target).valueOr(true))
        return;
    setSelectedIndex(index);
    if (d)
        d->didSelect(*this, *target);
}

} // namespace ui
