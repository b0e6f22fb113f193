#include "Class/Module/LoginModel/PhoneRegViewController/PhoneRegViewController.h"

#include "Class/Module/LoginModel/LoginView/LoginView.h"
#include "Class/Module/LoginModel/PhoneRegViewController/VerifyChannel.h"

#include "Common/TimeFunc.h"
#include "Common/Util.h"
#include "Common/UtilUI.h"
#include "Components/CMWaitingAlertView.h"
#include "DataBase/ComAPI.h"
#include "DataBase/WT/TradeNetCodec.h"
#include "Module/StockDataBaseMgnt/DataManager.h"

#include "base/Str.h"
#include "gfx/Font.h"

namespace {

constexpr size_t kMinPhoneLength = 10;
constexpr size_t kMinCheckLength = 4;
constexpr const char *kHint = "提示";
constexpr const char *kErrorTitle = "错误";
constexpr const char *kBadPhone = "请输入有效的手机号！";
constexpr const char *kVerifying = "正在验证...";
constexpr float kAlertFontSize = 15;

// A field of a plain reply; empty when absent.
std::string field(const TradeRspData &rsp, const char *id) {
    const base::Value *value = rsp.dict().find(id);
    return value ? value->stringValue() : std::string();
}

std::string errorText(const TradeRspData &rsp) {
    return rsp.getRspErrMsg().value_or("");
}

// The registration text: what to send, then the numbers two to a line, then what to do next.
std::string registrationText(const std::string &message, const std::string &numbers) {
    std::string text = base::str::format("请发送短信“%s”至以下号码进行注册:\n", message);
    std::vector<std::string> list = base::str::split(numbers, ",");
    for (size_t i = 0; i < list.size(); ++i)
        text += list[i] + (i % 2 == 0 ? "  " : "\n");
    return text + "注册成功后，在上方输入框中输入您的手机号码点击验证即可登录软件。";
}

} // namespace

PhoneRegViewController::PhoneRegViewController() {
    setTitle("手机号验证");
    setContentSizeInPopover(kContentSize);
}

PhoneRegViewController::~PhoneRegViewController() {
    base::NotificationCenter::shared().removeObserver(this);
}

void PhoneRegViewController::setUp() {
    ui::ViewController::setUp();
    // Named after the tick, at least ten microseconds on from the last screen's, so that no two
    // screens ever share a name, even when the clock stands still or goes back.
    static double lastTick = 0;
    lastTick = std::max(TimeFunc::getCurTick(), lastTick + 1e-5);
    m_observerName = base::str::format("TradePhoneRegNotify%f", lastTick);
    base::Weak<PhoneRegViewController> weak = weakSelf<PhoneRegViewController>();
    base::NotificationCenter::shared().addObserver(weak, m_observerName, [weak](const base::Notification &n) {
        if (auto alive = weak.lock())
            alive->TradePhoneRegNotify(n);
    });
    view();
}

void PhoneRegViewController::loadView() {
    auto root = base::make<ui::View>(gfx::Rect{0, 0, kContentSize.w, kContentSize.h});
    root->setBackgroundColor(gfx::Color::gray());
    m_securitiesLabel = base::make<ui::Label>(gfx::Rect{0, 15, 320, 30});
    m_securitiesLabel->setTextColor(gfx::Color::white());
    m_securitiesLabel->setBackgroundColor(gfx::Color::clear());
    m_securitiesLabel->setFont(gfx::Font::boldSystem(18));
    m_securitiesLabel->setTextAlignment(gfx::Align::Center);
    m_securitiesLabel->setText(kNoBrokerName);
    root->addSubview(m_securitiesLabel);
    m_waitingAlert = base::make<CMWaitingAlertView>(root->bounds());
    setView(root);
}

// Variants ---------------------------------------------------------------------------------------

