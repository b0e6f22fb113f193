#pragma once

#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/View.h"

#include <string_view>

// A full-screen help overlay: a picture, tip buttons that show one tip at a time, and a close
// button near the bottom edge that takes the overlay away.
class CMHelpView : public ui::View {
public:
    static constexpr int BeginHelpBtnTag = 300;

    static base::Ref<CMHelpView> create(gfx::Rect frame);

    // The showing screen puts its help picture here.
    ui::ImageView &backgroundImage() { return *backgroundImage_; }
    ui::Button &closeButton() { return *closeButton_; }
    int beginHelpBtnTag() const { return BeginHelpBtnTag; }
    int countMaskBtn() const { return countMaskBtn_; }

    // Adds a tip button showing the picture, tagged from 300 in the order of adding.
    void SetTipButtonWithImage(std::string_view imageName, gfx::Rect imgFrame);

protected:
    explicit CMHelpView(gfx::Rect frame);

private:
    void initUI(gfx::Rect rect);
    void CloseButtonAction(ui::Button *sender);
    // Hides the tapped tip and shows all the others.
    void MaskButtonAction(ui::Button *sender);

    base::Ref<ui::ImageView> backgroundImage_;
    base::Ref<ui::Button> closeButton_;
    int countMaskBtn_ = 0;
};
