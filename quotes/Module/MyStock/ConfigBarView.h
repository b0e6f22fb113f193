#pragma once

#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/View.h"

#include <cstdint>
#include <string>

// What the watch-list tool bar reports to its screen.
class ConfigBarViewDelegate {
public:
    virtual ~ConfigBarViewDelegate() = default;
    // Declared for a group list; the bar never sends it.
    virtual base::Opt<void> BtnMyStockListShowAction(ui::Button &sender) {
        (void)sender;
        return base::notImplemented;
    }
    virtual base::Opt<void> BtnEditMyStockAction(ui::Button &sender) {
        (void)sender;
        return base::notImplemented;
    }
    // A view-type button (tags 100-103) was chosen.
    virtual base::Opt<void> SwitchTabButtonAction(ui::Button &sender) {
        (void)sender;
        return base::notImplemented;
    }
    // A period tab (tags 200-205) was chosen.
    virtual base::Opt<void> SwitchCircleTabAction(ui::Button &sender) {
        (void)sender;
        return base::notImplemented;
    }
};

// The 36-point bar across the top of the watch-list screen: the group's name at the left (a title
// only, it does nothing when tapped), the edit button and four view-type buttons at the right, and
// in the grid view types six period tabs in the middle. The chosen button of each group is shown
// disabled, so that it draws its highlight and cannot be chosen again.
class ConfigBarView : public ui::View {
public:
    static constexpr int switchTabBtnNum = 4;
    static constexpr int switchCircleBtnNum = 6;
    static constexpr int modelTag = 100;
    static constexpr int circleTag = 200;
    static constexpr float EditWidth = 75, TabWidth = 42, CircleWidth = 80;

    explicit ConfigBarView(gfx::Rect frame);
    void setUp() override;
    // Moves the bar and its edit button.
    void reLayout(gfx::Rect frame);
    void layoutSubviews() override;

    void SetButtonListTitle(const std::string &title);
    void EnableTabBtn(bool show);
    void EnableCircleBtn(bool show);
    // Group 0 only: the period tab at the index becomes the chosen one.
    void SetSelectedCircleTabIndex(int index, int group);

    ui::Button &buttonList() { return *m_buttonList; }
    ui::Button &editButton() { return *m_editButton; }
    ui::Button *tabButton(int index);
    ui::Button *circleButton(int index);

    base::Weak<ConfigBarViewDelegate> delegate;
    uint8_t currentCircleEnabled = 1;

private:
    void switchModelAction(ui::Button *sender);
    void switchCircleAction(ui::Button *sender);
    void btnEditAction(ui::Button *sender);
    // Disables the sender among the group's buttons and enables the others.
    void selectInGroup(int firstTag, int count, const ui::Button &sender);
    void showGroup(int firstTag, int count, bool show);

    base::Ref<ui::ImageView> m_backgroundImageView;
    base::Ref<ui::Button> m_buttonList;
    base::Ref<ui::Button> m_editButton;
};
