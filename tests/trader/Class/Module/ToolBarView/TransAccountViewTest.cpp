#include "ToolBarFixture.h"

#include "Class/Module/ToolBarView/TransAccountView/BankSelViewController.h"
#include "Class/Module/ToolBarView/TransAccountView/BankToAccountView.h"
#include "Class/Module/ToolBarView/TransAccountView/TransAccountView.h"
#include "Class/Module/ToolBarView/TransAccountView/TransferCell.h"
#include "Class/Module/ToolBarView/TransAccountView/TransferQueryView.h"
#include "Class/Module/ToolBarView/TransAccountView/TransferRules.h"
#include "Components/CMProgressWaitingView.h"
#include "DataBase/WT/TradeInterface.h"
#include "peers/TradeAccountBook.h"
#include "support/Golden.h"

#include "ui/NavigationController.h"

namespace toolbar {
namespace {

using Bank = peers::TradeAccountBook::BankRow;

TEST(TransferRules, AmountsArePositiveWithAtMostTwoDecimals) {
    for (const char *good : {"100", "0.5", "12.34", "0.01", "007"})
        EXPECT_TRUE(transfer::isTransferAmount(good)) << good;
    for (const char *bad :
         {"", "0", "0.00", "abc", "12.345", "-5", "1e3", ".5", "5.", "1.2.3", " 5", "5 ", "１"})
        EXPECT_FALSE(transfer::isTransferAmount(bad)) << bad;
}

TEST(TransferRules, TheFirstFailedCheckIsTheOneShown) {
    // Rule 3 asks for both passwords; each case leaves out one more entry than the next.
    transfer::Entry full{"1001", 0, 3, "b", "f", "10"};
    struct Case {
        const char *what;
        transfer::Entry entry;
        const char *transfer, *balance;
    } cases[] = {
        {"no bank", {"", -1, 3, "", "", ""}, "没有可转帐的银行！", "没有可转帐的银行！"},
        {"no currency", {"1001", -1, 3, "", "", ""}, "请选择币种！", "请选择币种！"},
        {"no bank password",
         {"1001", 0, 3, "", "", ""},
         "请输入银行密码！",
         "请在上面输入框中输入银行密码！"},
        {"no fund password",
         {"1001", 0, 3, "b", "", ""},
         "请输入资金密码！",
         "请在上面输入框中输入资金密码！"},
        {"no amount", {"1001", 0, 3, "b", "f", ""}, "请输入转帐金额！", nullptr},
        {"letters", {"1001", 0, 3, "b", "f", "ten"}, "请输入正确的转帐金额！", nullptr},
        {"rule 0 needs no password", {"1001", 0, 0, "", "", "10"}, nullptr, nullptr},
        {"rule 7 needs no password", {"1001", 0, 7, "", "", "10"}, nullptr, nullptr},
        {"rule 1: the bank's",
         {"1001", 0, 1, "", "", "10"},
         "请输入银行密码！",
         "请在上面输入框中输入银行密码！"},
        {"rule 2: the fund's",
         {"1001", 0, 2, "", "", "10"},
         "请输入资金密码！",
         "请在上面输入框中输入资金密码！"},
        {"everything", full, nullptr, nullptr},
    };
    for (const Case &c : cases) {
        std::optional<std::string> transfer = transfer::transferRefusal(c.entry);
        std::optional<std::string> balance = transfer::balanceRefusal(c.entry);
        EXPECT_EQ(transfer.value_or("-"), c.transfer ? c.transfer : "-") << c.what;
        EXPECT_EQ(balance.value_or("-"), c.balance ? c.balance : "-") << c.what;
    }
}

TEST(TransferRules, HistoryTexts) {
    base::Dict row{{"1273", "转账成功"}, {"1191", "S1"}, {"1028", "2"}};
    EXPECT_EQ(transfer::historyInfo(row), "转账成功 银行流水号:S1");
    EXPECT_EQ(transfer::historyCurrency(row), "港元");
    base::Dict bare{{"1273", "待确认"}};
    EXPECT_EQ(transfer::historyInfo(bare), "待确认") << "without a serial number";
    EXPECT_EQ(transfer::historyCurrency(bare), "--");
}

// The logged-in bar over the loopback gateway's account book, with the transfer panel.
class TransferTest : public ToolBarTest {
protected:
    TransferTest() { book = std::make_unique<peers::TradeAccountBook>(*gateway, "20121207"); }

