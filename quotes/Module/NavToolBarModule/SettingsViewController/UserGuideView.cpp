#include "Module/NavToolBarModule/SettingsViewController/UserGuideView.h"

#include "Common/UtilUI.h"

#include "base/Str.h"
#include "ui/ImageView.h"

#include <cmath>

struct UserGuideView::Scrolling : ui::ScrollViewDelegate {
    base::Weak<UserGuideView> guide;

    base::Opt<void> didEndDecelerating(ui::ScrollView &) override {
        if (auto g = guide.lock())
            g->scrollViewDidEndDecelerating();
        return {};
    }
};

UserGuideView::UserGuideView(gfx::Rect frame) : ui::View(frame), m_scrolling(base::make<Scrolling>()) {
    m_bgScrollView = base::make<ui::ScrollView>(gfx::Rect{0, 0, frame.width(), frame.height()});
    m_bgScrollView->pagingEnabled = true;
    m_bgScrollView->showsHorizontalScrollIndicator = false;
    m_bgScrollView->delegate = m_scrolling;
    for (int page = 0; page < kPageCount; ++page) {
        auto image =
            base::make<ui::ImageView>(gfx::Rect{kPageSize.w * float(page), 0, kPageSize.w, kPageSize.h},
                                      UtilUI::imageNamed(base::str::format("guide%d.jpg", page + 1)));
        if (page == kPageCount - 1) {
            image->userInteractionEnabled = true;
            m_startButton = ui::Button::custom(kStartFrame);
            m_startButton->setImage(gfx::Image::named("guideStart.png"));
            image->addSubview(m_startButton);
        }
        m_bgScrollView->addSubview(image);
    }
    m_bgScrollView->setContentSize({kPageSize.w * kPageCount, kPageSize.h});
    addSubview(m_bgScrollView);

    m_pageCtrl = base::make<ui::PageControl>(kPageControlFrame);
    m_pageCtrl->setNumberOfPages(kPageCount);
    m_pageCtrl->setCurrentPage(0);
    addSubview(m_pageCtrl);
}

void UserGuideView::setUp() {
    ui::View::setUp();
    m_scrolling->guide = weakSelf<UserGuideView>();
    base::Weak<UserGuideView> weak = m_scrolling->guide;
    m_startButton->addTarget(base::Action(weak, "startAction",
                                          [weak](base::Object *) {
                                              if (auto self = weak.lock())
                                                  self->startAction();
                                          }),
                             ui::TouchUpInside);
}

void UserGuideView::startAction() {
    if (auto d = delegate.lock())
        d->userGuideView_dismiss();
}

void UserGuideView::scrollViewDidEndDecelerating() {
    float width = m_bgScrollView->bounds().width();
    m_pageCtrl->setCurrentPage(int(std::floor((m_bgScrollView->contentOffset().x + width / 2) / width)));
}
