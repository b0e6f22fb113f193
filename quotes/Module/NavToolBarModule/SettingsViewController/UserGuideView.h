#pragma once

#include "ui/Button.h"
#include "ui/PageControl.h"
#include "ui/ScrollView.h"
#include "ui/View.h"

// Hears the start button of the user guide.
class UserGuideViewDelegate {
public:
    virtual ~UserGuideViewDelegate() = default;
    virtual base::Opt<void> userGuideView_dismiss() { return base::notImplemented; }
};

// The user guide's four full-screen pages side by side in a paging scroll view, a page indicator
// that follows a swipe once it comes to rest, and on the last page the button that ends the guide.
class UserGuideView : public ui::View {
public:
    static constexpr int kPageCount = 4;
    static constexpr gfx::Size kPageSize{1024, 748};
    static inline const gfx::Rect kStartFrame{800, 644, 165, 52};
    static inline const gfx::Rect kPageControlFrame{452, 680, 100, 30};

    explicit UserGuideView(gfx::Rect frame);
    void setUp() override;

    void startAction();
    void scrollViewDidEndDecelerating();

    ui::ScrollView &bgScrollView() { return *m_bgScrollView; }
    ui::Button &startButton() { return *m_startButton; }
    ui::PageControl &pageCtrl() { return *m_pageCtrl; }

    base::Weak<UserGuideViewDelegate> delegate;

private:
    struct Scrolling;

    base::Ref<ui::ScrollView> m_bgScrollView;
    base::Ref<ui::Button> m_startButton;
    base::Ref<ui::PageControl> m_pageCtrl;
    base::Ref<Scrolling> m_scrolling;
};
