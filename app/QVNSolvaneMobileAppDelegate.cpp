#include "QVNSolvaneMobileAppDelegate.h"

#include "Module/StockDataBaseMgnt/DataManager.h"
#include "base/NotificationCenter.h"

namespace {

void postActiveState(const char *state) {
    base::NotificationCenter::shared().post(DataBase::CommonNotify, nullptr,
                                            base::Dict{{"AppActiveState", state}});
}

} // namespace

bool QVNSolvaneMobileAppDelegate::didFinishLaunching(ui::Application &, const base::Dict &) {
    DataManager::sharedDataManager().initialize();
    auto dataBase = DataBase::sharedDataBase();
    dataBase->initialize(std::dynamic_pointer_cast<DataBaseDelegate>(shared_from_this()));
    dataBase->ConnectAndLoginWithoutAccount(shared_from_this(), false);
    return true;
}

base::Opt<void> QVNSolvaneMobileAppDelegate::didBecomeActive(ui::Application &) {
    postActiveState("AppDidBecomeActive");
    return {};
}

base::Opt<void> QVNSolvaneMobileAppDelegate::willResignActive(ui::Application &) {
    postActiveState("AppWillResignActive");
    return {};
}
