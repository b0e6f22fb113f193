#include "Class/Module/LoginModel/LoginView/LoginView.h"

#include "Class/Module/LoginModel/DepListViewController/DepListViewController.h"
#include "Class/Module/LoginModel/SecuritiesViewController/SecuritiesViewController.h"
#include "Class/Module/LoginModel/TradeTypeViewController/TradeTypeViewController.h"

#include "Common/Util.h"
#include "Common/UtilUI.h"
#include "Components/CMProgressWaitingView.h"
#include "DataBase/DataBase.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"
#include "DataBase/WT/TradeInterface.h"
#include "Module/StockDataBaseMgnt/DataManager.h"

#include "base/NotificationCenter.h"
#include "gfx/Font.h"
#include "ui/ImageView.h"
#include "ui/NavigationController.h"

namespace {

constexpr const char *kAddBrokerTitle = "添加券商";
constexpr const char *kAddAreaDepTitle = "添加区域和营业部";
constexpr const char *kChooseTypeTitle = "选择账号类别";
constexpr const char *kNoBrokerText = "请先选择券商！";
constexpr const char *kErrorTitle = "错误";

base::Ref<ui::Button> grayButton(gfx::Rect frame, const char *title) {
    auto button = ui::Button::custom(frame);
    button->setBackgroundImage(UtilUI::imageNamed("btn_gray.png"));
    button->setTitleColor(gfx::Color::white());
    button->setTitle(title);
    return button;
}

base::Ref<ui::TextField> formField(gfx::Rect frame, const char *placeholder, const char *icon) {
    auto field = base::make<ui::TextField>(frame);
    field->setPlaceholder(placeholder);
    field->setBackground(UtilUI::imageNamed("textField_bg.png"));
    field->setFont(gfx::Font::system(18));
    field->setTextColor(gfx::Color::black());
    field->setContentVerticalAlignment(ui::TextField::VAlign::Center);
    field->setLeftView(base::make<ui::ImageView>(gfx::Rect{0, 0, 28, 28}, UtilUI::imageNamed(icon)),
                       ui::TextField::ViewMode::Always);
    field->keyboardType = ui::TextField::Keyboard::NumberPad;
    return field;
}

std::string text(const base::Value &value) {
    return value.stringValue();
}

// The branch rows of an area row; none when it has none.
const base::Array *depsOf(const base::Value &area) {
    const base::Dict *dict = area.dict();
    const base::Value *deps = dict ? dict->find("DepArray") : nullptr;
    return deps ? deps->array() : nullptr;
}

// The rows of the reply's first table as mutable copies; none when the reply has no table.
std::optional<base::Array> rows(const TradeRspData &rsp) {
    std::optional<base::Array> table = rsp.getRspArray();
    if (table)
        return table->deepCopy();
    return table;
}

} // namespace

// Forgets the pickers when the user closes their popover by tapping outside it.
struct LoginView::PopoverRelay : ui::PopoverDelegate {
    base::Weak<LoginView> form;
    base::Opt<void> didDismiss(ui::Popover &) override {
        if (auto f = form.lock())
            f->popoverClosed();
        return {};
    }
};

LoginView::LoginView(gfx::Rect frame) : ui::View(frame) {}

LoginView::~LoginView() {
    base::NotificationCenter::shared().removeObserver(this);
}

void LoginView::setUp() {
    ui::View::setUp();
    base::Weak<LoginView> weak = weakSelf<LoginView>();
    base::NotificationCenter::shared().addObserver(weak, kObserverName, [weak](const base::Notification &n) {
        if (auto alive = weak.lock())
            alive->TradeLoginNotify(n);
    });
    m_popoverRelay = base::make<PopoverRelay>();
    m_popoverRelay->form = weak;
    initUI();
    LoadLastLoginAccount();
}

