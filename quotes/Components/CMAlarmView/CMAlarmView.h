#pragma once

#include "Components/CMAlarmView/CMAlarmResultsView.h"

#include "base/Value.h"
#include "ui/SearchBar.h"
#include "ui/TableView.h"
#include "ui/View.h"

#include <cstdint>
#include <string>
#include <vector>

class CMAlarmViewDelegate {
public:
    virtual ~CMAlarmViewDelegate() = default;
    virtual base::Opt<void> didSearchWord(const std::string &text) {
        (void)text;
        return base::notImplemented;
    }
    // Opens the condition form: a new alarm for the code, or the alarm `alarmDict` (id `alarmID`).
    virtual base::Opt<void> addStockAlarmAction(const std::string &code, bool isAddAlarm, int32_t alarmID,
                                                const base::Value &alarmDict) {
        (void)code, (void)isAddAlarm, (void)alarmID, (void)alarmDict;
        return base::notImplemented;
    }
};

// The user's current alarms under a search bar. Each row shows one alarm's conditions, and its
// disclosure button opens it in the condition form. Typing in the bar lays the matching securities
// over the list; their "+" starts a new alarm. In edit mode rows are removed at once on screen and
// their ids collected, in removal order, for the owner to delete on the server when editing ends.
class CMAlarmView : public ui::View, public CMAlarmResultsViewDelegate {
public:
    static constexpr float headerHeight = 44, rowHeight = 70;
    static constexpr const char *kPlaceholder = "请输入简拼或代码";

    explicit CMAlarmView(gfx::Rect frame);
    void setUp() override;

    void setDataArray(const base::Value &rows);
    const base::Array &dataArray() const { return m_dataArray; }
    void setResultsArray(base::Array rows, const base::Value &otherKeys = {});
    // Entering edit mode starts a new list of removed ids.
    void setEditMode(bool editing);
    const std::vector<int32_t> &getNeedDeleteAlarmIDArray() const { return m_deleteAlarmIDArray; }
    // Lays the results over the list (the list's separators cleared so none shows through), or
    // takes them away and the keyboard with them.
    void showResultsList(bool shown);
    bool isShowingResults() const { return !m_alarmResultsView->isHidden(); }

    void editAlarmAction(int row);
    void deleteRow(int row);
    base::Opt<void> addStockAlarmAction(const std::string &code) override;

    ui::TableView &mTableView() { return *m_tableView; }
    ui::SearchBar &mSearchBar() { return *m_searchBar; }
    CMAlarmResultsView &alarmResultsView() { return *m_alarmResultsView; }

    base::Weak<CMAlarmViewDelegate> delegate;

private:
    struct Table;
    struct Search;

    base::Ref<ui::TableView> m_tableView;
    base::Ref<ui::SearchBar> m_searchBar;
    base::Ref<CMAlarmResultsView> m_alarmResultsView;
    base::Ref<Table> m_table;
    base::Ref<Search> m_search;
    base::Ref<gfx::Color> m_separatorColor;
    base::Array m_dataArray;
    std::vector<int32_t> m_deleteAlarmIDArray;
};
