#include "LoginFixture.h"

#include "Module/StockDataBaseMgnt/DataManager.h"
#include "support/Golden.h"

#include <sys/stat.h>

namespace login {
namespace {

using Funcs = std::vector<int>;

TEST_F(LoginFormTest, WithoutSavedAccountsTheFormStartsEmptyWithTheSwitchOn) {
    showForm();
    settle();
    EXPECT_EQ(form->securitiesBtn().currentTitle(), "添加券商");
    EXPECT_EQ(form->areaDepBtn().currentTitle(), "添加区域和营业部");
    EXPECT_EQ(form->accountTypeBtn().currentTitle(), "选择账号类别");
    EXPECT_TRUE(form->isSaveAccount());
    EXPECT_EQ(form->selectedAccountIndex(), -1);
    EXPECT_EQ(sent(), Funcs{});
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "trade/login-empty"));
}

TEST_F(LoginFormTest, EachMissingPieceIsRefusedInOrderAndNothingGoesOut) {
    SavedBrokerAccount noDep = readyAccount();
    noDep.departmentName.clear();
    SavedBrokerAccount noType = readyAccount();
    noType.accountType.clear();
    struct Case {
        const char *name;
        std::optional<SavedBrokerAccount> saved;
        const char *account, *password, *text;
    } cases[] = {
        {"no broker", std::nullopt, kAccount, kPassword, "请先选择券商！"},
        {"no branch", noDep, kAccount, kPassword, "请选择地区和营业部！"},
        {"no type", noType, kAccount, kPassword, "请选择账号类别！"},
        {"no account", readyAccount(), "", kPassword, "请输入账号！"},
        {"no password", readyAccount(), kAccount, "", "请输入交易密码！"},
    };
    gateway->setListening(false);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.saved)
            saveAccounts({*c.saved}, 0);
        showForm();
        settle();
        form->accountField().setText(c.account);
        form->passwordField().setText(c.password);
        form->LoginAction();
        settle();
        EXPECT_EQ(lastAlert(), c.text);
        EXPECT_TRUE(gateway->received(11100).empty());
        EXPECT_TRUE(formShown());
    }
}

TEST_F(LoginFormTest, ALoginPressedWhileDisconnectedGoesOutAfterConnectAndPhoneCheck) {
    saveAccounts({readyAccount()}, 0);
    showForm();
    settle();
    EXPECT_EQ(form->securitiesBtn().currentTitle(), kBroker);
    EXPECT_EQ(form->areaDepBtn().currentTitle(), "上海-上海营业部");
    EXPECT_EQ(form->accountTypeBtn().currentTitle(), "资金帐号");
    EXPECT_EQ(form->accountField().text(), kAccount);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "trade/login-saved"));
    EXPECT_FALSE(db->isConnected());

    form->passwordField().setText(kPassword);
    form->LoginAction();
    EXPECT_TRUE(form->isWaiting());
    ASSERT_TRUE(pumpUntil([&] { return launches() > 0; }));
    EXPECT_EQ(sent(), (Funcs{peers::TradeGateway::kPhoneCheck, 11100}));
    std::vector<peers::TradeRequest> logins = gateway->received(11100);
    ASSERT_EQ(logins.size(), 1u);
    EXPECT_EQ(logins[0].value(1019), std::optional<std::string>(kAccount));
    EXPECT_FALSE(formShown());
    EXPECT_FALSE(dim->superview()) << "the dimming view goes with the form";
    EXPECT_EQ(launches(), 1);
    EXPECT_TRUE(alertTexts().empty());
    EXPECT_EQ(AccountList::load(), SavedBrokerAccounts{readyAccount()}) << "the same login adds nothing";
}