    base::Ref<TransAccountView> open() {
        if (!db->IO_TradeNetData()->isLoginSuccess())
            logIn();
        if (!bar)
            showBar();
        press(TraderToolBarView::kTransferTag);
        settleSlides();
        settle();
        return panel<TransAccountView>();
    }
    template <class T = BankToAccountView> base::Ref<T> shown(TransAccountView &transfers) {
        return std::dynamic_pointer_cast<T>(transfers.prevContentView());
    }
    template <class T = BankToAccountView> base::Ref<T> switchTo(TransAccountView &transfers, int tag) {
        tap(transfers.tabButton(tag));
        settle();
        return shown<T>(transfers);
    }
    BankSelViewController &picker(TransferTabView &tab) {
        auto *nav = dynamic_cast<ui::NavigationController *>(&tab.popoverController()->content());
        auto *picker = dynamic_cast<BankSelViewController *>(nav->viewControllers().front().get());
        picker->view();
        return *picker;
    }
    // A tap beside the panel, which closes an open picker.
    void tapOutside() {
        app.tap({100, 700});
        driver.runUntilIdle();
    }
    // Opens the picker of the button, settles on the row and closes the picker.
    void choose(TransferTabView &tab, ui::Button &button, int row) {
        tap(button);
        picker(tab).didSelect(row);
        tapOutside();
    }
    void pickBank(BankToAccountView &form, int index) { choose(form, form.bankBtn(), index); }
    std::string lastAlert() const { return alertTexts().empty() ? "" : alertTexts().back(); }
    bool waiting(TransAccountView &transfers) const { return transfers.progressView()->isAnimating(); }

    std::unique_ptr<peers::TradeAccountBook> book;
};

TEST_F(TransferTest, ThePanelOpensOnBankToSecuritiesAndSwitchesByBuildingAfresh) {
    logIn();
    size_t seen = gateway->received().size();
    base::Ref<TransAccountView> transfers = open();
    ASSERT_TRUE(transfers);
    EXPECT_EQ(transfers->titleLabel()->text(), "银行转账");
    EXPECT_EQ(transfers->frame(), gfx::Rect(614, 65, 360, 654));
    const char *captions[] = {"银行转证券", "证券转银行", "转账查询", "银行余额"};
    for (int i = 0; i < 4; ++i) {
        ui::Button &tab = transfers->tabButton(500 + i);
        EXPECT_EQ(tab.currentTitle(), captions[i]);
        EXPECT_EQ(tab.frame(), gfx::Rect(90.f * i, 50, 90, 25));
        EXPECT_EQ(tab.isEnabled(), i != 0);
        EXPECT_EQ(tab.isSelected(), i == 0);
    }
    EXPECT_EQ(transfers->tabButton(500).backgroundColor()->description(),
              gfx::Color::rgba(255 / 255.f, 218 / 255.f, 160 / 255.f)->description());
    base::Ref<BankToAccountView> first = shown(*transfers);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->variant(), BankToAccountView::kToSecurities);
    EXPECT_EQ(first->frame(), gfx::Rect(0, 90, 360, 534));
    EXPECT_EQ(sentSince(seen), std::vector<int>{11130}) << "the bank list only: no funds line on this form";
    EXPECT_EQ(first->bankBtn().currentTitle(), "银行1001(人民币)");

    tap(transfers->tabButton(500));
    EXPECT_EQ(shown(*transfers), first) << "the shown tab cannot be pressed";

