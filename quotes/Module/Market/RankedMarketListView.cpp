#include "Module/Market/RankedMarketListView.h"

#include "Module/Market/QuoteRows.h"
#include "Module/Market/StockModelCell.h"

int RankedMarketListView::numberOfRows(int) {
    return rowCount();
}

float RankedMarketListView::heightForRow(ui::IndexPath) {
    return modeType == 1 ? m_tableGenRowHeight : float(m_tableRowHeight);
}

void RankedMarketListView::RefreshTable() {
    modeType = modeType == 1 ? 0 : 1;
    m_curTableView->decelerationRate = modeType == 0 ? 1.0f : 0.0f;
    m_curTableView->reloadData();
}

void RankedMarketListView::makeHeaders(float width) {
    m_titleColumn = base::make<GeneralColumn>(gfx::Rect{0, 0, width, m_tableHeaderHeight}, m_columnArray);
    m_titleColumn->delegate = weakSelf<RankedMarketListView>();
    m_defaultColumn = base::make<DefaultColumn>(gfx::Rect{0, 0, width, m_tableHeaderHeight});
    m_defaultColumn->delegate = weakSelf<RankedMarketListView>();
}

void RankedMarketListView::SetHeaderFields(const base::Array &menu,
                                           const int (&fields)[DefaultColumn::HeaderCount]) {
    for (int id = 0; id < DefaultColumn::HeaderCount; ++id)
        m_defaultColumn->SetPullList(menu, fields[id], id);
}

base::Ref<ui::View> RankedMarketListView::makeModeHeader(bool &firstColumnHeaderMarked, int markedColumn) {
    float w = m_curTableView->bounds().width();
    auto header = base::make<ui::View>(gfx::Rect{0, 0, w, m_tableHeaderHeight});
    if (modeType == 1) {
        header->addSubview(m_titleColumn);
        m_titleColumn->setBackgroundColor(gfx::Color::rgba(0.02f, 8 / 255.f, 10 / 255.f));
        if (!firstColumnHeaderMarked) {
            firstColumnHeaderMarked = true;
            m_titleColumn->SetSelectedHeader(markedColumn);
        }
    } else {
        m_defaultColumn->setFrame({0, 0, w, m_tableHeaderHeight});
        m_defaultColumn->setBackgroundColor(gfx::Color::rgba(0.22f, 63 / 255.f, 70 / 255.f));
        header->addSubview(m_defaultColumn);
    }
    return header;
}

base::Ref<ui::TableCell> RankedMarketListView::securityRow(ui::TableView &table, int row,
                                                           const base::Ref<StockQuoteInf> &record,
                                                           const std::string &serial) {
    if (modeType == 1) {
        base::Ref<GeneralCell> cell = dequeueColumnRow(table, m_columnArray);
        if (record)
            QuoteRows::fillColumnRow(*cell, row, *record, m_columnArray);
        return cell;
    }
    base::Ref<StockModelCell> cell = dequeueTrendRow<StockModelCell>(table);
    if (record) {
        QuoteRows::fillTrendRow(*cell, serial, *record, m_rankFields);
        cell->infoButton().setHidden(record->noteCount <= 0);
        showMView(*cell, *record);
    }
    return cell;
}

base::Array RankedMarketListView::heldRecords() const {
    base::Array rows;
    for (int i = 0; i < rowCount(); ++i)
        rows.add(base::Value(recordAt(i)));
    return rows;
}

base::Opt<void> RankedMarketListView::ReturnUpdownTag(int upDown, int classID, int) {
    m_iCurrentRankFeild = int16_t(classID);
    resetQuotesSortId(sortIdOfField(classID), upDown);
    return {};
}

base::Opt<void> RankedMarketListView::ReturnSelectedFieldName(const std::string &, int classID,
                                                              int headerID) {
    m_iCurrentRankFeild = int16_t(classID);
    if (headerID >= 2 && headerID < DefaultColumn::HeaderCount)
        m_rankFields[size_t(headerID - 2)] = classID;
    resetQuotesSortId(sortIdOfField(classID), 0);
    // The rows show the new field even when the sort was already by it.
    m_curTableView->reloadData();
    return {};
}

base::Opt<void> RankedMarketListView::ClickHeaderAction(GeneralHeaderView &, int column, int status) {
    m_titleColumn->SetSelectedHeader(column);
    if (column < 0 || column >= int(m_columnArray.size()))
        return {};
    base::Value entry = m_columnArray[size_t(column)];
    base::Value key = entry["SortID"].isNull() ? entry["ColID"] : entry["SortID"];
    if (!entry["Enabled"].boolValue() || key.isNull())
        return {};
    m_iCurrentRankFeild = int16_t(key.intValue());
    columnSorted(column);
    resetQuotesSortId(sortIdOfField(int(key.intValue())), status ? 1 : 0);
    return {};
}
