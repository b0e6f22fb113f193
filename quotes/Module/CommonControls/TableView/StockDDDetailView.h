#pragma once

#include "DataBase/NetData/IndexGXItem.h"
#include "DataBase/NetData/StockQuoteInf.h"
#include "Module/CommonControls/TableView/IndexSupplyStockDelegate.h"
#include "Module/CommonControls/TableView/StyleTableBaseView.h"

// The big orders of a stock (stock panel): time, kind of big order in its buy or sell colour, and
// volume ("--" for none).
class StockDDDetailView : public StyleTableBaseView {
public:
    static constexpr const char *CellIdentifier = "StockDDDetailCell";

    StockDDDetailView(gfx::Rect frame, base::Weak<base::Object> controller);
    void Update(const base::Ref<StockBasicInf> &basicInf, const Rows *stockDDDetailList);

protected:
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, size_t row) override;
};

// The big orders among an index's members (index panel), with a title bar; a row shows its stock
// and is coloured by the kind of order. Every update ends on the newest (last) row, wherever the
// user had scrolled. A tap reports the member to the delegate.
class IndexDDDetailView : public StyleTableBaseView {
public:
    static constexpr const char *CellIdentifier = "IndexDDDetailCell";

    IndexDDDetailView(gfx::Rect frame, base::Weak<base::Object> controller);
    void Update(const base::Ref<StockBasicInf> &basicInf, const Rows *indexDDDetailList);

    base::Weak<IndexSupplyStockDelegate> delegate;

protected:
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, size_t row) override;
    void didSelectRow(size_t row) override;
};

// Volumes of big orders: the number, or "--" for none.
std::string FormatBigOrderVolume(int vol);
