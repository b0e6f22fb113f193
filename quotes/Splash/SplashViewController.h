#pragma once

#include "MainLoginView.h"
#include "NoticeAnnounceView.h"

#include "ui/ImageView.h"
#include "ui/ViewController.h"

// Told by the splash that the market login finished and that the closing animation ended.
class SplashViewControllerDelegate {
public:
    virtual ~SplashViewControllerDelegate() = default;
    virtual void ReturnLoginSuccess(bool isRelogin) = 0;
    virtual void AnimationFinished() = 0;
};

// The first screen of every run, and the screen of a market re-login over the running tabs: over
// a honeycomb picture it shows the first-run disclaimer while the user configuration's
// "IsShowNoticeAnnounce" is true, else the market login panel. When the login has finished it
// removes the panel, fades the small light out and tells its delegate; FinishSplashShow then
// fades the centre honeycomb in over 1.6 s and reports AnimationFinished, after which the
// application delegate removes the splash.
class SplashViewController : public ui::ViewController,
                             public MainLoginViewDelegate,
                             public NoticeAnnounceViewDelegate {
public:
    static constexpr double AnimationDuration = 1.6;
    static inline const gfx::Point LightCenter{509, 170};
    static inline const gfx::Point CenterHoneycombCenter{508, 311.5f};

    base::Weak<SplashViewControllerDelegate> delegate;
    bool isRelogin = false;
    // The closing animation has begun.
    bool isStopAnimation() const { return isStopAnimation_; }

    void viewDidLoad() override;

    base::Opt<void> IsAcceptNotice(NoticeAnnounceView &notice) override;
    void ReturnLoginSuccess(bool isRelogin) override;
    void FinishSplashShow();

    // The login panel while it is shown.
    const base::Ref<MainLoginView> &mainLoginView() const { return mainLoginView_; }
    ui::ImageView &lightView() { return *singleHoneycombLightImg_; }
    float animationDuration() const { return animationDuration_; }

private:
    void addLoginView();
    void StartAnimation();
    void CloseSplashAction();

    base::Ref<ui::ImageView> backgroundImageView_;
    base::Ref<ui::ImageView> singleHoneycombLightImg_;
    float animationDuration_ = AnimationDuration;
    bool isStopAnimation_ = false;
    base::Ref<MainLoginView> mainLoginView_;
};
