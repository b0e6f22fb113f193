#pragma once

#include "DataBase/NetData/IndexGXItem.h"
#include "DataBase/NetData/StockQuoteInf.h"
#include "Module/CommonControls/TableView/IndexSupplyStockDelegate.h"
#include "Module/CommonControls/TableView/StyleTableBaseView.h"

// How much each member moved an index (index panel): name, change in percent and index points,
// both in the rise colour, or the fall colour when the member pulled the index down. A tap
// reports the member to the delegate.
class IndexGXView : public StyleTableBaseView {
public:
    static constexpr const char *CellIdentifier = "IndexGXListCell";

    IndexGXView(gfx::Rect frame, base::Weak<base::Object> controller);
    void Update(const base::Ref<StockBasicInf> &basicInf, const Rows *indexGXList);

    base::Weak<IndexSupplyStockDelegate> delegate;

protected:
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, size_t row) override;
    void didSelectRow(size_t row) override;
};

// The member stocks of a board (index panel, in place of the two index tables for a board opened
// from the board list): name, price and change, coloured against the previous close. A tap reports
// the member to the delegate.
class BoardIndexStocksView : public StyleTableBaseView {
public:
    static constexpr const char *CellIdentifier = "BoardStockListCell";

    BoardIndexStocksView(gfx::Rect frame, base::Weak<base::Object> controller);
    // Rows of StockQuoteInf.
    void Update(const Rows *rows);

    base::Weak<IndexSupplyStockDelegate> delegate;

protected:
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, size_t row) override;
    void didSelectRow(size_t row) override;
};