void LoginView::initUI() {
    setBackgroundColor(gfx::Color::pattern(UtilUI::imageNamed("trader_bg.png")));
    auto title = base::make<ui::Label>(gfx::Rect{0, 0, 360, 50});
    title->setText("交易登录");
    title->setFont(gfx::Font::boldSystem(21));
    // The panel art under it is dark: black would not read.
    title->setTextColor(gfx::Color::white());
    title->setBackgroundColor(gfx::Color::clear());
    title->setTextAlignment(gfx::Align::Center);
    addSubview(title);

    m_securitiesBtn = grayButton({60, 50, 240, 43}, kAddBrokerTitle);
    m_areaDepBtn = grayButton({60, 97, 240, 43}, kAddAreaDepTitle);
    m_accountTypeBtn = grayButton({60, 144, 240, 43}, kChooseTypeTitle);
    m_accountField = formField({60, 195, 240, 28}, "账号", "account.png");
    m_passwordField = formField({60, 227, 240, 28}, "交易密码", "password.png");
    m_passwordField->setSecureTextEntry(true);
    m_saveBtn = ui::Button::custom({306, 197, 25, 25});
    m_loginBtn = ui::Button::custom({60, 271, 116, 28});
    m_loginBtn->setBackgroundImage(UtilUI::imageNamed("btn_login.png"));
    m_loginBtn->setTitle("登录");
    m_cancelBtn = ui::Button::custom({184, 271, 116, 28});
    m_cancelBtn->setBackgroundImage(UtilUI::imageNamed("btn_cancel.png"));
    m_cancelBtn->setTitle("取消");
    showSaveSwitch();

    base::Weak<LoginView> weak = weakSelf<LoginView>();
    auto wire = [&](ui::Button &button, const char *name, void (LoginView::*action)()) {
        button.addTarget(base::Action(name,
                                      [weak, action](base::Object *) {
                                          if (auto alive = weak.lock())
                                              ((*alive).*action)();
                                      }),
                         ui::TouchUpInside);
    };
    wire(*m_securitiesBtn, "securitiesAction", &LoginView::securitiesAction);
    wire(*m_areaDepBtn, "areaDepAction", &LoginView::areaDepAction);
    wire(*m_accountTypeBtn, "accountTypeAction", &LoginView::accountTypeAction);
    wire(*m_saveBtn, "saveSwitchAction", &LoginView::saveSwitchAction);
    wire(*m_loginBtn, "LoginAction", &LoginView::LoginAction);
    wire(*m_cancelBtn, "cancelAction", &LoginView::cancelAction);
    for (const base::Ref<ui::View> &view : std::initializer_list<base::Ref<ui::View>>{
             m_securitiesBtn, m_areaDepBtn, m_accountTypeBtn, m_accountField, m_saveBtn, m_passwordField,
             m_loginBtn, m_cancelBtn})
        addSubview(view);

    m_progressWaitingView = base::make<CMProgressWaitingView>(gfx::Rect{0, 325, 360, 3});
    m_coveredView = base::make<ui::View>(gfx::Rect{0, 0, 360, 253});
    m_coveredView->setBackgroundColor(gfx::Color::clear());
}

void LoginView::LoadLastLoginAccount() {
    m_accountsArray = AccountList::load();
    int stored = DataManager::sharedDataManager().GetTradeAddedAccountIndex();
    if (stored < 0 || stored >= int(m_accountsArray.size()))
        return;
    m_selectedAccountIndex = stored;
    UpdateAccountInfoFromDict(m_accountsArray[size_t(stored)]);
}

void LoginView::lookUpTraderInfo() {
    m_traderInfo =
        DataBase::sharedDataBase()->IO_NetDataCenter()->getSecuritiesAddressInfo(m_form.securitiesName);
}

