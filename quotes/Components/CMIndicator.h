#pragma once

#include "ui/ImageView.h"
#include "ui/View.h"

// What the slider hears from its marker. Optional.
class CMIndicatorDelegate {
public:
    virtual ~CMIndicatorDelegate() = default;
    // The finger left the marker at x, in the slider's coordinates.
    virtual base::Opt<void> ReturnXscale(float x) {
        (void)x;
        return base::notImplemented;
    }
};

// The slider's marker ("vernier.png"): it follows a dragging finger sideways within its limits
// and reports where the finger lifted, so that the slider can snap it to a tick.
class CMIndicator : public ui::View {
public:
    // How far beyond its limits a lift may still be reported.
    static constexpr float LiftMargin = 21;

    explicit CMIndicator(gfx::Rect frame);

    float leftLimit = 0, rightLimit = 0;
    base::Weak<CMIndicatorDelegate> delegate;

    ui::ImageView &indicatorImage() { return *indicatorImage_; }

    void touchesMoved(const ui::TouchSet &touches, const ui::Event &event) override;
    void touchesEnded(const ui::TouchSet &touches, const ui::Event &event) override;

private:
    // The touch's x in the slider's coordinates.
    float sliderX(const ui::Touch &touch) const;

    base::Ref<ui::ImageView> indicatorImage_;
};
