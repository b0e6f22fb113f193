#include "Module/Market/MarketViewController.h"

#include "DataBase/DataBase.h"

#include "base/NotificationCenter.h"

BASE_REGISTER_CLASS(MarketViewController);

void MarketViewController::viewDidLoad() {
    CMViewController::viewDidLoad();
    SetNavigationWithShowSettings(true, false, true);
    SetNavigationWithShowBreakingNews(true);
    SetNavigationWithSearchBar();
}

base::Opt<void> MarketViewController::traderButtonAction(ui::View &) {
    base::NotificationCenter::shared().post(DataBase::AppNotify, nullptr,
                                            base::Dict{{"MSG_ID", "Trader_MSG"}, {"Data", "LaunchTrader"}});
    return {};
}