    base::Weak<BankToAccountView> gone = first;
    first.reset();
    base::Ref<BankToAccountView> toBank = switchTo(*transfers, 501);
    EXPECT_TRUE(gone.expired()) << "the old view is destroyed";
    ASSERT_TRUE(toBank);
    EXPECT_EQ(toBank->variant(), BankToAccountView::kToBank);
    EXPECT_FALSE(transfers->tabButton(500).isSelected());
    EXPECT_TRUE(transfers->tabButton(500).isEnabled());
    EXPECT_EQ(sentSince(seen), std::vector<int>{11104}) << "the session keeps the bank list";
    EXPECT_EQ(toBank->accountCashLabel()->text(), "账户可转资金:100000.00 (人民币)");

    base::Ref<BankToAccountView> balance = switchTo(*transfers, 503);
    EXPECT_EQ(balance->variant(), BankToAccountView::kBalance);
    EXPECT_EQ(balance->frame(), gfx::Rect(0, 90, 360, 534));
    switchTo(*transfers, 501);
    EXPECT_TRUE(sentSince(seen).empty()) << "funds and banks are both held now";
    EXPECT_FALSE(waiting(*transfers));
}

TEST_F(TransferTest, FormsFollowTheRuleOfTheirOperation) {
    book->setBanks({
        {"2001", "无规则", 0, {}, {}, {}},
        {"2002", "免密", 0, 0, 0, 0},
        {"2003", "双密", 0, 3, 3, 3},
        {"2004", "七号", 0, 7, 7, 7},
        {"2005", "各异", 1, 2, 1, 3},
    });
    struct Expect {
        const char *bankPlaceholder, *fundPlaceholder, *prompt;
    };
    const Expect none{"无需输入", "无需输入", "不需要任何密码"},
        bank{"银行密码", "无需输入", "需要输入银行密码"}, fund{"无需输入", "资金密码", "需要输入资金密码"},
        both{"银行密码", "资金密码", "需要输入银行密码和资金密码"}, unknown{"银行密码", "资金密码", "--"};
    struct Case {
        int row;
        Expect toSecurities, toBank, balance;
    } cases[] = {
        {0, bank, fund, bank}, // defaults 1, 2, 1
        {1, none, none, none}, {2, both, both, both}, {3, unknown, unknown, unknown}, {4, fund, bank, both},
    };
    const char *heads[] = {"提示信息:\n银行转证券时，", "提示信息:\n证券转银行时，",
                           "提示信息:\n查询银行余额时，"};
    base::Ref<TransAccountView> transfers = open();
    const int tabs[] = {500, 501, 503};
    for (int variant = 0; variant < 3; ++variant) {
        base::Ref<BankToAccountView> form =
            variant == 0 ? shown(*transfers) : switchTo(*transfers, tabs[variant]);
        for (const Case &c : cases) {
            form->bankPwdField().setText("b");
            form->accountPwdField().setText("f");
            pickBank(*form, c.row);
            const Expect &e = variant == 0 ? c.toSecurities : variant == 1 ? c.toBank : c.balance;
            std::string what = "row " + std::to_string(c.row) + " form " + std::to_string(variant);
            EXPECT_EQ(form->bankPwdField().placeholder(), e.bankPlaceholder) << what;
            EXPECT_EQ(form->accountPwdField().placeholder(), e.fundPlaceholder) << what;
            bool bankOn = std::string(e.bankPlaceholder) != "无需输入",
                 fundOn = std::string(e.fundPlaceholder) != "无需输入";
            EXPECT_EQ(form->bankPwdField().isEnabled(), bankOn) << what;
            EXPECT_EQ(form->accountPwdField().isEnabled(), fundOn) << what;
            EXPECT_EQ(form->bankPwdField().text(), bankOn ? "b" : "")
                << what << ": a disabled field is emptied";
            EXPECT_EQ(form->accountPwdField().text(), fundOn ? "f" : "") << what;
            EXPECT_EQ(form->promptText().text(), std::string(heads[variant]) + e.prompt + " ") << what;
        }
    }
    EXPECT_EQ(shown(*transfers)->bankBtn().currentTitle(), "各异(美元)");
    EXPECT_EQ(shown(*transfers)->currencyBtn().currentTitle(), "美元");
}

TEST_F(TransferTest, ATransferSendsItsSixFieldsAndReportsTheOutcome) {
    book->setBanks({{"2001", "只要银行密码", 0, 1, 2, 1}, {"2002", "无币种", {}, 0, 0, 0}});
    base::Ref<TransAccountView> transfers = open();
    base::Ref<BankToAccountView> form = shown(*transfers);
    size_t seen = gateway->received().size();

    struct Step {
        const char *bankPassword, *fundPassword, *amount, *refusal;
    } refused[] = {
        {"", "", "", "请输入银行密码！"},
        {"bp", "", "", "请输入转帐金额！"},
        {"bp", "", "12.345", "请输入正确的转帐金额！"},
    };
    for (const Step &step : refused) {
        form->bankPwdField().setText(step.bankPassword);
        form->accountPwdField().setText(step.fundPassword);
        form->transCashField().setText(step.amount);
        tap(form->confirmBtn());
        EXPECT_EQ(lastAlert(), step.refusal);
        app.pressAlertButton(0);
    }
    EXPECT_TRUE(sentSince(seen).empty()) << "no refused transfer goes out";

    form->bankPwdField().setText("bp");
    form->transCashField().setText("300.5");
    form->confirmAction();
    EXPECT_TRUE(waiting(*transfers));
    settle();
    std::vector<peers::TradeRequest> sent = gateway->received(11122);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].value(1193), "0");
    EXPECT_EQ(sent[0].value(1186), "2001");
    EXPECT_EQ(sent[0].value(1189), "bp");
    EXPECT_EQ(sent[0].value(1031), "") << "the rule asks for no fund password";
    EXPECT_EQ(sent[0].value(1192), "300.5");
    EXPECT_EQ(sent[0].value(1028), "0");
    EXPECT_EQ(lastAlert(), "转帐成功！");
    EXPECT_EQ(book->bankBalance("2001"), 5000000 - 30050);
    EXPECT_EQ(form->bankPwdField().text(), "");
    EXPECT_EQ(form->transCashField().text(), "");
    EXPECT_FALSE(waiting(*transfers));
    app.pressAlertButton(0);

    form->bankPwdField().setText("bp");
    form->transCashField().setText("99999999");
    tap(form->confirmBtn());
    settle();
    EXPECT_EQ(lastAlert(), "转帐失败！余额不足");
    EXPECT_EQ(form->bankPwdField().text(), "") << "emptied either way";
    app.pressAlertButton(0);
    driver.advance(2);
    EXPECT_TRUE(gateway->received(11104).empty()) << "this form asks no funds after a transfer";

    // A bank without a currency: named in renminbi, but no currency chosen until one is picked.
    pickBank(*form, 1);
    EXPECT_EQ(form->bankBtn().currentTitle(), "无币种(人民币)");
    EXPECT_EQ(form->currencyBtn().currentTitle(), "--");
    form->transCashField().setText("10");
    tap(form->confirmBtn());
    EXPECT_EQ(lastAlert(), "请选择币种！");
    app.pressAlertButton(0);
    tap(form->currencyBtn());
    BankSelViewController &currencies = picker(*form);
    EXPECT_EQ(currencies.rowTitle(0), "人民币");
    EXPECT_EQ(currencies.title(), "选择币种");
    EXPECT_EQ(currencies.selectedIndex(), -1);
    EXPECT_EQ(currencies.rowTitle(1), "美元");
    currencies.didSelect(1);
    EXPECT_EQ(form->currencyBtn().currentTitle(), "美元");
    tapOutside();
    tap(form->confirmBtn());
    settle();
    EXPECT_EQ(gateway->received(11122).back().value(1028), "1");
    EXPECT_EQ(lastAlert(), "转帐成功！");
    EXPECT_EQ(book->funds(1), 250000 + 1000);
}