void PhoneRegViewController::SetSecuritiesAddressInfo(const base::Ref<WTTrader> &broker) {
    if (!broker)
        return;
    m_securitiesAddressInfo = broker;
    m_securitiesName = broker->name();
    m_securitiesLabel->setText(m_securitiesName);
    std::vector<base::Ref<ui::View>> subviews = view().subviews();
    for (const base::Ref<ui::View> &subview : subviews)
        if (subview->tag >= kFirstVariantTag && subview->tag <= kLastVariantTag)
            subview->removeFromSuperview();
    m_phoneNumField.reset();
    m_checkField.reset();
    m_regText.reset();
    const base::Value *attribute = broker->attributeList().find("4");
    m_registerType = attribute ? int(attribute->intValue()) : 0;
    switch (m_registerType) {
    case kMorvane:
        buildMorvane();
        break;
    case kDeroVuv:
        buildDeroVuv();
        send(kRegText);
        break;
    case kDazerIve:
        send(kDazerIveCheckNum);
        break;
    case kNameOnly:
        break;
    default:
        buildDefault();
        break;
    }
}

base::Ref<ui::Label> PhoneRegViewController::addLabel(int tag, gfx::Rect frame, std::string text) {
    auto label = base::make<ui::Label>(frame);
    label->tag = tag;
    label->setTextColor(gfx::Color::white());
    label->setBackgroundColor(gfx::Color::clear());
    label->setText(std::move(text));
    view().addSubview(label);
    return label;
}

base::Ref<ui::TextField> PhoneRegViewController::addField(int tag, gfx::Rect frame, const char *placeholder,
                                                          const char *background) {
    auto field = base::make<ui::TextField>(frame);
    field->tag = tag;
    field->setPlaceholder(placeholder);
    field->setBackground(UtilUI::imageNamed(background));
    field->setFont(gfx::Font::system(18));
    field->setTextColor(gfx::Color::black());
    field->setContentVerticalAlignment(ui::TextField::VAlign::Center);
    field->keyboardType = ui::TextField::Keyboard::NumberPad;
    view().addSubview(field);
    return field;
}

void PhoneRegViewController::addButton(int tag, gfx::Rect frame, const char *title,
                                       void (PhoneRegViewController::*action)()) {
    auto button = ui::Button::custom(frame);
    button->tag = tag;
    button->setBackgroundImage(UtilUI::imageNamed("btn_black.png"));
    button->setTitleColor(gfx::Color::white());
    button->setTitle(title);
    base::Weak<PhoneRegViewController> weak = weakSelf<PhoneRegViewController>();
    button->addTarget(base::Action(title,
                                   [weak, action](base::Object *) {
                                       if (auto alive = weak.lock())
                                           ((*alive).*action)();
                                   }),
                      ui::TouchUpInside);
    view().addSubview(button);
}

void PhoneRegViewController::buildDefault() {
    addLabel(kStepOneTag, {23, 60, 240, 28}, "1. 请输入手机号");
    m_phoneNumField = addField(kPhoneTag, {40, 93, 240, 28}, "手机号", "textField_bg.png");
    addButton(kGetCodeTag, {40, 126, 240, 35}, "获取验证码", &PhoneRegViewController::getCheckNumAction);
    addLabel(kStepTwoTag, {23, 159, 240, 28}, "2. 请输入获得的验证码");
    m_checkField = addField(kCheckTag, {40, 192, 240, 28}, "验证码", "textField_bg.png");
    addButton(kVerifyTag, {40, 225, 240, 35}, "添加券商", &PhoneRegViewController::addSecuritiesAction);
}

void PhoneRegViewController::buildMorvane() {
    addLabel(kStepTwoTag, {23, 50, 240, 28}, "1. 请发短信8到95555开通，");
    addLabel(kSecondLineTag, {23, 83, 240, 28}, "    或拨打95555按8再按1开通。");
    addLabel(kStepOneTag, {23, 116, 240, 28}, "2. 请输入手机号，进行验证:");
    m_phoneNumField = addField(kPhoneTag, {40, 149, 240, 28}, "手机号", "search_bg.png");
    addButton(kVerifyTag, {40, 182, 240, 28}, "验证", &PhoneRegViewController::verifyAction);
}

