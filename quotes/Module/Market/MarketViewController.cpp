#include "Module/Market/MarketViewController.h"

#include "DataBase/DataBase.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"

#include "ui/NavigationController.h"

BASE_REGISTER_CLASS(MarketViewController);

MarketViewController::~MarketViewController() {
    base::NotificationCenter::shared().removeObserver(this);
}

void MarketViewController::setUp() {
    CMViewController::setUp();
    // A security picked on the trading screens opens over the market screen.
    TradeMsgCenter::sharedTradeMsgCenter()->setCurrentActiveVCHandle(weakSelf<MarketViewController>());
    base::Weak<MarketViewController> weak = weakSelf<MarketViewController>();
    base::NotificationCenter::shared().addObserver(weak, DataBase::CommonNotify,
                                                   [weak](const base::Notification &n) {
                                                       if (auto self = weak.lock())
                                                           self->CommonNotify(n);
                                                   });
}

void MarketViewController::viewDidLoad() {
    CMViewController::viewDidLoad();
    if (ui::NavigationController *nav = navigationController())
        nav->navigationBar().setTint(gfx::Color::rgba(0.096f, 40 / 255.f, 53 / 255.f));
    view().setBackgroundColor(gfx::Color::pattern(gfx::Image::named("background.png")));
    SetNavigationWithShowSettings(true, false, true);
    SetNavigationWithShowBreakingNews(true);
    SetNavigationWithSearchBar();
    m_switchTabBarView = base::make<SwitchTabBarView>(StripFrame);
    m_switchTabBarView->delegate = weakSelf<MarketViewController>();
    view().addSubview(m_switchTabBarView);
    // A tab asked for before the screen was built is shown now.
    SetCurrentModuleAtIndex(m_curTabIndex);
}

void MarketViewController::viewWillAppear(bool animated) {
    CMViewController::viewWillAppear(animated);
    TradeMsgCenter::sharedTradeMsgCenter()->setCurrentActiveVCHandle(weakSelf<MarketViewController>());
}

void MarketViewController::viewDidAppear(bool animated) {
    CMViewController::viewDidAppear(animated);
    resetCurTimerCenter();
    if (dataHasOverTime())
        reqDataOnTimer();
}

void MarketViewController::viewWillDisappear(bool animated) {
    CMViewController::viewWillDisappear(animated);
    if (const base::Ref<TimerCenter> &timer = DataBase::sharedDataBase()->IO_TimerCenter())
        if (timer->controller().get() == static_cast<TimerCenterDelegate *>(this))
            timer->setController({});
    setViewDisappearTick();
}

bool MarketViewController::shouldAutorotateTo(ui::Orientation orientation) {
    bool landscape =
        orientation == ui::Orientation::LandscapeLeft || orientation == ui::Orientation::LandscapeRight;
    if (landscape && isViewLoaded()) {
        reLayoutList(m_curTabIndex);
        m_switchTabBarView->setFrame(StripFrame);
    }
    return landscape;
}

base::Opt<void> MarketViewController::traderButtonAction(ui::View &) {
    TradeMsgCenter::EnterTradeBar();
    return {};
}

// --- Tabs

void MarketViewController::SetCurrentModuleAtIndex(int index) {
    m_curTabIndex = index;
    if (!isViewLoaded())
        return;
    // Back from a board's members first, so that the refresh ends on the chosen tab.
    if (m_boardModelView)
        m_boardModelView->SetBoardVisible();
    SelectModuleAtIndex(index);
    m_switchTabBarView->SetCurrSelectedTab(index);
}

base::Opt<void> MarketViewController::SelectedTabIndex(int index) {
    SelectModuleAtIndex(index);
    return {};
}