TEST_F(LoginFormTest, TheAccountInformationDecidesWhetherABranchIsNeeded) {
    struct Case {
        const char *name;
        std::optional<std::string> field32003;
        Funcs asked;
        const char *need, *areaTitle, *typeTitle;
    } cases[] = {
        {"non-zero", "1", {13008, 12010}, "NO", "证券交易中心", "资金帐号"},
        {"absent", std::nullopt, {13008, 12010}, "NO", "证券交易中心", "资金帐号"},
        {"zero", "0", {13008, 12058, 12010, 12056}, "YES", "上海-上海营业部", "资金帐号"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::string reply =
            "21004=13009\x01" + (c.field32003 ? "32003=" + *c.field32003 + "\x01" : std::string());
        gateway->setReply(13008, reply);
        // The broker record keeps what an earlier form learnt of the broker.
        base::Ref<WTTrader> record = quotes->getSecuritiesAddressInfo(kBroker);
        record->setNeedSelectDep("");
        record->setAreaDepArray({});
        record->setAccountTypeArray({});
        SavedBrokerAccount verified{kBroker, kMobile, kCode};
        saveAccounts({verified}, 0);
        showForm();
        ASSERT_TRUE(
            pumpUntil([&] { return !form->isWaiting() && !form->traderInfo()->accountTypeArray().empty(); }));
        settle();
        Funcs asked = sent();
        asked.erase(std::remove(asked.begin(), asked.end(), peers::TradeGateway::kPhoneCheck), asked.end());
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(form->form().needSelectDep, c.need);
        EXPECT_EQ(form->traderInfo()->needSelectDep(), c.need);
        EXPECT_EQ(form->areaDepBtn().currentTitle(), c.areaTitle);
        EXPECT_EQ(form->accountTypeBtn().currentTitle(), c.typeTitle);
        db->disconnectTradeServer({});
        settle();
    }
    std::vector<peers::TradeRequest> deps = gateway->received(12056);
    ASSERT_EQ(deps.size(), 1u);
    EXPECT_EQ(deps[0].value(1295), std::optional<std::string>("021"));
}

TEST_F(LoginFormTest, FailuresShowTheirTextsAndStopTheIndicator) {
    struct Case {
        const char *name;
        std::function<void(peers::TradeGateway &)> arrange;
        std::string text;
    } cases[] = {
        {"phone check refused", [](peers::TradeGateway &g) { g.setPhoneCheckRefusal("号码未登记"); },
         "手机号验证失败！原因：号码未登记。\n在“选择券商”中可以进行重新验证！"},
        {"wrong password", [](peers::TradeGateway &) {}, "登录失败 :(\n 交易密码错误"},
        {"gateway away", [](peers::TradeGateway &g) { g.setListening(false); }, "所有交易服务器连接失败!"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        gateway = std::make_unique<peers::TradeGateway>();
        gateway->addAccount({kBroker, kMobile, kCode, kAccount, kPassword});
        c.arrange(*gateway);
        setBrokers();
        saveAccounts({readyAccount()}, 0);
        showForm();
        form->passwordField().setText("000000");
        form->LoginAction();
        ASSERT_TRUE(pumpUntil([&] { return !form->isWaiting(); }));
        settle();
        EXPECT_EQ(lastAlert(), c.text);
        EXPECT_TRUE(formShown());
        EXPECT_EQ(launches(), 0);
        db->disconnectTradeServer({});
        settle();
    }
}

TEST_F(LoginFormTest, ABrokerWithoutAddressShowsTheConnectionsOwnText) {
    saveAccounts({{"无此券商", kMobile, kCode, "", "", "", "0", kAccount, "NO"}}, 0);
    showForm();
    form->passwordField().setText(kPassword);
    form->LoginAction();
    settle();
    EXPECT_FALSE(form->isWaiting());
    ASSERT_FALSE(alertTexts().empty());
    EXPECT_FALSE(lastAlert().empty());
    EXPECT_EQ(sent(), Funcs{});
}

TEST_F(LoginFormTest, WithTheSwitchOffTheAccountIsNotKeptAndTheNextFormStartsWithout) {
    SavedBrokerAccount other = readyAccount();
    other.securitiesName = "别家券商";
    saveAccounts({other}, 5);
    SavedBrokerAccount entry = readyAccount();
    entry.account.clear();
    showForm();
    form->ReturnSelectedAccount(readyAccount(), -1);
    settle();
    EXPECT_TRUE(form->isSaveAccount());
    form->passwordField().setText(kPassword);
    form->saveSwitchAction();
    form->LoginAction();
    ASSERT_TRUE(pumpUntil([&] { return launches() > 0; }));
    SavedBrokerAccounts saved = AccountList::load();
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[0], entry);
    EXPECT_EQ(DataManager::sharedDataManager().GetTradeAddedAccountIndex(), 0);
    struct stat info {};
    ASSERT_EQ(::stat(AccountList::path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    showForm();
    settle();
    EXPECT_EQ(form->securitiesBtn().currentTitle(), kBroker);
    EXPECT_EQ(form->accountField().text(), "");
    EXPECT_FALSE(form->isSaveAccount());
}

TEST_F(LoginFormTest, AStoredIndexOutsideTheListLoadsNothing) {
    for (int index : {1, 5, -1}) {
        SCOPED_TRACE(index);
        saveAccounts({readyAccount()}, index);
        showForm();
        EXPECT_EQ(form->selectedAccountIndex(), -1);
        EXPECT_EQ(form->securitiesBtn().currentTitle(), "添加券商");
    }
}

TEST_F(LoginFormTest, ButtonTitlesAndTheAccountFieldReset) {
    showForm();
    struct Title {
        const char *area, *dep, *title;
    } titles[] = {{"", "", "添加区域和营业部"},
                  {"总部", "总部", "总部"},
                  {"上海", "上海营业部", "上海-上海营业部"},
                  {"北京", "", "北京-"}};
    for (const Title &t : titles) {
        form->SetAreaDepartmentBtnName(t.area, t.dep);
        EXPECT_EQ(form->areaDepBtn().currentTitle(), t.title);
    }
    struct Type {
        const char *name, *title, *field;
    } types[] = {{"上海A股东", "上海A股东", "A"},
                 {"上海B股东", "上海B股东", "C"},
                 {"深圳A股东", "深圳A股东", ""},
                 {"", "选择账号类别", ""}};
    for (const Type &t : types) {
        form->accountField().setText("12345");
        form->SetAccountTypeBtnName(t.name);
        EXPECT_EQ(form->accountTypeBtn().currentTitle(), t.title);
        EXPECT_EQ(form->accountField().text(), t.field);
    }
}

} // namespace
} // namespace login
