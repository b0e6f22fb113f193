#pragma once

#include "ui/Gesture.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/View.h"

class CMSlideMenuItem;

// What the owner of a tab hears. Optional.
class CMSlideMenuItemDelegate {
public:
    virtual ~CMSlideMenuItemDelegate() = default;
    virtual base::Opt<void> ReturnSelectedItem(CMSlideMenuItem &item) {
        (void)item;
        return base::notImplemented;
    }
};

// One tab: a normal and a pressed picture and a white bold title, each filling the tab. A tap is
// reported to the delegate; the owner decides which tab looks pressed.
class CMSlideMenuItem : public ui::View {
public:
    static base::Ref<CMSlideMenuItem> create(gfx::Rect frame);

    // 0 shows the normal look, 1 the pressed look; other values change nothing.
    void SetPressed(unsigned pressed);
    bool isPressed() const { return normalImage_->isHidden(); }

    ui::ImageView &normalImage() { return *normalImage_; }
    ui::ImageView &pressedImage() { return *pressedImage_; }
    ui::Label &titleLabel() { return *titleLabel_; }
    base::Weak<CMSlideMenuItemDelegate> delegate;

    void layoutSubviews() override;

protected:
    explicit CMSlideMenuItem(gfx::Rect frame);

private:
    void initData();
    void initUI(gfx::Rect rect);
    void handleTapEvent(ui::GestureRecognizer *sender);

    base::Ref<ui::ImageView> normalImage_, pressedImage_;
    base::Ref<ui::Label> titleLabel_;
    base::Ref<ui::TapRecognizer> tapRecognizer_;
};
