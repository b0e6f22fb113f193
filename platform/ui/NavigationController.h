#pragma once

#include "ui/NavigationBar.h"
#include "ui/ViewController.h"

#include <vector>

namespace ui {

class NavigationController;

struct NavigationControllerDelegate : base::Object {
    virtual base::Opt<void> willShow(NavigationController &, ViewController &, bool) {
        return base::notImplemented;
    }
    virtual base::Opt<void> didShow(NavigationController &, ViewController &, bool) {
        return base::notImplemented;
    }
};

// A stack of screens under a navigation bar: the top one shows below the bar, the others wait
// with their views out of the window. Push and pop slide the screens sideways over 0.35 s when
// animated; the screen coming in is told it appears and the one going out that it disappears, when
// the navigation controller itself shows. An operation that comes while a slide runs first ends
// the slide. Pushing a controller that is on a stack or in another container, and popping the
// root, do nothing. Inside a popover the popover takes the size of the screen on top.
//
// The delegate is not retained; one that is gone is skipped.
class NavigationController : public ViewController {
public:
    static constexpr double SlideDuration = 0.35;

    explicit NavigationController(base::Ref<ViewController> root);
    ~NavigationController() override;

    void push(base::Ref<ViewController> controller, bool animated);
    // The controller taken off, or nullptr when only the root is left.
    base::Ref<ViewController> pop(bool animated);
    // The controllers taken off, the one nearest the root first.
    std::vector<base::Ref<ViewController>> popToRoot(bool animated);
    std::vector<base::Ref<ViewController>> popTo(ViewController &controller, bool animated);

    const std::vector<base::Ref<ViewController>> &viewControllers() const { return stack_; }
    ViewController *top() const { return stack_.back().get(); }
    // The top controller, or what it presents.
    ViewController *visible() const;
    // Every controller of the stack that is a T, the root first.
    template <class T> std::vector<T *> controllersOf() const {
        std::vector<T *> found;
        for (auto &c : stack_)
            if (auto *t = dynamic_cast<T *>(c.get()))
                found.push_back(t);
        return found;
    }

    NavigationBar &navigationBar() { return *bar_; }
    bool isNavigationBarHidden() const { return barHidden_; }
    void setNavigationBarHidden(bool hidden, bool animated);
    base::Weak<NavigationControllerDelegate> delegate;

    // The room the top screen gets below the bar.
    gfx::Rect contentFrame();
    ViewController *visibleChild() const override { return top(); }
    void loadView() override;
    void setUp() override;

private:
    class ContainerView;
    // Puts `incoming` in place of `outgoing`, sliding from the side of `forward`.
    void show(base::Ref<ViewController> outgoing, ViewController &incoming, bool forward, bool animated);
    void finishSlide();
    void layout();
    std::vector<base::Ref<ViewController>> popDownTo(size_t keep, bool animated);

    std::vector<base::Ref<ViewController>> stack_;
    base::Ref<NavigationBar> bar_;
    bool barHidden_ = false;
    // What ends the running slide; empty when none runs.
    std::function<void()> slideEnd_;
};

} // namespace ui
