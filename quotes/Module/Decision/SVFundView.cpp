#include "Module/Decision/SVFundView.h"

#include "Module/FrontPage/DecisionLists/AnalysisBoardStocksView.h"
#include "Module/Market/QuoteRows.h"

#include "Common/Util.h"

using QuoteRows::column;

namespace SVFundColumns {

namespace {

constexpr int ColumnWidth = 105;

struct PeriodColumns {
    int rise, net, share, in, out, amount, turnover;
};
// By period: day, week, month.
constexpr PeriodColumns Periods[] = {
    {1, 535, 536, 527, 528, 3, 21}, {5, 537, 538, 529, 530, 531, 6}, {7, 539, 540, 532, 533, 534, 8}};

int sign(int64_t value) {
    return (value > 0) - (value < 0);
}

// Money in less money out, both packed amounts.
int netFlow(int32_t in, int32_t out) {
    return sign(Util::convertVal(uint32_t(in)) - Util::convertVal(uint32_t(out)));
}

} // namespace

base::Array make(int period) {
    base::Array columns{column("No.", -1, 39, false, "INDEX"), column(" 名称", 9, ColumnWidth, false, "NAME"),
                        column("最新 ", 4, ColumnWidth, false)};
    if (period < Day || period > Month)
        return columns;
    const PeriodColumns &p = Periods[period - 1];
    columns.add(column("涨幅 ", p.rise, ColumnWidth, false));
    base::Value net = column("净额 ", p.net, ColumnWidth, true);
    net.dict()->set("SortID", sortID(period));
    columns.add(net);
    columns.add(column("占成交额 ", p.share, ColumnWidth, false));
    columns.add(column("流入 ", p.in, ColumnWidth, false));
    columns.add(column("流出 ", p.out, ColumnWidth, false));
    columns.add(column("成交额 ", p.amount, ColumnWidth, false));
    columns.add(column("换手 ", p.turnover, ColumnWidth, false));
    return columns;
}

int sortID(int period) {
    switch (period) {
    case Day:
        return 17;
    case Week:
        return 18;
    case Month:
        return 19;
    default:
        return 0;
    }
}

void colourRow(GeneralCell &cell, const StockQuoteInf &record, int period) {
    int32_t change = QuoteRows::priceChange(record);
    cell.SetTextColorAtIndex(2, change);
    switch (period) {
    case Day:
        cell.SetTextColorAtIndex(3, change);
        cell.SetTextColorAtIndex(4, netFlow(record.fundIn, record.fundOut));
        break;
    case Week:
        cell.SetTextColorAtIndex(3, sign(record.riseRate7));
        cell.SetTextColorAtIndex(4, netFlow(record.fundIn5, record.fundOut5));
        break;
    case Month:
        cell.SetTextColorAtIndex(3, sign(record.riseRate30));
        cell.SetTextColorAtIndex(4, netFlow(record.fundIn30, record.fundOut30));
        break;
    default:
        break;
    }
    cell.SetTextColorAtIndex(6, 1);
    cell.SetTextColorAtIndex(7, -1);
}

} // namespace SVFundColumns

// --- The drill-down

base::Ref<ui::TableCell> SVFundBoardStocksView::cellForRow(ui::TableView &table, ui::IndexPath path) {
    base::Ref<GeneralCell> cell = AnalysisRows::dequeue(table, columnArray());
    cell->indexPath = path;
    if (base::Ref<StockQuoteInf> record = recordOfRow(path.row)) {
        AnalysisRows::fill(*cell, path.row, *record, columnArray(), false);
        SVFundColumns::colourRow(*cell, *record, curTitleClass);
    }
    return cell;
}

bool SVFundBoardStocksView::getVisibleIndex(int &first, int &count) {
    first = 0;
    count = SVFundView::RankCount;
    return true;
}

// --- Making

SVFundView::SVFundView(gfx::Rect frame, int tabIndex) : MarketTableBaseView(frame) {
    curTabIndex = tabIndex;
    modeType = 1;
    isPagesMode = false;
    m_tableGenRowHeight = RowHeight;
    m_tableHeaderHeight = HeaderHeight;
}

SVFundView::~SVFundView() {
    AnalysisRows::forget(m_popover, m_menu, boardStocksModelView());
}

