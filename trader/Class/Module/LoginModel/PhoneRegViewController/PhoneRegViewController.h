#pragma once

#include "DataBase/TradeDataBase/TradeDataBase.h"
#include "DataBase/WT/WTTrader.h"

#include "RunLoopSocket.h"
#include "base/Data.h"
#include "base/NotificationCenter.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/TextField.h"
#include "ui/TextView.h"
#include "ui/ViewController.h"

#include <optional>
#include <span>
#include <string>

class CMWaitingAlertView;
class LoginView;

// The mobile-phone verification a broker needs before its first login. The broker chooser pushes
// it into its popover for the broker the user picked; the broker record's attribute "4" chooses
// how the check code is had: typed from a text message (default), fetched over a side channel to
// the broker's quote address (2, Morvane), decoded from the gateway's coded text after the user
// registered by text message (3, DeroVuv) or at once (4, DazerIve); 5 shows the name alone. Every
// variant ends with the trade connection's phone-check handshake; when the gateway accepts it, the
// login form gets broker, mobile and check code and goes on with the account information.
//
// Each gateway request first passes the connection gate; one that has to wait for the connection
// goes out by itself when the connection reports. Replies come under the screen's own notification
// name, so two screens never hear each other.
class PhoneRegViewController : public ui::ViewController,
                               public TradeDataDelegate,
                               public RunLoopSocketDelegate {
public:
    using RunLoopSocketDelegate::onSocket;

    static constexpr gfx::Size kContentSize{320, 500};
    static constexpr const char *kNoBrokerName = "券商名称";
    // Controls of a variant carry tags in this range, so that another broker's variant replaces them.
    static constexpr int kFirstVariantTag = 200, kLastVariantTag = 299;
    enum Tag {
        kStepOneTag = 201,
        kPhoneTag = 202,
        kGetCodeTag = 203,
        kStepTwoTag = 204,
        kCheckTag = 205,
        kVerifyTag = 206,
        kRegTextTag = 211,
        kSecondLineTag = 242,
    };
    enum Variant { kMorvane = 2, kDeroVuv = 3, kDazerIve = 4, kNameOnly = 5 };
    // The side channel's time-out for each write and read.
    static constexpr double kChannelTimeout = 10;

    PhoneRegViewController();
    ~PhoneRegViewController() override;
    void setUp() override;
    void loadView() override;

    void setParentLoginHdl(base::Weak<LoginView> form) { m_parentLoginHdl = std::move(form); }
    // Builds the broker's variant, replacing an earlier one, and sends its first request.
    void SetSecuritiesAddressInfo(const base::Ref<WTTrader> &broker);

    // The buttons.
    void getCheckNumAction();
    void addSecuritiesAction();
    void verifyAction();

    // Replies of the trade connection.
    base::Opt<void> OnTradeConnect(bool success, int status) override;
    base::Opt<void> OnTradeDataRsp(int reqType, const base::Ref<TradeRspData> &rspData,
                                   const std::optional<base::Dict> &params) override;

    // The side channel.
    base::Opt<void> onSocket(RunLoopSocket &sock, const std::string &host, uint16_t port) override;
    base::Opt<void> onSocket(RunLoopSocket &sock, const base::Data &data, int32_t tag) override;
    base::Opt<void> onSocketDidDisconnect(RunLoopSocket &sock) override;

    const std::string &observerName() const { return m_observerName; }
    int registerType() const { return m_registerType; }
    const std::string &mobile() const { return m_mobile; }
    const std::string &mobileCheckNum() const { return m_mobileCheckNum; }
    ui::Label &securitiesLabel() { return *m_securitiesLabel; }
    // The variant's controls; null when it has none.
    ui::TextField *phoneNumField() const { return m_phoneNumField.get(); }
    ui::TextField *checkField() const { return m_checkField.get(); }
    ui::TextView *regText() const { return m_regText.get(); }
    bool isWaiting() const;

private:
    // The gateway requests, in the order they resume after a connection report.
    enum Request { kCheckNum, kHandshake, kRegText, kDeroVuvCheckNum, kDazerIveCheckNum, kRequestCount };

    void buildDefault();
    void buildMorvane();
    void buildDeroVuv();
    base::Ref<ui::Label> addLabel(int tag, gfx::Rect frame, std::string text);
    base::Ref<ui::TextField> addField(int tag, gfx::Rect frame, const char *placeholder,
                                      const char *background);
    void addButton(int tag, gfx::Rect frame, const char *title, void (PhoneRegViewController::*action)());
    // The typed phone number when it is long enough; none after telling the user.
    std::optional<std::string> validPhone();

    void TradePhoneRegNotify(const base::Notification &notification);
    // 0 ready, 1 connecting, 10 disconnecting from another broker, -1 no connection possible.
    int CheckAndConnect();
    void send(Request request);
    void write(Request request);
    void ContinueReq();
    // Clears the request's flag; true when it was set.
    bool endRequest(Request request);
    void endAllRequests();
    void SendHandshake();

    void onCheckNum(const TradeRspData &rsp);
    void onRegText(const TradeRspData &rsp);
    void onCodedCheckNum(const TradeRspData &rsp, const std::string &mobile);
    void onHandshake(const TradeRspData &rsp);

    // The side channel's steps.
    void startChannel();
    void readChannel(int32_t tag);
    void writeChannel(base::Data packet, int32_t tag);
    void onAddressReply(std::span<const uint8_t> body);
    void onPasswordReply(std::span<const uint8_t> body);
    void channelFailed(const std::string &text, const std::string &title = "提示");

    void startWaiting(const std::string &text);
    void stopWaiting();
    void enableFields(bool check);

    base::Ref<WTTrader> m_securitiesAddressInfo;
    std::string m_securitiesName;
    int m_registerType = -1;
    std::string m_mobile;
    std::string m_mobileCheckNum;
    base::Weak<LoginView> m_parentLoginHdl;
    std::string m_observerName;

    base::Ref<ui::Label> m_securitiesLabel;
    base::Ref<ui::TextField> m_phoneNumField, m_checkField;
    base::Ref<ui::TextView> m_regText;
    base::Ref<CMWaitingAlertView> m_waitingAlert;

    bool m_pending[kRequestCount] = {};
    bool m_isInitLogining = false;
    // The first channel is closing and the verification address known.
    bool m_isQueryingComPasword = false;
    // The channel is connecting to the verification address.
    bool m_isOpeningComServer = false;
    bool m_isReqingComPassword = false;
    base::Ref<RunLoopSocket> m_regRunLoopSocket;
    base::Data m_regRecvData;
    std::string m_regHQAddress;
};