TEST_F(TransferTest, SecuritiesToBankShowsTheFundsAndAsksThemAgainAfterATransfer) {
    book->setBanks({{"2001", "甲", 0, 0, 0, 0}});
    base::Ref<TransAccountView> transfers = open();
    transfers->ItemTabAction(501);
    base::Ref<BankToAccountView> form = shown(*transfers);
    EXPECT_EQ(form->accountCashLabel()->text(), "账户可转资金:查询中... (人民币)") << "before the reply";
    EXPECT_TRUE(waiting(*transfers));
    settle();
    EXPECT_FALSE(waiting(*transfers));
    EXPECT_EQ(form->accountCashLabel()->text(), "账户可转资金:100000.00 (人民币)");

    form->transCashField().setText("2500");
    tap(form->confirmBtn());
    settle();
    EXPECT_EQ(lastAlert(), "转帐成功！");
    app.pressAlertButton(0);
    size_t asked = gateway->received(11104).size();
    driver.advance(1.4);
    EXPECT_EQ(gateway->received(11104).size(), asked) << "not before 1.5 s";
    driver.advance(0.2);
    settle();
    EXPECT_EQ(gateway->received(11104).size(), asked + 1);
    EXPECT_EQ(form->accountCashLabel()->text(), "账户可转资金:97500.00 (人民币)");

    book->failNext(11104, "资金查询失败");
    switchTo(*transfers, 500);
    form = switchTo(*transfers, 501);
    EXPECT_EQ(form->accountCashLabel()->text(), "账户可转资金:97500.00 (人民币)")
        << "shown at once, not asked";
    EXPECT_EQ(gateway->received(11104).size(), asked + 1);

    // The next funds reply fails: the line says so and the tip shows the reason.
    form->transCashField().setText("1");
    tap(form->confirmBtn());
    settle();
    driver.advance(1.6);
    settle();
    EXPECT_EQ(form->accountCashLabel()->text(), "账户可转资金: (未查到)");
    ASSERT_FALSE(tipTexts().empty());
    EXPECT_EQ(tipTexts().back(), "资金查询失败");
}

