#include "Components/CMAlarmViewController/CMAlarmEditViewController.h"

#include "Common/Util.h"
#include "base/Str.h"
#include "ui/NavigationController.h"

struct CMAlarmEditViewController::Confirm : ui::AlertDelegate {
    base::Weak<CMAlarmEditViewController> form;

    base::Opt<void> clicked(ui::Alert &, int index) override {
        if (auto f = form.lock())
            f->alertViewClickedButtonAtIndex(index);
        return {};
    }
};

CMAlarmEditViewController::~CMAlarmEditViewController() = default;

void CMAlarmEditViewController::setUp() {
    ui::ViewController::setUp();
    initData();
}

void CMAlarmEditViewController::initData() {
    setContentSizeInPopover(kContentSize);
    m_alarmData = StockAlarmData::create(kObserverName);
    m_alarmData->setDelegate(weakSelf<CMAlarmEditViewController>());
    m_confirm = base::make<Confirm>();
    m_confirm->form = weakSelf<CMAlarmEditViewController>();
    m_isAddAlarm = true;
    m_alarmID = -1;
}

void CMAlarmEditViewController::setStockCode(const std::string &code, bool isAddAlarm, int32_t alarmID,
                                             const base::Value &alarmDict) {
    m_marketCode = code;
    m_isAddAlarm = isAddAlarm;
    m_alarmID = alarmID;
    m_alarmDict = alarmDict;
    m_alarmData->reqStockQuoteInf(code);
}

void CMAlarmEditViewController::viewDidLoad() {
    initUI();
    m_alarmEditView->setAlarmValueDict(m_alarmDict);
    m_alarmEditView->setDefaultStockCode(m_marketCode);
}

void CMAlarmEditViewController::initUI() {
    setTitle(kTitle);
    navigationItem().setRightItem(ui::BarButtonItem::titled(
        ui::BarButtonItem::DoneTitle, ui::BarButtonItem::Style::Bordered, BASE_ACTION(this, editAction)));
    m_alarmEditView = base::make<CMAlarmEditView>(gfx::Rect{0, 0, kContentSize.w, kContentSize.h});
    view().addSubview(m_alarmEditView);
}

void CMAlarmEditViewController::editAction() {
    base::make<ui::Alert>(kConfirmTitle, kConfirmMessage, m_confirm, std::string("取消"),
                          std::vector<std::string>{"确认"})
        ->show();
}

void CMAlarmEditViewController::alertViewClickedButtonAtIndex(int index) {
    if (index != kConfirmButton || !m_alarmEditView)
        return;
    base::Dict values = m_alarmEditView->getAlarmValueDict();
    if (m_isAddAlarm)
        m_alarmData->reqAddAlarm(values);
    else
        m_alarmData->reqModifyAlarm(values, m_alarmID);
}

void CMAlarmEditViewController::back() {
    if (ui::NavigationController *nav = navigationController())
        nav->pop(true);
}

base::Opt<void> CMAlarmEditViewController::updateStockQuoteDict(const base::Dict &quote) {
    view();
    m_alarmEditView->setStockQuote(quote);
    return {};
}

base::Opt<void> CMAlarmEditViewController::updateAddAlarmSuccess() {
    back();
    return {};
}

base::Opt<void> CMAlarmEditViewController::updateAddAlarmFail(const Message &message) {
    Util::ShowInfoBox(base::str::format("添加预警失败！原因：%@", message.value_or("")));
    return {};
}

base::Opt<void> CMAlarmEditViewController::updateModifyAlarmSuccess() {
    back();
    return {};
}

base::Opt<void> CMAlarmEditViewController::updateModifyAlarmFail(const Message &message) {
    Util::ShowInfoBox(base::str::format("修改预警失败！原因：%@", message.value_or("")));
    return {};
}
