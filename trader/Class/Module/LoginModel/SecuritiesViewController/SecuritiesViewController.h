#pragma once

#include "Class/Module/LoginModel/LoginView/AccountList.h"
#include "Class/Module/LoginModel/SecuritiesViewController/AddedAccountCell.h"
#include "DataBase/NetData/QuoteRequestRecord.h"

#include "ui/Alert.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

#include <optional>

class CMWaitingAlertView;
class LoginView;
class WTTrader;

// The broker chooser the login form's broker button opens in a popover: first the accounts saved
// on earlier logins (each deletable after a confirmation), then every broker of the broker table
// in sections by initial, with an index strip. A saved account fills the form; a broker empties the
// form and pushes that broker's mobile-phone verification into the same popover. The broker table is asked of
// the quote connection when it has not arrived yet, under a waiting alert.
class SecuritiesViewController : public ui::ViewController,
                                 public AddedAccountCellDelegate,
                                 public DataPoolDelegate {
public:
    static constexpr float rowHeight = 34, headerHeight = 18;
    static constexpr gfx::Size kContentSize{320, 500};
    // While the on-screen keyboard shows (also for the verification pushed over the chooser).
    static constexpr gfx::Size kKeyboardContentSize{320, 275};
    static constexpr const char *kSavedTitle = "已添加账户";

    SecuritiesViewController();
    ~SecuritiesViewController() override;
    void setUp() override;
    void loadView() override;

    void setParentLoginHdl(base::Weak<LoginView> form) { m_parentLoginHdl = std::move(form); }
    // Appended to the chooser's own copy.
    void SetAccountArray(const SavedBrokerAccounts &accounts);
    void SetSecuritiesArray(const base::Array &sections);

    base::Opt<void> DeleteCell(ui::Button &button, ui::IndexPath indexPath) override;
    void alertViewClickedButtonAtIndex(int buttonIndex);
    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;

    const SavedBrokerAccounts &addedAccountArray() const { return m_addedAccountArray; }
    ui::TableView &tableView() { return *m_tableView; }
    bool isWaiting() const;

private:
    struct Table;
    struct AlertRelay;

    void loadSecurities();
    void resize(gfx::Size size);
    int brokerCount(int section) const;
    base::Ref<WTTrader> broker(ui::IndexPath path) const;
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path);
    base::Ref<ui::View> viewForHeader(int section) const;
    void didSelectRow(ui::IndexPath path);

    SavedBrokerAccounts m_addedAccountArray;
    base::Array m_securitiesArray;
    base::Ref<ui::TableView> m_tableView;
    base::Ref<Table> m_table;
    base::Ref<AlertRelay> m_alertRelay;
    base::Ref<CMWaitingAlertView> m_waitingAlert;
    std::optional<ui::IndexPath> m_deletedIndexPath;
    base::Weak<LoginView> m_parentLoginHdl;
};