void LoginView::UpdateAccountInfoFromDict(const SavedBrokerAccount &account) {
    if (account.securitiesName.empty())
        return;
    m_form = account;
    m_isSaveAccount = !account.account.empty();
    lookUpTraderInfo();
    if (m_traderInfo) {
        if (!m_traderInfo->needSelectDep().empty())
            m_form.needSelectDep = m_traderInfo->needSelectDep();
        const base::Array &areas = m_traderInfo->areaDepArray();
        const base::Array *deps = areas.empty() ? nullptr : depsOf(areas[0]);
        if ((m_form.areaName.empty() || m_form.departmentName.empty()) && deps && !deps->empty()) {
            m_form.areaName = text(areas[0]["1296"]);
            m_form.departmentName = text((*deps)[0]["1006"]);
            m_form.departmentCode = text((*deps)[0]["1005"]);
        }
        const base::Array &types = m_traderInfo->accountTypeArray();
        if (m_form.accountType.empty() && !types.empty())
            m_form.accountType = text(types[0]["1021"]);
    }
    m_securitiesBtn->setTitle(m_form.securitiesName);
    if (m_form.needSelectDep == "YES")
        SetAreaDepartmentBtnName(m_form.areaName, m_form.departmentName);
    else
        m_areaDepBtn->setTitle(m_form.needSelectDep == "NO" ? kNoDepTitle : kAddAreaDepTitle);
    m_accountTypeBtn->setTitle(m_form.accountType.empty() ? kChooseTypeTitle
                                                          : TradeInterface::getAccountTypeName(
                                                                std::atoi(m_form.accountType.c_str())));
    m_accountField->setText(m_form.account);
    showSaveSwitch();
    if (m_form.needSelectDep.empty() || (m_form.needSelectDep == "YES" && m_form.departmentCode.empty()) ||
        m_form.accountType.empty())
        send(kAccountInfo);
}

void LoginView::showSaveSwitch() {
    m_saveBtn->setBackgroundImage(
        UtilUI::imageNamed(m_isSaveAccount ? "saveBtn_img.png" : "disSaveBtn_img.png"));
}

void LoginView::saveSwitchAction() {
    m_isSaveAccount = !m_isSaveAccount;
    showSaveSwitch();
}

void LoginView::SetCancelTarget(base::Weak<base::Object> target, std::function<void()> cancelAction) {
    m_cancelTarget = std::move(target);
    m_cancelAction = std::move(cancelAction);
}

void LoginView::close() {
    auto keep = self<LoginView>();
    closePopover();
    StopWaiting();
    if (auto bg = m_bgView.lock())
        bg->removeFromSuperview();
    removeFromSuperview();
}

void LoginView::cancelAction() {
    auto keep = self<LoginView>();
    TradeDataBase::sharedTradeDataBase()->disconnectTradeServer({});
    close();
    if (m_cancelAction && m_cancelTarget.lock())
        m_cancelAction();
}

void LoginView::SetAreaDepartmentBtnName(const std::string &areaName, const std::string &depName) {
    if (areaName.empty() && depName.empty())
        m_areaDepBtn->setTitle(kAddAreaDepTitle);
    else if (areaName == depName)
        m_areaDepBtn->setTitle(depName);
    else
        m_areaDepBtn->setTitle(areaName + "-" + depName);
}

void LoginView::SetAccountTypeBtnName(const std::string &name) {
    m_accountTypeBtn->setTitle(name.empty() ? kChooseTypeTitle : name);
    m_accountField->setText(name == "上海A股东" ? "A" : name == "上海B股东" ? "C" : "");
}

void LoginView::ReturnSelectedAccount(const SavedBrokerAccount &account, int accountIndex) {
    m_selectedAccountIndex = accountIndex;
    DataManager::sharedDataManager().SetTradeAddedAccountIndex(accountIndex);
    UpdateAccountInfoFromDict(account);
    closePopover();
}

void LoginView::ClearAccountInfoAndControls() {
    m_form = {};
    m_traderInfo.reset();
    m_selectedAccountIndex = -1;
    m_isSaveAccount = true;
    m_securitiesBtn->setTitle(kAddBrokerTitle);
    m_areaDepBtn->setTitle(kAddAreaDepTitle);
    m_accountTypeBtn->setTitle(kChooseTypeTitle);
    m_accountField->setText("");
    m_passwordField->setText("");
    showSaveSwitch();
}

bool LoginView::SaveAccountFile(const SavedBrokerAccounts &accounts) {
    bool written = AccountList::save(accounts);
    m_accountsArray = AccountList::load();
    return written;
}

void LoginView::AccountDeleted(const SavedBrokerAccounts &accounts, int index) {
    SaveAccountFile(accounts);
    DataManager &manager = DataManager::sharedDataManager();
    manager.SetTradeAddedAccountIndex(
        AccountList::indexAfterDeletion(manager.GetTradeAddedAccountIndex(), index));
    m_selectedAccountIndex = AccountList::indexAfterDeletion(m_selectedAccountIndex, index);
}

