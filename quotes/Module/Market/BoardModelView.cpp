#include "Module/Market/BoardModelView.h"

#include "Module/Market/BoardModelCell.h"
#include "Module/Market/QuoteRows.h"
#include "Module/Market/StockModelView.h"

#include "Common/StylePool.h"
#include "Common/Util.h"

namespace {

constexpr int RankingColumns = 11;
constexpr int RankingValueWidth = 95;

} // namespace

// The constituents' columns less the two valuation ones, the values wider.
base::Array BoardModelView::makeColumnArray() {
    base::Array stocks = StockModelView::makeColumnArray();
    base::Array columns;
    for (size_t i = 0; i < RankingColumns; ++i) {
        base::Value entry = stocks[i];
        if (i >= 2)
            entry.dict()->set("ColWidth", RankingValueWidth);
        columns.add(entry);
    }
    return columns;
}

base::Array BoardModelView::makeBoardStocksColumnArray() {
    return StockModelView::makeColumnArray();
}

BoardModelView::BoardModelView(gfx::Rect frame) : RankedMarketListView(frame) {
    isPagesMode = true;
    modeType = 0;
    curTabIndex = TabIndex;
    m_menu_1_Array = loadBundleList(FieldMenuFile);
    m_columnArray = makeColumnArray();
    m_boardStocksColumnArray = makeBoardStocksColumnArray();
}

void BoardModelView::setUp() {
    MarketTableBaseView::setUp();
    float w = bounds().width(), h = bounds().height();
    m_configMarketBarView = base::make<BoardModelConfigBarView>(gfx::Rect{0, 0, w, BarHeight});
    m_configMarketBarView->delegate = weakSelf<BoardModelView>();
    addSubview(m_configMarketBarView);

    makeListTable({0, BarHeight, w, h - BarHeight});
    makeHeaders(w);
    SetHeaderFields(m_menu_1_Array, HeaderFields);

    quotesData().SetObserverName(ObserverName, TabIndex, ClassID);
    quotesData().reqDataFirst();
}

void BoardModelView::reLayout(gfx::Rect frame) {
    setFrame(frame);
    float w = frame.width(), h = frame.height();
    m_configMarketBarView->setFrame({0, 0, w, BarHeight});
    m_curTableView->setFrame({0, BarHeight, w, h - 56});
    if (BoardStocksModelView *stocks = boardStocksModelView())
        stocks->reLayout(m_curTableView->frame());
}

// --- Rows

base::Ref<ui::TableCell> BoardModelView::cellForRow(ui::TableView &table, ui::IndexPath path) {
    base::Ref<StockQuoteInf> record = recordAt(path.row);
    bool made = false;
    if (modeType == 1) {
        base::Ref<GeneralCell> cell = dequeueColumnRow(table, m_columnArray, &made);
        if (made) {
            cell->ShowAccelerateButton(1, "tline_tag.png");
            cell->delegate = weakSelf<BoardModelView>();
        }
        cell->indexPath = path;
        if (record)
            QuoteRows::fillColumnRow(*cell, path.row, *record, m_columnArray);
        return cell;
    }
    base::Ref<BoardModelCell> cell = dequeueTrendRow<BoardModelCell>(table, &made);
    if (made)
        cell->delegate = weakSelf<BoardModelView>();
    cell->indexPath = path;
    if (record) {
        QuoteRows::fillTrendRow(*cell, Util::FormatSerialNumberVertical(path.row + 1), *record, m_rankFields);
        showMView(*cell, *record);
    }
    return cell;
}

base::Ref<ui::View> BoardModelView::viewForHeader(int) {
    return makeModeHeader(MarketProcessMarks::boardColumnHeaderMarked, RiseColumn);
}

// --- Drilling down and back

void BoardModelView::didSelectRow(ui::IndexPath path) {
    base::Ref<StockQuoteInf> board = recordAt(path.row);
    if (!board)
        return;
    m_curTableView->setHidden(true);
    m_configMarketBarView->backButton().setHidden(false);
    ui::Label &name = m_configMarketBarView->boardNameLabel();
    name.setText(board->name);
    name.setHidden(false);
    ReturnBoardQuoteInf(board);
    m_configMarketBarView->boardRangeLabel().setHidden(false);

    gfx::Rect tableFrame = m_curTableView->frame();
    auto stocks = base::make<BoardStocksModelView>(
        gfx::Rect{0, BarHeight, tableFrame.width(), tableFrame.height()}, m_boardStocksColumnArray);
    stocks->parentControllerTarget = parentControllerTarget;
    stocks->delegate = weakSelf<BoardModelView>();
    stocks->modeType = modeType;
    stocks->curTabIndex = BoardStocksModelView::TabIndex;
    stocks->SetFieldArray(m_menu_1_Array);
    stocks->reqDataFirst(board);
    addSubview(stocks);
    m_boardStocksModelView = stocks;

    m_rankSubBtnOrient = 0;
    m_configMarketBarView->SetRankOrientationType(m_rankSubBtnOrient);
    if (auto d = delegate.lock())
        d->EnterToStocksBoardAction(board);
}

