#pragma once

#include "Components/CMAlarmView/CMAlarmEditView.h"

#include "Module/StockDataBaseMgnt/StockAlarmData.h"
#include "ui/Alert.h"
#include "ui/ViewController.h"

#include <cstdint>
#include <string>

// The condition form of one price alarm, pushed inside the alarm popover: a new alarm for a
// security picked in the search, or an alarm of the list to change. It asks for the security's
// quote at once (base info, then the dynamic quote: the panel fills in two steps), shows the
// alarm's values or empty rows, and after "完成" and "确认" sends the values as typed: an add, or a
// modify of the alarm's id. Success returns to the list, which then asks for its alarms again. A
// refusal, by the server or of a threshold that is not a number, shows its reason and keeps the
// form with what was typed, so that it can be put right.
class CMAlarmEditViewController : public ui::ViewController, public StockAlarmDataDelegate {
public:
    static constexpr gfx::Size kContentSize{320, 300};
    static constexpr const char *kObserverName = "CMAlarmEditViewController";
    static constexpr const char *kTitle = "预警条件";
    static constexpr const char *kConfirmTitle = "预警条件编辑确认", *kConfirmMessage = "确认该条件吗?";
    static constexpr int kConfirmButton = 1;

    ~CMAlarmEditViewController() override;
    void setUp() override;

    void setStockCode(const std::string &code, bool isAddAlarm, int32_t alarmID,
                      const base::Value &alarmDict);
    void viewDidLoad() override;

    void editAction();
    void alertViewClickedButtonAtIndex(int index);

    base::Opt<void> updateStockQuoteDict(const base::Dict &quote) override;
    base::Opt<void> updateAddAlarmSuccess() override;
    base::Opt<void> updateAddAlarmFail(const Message &message) override;
    base::Opt<void> updateModifyAlarmSuccess() override;
    base::Opt<void> updateModifyAlarmFail(const Message &message) override;

    CMAlarmEditView &alarmEditView() { return *m_alarmEditView; }
    const std::string &marketCode() const { return m_marketCode; }
    bool isAddAlarm() const { return m_isAddAlarm; }
    int32_t alarmID() const { return m_alarmID; }

private:
    struct Confirm;
    void initData();
    void initUI();
    void back();

    base::Ref<CMAlarmEditView> m_alarmEditView;
    base::Ref<StockAlarmData> m_alarmData;
    base::Ref<Confirm> m_confirm;
    bool m_isAddAlarm = true;
    int32_t m_alarmID = -1;
    base::Value m_alarmDict;
    std::string m_marketCode;
};