void LoginView::ReturnSelectedSecurities(const std::string &securitiesName, const std::string &mobile,
                                         const std::string &mobileCheckNum) {
    m_selectedAccountIndex = -1;
    m_form.securitiesName = securitiesName;
    m_form.mobile = mobile;
    m_form.mobileCheckNum = mobileCheckNum;
    m_securitiesBtn->setTitle(securitiesName);
    lookUpTraderInfo();
    m_pending[kAccountInfo] = true;
    StartWaiting();
    TradeDataBase::sharedTradeDataBase()->IO_TradeNetData()->RequestAccountInfo(std::string(kObserverName),
                                                                                mobile, mobileCheckNum, 2);
    closePopover();
}

void LoginView::securitiesAction() {
    auto chooser = base::make<SecuritiesViewController>();
    chooser->setParentLoginHdl(weakSelf<LoginView>());
    chooser->SetAccountArray(m_accountsArray);
    showPopover(chooser, *m_securitiesBtn);
}

void LoginView::showPopover(base::Ref<ui::ViewController> root, const ui::Button &from) {
    closePopover();
    m_popoverController = base::make<ui::Popover>(base::make<ui::NavigationController>(std::move(root)));
    m_popoverController->delegate = m_popoverRelay;
    m_popoverController->presentFromRect(from.frame(), *this, ui::ArrowLeft, true);
}

void LoginView::closePopover() {
    popoverClosed();
    if (auto popover = std::exchange(m_popoverController, nullptr))
        popover->dismiss(true);
}

void LoginView::popoverClosed() {
    m_selectDepVC.reset();
    m_selectAccTypeVC.reset();
}

void LoginView::LoginAction() {
    const char *refusal = nullptr;
    if (m_form.securitiesName.empty())
        refusal = kNoBrokerText;
    else if (m_form.needSelectDep == "YES" && m_form.departmentName.empty())
        refusal = "请选择地区和营业部！";
    else if (m_form.accountType.empty())
        refusal = "请选择账号类别！";
    else if (m_accountField->text().empty())
        refusal = "请输入账号！";
    else if (m_passwordField->text().empty())
        refusal = "请输入交易密码！";
    if (refusal) {
        Util::ShowInfoBox(refusal);
        return;
    }
    m_form.account = m_accountField->text();
    send(kLogin);
}

void LoginView::areaDepAction() {
    if (m_form.securitiesName.empty()) {
        Util::ShowInfoBox(kNoBrokerText);
        return;
    }
    if (m_form.needSelectDep == "NO") {
        Util::ShowInfoBox("无需选择营业部！");
        return;
    }
    bool asked = false;
    const base::Array *areas = m_traderInfo ? &m_traderInfo->areaDepArray() : nullptr;
    if (areas && !areas->empty()) {
        const base::Array *deps = depsOf((*areas)[0]);
        if (!deps || deps->empty()) {
            reqAccountDep(0);
            asked = m_pending[kDep];
        }
    } else {
        Request request = m_form.needSelectDep == "YES" ? kArea : kAccountInfo;
        send(request);
        asked = m_pending[request];
    }
    auto picker = base::make<DepListViewController>();
    picker->setTitle("请选择地区和营业部");
    picker->setParentLoginHdl(weakSelf<LoginView>());
    picker->setSelectedAreaName(m_form.areaName);
    picker->setSelectedDepCode(m_form.departmentCode);
    picker->setSelectedDepName(m_form.departmentName);
    if (areas) {
        int current = -1;
        for (size_t i = 0; i < areas->size() && current < 0; ++i)
            if (text((*areas)[i]["1296"]) == m_form.areaName)
                current = int(i);
        picker->UpdateAreaArray(*areas, current);
        if (current >= 0)
            if (const base::Array *deps = depsOf((*areas)[size_t(current)]))
                picker->UpdateDepArray(*deps, m_form.departmentCode, current);
    }
    if (asked)
        picker->StartWaitingAlert();
    showPopover(picker, *m_areaDepBtn);
    m_selectDepVC = picker;
}

