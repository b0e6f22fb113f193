#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"

#include "DataBase/DataBase.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"

#include "base/NotificationCenter.h"

namespace {

// The security's name in the market code library, or empty.
std::string nameOf(const std::string &code) {
    const base::Ref<NetDataCenter> &layer = DataBase::sharedDataBase()->IO_NetDataCenter();
    if (!layer)
        return {};
    for (const base::Value &market : layer->IO_MktStockCodeLib) {
        std::string prefix = market["title"].stringValue();
        base::Value lib = market["Lib"];
        if (!code.starts_with(prefix) || !lib.array())
            continue;
        for (const base::Value &stock : *lib.array())
            if (prefix + stock["SCode"].stringValue() == code)
                return stock["SName"].stringValue();
    }
    return {};
}

} // namespace

void StockDetailViewController::viewDidLoad() {
    CMViewController::viewDidLoad();
    SetNavigationWithShowSettings(false, false, true);
    SetNavigationWithShowBreakingNews(true);
}

void StockDetailViewController::viewDidAppear(bool animated) {
    CMViewController::viewDidAppear(animated);
    base::Ref<TradeMsgCenter> trade = TradeMsgCenter::sharedTradeMsgCenter();
    trade->setCurrentActiveVCHandle(weakSelf<StockDetailViewController>());
    trade->SetCurrentProductInTradeView(m_stockCode);
}

void StockDetailViewController::viewDidDisappear(bool animated) {
    CMViewController::viewDidDisappear(animated);
    setViewDisappearTick();
    TradeMsgCenter::sharedTradeMsgCenter()->ClearCurrentProduct();
}

void StockDetailViewController::SetStockCodeMarket(const std::string &code) {
    m_stockCode = code;
    std::string name = nameOf(code);
    setTitle(name.empty() ? code : name + " " + code);
    if (isShowing())
        TradeMsgCenter::sharedTradeMsgCenter()->SetCurrentProductInTradeView(code);
}

base::Opt<void> StockDetailViewController::traderButtonAction(ui::View &) {
    base::NotificationCenter::shared().post(DataBase::AppNotify, nullptr,
                                            base::Dict{{"MSG_ID", "Trader_MSG"}, {"Data", "LaunchTrader"}});
    return {};
}
