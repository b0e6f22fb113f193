#include "Module/FrontPage/DecisionLists/AnalysisListView.h"

#include "Module/Market/QuoteRows.h"
#include "Module/StockDataBaseMgnt/DataManager.h"

#include "Common/FileFunc.h"
#include "base/FileManager.h"
#include "base/PropertyList.h"

using QuoteRows::column;

namespace {

// Colours the latest price and the rise by the change: white while the security has not traded.
void colourPrices(GeneralCell &cell, const StockQuoteInf &record) {
    int32_t change = QuoteRows::priceChange(record);
    cell.SetTextColorAtIndex(2, change);
    cell.SetTextColorAtIndex(3, change);
}

} // namespace

// --- The twins

base::Array DDEDecisionView::analysisColumns() {
    return {column("当日DDX", 10, 90, true),      column("当日DDY", 11, 90, true),
            column("当日DDZ ", 12, 90, true),     column("60日DDX", 13, 90, true),
            column("60日DDY", 14, 90, true),      column("10日飘红天数", 15, 120, true),
            column("10日连续飘红", 16, 120, true)};
}

// The red-day counts keep the row's own colour.
void DDEDecisionView::colourRow(GeneralCell &cell, const StockQuoteInf &record) {
    colourPrices(cell, record);
    const int32_t signs[] = {record.ddx1, record.ddy1, record.ddz1, record.ddx60, record.ddy60};
    for (int i = 0; i < 5; ++i)
        cell.SetTextColorAtIndex(4 + i, signs[i]);
}

const AnalysisListView::Kind DDEDecisionView::TheKind{ExtendedFieldsFlag, ObserverName, MyStockObserverName,
                                                      MenuFile,           85,           &headerMarked,
                                                      &analysisColumns,   &colourRow};

void DDEDecisionView::tellOpen(const std::string &code, int index, const base::Array &rows) {
    if (auto d = delegate.lock())
        d->ReturnDDEStockCodeMarket(code, ModuleName, index, rows);
}

void DDEDecisionView::tellEnter(const base::Ref<StockQuoteInf> &board) {
    if (auto d = delegate.lock())
        d->EnterDDEBoardStocks(board);
}

void DDEDecisionView::tellBack() {
    if (auto d = delegate.lock())
        d->BackToDDEBoardAction();
}

void DDEDecisionView::tellScroll(int tabIndex) {
    if (auto d = delegate.lock())
        d->resetTimerCenterOnScroll(tabIndex);
}

base::Ref<AnalysisBoardStocksView> DDEDecisionView::makeBoardStocksView(gfx::Rect frame) {
    return base::make<DDEBoardStocksView>(frame, columnArray(), &colourRow);
}

void DDEDecisionView::startBoardStocksView(AnalysisBoardStocksView &view,
                                           const base::Ref<StockQuoteInf> &board) {
    view.reqDDEDataFirst(board, ExtendedFieldsFlag);
}

base::Array SectionAnalysView::analysisColumns() {
    return {column("7日涨幅", 5, 139, true), column("7日换手", 6, 139, true),
            column("30日涨幅 ", 7, 139, true), column("30日换手", 8, 139, true)};
}

const AnalysisListView::Kind SectionAnalysView::TheKind{ExtendedFieldsFlag, ObserverName, MyStockObserverName,
                                                        MenuFile,           149,          &headerMarked,
                                                        &analysisColumns,   &colourPrices};

void SectionAnalysView::tellOpen(const std::string &code, int index, const base::Array &rows) {
    if (auto d = delegate.lock())
        d->ReturnSectionStockCodeMarket(code, ModuleName, index, rows);
}

void SectionAnalysView::tellEnter(const base::Ref<StockQuoteInf> &board) {
    if (auto d = delegate.lock())
        d->EnterSectionBoardStocks(board);
}

void SectionAnalysView::tellBack() {
    if (auto d = delegate.lock())
        d->BackToSectionBoardAction();
}

void SectionAnalysView::tellScroll(int tabIndex) {
    if (auto d = delegate.lock())
        d->resetTimerCenterOnScroll(tabIndex);
}

base::Ref<AnalysisBoardStocksView> SectionAnalysView::makeBoardStocksView(gfx::Rect frame) {
    return base::make<SectionBoardStocksView>(frame, columnArray(), &colourPrices);
}

void SectionAnalysView::startBoardStocksView(AnalysisBoardStocksView &view,
                                             const base::Ref<StockQuoteInf> &board) {
    view.reqSectionAnalysDataFirst(board, ExtendedFieldsFlag);
}

// --- Making

AnalysisListView::AnalysisListView(gfx::Rect frame, int tabIndex, const Kind &kind)
    : MarketTableBaseView(frame), m_kind(kind) {
    isPagesMode = true;
    curTabIndex = tabIndex;
    modeType = 1;
    m_tableGenRowHeight = RowHeight;
    m_tableHeaderHeight = HeaderHeight;
}

