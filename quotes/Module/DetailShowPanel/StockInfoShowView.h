#pragma once

#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/View.h"

// Hears the buttons of the info header; each operation is optional and gets the tapped button.
class StockInfoShowViewDelegate {
public:
    virtual ~StockInfoShowViewDelegate() = default;
    // The add button's tag says what a tap means: 1 add to the watch-list, 2 remove.
    virtual base::Opt<void> AddNewStockAction(ui::Button &sender) {
        (void)sender;
        return base::notImplemented;
    }
    virtual base::Opt<void> PrevStockAction(ui::Button &sender) {
        (void)sender;
        return base::notImplemented;
    }
    virtual base::Opt<void> NextStockAction(ui::Button &sender) {
        (void)sender;
        return base::notImplemented;
    }
};

// The left block of the detail screen's header: the security's name and code, its last price in
// large type with change and change percentage, an arrow for the direction, the watch-list button
// and the previous/next buttons. Rise shows red with "up.png", fall green with "down.png", no
// change white with "equal.png". Built once for the size it is made with: the labels stay where
// they are, only the buttons follow the size.
class StockInfoShowView : public ui::View {
public:
    static constexpr int AddTag = 1, RemoveTag = 2;

    explicit StockInfoShowView(gfx::Rect frame);
    void setUp() override;

    // Only the sign counts; not a number changes nothing.
    void SetUpDown(float change);
    void SetAddMyStockStatus(bool inMyStock);
    void SetTurnPageShow(bool show);
    // "--" in every label, white, level arrow.
    void clearView();

    ui::Label &nameLabel() { return *m_nameLabel; }
    ui::Label &codeLabel() { return *m_codeLabel; }
    ui::Label &lastLabel() { return *m_lastLabel; }
    ui::Label &changeLabel() { return *m_changeLabel; }
    ui::Label &rangeLabel() { return *m_rangeLabel; }
    ui::ImageView &upDownImgView() { return *m_upDownImgView; }
    ui::Button &addMyStockBtn() { return *m_addMyStockBtn; }
    ui::Button &prevStockBtn() { return *m_prevStockBtn; }
    ui::Button &nextStockBtn() { return *m_nextStockBtn; }

    base::Weak<StockInfoShowViewDelegate> delegate;

private:
    base::Ref<ui::ImageView> m_background, m_upDownImgView;
    base::Ref<ui::Button> m_addMyStockBtn, m_prevStockBtn, m_nextStockBtn;
    base::Ref<ui::Label> m_nameLabel, m_codeLabel, m_lastLabel, m_changeLabel, m_rangeLabel;
};
