#include "SplashViewController.h"

#include "Common/UtilUI.h"
#include "Module/StockDataBaseMgnt/DataManager.h"

namespace {

// An image view of the bundle image's own size, centred on the point.
base::Ref<ui::ImageView> centredImage(const char *name, gfx::Point centre) {
    auto view = base::make<ui::ImageView>(gfx::Image::named(name));
    view->setCenter(centre);
    return view;
}

} // namespace

void SplashViewController::viewDidLoad() {
    animationDuration_ = AnimationDuration;
    isStopAnimation_ = false;
    mainLoginView_.reset();
    gfx::Rect full{0, 0, 1024, 768};
    view().setFrame(full);
    backgroundImageView_ = base::make<ui::ImageView>(full, UtilUI::imageNamed("splash_bg.png"));
    view().addSubview(backgroundImageView_);
    view().addSubview(
        base::make<ui::ImageView>(gfx::Rect{308, 104, 400, 415}, gfx::Image::named("honeycomb_splash.png")));
    singleHoneycombLightImg_ = centredImage("honeycomb_small.png", LightCenter);
    view().addSubview(singleHoneycombLightImg_);

    if (DataManager::sharedDataManager().gUserConfigDict.get("IsShowNoticeAnnounce").boolValue()) {
        auto notice = base::make<NoticeAnnounceView>(backgroundImageView_->frame());
        notice->delegate = weakSelf<SplashViewController>();
        view().addSubview(notice);
    } else {
        addLoginView();
    }
}

void SplashViewController::addLoginView() {
    mainLoginView_ = base::make<MainLoginView>(backgroundImageView_->frame());
    mainLoginView_->delegate = weakSelf<SplashViewController>();
    mainLoginView_->isRelogin = isRelogin;
    view().addSubview(mainLoginView_);
    mainLoginView_->TryDirectLogin();
}

base::Opt<void> SplashViewController::IsAcceptNotice(NoticeAnnounceView &notice) {
    DataManager &manager = DataManager::sharedDataManager();
    manager.gUserConfigDict.set("IsShowNoticeAnnounce", false);
    manager.SaveUserConfigFile();
    // The disclaimer goes after the panel is in place, so that the screen is never bare.
    base::Ref<ui::View> keep = notice.self<ui::View>();
    addLoginView();
    keep->removeFromSuperview();
    return {};
}

void SplashViewController::ReturnLoginSuccess(bool) {
    StartAnimation();
    if (mainLoginView_) {
        mainLoginView_->removeFromSuperview();
        mainLoginView_.reset();
    }
    if (auto listener = delegate.lock())
        listener->ReturnLoginSuccess(isRelogin);
}

void SplashViewController::StartAnimation() {
    base::Weak<SplashViewController> weak = weakSelf<SplashViewController>();
    ui::View::animate(
        animationDuration_, 0, ui::Curve::EaseInOut, [this] { singleHoneycombLightImg_->setAlpha(0); },
        [weak](bool) {
            if (auto alive = weak.lock(); alive && alive->isStopAnimation_)
                alive->singleHoneycombLightImg_->setHidden(true);
        });
}

void SplashViewController::FinishSplashShow() {
    isStopAnimation_ = true;
    auto centre = centredImage("honeycomb_center.png", CenterHoneycombCenter);
    centre->setAlpha(0);
    view().addSubview(centre);
    base::Weak<SplashViewController> weak = weakSelf<SplashViewController>();
    ui::View::animate(
        animationDuration_, 0, ui::Curve::EaseInOut, [centre] { centre->setAlpha(1); },
        [weak](bool) {
            if (auto alive = weak.lock())
                alive->CloseSplashAction();
        });
}

void SplashViewController::CloseSplashAction() {
    if (auto listener = delegate.lock())
        listener->AnimationFinished();
}
