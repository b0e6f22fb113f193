#include "TabScreens.h"

#include "Components/CMViewController.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"
#include "Module/FrontPage/FrontPageViewController.h"
#include "Module/Market/MarketViewController.h"
#include "Module/MyStock/MyStockViewController.h"
#include "Module/NavToolBarModule/SettingsViewController/UserGuideViewController.h"

namespace {

// A top-level screen still to come: its navigation bar (settings, the trade button, breaking news
// and the search field) and an empty content area.
class StandInScreen : public CMViewController {
public:
    void viewDidLoad() override {
        CMViewController::viewDidLoad();
        SetNavigationWithShowSettings(true, false, true);
        SetNavigationWithShowBreakingNews(true);
        SetNavigationWithSearchBar();
    }
    base::Opt<void> traderButtonAction(ui::View &) override {
        TradeMsgCenter::EnterTradeBar();
        return {};
    }
};

// The news screen's stand-in carries its class name, so that screens looking for the news tab (the
// home page's headline link) find it.
class NewsViewController final : public StandInScreen {};

} // namespace

void registerTabScreens() {
    base::ClassRegistry::add<FrontPageViewController>("FrontPageViewController");
    base::ClassRegistry::add<MarketViewController>("MarketViewController");
    base::ClassRegistry::add<MyStockViewController>("MyStockViewController");
    base::ClassRegistry::add<UserGuideViewController>("UserGuideViewController");
    if (!base::ClassRegistry::has("NewsViewController"))
        base::ClassRegistry::add<NewsViewController>("NewsViewController");
    if (!base::ClassRegistry::has("DecisionViewController"))
        base::ClassRegistry::add<StandInScreen>("DecisionViewController");
}