TEST_F(TransferTest, TheBalanceQueryFollowsTheBalanceRule) {
    book->setBanks({{"2001", "甲", 0, 0, 0, 1}});
    base::Ref<TransAccountView> transfers = open();
    base::Ref<BankToAccountView> form = switchTo(*transfers, 503);
    EXPECT_TRUE(form->transCashField().isHidden());
    EXPECT_TRUE(form->confirmBtn().isHidden());
    EXPECT_FALSE(form->remainBtn().isHidden());
    EXPECT_EQ(form->remainBtn().frame(), gfx::Rect(10, 165, 340, 43));
    EXPECT_TRUE(form->bankPwdField().isEnabled()) << "the balance rule asks, the transfer rules do not";
    tap(form->remainBtn());
    EXPECT_EQ(lastAlert(), "请在上面输入框中输入银行密码！");
    app.pressAlertButton(0);

    for (bool field : {true, false}) {
        book->setBalanceField(field);
        form->bankPwdField().setText("bp");
        tap(form->remainBtn());
        settle();
        EXPECT_EQ(lastAlert(), field ? "您的银行余额为：50000.00" : "您的银行余额为：--");
        EXPECT_EQ(form->bankPwdField().text(), "") << "a password is not kept after its report";
        app.pressAlertButton(0);
    }
    std::vector<peers::TradeRequest> sent = gateway->received(11126);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].value(1186), "2001");
    EXPECT_EQ(sent[0].value(1189), "bp");
    EXPECT_EQ(sent[0].value(1031), "");
    EXPECT_EQ(sent[0].value(1028), "0");
    book->failNext(11126, "银行系统维护");
    form->bankPwdField().setText("bp");
    tap(form->remainBtn());
    settle();
    EXPECT_EQ(lastAlert(), "银行系统维护");
    EXPECT_TRUE(gateway->received(11104).empty()) << "the balance form shows no funds";
}

