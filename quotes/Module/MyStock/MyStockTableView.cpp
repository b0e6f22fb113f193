#include "Module/MyStock/MyStockTableView.h"

#include "Common/Util.h"
#include "Module/Market/MarketTableBaseView.h"

#include "Module/CommonControls/MinLine/Mini/MiniViewManager.h"

#include <cstdio>

namespace {

constexpr const char *ColumnRowIdentifier = "genneralCell";
constexpr const char *TrendRowIdentifier = "grenresIdentifier";
// Columns coloured by the price change, and the one coloured by the rise speed.
constexpr int ChangeColumns[] = {2, 3, 4};
constexpr int SpeedColumn = 9;

base::Value column(const char *name, int id, int width, bool enabled, const char *special = nullptr) {
    base::Dict entry{{"ColName", name}, {"ColWidth", width}, {"Enabled", enabled}};
    if (id >= 0)
        entry.set("ColID", id);
    if (special)
        entry.set("SpecialName", special);
    return entry;
}

// The change a row is coloured by: none while the stock has no price today.
int32_t priceChange(const StockQuoteInf &record) {
    return record.newprice > 0 ? record.newprice - record.closeprice : 0;
}

base::Ref<gfx::Color> rgb(float r, float g, float b) {
    return gfx::Color::rgba(r / 255, g / 255, b / 255);
}

} // namespace

// Hands the inner table's questions to the view while it lives.
struct MyStockTableView::Table : ui::TableDataSource, ui::TableDelegate {
    base::Weak<MyStockTableView> view;

    int numberOfRows(ui::TableView &, int) override {
        auto v = view.lock();
        return v ? v->rowCount() : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto v = view.lock();
        return v ? v->cellForRow(table, path) : base::make<ui::TableCell>();
    }
    base::Opt<float> heightForRow(ui::TableView &table, ui::IndexPath) override {
        auto v = view.lock();
        return v ? v->heightForRow() : table.rowHeight;
    }
    base::Opt<float> heightForHeader(ui::TableView &, int) override { return HeaderHeight; }
    base::Opt<base::Ref<ui::View>> viewForHeader(ui::TableView &, int) override {
        auto v = view.lock();
        if (!v)
            return base::notImplemented;
        return v->viewForHeader();
    }
    base::Opt<void> didSelectRow(ui::TableView &, ui::IndexPath path) override {
        if (auto v = view.lock())
            v->didSelectRow(path);
        return {};
    }
    base::Opt<void> didScroll(ui::ScrollView &scrollView) override {
        if (auto v = view.lock())
            v->didScroll(scrollView);
        return {};
    }
    base::Opt<void> didEndDragging(ui::ScrollView &scrollView, bool) override {
        if (auto v = view.lock())
            v->didEndScroll(scrollView);
        return {};
    }
    base::Opt<void> didEndDecelerating(ui::ScrollView &scrollView) override {
        if (auto v = view.lock())
            v->didEndScroll(scrollView);
        return {};
    }
};

base::Array MyStockTableView::makeColumnArray() {
    return {column("No.", -1, 39, false, "INDEX"), column(" 名称", -1, 91, false, "NAME"),
            column("最新 ", 4, 81, true),          column("涨幅 ", 1, 81, true),
            column("涨跌 ", 502, 81, false),       column("换手 ", 21, 81, true),
            column("总手 ", 2, 81, true),          column("总额 ", 3, 81, true),
            column("振幅 ", 22, 81, true),         column("涨速 ", 25, 81, true),
            column("量比 ", 20, 81, true),         column("市盈 ", 23, 81, true),
            column("市净 ", 24, 81, true)};
}

std::string MyStockTableView::FormatSerialNumberVertical(int number) {
    return Util::FormatSerialNumberVertical(number);
}

MyStockTableView::MyStockTableView(gfx::Rect frame) : ui::View(frame) {
    m_menu_1_Array = loadBundleList(FieldMenuFile);
    m_columnArray = makeColumnArray();
}

void MyStockTableView::setUp() {
    ui::View::setUp();
    float w = bounds().width(), h = bounds().height();
    setBackgroundColor(gfx::Color::clear());
    m_table = base::make<Table>();
    m_table->view = self<MyStockTableView>();
    m_myStockTableView = base::make<ui::TableView>(gfx::Rect{0, 0, w - 1, h});
    m_myStockTableView->dataSource = m_table;
    m_myStockTableView->delegate = m_table;
    m_myStockTableView->setBackgroundColor(gfx::Color::clear());
    m_myStockTableView->opaque = false;
    m_myStockTableView->separatorColor = gfx::Color::clear();
    m_myStockTableView->showsVerticalScrollIndicator = false;
    addSubview(m_myStockTableView);

    float tableWidth = m_myStockTableView->bounds().width();
    m_defaultColumn = base::make<DefaultColumn>(gfx::Rect{0, 0, tableWidth, HeaderHeight});
    m_defaultColumn->delegate = weakSelf<MyStockTableView>();
    for (int id = 0; id < DefaultColumn::HeaderCount; ++id)
        m_defaultColumn->SetPullList(m_menu_1_Array, HeaderFields[id], id);
    m_defaultColumn->SetEnableRank(false, false, RiseHeader);
    m_titleColumn = base::make<GeneralColumn>(gfx::Rect{0, 0, tableWidth, HeaderHeight}, m_columnArray);
    m_titleColumn->delegate = weakSelf<MyStockTableView>();
}

