#pragma once

#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/View.h"

#include <cstdint>
#include <string>

// Hears the bar's buttons; the tag tells them apart (1201 the market menu, 1204 the display mode).
class ConfigMarketBarViewDelegate {
public:
    virtual ~ConfigMarketBarViewDelegate() = default;
    virtual base::Opt<void> PerformAction(ui::Button &button) {
        (void)button;
        return base::notImplemented;
    }
    virtual base::Opt<void> BackAction(ui::Button &button) {
        (void)button;
        return base::notImplemented;
    }
};

// The 36-point bar above a market list: the market menu button captioned with the market shown,
// the display-mode button at the right end and, for drill-downs, a hidden back button and board
// name. The mode button flips its picture on every tap before it tells the list; it follows its
// own taps, not the list's mode.
class ConfigMarketBarView : public ui::View {
public:
    static constexpr int MenuButtonTag = 1201;
    static constexpr int ModeButtonTag = 1204;
    static constexpr int BackButtonTag = 1212;
    static inline const gfx::Rect MenuButtonFrame{0, 3, 190, 28};
    static constexpr const char *MiniTrendModeImage = "list_singleMode.png";
    static constexpr const char *ColumnModeImage = "listDef_singleMode.png";

    explicit ConfigMarketBarView(gfx::Rect frame);
    void setUp() override;

    void SetLeftButtonListTitle(const std::string &title);
    void SetRightButtonListTitle(const std::string &) {}
    // 1 shows, 0 hides the mode button; other values nothing.
    void SetModeButtonShow(int show);
    void reLayout(gfx::Rect frame);

    ui::Button &leftButton() { return *m_leftButton; }
    ui::Button &changeModeButton() { return *m_changeModeButton; }
    ui::Button &backButton() { return *m_backButton; }
    ui::Label &boardNameLabel() { return *m_boardNameLabel; }
    uint8_t modeState() const { return m_modeState; }

    base::Weak<ConfigMarketBarViewDelegate> delegate;

private:
    void leftButtonAction(ui::Button *button);
    void changeModeAction(ui::Button *button);
    void backButtonAction(ui::Button *button);

    base::Ref<ui::ImageView> m_backgroundImageView;
    base::Ref<ui::Button> m_leftButton, m_changeModeButton, m_backButton;
    base::Ref<ui::Label> m_boardNameLabel;
    uint8_t m_modeState = 1;
};
