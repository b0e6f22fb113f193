#include "Module/CommonControls/TableView/IndexGXView.h"

#include "Common/StylePool.h"
#include "base/Str.h"

namespace {

constexpr int32_t kPriceField = 4, kRiseField = 1;

} // namespace

IndexGXView::IndexGXView(gfx::Rect frame, base::Weak<base::Object> controller)
    : StyleTableBaseView(frame, std::move(controller)) {
    const StylePool &style = StylePool::Instance();
    m_bShowTitleBar = true;
    tv().allowsSelection = true;
    m_cols.clear();
    addCol("名称", 76, 0, style.clTextName);
    addCol("涨幅%", 60, 2, style.clTextRise);
    addCol("点数", 0, 2, style.clTextVol);
}

void IndexGXView::Update(const base::Ref<StockBasicInf> &, const Rows *indexGXList) {
    updateList(indexGXList, 0);
}

base::Ref<ui::TableCell> IndexGXView::cellForRow(ui::TableView &table, size_t row) {
    base::Ref<ui::TableCell> cell = createOrResetCell(table, CellIdentifier);
    if (auto item = rowAs<IndexGXItem>(row)) {
        const StylePool &style = StylePool::Instance();
        base::Ref<gfx::Color> color = item->digit < 0 ? style.clTextFall : style.clTextRise;
        setCellText(*cell, 0, item->name);
        setCellText(*cell, 1, base::str::format("%.1f%%", item->risefall / 100.0), color);
        setCellText(*cell, 2, base::str::format("%.2f", item->digit / 100.0), color);
    }
    return cell;
}

void IndexGXView::didSelectRow(size_t row) {
    auto item = rowAs<IndexGXItem>(row);
    if (auto d = delegate.lock(); d && item)
        d->ReturnIndexSupplyStock(item->code, item->name);
}

BoardIndexStocksView::BoardIndexStocksView(gfx::Rect frame, base::Weak<base::Object> controller)
    : StyleTableBaseView(frame, std::move(controller)) {
    const StylePool &style = StylePool::Instance();
    m_bShowTitleBar = true;
    tv().allowsSelection = true;
    m_cols.clear();
    addCol("名称", 0, 0, style.clTextName);
    addCol("最新价", 85, 2, style.clTextName);
    addCol("涨幅", 85, 2, style.clTextName);
}

void BoardIndexStocksView::Update(const Rows *rows) {
    updateList(rows, 0);
}

base::Ref<ui::TableCell> BoardIndexStocksView::cellForRow(ui::TableView &table, size_t row) {
    base::Ref<ui::TableCell> cell = createOrResetCell(table, CellIdentifier);
    if (auto quote = rowAs<StockQuoteInf>(row)) {
        base::Ref<gfx::Color> color = StylePool::Instance().getPriceColor(quote->closeprice, quote->newprice);
        setCellText(*cell, 0, quote->name);
        setCellText(*cell, 1, quote->FormatValue(kPriceField), color);
        setCellText(*cell, 2, quote->FormatValue(kRiseField), color);
    }
    return cell;
}

void BoardIndexStocksView::didSelectRow(size_t row) {
    auto quote = rowAs<StockQuoteInf>(row);
    if (auto d = delegate.lock(); d && quote)
        d->ReturnIndexSupplyStock(quote->code, quote->name);
}
