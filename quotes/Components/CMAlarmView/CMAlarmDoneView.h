#pragma once

#include "base/Value.h"
#include "ui/TableView.h"
#include "ui/View.h"

// The history of fired alarms: one row per alarm, its name, code and the server's message.
class CMAlarmDoneView : public ui::View {
public:
    static constexpr float kRowHeight = 64;

    explicit CMAlarmDoneView(gfx::Rect frame);
    void setUp() override;

    // An absent list changes nothing.
    void setDataArray(const base::Value &rows);
    const base::Array &dataArray() const { return m_dataArray; }
    ui::TableView &mTableView() { return *m_tableView; }

private:
    struct Table;
    base::Ref<ui::TableView> m_tableView;
    base::Ref<Table> m_table;
    base::Array m_dataArray;
};
