#pragma once

#include "Module/Market/DefaultColumn.h"
#include "Module/Market/MarketTableBaseView.h"

#include "Module/CommonControls/GeneralColumn/GeneralColumn.h"

#include <array>
#include <string>

// A market list under two headers, the five-cell mini-trend one and the column one, whose rows
// switch between 70-point pictures and 44-point columns. It keeps the field the list is ranked by
// and the fields the mini-trend header's value cells show, and answers both headers' sort and
// field choices: a column sorts by its "SortID" where it has one, else by its "ColID", and only
// when it is enabled. The stock, board, board-member and commodity lists share it; the commodity
// list sends its fields through the product sort ids.
class RankedMarketListView : public MarketTableBaseView,
                             public DefaultColumnDelegate,
                             public GeneralColumnDelegate {
public:
    static constexpr const char *TrendRowIdentifier = "grenresIdentifier";

    using MarketTableBaseView::MarketTableBaseView;

    int numberOfRows(int section) override;
    float heightForRow(ui::IndexPath path) override;
    float heightForHeader(int) override { return m_tableHeaderHeight; }
    // Switches between mini-trend and column rows.
    virtual void RefreshTable();

    // A sort cell tapped: rank by its field in the given direction.
    base::Opt<void> ReturnUpdownTag(int upDown, int classID, int headerID) override;
    // A field picked for value cell 2 to 4: show it there and rank by it, descending.
    base::Opt<void> ReturnSelectedFieldName(const std::string &name, int classID, int headerID) override;
    // A column caption tapped: marks it; an enabled column with a field ranks by it.
    base::Opt<void> ClickHeaderAction(GeneralHeaderView &header, int column, int status) override;

    int16_t iCurrentRankFeild() const { return m_iCurrentRankFeild; }
    const std::array<int32_t, 3> &RankFields() const { return m_rankFields; }
    const base::Array &columnArray() const { return m_columnArray; }
    GeneralColumn &titleColumn() { return *m_titleColumn; }
    DefaultColumn &defaultColumn() { return *m_defaultColumn; }

protected:
    // The sort id a request carries for a field: the field itself unless the list maps it.
    virtual int sortIdOfField(int field) const { return field; }
    // Column `column` now ranks the list.
    virtual void columnSorted(int column) { (void)column; }

    // Both headers over the column list, this list their delegate, 30 high.
    void makeHeaders(float width);
    // The mini-trend header's cells offer the field menu, cell i starting on fields[i].
    void SetHeaderFields(const base::Array &menu, const int (&fields)[DefaultColumn::HeaderCount]);
    // The header of the mode on show; the first column header built in the process (the flag)
    // marks `markedColumn`.
    base::Ref<ui::View> makeModeHeader(bool &firstColumnHeaderMarked, int markedColumn);
    // Table row `row` showing a security's record (none: the reused row stays as it was) in the mode
    // on show: a column row, or a picture row numbered `serial` whose notes button shows when the
    // security has notes.
    base::Ref<ui::TableCell> securityRow(ui::TableView &table, int row,
                                         const base::Ref<StockQuoteInf> &record, const std::string &serial);
    // The records held, in order, for the detail screen to step through.
    base::Array heldRecords() const;
    // A mini-trend row of this table: a reused one, or a new one of the list's width, with `made`
    // set.
    template <class Cell> base::Ref<Cell> dequeueTrendRow(ui::TableView &table, bool *made = nullptr) {
        auto cell = std::dynamic_pointer_cast<Cell>(table.dequeueReusableCell(TrendRowIdentifier));
        if (made)
            *made = !cell;
        if (!cell)
            cell = base::make<Cell>(ui::TableCell::Style::Default, TrendRowIdentifier,
                                    gfx::Rect{0, 0, bounds().width(), float(m_tableRowHeight)});
        return cell;
    }

    int16_t m_iCurrentRankFeild = -1;
    std::array<int32_t, 3> m_rankFields{21, 2, 20};
    base::Array m_menu_1_Array;
    base::Array m_columnArray;
    base::Ref<GeneralColumn> m_titleColumn;
    base::Ref<DefaultColumn> m_defaultColumn;
};
