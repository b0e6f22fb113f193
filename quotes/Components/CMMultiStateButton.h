#pragma once

#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/View.h"

#include <array>

// What the owner of a multi-state button hears. Both operations are optional.
class CMMultiStateButtonDelegate {
public:
    virtual ~CMMultiStateButtonDelegate() = default;
    // The choices have finished unfolding.
    virtual base::Opt<void> OnExpandFlower(int exrightDate) {
        (void)exrightDate;
        return base::notImplemented;
    }
    // The choices have folded back after the user picked a state (also the current one).
    virtual base::Opt<void> ReturnSelectedButtonIndex(int index, int exrightDate) {
        (void)index, (void)exrightDate;
        return base::notImplemented;
    }
};

// A small button showing one of three states (no, forward or backward ex-rights adjustment). A tap
// unfolds the three choices around it like a flower: the control grows to 3w × 2h with the current
// button staying where it was on screen, the choices above, left and right of it, and a bubble
// naming the state. A tap on a choice folds them back and reports it. The candlestick chart places
// one on every ex-rights event.
class CMMultiStateButton : public ui::View {
public:
    static constexpr int BeginTag = 1600;
    static constexpr int StateCount = 3;
    static constexpr double UnfoldSeconds = 0.1, ChooseSeconds = 0.3, ShrinkSeconds = 0.1;
    static constexpr gfx::Size BubbleSize{70, 25}, NameSize{62, 20};

    static base::Ref<CMMultiStateButton> create(gfx::Rect frame);

    // Shows the state's name and picture; a state outside 0 to 2 clears both.
    void SetCurrentSate(int state);
    // Folds the choices away without choosing; nothing while they are folded or folding.
    void ShrinkState();
    // Whether the choices are folded (or on their way to it after a choice or ShrinkState).
    bool isShrinkState() const { return leftButton_->isHidden(); }
    void PinchState() {}

    int buttonTag() const { return buttonTag_; }
    int beginTag() const { return BeginTag; }
    int exrightDate() const { return exrightDate_; }
    void setExrightDate(int date) { exrightDate_ = date; }
    base::Weak<CMMultiStateButtonDelegate> delegate;

    ui::Button &currOrientButton() { return *currOrientButton_; }
    ui::Button &choice(int state) { return *choices_[size_t(state)]; }
    ui::ImageView &tipImage() { return *tipImage_; }
    ui::Label &nameLabel() { return *nameLabel_; }

protected:
    explicit CMMultiStateButton(gfx::Rect frame);

private:
    enum class Phase { Folded, Unfolding, Unfolded, Folding };

    void initUI(gfx::Rect rect);
    void CurrentOrientButtonAction(ui::Button *sender);
    void OrientButtonAction(ui::Button *sender);
    void finishedPinchFlower();
    // Moves the choices back onto the current button; `choose` reports the state at the end.
    void fold(double seconds, bool choose);
    void finishedShrink(bool choose);

    std::array<base::Ref<ui::Button>, StateCount> choices_;
    base::Ref<ui::Button> leftButton_, currOrientButton_;
    base::Ref<ui::ImageView> tipImage_;
    base::Ref<ui::Label> nameLabel_;
    int buttonTag_ = 0;
    int exrightDate_ = 0;
    gfx::Size cell_;
    Phase phase_ = Phase::Folded;
};
