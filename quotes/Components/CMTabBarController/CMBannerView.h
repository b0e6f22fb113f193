#pragma once

#include "base/Timer.h"
#include "ui/Gesture.h"
#include "ui/Label.h"
#include "ui/View.h"

// What the index and board banners share: their faces report taps, and the banner turns its two
// faces through a list of entries on a timer.

// Told which entry position a tapped face shows (optional).
class BannerFaceDelegate {
public:
    virtual ~BannerFaceDelegate() = default;
    virtual base::Opt<void> ReturnSelected(int) { return base::notImplemented; }
};

// The rise colour of the banners for a price less the previous close: pure red above 0, pure
// green below, white at 0.
base::Ref<gfx::Color> riseColour(float difference);

// A clear, centred, white bold label of the banners.
base::Ref<ui::Label> bannerLabel(float fontSize);

// One face of a banner: clear, and a tap reports `gridID`, the position in the banner's list of the
// entry shown, to the delegate.
class BannerFaceView : public ui::View {
public:
    explicit BannerFaceView(gfx::Rect frame);
    void setUp() override;

    base::Weak<BannerFaceDelegate> delegate;
    int gridID = 0;

private:
    void handleTapEvent();

    base::Ref<ui::TapRecognizer> tapRecognizer_;
};

// A banner of two faces that turns to the next entry every SwitchInterval once the first entries
// have arrived (the cycle then runs for the rest of the run). The first face shows until the first
// step, the second from then on; new entries refill the first, hidden, face and show at the next
// step. A subclass makes the faces, counts its entries and shows one on a face.
class CMBannerView : public ui::View, public BannerFaceDelegate {
public:
    static constexpr double SwitchInterval = 3.0;
    static constexpr double TransitionDuration = 1.0;

    void setUp() override;
    ~CMBannerView() override;

    void startSwitch();
    void switchStep();
    void layoutSubviews() override;

    int iIndex() const { return iIndex_; }

protected:
    // `transitionType` and `transitionSubtype` name the turn (ui::Transition's names).
    CMBannerView(gfx::Rect frame, const char *transitionType, const char *transitionSubtype);

    virtual base::Ref<BannerFaceView> makeFace(gfx::Rect frame) = 0;
    virtual size_t entryCount() const = 0;
    // Shows the entry at `index` (inside the list) on `face`.
    virtual void showEntry(BannerFaceView &face, size_t index) = 0;
    // New entries are in place: refills the first face and starts the cycle on the first entries.
    void entriesArrived();

    base::Ref<BannerFaceView> first_, second_;

private:
    // The entry at iIndex, or the first when iIndex lies outside the list.
    void fill(BannerFaceView &face);

    const char *transitionType_, *transitionSubtype_;
    base::Ref<base::Timer> timer_;
    int iIndex_ = 0;
};