void LoginView::accountTypeAction() {
    if (m_form.securitiesName.empty()) {
        Util::ShowInfoBox(kNoBrokerText);
        return;
    }
    bool asked = false;
    if (!m_traderInfo || m_traderInfo->accountTypeArray().empty()) {
        send(kAccountType);
        asked = m_pending[kAccountType];
    }
    auto picker = base::make<TradeTypeViewController>();
    picker->setTitle("请选择交易类型");
    picker->setParentLoginHdl(weakSelf<LoginView>());
    if (m_traderInfo)
        picker->SetAccountTypeArray(m_traderInfo->accountTypeArray());
    if (asked)
        picker->StartWaitingAlert();
    showPopover(picker, *m_accountTypeBtn);
    m_selectAccTypeVC = picker;
}

void LoginView::reqAccountDep(int areaIndex) {
    m_reqDepAreaIndex = areaIndex;
    send(kDep);
}

// The gate ---------------------------------------------------------------------------------------

bool LoginView::checkGate(Request request) {
    std::string msg;
    int result = TradeDataBase::sharedTradeDataBase()->ConnectAndCheckPhone(
        std::string(kObserverName), m_form.securitiesName, nullptr, m_form.mobile, m_form.mobileCheckNum,
        msg);
    switch (result) {
    case TradeDataBase::kReady:
    case TradeDataBase::kConnecting:
    case TradeDataBase::kCheckingPhone:
    case TradeDataBase::kDisconnecting:
    case TradeDataBase::kRequestingBrokers:
        if (!m_pending[request] && request != kAccountType)
            StartWaiting();
        m_pending[request] = true;
        return result == TradeDataBase::kReady;
    default:
        // The connection's own text says why no connection can be made (no broker, no address).
        OnAllReqEnd();
        if (!msg.empty())
            Util::ShowInfoBox(msg);
        return false;
    }
}

bool LoginView::hasPhone() const {
    return !m_form.securitiesName.empty() && !m_form.mobile.empty() && !m_form.mobileCheckNum.empty();
}

void LoginView::send(Request request) {
    if (request != kLogin && !hasPhone())
        return;
    if (!checkGate(request))
        return;
    const base::Ref<TradeNetDataCenter> &net = TradeDataBase::sharedTradeDataBase()->IO_TradeNetData();
    TradeRequester me = std::string(kObserverName);
    switch (request) {
    case kLogin:
        net->RequestUserLogin(me, std::atoi(m_form.accountType.c_str()), m_form.account,
                              m_passwordField->text(), m_form.departmentCode);
        break;
    case kAccountInfo:
        net->RequestAccountInfo(me, m_form.mobile, m_form.mobileCheckNum, 2);
        break;
    case kArea:
        net->RequestAccountArea(me, m_form.mobile);
        break;
    case kDep:
        RequestAccountDep(m_reqDepAreaIndex);
        break;
    case kAccountType:
        net->RequestLoginMode(me);
        break;
    case kRequestCount:
        break;
    }
}

void LoginView::RequestAccountDep(int areaIndex) {
    if (!m_traderInfo || areaIndex < 0 || size_t(areaIndex) >= m_traderInfo->areaDepArray().size())
        return;
    base::Value &area = m_traderInfo->areaDepArray()[size_t(areaIndex)];
    std::string code = text(area["1295"]);
    if (code.empty() || !area.dict())
        return;
    area.dict()->set("HasReq", true);
    TradeDataBase::sharedTradeDataBase()->IO_TradeNetData()->RequestAccountDep(
        std::string(kObserverName), m_form.mobile, code, areaIndex);
}

void LoginView::ContinueReq() {
    for (int request = kLogin; request < kRequestCount; ++request)
        if (m_pending[request])
            send(Request(request));
}

void LoginView::OnAllReqEnd() {
    for (bool &pending : m_pending)
        pending = false;
    m_reqDepAreaIndex = -1;
    StopWaiting();
}

bool LoginView::endRequest(Request request) {
    bool was = m_pending[request];
    m_pending[request] = false;
    if (request == kDep)
        m_reqDepAreaIndex = -1;
    if (was && request != kAccountType)
        StopWaiting();
    return was;
}