void PhoneRegViewController::buildDeroVuv() {
    addLabel(kStepOneTag, {23, 50, 240, 28}, "手机号码:");
    m_phoneNumField = addField(kPhoneTag, {40, 83, 240, 28}, "手机号", "search_bg.png");
    addButton(kVerifyTag, {40, 116, 240, 28}, "验证", &PhoneRegViewController::verifyAction);
    m_regText = base::make<ui::TextView>(gfx::Rect{23, 149, 257, 250});
    m_regText->tag = kRegTextTag;
    m_regText->setFont(gfx::Font::system(16));
    m_regText->setTextColor(gfx::Color::white());
    m_regText->setBackgroundColor(gfx::Color::clear());
    m_regText->scrollEnabled = false;
    m_regText->editable = false;
    view().addSubview(m_regText);
}

// Buttons ----------------------------------------------------------------------------------------

std::optional<std::string> PhoneRegViewController::validPhone() {
    std::string phone = m_phoneNumField ? m_phoneNumField->text() : std::string();
    if (base::str::utf16Length(phone) < kMinPhoneLength) {
        Util::ShowInfoBox(kBadPhone, kHint);
        return std::nullopt;
    }
    return phone;
}

void PhoneRegViewController::getCheckNumAction() {
    std::optional<std::string> phone = validPhone();
    if (!phone)
        return;
    m_phoneNumField->setEnabled(false);
    m_mobile = *phone;
    m_mobileCheckNum.clear();
    send(kCheckNum);
}

void PhoneRegViewController::addSecuritiesAction() {
    std::optional<std::string> phone = validPhone();
    if (!phone)
        return;
    if (base::str::utf16Length(m_checkField->text()) < kMinCheckLength) {
        Util::ShowInfoBox("请输入有效的验证码！", kHint);
        return;
    }
    m_mobile = *phone;
    m_mobileCheckNum = m_checkField->text();
    SendHandshake();
    if (m_pending[kHandshake]) {
        m_phoneNumField->setEnabled(false);
        m_checkField->setEnabled(false);
    }
}

void PhoneRegViewController::verifyAction() {
    bool channelBusy =
        m_isInitLogining || m_isQueryingComPasword || m_isOpeningComServer || m_isReqingComPassword;
    if (channelBusy || m_pending[kDeroVuvCheckNum] || m_pending[kHandshake])
        return;
    std::optional<std::string> phone = validPhone();
    if (!phone)
        return;
    m_phoneNumField->setEnabled(false);
    m_mobile = *phone;
    m_mobileCheckNum.clear();
    if (m_registerType == kMorvane)
        startChannel();
    else
        send(kDeroVuvCheckNum);
}

// The gate and the requests ----------------------------------------------------------------------

int PhoneRegViewController::CheckAndConnect() {
    const base::Ref<TradeDataBase> &db = TradeDataBase::sharedTradeDataBase();
    if (db->isConnected())
        return db->CheckSecuritiesConnect(m_observerName, m_securitiesName) ? 10 : 0;
    // An attempt or a close under way reports to its requester; starting another would clear it.
    const TradeConnectLoginInfo &info = *db->IO_ConnectLoginInfo();
    if (info.isConnecting || info.isDisconnecting)
        return 1;
    db->CheckAndResetConnectFailFlags();
    std::string error;
    if (db->connectToTradeServerRandom(m_observerName, m_securitiesName,
                                       &m_securitiesAddressInfo->addressList(), error))
        return 1;
    Util::ShowInfoBox(error);
    return -1;
}

void PhoneRegViewController::send(Request request) {
    static constexpr const char *kWaitTexts[kRequestCount] = {
        "正在申请验证码...", kVerifying, "请求注册信息...", "正在申请验证码...", "正在申请验证码..."};
    int gate = CheckAndConnect();
    if (gate < 0) {
        m_pending[request] = false;
        stopWaiting();
        enableFields(request == kHandshake);
        return;
    }
    if (!std::exchange(m_pending[request], true))
        startWaiting(kWaitTexts[request]);
    if (gate == 0)
        write(request);
}