base::Ref<ui::View> MarketViewController::makeList(int tabIndex) {
    if (tabIndex == IndexTab) {
        m_indexModelView = base::make<IndexModelView>(ListFrame);
        m_indexModelView->delegate = weakSelf<MarketViewController>();
        m_indexModelView->parentController = weakSelf();
        return m_indexModelView;
    }
    if (tabIndex == BoardTab) {
        m_boardModelView = base::make<BoardModelView>(ListFrame);
        m_boardModelView->parentControllerTarget = weakSelf<MarketViewController>();
        m_boardModelView->delegate = weakSelf<MarketViewController>();
        m_boardModelView->curTabIndex = tabIndex;
        return m_boardModelView;
    }
    if (tabIndex == FundTab) {
        m_fundModelView = base::make<FundModelView>(ListFrame);
        m_fundModelView->parentControllerTarget = weakSelf<MarketViewController>();
        m_fundModelView->delegate = weakSelf<MarketViewController>();
        m_fundModelView->curTabIndex = tabIndex;
        return m_fundModelView;
    }
    if (tabIndex == BondTab) {
        m_bondModelView = base::make<BondModelView>(ListFrame);
        m_bondModelView->parentControllerTarget = weakSelf<MarketViewController>();
        m_bondModelView->delegate = weakSelf<MarketViewController>();
        m_bondModelView->curTabIndex = tabIndex;
        return m_bondModelView;
    }
    if (tabIndex == ProdTab) {
        m_prodModelView = base::make<ProdModelView>(ListFrame);
        m_prodModelView->parentControllerTarget = weakSelf<MarketViewController>();
        m_prodModelView->delegate = weakSelf<MarketViewController>();
        m_prodModelView->curTabIndex = tabIndex;
        return m_prodModelView;
    }
    if (tabIndex == CurrTab) {
        m_currModelView = base::make<CurrModelView>(ListFrame);
        m_currModelView->parentControllerTarget = weakSelf<MarketViewController>();
        m_currModelView->delegate = weakSelf<MarketViewController>();
        m_currModelView->curTabIndex = tabIndex;
        return m_currModelView;
    }
    if (tabIndex == StockTab) {
        m_stockModelView = base::make<StockModelView>(ListFrame);
        m_stockModelView->parentControllerTarget = weakSelf<MarketViewController>();
        m_stockModelView->delegate = weakSelf<MarketViewController>();
        m_stockModelView->curTabIndex = tabIndex;
        return m_stockModelView;
    }
    return nullptr;
}

base::Ref<ui::View> MarketViewController::listView(int tabIndex) const {
    switch (tabIndex) {
    case IndexTab:
        return m_indexModelView;
    case BoardTab:
        return m_boardModelView;
    case StockTab:
        return m_stockModelView;
    case FundTab:
        return m_fundModelView;
    case BondTab:
        return m_bondModelView;
    case ProdTab:
        return m_prodModelView;
    case CurrTab:
        return m_currModelView;
    default:
        return nullptr;
    }
}

void MarketViewController::reLayoutList(int tabIndex) {
    if (tabIndex == IndexTab && m_indexModelView)
        m_indexModelView->reLayout(ListFrame);
    else if (tabIndex == StockTab && m_stockModelView)
        m_stockModelView->reLayout(ListFrame);
    else if (tabIndex == BoardTab && m_boardModelView)
        m_boardModelView->reLayout(ListFrame);
    else if (tabIndex == BondTab && m_bondModelView)
        m_bondModelView->reLayout(ListFrame);
    else if (tabIndex == FundTab && m_fundModelView)
        m_fundModelView->reLayout(ListFrame);
    else if (tabIndex == ProdTab && m_prodModelView)
        m_prodModelView->reLayout(ListFrame);
    else if (tabIndex == CurrTab && m_currModelView)
        m_currModelView->reLayout(ListFrame);
}

void MarketViewController::SelectModuleAtIndex(int index) {
    m_curTabIndex = index;
    base::Ref<ui::View> list = listView(index);
    if (!list) {
        list = makeList(index);
        if (list)
            view().addSubview(list);
    } else {
        view().bringSubviewToFront(list.get());
    }
    reLayoutList(index);
    m_currentSelectedView = list;
    CheckWhichTabIsAlive();
    resetTabTimerCenter(index);
}

void MarketViewController::CheckWhichTabIsAlive() {
    base::Ref<ui::View> shown = m_currentSelectedView.lock();
    for (int tab = 0; tab < TabCount; ++tab)
        if (base::Ref<ui::View> list = listView(tab))
            list->setHidden(list != shown);
}

MarketTableBaseView *MarketViewController::getMarketTable(int tabIndex) const {
    if (tabIndex == BoardTab || tabIndex == BoardStocksTab)
        return m_boardModelView.get();
    if (tabIndex == BondTab)
        return m_bondModelView.get();
    if (tabIndex == FundTab)
        return m_fundModelView.get();
    if (tabIndex == ProdTab)
        return m_prodModelView.get();
    if (tabIndex == CurrTab)
        return m_currModelView.get();
    return tabIndex == StockTab ? m_stockModelView.get() : nullptr;
}