void MyStockTableView::reLayout(gfx::Rect frame) {
    setFrame(frame);
    m_myStockTableView->setFrame({0, 0, frame.width(), frame.height()});
    m_myStockTableView->reloadData();
}

void MyStockTableView::SetTableDataArray(const base::Ref<MyStockRowList> &rows) {
    m_reportDataArray = rows;
}

void MyStockTableView::RefreshTableView() {
    m_myStockTableView->reloadData();
}

void MyStockTableView::ResetTableMode(int mode) {
    if (mode != 0 && mode != 1)
        return;
    modeType = mode == 1 ? 0 : 1;
    m_myStockTableView->decelerationRate = mode == 1 ? 1.0f : 0.0f;
    m_myStockTableView->reloadData();
}

int MyStockTableView::rowCount() const {
    auto rows = m_reportDataArray.lock();
    return rows ? int(rows->items.size()) : 0;
}

base::Ref<MyStockRow> MyStockTableView::rowAt(int row) const {
    auto rows = m_reportDataArray.lock();
    if (!rows || row < 0 || row >= int(rows->items.size()))
        return nullptr;
    return rows->items[size_t(row)];
}

std::vector<int> MyStockTableView::visibleRows() const {
    std::vector<int> rows;
    for (const ui::IndexPath &path : m_myStockTableView->indexPathsForVisibleRows())
        rows.push_back(path.row);
    return rows;
}

void MyStockTableView::reqCurScreenData() {
    if (auto target = parentControllerTarget.lock())
        target->reqCurScreenData(visibleRows());
}

void MyStockTableView::reqCurScreenQuotes() {
    if (auto target = parentControllerTarget.lock())
        target->reqCurScreenQuotes(visibleRows());
}

void MyStockTableView::UpdateMinLineView(const base::Ref<MiniMinLineView> &mview, const std::string &code) {
    if (modeType != 0)
        return;
    for (const auto &cell : m_myStockTableView->visibleCells())
        if (auto *row = dynamic_cast<ModelCellBaseView *>(cell.get()); row && row->code == code) {
            row->showMView(mview);
            return;
        }
}

float MyStockTableView::heightForRow() const {
    if (modeType == 1)
        return GenRowHeight;
    return modeType == 0 ? RowHeight : 0;
}

base::Ref<ui::View> MyStockTableView::viewForHeader() {
    float w = m_myStockTableView->bounds().width();
    auto header = base::make<ui::View>(gfx::Rect{0, 0, w, HeaderHeight});
    if (modeType == 1) {
        m_titleColumn->setBackgroundColor(gfx::Color::rgba(0.02f, 8 / 255.f, 10 / 255.f));
        header->addSubview(m_titleColumn);
    } else {
        m_defaultColumn->setFrame({0, 0, w, HeaderHeight});
        m_defaultColumn->setBackgroundColor(gfx::Color::rgba(0.22f, 63 / 255.f, 70 / 255.f));
        header->addSubview(m_defaultColumn);
    }
    return header;
}

base::Ref<ui::TableCell> MyStockTableView::cellForRow(ui::TableView &table, ui::IndexPath path) {
    base::Ref<MyStockRow> entry = rowAt(path.row);
    float w = table.bounds().width();
    if (modeType == 1) {
        auto cell = std::dynamic_pointer_cast<GeneralCell>(table.dequeueReusableCell(ColumnRowIdentifier));
        if (!cell) {
            cell = base::make<GeneralCell>(ui::TableCell::Style::Default, ColumnRowIdentifier,
                                           gfx::Rect{0, 0, w, GenRowHeight});
            cell->SetFormatArray(m_columnArray);
        }
        if (path.row % 2 == 0)
            cell->SetCellBgColor(rgb(12, 33, 51));
        else
            cell->SetCellBgColor(rgb(14, 21, 26));
        if (entry && entry->MarketCode && entry->basicInf)
            fillColumnRow(*cell, path.row, *entry->basicInf);
        return cell;
    }
    auto cell = std::dynamic_pointer_cast<MyStockTableCell>(table.dequeueReusableCell(TrendRowIdentifier));
    if (!cell)
        cell = base::make<MyStockTableCell>(ui::TableCell::Style::Default, TrendRowIdentifier,
                                            gfx::Rect{0, 0, w, RowHeight});
    if (entry)
        fillTrendRow(*cell, path.row, *entry);
    return cell;
}

