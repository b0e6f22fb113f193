#include "LoginFixture.h"

#include "Class/Module/LoginModel/PhoneRegViewController/PhoneRegViewController.h"
#include "Class/Module/LoginModel/SecuritiesViewController/SecuritiesViewController.h"
#include "peers/VerificationPair.h"
#include "support/Golden.h"
#include "ui/KeyboardHost.h"
#include "ui/NavigationController.h"

#include <set>

namespace login {
namespace {

using Funcs = std::vector<int>;
using Tags = std::set<int>;

constexpr const char *kMorvane = "乙券商";
constexpr const char *kDeroVuv = "丙券商";
constexpr const char *kDazerIve = "丁券商";
constexpr const char *kNameOnly = "戊券商";

std::string fields(std::string text) {
    for (char &c : text)
        if (c == '|')
            c = '\x01';
    return text;
}

std::string str(const std::string &text) {
    std::string out{char(text.size()), char(text.size() >> 8)};
    return out + text;
}

// A whole packet of the quote framing, as the side channel's servers write it.
std::string packet(int type, const std::string &body) {
    std::string out{char(99), char(type), char(type >> 8), 0, 0, char(body.size()), char(body.size() >> 8)};
    return out + body;
}

// The gateway's brokers, one per variant beside the form's own broker (no attribute), the
// verification pair serving the Morvane broker's quote address; every broker takes the one mobile.
class PhoneRegTest : public LoginFormTest {
protected:
    void SetUp() override {
        driver.watch([slot = pairSlot_] { return !*slot || (*slot)->quiet(); });
        for (const char *name : {kMorvane, kDeroVuv, kDazerIve, kNameOnly})
            gateway->addAccount({name, kMobile, kCode, kAccount, kPassword});
        newPair(true);
    }

    // A new verification pair, knowing the mobile or not, serving the Morvane broker.
    void newPair(bool knowsMobile) {
        *pairSlot_ = std::make_shared<peers::VerificationPair>();
        ASSERT_TRUE(pair().listening());
        if (knowsMobile)
            pair().addMobile(kMobile, kCode);
        uint16_t port = gateway->port();
        setBrokers({{kMorvane, 'B', {port}, 2, {pair().navigation().port()}},
                    {kDeroVuv, 'B', {port}, 3, {}},
                    {kDazerIve, 'Y', {port}, 4, {}},
                    {kNameOnly, 'Y', {port}, 5, {}}});
    }
    peers::VerificationPair &pair() { return **pairSlot_; }

