#include "Module/NavToolBarModule/SearchMyStockPopover/SearchRecentTableView.h"

#include "Module/Market/IndexReportHeader.h"
#include "Module/NavToolBarModule/SearchMyStockPopover/SearchRecentCell.h"

#include "gfx/Font.h"

// The table's rows, on behalf of the list while it lives.
struct SearchRecentTableView::Rows : ui::TableDataSource {
    base::Weak<SearchRecentTableView> list;

    int numberOfRows(ui::TableView &, int) override {
        auto l = list.lock();
        return l ? int(l->m_myRecentViewedArray.size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto cell = std::dynamic_pointer_cast<SearchRecentCell>(table.dequeueReusableCell(kCellIdentifier));
        if (!cell)
            cell = base::make<SearchRecentCell>(ui::TableCell::Style::Default, kCellIdentifier,
                                                gfx::Rect{0, 0, table.bounds().width(), kRowHeight});
        base::Value row = list.lock()->m_myRecentViewedArray.at(size_t(path.row));
        cell->StockNameLabel().setText(row["StockName"].stringValue());
        cell->StockCodeLabel().setText(row["MarketCode"].stringValue());
        return cell;
    }
};

// The table's delegate: heights, header and picks.
struct SearchRecentTableView::Choices : ui::TableDelegate {
    base::Weak<SearchRecentTableView> list;

    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override { return kRowHeight; }
    base::Opt<float> heightForHeader(ui::TableView &, int) override { return kHeaderHeight; }
    base::Opt<base::Ref<ui::View>> viewForHeader(ui::TableView &table, int) override {
        auto header = base::make<IndexReportHeader>(gfx::Rect{0, 0, table.bounds().width(), kHeaderHeight});
        header->setBackgroundImageViewWithImage(gfx::Image::named("configbar_bg.png"));
        header->titleLabel().setFont(gfx::Font::system(14));
        header->setTitleText(kHeaderTitle);
        return base::Ref<ui::View>(header);
    }
    base::Opt<void> didSelectRow(ui::TableView &, ui::IndexPath path) override {
        auto l = list.lock();
        if (!l)
            return {};
        base::Value row = l->m_myRecentViewedArray.at(size_t(path.row));
        if (auto d = l->delegate.lock())
            d->ReturnStockName(row["StockName"].stringValue(), row["MarketCode"].stringValue());
        return {};
    }
};

SearchRecentTableView::SearchRecentTableView(gfx::Rect frame)
    : ui::View(frame), m_rows(base::make<Rows>()), m_choices(base::make<Choices>()) {
    m_recentTableView = base::make<ui::TableView>(gfx::Rect{0, 0, frame.width(), frame.height()});
    m_recentTableView->rowHeight = kRowHeight;
    m_recentTableView->sectionHeaderHeight = kHeaderHeight;
    m_recentTableView->separatorColor = gfx::Color::rgba(136 / 255.f, 163 / 255.f, 183 / 255.f);
    m_recentTableView->dataSource = m_rows;
    m_recentTableView->delegate = m_choices;
    addSubview(m_recentTableView);
}

void SearchRecentTableView::setUp() {
    ui::View::setUp();
    m_rows->list = m_choices->list = weakSelf<SearchRecentTableView>();
}

void SearchRecentTableView::SetTableDataArray(base::Array rows) {
    m_myRecentViewedArray = std::move(rows);
    m_recentTableView->reloadData();
}
