#pragma once

#include "Module/Market/MarketTableBaseView.h"

#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/View.h"

#include <cstdint>
#include <string>

// Hears the board bar's buttons. Both carry the tag 1212, so the operation tells them apart.
class BoardModelConfigBarViewDelegate {
public:
    virtual ~BoardModelConfigBarViewDelegate() = default;
    // The mode button.
    virtual base::Opt<void> PerformAction(ui::Button &button) {
        (void)button;
        return base::notImplemented;
    }
    // The back button of a drill-down.
    virtual base::Opt<void> BackAction(ui::Button &button) {
        (void)button;
        return base::notImplemented;
    }
};

// The 36-point bar above the board list: the mode button at the right end and, while a board is
// drilled into, a back button, the board's name and its rise. The mode button's picture follows its
// own taps, with one state for every board bar of the process (`MarketProcessMarks`), so a bar
// made again keeps it.
class BoardModelConfigBarView : public ui::View {
public:
    static constexpr int ButtonTag = 1212;
    static constexpr const char *MiniTrendModeImage = "list_singleMode.png";
    static constexpr const char *ColumnModeImage = "listDef_singleMode.png";

    explicit BoardModelConfigBarView(gfx::Rect frame);
    void setUp() override;

    // Keeps the sort direction, 0 or 1; other values change nothing. The bar shows no sort control.
    void SetRankOrientationType(int type);
    void reLayout(gfx::Rect) {}
    void SetRightButtonListTitle(const std::string &) {}

    ui::Button &backButton() { return *m_backButton; }
    ui::Button &changeModeButton() { return *m_changeModeButton; }
    ui::Label &boardNameLabel() { return *m_boardNameLabel; }
    ui::Label &boardRangeLabel() { return *m_boardRangeLabel; }
    uint8_t isUpdown() const { return m_isUpdown; }

    base::Weak<BoardModelConfigBarViewDelegate> delegate;

private:
    void changeModeAction(ui::Button *button);
    void backButtonAction(ui::Button *button);

    base::Ref<ui::ImageView> m_backgroundImageView;
    base::Ref<ui::Button> m_backButton, m_changeModeButton;
    base::Ref<ui::Label> m_boardNameLabel, m_boardRangeLabel;
    uint8_t m_isUpdown = 0;
};
