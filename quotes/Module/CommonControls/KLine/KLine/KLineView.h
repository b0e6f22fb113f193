#pragma once

#include "Components/CMMultiStateButton.h"
#include "Components/PopMenuController.h"
#include "KLineClass.h"
#include "KLineCursorView.h"
#include "KLineViewDelegate.h"
#include "Module/CommonControls/KLine/BaseClass/KLineViewBase.h"
#include "ui/Button.h"
#include "ui/Popover.h"

#include <optional>
#include <vector>

// The candlestick chart view: hosts a KLineClass and its cross-hair overlay, turns touches into
// chart operations (a tap or long press shows the cross-hair, a drag scrolls, a pinch zooms), and
// carries the indicator buttons, the ex-rights selector and the ex-rights marks. Mode 0 is the
// detail screen's full chart with its buttons; mode 1 the compact chart of the pop-up window and the
// chart grid, which takes touches only inside its cross-hair area. It reports to its owner through
// KLineViewDelegate; the ex-rights choice is held here for the owner, which re-requests the candles.
class KLineView : public KLineViewBase,
                  public KLineClassDelegate,
                  public CMMultiStateButtonDelegate,
                  public PopMenuControllerDelegate {
public:
    static constexpr int Tag = 100;
    static constexpr int32_t DefaultKType = 7;
    static constexpr float DefaultKSize = 8;
    // The level-2 indicator when none was chosen before: DDX.
    static constexpr int32_t DefaultLevel2TechType = 2918;
    static constexpr int ExrightMenuID = 300;
    static constexpr gfx::Size ExrightMenuSize{100, 80};
    static constexpr int32_t BackwardExrightDate = 19900101;
    // Ex-rights marks are the subviews tagged with their date plus this.
    static constexpr int ExrightMarkTagBase = 100000000;
    static constexpr float ExrightMarkSize = 36;
    static constexpr float TechButtonSize = 19;
    // Pans move the chart only beyond this many points (or one pitch); ends ask for more data only
    // beyond PanRequestDistance to the right.
    static constexpr float PanThreshold = 10, PanRequestDistance = 20;
    static constexpr const char *SubTechName = "MACD";

    static base::Ref<KLineView> create(gfx::Rect frame, int viewMode);

    void drawRect(gfx::Context &context, gfx::Rect dirty) override;
    void layoutSubviews() override;

    // Snapshot (may be absent), candles, period and update type; redraws.
    void Update(base::Ref<StockBasicInf> basicInf, base::Ref<KLineList> klineList, int32_t ktype,
                int32_t updateType = 0);
    // Hides the cross-hair, scrolls back, empties the chart and forgets the current level-2 series.
    void clearView();
    void SetChartBackgroundColor(base::Ref<gfx::Color> color);
    // By name ("KDJ"); unknown names are ignored. Redraws when the chart took it.
    void changeTechIndex(const std::string &techName,
                         const std::optional<base::Array> &paramArray = std::nullopt);
    // The main pane by code, without parameters or a redraw.
    void changeMainTechIndex(int32_t techType);

    void initLevel2TechIndex(int32_t techType);
    void changeLevel2TechIndex(int32_t techType);
    void resetLevel2TechIndex(int32_t techType, const base::Ref<KLineClassBase::ReplyList> &series);
    // Redraws when the chart took the series.
    bool UpdateLevel2TechIndex(int32_t techType, const base::Ref<KLineClassBase::ReplyList> &series);
    int32_t getCurLevel2TechType() const { return kobj->getCurLevel2TechType(); }

    void setMultiStockList(base::Array list);
    bool isAddStocksMode() const { return kobj->isAddStocksMode(); }
    void OpenAddStocksMode();
    void CloseAddStocksMode(bool redraw);

    void hideCursorView();
    int32_t getDisplayFirstTime() const { return kobj->getDisplayFirstTime(); }
    // A pan's state and point: scrolls the chart by whole candles from where the pan began and
    // tells the owner at the end.
    void moveKLineView(ui::GestureState state, gfx::Point currPt);
    // A pan recogniser's report: its beginning starts the pan where the finger went down, then
    // follows the finger.
    void followPan(ui::GestureState state, gfx::Point point, gfx::Point origin);
    // The overlay's drawing: the chart's cross-hair for the point.
    void drawCursor(gfx::Context &context, gfx::Rect rect, gfx::Point cursorTouch);

    int koffset() const { return kobj->koffset(); }
    void setKoffset(int offset) { kobj->setKoffset(offset); }
    float ksize() const { return kobj->ksize(); }
    // 0 or less stores the default pitch.
    void setKsize(float size) { kobj->setKsize(size > 0 ? size : DefaultKSize); }
    int32_t ktype() const { return m_ktype; }
    void setKtype(int32_t ktype) { m_ktype = ktype; }
    int32_t exrightType() const { return m_exrightType; }
    void setExrightType(int32_t type) { m_exrightType = type; }
    int32_t exrightDate() const { return m_exrightDate; }
    void setExrightDate(int32_t date) { m_exrightDate = date; }
    bool isExrightMode() const { return m_isExrightMode; }
    void setIsExrightMode(bool mode) { m_isExrightMode = mode; }
    int viewMode() const { return m_viewMode; }
    ui::Button *exrightButton() const { return m_exrightButton.get(); }
    ui::Button *techButton() const { return btnChangeTech1.get(); }
    ui::Button *level2Button() const { return btnChangeTech2.get(); }
    KLineClass &chart() const { return *kobj; }
    KLineCursorView &cursorView() const { return *m_cursorView; }
    ui::Popover *exrightPopover() const { return exrightPopoverController.get(); }
    PopMenuController *exrightMenu() const { return exrightMenu_.get(); }
    // The ex-rights mark of a date, if made.
    CMMultiStateButton *exrightMark(int32_t date);

    base::Weak<KLineViewDelegate> delegate;

    // Touches.
    bool shouldReceiveTouch(ui::GestureRecognizer &recognizer, const ui::Touch &touch) override;
    void singleTap() override;
    void handleLongPressFrom(ui::LongPressRecognizer *recognizer) override;
    void handlePanFrom(ui::PanRecognizer *recognizer) override;
    void handleDblPanFrom(ui::PanRecognizer *recognizer) override;
    void handlePinchFrom(ui::PinchRecognizer *recognizer) override;

    // The chart's requests.
    void showExrightButton(int32_t exrightDate, int exrightFlag, gfx::Point bottomPoint) override;
    void hideExrightButtons(int32_t dateFrom, int32_t dateTo) override;
    // The marks' reports.
    base::Opt<void> OnExpandFlower(int exrightDate) override;
    base::Opt<void> ReturnSelectedButtonIndex(int index, int exrightDate) override;
    // The ex-rights menu's report.
    base::Opt<void> ReturnSelectedPopMenuItem(int popMenuID, int32_t itemID,
                                              const std::string &itemName) override;

protected:
    KLineView(gfx::Rect frame, int viewMode);

private:
    void placeButtons();
    // A change of data or panes: the buttons follow the panes, then the chart draws.
    void redraw();
    void initUI();
    void exrightAction(ui::Button *sender);
    void techButtonAction(ui::Button *sender);
    void level2ButtonAction(ui::Button *sender);
    void sendChangeExright(int32_t type, int32_t date);
    std::vector<CMMultiStateButton *> exrightMarks() const;
    // The owner's forward request, when due, then the window-changed notice.
    void notifyWindowChanged();
    base::Ref<ui::Button> makeTechButton(void (KLineView::*action)(ui::Button *));

    int32_t m_viewMode;
    base::Ref<KLineClass> kobj;
    base::Ref<KLineCursorView> m_cursorView;
    base::Ref<ui::Button> btnChangeTech1;
    int32_t m_ktype = DefaultKType;
    int32_t m_exrightType = 0;
    int32_t m_exrightDate = 0;
    bool m_isExrightMode = false;
    int m_oldOffset = 0;
    gfx::Point m_firstTouch;
    float m_beginKSize = DefaultKSize;
    float m_beginPinchScale = 0;
    bool m_bNeedShowLevel2Tech = false;
    base::Ref<ui::Button> btnChangeTech2;
    base::Ref<ui::Button> m_exrightButton;
    base::Ref<ui::Popover> exrightPopoverController;
    base::Ref<PopMenuController> exrightMenu_;
    gfx::Size laidOutSize_;
};
