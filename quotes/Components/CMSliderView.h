#pragma once

#include "Components/CMIndicator.h"
#include "ui/ImageView.h"
#include "ui/View.h"

#include <string>
#include <vector>

// What the owner of a slider hears. Optional.
class CMSliderViewDelegate {
public:
    virtual ~CMSliderViewDelegate() = default;
    // The user tapped or dragged the marker to a tick, 0 to count - 1.
    virtual base::Opt<void> SelectedIndicator(int index) {
        (void)index;
        return base::notImplemented;
    }
};

// A scale of labelled ticks with a marker that the user drags or taps to a tick; on release the
// marker snaps to the nearest tick and the owner is told its index. The detail screen and the
// full-screen chart pick the candle period with it.
class CMSliderView : public ui::View, public CMIndicatorDelegate {
public:
    static constexpr float LeftSpace = 21;
    static constexpr int BeginLabelNum = 1400, BeginTagNum = 1500;
    static constexpr gfx::Size IndicatorSize{22, 38}, LabelSize{60, 14}, MarkSize{2, 7};
    static constexpr float MarkerY = 10, LabelCentreY = 35, MarkY = 8;
    static constexpr double TapSeconds = 0.2;

    static base::Ref<CMSliderView> create(gfx::Rect frame);

    // One tick per text; fewer than two texts make no ticks and leave the marker at the start.
    void SetTagArray(const std::vector<std::string> &texts);
    // Centres the marker on the tick without telling the delegate.
    void SetIndicatorAtIndex(int index);
    // Snaps the marker to the tick nearest x (a point half-way goes to the higher tick, and
    // points beyond either end to that end) and tells the delegate; nothing without two ticks.
    void MoveIndicator(float x);
    // Lays the ticks and the marker out again for the current width.
    void ResetUI();

    int count() const { return count_; }
    float width() const { return pitch_; }
    int currentSelIndex() const { return currentSelIndex_; }
    CMIndicator &indicator() { return *indicator_; }
    base::Weak<CMSliderViewDelegate> delegate;

    base::Opt<void> ReturnXscale(float x) override;
    void layoutSubviews() override;
    void touchesBegan(const ui::TouchSet &touches, const ui::Event &event) override;

protected:
    explicit CMSliderView(gfx::Rect frame);

private:
    void initUI(gfx::Rect rect);
    float tickX(int index) const { return LeftSpace + float(index) * pitch_; }
    void placeTick(int index);

    base::Ref<ui::ImageView> backgroundImage_, sliderBgImage_;
    base::Ref<CMIndicator> indicator_;
    int count_ = 0;
    float pitch_ = 0;
    int currentSelIndex_ = 0;
};