AnalysisListView::~AnalysisListView() {
    AnalysisRows::forget(m_popover, m_menu, boardStocksModelView());
}

void AnalysisListView::setUp() {
    MarketTableBaseView::setUp();
    quotesData().SetObserverName(m_kind.observerName, curTabIndex, 0);
    quotesData().SetExtendedFieldsFlag(m_kind.extendedFieldsFlag);
    quotesData().reqDataFirst();

    m_ddeData = DDEQuotesData::create(m_kind.myStockObserverName, m_kind.extendedFieldsFlag);
    m_ddeData->setDelegate(weakSelf<AnalysisListView>());
    m_columnArray = makeColumnArray();
    for (const base::Value &group : DataManager::sharedDataManager().GetCurrentModelsArray())
        m_myStockModelArray.add(base::Dict{{"CLASS_ID", group["ModelFileName"].stringValue()},
                                           {"MENU_ID", MyStockMenuID},
                                           {"MENU_NAME", group["ModelName"].stringValue()}});

    float w = bounds().width(), h = bounds().height();
    setBackgroundColor(gfx::Color::clear());
    m_curTableView = makeTable({0, BarHeight, w, h - BarHeight});
    AnalysisRows::styleTable(*m_curTableView);
    addSubview(m_curTableView);
    // Over the table and a drill-down, so that the back button always takes taps.
    m_configMarketBarView = base::make<ConfigMarketBarView>(gfx::Rect{0, 0, w, BarHeight});
    m_configMarketBarView->delegate = weakSelf<AnalysisListView>();
    m_configMarketBarView->SetLeftButtonListTitle(m_currentSelMarketTitle);
    m_configMarketBarView->SetModeButtonShow(0);
    addSubview(m_configMarketBarView);
    m_titleColumn = base::make<GeneralColumn>(gfx::Rect{0, 0, w, HeaderHeight}, m_columnArray);
    m_titleColumn->delegate = weakSelf<AnalysisListView>();
}

base::Array AnalysisListView::makeColumnArray() const {
    base::Array columns{column("No.", -1, 39, false, "INDEX"), column(" 名称", 9, 91, false, "NAME"),
                        column("最新 ", 4, m_kind.priceWidth, true),
                        column("涨幅 ", 1, m_kind.priceWidth, true)};
    for (const base::Value &entry : m_kind.analysisColumns())
        columns.add(entry);
    return columns;
}

base::Array AnalysisListView::menuRows() const {
    base::Array rows;
    std::string documentsCopy = FileFunc::getFilePath(m_kind.menuFile);
    if (base::FileManager::exists(documentsCopy)) {
        // A damaged copy leaves the watch-list groups alone.
        std::optional<base::Value> copy = base::PropertyList::read(documentsCopy);
        if (copy && copy->array())
            rows = copy->array()->copy();
    } else {
        rows = loadBundleList(BundleMenu);
    }
    for (const base::Value &group : m_myStockModelArray)
        rows.add(group);
    return rows;
}

// --- Rows

AnalysisListView::Row AnalysisListView::rowAt(int row) const {
    if (m_isMyStockMode) {
        if (!m_myRows || row < 0 || row >= int(m_myRows->items.size()))
            return {};
        return m_myRows->items[size_t(row)];
    }
    if (base::Ref<StockQuoteInf> record = recordAt(row))
        return record;
    return {};
}

base::Ref<StockQuoteInf> AnalysisListView::recordOfRow(int row) const {
    Row shown = rowAt(row);
    if (auto *record = std::get_if<base::Ref<StockQuoteInf>>(&shown))
        return *record;
    if (auto *mine = std::get_if<base::Ref<MyStockRow>>(&shown))
        return (*mine)->basicInf;
    return nullptr;
}

base::Array AnalysisListView::dataArray() const {
    base::Array rows;
    if (m_isMyStockMode) {
        if (m_myRows)
            for (const auto &row : m_myRows->items)
                rows.add(base::Dict{{"MarketCode", row->MarketCode.value_or("")},
                                    {"StockName", row->StockName.value_or("")}});
        return rows;
    }
    for (int i = 0; i < rowCount(); ++i)
        rows.add(base::Value(recordAt(i)));
    return rows;
}

int AnalysisListView::numberOfRows(int) {
    if (m_isMyStockMode)
        return m_myRows ? int(m_myRows->items.size()) : 0;
    return rowCount();
}

