#pragma once

#include "ui/Animator.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/View.h"

#include <string>

class CMProgressWaitingView;

// The stages of a panel's showing and dismissal, heard by the trading tool bar. All optional.
class TradeBaseViewDelegate {
public:
    virtual ~TradeBaseViewDelegate() = default;
    // The slide-in has started.
    virtual base::Opt<void> ShowResponse() { return base::notImplemented; }
    // The slide-in has ended.
    virtual base::Opt<void> ShowFinishedAnimationResponse() { return base::notImplemented; }
    // The slide-out is about to start.
    virtual base::Opt<void> DismissResponse() { return base::notImplemented; }
    // The panel has left its parent view.
    virtual base::Opt<void> DismissFinishedAnimationResponse() { return base::notImplemented; }
};

// The base of every panel the trading tool bar opens beside itself (order, queries, transfers,
// settings): a title bar with a close button, a full-screen button and the title, a thin waiting
// indicator under it, and the 0.15 s push slides in and out under the layer key "animation". The
// tool bar makes the panel, sets its parent view, itself as tool bar and delegate and the title,
// and calls ShowView; from then on the parent view holds the panel until DismissView removes it.
//
// Subclasses set up their data in initData and build their controls in initUI, calling
// GenTitleBar there first; setUp runs the two once the panel is owned. The base gives the two
// buttons no action.
class TradeBaseView : public ui::View {
public:
    static constexpr double kSlideDuration = 0.15;
    static constexpr const char *kAnimationKey = "animation";
    static constexpr float kTitleBarHeight = 40;

    explicit TradeBaseView(gfx::Rect frame);
    ~TradeBaseView() override;
    void setUp() override;

    // Builds the close and full-screen buttons, the title and the waiting indicator inside `rect`.
    // The title is white for the dark panels; a panel on a light background darkens it.
    void GenTitleBar(gfx::Rect rect);
    // Adds the panel to its parent view (under the tool bar) and slides it in.
    void ShowView();
    // Slides the panel out and removes it.
    void DismissView();
    void StartWaitingAlert();
    void StopWaitingAlert();

    base::Weak<TradeBaseViewDelegate> delegate;
    base::Weak<ui::View> parentView;
    base::Weak<ui::View> toolBarView;

    // Present once the title bar is built.
    ui::Label *titleLabel() const { return m_titleLabel.get(); }
    ui::Button *closeButton() const { return m_closeButton.get(); }
    ui::Button *zoomInButton() const { return m_zoomInButton.get(); }
    CMProgressWaitingView *progressView() const { return m_progressView.get(); }
    void setTitle(const std::string &title);
    // True while the last slide started was a showing.
    bool isStartEnd() const { return m_isStartEnd; }

protected:
    virtual void initData() {}
    virtual void initUI(gfx::Rect frame) { (void)frame; }
    // DismissView is starting: what the panel opened beside itself goes with it.
    virtual void panelWillDismiss() {}
    // Makes the close button call DismissView.
    void closeButtonDismisses();
    // The action calls `member` on this panel while it lives.
    template <class T> base::Action action(const char *name, void (T::*member)()) {
        base::Weak<T> weak = weakSelf<T>();
        return base::Action(name, [weak, member](base::Object *) {
            if (auto alive = weak.lock())
                ((*alive).*member)();
        });
    }

private:
    struct SlideRelay;
    void slide(ui::Transition::From from);
    void animationDidStop();

    bool m_isStartEnd = false;
    base::Ref<CMProgressWaitingView> m_progressView;
    base::Ref<ui::Label> m_titleLabel;
    base::Ref<ui::Button> m_closeButton, m_zoomInButton;
    base::Ref<SlideRelay> m_slideRelay;
};
