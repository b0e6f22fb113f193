#include "ScreenStandIns.h"

#include "base/Object.h"
#include "ui/ViewController.h"

void registerScreenStandIns() {
    for (const char *name : {"FrontPageViewController", "MyStockViewController", "MarketViewController",
                             "NewsViewController", "DecisionViewController"})
        if (!base::ClassRegistry::has(name))
            base::ClassRegistry::add(name, [] {
                return std::static_pointer_cast<base::Object>(base::make<ui::ViewController>());
            });
}
