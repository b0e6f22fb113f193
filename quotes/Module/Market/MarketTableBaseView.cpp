#include "Module/Market/MarketTableBaseView.h"

#include "Common/TimeFunc.h"
#include "base/Bundle.h"
#include "base/PropertyList.h"

// Hands the table's questions to the list while it lives.
struct MarketTableBaseView::Table : ui::TableDataSource, ui::TableDelegate {
    base::Weak<MarketTableBaseView> list;

    int numberOfSections(ui::TableView &) override {
        auto l = list.lock();
        return l ? l->numberOfSections() : 0;
    }
    int numberOfRows(ui::TableView &, int section) override {
        auto l = list.lock();
        return l ? l->numberOfRows(section) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto l = list.lock();
        return l ? l->cellForRow(table, path) : base::make<ui::TableCell>();
    }
    base::Opt<float> heightForRow(ui::TableView &table, ui::IndexPath path) override {
        auto l = list.lock();
        return l ? l->heightForRow(path) : table.rowHeight;
    }
    base::Opt<float> heightForHeader(ui::TableView &, int section) override {
        auto l = list.lock();
        return l ? l->heightForHeader(section) : 0;
    }
    base::Opt<base::Ref<ui::View>> viewForHeader(ui::TableView &, int section) override {
        auto l = list.lock();
        base::Ref<ui::View> header = l ? l->viewForHeader(section) : nullptr;
        if (!header)
            return base::notImplemented;
        return header;
    }
    base::Opt<void> didSelectRow(ui::TableView &, ui::IndexPath path) override {
        if (auto l = list.lock())
            l->didSelectRow(path);
        return {};
    }
    base::Opt<void> didScroll(ui::ScrollView &scrollView) override {
        if (auto l = list.lock())
            l->scrollViewDidScroll(scrollView);
        return {};
    }
    base::Opt<void> didEndDragging(ui::ScrollView &scrollView, bool decelerate) override {
        if (auto l = list.lock())
            l->scrollViewDidEndDragging(scrollView, decelerate);
        return {};
    }
    base::Opt<void> didEndDecelerating(ui::ScrollView &scrollView) override {
        if (auto l = list.lock())
            l->scrollViewDidEndDecelerating(scrollView);
        return {};
    }
};

base::Ref<MinLineList> toMinLineList(const MinutePoints &points) {
    auto list = std::make_shared<MinLineList>();
    for (const auto &point : points)
        if (auto minute = std::dynamic_pointer_cast<StkMinLineItem>(point))
            list->push_back(minute);
    return list;
}

base::Array loadBundleList(const std::string &name) {
    std::optional<std::string> path = base::Bundle::main().pathFor(name, "plist");
    std::optional<base::Value> list = path ? base::PropertyList::read(*path) : std::nullopt;
    return list && list->array() ? *list->array() : base::Array{};
}

MarketTableBaseView::MarketTableBaseView(gfx::Rect frame) : ui::View(frame) {}

void MarketTableBaseView::setUp() {
    ui::View::setUp();
    m_table = base::make<Table>();
    m_table->list = self<MarketTableBaseView>();
    m_mviews = base::make<MiniViewManager>();
    m_quotesData = base::make<StockQuotesData>();
    m_quotesData->setDelegate(weakSelf<MarketTableBaseView>());
    m_quotesData->setMviews(m_mviews);
}

base::Ref<ui::TableView> MarketTableBaseView::makeTable(gfx::Rect frame) {
    auto table = base::make<ui::TableView>(frame);
    table->dataSource = m_table;
    table->delegate = m_table;
    return table;
}

void MarketTableBaseView::makeListTable(gfx::Rect frame) {
    m_curTableView = makeTable(frame);
    m_curTableView->setBackgroundColor(gfx::Color::clear());
    m_curTableView->opaque = false;
    m_curTableView->separatorStyle = ui::TableView::Separator::None;
    m_curTableView->showsVerticalScrollIndicator = false;
    addSubview(m_curTableView);
}

base::Ref<GeneralCell> MarketTableBaseView::dequeueColumnRow(ui::TableView &table, const base::Array &columns,
                                                             bool *made) {
    auto cell = std::dynamic_pointer_cast<GeneralCell>(table.dequeueReusableCell(ColumnRowIdentifier));
    if (made)
        *made = !cell;
    if (!cell) {
        cell = base::make<GeneralCell>(ui::TableCell::Style::Default, ColumnRowIdentifier,
                                       gfx::Rect{0, 0, bounds().width(), m_tableGenRowHeight});
        cell->SetFormatArray(columns);
    }
    return cell;
}

int MarketTableBaseView::rowCount() const {
    if (auto quotes = std::dynamic_pointer_cast<StockQuoteList>(m_dataArray))
        return int(quotes->items.size());
    if (auto objects = std::dynamic_pointer_cast<NetDataCenter::ObjectList>(m_dataArray))
        return int(objects->items.size());
    return 0;
}

base::Ref<StockQuoteInf> MarketTableBaseView::recordAt(int row) const {
    auto quotes = std::dynamic_pointer_cast<StockQuoteList>(m_dataArray);
    if (!quotes || row < 0 || row >= int(quotes->items.size()))
        return nullptr;
    return quotes->items[size_t(row)];
}

base::Ref<base::Object> MarketTableBaseView::objectAt(int row) const {
    if (auto objects = std::dynamic_pointer_cast<NetDataCenter::ObjectList>(m_dataArray))
        return row >= 0 && row < int(objects->items.size()) ? objects->items[size_t(row)] : nullptr;
    return recordAt(row);
}