// Replies ----------------------------------------------------------------------------------------

void LoginView::TradeLoginNotify(const base::Notification &notification) {
    auto keep = self<LoginView>();
    if (TradeDataBase::ProcConnectNotify(notification, *this))
        return;
    if (TradeDataBase::ProcRecvNotify(notification, *this))
        return;
    DataBase::ProcRecvNotify(notification, *this);
}

base::Opt<void> LoginView::OnTradeConnect(bool success, int status) {
    if (success || status == TradeDataBase::kDisconnected) {
        ContinueReq();
        return {};
    }
    bool waiting = std::find(std::begin(m_pending), std::end(m_pending), true) != std::end(m_pending);
    if (status == TradeDataBase::kConnectAttempt &&
        TradeDataBase::sharedTradeDataBase()->connectToNextTradeServer())
        return {};
    OnAllReqEnd();
    if (waiting)
        Util::ShowInfoBox(status == TradeDataBase::kConnectAttempt ? "所有交易服务器连接失败!"
                                                                   : "交易服务器断开!",
                          kErrorTitle);
    return {};
}

base::Opt<void> LoginView::OnTradeDataRsp(int reqType, const base::Ref<TradeRspData> &rspData,
                                          const std::optional<base::Dict> &params) {
    TradeRspData &rsp = *rspData;
    switch (reqType) {
    case TradeNetCodec::kPhoneCheckReply:
        if (rsp.successRsp()) {
            ContinueReq();
        } else {
            OnAllReqEnd();
            Util::ShowInfoBox("手机号验证失败！原因：" + rsp.getRspErrMsg().value_or("") +
                              "。\n在“选择券商”中可以进行重新验证！");
        }
        break;
    case 11100:
        endRequest(kLogin);
        onLogin(rsp);
        break;
    case 13008:
        endRequest(kAccountInfo);
        onAccountInfo(rsp);
        break;
    case 12058:
        endRequest(kArea);
        onAreas(rsp);
        break;
    case 12056:
        endRequest(kDep);
        onDeps(rsp, params);
        break;
    case 12010:
        endRequest(kAccountType);
        onAccountTypes(rsp);
        break;
    default:
        break;
    }
    return {};
}

void LoginView::DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &) {
    if (reqType != 1003)
        return;
    lookUpTraderInfo();
    ContinueReq();
}

void LoginView::onLogin(TradeRspData &rsp) {
    if (!rsp.successRsp()) {
        Util::ShowInfoBox("登录失败 :(\n " + rsp.getRspErrMsg().value_or(""));
        return;
    }
    if (!m_isSaveAccount)
        m_form.account.clear();
    SaveCurAccountInfoToAccountsArray();
    auto keep = self<LoginView>();
    close();
    TradeMsgCenter::sharedTradeMsgCenter()->LoginSuccess();
    TradeMsgCenter::EnterTradeBar();
}

void LoginView::SaveCurAccountInfoToAccountsArray() {
    SavedBrokerAccounts accounts = m_accountsArray;
    AccountList::StoreResult result = AccountList::store(accounts, m_selectedAccountIndex, m_form);
    if (result.changed)
        SaveAccountFile(accounts);
    m_selectedAccountIndex = result.inUse;
    if (result.inUse >= 0)
        DataManager::sharedDataManager().SetTradeAddedAccountIndex(result.inUse);
}

void LoginView::onAccountInfo(TradeRspData &rsp) {
    const base::Ref<TradeNetDataCenter> &net = TradeDataBase::sharedTradeDataBase()->IO_TradeNetData();
    if (rsp.successRsp()) {
        const base::Value *field = rsp.dict().find("32003");
        bool needDep = field && field->intValue() == 0;
        m_form.needSelectDep = needDep ? "YES" : "NO";
        if (m_traderInfo)
            m_traderInfo->setNeedSelectDep(m_form.needSelectDep);
        if (needDep)
            net->RequestAccountArea(std::string(kObserverName), m_form.mobile);
        else
            m_areaDepBtn->setTitle(kNoDepTitle);
    } else {
        Util::ShowTipBox(rsp.getRspErrMsg().value_or(""));
    }
    net->RequestLoginMode(std::string(kObserverName));
}

