#include "Class/Module/LoginModel/SecuritiesViewController/SecuritiesViewController.h"

#include "Class/Module/LoginModel/LoginView/LoginView.h"
#include "Class/Module/LoginModel/PhoneRegViewController/PhoneRegViewController.h"
#include "Components/CMWaitingAlertView.h"
#include "DataBase/DataBase.h"
#include "DataBase/WT/WTTrader.h"

#include "base/NotificationCenter.h"
#include "gfx/Font.h"
#include "ui/KeyboardHost.h"
#include "ui/NavigationController.h"

struct SecuritiesViewController::Table : ui::TableDataSource, ui::TableDelegate {
    base::Weak<SecuritiesViewController> chooser;

    int numberOfSections(ui::TableView &) override {
        auto c = chooser.lock();
        return c ? int(c->m_securitiesArray.size()) + 1 : 0;
    }
    int numberOfRows(ui::TableView &, int section) override {
        auto c = chooser.lock();
        if (!c)
            return 0;
        return section == 0 ? int(c->m_addedAccountArray.size()) : c->brokerCount(section);
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto c = chooser.lock();
        return c ? c->cellForRow(table, path) : base::make<ui::TableCell>();
    }
    base::Opt<std::vector<std::string>> sectionIndexTitles(ui::TableView &) override {
        std::vector<std::string> titles;
        if (auto c = chooser.lock())
            for (const base::Value &section : c->m_securitiesArray)
                titles.push_back(section["Title"].stringValue());
        return titles;
    }
    base::Opt<int> sectionForIndexTitle(ui::TableView &, const std::string &, int index) override {
        return index + 1;
    }
    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override { return rowHeight; }
    base::Opt<float> heightForHeader(ui::TableView &, int) override { return headerHeight; }
    base::Opt<base::Ref<ui::View>> viewForHeader(ui::TableView &, int section) override {
        auto c = chooser.lock();
        if (!c)
            return base::notImplemented;
        return c->viewForHeader(section);
    }
    base::Opt<void> didSelectRow(ui::TableView &, ui::IndexPath path) override {
        if (auto c = chooser.lock())
            c->didSelectRow(path);
        return {};
    }
};

struct SecuritiesViewController::AlertRelay : ui::AlertDelegate {
    base::Weak<SecuritiesViewController> chooser;
    base::Opt<void> clicked(ui::Alert &, int index) override {
        if (auto c = chooser.lock())
            c->alertViewClickedButtonAtIndex(index);
        return {};
    }
};

SecuritiesViewController::SecuritiesViewController() {
    setTitle("已添加账户和券商列表");
    setContentSizeInPopover(kContentSize);
}

void SecuritiesViewController::setUp() {
    ui::ViewController::setUp();
    m_table = base::make<Table>();
    m_table->chooser = weakSelf<SecuritiesViewController>();
    m_alertRelay = base::make<AlertRelay>();
    m_alertRelay->chooser = weakSelf<SecuritiesViewController>();
    view();
    base::Weak<SecuritiesViewController> weak = weakSelf<SecuritiesViewController>();
    for (auto [name, size] : {std::pair{ui::KeyboardHost::WillShowNotification, kKeyboardContentSize},
                              std::pair{ui::KeyboardHost::WillHideNotification, kContentSize}})
        base::NotificationCenter::shared().addObserver(weak, name, [weak, size](const base::Notification &) {
            if (auto chooser = weak.lock())
                chooser->resize(size);
        });
    loadSecurities();
}

SecuritiesViewController::~SecuritiesViewController() {
    base::NotificationCenter::shared().removeObserver(this);
}

// The popover follows the screen on top: a verification pushed over the chooser shrinks with it.
void SecuritiesViewController::resize(gfx::Size size) {
    setContentSizeInPopover(size);
    m_tableView->setFrame({0, 0, size.w, size.h});
    if (ui::NavigationController *navigation = navigationController();
        navigation && navigation->top() != this)
        navigation->top()->setContentSizeInPopover(size);
}

void SecuritiesViewController::loadView() {
    auto root = base::make<ui::View>(gfx::Rect{0, 0, kContentSize.w, kContentSize.h});
    m_tableView = base::make<ui::TableView>(root->bounds(), ui::TableView::Style::Plain);
    m_tableView->rowHeight = rowHeight;
    m_tableView->sectionHeaderHeight = headerHeight;
    m_tableView->dataSource = m_table;
    m_tableView->delegate = m_table;
    root->addSubview(m_tableView);
    m_waitingAlert = base::make<CMWaitingAlertView>(root->bounds());
    setView(root);
}

void SecuritiesViewController::loadSecurities() {
    const base::Ref<NetDataCenter> &quotes = DataBase::sharedDataBase()->IO_NetDataCenter();
    if (quotes->IO_GetSecuritiesAddressRsp) {
        SetSecuritiesArray(quotes->IO_SecuritiesTableArray());
        return;
    }
    view().addSubview(m_waitingAlert);
    m_waitingAlert->StartAlert();
    quotes->RequestSecuritiesAddressInfo(base::Ref<DataPoolDelegate>(self<SecuritiesViewController>()));
}

