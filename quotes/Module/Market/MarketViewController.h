#pragma once

#include "Module/Market/BoardModelView.h"
#include "Module/Market/BondModelView.h"
#include "Module/Market/CurrModelView.h"
#include "Module/Market/FundModelView.h"
#include "Module/Market/IndexModelView.h"
#include "Module/Market/MarketTableBaseView.h"
#include "Module/Market/ProdModelView.h"
#include "Module/Market/StockModelView.h"
#include "Module/Market/SwitchTabBarView.h"

#include "Common/TimerCenter.h"
#include "Components/CMViewController.h"

#include "base/NotificationCenter.h"

#include <cstdint>

// The screen of the market tab: under the navigation bar of the list screens (settings, trade
// button, breaking news, search field) a strip of seven tabs and, below it, the list of the chosen
// tab. Each list is made the first time its tab is chosen and brought to the front later. While the board
// list is drilled into a board, its refresh runs as tab 7. While the screen shows, the shared `TimerCenter`
// refreshes the visible rows of the list on view every 5 s (ids 300 + tab) as long as the quote connection is
// up; a scrolling list pushes the refresh back. A row opens the detail screen with the list's rows.
class MarketViewController : public CMViewController,
                             public SwitchTabBarViewDelegate,
                             public MarketListDelegate,
                             public BoardModelViewDelegate,
                             public MarketTableBaseViewTarget,
                             public TimerCenterDelegate {
public:
    static constexpr int TabCount = SwitchTabBarView::TabCount;
    static constexpr int FirstTimerID = 300;
    static constexpr int LastTimerID = 307;
    static constexpr double RefreshPeriod = 5.0;
    static constexpr int IndexTab = 0;
    static constexpr int BoardTab = 1;
    static constexpr int BoardStocksTab = 7;
    static constexpr int BondTab = 5;
    static constexpr int FundTab = 3;
    static constexpr int StockTab = 2;
    static constexpr int ProdTab = 4;
    static constexpr int CurrTab = 6;
    static inline const gfx::Rect ListFrame{0, 35, 1024, 620};
    static inline const gfx::Rect StripFrame{0, 0, 1024, 35};

    ~MarketViewController() override;
    void setUp() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void didReceiveMemoryWarning() override;
    bool shouldAutorotateTo(ui::Orientation orientation) override;
    base::Opt<void> traderButtonAction(ui::View &) override;

    // Selects the tab from outside, moving the strip's highlight too (the board banner asks for 1).
    void SetCurrentModuleAtIndex(int index);
    void SelectModuleAtIndex(int index);
    base::Opt<void> SelectedTabIndex(int index) override;

    base::Opt<void> ReturnStockCodeMarket(const std::string &code, const std::string &moduleName,
                                          int stockIndex, const base::Array &dataArray) override;
    base::Opt<void> ReturnStockCodeMarket(const std::string &code, const std::string &moduleName,
                                          int stockIndex, const base::Array &dataArray,
                                          int32_t boardID) override;
    base::Opt<void> BackToBoardAction(int rankField, uint8_t rankType) override;
    base::Opt<void> EnterToStocksBoardAction(const base::Ref<StockQuoteInf> &board) override;
    base::Opt<void> resetTimerCenterOnScroll(int tabIndex) override;
    base::Opt<void> SetCurrMarket(const base::Value &, int) override { return {}; }
    base::Opt<void> OnTimerCenterNotify(int32_t userID) override;

    int currentModuleIndex() const { return m_curTabIndex; }
    // The list of a tab; 1 and 7 the board list.
    MarketTableBaseView *getMarketTable(int tabIndex) const;
    IndexModelView *indexModelView() const { return m_indexModelView.get(); }
    StockModelView *stockModelView() const { return m_stockModelView.get(); }
    BoardModelView *boardModelView() const { return m_boardModelView.get(); }
    BondModelView *bondModelView() const { return m_bondModelView.get(); }
    FundModelView *fundModelView() const { return m_fundModelView.get(); }
    CurrModelView *currModelView() const { return m_currModelView.get(); }
    ProdModelView *prodModelView() const { return m_prodModelView.get(); }
    ui::View *currentSelectedView() const { return m_currentSelectedView.lock().get(); }
    SwitchTabBarView *switchTabBarView() const { return m_switchTabBarView.get(); }

private:
    void CommonNotify(const base::Notification &notification);
    void resetCurTimerCenter();
    void resetTabTimerCenter(int tabIndex);
    void reqDataOnTimer();
    void CheckWhichTabIsAlive();
    base::Ref<ui::View> makeList(int tabIndex);
    // The list of a tab once made; nothing before.
    base::Ref<ui::View> listView(int tabIndex) const;
    void reLayoutList(int tabIndex);

    base::Ref<SwitchTabBarView> m_switchTabBarView;
    int m_curTabIndex = 0;
    base::Ref<IndexModelView> m_indexModelView;
    base::Ref<StockModelView> m_stockModelView;
    base::Ref<BoardModelView> m_boardModelView;
    base::Ref<BondModelView> m_bondModelView;
    base::Ref<FundModelView> m_fundModelView;
    base::Ref<CurrModelView> m_currModelView;
    base::Ref<ProdModelView> m_prodModelView;
    base::Weak<ui::View> m_currentSelectedView;
};
