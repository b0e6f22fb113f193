#include "Module/Market/MarketViewController.h"

#include "DataBase/TradeDataBase/TradeMsgCenter.h"

BASE_REGISTER_CLASS(MarketViewController);

void MarketViewController::viewDidLoad() {
    CMViewController::viewDidLoad();
    SetNavigationWithShowSettings(true, false, true);
    SetNavigationWithShowBreakingNews(true);
    SetNavigationWithSearchBar();
}

void MarketViewController::viewDidAppear(bool animated) {
    CMViewController::viewDidAppear(animated);
    // A security picked on the trading screens opens over the market screen.
    TradeMsgCenter::sharedTradeMsgCenter()->setCurrentActiveVCHandle(weakSelf<MarketViewController>());
}

base::Opt<void> MarketViewController::traderButtonAction(ui::View &) {
    TradeMsgCenter::EnterTradeBar();
    return {};
}
