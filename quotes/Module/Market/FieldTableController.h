#pragma once

#include "base/Value.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

#include <string>

// Hears the field chosen in the pull-down list.
class FieldTableControllerDelegate {
public:
    virtual ~FieldTableControllerDelegate() = default;
    virtual base::Opt<void> SelectedFieldName(const std::string &name, int classID) {
        (void)name, (void)classID;
        return base::notImplemented;
    }
};

// The pull-down list of a mini-trend header cell: one 25-point row per field row
// {"MENU_NAME", "CLASS_ID"}, shown in a 120 × 300 popover. Choosing a row reports its caption and
// field id.
class FieldTableController : public ui::ViewController {
public:
    static constexpr float RowHeight = 25;
    static constexpr gfx::Size ContentSize{120, 300};
    static constexpr const char *CellIdentifier = "recentIdentifier";

    void setUp() override;
    void viewDidLoad() override;
    bool shouldAutorotateTo(ui::Orientation) override { return true; }

    // Replaces the rows with a copy of the given ones.
    void SetFieldArray(const base::Array &rows);
    const base::Array &fieldArray() const { return m_fieldArray; }
    ui::TableView *fieldTable() const { return m_fieldTable.get(); }

    base::Weak<FieldTableControllerDelegate> delegate;

private:
    struct Rows;

    base::Ref<Rows> m_rows;
    base::Ref<ui::TableView> m_fieldTable;
    base::Array m_fieldArray;
};
