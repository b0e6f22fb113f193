#include "Module/NavToolBarModule/SearchMyStockPopover/SearchResultTableView.h"

#include "Module/NavToolBarModule/SearchMyStockPopover/SearchMyStockContentController.h"

#include "Common/Util.h"
#include "Module/StockDataBaseMgnt/DataManager.h"
#include "base/Str.h"

#include <cstdlib>

namespace {

// The quote field of the price.
constexpr int32_t kPriceField = 4;

} // namespace

struct SearchResultTableView::Rows : ui::TableDataSource {
    base::Weak<SearchResultTableView> list;

    int numberOfRows(ui::TableView &, int) override {
        auto l = list.lock();
        return l ? int(l->m_myResultViewedArray.size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto l = list.lock();
        std::string identifier = base::str::format("resultIdentifier-%d", path.row);
        auto cell = std::dynamic_pointer_cast<SearchResultCell>(table.dequeueReusableCell(identifier));
        if (!cell) {
            cell = base::make<SearchResultCell>(ui::TableCell::Style::Default, identifier,
                                                gfx::Rect{0, 0, table.bounds().width(), kRowHeight});
            cell->delegate = l;
        }
        l->fill(*cell, l->m_myResultViewedArray.at(size_t(path.row)));
        return cell;
    }
};

struct SearchResultTableView::Choices : ui::TableDelegate {
    base::Weak<SearchResultTableView> list;

    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override { return kRowHeight; }
    base::Opt<void> didSelectRow(ui::TableView &, ui::IndexPath path) override {
        if (auto l = list.lock())
            l->picked(path.row);
        return {};
    }
    base::Opt<void> didEndDragging(ui::ScrollView &, bool decelerate) override {
        if (auto l = list.lock(); l && !decelerate)
            l->reqVisibleQuotes();
        return {};
    }
    base::Opt<void> didEndDecelerating(ui::ScrollView &) override {
        if (auto l = list.lock())
            l->reqVisibleQuotes();
        return {};
    }
};

SearchResultTableView::SearchResultTableView(gfx::Rect frame)
    : ui::View(frame), m_rows(base::make<Rows>()), m_choices(base::make<Choices>()) {
    m_resultTableView = base::make<ui::TableView>(gfx::Rect{0, 0, frame.width(), frame.height()});
    m_resultTableView->rowHeight = kRowHeight;
    m_resultTableView->dataSource = m_rows;
    m_resultTableView->delegate = m_choices;
    addSubview(m_resultTableView);
}

void SearchResultTableView::setUp() {
    ui::View::setUp();
    m_rows->list = m_choices->list = weakSelf<SearchResultTableView>();
}

void SearchResultTableView::SetTableDataArray(base::Array entries, std::string modelFileName) {
    m_myResultViewedArray = std::move(entries);
    m_modelFileName = std::move(modelFileName);
    if (m_resultTableView->numberOfRows(0) > 0)
        m_resultTableView->scrollToRow({0, 0}, ui::ScrollPosition::Top, false);
    m_resultTableView->reloadData();
}

void SearchResultTableView::fill(SearchResultCell &cell, const base::Value &entry) const {
    std::string code = entry["code"].stringValue();
    cell.StockNameLabel().setText(entry["name"].stringValue());
    cell.StockCodeLabel().setText(code);
    const base::Value range = entry["range"];
    if (range.isNull()) {
        cell.RangeLabel().setText("");
        cell.LastLabel().setText("");
        cell.SetUpdownColor(0);
    } else {
        // A change without a price ("--") is no percentage.
        std::string text = range.stringValue();
        bool plain = text.ends_with("%") || text == kNoValue;
        cell.RangeLabel().setText(plain ? text : text + "%");
        cell.LastLabel().setText(entry["lastPrice"].stringValue());
        cell.SetUpdownColor(std::strtof(text.c_str(), nullptr));
    }
    cell.SetAddButtonShow(!DataManager::sharedDataManager().IsStockInMyStock(code, m_modelFileName));
}

void SearchResultTableView::UpdateQuotes(const std::vector<base::Ref<StockQuoteInf>> &quotes) {
    for (const auto &quote : quotes) {
        if (!quote)
            continue;
        for (base::Value &entry : m_myResultViewedArray)
            if (entry["code"].stringValue() == quote->code) {
                entry.dict()->set("range", Util::FormatZAFString(quote->newprice, quote->closeprice, false));
                entry.dict()->set("lastPrice", quote->FormatValue(kPriceField));
                break;
            }
    }
    m_resultTableView->reloadData();
}

std::vector<std::string> SearchResultTableView::makeVisibleCodes() const {
    std::vector<std::string> codes;
    for (ui::IndexPath path : m_resultTableView->indexPathsForVisibleRows()) {
        base::Value entry = m_myResultViewedArray.at(size_t(path.row));
        std::string code = entry["code"].stringValue();
        if (!code.empty() && entry["range"].isNull())
            codes.push_back(code);
    }
    return codes;
}

void SearchResultTableView::reqVisibleQuotes() {
    std::vector<std::string> codes = makeVisibleCodes();
    if (auto parent = parentController.lock(); parent && !codes.empty())
        parent->reqQuotes(codes);
}

base::Opt<void> SearchResultTableView::AccessoryButtonAdd(SearchResultCell &cell) {
    if (auto d = delegate.lock())
        d->ReturnStockToSave(cell.StockNameLabel().text(), cell.StockCodeLabel().text());
    m_resultTableView->reloadData();
    return {};
}

void SearchResultTableView::picked(int row) {
    base::Ref<ui::TableCell> cell = m_resultTableView->cellForRow({0, row});
    auto *result = dynamic_cast<SearchResultCell *>(cell.get());
    if (!result)
        return;
    std::string name = result->StockNameLabel().text(), code = result->StockCodeLabel().text();
    DataManager::sharedDataManager().AddLatestRecentViewed(name, code);
    if (auto d = delegate.lock())
        d->ReturnStockName(name, code);
}