// --- Refresh

void MarketViewController::resetCurTimerCenter() {
    if (const base::Ref<TimerCenter> &timer = DataBase::sharedDataBase()->IO_TimerCenter()) {
        timer->setController(weakSelf<MarketViewController>());
        timer->resetCountDown(RefreshPeriod, FirstTimerID + m_curTabIndex);
    }
}

void MarketViewController::resetTabTimerCenter(int tabIndex) {
    if (const base::Ref<TimerCenter> &timer = DataBase::sharedDataBase()->IO_TimerCenter())
        timer->resetCountDown(RefreshPeriod, FirstTimerID + tabIndex);
}

base::Opt<void> MarketViewController::resetTimerCenterOnScroll(int tabIndex) {
    resetTabTimerCenter(tabIndex);
    return {};
}

base::Opt<void> MarketViewController::OnTimerCenterNotify(int32_t userID) {
    if (userID >= FirstTimerID && userID <= LastTimerID)
        reqDataOnTimer();
    return {};
}

void MarketViewController::reqDataOnTimer() {
    if (!DataBase::sharedDataBase()->isHQConnected())
        return;
    if (m_curTabIndex == IndexTab) {
        if (m_indexModelView)
            m_indexModelView->NotifyTimeEvent();
        return;
    }
    if (MarketTableBaseView *list = getMarketTable(m_curTabIndex))
        list->NotifyTimeEvent();
}

void MarketViewController::CommonNotify(const base::Notification &notification) {
    if (!isViewLoaded())
        return;
    std::vector<MarketTableBaseView *> lists;
    for (const auto &subview : view().subviews())
        if (auto *list = dynamic_cast<MarketTableBaseView *>(subview.get()))
            lists.push_back(list);
    if (notification.userInfo.get("HQConnectStatus").boolValue()) {
        if (m_indexModelView)
            m_indexModelView->setMinLineAllIdle();
        for (MarketTableBaseView *list : lists)
            list->setMinLineAllIdle();
    }
    if (notification.userInfo.get("AppActiveState").stringValue() == "AppDidBecomeActive") {
        if (m_indexModelView)
            m_indexModelView->clearAllMinLinesData();
        for (MarketTableBaseView *list : lists)
            list->clearAllMinLinesData();
    }
}

namespace {

// Releases a list other than the one on show; its tab makes it again when chosen.
template <class List> void dropUnlessShown(base::Ref<List> &list, const ui::View *shown) {
    if (!list || list.get() == shown)
        return;
    list->removeFromSuperview();
    list = nullptr;
}

} // namespace

void MarketViewController::didReceiveMemoryWarning() {
    CMViewController::didReceiveMemoryWarning();
    base::Ref<ui::View> shown = m_currentSelectedView.lock();
    dropUnlessShown(m_stockModelView, shown.get());
    dropUnlessShown(m_boardModelView, shown.get());
    dropUnlessShown(m_bondModelView, shown.get());
    dropUnlessShown(m_fundModelView, shown.get());
    dropUnlessShown(m_currModelView, shown.get());
    dropUnlessShown(m_prodModelView, shown.get());
    dropUnlessShown(m_indexModelView, shown.get());
}

// --- Rows

base::Opt<void> MarketViewController::ReturnStockCodeMarket(const std::string &code,
                                                            const std::string &moduleName, int stockIndex,
                                                            const base::Array &dataArray) {
    ReturnStockCodeMarket(code, moduleName, stockIndex, dataArray, 0);
    return {};
}

base::Opt<void> MarketViewController::ReturnStockCodeMarket(const std::string &code, const std::string &,
                                                            int stockIndex, const base::Array &dataArray,
                                                            int32_t boardID) {
    ui::NavigationController *nav = navigationController();
    if (!nav)
        return {};
    auto detail = base::make<StockDetailViewController>();
    detail->SetStockCodeMarket(code);
    detail->setCurrentBoardID(boardID);
    detail->SetCheckStocksArray(dataArray, stockIndex);
    nav->push(detail, true);
    return {};
}

base::Opt<void> MarketViewController::BackToBoardAction(int, uint8_t) {
    resetTabTimerCenter(BoardTab);
    return {};
}

base::Opt<void> MarketViewController::EnterToStocksBoardAction(const base::Ref<StockQuoteInf> &) {
    resetTabTimerCenter(BoardStocksTab);
    return {};
}
