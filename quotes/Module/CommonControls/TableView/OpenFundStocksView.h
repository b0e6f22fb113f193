#pragma once

#include "DataBase/NetData/OpenFundStockItem.h"
#include "Module/CommonControls/TableView/StyleTableBaseView.h"

// The three tables of the open-fund panel, each with a title bar and 320 points wide in a
// sideways-scrolling column: the stocks the fund holds (OpenFundStockItem), its shares per report
// period (OpenFundSharesItem) and its holders per report date (OpenFundOwnerItem). Rows can be
// selected; nobody hears of it.
class OpenFundStocksView : public StyleTableBaseView {
public:
    static constexpr const char *CellIdentifier = "OpenFundStocksListCell";
    OpenFundStocksView(gfx::Rect frame, base::Weak<base::Object> controller);
    void Update(const Rows *rows) { updateList(rows, 0); }

protected:
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, size_t row) override;
};

class OpenFundSharesView : public StyleTableBaseView {
public:
    static constexpr const char *CellIdentifier = "OpenFundSharesListCell";
    OpenFundSharesView(gfx::Rect frame, base::Weak<base::Object> controller);
    void Update(const Rows *rows) { updateList(rows, 0); }

protected:
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, size_t row) override;
};

class OpenFundOwnersView : public StyleTableBaseView {
public:
    static constexpr const char *CellIdentifier = "OpenFundOwnersListCell";
    static constexpr float DateMinimumFontSize = 12;
    OpenFundOwnersView(gfx::Rect frame, base::Weak<base::Object> controller);
    void Update(const Rows *rows) { updateList(rows, 0); }

protected:
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, size_t row) override;
};
