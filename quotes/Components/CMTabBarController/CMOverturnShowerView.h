#pragma once

#include "base/Timer.h"
#include "base/Value.h"
#include "ui/Gesture.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/View.h"

#include <string>

// Told the address of the headline the user tapped (optional).
class CMOverturnShowerViewDelegate {
public:
    virtual ~CMOverturnShowerViewDelegate() = default;
    virtual base::Opt<void> EnterNewsDetail(const std::string &) { return base::notImplemented; }
};

// The headline marquee above the banners: a "最新资讯" plate and one headline at a time. Items are
// dictionaries {"title", "url", "otime"} shown as "<otime> <title>". Every 6.0 s the headline fades
// out (0.3 s), the next one is put in and fades in (0.3 s), so each stays about 6.6 s. The cycle
// starts with the first item ever added; when it finds the list empty it stops with the label
// faded out, and the next item added starts it again from the first item.
class CMOverturnShowerView : public ui::View {
public:
    static constexpr double SwitchInterval = 6.0;
    static constexpr double FadeDuration = 0.3;
    static constexpr float TitleX = 93;

    explicit CMOverturnShowerView(gfx::Rect frame);
    void setUp() override;
    ~CMOverturnShowerView() override;

    base::Weak<CMOverturnShowerViewDelegate> delegate;

    void addTitleToArray(const base::Value &item);
    // Empties the list; a running cycle goes on and ends at its next step.
    void removeAllTitle();
    // "%@ %@" of the item's "otime" (empty when absent) and "title"; "--" outside the list.
    std::string getNewsTitle(int index) const;
    void startSwitch();
    void switchStep();
    void didSwitchStep();
    void layoutSubviews() override;

    int switchIndex() const { return switchIndex_; }
    const base::Array &titleArray() const { return titleArray_; }
    ui::Label &switchTitleLabel() { return *switchTitleLabel_; }
    bool isCycling() const { return cycling_; }

private:
    // Puts the item in and fades it in; the next wait starts when it shows.
    void showItem(int index);
    // Fades the title to `alpha` along `curve`, then calls `then` (while the view lives).
    void fadeTitle(float alpha, ui::Curve curve, void (CMOverturnShowerView::*then)());
    void handleTapEvent();

    base::Ref<base::Timer> timer_;
    base::Ref<ui::Label> switchTitleLabel_;
    base::Array titleArray_;
    int switchIndex_ = 0;
    bool isFirstShow_ = true;
    // A flip cycle is under way (waiting, fading out or in).
    bool cycling_ = false;
    base::Ref<ui::ImageView> imageView_;
    base::Ref<ui::TapRecognizer> tapRecognizer_;
};
