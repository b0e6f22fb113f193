#pragma once

#include "Common/TimerCenter.h"
#include "Components/CMViewController.h"
#include "DataBase/NetData/QuoteRequestRecord.h"
#include "Module/CommonControls/TableView/IndexSupplyStockDelegate.h"
#include "Module/DetailShowPanel/RightForeignIndexDetailPanel.h"
#include "Module/DetailShowPanel/RightIndexDetailPanel.h"
#include "Module/DetailShowPanel/RightOpenFundDetailPanel.h"
#include "Module/DetailShowPanel/RightProdDetailPanel.h"
#include "Module/DetailShowPanel/RightStockDetailPanel.h"
#include "Module/DetailShowPanel/StockInfoShowView.h"
#include "Module/DetailShowPanel/StockPriceShowView.h"
#include "Module/StockDataBaseMgnt/StockDetailData.h"

#include "Components/CMSliderView.h"
#include "Components/PopMenuController.h"
#include "Module/CommonControls/KLine/KLine/KLineView.h"
#include "Module/CommonControls/MinLine/MinLine/MinLineView.h"
#include "Module/DetailShowPanel/DealQueuePanelView.h"
#include "Module/DetailShowPanel/FullScreenViewController.h"
#include "Module/DetailShowPanel/PopStockDetailView.h"
#include "Module/DetailShowPanel/PopTechSettingsController.h"
#include "Module/DetailShowPanel/StockDetailSwitchBar.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockNewsView/StockNewsView.h"
#include "Module/DetailShowPanel/WebTabView.h"
#include "Module/NewsDataBaseMgnt/NewsData/NewsData.h"
#include "ui/Popover.h"

#include "base/Value.h"

#include <cstdint>
#include <string>
#include <vector>

