#include "LoginFixture.h"

#include "Class/Module/LoginModel/DepListViewController/DepListViewController.h"
#include "Class/Module/LoginModel/TradeTypeViewController/TradeTypeViewController.h"
#include "support/Golden.h"

namespace login {
namespace {

std::string fields(const std::string &text) {
    std::string out = text;
    for (char &c : out)
        if (c == '|')
            c = '\x01';
    return out;
}

// A broker that needs a branch, with two areas: 上海 with two branches, 北京 with none.
class PickersTest : public LoginFormTest {
protected:
    void SetUp() override {
        gateway->setReply(13008, fields("21004=13009|32003=0|"));
        gateway->setReply(12058,
                          fields("21004=12059|21000=0|21002=|1295=021|1296=上海|21003=|21002=|1295=010|"
                                 "1296=北京|21003=|"));
        gateway->setScript(12056, [](const peers::TradeRequest &request) -> std::optional<std::string> {
            if (request.value(1295) != std::optional<std::string>("021"))
                return fields("21004=12057|21000=0|");
            return fields(
                "21004=12057|21000=0|21002=|1006=上海营业部|1005=0101|21003=|21002=|1006=浦东营业部|"
                "1005=0102|21003=|");
        });
        gateway->setReply(12010,
                          fields("21004=12011|21000=0|21002=|1021=0|21003=|21002=|1021=3|21003=|21002=|"
                                 "1021=5|21003=|"));
        base::Ref<WTTrader> record = quotes->getSecuritiesAddressInfo(kBroker);
        record->setNeedSelectDep("");
        record->setAreaDepArray({});
        record->setAccountTypeArray({});
        saveAccounts({{kBroker, kMobile, kCode}}, 0);
        showForm();
        ASSERT_TRUE(
            pumpUntil([&] { return !form->traderInfo()->accountTypeArray().empty() && !form->isWaiting(); }));
        settle();
        sent();
    }
};

TEST_F(PickersTest, AreasAndBranchesFillFromTheGateway) {
    EXPECT_EQ(form->areaDepBtn().currentTitle(), "上海-上海营业部");
    form->areaDepAction();
    driver.advance(1);
    base::Ref<DepListViewController> picker = form->selectDepVC();
    ASSERT_TRUE(picker);
    EXPECT_EQ(picker->title(), "请选择地区和营业部");
    EXPECT_EQ(picker->pickerView().numberOfRows(0), 2);
    EXPECT_EQ(picker->pickerView().numberOfRows(1), 2);
    EXPECT_FALSE(picker->isWaiting());
    EXPECT_EQ(sent(), std::vector<int>{}) << "the first area's branches are known";
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "trade/area-branch-picker"));

    picker->didSelect(1, 0);
    EXPECT_TRUE(picker->isWaiting());
    ASSERT_TRUE(pumpUntil([&] { return !picker->isWaiting(); }));
    EXPECT_EQ(sent(), std::vector<int>{12056});
    EXPECT_EQ(picker->pickerView().numberOfRows(1), 0);
    EXPECT_EQ(form->form().areaName, "北京");
    EXPECT_EQ(form->form().departmentName, "");
    EXPECT_EQ(form->form().departmentCode, "");
    EXPECT_EQ(form->areaDepBtn().currentTitle(), "北京-");

    picker->pickerView().selectRow(0, 0, false);
    picker->didSelect(0, 0);
    EXPECT_FALSE(picker->isWaiting()) << "a fetched area shows at once";
    settle();
    EXPECT_EQ(sent(), std::vector<int>{});
    EXPECT_EQ(picker->pickerView().numberOfRows(1), 2);
    picker->didSelect(1, 1);
    EXPECT_EQ(form->form().departmentCode, "0102");
    EXPECT_EQ(form->areaDepBtn().currentTitle(), "上海-浦东营业部");
}

TEST_F(PickersTest, BranchesOfAnotherAreaOnlyEndTheWait) {
    form->areaDepAction();
    base::Ref<DepListViewController> picker = form->selectDepVC();
    ASSERT_TRUE(picker);
    picker->StartWaitingAlert();
    picker->UpdateDepArray(base::Array{base::Dict{{"1006", "别处"}, {"1005", "9"}}}, "", 1);
    EXPECT_FALSE(picker->isWaiting());
    EXPECT_EQ(picker->depArray().size(), 2u);
    EXPECT_EQ(form->form().departmentName, "上海营业部");
}

TEST_F(PickersTest, AnAccountTypeReplacesTheAccountField) {
    EXPECT_EQ(form->accountTypeBtn().currentTitle(), "资金帐号");
    form->accountTypeAction();
    base::Ref<TradeTypeViewController> picker = form->selectAccTypeVC();
    ASSERT_TRUE(picker);
    EXPECT_EQ(picker->title(), "请选择交易类型");
    EXPECT_FALSE(picker->isWaiting());
    EXPECT_EQ(picker->rowTitle(1), "上海A股东");
    struct Case {
        int row;
        const char *type, *title, *field;
    } cases[] = {{1, "3", "上海A股东", "A"}, {2, "5", "上海B股东", "C"}, {0, "0", "资金帐号", ""}};
    for (const Case &c : cases) {
        form->accountField().setText("880001");
        picker->didSelect(c.row);
        EXPECT_EQ(form->accountType(), c.type);
        EXPECT_EQ(form->accountTypeBtn().currentTitle(), c.title);
        EXPECT_EQ(form->accountField().text(), c.field);
    }
    form->close();
    EXPECT_FALSE(form->selectAccTypeVC()) << "a closed popover forgets its picker";
}

} // namespace
} // namespace login
