#pragma once

#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/View.h"

#include <string>

// A transient message box: a stretched box picture with a centred text, gone 2.5 s after its
// text is set. Until then its timer keeps it alive, so the creator may let go of it once a
// parent holds it.
class CMAlertView : public ui::View {
public:
    static constexpr double ShowSeconds = 2.5;

    explicit CMAlertView(gfx::Rect frame);

    // Shows the text and starts the count-down; a second text starts a second count-down, and
    // the first to end removes the box.
    void SetAlertInfoText(const std::string &text);

    ui::ImageView &backgroundImage() { return *backgroundImage_; }
    ui::Label &infoLabel() { return *infoLabel_; }

    void layoutSubviews() override;

private:
    void initUI(gfx::Rect rect);
    void WaitingForAlertShow();

    base::Ref<ui::ImageView> backgroundImage_;
    base::Ref<ui::Label> infoLabel_;
};
