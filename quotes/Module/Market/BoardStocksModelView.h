#pragma once

#include "Module/Market/RankedMarketListView.h"

#include <cstdint>

// What the constituents list tells the view that drilled into the board.
class BoardStocksModelViewDelegate : public MarketListDelegate {
public:
    // The board's own quote arrived or was refreshed.
    virtual base::Opt<void> ReturnBoardQuoteInf(const base::Ref<StockQuoteInf> &record) {
        (void)record;
        return base::notImplemented;
    }
};

// The member securities of one board, under the board's own quote as row 0: table row r ≥ 1 shows
// member r − 1 of the rows held, everywhere (display, refresh window, stale check, taps). The board
// list makes one when the user taps a board and drops it on the way back; the home and decision
// pages start theirs with their own figures (big orders, section statistics, fund flow). A column
// entry may carry "SortID", the field a tap on it sorts by in place of "ColID".
class BoardStocksModelView : public RankedMarketListView {
public:
    static constexpr int TabIndex = 7;
    static constexpr const char *ObserverName = "BoardStocksModelViewNotify";
    static constexpr const char *DDEObserverName = "DDEBoardStocksModelViewNotify";
    static constexpr const char *SectionObserverName = "SECANABoardStocksModelViewNotify";
    static constexpr const char *SVFundObserverName = "SVFundBoardStocksModelViewNotify";
    static constexpr const char *ModuleName = "StockModel";
    static constexpr int HeaderFields[DefaultColumn::HeaderCount] = {4, 1, 21, 2, 20};
    // The picture of the board row: 80 % of a 70-point row.
    static constexpr float BoardTrendHeight = 56;

    BoardStocksModelView(gfx::Rect frame, base::Array columnArray = {});
    void setUp() override;

    void SetFieldArray(const base::Array &rows);
    void reLayout(gfx::Rect frame);

    // The ways to start, each under its own name; the board's quote record gives the member-list id.
    void reqDataFirst(const base::Ref<StockQuoteInf> &board);
    void reqDDEDataFirst(const base::Ref<StockQuoteInf> &board, int extendedFieldsFlag);
    void reqSectionAnalysDataFirst(const base::Ref<StockQuoteInf> &board, int extendedFieldsFlag);
    void reqSVFundDataFirst(const base::Ref<StockQuoteInf> &board, int extendedFieldsFlag, int sortID,
                            int sortType, int sortIndex);
    // 0 mini-trend rows, 1 column rows; other values are kept without a reload.
    void RefreshBoardStocksMode(int16_t mode);

    int numberOfRows(int section) override;
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override;
    base::Ref<ui::View> viewForHeader(int section) override;
    void didSelectRow(ui::IndexPath path) override;
    int recordIndexOfRow(ui::IndexPath path) const override { return path.row - 1; }
    void resetTimerCenterOnScroll() override;
    // The base's refresh, and the board's quote asked again while rows are on view.
    bool NotifyTimeEvent() override;

    base::Opt<void> UpdateBoardIndexQuote(const base::Ref<StockQuoteInf> &record) override;
    base::Opt<void> UpdateBoardIndexMinLine(const std::string &code, const MinutePoints &points) override;

    // The record a table row shows: the board's quote for row 0, else a member; nothing when absent.
    base::Ref<StockQuoteInf> recordOfRow(int row) const;
    const base::Ref<StockQuoteInf> &BIBasicInf() const { return m_BIBasicInf; }
    int defaultSortIndex() const { return m_defaultSortIndex; }

    base::Weak<BoardStocksModelViewDelegate> delegate;

protected:
    // The next header built marks the column the list is now sorted by.
    void columnSorted(int column) override { m_defaultSortIndex = column; }

private:
    void startNamed(const char *name, const base::Ref<StockQuoteInf> &board);

    base::Ref<StockQuoteInf> m_BIBasicInf;
    int32_t m_defaultSortIndex = 3;
};
