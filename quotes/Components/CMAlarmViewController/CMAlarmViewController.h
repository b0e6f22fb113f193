#pragma once

#include "Components/CMAlarmView/CMAlarmDoneView.h"
#include "Components/CMAlarmView/CMAlarmView.h"

#include "Module/StockDataBaseMgnt/StockAlarmData.h"
#include "ui/ViewController.h"

#include <cstdint>
#include <string>
#include <vector>

// The price-alarm popover's list, the root of a navigation controller made afresh on every press
// of the home page's alarm button. It shows the user's current alarms ("预警") or the history of
// fired ones ("历史"), asking the server each time either list comes to view: on opening, on a
// switch and whenever the condition form is popped, which is how a new or changed alarm shows.
//
// "编辑" puts the list in edit mode; rows removed there go at once, and "完成" deletes them all on
// the server in one request, in removal order (nothing when none went). Whether the delete
// succeeds or not, the list is asked for again, so rows the server kept come back.
//
// The search bar finds securities by code or pinyin initials (StockSearchRule, text as typed, the
// first 50 matches sorted by score); "+" on one opens an empty condition form for it, the
// disclosure button of an alarm opens the form with its values. Failed list queries speak only
// when the server gave a reason; a failed delete always does.
class CMAlarmViewController : public ui::ViewController,
                              public StockAlarmDataDelegate,
                              public CMAlarmViewDelegate {
public:
    static constexpr gfx::Size kContentSize{320, 300};
    static constexpr const char *kObserverName = "CMAlarmViewController";
    static constexpr const char *kTitle = "预警列表";
    static constexpr const char *kEditTitle = "编辑", *kDoneTitle = "完成";
    enum ListTag { CurrentTag = 1, HistoryTag = 2 };

    ~CMAlarmViewController() override;
    void setUp() override;

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    void leftEditAction(int tag);
    void editAction();
    bool isEditMode() const { return m_isEditMode; }

    base::Opt<void> didSearchWord(const std::string &text) override;
    base::Array getSearchResult(const std::string &text);
    base::Opt<void> addStockAlarmAction(const std::string &code, bool isAddAlarm, int32_t alarmID,
                                        const base::Value &alarmDict) override;

    base::Opt<void> updateCurrentAlarmArray(const base::Array &alarms) override;
    base::Opt<void> updateCurrentAlarmFail(const Message &message) override;
    base::Opt<void> updateHistoryAlarmArray(const base::Array &alarms) override;
    base::Opt<void> updateHistoryAlarmFail(const Message &message) override;
    base::Opt<void> updateDeleteAlarmSuccess() override;
    base::Opt<void> updateDeleteAlarmFail(const Message &message) override;

    CMAlarmView &alarmView() { return *m_alarmView; }
    CMAlarmDoneView *alarmDoneView() const { return m_alarmDoneView.get(); }

private:
    void initData();
    void initUI();
    void showHistory(bool shown);

    base::Ref<CMAlarmView> m_alarmView;
    base::Ref<CMAlarmDoneView> m_alarmDoneView;
    base::Ref<StockAlarmData> m_alarmData;
    std::vector<base::Ref<ui::BarButtonItem>> m_listItems;
    bool m_isEditMode = false;
};