    // The screen the chooser pushed for the broker the user picked in it.
    base::Ref<PhoneRegViewController> verify(const std::string &broker) {
        showForm();
        settle();
        form->securitiesAction();
        driver.advance(1);
        auto *navigation = dynamic_cast<ui::NavigationController *>(&form->popoverController()->content());
        auto chooser =
            std::dynamic_pointer_cast<SecuritiesViewController>(navigation->viewControllers().front());
        ui::TableView &table = chooser->tableView();
        for (int section = 1; section < table.numberOfSections(); ++section)
            for (int row = 0; row < table.numberOfRows(section); ++row)
                if (table.cellForRow({section, row})->textLabel()->text() == broker)
                    table.delegate.lock()->didSelectRow(table, {section, row});
        // A variant that verifies at once closes the popover, and the navigation with it.
        auto screen = std::dynamic_pointer_cast<PhoneRegViewController>(navigation->viewControllers().back());
        driver.advance(1);
        sent();
        return screen;
    }
    static Tags variantTags(PhoneRegViewController &screen) {
        Tags tags;
        for (const base::Ref<ui::View> &view : screen.view().subviews())
            if (view->tag >= 200 && view->tag < 300)
                tags.insert(view->tag);
        return tags;
    }
    static void press(PhoneRegViewController &screen, int tag) {
        auto *button = dynamic_cast<ui::Button *>(screen.view().viewWithTag(tag));
        ASSERT_TRUE(button) << tag;
        button->sendActions(ui::TouchUpInside);
    }
    std::string lastTitle() const { return app.alerts().empty() ? std::string() : app.alerts().back().title; }
    // The form took the verified broker and went on with the account information alone.
    void expectFormContinued() {
        EXPECT_EQ(lastAlert(), "手机验证成功！接下来请选择地区和营业部，以及账号类别。");
        EXPECT_EQ(form->form().securitiesName, form->securitiesBtn().currentTitle());
        EXPECT_EQ(form->form().mobile, kMobile);
        EXPECT_EQ(form->form().mobileCheckNum, kCode);
        EXPECT_FALSE(form->popoverController()) << "the form closes the popover";
        const base::Ref<TradeConnectLoginInfo> &info = db->IO_ConnectLoginInfo();
        EXPECT_TRUE(info->checkSuccess);
        EXPECT_EQ(info->mobileCheckNum, kCode);
        EXPECT_EQ(gateway->received(peers::TradeGateway::kPhoneCheck).size(), 1u) << "one handshake only";
        EXPECT_EQ(gateway->received(13008).size(), 1u);
    }

private:
    // Shared with the driver's quiet check, which outlives the test body.
    std::shared_ptr<std::shared_ptr<peers::VerificationPair>> pairSlot_ =
        std::make_shared<std::shared_ptr<peers::VerificationPair>>();
};

base::Ref<WTTrader> brokerWith(std::optional<int> attribute, uint16_t port) {
    auto broker = base::make<WTTrader>();
    broker->setName("甲券商");
    if (attribute)
        broker->setAttributeList(base::Dict{{"4", *attribute}});
    auto address = base::make<WTTraderAddress>();
    address->setAddress("127.0.0.1");
    address->setPort(port);
    address->setAddressType(1);
    broker->setAddressList({address});
    return broker;
}

TEST_F(PhoneRegTest, TheBrokersAttributeChoosesTheVariantAndReplacesTheLastOne) {
    struct Case {
        std::optional<int> attribute;
        Tags tags;
        Funcs sent;
    } cases[] = {
        {std::nullopt, {201, 202, 203, 204, 205, 206}, {}},
        {2, {201, 202, 204, 206, 242}, {}},
        {0, {201, 202, 203, 204, 205, 206}, {}},
        {3, {201, 202, 206, 211}, {13056}},
        {1, {201, 202, 203, 204, 205, 206}, {}},
        {4, {}, {13064, peers::TradeGateway::kPhoneCheck}},
        {6, {201, 202, 203, 204, 205, 206}, {}},
        {5, {}, {}},
    };
    auto screen = base::make<PhoneRegViewController>();
    EXPECT_EQ(screen->securitiesLabel().text(), "券商名称");
    EXPECT_EQ(screen->title(), "手机号验证");
    EXPECT_EQ(screen->observerName().rfind("TradePhoneRegNotify", 0), 0u);
    EXPECT_NE(base::make<PhoneRegViewController>()->observerName(), screen->observerName())
        << "each screen hears its own replies, though the clock stands still";
    for (const Case &c : cases) {
        SCOPED_TRACE(c.attribute.value_or(-1));
        screen->SetSecuritiesAddressInfo(brokerWith(c.attribute, gateway->port()));
        settle();
        EXPECT_EQ(variantTags(*screen), c.tags);
        EXPECT_EQ(sent(), c.sent);
        EXPECT_EQ(screen->securitiesLabel().text(), "甲券商");
    }
}

TEST_F(PhoneRegTest, ANinePlaceNumberIsRefusedByEveryVariantBeforeAnythingIsSent) {
    struct Case {
        const char *broker;
        int button;
    } cases[] = {{kBroker, 203}, {kBroker, 206}, {kMorvane, 206}, {kDeroVuv, 206}};
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.broker) + " " + std::to_string(c.button));
        base::Ref<PhoneRegViewController> screen = verify(c.broker);
        ASSERT_TRUE(screen);
        settle();
        sent();
        screen->phoneNumField()->setText("138001380");
        press(*screen, c.button);
        settle();
        EXPECT_EQ(lastAlert(), "请输入有效的手机号！");
        EXPECT_EQ(lastTitle(), "提示");
        EXPECT_EQ(sent(), Funcs{});
        EXPECT_TRUE(screen->phoneNumField()->isEnabled());
    }
    EXPECT_EQ(pair().navigation().acceptedConnections(), 0);
}

