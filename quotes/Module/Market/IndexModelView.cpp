#include "Module/Market/IndexModelView.h"

#include "Module/Market/IndexReportHeader.h"

#include "Common/TimeFunc.h"

#include <algorithm>

// Hands the table's questions to the list while it lives.
struct IndexModelView::Table : ui::TableDataSource, ui::TableDelegate {
    base::Weak<IndexModelView> list;

    int numberOfSections(ui::TableView &) override {
        auto l = list.lock();
        return l ? l->sectionNum() : 0;
    }
    int numberOfRows(ui::TableView &, int section) override {
        auto l = list.lock();
        return l ? int(l->groupCodes(section).size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto l = list.lock();
        return l ? l->cellForRow(table, path) : base::make<ui::TableCell>();
    }
    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override {
        auto l = list.lock();
        return l ? float(l->m_tableRowHeight) : 0;
    }
    base::Opt<float> heightForHeader(ui::TableView &, int) override {
        auto l = list.lock();
        return l ? float(l->m_tableHeaderHeight) : 0;
    }
    base::Opt<base::Ref<ui::View>> viewForHeader(ui::TableView &, int section) override {
        auto l = list.lock();
        if (!l)
            return base::notImplemented;
        return l->viewForHeader(section);
    }
    base::Opt<void> didSelectRow(ui::TableView &, ui::IndexPath path) override {
        if (auto l = list.lock())
            l->didSelectRow(path);
        return {};
    }
    base::Opt<void> didScroll(ui::ScrollView &) override {
        if (auto l = list.lock())
            if (auto d = l->delegate.lock())
                d->resetTimerCenterOnScroll(TabIndex);
        return {};
    }
    base::Opt<void> didEndDragging(ui::ScrollView &scrollView, bool) override {
        if (auto l = list.lock())
            l->scrollEnded(scrollView);
        return {};
    }
    base::Opt<void> didEndDecelerating(ui::ScrollView &scrollView) override {
        if (auto l = list.lock())
            l->scrollEnded(scrollView);
        return {};
    }
};

IndexModelView::IndexModelView(gfx::Rect frame) : ui::View(frame) {
    m_reportFormatArray = loadBundleList(ReportFile);
}

void IndexModelView::setUp() {
    ui::View::setUp();
    size_t total = 0;
    for (int section = 0; section < sectionNum(); ++section)
        total += groupCodes(section).size();
    makeFirstReqCodes(FirstRequestCodes);
    m_mviews = base::make<MiniViewManager>();
    m_mviews->setHoldMiniTrendViewCount(total > 0 ? int32_t(total) : MiniViewManager::DefaultHoldCount);
    m_quotesData = base::make<IndexQuotesData>();
    m_quotesData->setDelegate(weakSelf<IndexModelView>());
    m_quotesData->mviews = m_mviews;
    m_quotesData->SetObserverName(ObserverName, TabIndex);
    m_quotesData->reqDataFirst();

    m_table = base::make<Table>();
    m_table->list = weakSelf<IndexModelView>();
    m_indexTableView = base::make<ui::TableView>(gfx::Rect{0, 0, bounds().width(), bounds().height()});
    m_indexTableView->setBackgroundColor(gfx::Color::clear());
    m_indexTableView->opaque = false;
    m_indexTableView->separatorStyle = ui::TableView::Separator::SingleLine;
    m_indexTableView->indicatorStyle = ui::ScrollView::Indicators::White;
    m_indexTableView->showsVerticalScrollIndicator = false;
    m_indexTableView->dataSource = m_table;
    m_indexTableView->delegate = m_table;
    addSubview(m_indexTableView);
}

void IndexModelView::reLayout(gfx::Rect frame) {
    setFrame(frame);
    m_indexTableView->setFrame({0, 0, frame.width(), frame.height() - BottomMargin});
}

base::Array IndexModelView::groupCodes(int section) const {
    base::Value codes = m_reportFormatArray.at(size_t(std::max(section, 0)))["DataArray"];
    return section >= 0 && codes.array() ? *codes.array() : base::Array{};
}

std::string IndexModelView::codeAt(ui::IndexPath path) const {
    return path.row < 0 ? std::string() : groupCodes(path.section).at(size_t(path.row)).stringValue();
}

base::Ref<StockQuoteInf> IndexModelView::recordFor(const std::string &code) const {
    auto found = m_reportDataDict.find(code);
    return found == m_reportDataDict.end() ? nullptr : found->second;
}

void IndexModelView::NotifyTimeEvent() {
    m_quotesData->reqIndexVisibleQuotes();
}

void IndexModelView::setMinLineAllIdle() {
    m_mviews->minLineLib()->setAllIdle();
}

void IndexModelView::clearAllMinLinesData() {
    m_mviews->minLineLib()->clearAllMinLinesData();
}

base::Ref<ui::TableCell> IndexModelView::cellForRow(ui::TableView &table, ui::IndexPath path) {
    auto cell = std::dynamic_pointer_cast<IndexReportCell>(table.dequeueReusableCell(CellIdentifier));
    if (!cell)
        cell = base::make<IndexReportCell>(ui::TableCell::Style::Default, CellIdentifier,
                                           gfx::Rect{0, 0, bounds().width(), float(m_tableRowHeight)});
    std::string code = codeAt(path);
    cell->code = code;
    cell->StockCodeLabel().setText(StockQuoteInf::FormatDisplayCode(code));
    if (base::Ref<StockQuoteInf> record = recordFor(code)) {
        cell->StockNameLabel().setText(record->name);
        cell->UpDownLabel().setText(record->FormatValue(502));
        cell->RangeLabel().setText(record->FormatValue(1));
        cell->LastLabel().setText(record->FormatValue(4));
        cell->valueLabel1().setText("成交量: " + record->FormatValue(2));
        cell->valueLabel2().setText("成交额: " + record->FormatValue(3));
        cell->setUpDownMarkImage(float(record->newprice > 0 ? record->newprice - record->closeprice : 0));
        cell->basicInf = record;
    } else {
        // The code's placeholder, kept by the list so that a row keeps its time whichever cell
        // shows it: 0 until the first refresh asks for it.
        base::Ref<StockQuoteInf> &placeholder = m_placeholders[code];
        if (!placeholder) {
            placeholder = base::make<StockQuoteInf>();
            placeholder->code = code;
        }
        cell->basicInf = placeholder;
        for (ui::Label *label :
             {&cell->StockNameLabel(), &cell->UpDownLabel(), &cell->RangeLabel(), &cell->LastLabel()})
            label->setText("");
        cell->valueLabel1().setText("成交量: --");
        cell->valueLabel2().setText("成交额: --");
        cell->setUpDownMarkImage(0);
    }
    cell->showMView(m_mviews->getMView(code));
    return cell;
}

base::Ref<ui::View> IndexModelView::viewForHeader(int section) {
    float w = m_indexTableView->bounds().width(), h = float(m_tableHeaderHeight);
    auto container = base::make<ui::View>(gfx::Rect{0, 0, w, h});
    auto header = base::make<IndexReportHeader>(gfx::Rect{0, 0, w, h});
    header->setTitleText(m_reportFormatArray.at(size_t(section))["GroupName"].stringValue());
    header->setBackgroundColor(gfx::Color::rgba(0.02f, 30 / 255.f, 36 / 255.f));
    container->addSubview(header);
    return container;
}

void IndexModelView::didSelectRow(ui::IndexPath path) {
    auto d = delegate.lock();
    std::string code = codeAt(path);
    if (!d || code.empty())
        return;
    base::Array group;
    for (const base::Value &entry : groupCodes(path.section)) {
        base::Ref<StockQuoteInf> record = recordFor(entry.stringValue());
        group.add(base::Dict{{"MarketCode", entry.stringValue()}, {"StockName", record ? record->name : ""}});
    }
    d->ReturnStockCodeMarket(code, ModuleName, path.row, group);
}

void IndexModelView::UpdateTableDataSource(const base::Ref<StockQuoteList> &rows) {
    std::vector<base::Ref<StockQuoteInf>> records;
    for (const auto &record : rows->items)
        if (record && !record->code.empty()) {
            m_reportDataDict[record->code] = record;
            records.push_back(record);
        }
    m_indexTableView->reloadData();
    if (!MarketProcessMarks::bFirstUpdate) {
        MarketProcessMarks::bFirstUpdate = true;
        m_indexTableView->layoutIfNeeded();
        makeVisibleReqCodes();
        if (m_visibleCodes.empty())
            makeFirstReqCodes(FirstVisibleCodes);
    }
    reqIndexMinLines(records);
}

void IndexModelView::reqIndexMinLines(const std::vector<base::Ref<StockQuoteInf>> &records) {
    int count = int(std::min(records.size(), ChartsPerRequest));
    m_mviews->reqMinLinesWithQuotesArray(records, 0, count, ObserverName, TabIndex + 1);
}

void IndexModelView::UpdateMinLine(const std::string &code,
                                   const std::vector<base::Ref<base::Object>> &points) {
    base::Ref<MiniMinLineView> mview = m_mviews->getMViewWithCreate(code, float(m_tableRowHeight) * 0.8f);
    if (mview->basicInf()) {
        mview->updateTick = TimeFunc::getCurTick();
        mview->Update(mview->basicInf(), toMinLineList(points));
    }
    for (const auto &cell : m_indexTableView->visibleCells())
        if (auto *row = dynamic_cast<IndexReportCell *>(cell.get()); row && row->code == code) {
            row->showMView(mview);
            return;
        }
}

void IndexModelView::makeVisibleReqCodes() {
    m_visibleCodes.clear();
    for (ui::IndexPath path : m_indexTableView->indexPathsForVisibleRows())
        if (std::string code = codeAt(path); !code.empty())
            m_visibleCodes.push_back(code);
}

void IndexModelView::makeFirstReqCodes(size_t count) {
    m_visibleCodes.clear();
    for (int section = 0; section < sectionNum(); ++section)
        for (const base::Value &code : groupCodes(section)) {
            if (m_visibleCodes.size() >= count)
                return;
            m_visibleCodes.push_back(code.stringValue());
        }
}

void IndexModelView::scrollEnded(ui::ScrollView &scrollView) {
    if (scrollView.isDragging() || scrollView.isDecelerating())
        return;
    makeVisibleReqCodes();
    reqCurScreenData();
}

void IndexModelView::reqCurScreenData() {
    double now = TimeFunc::getCurTick();
    std::vector<std::string> stale;
    std::vector<base::Ref<StockQuoteInf>> visible;
    for (const auto &cell : m_indexTableView->visibleCells()) {
        auto *row = dynamic_cast<IndexReportCell *>(cell.get());
        if (!row || !row->basicInf)
            continue;
        if (now - row->basicInf->updateTick > StaleSeconds) {
            stale.push_back(row->basicInf->code);
            row->basicInf->updateTick = now;
        }
        if (!row->basicInf->code.empty())
            visible.push_back(row->basicInf);
    }
    if (!stale.empty())
        m_quotesData->reqIndexVisibleQuotes(stale);
    else if (!visible.empty())
        reqIndexMinLines(visible);
}