bool SecuritiesViewController::isWaiting() const {
    return m_waitingAlert && m_waitingAlert->superview();
}

void SecuritiesViewController::DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &) {
    if (reqType != 1003)
        return;
    SetSecuritiesArray(DataBase::sharedDataBase()->IO_NetDataCenter()->IO_SecuritiesTableArray());
    m_waitingAlert->StopWaitingAlert();
    m_waitingAlert->removeFromSuperview();
}

void SecuritiesViewController::SetAccountArray(const SavedBrokerAccounts &accounts) {
    m_addedAccountArray.insert(m_addedAccountArray.end(), accounts.begin(), accounts.end());
    m_tableView->reloadData();
}

void SecuritiesViewController::SetSecuritiesArray(const base::Array &sections) {
    m_securitiesArray = sections;
    m_tableView->reloadData();
}

int SecuritiesViewController::brokerCount(int section) const {
    if (section < 1 || size_t(section) > m_securitiesArray.size())
        return 0;
    const base::Dict *dict = m_securitiesArray[size_t(section - 1)].dict();
    const base::Value *brokers = dict ? dict->find("SubArray") : nullptr;
    return brokers && brokers->array() ? int(brokers->array()->size()) : 0;
}

base::Ref<WTTrader> SecuritiesViewController::broker(ui::IndexPath path) const {
    if (path.row < 0 || path.row >= brokerCount(path.section))
        return nullptr;
    const base::Value *brokers = m_securitiesArray[size_t(path.section - 1)].dict()->find("SubArray");
    return (*brokers->array())[size_t(path.row)].objectAs<WTTrader>();
}

base::Ref<ui::TableCell> SecuritiesViewController::cellForRow(ui::TableView &table, ui::IndexPath path) {
    if (path.section == 0) {
        auto cell = std::dynamic_pointer_cast<AddedAccountCell>(
            table.dequeueReusableCell(AddedAccountCell::kReuseIdentifier));
        if (!cell)
            cell = base::make<AddedAccountCell>();
        cell->delegate = weakSelf<SecuritiesViewController>();
        cell->indexPath = path;
        const SavedBrokerAccount &account = m_addedAccountArray[size_t(path.row)];
        cell->nameLabel().setText(AddedAccountCell::nameFor(account.securitiesName, account.account));
        return cell;
    }
    base::Ref<ui::TableCell> cell = table.dequeueReusableCell("commonCell");
    if (!cell)
        cell = base::make<ui::TableCell>(ui::TableCell::Style::Default, "commonCell");
    base::Ref<WTTrader> record = broker(path);
    cell->textLabel()->setText(record ? record->name() : std::string());
    return cell;
}

base::Ref<ui::View> SecuritiesViewController::viewForHeader(int section) const {
    auto label = base::make<ui::Label>(gfx::Rect{0, 0, m_tableView->bounds().width(), headerHeight});
    label->setTextColor(gfx::Color::white());
    label->setBackgroundColor(gfx::Color::rgba(30.f / 255, 6.f / 255, 70.f / 255));
    label->setFont(gfx::Font::boldSystem(15));
    label->setText(section == 0 ? kSavedTitle
                                : m_securitiesArray[size_t(section - 1)]["Title"].stringValue());
    return label;
}

void SecuritiesViewController::didSelectRow(ui::IndexPath path) {
    auto form = m_parentLoginHdl.lock();
    if (!form)
        return;
    if (path.section == 0) {
        if (size_t(path.row) < m_addedAccountArray.size())
            form->ReturnSelectedAccount(m_addedAccountArray[size_t(path.row)], path.row);
        return;
    }
    base::Ref<WTTrader> record = broker(path);
    if (!record)
        return;
    form->ClearAccountInfoAndControls();
    auto verification = base::make<PhoneRegViewController>();
    verification->setParentLoginHdl(m_parentLoginHdl);
    verification->SetSecuritiesAddressInfo(record);
    if (ui::NavigationController *navigation = navigationController())
        navigation->push(verification, true);
}

base::Opt<void> SecuritiesViewController::DeleteCell(ui::Button &, ui::IndexPath indexPath) {
    m_deletedIndexPath = indexPath;
    base::make<ui::Alert>("删除", "确定要删除该帐号？", m_alertRelay, "确 定",
                          std::vector<std::string>{"取 消"})
        ->show();
    return {};
}

void SecuritiesViewController::alertViewClickedButtonAtIndex(int buttonIndex) {
    std::optional<ui::IndexPath> path = std::exchange(m_deletedIndexPath, std::nullopt);
    if (buttonIndex != 0 || !path || path->row < 0 || size_t(path->row) >= m_addedAccountArray.size())
        return;
    m_addedAccountArray.erase(m_addedAccountArray.begin() + path->row);
    m_tableView->deleteRows({*path}, ui::RowAnimation::Fade);
    m_tableView->reloadData();
    if (auto form = m_parentLoginHdl.lock())
        form->AccountDeleted(m_addedAccountArray, path->row);
}
