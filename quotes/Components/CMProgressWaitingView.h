#pragma once

#include "base/Timer.h"
#include "ui/ImageView.h"
#include "ui/View.h"

// A thin strip of a red, a yellow and a blue segment of which one is hidden in turn every 0.3 s
// while something runs. The running timer keeps the strip alive: stop it before letting go.
class CMProgressWaitingView : public ui::View {
public:
    static constexpr double StepSeconds = 0.3;

    explicit CMProgressWaitingView(gfx::Rect frame);

    // Starts the steps, or stops them when they already run.
    void StartAnimating();
    void StopAnimating();
    bool isAnimating() const;
    int iStep() const { return iStep_; }

    ui::ImageView &redImageView() { return *redImageView_; }
    ui::ImageView &yellowImageView() { return *yellowImageView_; }
    ui::ImageView &blueImageView() { return *blueImageView_; }

private:
    void initUI(gfx::Rect rect);
    void switchAction(base::Timer *timer);

    base::Ref<ui::ImageView> redImageView_, yellowImageView_, blueImageView_;
    int iStep_ = 0;
    // The run loop holds the timer while it runs.
    base::Weak<base::Timer> timer_;
};