void LoginView::onAreas(TradeRspData &rsp) {
    if (!rsp.successRsp()) {
        Util::ShowTipBox(rsp.getRspErrMsg().value_or(""));
        return;
    }
    if (!m_traderInfo)
        return;
    base::Array &areas = m_traderInfo->areaDepArray();
    areas.clear();
    std::optional<base::Array> table = rows(rsp);
    if (!table)
        return;
    int current = m_form.areaName.empty() ? 0 : -1;
    for (const base::Value &row : *table) {
        base::Dict area = row.dict() ? *row.dict() : base::Dict();
        area.set("DepArray", base::Array());
        area.set("HasReq", false);
        if (current < 0 && text(area.get("1296")) == m_form.areaName)
            current = int(areas.size());
        areas.add(area);
    }
    RequestAccountDep(current);
    if (m_selectDepVC)
        m_selectDepVC->UpdateAreaArray(areas, table->empty() ? -1 : current);
}

void LoginView::onDeps(TradeRspData &rsp, const std::optional<base::Dict> &params) {
    if (!rsp.successRsp()) {
        if (m_selectDepVC)
            m_selectDepVC->StopWaitingAlert();
        Util::ShowTipBox(rsp.getRspErrMsg().value_or(""));
        return;
    }
    int index = params && params->has("AreaIndex") ? int(params->get("AreaIndex").intValue()) : -1;
    if (!m_traderInfo || index < 0 || size_t(index) >= m_traderInfo->areaDepArray().size())
        return;
    base::Array &areas = m_traderInfo->areaDepArray();
    base::Array deps = rows(rsp).value_or(base::Array());
    if (base::Dict *area = areas[size_t(index)].dict())
        area->set("DepArray", deps);
    if (m_form.areaName.empty()) {
        m_form.areaName = text(areas[0]["1296"]);
        const base::Array *first = depsOf(areas[0]);
        if (first && !first->empty()) {
            m_form.departmentName = text((*first)[0]["1006"]);
            m_form.departmentCode = text((*first)[0]["1005"]);
        } else {
            m_form.departmentName = "(无)";
            m_form.departmentCode.clear();
        }
        SetAreaDepartmentBtnName(m_form.areaName, m_form.departmentName);
    }
    if (m_selectDepVC)
        m_selectDepVC->UpdateDepArray(deps, m_form.departmentCode, index);
}

void LoginView::onAccountTypes(TradeRspData &rsp) {
    if (!rsp.successRsp()) {
        if (m_selectAccTypeVC)
            m_selectAccTypeVC->StopWaitingAlert();
        Util::ShowTipBox(rsp.getRspErrMsg().value_or(""));
        return;
    }
    if (!m_traderInfo)
        return;
    base::Array &types = m_traderInfo->accountTypeArray();
    types.clear();
    std::optional<base::Array> table = rows(rsp);
    if (!table)
        return;
    for (const base::Value &row : *table)
        types.add(row);
    if (m_selectAccTypeVC)
        m_selectAccTypeVC->UpdateAccountTypeArray(types);
    if (!m_form.accountType.empty())
        return;
    if (types.empty()) {
        SetAccountTypeBtnName("(无)");
        return;
    }
    m_form.accountType = text(types[0]["1021"]);
    SetAccountTypeBtnName(TradeInterface::getAccountTypeName(std::atoi(m_form.accountType.c_str())));
}

// Waiting ----------------------------------------------------------------------------------------

bool LoginView::isWaiting() const {
    return m_progressWaitingView->superview() == this;
}

void LoginView::StartWaiting() {
    if (isWaiting())
        return;
    addSubview(m_coveredView);
    addSubview(m_progressWaitingView);
    m_progressWaitingView->StartAnimating();
}

void LoginView::StopWaiting() {
    if (!isWaiting())
        return;
    m_progressWaitingView->StopAnimating();
    m_progressWaitingView->removeFromSuperview();
    m_coveredView->removeFromSuperview();
}