TEST_F(TransferTest, WithoutBanksEveryActionRefuses) {
    for (bool failed : {false, true}) {
        SCOPED_TRACE(failed ? "a failed list" : "an empty list");
        book->setBanks({});
        if (failed)
            book->failNext(11130, "银行信息查询失败");
        base::Ref<TransAccountView> transfers = open();
        base::Ref<BankToAccountView> form = shown(*transfers);
        EXPECT_EQ(form->bankBtn().currentTitle(), "没有转帐银行");
        EXPECT_FALSE(waiting(*transfers)) << "the wait ends";
        if (failed) {
            EXPECT_EQ(lastAlert(), "银行信息查询失败");
            app.pressAlertButton(0);
        }
        form->transCashField().setText("10");
        tap(form->confirmBtn());
        EXPECT_EQ(lastAlert(), "没有可转帐的银行！");
        app.pressAlertButton(0);
        tap(form->bankBtn());
        EXPECT_EQ(lastAlert(), "未能查询到转帐银行！");
        EXPECT_EQ(app.alerts().back().title, "错误");
        EXPECT_FALSE(form->popoverController());
        app.pressAlertButton(0);
        form = switchTo(*transfers, 503);
        tap(form->remainBtn());
        EXPECT_EQ(lastAlert(), "没有可转帐的银行！");
        app.pressAlertButton(0);
        EXPECT_TRUE(gateway->received(11122).empty());
        EXPECT_TRUE(gateway->received(11126).empty());
        tap(*transfers->closeButton());
        settleSlides();
        settle();
        db->disconnectTradeServer({});
        settle();
    }
}

TEST_F(TransferTest, TheBankPickerReportsEverySettledRow) {
    base::Ref<TransAccountView> transfers = open();
    base::Ref<BankToAccountView> form = shown(*transfers);
    tap(form->bankBtn());
    ASSERT_TRUE(form->popoverController());
    EXPECT_TRUE(form->popoverController()->isVisible());
    EXPECT_EQ(form->popoverController()->arrowDirection(), ui::ArrowRight);
    BankSelViewController &banks = picker(*form);
    EXPECT_EQ(banks.title(), "选择银行");
    EXPECT_EQ(banks.selectedIndex(), 0);
    EXPECT_EQ(banks.pickerView().selectedRow(0), 0);
    EXPECT_EQ(banks.rowTitle(2), "银行1003(人民币)");
    driver.advance(ui::Popover::FadeDuration + 0.1);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "trade/transfer-bank-picker"));

    std::vector<std::string> chosen;
    for (int row : {1, 2, 0}) {
        banks.pickerView().selectRow(row, 0, false);
        banks.pickerView().settled(0, row);
        chosen.push_back(form->selectedBankCode());
    }
    EXPECT_EQ(chosen, (std::vector<std::string>{"1002", "1003", "1001"}))
        << "three settled rows, three choices";
    EXPECT_TRUE(form->popoverController()->isVisible()) << "open until a tap outside";

    // A selected code the rows do not hold shows none selected.
    tapOutside();
    EXPECT_FALSE(form->popoverController()->isVisible());
    form->setSelectedBankCode("9999");
    tap(form->bankBtn());
    EXPECT_EQ(picker(*form).selectedIndex(), -1);
    EXPECT_EQ(form->selectedBankCode(), "9999") << "nothing reported until the wheel turns";
}

TEST_F(TransferTest, ATransferOutcomeReachesTheTabShownWhenItArrives) {
    base::Ref<TransAccountView> transfers = open();
    for (int tab : {TransAccountView::kBankBalance, TransAccountView::kTransferQuery}) {
        SCOPED_TRACE(tab);
        base::Ref<BankToAccountView> form = switchTo(*transfers, TransAccountView::kBankToAccount);
        form->transCashField().setText("10");
        // The user moves on before the reply comes back.
        form->confirmAction();
        transfers->ItemTabAction(tab);
        if (auto balance = shown(*transfers))
            balance->bankPwdField().setText("typed");
        settle();
        EXPECT_EQ(lastAlert(), "转帐成功！");
        EXPECT_FALSE(waiting(*transfers));
        if (auto balance = shown(*transfers))
            EXPECT_EQ(balance->bankPwdField().text(), "") << "the balance form empties its fields";
        app.pressAlertButton(0);
    }
    driver.advance(2);
    EXPECT_TRUE(gateway->received(11104).empty()) << "no form but securities to bank asks the funds";
}