TEST_F(PhoneRegTest, DefaultVariantAsksForTheCodeThenVerifiesAndTheFormLogsIn) {
    base::Ref<PhoneRegViewController> screen = verify(kBroker);
    ASSERT_TRUE(screen);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "trade/verify-default"));
    base::NotificationCenter::shared().post(ui::KeyboardHost::WillShowNotification, nullptr, {});
    EXPECT_EQ(screen->contentSizeInPopover(), (gfx::Size{320, 275})) << "the keyboard shortens the popover";
    base::NotificationCenter::shared().post(ui::KeyboardHost::WillHideNotification, nullptr, {});
    EXPECT_EQ(screen->contentSizeInPopover(), (gfx::Size{320, 500}));
    screen->phoneNumField()->setText(kMobile);
    press(*screen, PhoneRegViewController::kGetCodeTag);
    EXPECT_FALSE(screen->phoneNumField()->isEnabled());
    EXPECT_TRUE(screen->isWaiting());
    settle();
    EXPECT_EQ(sent(), Funcs{13028});
    EXPECT_EQ(gateway->received(13028).front().value(2002), kMobile);
    EXPECT_EQ(lastAlert(), "获取手机验证码成功！请查看手机短信，并把验证码填入下面框中。");
    EXPECT_EQ(lastTitle(), "申请成功");
    EXPECT_TRUE(screen->phoneNumField()->isEnabled());
    EXPECT_FALSE(screen->isWaiting());

    screen->checkField()->setText("123");
    press(*screen, PhoneRegViewController::kVerifyTag);
    EXPECT_EQ(lastAlert(), "请输入有效的验证码！");
    screen->checkField()->setText(kCode);
    press(*screen, PhoneRegViewController::kVerifyTag);
    EXPECT_FALSE(screen->checkField()->isEnabled());
    settle();
    expectFormContinued();
    EXPECT_EQ(form->areaDepBtn().currentTitle(), "证券交易中心");

    form->accountField().setText(kAccount);
    form->passwordField().setText(kPassword);
    form->LoginAction();
    settle();
    EXPECT_EQ(launches(), 1);
    ASSERT_EQ(AccountList::load().size(), 1u);
    EXPECT_EQ(AccountList::load().front().mobileCheckNum, kCode);
}

TEST_F(PhoneRegTest, RefusalsOfTheGatewayShowItsReasonAndFreeTheFields) {
    base::Ref<PhoneRegViewController> screen = verify(kBroker);
    ASSERT_TRUE(screen);
    gateway->setReply(13028, fields("21004=13028|21008=-1|21009=短信通道繁忙|"));
    screen->phoneNumField()->setText(kMobile);
    press(*screen, PhoneRegViewController::kGetCodeTag);
    settle();
    EXPECT_EQ(lastAlert(), "未能得到手机验证码！短信通道繁忙");
    EXPECT_EQ(lastTitle(), "错误");

    screen->checkField()->setText("654321");
    press(*screen, PhoneRegViewController::kVerifyTag);
    settle();
    EXPECT_EQ(lastAlert().rfind("手机验证失败！原因: ", 0), 0u) << lastAlert();
    EXPECT_EQ(lastTitle(), "错误");
    EXPECT_TRUE(screen->phoneNumField()->isEnabled());
    EXPECT_TRUE(screen->checkField()->isEnabled());
    EXPECT_FALSE(screen->isWaiting());
    EXPECT_TRUE(form->form().securitiesName.empty()) << "nothing reaches the form";
}

TEST_F(PhoneRegTest, DeroVuvShowsTheRegistrationTextThenDecodesTheGatewaysCode) {
    base::Ref<PhoneRegViewController> screen = verify(kDeroVuv);
    ASSERT_TRUE(screen);
    settle();
    EXPECT_EQ(gateway->received(13056).size(), 1u);
    ASSERT_TRUE(screen->regText());
    EXPECT_EQ(screen->regText()->text(), "请发送短信“ZC”至以下号码进行注册:\n10658888  10659999\n10657777  "
                                         "注册成功后，在上方输入框中输入您的手机号码点击验证即可登录软件。");
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "trade/verify-derovuv"));

    screen->phoneNumField()->setText(kMobile);
    press(*screen, PhoneRegViewController::kVerifyTag);
    settle();
    EXPECT_EQ(gateway->received(13054).size(), 1u);
    expectFormContinued();
}

