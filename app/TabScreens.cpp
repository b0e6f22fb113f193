#include "TabScreens.h"

#include "Module/Decision/DecisionViewController.h"
#include "Module/FreeFrontPage/FreeFrontPageViewController.h"
#include "Module/FrontPage/FrontPageViewController.h"
#include "Module/Market/MarketViewController.h"
#include "Module/MyStock/MyStockViewController.h"
#include "Module/NavToolBarModule/SettingsViewController/UserGuideViewController.h"
#include "Module/NewsViewController/NewsViewController.h"

void registerTabScreens() {
    base::ClassRegistry::add<FrontPageViewController>("FrontPageViewController");
    base::ClassRegistry::add<FreeFrontPageViewController>("FreeFrontPageViewController");
    base::ClassRegistry::add<MarketViewController>("MarketViewController");
    base::ClassRegistry::add<MyStockViewController>("MyStockViewController");
    base::ClassRegistry::add<UserGuideViewController>("UserGuideViewController");
    base::ClassRegistry::add<NewsViewController>("NewsViewController");
    base::ClassRegistry::add<DecisionViewController>("DecisionViewController");
}