TEST_F(TransferTest, AnEndingPanelClosesItsPickerAndDropsItsLateFundsRequest) {
    base::Ref<TransAccountView> transfers = open();
    base::Ref<BankToAccountView> form = switchTo(*transfers, 501);
    tap(form->bankBtn());
    base::Ref<BankSelViewController> picker = form->picker();
    ASSERT_TRUE(picker);
    form->transCashField().setText("10");
    form->bankPwdField().setText("bp");
    form->confirmAction();
    settle();
    ASSERT_EQ(lastAlert(), "转帐成功！");
    size_t asked = gateway->received(11104).size();

    base::Weak<TransAccountView> panelGone = transfers;
    base::Weak<TradeTransferData> dataGone = transfers->transferData();
    form.reset();
    transfers.reset();
    // A lock time-out closes the bar and its panel within the 1.5 s.
    bar->DismissTraderToolBarWithSubiew();
    settleSlides();
    settle();
    EXPECT_TRUE(panelGone.expired());
    EXPECT_TRUE(dataGone.expired());
    EXPECT_TRUE(ui::Popover::visiblePopovers().empty()) << "the picker closed with its owner";
    EXPECT_TRUE(picker->delegate.expired());
    picker->didSelect(1);
    driver.advance(2);
    settle();
    EXPECT_EQ(gateway->received(11104).size(), asked) << "the late funds request was dropped";
}

TEST_F(TransferTest, FormsLookAsTheUserSeesThem) {
    book->setBanks({{"2001", "招商银行", 0, 1, 3, 1}, {"2002", "花旗银行", 1, 3, 2, 0}});
    base::Ref<TransAccountView> transfers = open();
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "trade/transfer-to-securities"));
    base::Ref<BankToAccountView> form = switchTo(*transfers, 501);
    form->transCashField().setText("1000");
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "trade/transfer-to-bank"));
    switchTo(*transfers, 503);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "trade/transfer-balance"));
}

// A day of the book, as the date buttons show it.
std::string shownDay(const peers::TradeAccountBook &book, int daysBefore) {
    std::string day = book.daysBefore(daysBefore);
    return day.substr(0, 4) + "-" + day.substr(4, 2) + "-" + day.substr(6, 2);
}

TEST_F(TransferTest, TheHistoryWaitsForABankThenSearchesWithIt) {
    logIn();
    showBar();
    // The history opens before the bank list the first form asked for has come back.
    bar->traderButtonAction(TraderToolBarView::kTransferTag);
    base::Ref<TransAccountView> transfers = panel<TransAccountView>();
    transfers->ItemTabAction(502);
    base::Ref<TransferQueryView> history = shown<TransferQueryView>(*transfers);
    ASSERT_TRUE(history);
    EXPECT_EQ(history->frame(), gfx::Rect(0, 90, 360, 564));
    EXPECT_EQ(history->bankBtn().currentTitle(), "没有转帐银行");
    history->searchAction();
    EXPECT_EQ(lastAlert(), "没有可转帐的银行！");
    app.pressAlertButton(0);
    settleSlides();
    settle();
    EXPECT_EQ(history->bankBtn().currentTitle(), "银行1001(人民币)")
        << "the late bank report selects the first";
    EXPECT_EQ(history->dateRange().startDate(), TradeDateRange::today());

    for (int press = 0; press < 2; ++press) {
        tap(history->searchBtn());
        settle();
    }
    std::vector<peers::TradeRequest> sent = gateway->received(11124);
    ASSERT_EQ(sent.size(), 2u) << "a search of today alone goes out every time";
    std::string today = TradeUtil::getRequestDate(TradeDateRange::today());
    for (const peers::TradeRequest &request : sent) {
        EXPECT_EQ(request.value(1022), today);
        EXPECT_EQ(request.value(1023), today);
        EXPECT_EQ(request.value(1186), "1001");
        EXPECT_EQ(request.value(1028), "0");
    }
    EXPECT_EQ(history->pageStrip().pageInfo(), "未查询到数据");
}