void SVFundView::setUp() {
    MarketTableBaseView::setUp();
    quotesData().SetObserverName(ObserverName, curTabIndex, ClassID);
    quotesData().SetExtendedFieldsFlag(ExtendedFieldsFlag);
    quotesData().SetSortID(SVFundColumns::sortID(SVFundColumns::Day));
    quotesData().SetReqCount(RankCount);
    quotesData().reqDataFirst();

    float w = bounds().width(), h = bounds().height();
    setBackgroundColor(gfx::Color::clear());
    m_curTableView = makeTable({0, BarHeight, w, h - BarHeight});
    AnalysisRows::styleTable(*m_curTableView);
    addSubview(m_curTableView);
    m_configMarketBarView = base::make<ConfigMarketBarView>(gfx::Rect{0, 0, w, BarHeight});
    m_configMarketBarView->delegate = weakSelf<SVFundView>();
    m_configMarketBarView->SetLeftButtonListTitle(m_currentSelMarketTitle);
    m_configMarketBarView->SetModeButtonShow(0);
    addSubview(m_configMarketBarView);
    reloadTitleColumns(SVFundColumns::Day);
}

void SVFundView::reloadTitleColumns(int titleClass) {
    m_curTitleClass = titleClass;
    if (m_titleColumn && m_titleColumn->titleClass == titleClass)
        return;
    m_columnArray = SVFundColumns::make(titleClass);
    m_titleColumn = base::make<GeneralColumn>(gfx::Rect{0, 0, m_curTableView->bounds().width(), HeaderHeight},
                                              m_columnArray);
    m_titleColumn->delegate = weakSelf<SVFundView>();
    m_titleColumn->titleClass = titleClass;
}

// --- Rows

base::Array SVFundView::dataArray() const {
    base::Array rows;
    for (int i = 0; i < rowCount(); ++i)
        rows.add(base::Value(recordAt(i)));
    return rows;
}

base::Ref<ui::TableCell> SVFundView::cellForRow(ui::TableView &table, ui::IndexPath path) {
    auto cell = std::dynamic_pointer_cast<GeneralCell>(table.dequeueReusableCell("genneralCell"));
    if (!cell) {
        cell = base::make<GeneralCell>(ui::TableCell::Style::Default, "genneralCell",
                                       gfx::Rect{0, 0, bounds().width(), RowHeight});
        cell->delegate = weakSelf<SVFundView>();
    }
    cell->ResetFormatArray(m_columnArray, m_curTitleClass);
    cell->indexPath = path;
    cell->ShowAccelerateButton(1, ActionImage);
    if (base::Ref<StockQuoteInf> record = recordAt(path.row)) {
        AnalysisRows::fill(*cell, path.row, *record, m_columnArray, true);
        SVFundColumns::colourRow(*cell, *record, m_curTitleClass);
    }
    return cell;
}

base::Ref<ui::View> SVFundView::viewForHeader(int) {
    auto header = base::make<ui::View>(gfx::Rect{0, 0, m_curTableView->bounds().width(), HeaderHeight});
    m_titleColumn->setBackgroundColor(gfx::Color::rgba(0.02f, 0.0314f, 0.0392f));
    header->addSubview(m_titleColumn);
    if (m_needResetHeaderSortFlag) {
        m_needResetHeaderSortFlag = false;
        m_titleColumn->SetSelectedHeader(SVFundColumns::NetFlowColumn,
                                         quotesData().getSortType() == 1 ? 1 : 0);
    }
    return header;
}

// --- Refresh and replies

void SVFundView::NotifyTimeEvent(int index) {
    if (index == curTabIndex)
        MarketTableBaseView::NotifyTimeEvent();
    else if (index == curBoardStocksTabIndex)
        if (SVFundBoardStocksView *stocks = boardStocksModelView())
            stocks->NotifyTimeEvent();
}

bool SVFundView::getVisibleIndex(int &first, int &count) {
    if (m_curTableView->isHidden())
        return false;
    first = 0;
    count = RankCount;
    return true;
}

base::Opt<void> SVFundView::UpdateTableDataSource(const base::Ref<base::Object> &rows,
                                                  bool isFirstGetQuotes) {
    if (m_curTableView && m_curTableView->isHidden())
        return {};
    return MarketTableBaseView::UpdateTableDataSource(rows, isFirstGetQuotes);
}

void SVFundView::resetTimerCenterOnScroll() {
    if (auto d = delegate.lock())
        d->resetTimerCenterOnScroll(curTabIndex);
}

