#include "Module/DetailShowPanel/SearchStockListController.h"

#include "Module/NavToolBarModule/SearchMyStockPopover/SearchRecentCell.h"
#include "gfx/Font.h"

struct SearchStockListController::Relay : ui::TableDataSource, ui::TableDelegate {
    base::Weak<SearchStockListController> owner;

    int numberOfRows(ui::TableView &, int) override {
        auto o = owner.lock();
        return o ? int(o->m_stockArray.size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto cell = std::dynamic_pointer_cast<SearchRecentCell>(table.dequeueReusableCell(kCellIdentifier));
        if (!cell)
            cell = base::make<SearchRecentCell>(ui::TableCell::Style::Default, kCellIdentifier,
                                                gfx::Rect{0, 0, table.bounds().width(), kRowHeight});
        auto o = owner.lock();
        if (!o || size_t(path.row) >= o->m_stockArray.size())
            return cell;
        const base::Value &row = o->m_stockArray.at(size_t(path.row));
        // The shared search row keeps its own colours: dark on its light ground, white when picked.
        cell->StockNameLabel().setText(row["name"].stringValue());
        cell->StockNameLabel().setFont(gfx::Font::system(kFontSize));
        cell->StockCodeLabel().setText(row["code"].stringValue());
        cell->StockCodeLabel().setFont(gfx::Font::system(kFontSize));
        return cell;
    }
    base::Opt<void> didSelectRow(ui::TableView &, ui::IndexPath path) override {
        auto o = owner.lock();
        if (!o || size_t(path.row) >= o->m_stockArray.size())
            return {};
        std::string code = o->m_stockArray.at(size_t(path.row))["code"].stringValue();
        if (auto d = o->delegate.lock())
            d->ReturnSelectedStock(code);
        return {};
    }
};

SearchStockListController::SearchStockListController() {
    setContentSizeInPopover(kContentSize);
}

void SearchStockListController::viewDidLoad() {
    m_relay = base::make<Relay>();
    m_relay->owner = weakSelf<SearchStockListController>();
    m_searchList = base::make<ui::TableView>(gfx::Rect{{0, 0}, kContentSize});
    m_searchList->dataSource = m_relay;
    m_searchList->delegate = m_relay;
    m_searchList->separatorColor = gfx::Color::rgba(57 / 255.0f, 77 / 255.0f, 92 / 255.0f);
    m_searchList->setBackgroundColor(gfx::Color::white());
    m_searchList->rowHeight = kRowHeight;
    view().addSubview(m_searchList);
}

void SearchStockListController::SetTableDataArray(const base::Array &rows) {
    m_stockArray = rows.copy();
    if (m_searchList)
        m_searchList->reloadData();
}
