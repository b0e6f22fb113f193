#pragma once

#include "base/Value.h"
#include "ui/TableView.h"
#include "ui/View.h"

#include <string>

class CMAlarmResultsViewDelegate {
public:
    virtual ~CMAlarmResultsViewDelegate() = default;
    virtual base::Opt<void> addStockAlarmAction(const std::string &code) {
        (void)code;
        return base::notImplemented;
    }
};

// The search results of the alarm list, laid over it: one row per security ("NAME", the display
// text) with a "+" that starts a new alarm for its code ("KEY").
class CMAlarmResultsView : public ui::View {
public:
    static constexpr const char *kIdentifier = "grenresIdentifier";
    static constexpr float kRowHeight = 44;

    explicit CMAlarmResultsView(gfx::Rect frame);
    void setUp() override;

    void setResultsArray(base::Array rows, const base::Value &otherKeys = {});
    const base::Array &dataArray() const { return m_dataArray; }
    ui::TableView &mTableView() { return *m_tableView; }
    void addAlarmAction(int row);

    base::Weak<CMAlarmResultsViewDelegate> delegate;

private:
    struct Table;
    base::Ref<ui::TableView> m_tableView;
    base::Ref<Table> m_table;
    base::Array m_dataArray;
};
