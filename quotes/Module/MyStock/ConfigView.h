#pragma once

#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/TableCell.h"
#include "ui/TableView.h"
#include "ui/View.h"

#include "base/Value.h"

#include <string>

// A row of the watch-list editor: the stock's name over its code.
class ConfigViewCell : public ui::TableCell {
public:
    ConfigViewCell(Style style, std::string reuseIdentifier, gfx::Rect frame);
    void setBackgroundImage(base::Ref<gfx::Image> image);

    base::Ref<ui::Label> StockNameLabel, StockCodeLabel, MarketLabel;

private:
    base::Ref<ui::ImageView> m_cellBackgroundView;
};

// The watch-list group editor, in front of the quotes in edit mode. It lists the group's stored
// stocks in a table that is always editing: every row can be deleted or moved, and each change is
// written at once to the group's file through `DataManager::SaveMyStockArray`. When a save cannot
// be made (DataManager has already told the user) the list is read back from the file, so the
// editor never shows a change that was not stored. The watch-list screen fills it on entering edit
// mode and reads the file back on leaving.
class ConfigView : public ui::View {
public:
    static constexpr float RowHeight = 40;
    static constexpr const char *CellIdentifier = "editMyStockCellIdentifier";

    explicit ConfigView(gfx::Rect frame);
    void setUp() override;
    void reLayout(gfx::Rect frame);

    // The editor's own copy of the entries ({"MarketCode", "StockName"} dictionaries).
    void SetTableDataArray(const base::Array &entries);
    const base::Array &myStockArray() const { return m_myStockArray; }
    ui::TableView &configTableView() { return *m_configTableView; }

    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path);
    // Only deletion is handled; other editing styles are ignored.
    void commitEditing(ui::TableView &table, ui::EditingStyle style, ui::IndexPath path);
    void moveRow(ui::IndexPath from, ui::IndexPath to);

    std::string currentModelName;
    // Names the file written.
    std::string currentModelFileName;

private:
    struct Table;

    // Writes the list; on failure shows the file's content again.
    void save();

    base::Ref<Table> m_table;
    base::Ref<ui::TableView> m_configTableView;
    base::Array m_myStockArray;
};
