#pragma once

#include "Class/Module/ToolBarView/TraderToolBarView.h"
#include "Components/CMTabBarController/CMTabBarController.h"
#include "DataBase/DataBase.h"
#include "Splash/SplashViewController.h"

#include "base/NotificationCenter.h"
#include "ui/Alert.h"
#include "ui/Application.h"
#include "ui/Window.h"

// The entry of the whole application. At launch it observes "AppNotify", sets up the quote
// connection, the user's files and the trade message centre, and shows the splash screen, which
// runs the market login. When the first login has finished it builds the tabs from the bundle's
// tab configuration, lays the tab-bar controller out in landscape and, once the splash has closed,
// makes the tab-bar controller the root and checks for an upgrade notice (a re-login never does).
//
// "AppNotify" carries {"MSG_ID", "Data"}; the router acts on:
//   "Trader_MSG"/"LaunchTrader": no broker logged in: the broker login over the tab bar; logged in
//     with the tool bar shown: asks "确定要退出委托?" ("确定" closes the bar and the trade link);
//     logged in otherwise: a fresh tool bar at x 974, y 65, 50 × 654;
//   "Trader_MSG"/"CloseTraderToolBar": closes the bar;
//   "Trader_MSG"/"ReLaunchTrader": closes the bar, says "请求超时,请重新登录!", offers the login;
//   "Trader_MSG"/"TraderTimerOut": logged in with the bar shown: "超时保护，已自动退出委托!";
//   "Stock_MSG"/"MainLogin": the market login again over the running tabs (a splash already
//     shown is reused, with its panel shown, rather than stacking a second one);
//   "Guide_MSG" (any "Data"): the user guide ("UserGuideViewController" by class name), presented
//     over the tab bar without animation; nothing while no such class is registered.
// Anything else changes nothing. Becoming inactive closes the tool bar and the trade link (unless
// the bar was already dismissed); becoming active tells the quote connection through
// "CommonNotify".
class QVNSolvaneMobileAppDelegate : public ui::ApplicationDelegate,
                                    public DataBaseDelegate,
                                    public SplashViewControllerDelegate {
public:
    static constexpr int QuitTradeAlertTag = 100;
    static inline const gfx::Rect ToolBarFrame{974, 65, 50, 654};
    // Interface orientation code of landscape with the home button on the left.
    static constexpr int LandscapeOrientation = 4;

    // The two objects of the main interface, set before launching.
    base::Ref<ui::Window> window;
    base::Ref<CMTabBarController> mtabBarController;

    bool didFinishLaunching(ui::Application &application, const base::Dict &options) override;
    base::Opt<void> didBecomeActive(ui::Application &application) override;
    base::Opt<void> willResignActive(ui::Application &application) override;
    base::Opt<void> didRegisterForRemoteNotifications(ui::Application &application,
                                                      const base::Data &token) override;
    base::Opt<void> didReceiveRemoteNotification(ui::Application &application,
                                                 const base::Dict &payload) override;

    // Login progress is not shown.
    base::Opt<void> ReportInitProgress(float, const std::string &) override { return {}; }
    // A lost quote connection while the splash still runs its login shows the tip.
    base::Opt<void> showTipMessage(const base::Value &unused, const std::string &marker) override;

    void ReturnLoginSuccess(bool isRelogin) override;
    void AnimationFinished() override;
    void SetControllers();
    void AppNotify(const base::Notification &notification);
    void alertView(ui::Alert &alert, int buttonIndex);

    const base::Ref<SplashViewController> &splashViewController() const { return splashViewController_; }
    // The one trading tool bar of the process, or none.
    static base::Ref<TraderToolBarView> &traderToolBar();

private:
    class AlertLink;
    void routeTrader(const std::string &data);
    void showMainLogin();
    void showUserGuide();
    void showTraderLogin();
    void dismissToolBar();
    static bool traderLoggedIn();
    void showAlert(const std::string &title, const std::string &message, std::optional<std::string> cancel,
                   std::vector<std::string> others, int tag);

    base::Ref<SplashViewController> splashViewController_;
    bool m_isReloginSuccess = false;
    base::Ref<AlertLink> alertLink_;
};