void MyStockTableView::fillColumnRow(GeneralCell &cell, int row, const StockQuoteInf &record) {
    base::Array values{std::to_string(row + 1),
                       base::Dict{{"StockName", record.name}, {"StockCode", record.getDisplayCode()}}};
    for (size_t i = 2; i < m_columnArray.size(); ++i)
        values.add(record.FormatValue(int32_t(m_columnArray[i]["ColID"].intValue())));
    for (int index : ChangeColumns)
        cell.SetTextColorAtIndex(index, priceChange(record));
    cell.SetTextColorAtIndex(SpeedColumn, record.IncreaseSPD);
    cell.SetValueArray(values);
}

void MyStockTableView::fillTrendRow(MyStockTableCell &cell, int row, const MyStockRow &entry) {
    if (!entry.MarketCode)
        return;
    cell.code = cell.marketCode = *entry.MarketCode;
    cell.StockCodeLabel().setText(*entry.MarketCode);
    cell.stockName = entry.StockName.value_or("");
    if (entry.StockName)
        cell.StockNameLabel().setText(*entry.StockName);
    cell.SNLabel().setText(FormatSerialNumberVertical(row + 1));
    if (!entry.basicInf)
        return;
    const StockQuoteInf &record = *entry.basicInf;
    if (!record.code.empty())
        cell.StockCodeLabel().setText(record.getDisplayCode());
    if (!record.name.empty())
        cell.StockNameLabel().setText(record.name);
    cell.UpDownLabel().setText(record.FormatValue(502));
    cell.RangeLabel().setText(record.FormatValue(1));
    cell.LastLabel().setText(record.FormatValue(4));
    for (int i = 0; i < 3; ++i)
        cell.valueLabel(i).setText(record.FormatValue(m_rankFields[size_t(i)]));
    cell.infoButton().setHidden(record.noteCount <= 0);
    cell.setUpDownMarkImage(float(priceChange(record)));
    auto target = parentControllerTarget.lock();
    MiniViewManager *mviews = target ? target->mviews() : nullptr;
    if (mviews && !record.code.empty()) {
        cell.code = record.code;
        cell.showMView(mviews->getMView(record.code));
    }
}

void MyStockTableView::didSelectRow(ui::IndexPath path) {
    base::Ref<MyStockRow> entry = rowAt(path.row);
    auto d = delegate.lock();
    if (!entry || !entry->basicInf || !d)
        return;
    d->ReturnStockName(entry->basicInf->name, entry->basicInf->code, path.row);
}

void MyStockTableView::didScroll(ui::ScrollView &scrollView) {
    auto target = parentControllerTarget.lock();
    if (!target)
        return;
    target->resetTimerCenterOnScroll(0);
    // The trend-row height measures the pages in both row styles.
    target->prereqNextPageQuotes(scrollView.contentOffset().y, RowHeight);
}

void MyStockTableView::didEndScroll(ui::ScrollView &scrollView) {
    if (!scrollView.isDragging() && !scrollView.isDecelerating())
        reqCurScreenData();
}

base::Opt<void> MyStockTableView::ClickHeaderAction(GeneralHeaderView &, int column, int status) {
    m_titleColumn->SetSelectedHeader(column);
    if (column < 0 || column >= int(m_columnArray.size()))
        return {};
    base::Value entry = m_columnArray.at(size_t(column));
    if (!entry["Enabled"].boolValue() || entry["ColID"].isNull())
        return {};
    if (auto target = parentControllerTarget.lock())
        target->resetQuotesSortId(int(entry["ColID"].intValue()), status != 0 ? 1 : 0);
    return {};
}

base::Opt<void> MyStockTableView::ReturnUpdownTag(int upDown, int classID, int) {
    m_iCurrentRankFeild = int16_t(classID);
    if (auto target = parentControllerTarget.lock())
        target->resetQuotesSortId(classID, upDown);
    return {};
}

base::Opt<void> MyStockTableView::ReturnSelectedFieldName(const std::string &, int classID, int headerID) {
    m_iCurrentRankFeild = int16_t(classID);
    if (headerID >= 2 && headerID <= 4)
        m_rankFields[size_t(headerID - 2)] = classID;
    if (auto target = parentControllerTarget.lock())
        target->resetQuotesSortId(classID, 0);
    // The rows show the new field even when the sort does not move them.
    m_myStockTableView->reloadData();
    return {};
}
