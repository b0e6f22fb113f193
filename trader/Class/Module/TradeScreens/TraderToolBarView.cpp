#include "Class/Module/TradeScreens/TraderToolBarView.h"

TraderToolBarView::TraderToolBarView(gfx::Rect frame) : ui::View(frame) {
    setBackgroundColor(gfx::Color::rgba(0.1f, 0.11f, 0.13f));
}

void TraderToolBarView::ShowTraderToolBar() {
    auto parent = m_parent.lock();
    if (!parent)
        return;
    gfx::Rect shown = frame();
    setFrame(shown.offset(shown.width(), 0));
    parent->view().addSubview(self<ui::View>());
    ui::View::animate(SlideDuration, [this, shown] { setFrame(shown); });
}

void TraderToolBarView::DismissTraderToolBarWithSubiew() {
    base::Weak<TraderToolBarView> weak = weakSelf<TraderToolBarView>();
    gfx::Rect shown = frame();
    ui::View::animate(
        SlideDuration, [this, shown] { setFrame(shown.offset(shown.width(), 0)); },
        [weak, shown](bool) {
            if (auto alive = weak.lock()) {
                alive->removeFromSuperview();
                alive->setFrame(shown);
                alive->m_isHidden = true;
            }
        });
}