void PhoneRegViewController::write(Request request) {
    const base::Ref<TradeNetDataCenter> &net = TradeDataBase::sharedTradeDataBase()->IO_TradeNetData();
    TradeRequester me = m_observerName;
    switch (request) {
    case kCheckNum:
        net->RequestPhoneCheckNum(me, m_mobile);
        break;
    case kHandshake:
        // A number or code the handshake cannot carry gets no reply: end here instead of waiting.
        if (!net->requestD(me, m_securitiesName, m_mobile, m_mobileCheckNum)) {
            endRequest(kHandshake);
            Util::ShowInfoBox(std::string("手机验证失败！原因: ") + TradeNetDataCenter::kInvalidInput,
                              kErrorTitle);
        }
        break;
    case kRegText:
        net->RequestPhoneRegText(me);
        break;
    case kDeroVuvCheckNum:
        net->RequestDeroVuvCheckNum(me, m_mobile);
        break;
    case kDazerIveCheckNum:
        net->RequestDazerIveCheckNum(me);
        break;
    case kRequestCount:
        break;
    }
}

void PhoneRegViewController::SendHandshake() {
    send(kHandshake);
}

void PhoneRegViewController::ContinueReq() {
    for (int request = kCheckNum; request < kRequestCount; ++request)
        if (m_pending[request])
            send(Request(request));
}

bool PhoneRegViewController::endRequest(Request request) {
    if (!std::exchange(m_pending[request], false))
        return false;
    stopWaiting();
    enableFields(request == kHandshake);
    return true;
}

void PhoneRegViewController::endAllRequests() {
    for (int request = kCheckNum; request < kRequestCount; ++request)
        endRequest(Request(request));
}

// Replies ----------------------------------------------------------------------------------------

void PhoneRegViewController::TradePhoneRegNotify(const base::Notification &notification) {
    auto keep = self<PhoneRegViewController>();
    if (TradeDataBase::ProcConnectNotify(notification, *this))
        return;
    TradeDataBase::ProcRecvNotify(notification, *this);
}

base::Opt<void> PhoneRegViewController::OnTradeConnect(bool success, int status) {
    if (success || status == TradeDataBase::kDisconnected) {
        ContinueReq();
        return {};
    }
    bool waiting = std::find(std::begin(m_pending), std::end(m_pending), true) != std::end(m_pending);
    if (status == TradeDataBase::kConnectAttempt &&
        TradeDataBase::sharedTradeDataBase()->connectToNextTradeServer()) {
        DataManager::sharedDataManager().ShowAlertView("尝试连接下一个交易服务器......");
        return {};
    }
    endAllRequests();
    if (waiting)
        Util::ShowInfoBox(status == TradeDataBase::kConnectAttempt ? "所有交易服务器连接失败!"
                                                                   : "交易服务器断开!",
                          kErrorTitle);
    return {};
}

// A reply to a request already ended (say by the connection's failure, already shown) is dropped.
base::Opt<void> PhoneRegViewController::OnTradeDataRsp(int reqType, const base::Ref<TradeRspData> &rspData,
                                                       const std::optional<base::Dict> &) {
    const TradeRspData &rsp = *rspData;
    switch (reqType) {
    case 13028:
        if (endRequest(kCheckNum))
            onCheckNum(rsp);
        break;
    case TradeNetCodec::kPhoneCheckReply:
        if (endRequest(kHandshake))
            onHandshake(rsp);
        break;
    case 13056:
        if (endRequest(kRegText))
            onRegText(rsp);
        break;
    case 13054:
        if (endRequest(kDeroVuvCheckNum))
            onCodedCheckNum(rsp, m_mobile);
        break;
    case 13064:
        if (endRequest(kDazerIveCheckNum))
            onCodedCheckNum(rsp, field(rsp, "2002"));
        break;
    default:
        break;
    }
    return {};
}

