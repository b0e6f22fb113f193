#include "StartupFixture.h"

#include "EncryptorAES.h"
#include "Module/StockDataBaseMgnt/DataManager.h"
#include "base/PropertyList.h"

namespace app {
namespace {

std::string enciphered(const std::string &text) {
    return *EncryptorAES::encryptBase64String(text, EncryptorAES::LoginKeyString, false);
}

// The login panel on its own, over the application's quote connection.
class LoginPanelTest : public StartupTest {
protected:
    LoginPanelTest() {
        quotes.addAccount("u1", "pw");
        DataBase::sharedDataBase()->initialize({});
    }
    ~LoginPanelTest() override {
        panel.reset();
        DataBase::sharedDataBase()->Disconnect();
        driver.runUntilIdle();
    }
    void makePanel(const base::Dict &config, bool relogin = false) {
        DataManager::sharedDataManager().gUserConfigDict = config.copy();
        panel = base::make<MainLoginView>(gfx::Rect{0, 0, 1024, 768});
        panel->isRelogin = relogin;
        host.window().addSubview(panel);
        panel->TryDirectLogin();
    }
    // Points the navigation list at `host` and starts the quote connection afresh over it.
    void useNavigationHost(const std::string &host) {
        base::Array servers;
        servers.add(base::Dict{{"host", host}, {"port", int(quotes.port())}});
        base::PropertyList::write(base::Dict{{"NavServers", servers}},
                                  bundleDirectory() + "/ServerConfig.plist");
        DataBase::setSharedDataBase(nullptr);
        DataBase::sharedDataBase()->initialize({});
    }
    bool loginEnded() {
        return runUntil([&] {
            return !statuses.empty() && (statuses.back() == DataBase::LoginFinished ||
                                         statuses.back() == DataBase::AccountRejected ||
                                         statuses.back() == DataBase::HQServerConnectFailed);
        });
    }
    base::Ref<MainLoginView> panel;
};

TEST_F(LoginPanelTest, TryDirectLoginFollowsTheSavedSettings) {
    enum Login { None, Free, Account };
    struct Case {
        const char *name;
        base::Dict config;
        bool relogin;
        Login login;
    };
    const std::string name = enciphered("u1"), password = enciphered("pw");
    const Case cases[] = {
        {"first start, nothing saved", {}, false, Free},
        {"saved account, auto-login unset",
         {{"MainLoginName", name}, {"MainLoginPwd", password}},
         false,
         Account},
        {"saved account, auto-login on",
         {{"MainLoginName", name}, {"MainLoginPwd", password}, {"IsAutoMainLogin", true}},
         false,
         Account},
        {"saved account, auto-login off",
         {{"MainLoginName", name}, {"MainLoginPwd", password}, {"IsAutoMainLogin", false}},
         false,
         None},
        {"name without password", {{"MainLoginName", name}, {"MainLoginPwd", ""}}, false, None},
        {"re-login after logging out", {{"MainLoginName", ""}, {"MainLoginPwd", ""}}, true, None},
        {"re-login with a saved account",
         {{"MainLoginName", name}, {"MainLoginPwd", password}},
         true,
         Account},
        {"saved texts that do not decipher",
         {{"MainLoginName", "####"}, {"MainLoginPwd", "@@"}},
         false,
         Free},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        statuses.clear();
        quotes.clearReceived();
        makePanel(c.config, c.relogin);
        EXPECT_EQ(panel->isHidden(), c.login != None);
        if (c.login == None) {
            driver.runUntilIdle();
            EXPECT_TRUE(statuses.empty());
        } else {
            ASSERT_TRUE(loginEnded());
            EXPECT_EQ(statuses.back(), DataBase::LoginFinished);
            EXPECT_EQ(quotes.receivedCount(2936) > 0, c.login == Account);
        }
        panel->removeFromSuperview();
        DataBase::sharedDataBase()->Disconnect();
        driver.runUntilIdle();
    }
}

TEST_F(LoginPanelTest, StatusesEndTheLoginOrBringThePanelBackWithTheReason) {
    struct Case {
        const char *name;
        std::string password;

        int status;
        std::string message;
    };
    const Case cases[] = {
        {"accepted", "pw", DataBase::LoginFinished, ""},
        {"refused", "wrong", DataBase::AccountRejected, MainLoginView::AccountRefusedText},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        statuses.clear();
        size_t alerts = host.alerts().size();
        makePanel({{"MainLoginName", enciphered("u1")},
                   {"MainLoginPwd", enciphered(c.password)},
                   {"IsSaveMainLoginPwd", true}});
        ASSERT_TRUE(loginEnded());
        EXPECT_EQ(statuses.back(), c.status);
        if (c.message.empty()) {
            EXPECT_EQ(host.alerts().size(), alerts);
            base::Dict saved = DataManager::sharedDataManager().gUserConfigDict;
            EXPECT_EQ(EncryptorAES::decryptBase64String(saved.get("MainLoginPwd").stringValue(),
                                                        EncryptorAES::LoginKeyString),
                      "pw");
            EXPECT_TRUE(saved.get("IsAutoMainLogin").boolValue());
        } else {
            EXPECT_FALSE(panel->isHidden());
            ASSERT_EQ(host.alerts().size(), alerts + 1);
            EXPECT_EQ(host.alerts().back().title, "错误");
            EXPECT_EQ(host.alerts().back().message, c.message);
            EXPECT_EQ(panel->nameField().text(), "u1") << "the fields stay as they were";
            EXPECT_TRUE(DataBase::sharedDataBase()->IO_NetDataCenter()->IO_L2UserName.empty())
                << "the account is forgotten";
        }
        panel->removeFromSuperview();
        DataBase::sharedDataBase()->Disconnect();
        driver.runUntilIdle();
    }
}

TEST_F(LoginPanelTest, AQuoteServerLostDuringTheLoginBringsThePanelBack) {
    makePanel({{"MainLoginName", enciphered("u1")}, {"MainLoginPwd", enciphered("pw")}});
    ASSERT_TRUE(panel->isHidden());
    for (int progress : {DataBase::NavServerConnected, DataBase::NavServerConnectFailed,
                         DataBase::HQServerConnected, DataBase::AccountAccepted})
        base::NotificationCenter::shared().post(DataBase::LoginLevel2AccountNotify, nullptr,
                                                base::Dict{{DataBase::LoginLevel2AccountStatus, progress}});
    EXPECT_TRUE(panel->isHidden()) << "progress changes nothing";
    base::NotificationCenter::shared().post(DataBase::LoginLevel2AccountNotify, nullptr,
                                            base::Dict{{DataBase::LoginLevel2AccountStatus, 4}});
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(host.alerts().back().message, MainLoginView::HQServerFailText);
    EXPECT_EQ(panel->pwdField().text(), "pw");
}

// A navigation host no name server can resolve fails the login call itself (result -1): the panel
// stays with the reason, whichever login it tried, and nothing goes on trying behind it.
TEST_F(LoginPanelTest, AnUnresolvableNavigationHostIsReportedAtOnce) {
    useNavigationHost("nav.no-such-host.invalid");
    struct Case {
        const char *name;
        base::Dict config;
    };
    const Case cases[] = {
        {"automatic account login",
         {{"MainLoginName", enciphered("u1")}, {"MainLoginPwd", enciphered("pw")}}},
        {"first start's free login", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        size_t alerts = host.alerts().size();
        makePanel(c.config);
        EXPECT_FALSE(panel->isHidden());
        ASSERT_EQ(host.alerts().size(), alerts + 1);
        EXPECT_EQ(host.alerts().back().title, "错误");
        EXPECT_EQ(host.alerts().back().message, MainLoginView::NavServerFailText);
        advance(60);
        EXPECT_TRUE(statuses.empty());
        EXPECT_EQ(host.alerts().size(), alerts + 1) << "no reconnect ladder behind the panel";
        EXPECT_TRUE(quotes.received().empty());
        panel->removeFromSuperview();
    }
}

// The navigation server hands over quote servers that cannot be reached and closes its link: the
// login ends with the quote server's reason (status 4), and a login tried again at once is refused
// by its call (result -2) with the same reason.
TEST_F(LoginPanelTest, QuoteServersThatCannotBeReachedEndTheLoginAndRefuseTheNext) {
    peers::NavigationInfo info;
    info.quoteServers = {"hq1.no-such-host.invalid:1", "hq2.no-such-host.invalid:2"};
    quotes.setNavigation(info);
    makePanel({{"MainLoginName", enciphered("u1")}, {"MainLoginPwd", enciphered("pw")}});
    EXPECT_TRUE(panel->isHidden()) << "the navigation server is reached";
    ASSERT_TRUE(loginEnded());
    EXPECT_EQ(statuses, (std::vector<int>{DataBase::NavServerConnected, DataBase::HQServerConnectFailed}));
    EXPECT_EQ(quotes.receivedCount(peers::QuoteServer::ServerAddressType), 1u);
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(host.alerts().back().message, MainLoginView::HQServerFailText);

    size_t alerts = host.alerts().size();
    panel->pwdField().setText("pw");
    panel->mainLoginAction(MainLoginView::AccountLoginTag);
    EXPECT_FALSE(panel->isHidden());
    ASSERT_EQ(host.alerts().size(), alerts + 1);
    EXPECT_EQ(host.alerts().back().title, "错误");
    EXPECT_EQ(host.alerts().back().message, MainLoginView::HQServerFailText);
    EXPECT_EQ(quotes.receivedCount(peers::QuoteServer::AccountLoginType), 0u);
}

TEST_F(LoginPanelTest, MissingNameOrPasswordIsRefusedBeforeAnythingConnects) {
    makePanel({{"MainLoginName", enciphered("u1")}});
    for (auto [name, message] :
         {std::pair{"", MainLoginView::NoNameText}, {"u1", MainLoginView::NoPasswordText}}) {
        panel->nameField().setText(name);
        panel->pwdField().setText("");
        panel->mainLoginAction(MainLoginView::AccountLoginTag);
        EXPECT_EQ(host.alerts().back().message, message);
    }
    // Ticking and unticking the box stores nothing.
    panel->mainLoginAction(MainLoginView::SavePwdTag);
    EXPECT_TRUE(panel->checkPwdStatus());
    panel->mainLoginAction(MainLoginView::SavePwdTag);
    driver.runUntilIdle();
    EXPECT_TRUE(quotes.received().empty());
    EXPECT_FALSE(DataManager::sharedDataManager().gUserConfigDict.has("IsSaveMainLoginPwd"));
}

} // namespace
} // namespace app
