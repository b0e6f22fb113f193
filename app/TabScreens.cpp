#include "TabScreens.h"

#include "Components/CMViewController.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"
#include "Module/FreeFrontPage/FreeFrontPageViewController.h"
#include "Module/FrontPage/FrontPageViewController.h"
#include "Module/Market/MarketViewController.h"
#include "Module/MyStock/MyStockViewController.h"
#include "Module/NavToolBarModule/SettingsViewController/UserGuideViewController.h"
#include "Module/NewsViewController/NewsViewController.h"

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

} // namespace

void registerTabScreens() {
    base::ClassRegistry::add<FrontPageViewController>("FrontPageViewController");
    base::ClassRegistry::add<FreeFrontPageViewController>("FreeFrontPageViewController");
    base::ClassRegistry::add<MarketViewController>("MarketViewController");
    base::ClassRegistry::add<MyStockViewController>("MyStockViewController");
    base::ClassRegistry::add<UserGuideViewController>("UserGuideViewController");
    base::ClassRegistry::add<NewsViewController>("NewsViewController");
    if (!base::ClassRegistry::has("DecisionViewController"))
        base::ClassRegistry::add<StandInScreen>("DecisionViewController");
}
