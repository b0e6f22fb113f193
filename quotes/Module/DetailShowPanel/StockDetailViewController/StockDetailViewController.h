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
                                  public IndexSupplyStockDelegate {
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

    // What the data centre asks. The chart column is not on this screen yet: no chart is visible.
    base::Opt<bool> isTrendLineViewVisible() override { return false; }
    base::Opt<bool> isKLineViewVisible() override { return false; }
    base::Opt<int> getCurrentBoardID() override { return m_currentBoardID; }
    const std::string &getCurrentCode() const { return m_code; }
    const base::Ref<StockBasicInf> &getCurrentBasicInf() const;

    base::Opt<void> AddNewStockAction(ui::Button &sender) override;
    base::Opt<void> PrevStockAction(ui::Button &sender) override;
    base::Opt<void> NextStockAction(ui::Button &sender) override;
    base::Opt<void> traderButtonAction(ui::View &sender) override;
    // The pop-up window comes with its own view; until then a member tap opens nothing.
    base::Opt<void> ReturnIndexSupplyStock(const std::string &, const std::string &) override { return {}; }

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
    void GotoNextStock(bool next);
    void openNextStock();
    // The code of a browse-list entry; empty for an entry of another kind.
    static std::string codeOfEntry(const base::Value &entry);
    // The code whose contribution and big-order lists an index shows.
    std::string indexListCode() const;

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
    ui::Orientation m_currentOrientation = ui::Orientation::LandscapeLeft;
};
