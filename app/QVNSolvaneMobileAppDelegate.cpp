#include "QVNSolvaneMobileAppDelegate.h"

#include "Components/CMViewController.h"
#include "DataBase/TradeDataBase/TradeDataBase.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"
#include "DataManagement/DLDataManagement/DLDataManagement.h"
#include "Module/StockDataBaseMgnt/DataManager.h"
#include "base/Str.h"
#include "ui/NavigationController.h"
#include "ui/StatusBar.h"

// Answers the application delegate's alerts.
class QVNSolvaneMobileAppDelegate::AlertLink : public ui::AlertDelegate {
public:
    explicit AlertLink(base::Weak<QVNSolvaneMobileAppDelegate> owner) : owner_(std::move(owner)) {}
    base::Opt<void> clicked(ui::Alert &alert, int index) override {
        if (auto owner = owner_.lock())
            owner->alertView(alert, index);
        return {};
    }

private:
    base::Weak<QVNSolvaneMobileAppDelegate> owner_;
};

base::Ref<TraderToolBarView> &QVNSolvaneMobileAppDelegate::traderToolBar() {
    static base::Ref<TraderToolBarView> bar;
    return bar;
}

bool QVNSolvaneMobileAppDelegate::didFinishLaunching(ui::Application &, const base::Dict &) {
    m_isReloginSuccess = false;
    auto weak = weakSelf<QVNSolvaneMobileAppDelegate>();
    alertLink_ = base::make<AlertLink>(weak);
    base::NotificationCenter::shared().addObserver(weak, DataBase::AppNotify,
                                                   [weak](const base::Notification &n) {
                                                       if (auto alive = weak.lock())
                                                           alive->AppNotify(n);
                                                   });
    DataBase::sharedDataBase()->initialize(std::dynamic_pointer_cast<DataBaseDelegate>(shared_from_this()));
    DataManager::sharedDataManager().initialize();
    DLDataManagement::sharedDLDataManagement()->initialize();
    TradeMsgCenter::sharedTradeMsgCenter();

    splashViewController_ = base::make<SplashViewController>();
    splashViewController_->delegate = weak;
    window->setRootViewController(splashViewController_);
    // The band above the screens shows the time and the network activity, over every root screen.
    window->addSubview(base::make<ui::StatusBar>());
    window->makeKeyAndVisible();
    return true;
}

base::Opt<void> QVNSolvaneMobileAppDelegate::showTipMessage(const base::Value &, const std::string &marker) {
    if (splashViewController_ && !splashViewController_->isStopAnimation())
        DataManager::sharedDataManager().ShowAlertTipInfo(marker);
    return {};
}

void QVNSolvaneMobileAppDelegate::ReturnLoginSuccess(bool isRelogin) {
    m_isReloginSuccess = isRelogin;
    if (!isRelogin) {
        // Before anything builds the tab-bar controller's view: its strips take their frames
        // from this orientation when they are made.
        mtabBarController->setPrevOrientation(LandscapeOrientation);
        SetControllers();
    }
    if (splashViewController_)
        splashViewController_->FinishSplashShow();
}

void QVNSolvaneMobileAppDelegate::SetControllers() {
    std::vector<base::Ref<ui::ViewController>> tabs;
    for (const base::Value &entry : DataBase::sharedDataBase()->nlMobileConfigFileArray()) {
        auto screen = std::dynamic_pointer_cast<ui::ViewController>(
            base::ClassRegistry::create(entry["Tab_ViewController"].stringValue()));
        if (!screen)
            continue;
        screen->setTitle(entry["Tab_Name"].stringValue());
        screen->tabBarItem().title = screen->title();
        screen->tabBarItem().image = gfx::Image::named(entry["Tab_Image"].stringValue());
        base::Ref<ui::ViewController> tab = screen;
        if (entry["IsShowNav"].boolValue()) {
            if (auto *base = dynamic_cast<CMViewController *>(screen.get()))
                base->navDic = entry["Next"].dict() ? entry["Next"].dict()->copy() : base::Dict();
            // The navigation controller shows its root's tab item, as the platform's does.
            tab = base::make<ui::NavigationController>(screen);
            tab->tabBarItem() = screen->tabBarItem();
        }
        tabs.push_back(tab);
    }
    mtabBarController->setViewControllers(std::move(tabs), false);
    DataManager::sharedDataManager().msgboxParentHandle = mtabBarController->viewRef();
}

void QVNSolvaneMobileAppDelegate::AnimationFinished() {
    if (splashViewController_) {
        splashViewController_->view().removeFromSuperview();
        splashViewController_.reset();
    }
    window->setRootViewController(mtabBarController);
    if (!m_isReloginSuccess)
        DataBase::sharedDataBase()->AlertUpgrade(true);
}

// ---------------------------------------------------------------------------------------------
// Application messages

void QVNSolvaneMobileAppDelegate::AppNotify(const base::Notification &notification) {
    std::string msgID = notification.userInfo.get("MSG_ID").stringValue();
    std::string data = notification.userInfo.get("Data").stringValue();
    if (msgID == "Trader_MSG")
        routeTrader(data);
    else if (msgID == "Stock_MSG" && data == "MainLogin")
        showMainLogin();
    else if (msgID == "Guide_MSG")
        showUserGuide();
}