TEST_F(PhoneRegTest, DeroVuvWithoutARegistrationTextSendsTheUserToTheBroker) {
    gateway->setReply(13056, fields("21004=13057|2007=10658888|"));
    base::Ref<PhoneRegViewController> screen = verify(kDeroVuv);
    ASSERT_TRUE(screen);
    settle();
    EXPECT_EQ(screen->regText()->text(), "未能获取注册信息，请与您的券商联系！");
    gateway->setReply(13054, fields("21004=13054|21008=-1|21009=未注册|"));
    screen->phoneNumField()->setText(kMobile);
    press(*screen, PhoneRegViewController::kVerifyTag);
    settle();
    EXPECT_EQ(lastAlert(), "验证失败！原因: 未注册");
    EXPECT_EQ(sent(), Funcs{13054}) << "no handshake";
}

TEST_F(PhoneRegTest, DazerIveVerifiesWithTheGatewaysMobileAtOnce) {
    base::Ref<PhoneRegViewController> screen = verify(kDazerIve);
    ASSERT_TRUE(screen);
    EXPECT_EQ(variantTags(*screen), Tags{});
    settle();
    EXPECT_EQ(gateway->received(13064).front().value(1205), "15");
    EXPECT_EQ(gateway->received(peers::TradeGateway::kPhoneCheck).front().mobile, kMobile);
    expectFormContinued();
}

TEST_F(PhoneRegTest, MorvaneFetchesTheCodeOverTheSideChannel) {
    base::Ref<PhoneRegViewController> screen = verify(kMorvane);
    ASSERT_TRUE(screen);
    screen->phoneNumField()->setText(kMobile);
    press(*screen, PhoneRegViewController::kVerifyTag);
    EXPECT_TRUE(screen->isWaiting());
    settle();
    ASSERT_EQ(pair().navigation().received(1000).size(), 1u);
    std::vector<uint8_t> first = pair().navigation().received(1000).front().body;
    std::string login(first.begin(), first.end());
    EXPECT_EQ(login.substr(0, 6), str("2.00"));
    EXPECT_NE(login.find(str("ipad")), std::string::npos);
    ASSERT_EQ(pair().codes().received(1904).size(), 1u);
    std::vector<uint8_t> asked = pair().codes().received(1904).front().body;
    EXPECT_EQ(std::string(asked.begin(), asked.end()), str(kMobile));
    expectFormContinued();
}

