#include "LoginFixture.h"

#include "Class/Module/LoginModel/SecuritiesViewController/SecuritiesViewController.h"
#include "Module/StockDataBaseMgnt/DataManager.h"
#include "base/NotificationCenter.h"
#include "support/Golden.h"
#include "ui/KeyboardHost.h"
#include "ui/NavigationController.h"

namespace login {
namespace {

SavedBrokerAccount saved(const char *broker, const char *account) {
    return {broker, kMobile, kCode, "上海", "上海营业部", "0101", "0", account, "YES"};
}

class ChooserTest : public LoginFormTest {
protected:
    void SetUp() override {
        setBrokers({{"北方券商", 'B', {gateway->port()}}, {"远东券商", 'Y', {gateway->port()}}});
    }
    // The chooser the form's broker button opened.
    base::Ref<SecuritiesViewController> openChooser() {
        form->securitiesAction();
        driver.advance(1);
        const base::Ref<ui::Popover> &popover = form->popoverController();
        if (!popover)
            return nullptr;
        auto *navigation = dynamic_cast<ui::NavigationController *>(&popover->content());
        return std::dynamic_pointer_cast<SecuritiesViewController>(navigation->viewControllers().front());
    }
    static std::string headerText(ui::TableView &table, int section) {
        auto *label = dynamic_cast<ui::Label *>(table.headerView(section));
        return label ? label->text() : std::string();
    }
};

TEST(AddedAccountCellName, TheAccountsTailFollowsTheBroker) {
    struct Case {
        const char *account, *name;
    } cases[] = {{"88000123", "甲券商-尾号0123"},
                 {"12345", "甲券商-尾号2345"},
                 {"1234", "甲券商-1234"},
                 {"7", "甲券商-7"},
                 {"", "甲券商"}};
    for (const Case &c : cases)
        EXPECT_EQ(AddedAccountCell::nameFor("甲券商", c.account), c.name) << c.account;
}

TEST_F(ChooserTest, SavedAccountsFirstThenBrokersByInitial) {
    saveAccounts({saved(kBroker, "88000123"), saved("远东券商", "")}, 9);
    showForm();
    base::Ref<SecuritiesViewController> chooser = openChooser();
    ASSERT_TRUE(chooser);
    EXPECT_EQ(chooser->title(), "已添加账户和券商列表");
    ui::TableView &table = chooser->tableView();
    ASSERT_EQ(table.numberOfSections(), 3);
    EXPECT_EQ(table.numberOfRows(0), 2);
    EXPECT_EQ(table.numberOfRows(1), 2) << "B: 本地券商 and 北方券商";
    EXPECT_EQ(table.numberOfRows(2), 1);
    EXPECT_EQ(headerText(table, 0), "已添加账户");
    EXPECT_EQ(headerText(table, 1), "B");
    auto *cell = dynamic_cast<AddedAccountCell *>(table.cellForRow({0, 0}).get());
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->nameLabel().text(), "本地券商-尾号0123");
    base::Ref<ui::TableDataSource> source = table.dataSource.lock();
    EXPECT_EQ(*source->sectionIndexTitles(table), (std::vector<std::string>{"B", "Y"}));
    EXPECT_EQ(*source->sectionForIndexTitle(table, "Y", 1), 2);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "trade/broker-chooser"));

    table.delegate.lock()->didSelectRow(table, {0, 0});
    settle();
    EXPECT_FALSE(form->popoverController()) << "a saved account closes the chooser";
    EXPECT_EQ(form->securitiesBtn().currentTitle(), kBroker);
    EXPECT_EQ(form->accountField().text(), "88000123");
    EXPECT_EQ(DataManager::sharedDataManager().GetTradeAddedAccountIndex(), 0);
}

TEST_F(ChooserTest, WithoutSavedAccountsTheirHeaderStays) {
    showForm();
    base::Ref<SecuritiesViewController> chooser = openChooser();
    ASSERT_TRUE(chooser);
    EXPECT_EQ(chooser->tableView().numberOfRows(0), 0);
    EXPECT_EQ(headerText(chooser->tableView(), 0), "已添加账户");
}

