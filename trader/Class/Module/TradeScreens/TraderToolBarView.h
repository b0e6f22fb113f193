#pragma once

#include "ui/View.h"
#include "ui/ViewController.h"

// The vertical trading tool bar at the right edge of the tab-bar controller's view, so far the part
// the application delegate drives: it is shown into its parent controller's view sliding in from
// the right, and dismissed sliding out, after which it removes itself and raises its own hidden
// flag. Its buttons and panels belong to the trading screens.
class TraderToolBarView : public ui::View {
public:
    static constexpr double SlideDuration = 0.3;

    explicit TraderToolBarView(gfx::Rect frame);

    // The controller whose view hosts the bar; not retained.
    void setParentHandler(base::Weak<ui::ViewController> parent) { m_parent = std::move(parent); }
    // The bar's own flag: false while shown, true once its dismissal has finished (the view's
    // hidden state is another matter).
    bool isToolBarHidden() const { return m_isHidden; }
    void setIsHidden(bool hidden) { m_isHidden = hidden; }

    // Adds the bar to the parent's view and slides it in; nothing without a parent.
    void ShowTraderToolBar();
    // Slides the bar out; when that ends it leaves the view and its flag is raised.
    void DismissTraderToolBarWithSubiew();

private:
    base::Weak<ui::ViewController> m_parent;
    bool m_isHidden = true;
};
