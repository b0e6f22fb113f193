#pragma once

#include "Class/Module/LoginModel/LoginView/LoginView.h"
#include "Class/Module/ToolBarView/TradeView/TradeView.h"

#include "base/Object.h"
#include "base/Timer.h"
#include "base/Value.h"

#include <optional>
#include <string>

class CMViewController;

// Told when the auto-lock fires (the trading tool bar).
class TradeMsgCenterDelegate {
public:
    virtual ~TradeMsgCenterDelegate() = default;
    virtual void LockToolBar() = 0;
};

// The trading module's meeting point on the screen side: the trade settings, the auto-lock that ends
// an idle trading session, the broker login form over the current screen and the security code the
// stock detail screen hands to the order panel. Created on first use, never destroyed; everything
// runs on the main run loop.
//
// Settings come once, at creation, from "TradeSettings.plist" in the documents directory, else from
// the bundle's "TradeSettings": "LockTimeMin" (minutes; -1, and any value that is missing, not a
// number or not positive, means never) and "LockPassword" (never logged or shown). SaveSettings
// writes them back owner-only.
//
// The lock: StartLockTimeCount (re)starts a one-shot timer of the minutes, or stops a running one
// when the lock is off; when it fires the centre sets isLocked, posts "AppNotify" {"MSG_ID":
// "Trader_MSG", "Data": "TraderTimerOut"}, tells its delegate and closes the trade connection.
// isLocked stays set through that close, so the trading screens find trading locked until the
// next connection to a gateway starts a new session; any other close clears it.
//
// A code picked in a trading table opens in the stock detail screen through the top-level screen
// that appeared last (currentActiveVCHandle), when that screen is one that shows securities.
class TradeMsgCenter : public base::Object {
public:
    static constexpr const char *kSettingsName = "TradeSettings";
    static constexpr const char *kSettingsFile = "TradeSettings.plist";
    static constexpr double kNever = -1;
    static constexpr const char *kAppNotify = "AppNotify";
    // The login form and its dimming view.
    static inline const gfx::Rect kLoginFrame{332, 64, 360, 320};
    static inline const gfx::Rect kDimFrame{0, 64, 1024, 660};
    static constexpr int kDimTag = 240;

    static base::Ref<TradeMsgCenter> sharedTradeMsgCenter();
    // A centre of its own, with the settings read now.
    static base::Ref<TradeMsgCenter> create();
    TradeMsgCenter() = default;
    ~TradeMsgCenter() override;

    // The path of that name in the documents directory.
    static std::string dataFilePath(const std::string &fileName);
    // Writes "LockTimeMin" and "LockPassword" to the documents file, readable by the owner only.
    bool SaveSettings() const;

    void StartLockTimeCount();
    void StopLockTimeCount();

    // Shows the login form over `parent` (the current screen's view), its cancel button visible
    // when asked; while a form is shown only the button changes.
    void NeedShowLoginInParent(ui::View &parent, bool showCancelBtn);
    void LoginSuccess() { m_loginView.reset(); }
    void LoginCancelAction() { m_loginView.reset(); }

    // The code goes to the open order panel, and stays for the next one.
    void SetCurrentProductInTradeView(const std::string &code);
    void ClearCurrentProduct() { m_currentProdCode.clear(); }

    // Opens the code's stock detail from the current top-level screen when it is the home, market,
    // watch-list or stock detail screen; from any other screen nothing happens.
    void SwitchToStock(const std::string &code);
    // Told by the trade connection: a session began, or the connection closed.
    void TradeConnectionOpened() { m_isLocked = false; }
    void TradeConnectionClosed();

    // Posts that the trading screens are to be shown.
    static void EnterTradeBar();

    void setDelegate(base::Weak<TradeMsgCenterDelegate> delegate) { m_delegate = std::move(delegate); }
    double lockTimeMinute() const { return m_lockTimeMinute; }
    // Takes effect at the next StartLockTimeCount; anything but a positive number is never.
    void setLockTimeMinute(double minutes);
    const std::string &lockPassword() const { return m_lockPassword; }
    void setLockPassword(std::string password) { m_lockPassword = std::move(password); }
    const std::string &currentProdCode() const { return m_currentProdCode; }
    base::Ref<TradeView> tradeViewHandle() const { return m_tradeViewHandle.lock(); }
    void setTradeViewHandle(base::Weak<TradeView> view) { m_tradeViewHandle = std::move(view); }
    base::Ref<LoginView> loginView() const { return m_loginView.lock(); }
    CMViewController *currentActiveVCHandle() const { return m_currentActiveVCHandle.lock().get(); }
    void setCurrentActiveVCHandle(base::Weak<CMViewController> screen) {
        m_currentActiveVCHandle = std::move(screen);
    }
    bool isLocked() const { return m_isLocked; }
    void setIsLocked(bool locked) { m_isLocked = locked; }
    bool isCounting() const { return m_countTimer != nullptr; }

private:
    void readSettings();
    void countTimerAction();

    base::Weak<TradeMsgCenterDelegate> m_delegate;
    base::Ref<base::Timer> m_countTimer;
    base::Weak<LoginView> m_loginView;
    double m_lockTimeMinute = kNever;
    std::string m_lockPassword;
    std::string m_currentProdCode;
    base::Weak<TradeView> m_tradeViewHandle;
    bool m_isLocked = false;
    // The lock is closing the connection: its close keeps isLocked.
    bool m_closingForLock = false;
    base::Weak<CMViewController> m_currentActiveVCHandle;
};