base::Ref<ui::TableCell> AnalysisListView::cellForRow(ui::TableView &table, ui::IndexPath path) {
    base::Ref<GeneralCell> cell = AnalysisRows::dequeue(table, m_columnArray);
    cell->delegate = weakSelf<AnalysisListView>();
    cell->indexPath = path;
    cell->ShowAccelerateButton(m_currentModelName == BoardMenuName ? 1 : 0, ActionImage);
    if (base::Ref<StockQuoteInf> record = recordOfRow(path.row)) {
        AnalysisRows::fill(*cell, path.row, *record, m_columnArray, true);
        m_kind.colourRow(*cell, *record);
    }
    return cell;
}

base::Ref<ui::View> AnalysisListView::viewForHeader(int) {
    float w = m_curTableView->bounds().width();
    auto header = base::make<ui::View>(gfx::Rect{0, 0, w, HeaderHeight});
    m_titleColumn->setBackgroundColor(gfx::Color::rgba(5 / 255.f, 8 / 255.f, 10 / 255.f));
    header->addSubview(m_titleColumn);
    // The first list of its kind marks the default order; later ones keep the user's marks.
    if (!*m_kind.headerMarked) {
        *m_kind.headerMarked = true;
        m_titleColumn->SetSelectedHeader(RiseColumn);
    }
    return header;
}

// --- Refresh and replies

void AnalysisListView::NotifyTimeEvent(int index) {
    if (index == curTabIndex) {
        if (m_isMyStockMode)
            m_ddeData->MyStock_ReqCurScreenQuotes(visibleRows());
        else
            MarketTableBaseView::NotifyTimeEvent();
    } else if (index == curBoardStocksTabIndex && !m_isMyStockMode) {
        if (AnalysisBoardStocksView *stocks = boardStocksModelView())
            stocks->NotifyTimeEvent();
    }
}

std::vector<int> AnalysisListView::visibleRows() const {
    std::vector<int> rows;
    if (!m_curTableView->isHidden())
        for (ui::IndexPath path : m_curTableView->indexPathsForVisibleRows())
            rows.push_back(path.row);
    return rows;
}

bool AnalysisListView::getVisibleIndex(int &first, int &count) {
    if (m_curTableView->isHidden())
        return false;
    return MarketTableBaseView::getVisibleIndex(first, count);
}

base::Opt<void> AnalysisListView::UpdateTableDataSource(const base::Ref<base::Object> &rows,
                                                        bool isFirstGetQuotes) {
    if (m_isMyStockMode || (m_curTableView && m_curTableView->isHidden()))
        return {};
    return MarketTableBaseView::UpdateTableDataSource(rows, isFirstGetQuotes);
}

base::Opt<void> AnalysisListView::UpdateMyStockArray(const base::Ref<MyStockRowList> &rows,
                                                     bool isScrollToTop) {
    if (m_isMyStockMode)
        showMyStockRows(rows, isScrollToTop);
    return {};
}

void AnalysisListView::showMyStockRows(const base::Ref<MyStockRowList> &rows, bool scrollToTop) {
    m_myRows = rows;
    if (scrollToTop && m_myRows && !m_myRows->items.empty())
        m_curTableView->setContentOffset({0, 0});
    m_curTableView->reloadData();
}

// --- Scrolling

void AnalysisListView::resetTimerCenterOnScroll() {
    tellScroll(curTabIndex);
}

void AnalysisListView::scrollViewDidScroll(ui::ScrollView &scrollView) {
    if (!m_isMyStockMode) {
        MarketTableBaseView::scrollViewDidScroll(scrollView);
        return;
    }
    resetTimerCenterOnScroll();
    m_ddeData->MyStock_PrereqNextPageQuotes(scrollView.contentOffset().y, RowHeight);
}

void AnalysisListView::scrollViewDidEndDragging(ui::ScrollView &scrollView, bool decelerate) {
    if (!m_isMyStockMode) {
        MarketTableBaseView::scrollViewDidEndDragging(scrollView, decelerate);
        return;
    }
    if (!decelerate && !scrollView.isDragging() && !scrollView.isDecelerating())
        m_ddeData->MyStock_ReqCurScreenQuotes(visibleRows());
}

void AnalysisListView::scrollViewDidEndDecelerating(ui::ScrollView &scrollView) {
    if (!m_isMyStockMode) {
        MarketTableBaseView::scrollViewDidEndDecelerating(scrollView);
        return;
    }
    if (!scrollView.isDragging() && !scrollView.isDecelerating())
        m_ddeData->MyStock_ReqCurScreenQuotes(visibleRows());
}

// --- The menu

base::Opt<void> AnalysisListView::PerformAction(ui::Button &button) {
    if (button.tag == ConfigMarketBarView::MenuButtonTag)
        openMarketMenu(button);
    else if (button.tag == ConfigMarketBarView::ModeButtonTag)
        m_curTableView->reloadData();
    return {};
}

void AnalysisListView::openMarketMenu(ui::Button &button) {
    AnalysisRows::presentMenu(m_popover, m_menu, weakSelf<AnalysisListView>(),
                              m_popover ? base::Array() : menuRows(), button, ui::ArrowAny);
}

