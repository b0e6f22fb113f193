#pragma once

#include "Components/CMSliderView.h"
#include "Components/CMWaitingAlertView.h"
#include "DataBase/NetData/StockQuoteInf.h"
#include "Module/CommonControls/KLine/KLine/KLineView.h"
#include "Module/CommonControls/MinLine/MinLine/MinLineView.h"
#include "Module/DetailShowPanel/FullScreenToolBarView.h"
#include "ui/ViewController.h"

#include <string>

// What the owner of the full-screen chart (the detail screen) hears. Every operation is optional.
class FullScreenViewControllerDelegate {
public:
    virtual ~FullScreenViewControllerDelegate() = default;
    // The chart closed itself: take the chart state back.
    virtual base::Opt<void> dismissModalFullScreen() { return base::notImplemented; }
    virtual base::Opt<void> FullScreenStockDetailBarSelectedIndex(int index, int group, ui::View &sender) {
        (void)index, (void)group, (void)sender;
        return base::notImplemented;
    }
    virtual base::Opt<void> ReturnSearchFieldText(const std::string &code) {
        (void)code;
        return base::notImplemented;
    }
    virtual base::Opt<void> ResetTechGraphicState() { return base::notImplemented; }
};

// The detail screen's intraday or candle chart across the whole landscape screen, presented
// modally over it. It draws nothing of its own and asks for no data: while it shows, the detail
// screen takes its chart views as the current ones, feeds them and wires its slider, and copies
// the chart state back when the zoom-out button closes it. The tool bar's tabs, search and reset
// are passed on to the owner, which it holds weakly. Only the landscape orientations are allowed.
class FullScreenViewController : public ui::ViewController, public FullScreenToolBarViewDelegate {
public:
    static inline const gfx::Rect kToolBarFrame{0, 0, 1024, 50};
    static inline const gfx::Rect kTrendFrame{0, 50, 1024, 656}, kKLineFrame{0, 50, 1024, 650},
        kFundChartFrame{0, 50, 1024, 686};
    static inline const gfx::Rect kSliderFrame{10, 700, 1004, 23};
    static inline const gfx::Rect kWaitingFrame{0, 0, 1024, 768};
    static constexpr float kWaitingFontSize = 12;

    FullScreenViewController();
    void setUp() override;
    void loadView() override;
    bool shouldAutorotateTo(ui::Orientation orientation) override;

    void setMarketCode(std::string code) { m_marketCode = std::move(code); }
    const std::string &marketCode() const { return m_marketCode; }
    // Name, code, last price and change of the record in the tool bar.
    void UpdateBasicInf(const StockBasicInf &record);
    // 1 candles (slider shown unless a fund; tab "K线"), 0 intraday (no slider; tab "走势"); a
    // fund's charts take the full 686 points.
    void SetCurrentViewType(int type);
    void showMinLineOrKLineView(bool showMinLine);
    void startWaitingAlert();
    void stopWaitingAlert();

    const base::Ref<KLineView> &klineView() const { return m_klineView; }
    const base::Ref<MinLineView> &trendLineView() const { return m_trendLineView; }
    const base::Ref<CMSliderView> &sliderView() const { return m_sliderView; }
    FullScreenToolBarView &toolBar() { return *m_stockDetailSwitchBar; }
    CMWaitingAlertView *waitingAlert() const { return m_waitingAlert.get(); }

    base::Weak<FullScreenViewControllerDelegate> delegate;

    base::Opt<void> StockDetailBarSelectedIndex(int index, int group, ui::View &sender) override;
    base::Opt<void> ReturnSearchFieldText(const std::string &code) override;
    base::Opt<void> ResetTechGraphicState() override;
    base::Opt<void> ZoomOutAction(ui::Button &sender) override;

private:
    void buildView();
    bool isFund() const;

    base::Ref<KLineView> m_klineView;
    base::Ref<MinLineView> m_trendLineView;
    base::Ref<CMSliderView> m_sliderView;
    base::Ref<FullScreenToolBarView> m_stockDetailSwitchBar;
    base::Ref<CMWaitingAlertView> m_waitingAlert;
    std::string m_marketCode;
};
