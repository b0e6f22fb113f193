#include "Module/CommonControls/TableView/StockDDDetailView.h"

#include "Common/StylePool.h"
#include "Common/Util.h"
#include "base/Str.h"

std::string FormatBigOrderVolume(int vol) {
    return vol > 0 ? base::str::format("%d", vol) : "--";
}

StockDDDetailView::StockDDDetailView(gfx::Rect frame, base::Weak<base::Object> controller)
    : StyleTableBaseView(frame, std::move(controller)) {
    const StylePool &style = StylePool::Instance();
    m_cols.clear();
    addCol("time", 80, 0, style.clTextName);
    addCol("type", 90, 2, style.clTextRise);
    addCol("vol", 0, 2, style.clTextVol);
}

void StockDDDetailView::Update(const base::Ref<StockBasicInf> &, const Rows *stockDDDetailList) {
    updateList(stockDDDetailList, 2);
}

base::Ref<ui::TableCell> StockDDDetailView::cellForRow(ui::TableView &table, size_t row) {
    base::Ref<ui::TableCell> cell = createOrResetCell(table, CellIdentifier);
    if (auto item = rowAs<StockDDDetailItem>(row)) {
        setCellText(*cell, 0, Util::FormatTime(item->time, false));
        setCellText(*cell, 1, Util::getDDType(item->type), StylePool::Instance().getDDTypeColor(item->type));
        setCellText(*cell, 2, FormatBigOrderVolume(item->vol));
    }
    return cell;
}

IndexDDDetailView::IndexDDDetailView(gfx::Rect frame, base::Weak<base::Object> controller)
    : StyleTableBaseView(frame, std::move(controller)) {
    const StylePool &style = StylePool::Instance();
    m_bShowTitleBar = true;
    tv().allowsSelection = true;
    m_cols.clear();
    addCol("时间", 48, 0, style.clTextName);
    addCol("股票", 64, 0, style.clTextName);
    addCol("类型", 85, 0, style.clTextRise);
    addCol("成交量", 0, 2, style.clTextVol);
}

void IndexDDDetailView::Update(const base::Ref<StockBasicInf> &, const Rows *indexDDDetailList) {
    updateList(indexDDDetailList, 1);
    if (!list().empty())
        tv().scrollToRow({0, int(list().size()) - 1}, ui::ScrollPosition::Bottom, true);
}

base::Ref<ui::TableCell> IndexDDDetailView::cellForRow(ui::TableView &table, size_t row) {
    base::Ref<ui::TableCell> cell = createOrResetCell(table, CellIdentifier);
    if (auto item = rowAs<IndexDDDetailItem>(row)) {
        base::Ref<gfx::Color> color = StylePool::Instance().getDDTypeColor(item->type);
        setCellText(*cell, 0, Util::FormatTime(item->time, false));
        setCellText(*cell, 1, item->name, color);
        setCellText(*cell, 2, Util::getDDType(item->type), color);
        setCellText(*cell, 3, FormatBigOrderVolume(item->vol), color);
    }
    return cell;
}

void IndexDDDetailView::didSelectRow(size_t row) {
    auto item = rowAs<IndexDDDetailItem>(row);
    if (auto d = delegate.lock(); d && item)
        d->ReturnIndexSupplyStock(item->code, item->name);
}
