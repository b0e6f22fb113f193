#include "TabScreens.h"

#include "Components/CMViewController.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"
#include "Module/Market/MarketViewController.h"
#include "Module/MyStock/MyStockViewController.h"
#include "Module/NavToolBarModule/SettingsViewController/UserGuideViewController.h"
#include "Module/NewsViewController/NewsViewController.h"

namespace {

// A top-level screen still to come: its navigation bar and an empty content area. Every such
// screen shows settings, the trade button, breaking news and the search field; the home page
// also the alarm button.
class StandInScreen : public CMViewController {
public:
    explicit StandInScreen(bool showAlarm) : showAlarm_(showAlarm) {}

    void viewDidLoad() override {
        CMViewController::viewDidLoad();
        SetNavigationWithShowSettings(true, false, true);
        SetNavigationWithShowBreakingNews(true);
        SetNavigationWithShowStockAlarm(showAlarm_);
        SetNavigationWithSearchBar();
    }
    base::Opt<void> traderButtonAction(ui::View &) override {
        TradeMsgCenter::EnterTradeBar();
        return {};
    }

private:
    bool showAlarm_;
};

} // namespace

void registerTabScreens() {
    base::ClassRegistry::add<MarketViewController>("MarketViewController");
    base::ClassRegistry::add<MyStockViewController>("MyStockViewController");
    base::ClassRegistry::add<UserGuideViewController>("UserGuideViewController");
    base::ClassRegistry::add<NewsViewController>("NewsViewController");
    for (const char *name : {"FrontPageViewController", "MyStockViewController", "DecisionViewController"}) {
        if (base::ClassRegistry::has(name))
            continue;
        bool showAlarm = std::string(name) == "FrontPageViewController";
        base::ClassRegistry::add(name, [showAlarm] {
            return std::static_pointer_cast<base::Object>(base::make<StandInScreen>(showAlarm));
        });
    }
}