void PhoneRegViewController::onCheckNum(const TradeRspData &rsp) {
    if (rsp.successRsp())
        Util::ShowInfoBox("获取手机验证码成功！请查看手机短信，并把验证码填入下面框中。", "申请成功");
    else
        Util::ShowInfoBox("未能得到手机验证码！" + errorText(rsp), kErrorTitle);
}

void PhoneRegViewController::onRegText(const TradeRspData &rsp) {
    if (!m_regText)
        return;
    std::string message = field(rsp, "1208");
    if (rsp.successRsp() && !message.empty())
        m_regText->setText(registrationText(message, field(rsp, "2007")));
    else
        m_regText->setText("未能获取注册信息，请与您的券商联系！");
}

void PhoneRegViewController::onCodedCheckNum(const TradeRspData &rsp, const std::string &mobile) {
    std::string coded = field(rsp, "2007");
    if (!rsp.successRsp() || coded.empty() || mobile.empty()) {
        Util::ShowInfoBox("验证失败！原因: " + errorText(rsp), kErrorTitle);
        return;
    }
    m_mobile = mobile;
    m_mobileCheckNum = VerifyChannel::DecodeCheckNum(coded, mobile);
    SendHandshake();
}

void PhoneRegViewController::onHandshake(const TradeRspData &rsp) {
    if (!rsp.successRsp()) {
        Util::ShowInfoBox("手机验证失败！原因: " + errorText(rsp), kErrorTitle);
        return;
    }
    const base::Ref<TradeConnectLoginInfo> &info =
        TradeDataBase::sharedTradeDataBase()->IO_ConnectLoginInfo();
    info->mobile = m_mobile;
    info->mobileCheckNum = m_mobileCheckNum;
    info->checkSuccess = true;
    if (auto form = m_parentLoginHdl.lock())
        form->ReturnSelectedSecurities(m_securitiesName, m_mobile, m_mobileCheckNum);
    Util::ShowInfoBox("手机验证成功！接下来请选择地区和营业部，以及账号类别。", "成功");
}

// The side channel -------------------------------------------------------------------------------

void PhoneRegViewController::startChannel() {
    const WTTraderAddressList &addresses = m_securitiesAddressInfo->addressHQList();
    if (addresses.empty()) {
        channelFailed("未能得到验证服务器地址！");
        return;
    }
    if (!m_regRunLoopSocket)
        m_regRunLoopSocket = base::make<RunLoopSocket>(weakSelf<RunLoopSocketDelegate>());
    m_regRecvData = {};
    const WTTraderAddress &first = *addresses.front();
    if (first.port() <= 0 || first.port() > 65535 ||
        !m_regRunLoopSocket->connectToHost(first.address(), uint16_t(first.port()))) {
        channelFailed("连接验证服务器失败！");
        return;
    }
    m_isInitLogining = true;
    startWaiting(kVerifying);
}

void PhoneRegViewController::writeChannel(base::Data packet, int32_t tag) {
    m_regRunLoopSocket->writeData(std::move(packet), kChannelTimeout, tag);
    readChannel(tag);
}

void PhoneRegViewController::readChannel(int32_t tag) {
    m_regRunLoopSocket->readDataWithTimeout(kChannelTimeout, tag);
}

base::Opt<void> PhoneRegViewController::onSocket(RunLoopSocket &, const std::string &, uint16_t) {
    m_regRecvData = {};
    if (m_isInitLogining) {
        writeChannel(VerifyChannel::initLoginPacket(ComAPI::getDeviceID()), VerifyChannel::kInitLoginType);
    } else if (m_isOpeningComServer) {
        m_isOpeningComServer = false;
        m_isReqingComPassword = true;
        writeChannel(VerifyChannel::passwordPacket(m_mobile), VerifyChannel::kPasswordType);
    }
    return {};
}

