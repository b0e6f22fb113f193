#pragma once

#include "base/Value.h"
#include "ui/Button.h"
#include "ui/PickerView.h"
#include "ui/ViewController.h"

#include <array>
#include <string>

// What the host of the indicator settings hears: the chosen indicator with its parameter records
// ({"ParamName", "Parameter"}). Optional.
class PopTechSettingsControllerDelegate {
public:
    virtual ~PopTechSettingsControllerDelegate() = default;
    virtual base::Opt<void> ReturnSelectedTechName(const std::string &techName,
                                                   const base::Array &paramArray) {
        (void)techName, (void)paramArray;
        return base::notImplemented;
    }
};

// The popover through which the user picks the candlestick chart's indicator and edits its
// parameters. A tap on one of ten indicator buttons reports it at once. "参数设置" shows a wheel
// per parameter (values 1 to 99); "恢复默认" puts the bundle's values back; "应用" saves the whole
// edited list to "CustomTechIndexSettings.plist" in the documents directory, where the indicator
// engine reads it, and reports the indicator. A failed save shows the tip "文件保存失败"; the
// edited list is still reported and kept in memory. Edits not applied stay in memory, unsaved.
// The bundle list "TechIndexSettings" holds one record {"TechName", "Params", "Introduction"} per
// button; records are found by their "TechName".
class PopTechSettingsController : public ui::ViewController {
public:
    static constexpr int TechCount = 10;
    static constexpr std::array<const char *, TechCount> TechTitles{"VOL", "DMA", "MA",  "MACD", "BIAS",
                                                                    "CCI", "KDJ", "W&R", "RSI",  "BOLL"};
    static constexpr int BeginTag = 400, LabelTagBase = 600;
    static constexpr float Width = 280, RowHeight = 40;
    static constexpr int MinParameter = 1, MaxParameter = 99;
    static constexpr gfx::Size ContentSize{300, 150};
    static constexpr const char *SaveFailedTip = "文件保存失败";

    PopTechSettingsController();

    void viewDidLoad() override;
    bool shouldAutorotateTo(ui::Orientation) override { return true; }

    // Makes indicator n the current one: its button disabled, every other enabled.
    void SetCurrentSelTech(int index);
    // Back to the buttons: picker, "恢复默认", "应用" and the name labels away.
    void ResetCurrentSettings();

    base::Weak<PopTechSettingsControllerDelegate> delegate;
    // The popover presenting this screen, kept for the host.
    base::Weak<base::Object> popoverVCParent;

    int currentIndex() const { return currentIndex_; }
    int componentCount() const { return componentCount_; }
    float rowWidth() const { return rowWidth_; }
    const base::Array &techIndexArray() const { return techIndexArray_; }
    const base::Array &defaultTechIndexArray() const { return defaultTechIndexArray_; }
    // Empty until the view loads (buttons) or the parameter mode is first used (picker).
    ui::Button *techButton(int index) const;
    ui::Button *paramSetBtn() const { return paramSetBtn_.get(); }
    ui::Button *defaultBtn() const { return defaultBtn_.get(); }
    ui::Button *applyBtn() const { return applyBtn_.get(); }
    ui::PickerView *paramPickerView() const { return paramPickerView_.get(); }

private:
    struct Wheels;
    struct Turns;

    void initData();
    void initUI();
    base::Ref<ui::Button> GenerateTechButton(const std::string &title, gfx::Rect frame);
    base::Ref<ui::Button> makeBarButton(const std::string &title, gfx::Rect frame,
                                        void (PopTechSettingsController::*action)(ui::Button *));
    void EnableButtons(bool show);
    void techButtonAction(ui::Button *sender);
    void paramSettingsAction(ui::Button *sender);
    void resetDefault(ui::Button *sender);
    void applyAction(ui::Button *sender);
    void SetSelectedTech(const std::string &techName);
    void layoutTitleLabels(const base::Array &params);
    // Turns each wheel to its parameter's value.
    void showParams(const base::Array &params, bool animated);
    void didSelectRow(int row, int component);
    // Index of the record named like the indicator button, in a list; −1 when none.
    static int recordIndex(const base::Array &list, const std::string &techName);
    // The current indicator's record of the working list, found by its button's title.
    base::Value currentRecord() const;
    void report();
    static int rowFor(int64_t parameter);

    base::Array defaultTechIndexArray_;
    base::Array techIndexArray_;
    std::array<base::Ref<ui::Button>, TechCount> techButtons_;
    base::Ref<ui::Button> paramSetBtn_, defaultBtn_, applyBtn_;
    base::Ref<ui::PickerView> paramPickerView_;
    base::Ref<Wheels> wheels_;
    base::Ref<Turns> turns_;
    int endTag_ = BeginTag;
    float rowWidth_ = Width;
    int componentCount_ = 0;
    int currentIndex_ = 0;
    int currTechSelIndex_ = BeginTag + 1;
};
