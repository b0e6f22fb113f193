#pragma once

#include "Class/Module/LoginModel/LoginView/AccountList.h"
#include "DataBase/NetData/QuoteRequestRecord.h"
#include "DataBase/TradeDataBase/TradeDataBase.h"
#include "DataBase/WT/WTTrader.h"

#include "base/NotificationCenter.h"

#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/Popover.h"
#include "ui/TextField.h"
#include "ui/View.h"

#include <functional>
#include <string>

class CMProgressWaitingView;
class DepListViewController;
class TradeTypeViewController;

// The broker login form. The trade message centre lays it over the current screen, above a
// dimming view, when trading is asked for without a broker login. The user picks a broker or a
// saved account, the area and branch and the account type, types account and trade password and
// logs in. Every request first passes the trade connection's connect-and-phone-check gate; one
// that has to wait for the connection, the phone check or the broker table is sent again by itself
// when that step completes. Replies come under "TradeLoginNotify". A successful login stores the
// account (never the password) in "AccountList.plist", removes the form and its dimming view and
// opens the trading tool bar; the cancel button closes the connection and the form.
class LoginView : public ui::View, public TradeDataDelegate, public DataPoolDelegate {
public:
    static constexpr const char *kObserverName = "TradeLoginNotify";
    static constexpr const char *kNoDepTitle = "证券交易中心";

    explicit LoginView(gfx::Rect frame);
    ~LoginView() override;
    void setUp() override;

    ui::Button &cancelBtn() { return *m_cancelBtn; }
    void setBgView(base::Weak<ui::View> bgView) { m_bgView = std::move(bgView); }
    // The operation called on `target`, while it lives, when the user cancels the form.
    void SetCancelTarget(base::Weak<base::Object> target, std::function<void()> cancelAction);
    // Removes the form and its dimming view.
    void close();

    // The broker chooser's operations.
    void ReturnSelectedAccount(const SavedBrokerAccount &account, int accountIndex);
    void ClearAccountInfoAndControls();
    // Writes the list and reloads the form's own from the file.
    bool SaveAccountFile(const SavedBrokerAccounts &accounts);
    // The chooser deleted saved entry `index`, leaving `accounts`: they are written, and the entry
    // in use (here and stored) keeps pointing at the same account, or at none when it went.
    void AccountDeleted(const SavedBrokerAccounts &accounts, int index);
    // The phone verification's: a verified broker.
    void ReturnSelectedSecurities(const std::string &securitiesName, const std::string &mobile,
                                  const std::string &mobileCheckNum);

    // The pickers' operations.
    void setAreaName(std::string name) { m_form.areaName = std::move(name); }
    void setDepartmentName(std::string name) { m_form.departmentName = std::move(name); }
    void setDepartmentCode(std::string code) { m_form.departmentCode = std::move(code); }
    void setAccountType(std::string type) { m_form.accountType = std::move(type); }
    const std::string &accountType() const { return m_form.accountType; }
    void SetAreaDepartmentBtnName(const std::string &areaName, const std::string &depName);
    void SetAccountTypeBtnName(const std::string &name);
    void reqAccountDep(int areaIndex);

    // The buttons.
    void securitiesAction();
    void LoginAction();
    void cancelAction();
    void saveSwitchAction();

    // Replies.
    base::Opt<void> OnTradeConnect(bool success, int status) override;
    base::Opt<void> OnTradeDataRsp(int reqType, const base::Ref<TradeRspData> &rspData,
                                   const std::optional<base::Dict> &params) override;
    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;

    // What the form holds; the account field's text is copied in on login.
    const SavedBrokerAccount &form() const { return m_form; }
    bool isSaveAccount() const { return m_isSaveAccount; }
    const SavedBrokerAccounts &accountsArray() const { return m_accountsArray; }
    int selectedAccountIndex() const { return m_selectedAccountIndex; }
    const base::Ref<WTTrader> &traderInfo() const { return m_traderInfo; }
    bool isWaiting() const;

    const base::Ref<ui::Popover> &popoverController() const { return m_popoverController; }
    const base::Ref<DepListViewController> &selectDepVC() const { return m_selectDepVC; }
    const base::Ref<TradeTypeViewController> &selectAccTypeVC() const { return m_selectAccTypeVC; }
    void areaDepAction();
    void accountTypeAction();
    ui::Button &securitiesBtn() { return *m_securitiesBtn; }
    ui::Button &areaDepBtn() { return *m_areaDepBtn; }
    ui::Button &accountTypeBtn() { return *m_accountTypeBtn; }
    ui::Button &saveBtn() { return *m_saveBtn; }
    ui::Button &loginBtn() { return *m_loginBtn; }
    ui::TextField &accountField() { return *m_accountField; }
    ui::TextField &passwordField() { return *m_passwordField; }

private:
    // The requests the form sends through the gate, in the order they resume.
    enum Request { kLogin, kAccountInfo, kArea, kDep, kAccountType, kRequestCount };

    void initUI();
    void LoadLastLoginAccount();
    void UpdateAccountInfoFromDict(const SavedBrokerAccount &account);
    void lookUpTraderInfo();
    void showSaveSwitch();
    void TradeLoginNotify(const base::Notification &notification);

    // Passes the gate; true when the request may go now.
    bool checkGate(Request request);
    void send(Request request);
    void ContinueReq();
    void OnAllReqEnd();
    // Clears the request's flag; true when it was set.
    bool endRequest(Request request);
    bool hasPhone() const;
    void RequestAccountDep(int areaIndex);

    void onLogin(TradeRspData &rsp);
    void onAccountInfo(TradeRspData &rsp);
    void onAreas(TradeRspData &rsp);
    void onDeps(TradeRspData &rsp, const std::optional<base::Dict> &params);
    void onAccountTypes(TradeRspData &rsp);
    void SaveCurAccountInfoToAccountsArray();

    void StartWaiting();
    void StopWaiting();
    void showPopover(base::Ref<ui::ViewController> root, const ui::Button &from);
    void closePopover();
    void popoverClosed();

    SavedBrokerAccount m_form;
    bool m_isSaveAccount = true;
    base::Ref<WTTrader> m_traderInfo;
    SavedBrokerAccounts m_accountsArray;
    int m_selectedAccountIndex = -1;
    bool m_pending[kRequestCount] = {};
    int m_reqDepAreaIndex = -1;

    base::Ref<ui::Button> m_securitiesBtn, m_areaDepBtn, m_accountTypeBtn, m_saveBtn, m_loginBtn, m_cancelBtn;
    base::Ref<ui::TextField> m_accountField, m_passwordField;
    struct PopoverRelay;
    base::Ref<ui::Popover> m_popoverController;
    base::Ref<PopoverRelay> m_popoverRelay;
    base::Ref<DepListViewController> m_selectDepVC;
    base::Ref<TradeTypeViewController> m_selectAccTypeVC;
    base::Ref<CMProgressWaitingView> m_progressWaitingView;
    base::Ref<ui::View> m_coveredView;
    base::Weak<ui::View> m_bgView;
    base::Weak<base::Object> m_cancelTarget;
    std::function<void()> m_cancelAction;
};