base::Opt<void> AnalysisListView::ReturnSelectedMarket(const base::Value &row) {
    if (m_popover)
        m_popover->dismiss(true);
    m_currentSelMenuID = row["MENU_ID"].stringValue();
    m_currentModelName = row["MENU_NAME"].stringValue();
    m_currentSelMarketTitle = m_currentModelName;
    m_configMarketBarView->SetLeftButtonListTitle(m_currentSelMarketTitle);
    if (m_currentSelMenuID == MyStockMenuID) {
        m_isMyStockMode = true;
        m_currentModelFileName = row["CLASS_ID"].stringValue();
        m_myStockArray =
            DataManager::sharedDataManager().GetCurrentMyStockArrayByModelName(m_currentModelFileName);
        m_ddeData->createMyStockDataArray(m_myStockArray);
        showMyStockRows(m_ddeData->getMyStockDataArray(), false);
        m_ddeData->MyStock_RereqMyStockQuotes();
        return {};
    }
    m_isMyStockMode = false;
    m_myRows.reset();
    m_currentModelFileName.clear();
    resetQuotesClassId(int(row["CLASS_ID"].intValue()));
    // The new class's rows are empty until its first page comes: the table empties at once.
    MarketTableBaseView::UpdateTableDataSource(quotesData().pack()->rspArray(), false);
    return {};
}

// --- Sorting

base::Opt<void> AnalysisListView::ClickHeaderAction(GeneralHeaderView &, int column, int status) {
    m_titleColumn->SetSelectedHeader(column);
    if (column < 0 || column >= int(m_columnArray.size()))
        return {};
    base::Value entry = m_columnArray[size_t(column)];
    if (!entry["Enabled"].boolValue() || entry["ColID"].isNull())
        return {};
    int id = int(entry["ColID"].intValue()), direction = status ? 1 : 0;
    if (!m_isMyStockMode) {
        resetQuotesSortId(id, direction);
        return {};
    }
    // Sorted at once when the group's quotes are fresh; else the sorted rows follow the replies.
    if (m_ddeData->MyStock_SortQuotes(id, direction))
        showMyStockRows(m_ddeData->getMyStockDataArray(), true);
    return {};
}

// --- Taps

void AnalysisListView::didSelectRow(ui::IndexPath path) {
    if (!m_isMyStockMode && m_currentModelName == BoardMenuName) {
        openBoard(recordAt(path.row));
        return;
    }
    base::Ref<StockQuoteInf> record = recordOfRow(path.row);
    if (!record || record->code.empty())
        return;
    tellOpen(record->code, path.row, dataArray());
}

base::Opt<void> AnalysisListView::ReturnSelectedCell(ui::Button *, ui::IndexPath indexPath) {
    base::Ref<StockQuoteInf> board = m_isMyStockMode ? nullptr : recordAt(indexPath.row);
    if (board && !board->code.empty())
        tellOpen(board->code, indexPath.row, dataArray());
    return {};
}

base::Opt<void> AnalysisListView::ReturnStockCodeMarket(const std::string &code, const std::string &,
                                                        int stockIndex, const base::Array &dataArray) {
    tellOpen(code, stockIndex, dataArray);
    return {};
}

// --- The drill-down

bool AnalysisListView::isBoardStocksShowing() const {
    AnalysisBoardStocksView *stocks = boardStocksModelView();
    return stocks && !stocks->isHidden();
}

void AnalysisListView::openBoard(const base::Ref<StockQuoteInf> &board) {
    if (!board)
        return;
    AnalysisRows::showDrillDown(*m_configMarketBarView, *m_curTableView, board->name, true);
    base::Ref<AnalysisBoardStocksView> stocks =
        makeBoardStocksView({0, DrillDownTop, m_curTableView->frame().width(), DrillDownHeight});
    stocks->parentControllerTarget = parentControllerTarget;
    stocks->delegate = weakSelf<AnalysisListView>();
    stocks->modeType = 1;
    stocks->curTabIndex = curBoardStocksTabIndex;
    startBoardStocksView(*stocks, board);
    insertSubviewAbove(stocks, m_curTableView.get());
    m_boardStocksModelView = stocks;
    tellEnter(board);
}

void AnalysisListView::leaveDrillDown() {
    AnalysisRows::showDrillDown(*m_configMarketBarView, *m_curTableView, {}, false);
    if (auto stocks = m_boardStocksModelView.lock()) {
        stocks->delegate.reset();
        stocks->removeFromSuperview();
    }
    m_boardStocksModelView.reset();
}

base::Opt<void> AnalysisListView::BackAction(ui::Button &) {
    leaveDrillDown();
    m_curTableView->reloadData();
    tellBack();
    return {};
}
