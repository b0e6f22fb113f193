#include "Module/Market/BoardStocksModelView.h"

#include "Common/TimeFunc.h"

namespace {

constexpr int SVFundReqCount = 10;

} // namespace

BoardStocksModelView::BoardStocksModelView(gfx::Rect frame, base::Array columnArray)
    : RankedMarketListView(frame) {
    m_columnArray = std::move(columnArray);
    isPagesMode = true;
    curTabIndex = TabIndex;
}

void BoardStocksModelView::setUp() {
    MarketTableBaseView::setUp();
    float w = bounds().width(), h = bounds().height();
    makeListTable({0, 0, w, h});
    makeHeaders(w);
}

void BoardStocksModelView::SetFieldArray(const base::Array &rows) {
    SetHeaderFields(rows, HeaderFields);
}

void BoardStocksModelView::reLayout(gfx::Rect frame) {
    setFrame(frame);
    m_curTableView->setFrame({0, 0, frame.width(), frame.height()});
}

// --- Starts

void BoardStocksModelView::startNamed(const char *name, const base::Ref<StockQuoteInf> &board) {
    quotesData().SetObserverName(name, TabIndex, board ? board->chengfenID : 0);
}

void BoardStocksModelView::reqDataFirst(const base::Ref<StockQuoteInf> &board) {
    startNamed(ObserverName, board);
    if (!board)
        return;
    quotesData().reqBoardIndexQuote(board->code);
    quotesData().reqDataFirst();
    quotesData().reqBoardIndexMinLine(board->code);
}

void BoardStocksModelView::reqDDEDataFirst(const base::Ref<StockQuoteInf> &board, int extendedFieldsFlag) {
    startNamed(DDEObserverName, board);
    quotesData().SetExtendedFieldsFlag(extendedFieldsFlag);
    if (board)
        quotesData().reqBoardIndexQuote(board->code);
    quotesData().reqDataFirst();
}

void BoardStocksModelView::reqSectionAnalysDataFirst(const base::Ref<StockQuoteInf> &board,
                                                     int extendedFieldsFlag) {
    startNamed(SectionObserverName, board);
    quotesData().SetExtendedFieldsFlag(extendedFieldsFlag);
    if (board)
        quotesData().reqBoardIndexQuote(board->code);
    quotesData().reqDataFirst();
}

void BoardStocksModelView::reqSVFundDataFirst(const base::Ref<StockQuoteInf> &board, int extendedFieldsFlag,
                                              int sortID, int sortType, int sortIndex) {
    m_defaultSortIndex = sortIndex;
    startNamed(SVFundObserverName, board);
    quotesData().SetExtendedFieldsFlag(extendedFieldsFlag);
    quotesData().SetSortID(sortID);
    quotesData().SetSortType(sortType);
    quotesData().SetReqCount(SVFundReqCount);
    if (board)
        quotesData().reqBoardIndexQuote(board->code);
    quotesData().reqDataFirst();
}

void BoardStocksModelView::RefreshBoardStocksMode(int16_t mode) {
    modeType = mode;
    if (mode != 0 && mode != 1)
        return;
    m_curTableView->decelerationRate = mode == 1 ? 1.0f : 0.0f;
    m_curTableView->reloadData();
}

// --- Rows

base::Ref<StockQuoteInf> BoardStocksModelView::recordOfRow(int row) const {
    return row == 0 ? m_BIBasicInf : recordAt(row - 1);
}

int BoardStocksModelView::numberOfRows(int) {
    return rowCount() + 1;
}

// The board row and the members are numbered straight, not one digit a line.
base::Ref<ui::TableCell> BoardStocksModelView::cellForRow(ui::TableView &table, ui::IndexPath path) {
    return securityRow(table, path.row, recordOfRow(path.row), std::to_string(path.row + 1));
}

base::Ref<ui::View> BoardStocksModelView::viewForHeader(int) {
    float w = m_curTableView->bounds().width();
    auto header = base::make<ui::View>(gfx::Rect{0, 0, w, m_tableHeaderHeight});
    ui::View *column = nullptr;
    if (modeType == 1) {
        m_titleColumn->SetSelectedHeader(m_defaultSortIndex, quotesData().pack()->sortType == 1 ? 1 : 0);
        column = m_titleColumn.get();
    } else {
        m_defaultColumn->setFrame({0, 0, w, m_tableHeaderHeight});
        column = m_defaultColumn.get();
    }
    column->setBackgroundColor(gfx::Color::rgba(0.02f, 8 / 255.f, 10 / 255.f));
    header->addSubview(column->self<ui::View>());
    return header;
}

// The board's quote and then its members, so that the index of a tapped row points at its record.
// Before the board's quote has come, the members alone, with the index shifted to match.
void BoardStocksModelView::didSelectRow(ui::IndexPath path) {
    base::Ref<StockQuoteInf> record = recordOfRow(path.row);
    auto d = delegate.lock();
    if (!record || !d)
        return;
    base::Array rows = heldRecords();
    if (m_BIBasicInf)
        rows.insert(0, base::Value(m_BIBasicInf));
    d->ReturnStockCodeMarket(record->code, ModuleName, m_BIBasicInf ? path.row : path.row - 1, rows);
}

void BoardStocksModelView::resetTimerCenterOnScroll() {
    if (auto d = delegate.lock())
        d->resetTimerCenterOnScroll(curTabIndex);
}

bool BoardStocksModelView::NotifyTimeEvent() {
    bool shown = MarketTableBaseView::NotifyTimeEvent();
    if (shown && m_BIBasicInf && !m_BIBasicInf->code.empty())
        quotesData().reqBoardIndexQuote(m_BIBasicInf->code);
    return shown;
}

// --- The board's quote and picture

base::Opt<void> BoardStocksModelView::UpdateBoardIndexQuote(const base::Ref<StockQuoteInf> &record) {
    m_BIBasicInf = record;
    m_curTableView->reloadData();
    if (auto d = delegate.lock())
        d->ReturnBoardQuoteInf(record);
    return {};
}

base::Opt<void> BoardStocksModelView::UpdateBoardIndexMinLine(const std::string &code,
                                                              const MinutePoints &points) {
    base::Ref<MiniMinLineView> mview = mviews().getMViewWithCreate(code, BoardTrendHeight);
    mview->canRemove = false;
    mview->setBasicInf(m_BIBasicInf);
    if (mview->basicInf()) {
        mview->updateTick = TimeFunc::getCurTick();
        mview->Update(mview->basicInf(), toMinLineList(points));
    }
    // Only the board row takes it; with that row out of view it comes from the cache when drawn.
    if (modeType == 0)
        if (auto row = std::dynamic_pointer_cast<ModelCellBaseView>(m_curTableView->cellForRow({0, 0}));
            row && row->code == code)
            row->showMView(mview);
    return {};
}