void BoardModelView::leaveDrillDown() {
    m_configMarketBarView->backButton().setHidden(true);
    m_curTableView->setHidden(false);
    m_configMarketBarView->boardNameLabel().setHidden(true);
    m_configMarketBarView->boardRangeLabel().setHidden(true);
    m_configMarketBarView->SetRankOrientationType(m_rankMainBtnOrient);
    if (BoardStocksModelView *stocks = boardStocksModelView())
        stocks->removeFromSuperview();
    m_boardStocksModelView.reset();
}

void BoardModelView::tellBack() {
    if (auto d = delegate.lock())
        d->BackToBoardAction(m_iMainClassID, m_rankMainBtnOrient);
}

base::Opt<void> BoardModelView::BackAction(ui::Button &) {
    leaveDrillDown();
    m_curTableView->reloadData();
    tellBack();
    return {};
}

void BoardModelView::SetBoardVisible() {
    if (isDrilledDown())
        leaveDrillDown();
    tellBack();
}

base::Opt<void> BoardModelView::PerformAction(ui::Button &button) {
    if (button.tag == BoardModelConfigBarView::ButtonTag)
        RefreshTable();
    return {};
}

void BoardModelView::RefreshTable() {
    modeType = modeType == 1 ? 0 : 1;
    m_curTableView->decelerationRate = modeType == 0 ? 1.0f : 0.0f;
    if (!isDrilledDown())
        m_curTableView->reloadData();
    else if (BoardStocksModelView *stocks = boardStocksModelView())
        stocks->RefreshBoardStocksMode(modeType);
}

// --- Opening a board or a member

void BoardModelView::openBoard(int row) {
    base::Ref<StockQuoteInf> board = recordAt(row);
    auto d = delegate.lock();
    if (board && d)
        d->ReturnStockCodeMarket(board->code, ModuleName, row, heldRecords(), board->chengfenID);
}

base::Opt<void> BoardModelView::ReturnSelectedCell(ui::Button *, ui::IndexPath indexPath) {
    openBoard(indexPath.row);
    return {};
}

base::Opt<void> BoardModelView::ReturnSelectedCell(base::Object *, ui::IndexPath indexPath) {
    openBoard(indexPath.row);
    return {};
}

base::Opt<void> BoardModelView::ReturnStockCodeMarket(const std::string &code, const std::string &moduleName,
                                                      int stockIndex, const base::Array &dataArray) {
    if (auto d = delegate.lock())
        d->ReturnStockCodeMarket(code, moduleName, stockIndex, dataArray, 0);
    return {};
}

base::Opt<void> BoardModelView::ReturnBoardQuoteInf(const base::Ref<StockQuoteInf> &record) {
    if (!record)
        return {};
    ui::Label &range = m_configMarketBarView->boardRangeLabel();
    range.setText(record->FormatValue(1));
    range.setTextColor(StylePool::Instance().getPriceColor(QuoteRows::priceChange(*record)));
    return {};
}

// --- Timers

void BoardModelView::resetTimerCenterOnScroll() {
    if (auto d = delegate.lock())
        d->resetTimerCenterOnScroll(curTabIndex);
}

bool BoardModelView::NotifyTimeEvent() {
    if (!isDrilledDown())
        return MarketTableBaseView::NotifyTimeEvent();
    BoardStocksModelView *stocks = boardStocksModelView();
    return stocks && stocks->NotifyTimeEvent();
}

void BoardModelView::setMinLineAllIdle() {
    MarketTableBaseView::setMinLineAllIdle();
    if (BoardStocksModelView *stocks = boardStocksModelView())
        stocks->setMinLineAllIdle();
}

void BoardModelView::clearAllMinLinesData() {
    MarketTableBaseView::clearAllMinLinesData();
    if (BoardStocksModelView *stocks = boardStocksModelView())
        stocks->clearAllMinLinesData();
}