TEST_F(ChooserTest, TheKeyboardShortensTheChooser) {
    showForm();
    base::Ref<SecuritiesViewController> chooser = openChooser();
    ASSERT_TRUE(chooser);
    base::NotificationCenter::shared().post(ui::KeyboardHost::WillShowNotification, nullptr, {});
    EXPECT_EQ(chooser->contentSizeInPopover(), (gfx::Size{320, 275}));
    EXPECT_EQ(chooser->tableView().frame().height(), 275);
    base::NotificationCenter::shared().post(ui::KeyboardHost::WillHideNotification, nullptr, {});
    EXPECT_EQ(chooser->contentSizeInPopover(), (gfx::Size{320, 500}));
    EXPECT_EQ(chooser->tableView().frame().height(), 500);
}

TEST_F(ChooserTest, ABrokerTableStillToComeShowsTheWaitingAlert) {
    quotes->IO_GetSecuritiesAddressRsp = false;
    showForm();
    base::Ref<SecuritiesViewController> chooser = openChooser();
    ASSERT_TRUE(chooser);
    EXPECT_TRUE(chooser->isWaiting());
    quotes->IO_GetSecuritiesAddressRsp = true;
    chooser->DataPoolCallBack(1003, nullptr);
    EXPECT_FALSE(chooser->isWaiting());
    EXPECT_EQ(chooser->tableView().numberOfSections(), 3);
}

TEST_F(ChooserTest, ADeletionAsksFirstAndTheIndexInUseFollowsItsAccount) {
    struct Case {
        int stored, deleted, after;
        bool confirmed;
    } cases[] = {{2, 0, 1, true}, {1, 1, -1, true}, {0, 2, 0, true}, {1, 0, 1, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.stored) + " " + std::to_string(c.deleted));
        SavedBrokerAccounts accounts{saved(kBroker, "1"), saved(kBroker, "2"), saved(kBroker, "3")};
        saveAccounts(accounts, c.stored);
        showForm();
        base::Ref<SecuritiesViewController> chooser = openChooser();
        ASSERT_TRUE(chooser);
        auto cell =
            std::dynamic_pointer_cast<AddedAccountCell>(chooser->tableView().cellForRow({0, c.deleted}));
        ASSERT_TRUE(cell);
        cell->delBtn().sendActions(ui::TouchUpInside);
        settle();
        ASSERT_EQ(lastAlert(), "确定要删除该帐号？");
        ASSERT_TRUE(app.pressAlertButton(c.confirmed ? 0 : 1));
        settle();
        if (c.confirmed)
            accounts.erase(accounts.begin() + c.deleted);
        EXPECT_EQ(AccountList::load(), accounts);
        EXPECT_EQ(chooser->tableView().numberOfRows(0), int(accounts.size()));
        EXPECT_EQ(DataManager::sharedDataManager().GetTradeAddedAccountIndex(),
                  c.confirmed ? c.after : c.stored);
        EXPECT_EQ(form->accountsArray(), accounts);
    }
}

TEST_F(ChooserTest, ABrokerStartsAFreshForm) {
    saveAccounts({saved(kBroker, "88000123")}, 0);
    showForm();
    settle();
    form->saveSwitchAction();
    base::Ref<SecuritiesViewController> chooser = openChooser();
    ASSERT_TRUE(chooser);
    chooser->tableView().delegate.lock()->didSelectRow(chooser->tableView(), {2, 0});
    EXPECT_EQ(form->securitiesBtn().currentTitle(), "添加券商");
    EXPECT_EQ(form->areaDepBtn().currentTitle(), "添加区域和营业部");
    EXPECT_EQ(form->accountTypeBtn().currentTitle(), "选择账号类别");
    EXPECT_EQ(form->accountField().text(), "");
    EXPECT_TRUE(form->isSaveAccount());
    EXPECT_EQ(form->selectedAccountIndex(), -1);
}

} // namespace
} // namespace login