void QVNSolvaneMobileAppDelegate::showUserGuide() {
    // The guide is found by its class name, as the tab screens are.
    auto guide =
        std::dynamic_pointer_cast<ui::ViewController>(base::ClassRegistry::create("UserGuideViewController"));
    if (guide)
        mtabBarController->presentModal(guide, false);
}

bool QVNSolvaneMobileAppDelegate::traderLoggedIn() {
    return TradeDataBase::sharedTradeDataBase()->IO_TradeNetData()->isLoginSuccess();
}

void QVNSolvaneMobileAppDelegate::routeTrader(const std::string &data) {
    base::Ref<TraderToolBarView> &bar = traderToolBar();
    bool barShown = bar && !bar->isToolBarHidden();
    if (data == "LaunchTrader") {
        if (!traderLoggedIn()) {
            showTraderLogin();
        } else if (barShown) {
            showAlert("提示", "确定要退出委托?", "取消", {"确定"}, QuitTradeAlertTag);
        } else {
            bar = base::make<TraderToolBarView>(ToolBarFrame);
            bar->setParentHandler(mtabBarController);
            bar->setIsHidden(false);
            bar->ShowTraderToolBar();
        }
    } else if (data == "CloseTraderToolBar") {
        dismissToolBar();
    } else if (data == "ReLaunchTrader") {
        dismissToolBar();
        showAlert("提示", "请求超时,请重新登录!", "确定", {}, 0);
        showTraderLogin();
    } else if (data == "TraderTimerOut") {
        if (traderLoggedIn() && barShown)
            showAlert("提示", "超时保护，已自动退出委托!", "确定", {}, 0);
    }
}

void QVNSolvaneMobileAppDelegate::showTraderLogin() {
    TradeMsgCenter::sharedTradeMsgCenter()->NeedShowLoginInParent(mtabBarController->view(), true);
}

void QVNSolvaneMobileAppDelegate::dismissToolBar() {
    base::Ref<TraderToolBarView> &bar = traderToolBar();
    if (!bar)
        return;
    bar->DismissTraderToolBarWithSubiew();
    bar.reset();
}

void QVNSolvaneMobileAppDelegate::showMainLogin() {
    // A splash that is already there (a login under way, or its panel waiting) is reused with its
    // panel shown: a second one would run a second login over the first.
    if (splashViewController_) {
        if (const base::Ref<MainLoginView> &panel = splashViewController_->mainLoginView())
            panel->setHidden(false);
        return;
    }
    splashViewController_ = base::make<SplashViewController>();
    splashViewController_->delegate = weakSelf<QVNSolvaneMobileAppDelegate>();
    splashViewController_->isRelogin = true;
    mtabBarController->view().addSubview(splashViewController_->viewRef());
}

void QVNSolvaneMobileAppDelegate::showAlert(const std::string &title, const std::string &message,
                                            std::optional<std::string> cancel,
                                            std::vector<std::string> others, int tag) {
    auto alert = base::make<ui::Alert>(title, message, alertLink_, std::move(cancel), std::move(others));
    alert->tag = tag;
    alert->show();
}

void QVNSolvaneMobileAppDelegate::alertView(ui::Alert &alert, int buttonIndex) {
    if (alert.tag != QuitTradeAlertTag || buttonIndex != 1)
        return;
    dismissToolBar();
    TradeDataBase::sharedTradeDataBase()->disconnectTradeServer({});
}

// ---------------------------------------------------------------------------------------------
// Activity and remote notifications

base::Opt<void> QVNSolvaneMobileAppDelegate::willResignActive(ui::Application &) {
    const base::Ref<TraderToolBarView> &bar = traderToolBar();
    if (bar && bar->isToolBarHidden())
        return {};
    // The reference stays: the next "LaunchTrader" finds the bar dismissed and replaces it.
    if (bar)
        bar->DismissTraderToolBarWithSubiew();
    TradeDataBase::sharedTradeDataBase()->disconnectTradeServer({});
    return {};
}

base::Opt<void> QVNSolvaneMobileAppDelegate::didBecomeActive(ui::Application &) {
    base::NotificationCenter::shared().post(DataBase::CommonNotify, nullptr,
                                            base::Dict{{"AppActiveState", "AppDidBecomeActive"}});
    return {};
}

base::Opt<void> QVNSolvaneMobileAppDelegate::didRegisterForRemoteNotifications(ui::Application &,
                                                                               const base::Data &token) {
    std::string text = token.description();
    std::erase_if(text, [](char c) { return c == '<' || c == '>' || c == ' '; });
    DataBase::sharedDataBase()->IO_DeviceToken = text;
    return {};
}

base::Opt<void> QVNSolvaneMobileAppDelegate::didReceiveRemoteNotification(ui::Application &,
                                                                          const base::Dict &payload) {
    base::Value aps = payload.get("aps");
    if (aps.dict())
        showAlert("接收到推送消息", base::str::format("%@", aps["alert"].description()), "关闭", {}, 0);
    return {};
}
