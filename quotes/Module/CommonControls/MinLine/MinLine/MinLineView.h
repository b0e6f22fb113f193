#pragma once

#include "MinLineClass.h"
#include "MinLineCursorView.h"
#include "MinLineViewDelegate.h"

#include "Module/CommonControls/KLine/BaseClass/KLineViewBase.h"
#include "base/Value.h"
#include "ui/Button.h"

#include <string>

// The intraday chart on screen: it owns a `MinLineClass`, hands it the screen's data and redraws
// the whole chart on every update, with the cross-hair in a `MinLineCursorView` on top. A tap or
// long press in the chart shows the cross-hair there; in full mode a button on the level-2 pane
// lets the user pick the level-2 indicator; an information-mine button can be placed over a
// minute. With comparison stocks the chart and their price lines share one percentage scale.
// The owners: the stock detail screen, its full-screen chart and pop-up window, and the
// multi-stock grid. Main thread only.
class MinLineView : public KLineViewBase {
public:
    static constexpr int Tag = 300;
    // Compact charts draw every third minute.
    static constexpr int CompactDrawStep = 3;
    // The level-2 code before the user chose one.
    static constexpr int32_t DefaultLevel2TechIndex = 2923;
    static constexpr float Level2ButtonSize = 19, Level2ButtonInset = 22;
    static constexpr float BombButtonSize = 22;
    // Comparison titles along the top strip: where they start and the gap after each.
    static constexpr float TitleX = 5, TitleY = 2, TitleGap = 10;

    MinLineView(gfx::Rect frame, int32_t viewMode);
    void setUp() override;

    // The snapshot and the minutes; the level-2 pane shows for Shanghai and Shenzhen stocks when
    // wanted. In full mode the cross-hair goes when the snapshot or its code is missing.
    void Update(base::Ref<StockQuoteInf> basicInf, base::Ref<MinLineList> mlineList);
    void UpdateIndexRiseFallLine(const std::string &code, base::Ref<MinLineClassBase::ReplyList> rspArray);

    // Comparison records (dictionaries "code", "basicInf", "colorID"), shared with the owner,
    // which keeps the list; the view adds each record's chart under "mobj".
    void setMultiStockList(base::Array list);
    // A comparison stock's minutes, for the first record of that code with a snapshot; nothing
    // for any other code.
    void UpdateAddStock(const std::string &code, base::Ref<MinLineList> mlineList);
    // The chart's own scale again; the owner empties the list.
    void CloseAddStocksMode();

    // Hides the cross-hair, drops the data and the current level-2 series.
    void clearView();
    // No level-2 pane, an empty snapshot and no minutes.
    void zeroView();
    void hideCursor();

    int32_t getCurLevel2TechType() const { return m_mobj->getCurLevel2TechType(); }
    // Remembers the user's choice, switches the pane and asks the owner for its data; nothing
    // for the code already shown.
    void changeLevel2TechIndex(int32_t techType);
    void resetLevel2TechIndex(int32_t techType, const base::Ref<MinLineClassBase::ReplyList> &series);
    void UpdateLevel2TechIndex(int32_t techType, const base::Ref<MinLineClassBase::ReplyList> &series);

    // Shows the information-mine button over the first minute at or after the time HHMM (x 50
    // when none is placed there yet).
    void UpdateInfoBomb(int32_t time);
    void hideInfoBomb();
    void SetChartBackgroundColor(base::Ref<gfx::Color> color);

    void drawRect(gfx::Context &context, gfx::Rect dirty) override;
    void layoutSubviews() override;
    bool shouldReceiveTouch(ui::GestureRecognizer &recognizer, const ui::Touch &touch) override;
    void singleTap() override;
    void handleLongPressFrom(ui::LongPressRecognizer *recognizer) override;

    base::Weak<MinLineViewDelegate> delegate;
    const base::Ref<MinLineClass> &mobj() const { return m_mobj; }
    const base::Ref<MinLineCursorView> &cursorView() const { return m_cursorView; }
    const base::Ref<ui::Button> &level2Button() const { return m_btnChangeTech2; }
    const base::Ref<ui::Button> &bombButton() const { return m_btnBomb; }

private:
    void drawAddStocks(gfx::Context &context);
    void resetLevel2ButtonFrame();
    // A change of data or mode: the button follows the panes, then the chart draws.
    void redraw();
    void storeLevel2TechIndex(int32_t techType);
    void OnChangeTech2(ui::Button *sender);
    void bombButtonAction(ui::Button *sender);

    int32_t m_viewMode;
    base::Ref<MinLineClass> m_mobj;
    base::Ref<MinLineCursorView> m_cursorView;
    bool m_bNeedShowLevel2Tech = false;
    base::Ref<ui::Button> m_btnChangeTech2;
    base::Ref<ui::Button> m_btnBomb;
    base::Array m_multiStockList;
    gfx::Size m_laidOutSize;
};