// --- The period menu

base::Opt<void> SVFundView::PerformAction(ui::Button &button) {
    if (button.tag == ConfigMarketBarView::MenuButtonTag)
        openMenu(button);
    return {};
}

void SVFundView::openMenu(ui::Button &button) {
    AnalysisRows::presentMenu(m_popover, m_menu, weakSelf<SVFundView>(), loadBundleList(MenuFile), button,
                              ui::ArrowUp);
}

base::Opt<void> SVFundView::ReturnSelectedMarket(const base::Value &row) {
    if (m_popover)
        m_popover->dismiss(true);
    m_currentSelMenuID = row["MENU_ID"].stringValue();
    int period = int(row["CLASS_ID"].intValue());
    m_currentSelMarketTitle = row["MENU_NAME"].stringValue();
    m_configMarketBarView->SetLeftButtonListTitle(m_currentSelMarketTitle);
    reloadTitleColumns(period);
    quotesData().SetSortID(SVFundColumns::sortID(period));
    resetQuotesClassId(ClassID);
    m_needResetHeaderSortFlag = true;
    m_curTableView->reloadData();
    return {};
}

base::Opt<void> SVFundView::ClickHeaderAction(GeneralHeaderView &, int column, int status) {
    m_titleColumn->SetSelectedHeader(column);
    if (column < 0 || column >= int(m_columnArray.size()))
        return {};
    base::Value entry = m_columnArray[size_t(column)];
    base::Value key = entry["SortID"].isNull() ? entry["ColID"] : entry["SortID"];
    if (!entry["Enabled"].boolValue() || key.isNull())
        return {};
    resetQuotesSortId(int(key.intValue()), status ? 1 : 0);
    return {};
}

// --- Taps and the drill-down

base::Opt<void> SVFundView::ReturnSelectedCell(ui::Button *, ui::IndexPath indexPath) {
    base::Ref<StockQuoteInf> board = recordAt(indexPath.row);
    if (!board)
        return {};
    if (auto d = delegate.lock())
        d->ReturnSVFundStockCodeMarket(board->code, ModuleName, indexPath.row, dataArray());
    return {};
}

base::Opt<void> SVFundView::ReturnStockCodeMarket(const std::string &code, const std::string &moduleName,
                                                  int stockIndex, const base::Array &dataArray) {
    if (auto d = delegate.lock())
        d->ReturnSVFundStockCodeMarket(code, moduleName, stockIndex, dataArray);
    return {};
}

void SVFundView::didSelectRow(ui::IndexPath path) {
    openBoard(recordAt(path.row));
}

bool SVFundView::isBoardStocksShowing() const {
    SVFundBoardStocksView *stocks = boardStocksModelView();
    return stocks && !stocks->isHidden();
}

void SVFundView::openBoard(const base::Ref<StockQuoteInf> &board) {
    if (!board)
        return;
    AnalysisRows::showDrillDown(*m_configMarketBarView, *m_curTableView, board->name, true);
    auto stocks = base::make<SVFundBoardStocksView>(
        gfx::Rect{0, DrillDownTop, m_curTableView->frame().width(), DrillDownHeight}, m_columnArray);
    stocks->parentControllerTarget = parentControllerTarget;
    stocks->delegate = weakSelf<SVFundView>();
    stocks->curTabIndex = curBoardStocksTabIndex;
    stocks->curTitleClass = m_curTitleClass;
    stocks->reqSVFundDataFirst(board, ExtendedFieldsFlag, quotesData().getSortID(),
                               quotesData().getSortType(), SVFundColumns::NetFlowColumn);
    insertSubviewAbove(stocks, m_curTableView.get());
    m_boardStocksModelView = stocks;
    if (auto d = delegate.lock())
        d->EnterSVFundBoardStocks(board);
}

base::Opt<void> SVFundView::BackAction(ui::Button &) {
    AnalysisRows::showDrillDown(*m_configMarketBarView, *m_curTableView, {}, false);
    if (auto stocks = m_boardStocksModelView.lock()) {
        stocks->delegate.reset();
        stocks->removeFromSuperview();
    }
    m_boardStocksModelView.reset();
    m_curTableView->reloadData();
    if (auto d = delegate.lock())
        d->BackToSVFundBoardAction();
    return {};
}