base::Ref<ui::TableCell> MarketTableBaseView::cellForRow(ui::TableView &, ui::IndexPath) {
    return base::make<ui::TableCell>();
}

base::Opt<void> MarketTableBaseView::UpdateTableDataSource(const base::Ref<base::Object> &rows,
                                                           bool isFirstGetQuotes) {
    m_dataArray = rows;
    if (!m_curTableView)
        return {};
    m_curTableView->reloadData();
    if (isFirstGetQuotes)
        m_curTableView->setContentOffset({0, 0}, true);
    return {};
}

ModelCellBaseView *MarketTableBaseView::visibleTrendRow(const std::string &code) const {
    if (!m_curTableView)
        return nullptr;
    for (const auto &cell : m_curTableView->visibleCells())
        if (auto *row = dynamic_cast<ModelCellBaseView *>(cell.get()); row && row->code == code)
            return row;
    return nullptr;
}

base::Opt<void> MarketTableBaseView::UpdateMinLine(const std::string &code, const MinutePoints &points) {
    base::Ref<MiniMinLineView> mview = m_mviews->getMViewWithCreate(code, float(m_tableRowHeight) * 0.8f);
    if (mview->basicInf()) {
        mview->updateTick = TimeFunc::getCurTick();
        mview->Update(mview->basicInf(), toMinLineList(points));
    }
    if (modeType == 0)
        if (ModelCellBaseView *row = visibleTrendRow(code))
            row->showMView(mview);
    return {};
}

void MarketTableBaseView::showMView(ModelCellBaseView &row, const StockQuoteInf &record) {
    row.code = record.code;
    row.showMView(m_mviews->getMView(record.code));
}

bool MarketTableBaseView::getVisibleIndex(int &first, int &count) {
    if (!m_curTableView)
        return false;
    count = 0;
    for (ui::IndexPath path : m_curTableView->indexPathsForVisibleRows()) {
        int index = recordIndexOfRow(path);
        if (index < 0)
            continue;
        if (count++ == 0)
            first = index;
    }
    return count > 0;
}

void MarketTableBaseView::reqCurScreenData(bool) {
    if (!isPagesMode || !needRefreshCurScreen() || !m_curTableView)
        return;
    double now = TimeFunc::getCurTick();
    int firstStale = -1, lastStale = -1;
    std::vector<base::Ref<StockQuoteInf>> collected;
    for (ui::IndexPath path : m_curTableView->indexPathsForVisibleRows()) {
        if (curTabIndex == 6 && path.section != 1)
            continue;
        int index = recordIndexOfRow(path);
        base::Ref<StockQuoteInf> record = recordAt(index);
        if (!record)
            continue;
        if (now - record->updateTick > StaleSeconds) {
            if (firstStale < 0)
                firstStale = index;
            lastStale = index;
        }
        if (modeType == 0 && !record->code.empty())
            collected.push_back(record);
    }
    if (firstStale >= 0) {
        for (int row = firstStale; row <= lastStale; ++row)
            if (base::Ref<StockQuoteInf> record = recordAt(row))
                record->updateTick = now;
        m_quotesData->reqStockQuotes(firstStale, lastStale - firstStale + 1);
        return;
    }
    if (!collected.empty())
        m_mviews->reqMinLinesWithQuotesArray(collected, m_quotesData->observerName(), curTabIndex + 1);
}

bool MarketTableBaseView::NotifyTimeEvent() {
    int first = 0, count = 0;
    if (!getVisibleIndex(first, count))
        return false;
    m_quotesData->reqStockQuotes(first, count);
    return true;
}

void MarketTableBaseView::setMinLineAllIdle() {
    m_mviews->minLineLib()->setAllIdle();
}

void MarketTableBaseView::clearAllMinLinesData() {
    m_mviews->minLineLib()->clearAllMinLinesData();
}

void MarketTableBaseView::scrollViewDidScroll(ui::ScrollView &scrollView) {
    resetTimerCenterOnScroll();
    float y = scrollView.contentOffset().y, h = scrollView.bounds().height();
    if (isPagesMode && y + NextPageScreens * h > scrollView.contentSize().h)
        m_quotesData->gotoQuotesNextPage();
}

void MarketTableBaseView::scrollViewDidEndDragging(ui::ScrollView &scrollView, bool) {
    if (!scrollView.isDragging() && !scrollView.isDecelerating())
        procOnEndScroll(scrollView);
}

void MarketTableBaseView::scrollViewDidEndDecelerating(ui::ScrollView &scrollView) {
    if (!scrollView.isDragging() && !scrollView.isDecelerating())
        procOnEndScroll(scrollView);
}

void MarketTableBaseView::procOnEndScroll(ui::ScrollView &scrollView) {
    int first = 0, count = 0;
    if (isPagesMode && dynamic_cast<ui::TableView *>(&scrollView) && getVisibleIndex(first, count) &&
        rowCount() - first > KeepBelowFirst)
        m_quotesData->DelBottomRows(first + KeepBelowFirst);
    reqCurScreenData(false);
}

void MarketTableBaseView::resetQuotesSortId(int sortID, int sortType) {
    m_quotesData->resetQuotesSortId(sortID, sortType);
}

void MarketTableBaseView::resetQuotesClassId(int classID) {
    m_quotesData->resetQuotesClassId(classID);
}

int MarketTableBaseView::getSortColumnIndex(const base::Array &columns, int columnID) {
    for (size_t i = 0; i < columns.size(); ++i) {
        base::Value id = columns[i]["ColID"];
        if (!id.isNull() && id.intValue() == columnID)
            return int(i);
    }
    return -1;
}