// Each way the side channel can break ends with its own text, the indicator stopped and the phone
// field free again; the whole-but-unusual deliveries still verify.
TEST_F(PhoneRegTest, TheSideChannelsDeliveriesAndFaults) {
    const std::string foreign = packet(2939, "xyz");
    struct Case {
        const char *name;
        std::function<void()> arrange;
        const char *text; // nothing: verified
        const char *title = "提示";
        bool held = false;
    } cases[] = {
        {"reply in pieces", [&] { pair().navigation().addFault(peers::Fault::on(1000).split(5, -1)); },
         nullptr, "", true},
        {"foreign packet first",
         [&] { pair().navigation().addFault(peers::Fault::on(1000).withBefore(foreign)); }, nullptr},
        {"two packets in one read",
         [&] { pair().codes().addFault(peers::Fault::on(1904).withAfter(foreign)); }, nullptr},
        {"code in pieces", [&] { pair().codes().addFault(peers::Fault::on(1904).split(8, -1)); }, nullptr, "",
         true},
        {"address count past the body",
         [&] { pair().navigation().addFault(peers::Fault::on(1000).cutBody(3)); },
         "未能得到验证服务器地址，验证失败！"},
        {"address without a colon",
         [&] {
             peers::NavigationInfo info = pair().navigation().info();
             info.quoteServers = {"127.0.0.1"};
             pair().navigation().setInfo(info);
         },
         "未能得到验证服务器地址，验证失败！"},
        {"port out of range",
         [&] {
             peers::NavigationInfo info = pair().navigation().info();
             info.quoteServers = {"127.0.0.1:65536"};
             pair().navigation().setInfo(info);
         },
         "未能得到验证服务器地址，验证失败！"},
        {"closed before the address",
         [&] { pair().navigation().addFault(peers::Fault::on(1000).closingAfter(0)); },
         "连接验证服务器失败！"},
        {"code server refusing", [&] { pair().codes().setListening(false); }, "连接行情验证服务器失败！"},
        {"closed before the code", [&] { pair().codes().addFault(peers::Fault::on(1904).closingAfter(0)); },
         "未能取得通信密码，验证失败！"},
        {"code reply cut", [&] { pair().codes().addFault(peers::Fault::on(1904).cutBody(2)); },
         "验证失败！未能获取通信密码。", "错误"},
        {"unknown mobile", [&] { newPair(false); }, "验证失败！该手机号码未开通手机委托", "错误"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        newPair(true);
        c.arrange();
        size_t alerts = app.alerts().size();
        base::Ref<PhoneRegViewController> screen = verify(kMorvane);
        ASSERT_TRUE(screen);
        screen->phoneNumField()->setText(kMobile);
        press(*screen, PhoneRegViewController::kVerifyTag);
        settle();
        if (c.held) {
            EXPECT_TRUE(screen->isWaiting()) << "half a reply is waited for";
            pair().navigation().resume();
            pair().codes().resume();
            settle();
        }
        if (!c.text) {
            EXPECT_EQ(lastAlert(), "手机验证成功！接下来请选择地区和营业部，以及账号类别。");
        } else {
            ASSERT_EQ(app.alerts().size(), alerts + 1);
            EXPECT_EQ(lastAlert(), c.text);
            EXPECT_EQ(lastTitle(), c.title);
            EXPECT_FALSE(screen->isWaiting());
            EXPECT_TRUE(screen->phoneNumField()->isEnabled());
        }
        db->disconnectTradeServer({});
        settle();
    }
}

// A request waiting on the trade connection goes on at the next server, or ends with the
// connection's failure text, the indicator stopped and the field free again.
TEST_F(PhoneRegTest, TheTradeConnectionsFailuresEndTheWaitingRequest) {
    peers::TradeGateway dead;
    ASSERT_TRUE(dead.setListening(false));
    struct Case {
        const char *name;
        std::vector<uint16_t> ports;
        bool drop;
        const char *text;
        const char *tip;
    } cases[] = {
        {"next server",
         {dead.port(), gateway->port()},
         false,
         "获取手机验证码成功！请查看手机短信，并把验证码填入下面框中。",
         "尝试连接下一个交易服务器......"},
        {"all failed", {dead.port()}, false, "所有交易服务器连接失败!", nullptr},
        {"dropped", {gateway->port()}, true, "交易服务器断开!", nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        setBrokers({{"故障券商", 'G', c.ports, std::nullopt, {}}});
        base::Ref<PhoneRegViewController> screen = verify("故障券商");
        ASSERT_TRUE(screen);
        size_t alerts = app.alerts().size(), tips = app.toasts().size();
        if (c.drop)
            gateway->addFault(peers::TradeFault::on(13028).silence());
        screen->phoneNumField()->setText(kMobile);
        press(*screen, PhoneRegViewController::kGetCodeTag);
        settle();
        if (c.drop) {
            EXPECT_TRUE(screen->isWaiting());
            gateway->closeConnection();
            settle();
        }
        ASSERT_EQ(app.alerts().size(), alerts + 1) << "one text, no second for the failed request";
        EXPECT_EQ(lastAlert(), c.text);
        std::vector<std::string> newTips = tipTexts();
        newTips.erase(newTips.begin(), newTips.begin() + long(tips));
        EXPECT_EQ(newTips, c.tip ? std::vector<std::string>{c.tip} : std::vector<std::string>{});
        EXPECT_FALSE(screen->isWaiting());
        EXPECT_TRUE(screen->phoneNumField()->isEnabled());
        db->disconnectTradeServer({});
        settle();
    }
}

} // namespace
} // namespace login
