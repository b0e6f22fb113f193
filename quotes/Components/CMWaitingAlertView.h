#pragma once

#include "ui/ActivityIndicator.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/View.h"

#include <cstdint>
#include <string>

// A busy indicator laid over a region of a screen while data loads: a spinner alone (type 1), or
// a box picture with a spinner and a text (type 0). It never takes touches, so the screen behind
// stays usable. Its parts stay centred in the size it was made with, wherever it is moved.
class CMWaitingAlertView : public ui::View {
public:
    static constexpr const char *DefaultText = "加载中...";

    explicit CMWaitingAlertView(gfx::Rect frame);

    gfx::Rect alertFrame() const { return alertFrame_; }
    void setAlertFrame(gfx::Rect frame) { alertFrame_ = frame; }
    int16_t alertType() const { return alertType_; }

    // Builds what the current type needs; parts already built are kept.
    void initUI(gfx::Rect rect);
    // The box with the text ("加载中..." for an empty one) in the system font of the size (15
    // points for 0), and the spinner turning.
    void StartAlertWithInfo(const std::string &info, float fontSize);
    // The spinner alone, turning.
    void StartAlert();
    void StopWaitingAlert();
    void SetCoverRect(gfx::Rect rect) { setFrame(rect); }
    // Touches always reach the views behind.
    void EnableTouchBackground() {}

    // Empty until built.
    const base::Ref<ui::ActivityIndicator> &activityIndicator() const { return activityIndicator_; }
    const base::Ref<ui::ImageView> &backgroundImage() const { return backgroundImage_; }
    const base::Ref<ui::Label> &infoLabel() const { return infoLabel_; }

    void layoutSubviews() override;

    // Moves an existing indicator to the rectangle, or lays a new spinner over it in the parent,
    // which then holds the only reference. Callers keep the answer without retaining it and hand
    // it back to move or stop the indicator.
    static base::Weak<CMWaitingAlertView> StartWaitingAlert(const base::Weak<CMWaitingAlertView> &existing,
                                                            ui::View &parentView, gfx::Rect rect);
    // Over the whole of the parent.
    static base::Weak<CMWaitingAlertView> StartWaitingAlert(const base::Weak<CMWaitingAlertView> &existing,
                                                            ui::View &parentView);
    // The box with the text in 12 points instead of the spinner alone.
    static base::Weak<CMWaitingAlertView> StartWaitingAlert(const base::Weak<CMWaitingAlertView> &existing,
                                                            ui::View &parentView, gfx::Rect rect,
                                                            const std::string &text);
    // Nothing happens for an indicator that is gone.
    static void StopWaitingAlert(const base::Weak<CMWaitingAlertView> &view);

private:
    gfx::Rect alertFrame_;
    int16_t alertType_ = 0;
    base::Ref<ui::ActivityIndicator> activityIndicator_;
    base::Ref<ui::ImageView> backgroundImage_;
    base::Ref<ui::Label> infoLabel_;
};
