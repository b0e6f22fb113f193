#include "Module/MyStock/ConfigView.h"

#include "Module/StockDataBaseMgnt/DataManager.h"

#include "gfx/Font.h"

namespace {

base::Ref<ui::Label> makeLabel(gfx::Rect frame) {
    auto label = base::make<ui::Label>(frame);
    label->setBackgroundColor(gfx::Color::clear());
    return label;
}

} // namespace

ConfigViewCell::ConfigViewCell(Style style, std::string reuseIdentifier, gfx::Rect frame)
    : ui::TableCell(style, std::move(reuseIdentifier)) {
    setFrame(frame);
    setBackgroundColor(gfx::Color::clear());
    setSelectedBackgroundView(base::make<ui::ImageView>(gfx::Rect{0, 0, frame.width(), frame.height()},
                                                        gfx::Image::named("SelectedBg.png")));
    StockNameLabel = makeLabel({60, 0, 100, 25});
    StockCodeLabel = makeLabel({60, 15, 100, 20});
    StockCodeLabel->setFont(gfx::Font::system(12));
    MarketLabel = makeLabel({220, 10, 300, 25});
    for (const auto &label : {StockNameLabel, StockCodeLabel, MarketLabel})
        contentView().addSubview(label);
}

void ConfigViewCell::setBackgroundImage(base::Ref<gfx::Image> image) {
    if (!image)
        return;
    if (!m_cellBackgroundView) {
        m_cellBackgroundView = base::make<ui::ImageView>(std::move(image));
        setBackgroundView(m_cellBackgroundView);
    } else {
        m_cellBackgroundView->setImage(std::move(image));
    }
}

// Hands the list's questions to the editor while it lives.
struct ConfigView::Table : ui::TableDataSource, ui::TableDelegate {
    base::Weak<ConfigView> view;

    int numberOfRows(ui::TableView &, int) override {
        auto v = view.lock();
        return v ? int(v->m_myStockArray.size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto v = view.lock();
        return v ? v->cellForRow(table, path) : base::make<ui::TableCell>();
    }
    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override { return RowHeight; }
    base::Opt<bool> canEditRow(ui::TableView &, ui::IndexPath) override { return true; }
    base::Opt<bool> canMoveRow(ui::TableView &, ui::IndexPath) override { return true; }
    base::Opt<void> commitEditing(ui::TableView &table, ui::EditingStyle style, ui::IndexPath path) override {
        if (auto v = view.lock())
            v->commitEditing(table, style, path);
        return {};
    }
    base::Opt<void> moveRow(ui::TableView &, ui::IndexPath from, ui::IndexPath to) override {
        if (auto v = view.lock())
            v->moveRow(from, to);
        return {};
    }
};

ConfigView::ConfigView(gfx::Rect frame) : ui::View(frame) {
    setBackgroundColor(gfx::Color::gray());
    m_configTableView = base::make<ui::TableView>(gfx::Rect{0, 0, frame.width() - 1, frame.height()});
    m_configTableView->setBackgroundColor(gfx::Color::clear());
    m_configTableView->separatorStyle = ui::TableView::Separator::SingleLine;
    m_configTableView->separatorColor = gfx::Color::white();
    m_configTableView->indicatorStyle = ui::ScrollView::Indicators::White;
    m_configTableView->setEditing(true);
    addSubview(m_configTableView);
}

void ConfigView::setUp() {
    ui::View::setUp();
    m_table = base::make<Table>();
    m_table->view = self<ConfigView>();
    m_configTableView->dataSource = m_table;
    m_configTableView->delegate = m_table;
}

void ConfigView::reLayout(gfx::Rect frame) {
    setFrame(frame);
    m_configTableView->setFrame({0, 0, frame.width() - 1, frame.height()});
}

void ConfigView::SetTableDataArray(const base::Array &entries) {
    m_myStockArray = entries.copy();
    m_configTableView->reloadData();
}

base::Ref<ui::TableCell> ConfigView::cellForRow(ui::TableView &table, ui::IndexPath path) {
    auto cell = std::dynamic_pointer_cast<ConfigViewCell>(table.dequeueReusableCell(CellIdentifier));
    if (!cell)
        cell = base::make<ConfigViewCell>(ui::TableCell::Style::Default, CellIdentifier,
                                          gfx::Rect{0, 0, bounds().width(), RowHeight});
    if (path.row < int(m_myStockArray.size())) {
        const base::Value &entry = m_myStockArray[size_t(path.row)];
        cell->StockNameLabel->setText(entry["StockName"].stringValue());
        cell->StockCodeLabel->setText(entry["MarketCode"].stringValue());
        cell->MarketLabel->setText("");
    }
    return cell;
}

void ConfigView::commitEditing(ui::TableView &table, ui::EditingStyle style, ui::IndexPath path) {
    if (style != ui::EditingStyle::Delete || path.row < 0 || path.row >= int(m_myStockArray.size()))
        return;
    m_myStockArray.remove(size_t(path.row));
    save();
    if (int(m_myStockArray.size()) < table.numberOfRows(0))
        table.deleteRows({path}, ui::RowAnimation::Right);
    table.reloadData();
}

void ConfigView::moveRow(ui::IndexPath from, ui::IndexPath to) {
    int count = int(m_myStockArray.size());
    if (from.row < 0 || from.row >= count || to.row < 0 || to.row >= count)
        return;
    base::Value entry = m_myStockArray[size_t(from.row)];
    m_myStockArray.remove(size_t(from.row));
    m_myStockArray.insert(size_t(to.row), entry);
    save();
}

void ConfigView::save() {
    DataManager &data = DataManager::sharedDataManager();
    if (data.SaveMyStockArray(m_myStockArray, currentModelFileName))
        return;
    m_myStockArray = data.GetCurrentMyStockArrayByModelName(currentModelFileName);
    m_configTableView->reloadData();
}
