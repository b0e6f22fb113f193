#include "Module/CommonControls/TableView/OpenFundStocksView.h"

#include "Common/StylePool.h"
#include "Common/Util.h"
#include "base/Str.h"

#include <initializer_list>
#include <tuple>

namespace {

// Columns of one caption colour: (caption, width, alignment).
void addColumns(StyleTableBaseView &table, std::initializer_list<std::tuple<const char *, float, int>> cols) {
    for (const auto &[name, width, alignment] : cols)
        table.addCol(name, width, alignment, StylePool::Instance().clTextName);
}

} // namespace

OpenFundStocksView::OpenFundStocksView(gfx::Rect frame, base::Weak<base::Object> controller)
    : StyleTableBaseView(frame, std::move(controller)) {
    m_bShowTitleBar = true;
    tv().allowsSelection = true;
    m_cols.clear();
    addColumns(
        *this,
        {{"名称", 0, 0}, {"本期持股", 62, 2}, {"占基金", 62, 2}, {"占股本", 62, 2}, {"上期持股", 62, 2}});
}

base::Ref<ui::TableCell> OpenFundStocksView::cellForRow(ui::TableView &table, size_t row) {
    base::Ref<ui::TableCell> cell = createOrResetCell(table, CellIdentifier);
    if (auto item = rowAs<OpenFundStockItem>(row)) {
        setCellText(*cell, 0, item->name);
        setCellText(*cell, 1, Util::FormatVolumeByLength(item->holdVol, 4));
        setCellText(*cell, 2, Util::FormatDivisionRate(item->inFundRate, 100, true, 1));
        setCellText(*cell, 3, Util::FormatDivisionRate(item->inCapitalRate, 100, true, 1));
        setCellText(*cell, 4, Util::FormatVolumeByLength(item->priorHoldVol, 4));
    }
    return cell;
}

OpenFundSharesView::OpenFundSharesView(gfx::Rect frame, base::Weak<base::Object> controller)
    : StyleTableBaseView(frame, std::move(controller)) {
    m_bShowTitleBar = true;
    tv().allowsSelection = true;
    m_cols.clear();
    addColumns(*this, {{"截止日期", 70, 0}, {"期初份额", 70, 2}, {"本期申购", 70, 2}, {"本期赎回", 70, 2}});
}

base::Ref<ui::TableCell> OpenFundSharesView::cellForRow(ui::TableView &table, size_t row) {
    base::Ref<ui::TableCell> cell = createOrResetCell(table, CellIdentifier);
    if (auto item = rowAs<OpenFundSharesItem>(row)) {
        setCellText(*cell, 0, base::str::format("%d", item->date));
        setCellText(*cell, 1, Util::FormatFundSharesByLength(item->beginningShares, 5));
        setCellText(*cell, 2, Util::FormatFundSharesByLength(item->buyShares, 5));
        setCellText(*cell, 3, Util::FormatFundSharesByLength(item->sellShares, 5));
    }
    return cell;
}

OpenFundOwnersView::OpenFundOwnersView(gfx::Rect frame, base::Weak<base::Object> controller)
    : StyleTableBaseView(frame, std::move(controller)) {
    m_bShowTitleBar = true;
    tv().allowsSelection = true;
    m_cols.clear();
    addColumns(*this, {{"截止日期", 0, 0},
                       {"持有户数", 60, 2},
                       {"机构持有", 60, 2},
                       {"个人持有", 60, 2},
                       {"户均份额", 60, 2}});
}

base::Ref<ui::TableCell> OpenFundOwnersView::cellForRow(ui::TableView &table, size_t row) {
    base::Ref<ui::TableCell> cell = createOrResetCell(table, CellIdentifier);
    if (auto item = rowAs<OpenFundOwnerItem>(row)) {
        // The date shares the width the four figures leave, a hair less than eight bold digits
        // take: it shrinks a point rather than lose its day to an ellipsis.
        if (ui::Label *date = cellLabel(*cell, 0)) {
            date->setAdjustsFontSizeToFitWidth(true);
            date->setMinimumFontSize(DateMinimumFontSize);
        }
        setCellText(*cell, 0, base::str::format("%d", item->date));
        setCellText(*cell, 1, Util::FormatVolumeByLength(item->ownerCount, 4));
        setCellText(*cell, 2, Util::FormatFundSharesByLength(item->institutionShares, 4));
        setCellText(*cell, 3, Util::FormatFundSharesByLength(item->individualShares, 4));
        setCellText(*cell, 4, Util::FormatVolumeByLength(item->ownerAvgShares, 5));
    }
    return cell;
}