// The screen that shows one security in full: the header with name, price and six figures, and on
// the right the panel of the security's kind, refreshed every 5 s while it shows and the quote
// connection is up. Its data centre (StockDetailData) asks for the data; every reply comes back
// through DataPoolCallBack, which updates header and panel in place.
//
// Openers create it, call SetStockCodeMarket, then (board list) setCurrentBoardID, (watch-list)
// the group setters, (any list) SetCheckStocksArray, and push it; a search pick, a banner tap or
// the trade message centre re-target an open one with SetStockCodeMarket or PushStockVC.
//
// The screen mode comes from the first basic information of each code: 0 SH/SZ securities (and,
// since a code change resets it, other non-index securities), 1 SH/SZ and board indexes, 2
// futures, 3 open funds, 4 market "FE", 5 other indexes. Each mode has its panel, made on first
// use and kept, and its header captions. "previous" and "next" step through the list the screen
// was opened from (or the market's code table), quick taps adding up and loading once.
//
// While it shows, it is the trade message centre's current screen and hands it the numeric code.
// Delegates and observers are weak or go with the screen: a popped screen hears nothing.
class StockDetailViewController : public CMViewController,
                                  public DataPoolDelegate,
                                  public StockDetailDataDelegate,
                                  public StockInfoShowViewDelegate,
                                  public TimerCenterDelegate,
                                  public IndexSupplyStockDelegate,
                                  public StockDetailParent,
                                  public RightStockDetailPanelDelegate,
                                  public PopStockDetailViewDelegate,
                                  // The chart column.
                                  public StockDetailSwitchBarDelegate,
                                  public KLineViewDelegate,
                                  public MinLineViewDelegate,
                                  public CMSliderViewDelegate,
                                  public PopMenuControllerDelegate,
                                  public PopTechSettingsControllerDelegate,
                                  public FullScreenViewControllerDelegate,
                                  public NewsDataDelegate {
public:
    static constexpr int32_t TimerID = 400;
    static constexpr double RefreshPeriod = 5.0;
    // Taps on "previous" and "next" closer together than this add up and load once.
    static constexpr double NextStockDelay = 0.4;
    static constexpr const char *MyStockModelName = "我的自选";
    static constexpr const char *MyStockFileName = "MyStockList";
    static inline const gfx::Rect kHeaderFrame{0, 0, 768, 80};
    static inline const gfx::Rect kInfoFrame{0, 0, 380, 80};
    static inline const gfx::Rect kPriceFrame{380, 0, 388, 80};
    static inline const gfx::Rect kRightPanelFrame{768, 0, 256, 660};

    StockDetailViewController();
    ~StockDetailViewController() override;
    void setUp() override;

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    bool shouldAutorotateTo(ui::Orientation orientation) override;

    // Shows the security ("SH600000"); a code of two characters or fewer, or the one shown, is
    // ignored. Resets the board id, so openers set it afterwards.
    void SetStockCodeMarket(const std::string &code);
    void PushStockVC(const std::string &code) override { SetStockCodeMarket(code); }
    // The browse list (a copy: quote records, {"MarketCode"} entries or codes) and the position of
    // the shown code in it.
    void SetCheckStocksArray(const base::Array &stocks, int index);
    void setCurrentBoardID(int32_t boardID) { m_currentBoardID = boardID; }
    void setCurrentModelName(std::string name) { m_currentModelName = std::move(name); }
    void setCurrentModelFileName(std::string fileName) { m_currentModelFileName = std::move(fileName); }

    // What the data centre asks (the chart state is answered by the chart column below).
    base::Opt<int> getCurrentBoardID() override { return m_currentBoardID; }
    const std::string &getCurrentCode() const override { return m_code; }
    const base::Ref<StockBasicInf> &getCurrentBasicInf() const override;

    base::Opt<void> AddNewStockAction(ui::Button &sender) override;
    base::Opt<void> PrevStockAction(ui::Button &sender) override;
    base::Opt<void> NextStockAction(ui::Button &sender) override;
    base::Opt<void> traderButtonAction(ui::View &sender) override;
    // The pop-up window over the whole screen: a second security shown without leaving this one.
    // It is asked for, fed and refreshed here, and kept only by the view tree.
    void ShowPopStockDetailView(const std::string &code, const std::string &stockName);
    base::Opt<void> ReturnIndexSupplyStock(const std::string &code, const std::string &name) override;
    base::Opt<void> ReturnTlineStock(const std::string &code, const std::string &name) override;
    base::Opt<void> RequestPopStockKLine(const std::string &code) override;
    base::Opt<void> OnClosePopStockDetailView() override;
    PopStockDetailView *popStockDetailView() const { return m_popStockDetailView.lock().get(); }

    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;
    base::Opt<void> OnTimerCenterNotify(int32_t userID) override;

    // For tests and the openers.
    const std::string &stockCode() const { return m_code; }
    const std::string &stockName() const { return m_stockName; }
    int16_t currentModeType() const { return m_currentModeType; }
    int16_t prevModeType() const { return m_prevModeType; }
    int32_t currentBoardID() const { return m_currentBoardID; }
    int currentStocksIndex() const { return m_currentStocksIndex; }
    const base::Array &checkStocksArray() const { return m_checkStocksArray; }
    StockDetailData &stockDetailData() { return *m_stockDetailData; }
    StockInfoShowView *stockInfoShowView() const { return m_stockInfoShowView.get(); }
    StockPriceShowView *stockPriceShowView() const { return m_stockPriceShowView.get(); }
    // The panel now shown, and the panels made so far (null until their mode was needed).
    ui::View *rightPanel() const { return m_prevRightPanelView.lock().get(); }
    RightStockDetailPanel *rightStockDetailPanel() const { return m_rightStockDetailPanel.get(); }
    RightIndexDetailPanel *rightIndexDetailPanel() const { return m_rightIndexDetailPanel.get(); }
    RightProdDetailPanel *rightProdDetailPanel() const { return m_rightProdDetailPanel.get(); }
    RightOpenFundDetailPanel *rightOpenFundDetailPanel() const { return m_rightOpenFundDetailPanel.get(); }
    RightForeignIndexDetailPanel *rightForeignIndexDetailPanel() const {
        return m_rightForeignIndexDetailPanel.get();
    }
    RightCurrDetailPanel *rightCurrDetailPanel() const { return m_rightCurrDetailPanel.get(); }

    // ---------------------------------------------------------------------------------------------
    // The chart column (StockDetailViewControllerCharts.cpp): the tab strip, the intraday chart over
    // the level-2 deal queue, the candle chart with its period slider, the company-data tab, the
    // indicator and level-2 menus, overlay stocks, the information mine and the full-screen chart.
    //
    // Periods (ktype): 2, 3, 5 minutes of 5, 15 and 60 on the slider (1 and 30 minutes have no
    // tick), 7 day, 8 week, 9 month; week and month may be built from day candles, which the data
    // centre then fetches (a week view needs 800, a month view 2940) behind a waiting indicator.
    // While the full-screen chart shows, its views are the current ones: replies, periods and
    // overlays land there, and its state is copied back when it closes.
    static inline const gfx::Rect kSwitchBarFrame{0, 80, 768, 40};
    static inline const gfx::Rect kSliderFrame{0, 588, 700, 23};
    static inline const gfx::Rect kDealQueueFrame{0, 510, 768, 129};
    static inline const gfx::Rect kTabContentFrame{0, 121, 768, 515};
    static inline const gfx::Rect kWaitingFrame{0, 80, 768, 600};
    static constexpr float kChartTop = 120, kChartWidth = 768;
    static constexpr float kTrendHeightWithQueue = 392, kTrendHeight = 520, kKLineHeight = 465,
                           kFundKLineHeight = 520;
    static constexpr int kSliderKTypes[] = {7, 2, 3, 5, 8, 9};
    static constexpr double kInfoBombPeriod = 300.0;
    static constexpr int kHelpID = 2;
    static constexpr int kKLineLevel2MenuID = 100, kMLineLevel2MenuID = 200;
    static constexpr gfx::Size kKLineLevel2MenuSize{100, 120}, kMLineLevel2MenuSize{100, 80};
    static constexpr const char *kFundBollAlert = "对不起，开放基金不能使用BOLL指标！";
    static constexpr const char *kFundOverlayAlert = "对不起，开放基金不能使用叠加股票功能！";
    static constexpr const char *kCompanyPagePath = "/dbui/ipad/?&r=ften.cpbd&code=%s&ed=001";

    // The slider's index of a ktype and back; -1 (or 0 for a ktype) outside the table.
    static int getSliderIndex(int ktype);
    static int kTypeAtSliderIndex(int index);

    base::Opt<bool> isTrendLineViewVisible() override;
    base::Opt<bool> isKLineViewVisible() override;
    base::Opt<int> getKType() override;
    base::Opt<bool> isKLineExrightMode() override;
    base::Opt<int> getCurMinLineLevel2TechType() override;

    // YES shows the intraday chart, NO the candles.
    void showMinLineOrKLineView(bool showMinLine);
    void showMinLineView();
    void showKLineView();
    void changePeriod(int ktype);

    base::Opt<void> StockDetailBarSelectedIndex(int index, int group, ui::View &sender) override;
    base::Opt<void> ReturnSearchFieldText(const std::string &code) override;
    base::Opt<void> ResetTechGraphicState() override;
    base::Opt<void> ZoomInAction() override;
    base::Opt<void> SelectedIndicator(int index) override;

    base::Opt<void> reqForwardKLineData() override;
    base::Opt<void> NotifyReqKLineRelativeData() override { return {}; }
    base::Opt<void> reqKLineLevel2TechIndex() override;
    base::Opt<bool> canShowLevel2() override { return m_stockDetailData->canShowLevel2(); }
    base::Opt<bool> changeExright(int32_t exrightType, int32_t exrightDate) override;
    base::Opt<void> SetTechIndexAction(ui::Button *sender, const std::string &curTechName) override;
    base::Opt<void> SetKLineLevel2TechIndexAction(ui::Button *sender, int32_t techID,
                                                  const std::string &techName) override;
    base::Opt<void> reqMLineLevel2TechIndex() override;
    base::Opt<void> SetMLineLevel2TechIndexAction(ui::Button *sender, int32_t techID,
                                                  const std::string &techName) override;
    base::Opt<void> minLineView_didTouchBomb(ui::Button *sender) override;
    using PopMenuControllerDelegate::ReturnSelectedPopMenuItem;
    base::Opt<void> ReturnSelectedPopMenuItem(int popMenuID, int32_t itemID,
                                              const std::string &itemName) override;
    base::Opt<void> ReturnSelectedTechName(const std::string &techName,
                                           const base::Array &paramArray) override;
    base::Opt<void> updateTodayInfoBombArray(const std::vector<base::Ref<NewsSummaryInfo>> &items) override;

    base::Opt<void> dismissModalFullScreen() override;
    base::Opt<void> FullScreenStockDetailBarSelectedIndex(int index, int group, ui::View &sender) override;

    KLineView *klineView() const { return m_klineView.get(); }
    MinLineView *trendLineView() const { return m_trendLineView.get(); }
    KLineView *curKLineView() const { return m_curKLineView.get(); }
    MinLineView *curTrendLineView() const { return m_curTrendLineView.get(); }
    FullScreenViewController *curFullScreenVC() const { return m_curFullScreenVC.lock().get(); }
    StockDetailSwitchBar *stockDetailSwitchBar() const { return m_stockDetailSwitchBar.get(); }
    CMSliderView *sliderView() const { return m_sliderView.get(); }
    DealQueuePanelView *dealQueuePanelView() const { return m_dealQueuePanelView.get(); }
    WebTabView *f10TabView() const { return m_f10TabView.get(); }
    StockNewsView *stockNewsView() const { return m_stockNewsView.get(); }
    PopTechSettingsController *techSettings() const { return m_techSettings.get(); }
    ui::Popover *techIndexPopoverController() const { return m_techIndexPopoverController.get(); }
    ui::Popover *klineLevel2Popover() const { return m_klineLevel2TechIndexPopoverController.get(); }
    ui::Popover *mlineLevel2Popover() const { return m_mlineLevel2TechIndexPopoverController.get(); }
    PopMenuController *klineLevel2Menu() const { return m_klineLevel2Menu.get(); }
    PopMenuController *mlineLevel2Menu() const { return m_mlineLevel2Menu.get(); }
    ui::Popover *infoAlertPopoverController() const { return m_infoAlertPopoverController.get(); }
    NewsData *newsData() const { return m_newsData.get(); }
    bool isBombLoaded() const { return m_isBombLoaded; }

private:
    void clearShownCode();
    void ProcBasicInf(int32_t reqType, const base::Ref<ReqParams> &params);
    void ProcDynamicInf(const base::Ref<ReqParams> &params);
    int16_t modeFor(const StockBasicInf &record) const;
    void SetupRightPanel(int16_t mode);
    void updatePriceShowView(const StockBasicInf &record);
    void updateRightPanel(const StockBasicInf &record);
    void updateWatchListButton();
    void CommonNotify(const base::Notification &notification);
    void refresh();
    // The pop-up when it is open on that code, else null.
    base::Ref<PopStockDetailView> popOn(const std::string &code) const;
    // A frame in screen coordinates placed in the tab bar controller's view, as its strips are.
    static gfx::Rect inTabBarView(gfx::Rect screenFrame);
    void GotoNextStock(bool next);
    void openNextStock();
    // The code of a browse-list entry; empty for an entry of another kind.
    static std::string codeOfEntry(const base::Value &entry);
    // The code whose contribution and big-order lists an index shows.
    std::string indexListCode() const;

    // The chart column.
    void loadChartColumn();
    void clearChartColumn();
    void chartsOnNewCode();
    void chartsOnModeChosen();
    void reqInfoBomb();
    void refreshInfoBomb();
    void dismissChartPopovers();
    void ProcChartReply(int32_t reqType, const base::Ref<ReqParams> &params);
    void ProcKLine(const base::Ref<ReqParams> &params);
    void ProcMinLine(const base::Ref<ReqParams> &params);
    void ProcDealQueue();
    void LoadStockBoardArray();
    // The shown stock's boards into the stock panel's board list.
    void LoadElementBoards();
    bool canShowDealQueuePanelView() const;
    bool isSHSZStock() const;
    void setChartFrames();
    void willChangePeriod();
    void changePeriod2(int ktype);
    void showMultiDayKLine(int ktype);
    void kviewUpdate(const StockFunc::ObjectList *list, int updateType);
    void startKLineViewWaiting();
    void stopKLineViewWaiting();
    void showTab(int index);
    void loadCompanyPage();
    void syncOverlayList();
    void showAlert(const std::string &text);
    void presentPopover(ui::Popover &popover, ui::View &anchor, unsigned arrow);
    void UpdateCurKLineViewData(KLineView &source, KLineView &dest);
    void UpdateCurTrendLineViewData(MinLineView &source, MinLineView &dest);
    void adoptChartView(KLineView &view);
    void adoptChartView(MinLineView &view);
    void SetHelpTip();

    base::Ref<StockInfoShowView> m_stockInfoShowView;
    base::Ref<StockPriceShowView> m_stockPriceShowView;
    base::Ref<RightStockDetailPanel> m_rightStockDetailPanel;
    base::Ref<RightIndexDetailPanel> m_rightIndexDetailPanel;
    base::Ref<RightProdDetailPanel> m_rightProdDetailPanel;
    base::Ref<RightOpenFundDetailPanel> m_rightOpenFundDetailPanel;
    base::Ref<RightForeignIndexDetailPanel> m_rightForeignIndexDetailPanel;
    base::Ref<RightCurrDetailPanel> m_rightCurrDetailPanel;
    int16_t m_prevModeType = -1;
    int16_t m_currentModeType = 0;
    std::string m_stockName;
    std::string m_code;
    bool m_isOFCode = false;
    base::Ref<StockDetailData> m_stockDetailData;
    int m_nextStockTimes = 0;
    base::Array m_checkStocksArray;
    std::string m_currentModelName, m_currentModelFileName;
    int m_currentStocksIndex = 0;
    int32_t m_currentBoardID = 0;
    std::vector<std::string> m_valueArray;
    base::Weak<ui::View> m_prevRightPanelView;
    base::Weak<PopStockDetailView> m_popStockDetailView;
    ui::Orientation m_currentOrientation = ui::Orientation::LandscapeLeft;

    // The chart column.
    base::Ref<KLineView> m_klineView;
    base::Ref<MinLineView> m_trendLineView;
    base::Ref<KLineView> m_curKLineView;
    base::Ref<MinLineView> m_curTrendLineView;
    base::Weak<FullScreenViewController> m_curFullScreenVC;
    base::Ref<WebTabView> m_f10TabView;
    base::Ref<StockNewsView> m_stockNewsView;
    base::Ref<DealQueuePanelView> m_dealQueuePanelView;
    base::Ref<StockDetailSwitchBar> m_stockDetailSwitchBar;
    base::Ref<CMSliderView> m_sliderView;
    base::Ref<PopTechSettingsController> m_techSettings;
    base::Ref<ui::Popover> m_techIndexPopoverController;
    base::Ref<PopMenuController> m_klineLevel2Menu, m_mlineLevel2Menu;
    base::Ref<ui::Popover> m_klineLevel2TechIndexPopoverController, m_mlineLevel2TechIndexPopoverController;
    base::Ref<ui::Popover> m_infoAlertPopoverController;
    base::Ref<NewsData> m_newsData;
    bool m_isBombLoaded = false;
    double m_bombUpdateTick = 0;
};
