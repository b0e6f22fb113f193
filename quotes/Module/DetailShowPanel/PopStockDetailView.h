#pragma once

#include "Components/CMSlideMenuItem.h"
#include "Module/CommonControls/KLine/KLine/KLineView.h"
#include "Module/CommonControls/MinLine/MinLine/MinLineView.h"
#include "Module/DetailShowPanel/BuySellPanelView.h"
#include "Module/DetailShowPanel/StockInfoShowView.h"
#include "Module/DetailShowPanel/StockPriceShowView.h"
#include "ui/Button.h"
#include "ui/View.h"

#include <string>
#include <vector>

// What the pop-up asks of the detail screen that opened it.
class PopStockDetailViewDelegate {
public:
    virtual ~PopStockDetailViewDelegate() = default;
    // The user showed the candles for the first time.
    virtual base::Opt<void> RequestPopStockKLine(const std::string &code) {
        (void)code;
        return base::notImplemented;
    }
    // The window has slid out and removed itself.
    virtual base::Opt<void> OnClosePopStockDetailView() { return base::notImplemented; }
};

// A second security over the detail screen, without leaving the first: its quote header with the
// watch-list button, six quote values under the captions of its kind, a ten-level order book, and
// an intraday chart that a tab turns into day candles. It covers the whole screen (the tab bar
// included), dims what lies behind, slides in from the top and, through its close button only,
// out to the bottom; taps on the dimmed area do nothing.
//
// The detail screen opens it on a board, a board member or a row of the index lists, asks its
// data, feeds it the replies for its code (UpdatePriceData, the order book, the charts) and
// refreshes it on its tick; the window itself asks only, once, for the candles. The screen keeps
// it weakly: the window lives while it belongs to the view tree and goes when it has slid out.
class PopStockDetailView : public ui::View, public StockInfoShowViewDelegate, public CMSlideMenuItemDelegate {
public:
    static constexpr int TrendTabTag = 200, KLineTabTag = 201;
    static constexpr double SlideSeconds = 0.6, DimDelay = 0.3, DimSeconds = 0.2;
    static constexpr float DimAlpha = 0.3f;
    static constexpr int ChartViewMode = 1;
    static constexpr const char *MyStockModelName = "我的自选";
    static constexpr const char *MyStockFileName = "MyStockList";
    static inline const gfx::Size kWindowSize{695, 495};
    static inline const gfx::Rect kContentFrame{17.5f, 17.5f, 640, 440};
    static inline const gfx::Rect kChartFrame{0, 115, 440, 325};

    // The six quote values of a kind of security and their captions; empty for a kind that has none.
    struct Fields {
        std::vector<int> ids;
        std::vector<std::string> captions;
    };
    static Fields FieldsFor(const StockBasicInf &record);

    // Over the whole screen; builds everything, dims the screen and slides the window in.
    explicit PopStockDetailView(gfx::Rect frame);
    ~PopStockDetailView() override;
    void setUp() override;

    // The watch-list button: remove when the code is in the default group, add otherwise.
    void SetStockCode(const std::string &code);
    void UpdatePriceData(const StockBasicInf &record);
    void StopKLineWaitingAlert();

    base::Opt<void> AddNewStockAction(ui::Button &sender) override;
    base::Opt<void> ReturnSelectedItem(CMSlideMenuItem &item) override;
    // The close button: slides the window out; the delegate hears when it has gone.
    void GoBackAction();

    const std::string &code() const { return m_code; }
    const std::string &stockName() const { return m_stockName; }
    bool hasReqKLine() const { return m_hasReqKLine; }
    MinLineView &trendLineView() { return *m_trendLineView; }
    KLineView &klineView() { return *m_klineView; }
    BuySellPanelView &buySellPanelView() { return *m_buySellPanelView; }
    StockInfoShowView &stockInfoShowView() { return *m_stockInfoShowView; }
    StockPriceShowView &stockPriceShowView() { return *m_stockPriceShowView; }
    CMSlideMenuItem &tab(int tag) { return tag == KLineTabTag ? *m_klineTab : *m_trendTab; }
    ui::View &backgroundView() { return *m_backgroundView; }
    ui::Button &goBackButton() { return *m_goBackButton; }

    base::Weak<PopStockDetailViewDelegate> delegate;

private:
    struct Relay;
    void ShowWindow();
    void HideWindow();
    void windowDidHide();

    std::string m_code, m_stockName;
    bool m_hasReqKLine = false;
    base::Ref<Relay> m_relay;
    base::Ref<ui::View> m_backgroundView, m_contentView;
    base::Ref<ui::Button> m_goBackButton;
    base::Ref<StockInfoShowView> m_stockInfoShowView;
    base::Ref<StockPriceShowView> m_stockPriceShowView;
    base::Ref<BuySellPanelView> m_buySellPanelView;
    base::Ref<CMSlideMenuItem> m_trendTab, m_klineTab;
    base::Ref<MinLineView> m_trendLineView;
    base::Ref<KLineView> m_klineView;
};