base::Opt<void> PhoneRegViewController::onSocket(RunLoopSocket &, const base::Data &data, int32_t tag) {
    auto keep = self<PhoneRegViewController>();
    m_regRecvData.append(data);
    while (std::optional<VerifyChannel::Packet> packet = VerifyChannel::nextPacket(m_regRecvData.span())) {
        size_t used = VerifyChannel::kHeaderSize + packet->body.size();
        std::vector<uint8_t> body(packet->body.begin(), packet->body.end());
        m_regRecvData.removeFront(used);
        if (packet->type == VerifyChannel::kInitLoginType && m_isInitLogining)
            onAddressReply(body);
        else if (packet->type == VerifyChannel::kPasswordType && m_isReqingComPassword)
            onPasswordReply(body);
    }
    // Packets of other types may come before the reply: read on while one is awaited.
    if (m_isInitLogining || m_isReqingComPassword)
        readChannel(tag);
    return {};
}

void PhoneRegViewController::onAddressReply(std::span<const uint8_t> body) {
    m_isInitLogining = false;
    std::optional<VerifyChannel::Address> address = VerifyChannel::readAddress(body);
    m_regRunLoopSocket->disconnect();
    m_regRecvData = {};
    if (!address) {
        channelFailed("未能得到验证服务器地址，验证失败！");
        return;
    }
    m_regHQAddress = address->host + ":" + std::to_string(address->port);
    m_isQueryingComPasword = true;
}

void PhoneRegViewController::onPasswordReply(std::span<const uint8_t> body) {
    m_isReqingComPassword = false;
    std::optional<VerifyChannel::PasswordReply> reply = VerifyChannel::readPassword(body);
    m_regRunLoopSocket->disconnect();
    m_regRecvData = {};
    if (!reply) {
        channelFailed("验证失败！未能获取通信密码。", kErrorTitle);
        return;
    }
    if (reply->result != 1) {
        channelFailed("验证失败！" + reply->text, kErrorTitle);
        return;
    }
    m_mobileCheckNum = reply->text;
    SendHandshake();
}

base::Opt<void> PhoneRegViewController::onSocketDidDisconnect(RunLoopSocket &) {
    auto keep = self<PhoneRegViewController>();
    if (std::exchange(m_isInitLogining, false)) {
        channelFailed("连接验证服务器失败！");
    } else if (std::exchange(m_isQueryingComPasword, false)) {
        size_t colon = m_regHQAddress.rfind(':');
        std::string host = m_regHQAddress.substr(0, colon);
        int port = std::atoi(m_regHQAddress.c_str() + colon + 1);
        if (m_regRunLoopSocket->connectToHost(host, uint16_t(port)))
            m_isOpeningComServer = true;
        else
            channelFailed("连接行情验证服务器失败！");
    } else if (std::exchange(m_isOpeningComServer, false)) {
        channelFailed("连接行情验证服务器失败！");
    } else if (std::exchange(m_isReqingComPassword, false)) {
        channelFailed("未能取得通信密码，验证失败！");
    }
    return {};
}

void PhoneRegViewController::channelFailed(const std::string &text, const std::string &title) {
    stopWaiting();
    enableFields(false);
    Util::ShowInfoBox(text, title);
}

// Waiting ----------------------------------------------------------------------------------------

bool PhoneRegViewController::isWaiting() const {
    return m_waitingAlert && m_waitingAlert->superview();
}

void PhoneRegViewController::startWaiting(const std::string &text) {
    view().addSubview(m_waitingAlert);
    m_waitingAlert->StartAlertWithInfo(text, kAlertFontSize);
}

void PhoneRegViewController::stopWaiting() {
    m_waitingAlert->StopWaitingAlert();
    m_waitingAlert->removeFromSuperview();
}

void PhoneRegViewController::enableFields(bool check) {
    if (m_phoneNumField)
        m_phoneNumField->setEnabled(true);
    if (check && m_checkField)
        m_checkField->setEnabled(true);
}