TEST_F(TransferTest, HistoryPagesKeepTheirSearchAndShowTheRows) {
    book->setRows(11124, 20);
    book->setBanks({{"2001", "招商银行", 0, 1, 2, 1}, {"2002", "无币种", {}, 1, 2, 1}});
    base::Ref<TransAccountView> transfers = open();
    base::Ref<TransferQueryView> history = switchTo<TransferQueryView>(*transfers, 502);
    history->dateRange().setDates(shownDay(*book, 5), shownDay(*book, 0));
    tap(history->searchBtn());
    settle();
    EXPECT_EQ(history->pageStrip().pageInfo(), "从1到15条(共20条)");
    EXPECT_EQ(history->dataArray().size(), 15u);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "trade/transfer-history"));

    // The pickers move on to a bank without a currency (renminbi here) and dollars; the next
    // page still belongs to the search shown.
    choose(*history, history->bankBtn(), 1);
    EXPECT_EQ(history->selectedBankCode(), "2002");
    EXPECT_EQ(history->currencyBtn().currentTitle(), "人民币");
    EXPECT_EQ(history->selectedCurrency(), 0);
    choose(*history, history->currencyBtn(), 1);
    EXPECT_EQ(history->currencyBtn().currentTitle(), "美元");
    tap(history->pageStrip().nextButton());
    settle();
    EXPECT_EQ(history->pageStrip().pageInfo(), "从16到20条(共20条)");
    std::vector<peers::TradeRequest> sent = gateway->received(11124);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].value(1186), "2001");
    EXPECT_EQ(sent[1].value(1028), "0");
    EXPECT_EQ(sent[1].value(1022), book->daysBefore(5));
    EXPECT_EQ(sent[1].value(1206), "15");
    tap(history->pageStrip().prevButton());
    EXPECT_EQ(history->pageStrip().pageInfo(), "从1到15条(共20条)") << "from the cache";
    EXPECT_EQ(gateway->received(11124).size(), 2u);

    // The new choice makes a new search over the same dates.
    tap(history->searchBtn());
    settle();
    ASSERT_EQ(gateway->received(11124).size(), 3u);
    EXPECT_EQ(gateway->received(11124).back().value(1186), "2002");
    EXPECT_EQ(gateway->received(11124).back().value(1028), "1");

    // Toggling a calendar empties the page text and keeps the rows.
    tap(history->dateRange().startDateBtn());
    EXPECT_EQ(history->pageStrip().pageInfo(), "");
    EXPECT_EQ(history->dataArray().size(), 15u);
}

TEST_F(TransferTest, HistoryCellsShowTheirRowWhateverItLacks) {
    auto cell = base::make<TransferCell>(TransferCell::kReuseIdentifier);
    cell->fill(base::Dict{{"1187", "招商银行"},
                          {"1045", "20121207"},
                          {"1046", "09:30:00"},
                          {"1192", "100.00"},
                          {"1083", "银行转证券"},
                          {"1273", "转账成功"},
                          {"1043", "已处理"}});
    EXPECT_EQ(cell->nameLabel->text(), "招商银行");
    EXPECT_EQ(cell->currencyLabel->text(), "--");
    EXPECT_EQ(cell->infoLabel->text(), "转账成功");
    EXPECT_EQ(cell->stateLabel->text(), "已处理");
    cell->fill(base::Dict{{"1028", "1"}, {"1273", "转账成功"}, {"1191", "S7"}});
    EXPECT_EQ(cell->currencyLabel->text(), "美元");
    EXPECT_EQ(cell->infoLabel->text(), "转账成功 银行流水号:S7");
    EXPECT_EQ(cell->nameLabel->text(), "") << "a reused cell shows no stale text";
}

} // namespace
} // namespace toolbar
