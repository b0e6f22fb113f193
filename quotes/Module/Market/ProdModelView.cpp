#include "Module/Market/ProdModelView.h"

#include "Module/Market/ProdModelCell.h"
#include "Module/Market/QuoteRows.h"

#include "Common/Util.h"
#include "DataBase/DataBase.h"
#include "DataBase/NetData/StockInterface.h"
#include "ui/NavigationController.h"

namespace {

constexpr const char *ColumnRowIdentifier = "genneralCell";
constexpr const char *TrendRowIdentifier = "grenresIdentifier";
constexpr float TableBottomMargin = 18;

using QuoteRows::column;

void setUpTable(ui::TableView &table) {
    table.setBackgroundColor(gfx::Color::clear());
    table.opaque = false;
    table.separatorStyle = ui::TableView::Separator::None;
    table.showsVerticalScrollIndicator = false;
}

} // namespace

base::Array ProdModelView::makeColumnArray() {
    return {column("No.", -1, 39, false, "INDEX"), column(" 名称", 9, 91, true, "NAME"),
            column("最新 ", 4, 88, true),          column("涨幅 ", 526, 88, true),
            column("涨跌 ", 525, 88, false),       column("结算价 ", 514, 88, false),
            column("昨结算 ", 515, 88, false),     column("总手 ", 2, 88, true),
            column("总额 ", 3, 88, false),         column("持仓 ", 512, 88, true),
            column("昨持仓 ", 513, 88, false),     column("日增 ", 517, 88, true)};
}

ProdModelView::ProdModelView(gfx::Rect frame) : MarketTableBaseView(frame) {
    isPagesMode = false;
    modeType = 0;
    curTabIndex = TabIndex;
    m_menu_1_Array = loadBundleList(FieldMenuFile);
    m_columnArray = makeColumnArray();
}

void ProdModelView::setUp() {
    MarketTableBaseView::setUp();
    float w = bounds().width(), h = bounds().height();
    setBackgroundColor(gfx::Color::clear());
    m_configMarketBarView = base::make<ConfigMarketBarView>(gfx::Rect{0, 0, w, BarHeight});
    m_configMarketBarView->delegate = weakSelf<ProdModelView>();
    m_configMarketBarView->SetLeftButtonListTitle(m_currentSelMarketTitle);
    addSubview(m_configMarketBarView);

    m_curTableView = makeTable({0, BarHeight, w, h - BarHeight});
    setUpTable(*m_curTableView);
    addSubview(m_curTableView);

    m_titleColumn = base::make<GeneralColumn>(gfx::Rect{0, 0, w, m_tableHeaderHeight}, m_columnArray);
    m_titleColumn->delegate = weakSelf<ProdModelView>();
    m_defaultColumn = base::make<DefaultColumn>(gfx::Rect{0, 0, w, m_tableHeaderHeight});
    m_defaultColumn->delegate = weakSelf<ProdModelView>();
    for (int id = 0; id < DefaultColumn::HeaderCount; ++id)
        m_defaultColumn->SetPullList(m_menu_1_Array, HeaderFields[id], id);

    quotesData().SetObserverName(ObserverName, TabIndex, ClassID);
    quotesData().SetIsProdClass();
    quotesData().reqDataFirst();
}

void ProdModelView::reLayout(gfx::Rect frame) {
    setFrame(frame);
    float w = frame.width(), h = frame.height();
    m_configMarketBarView->reLayout({0, 0, w, BarHeight});
    m_curTableView->setFrame({0, BarHeight, w, h - BarHeight - TableBottomMargin});
}

void ProdModelView::RefreshTable() {
    modeType = modeType == 1 ? 0 : 1;
    m_curTableView->decelerationRate = modeType == 0 ? 1.0f : 0.0f;
    m_curTableView->reloadData();
}

// --- Rows

int ProdModelView::numberOfRows(int) {
    return rowCount();
}

float ProdModelView::heightForRow(ui::IndexPath) {
    return modeType == 1 ? m_tableGenRowHeight : float(m_tableRowHeight);
}

base::Ref<ui::View> ProdModelView::viewForHeader(int) {
    float w = m_curTableView->bounds().width();
    auto header = base::make<ui::View>(gfx::Rect{0, 0, w, m_tableHeaderHeight});
    if (modeType == 1) {
        m_titleColumn->setBackgroundColor(gfx::Color::rgba(0.02f, 8 / 255.f, 10 / 255.f));
        if (!MarketProcessMarks::prodColumnHeaderMarked) {
            MarketProcessMarks::prodColumnHeaderMarked = true;
            m_titleColumn->SetSelectedHeader(RiseColumn);
        }
        header->addSubview(m_titleColumn);
    } else {
        m_defaultColumn->setFrame({0, 0, w, m_tableHeaderHeight});
        m_defaultColumn->setBackgroundColor(gfx::Color::rgba(0.22f, 63 / 255.f, 70 / 255.f));
        header->addSubview(m_defaultColumn);
    }
    return header;
}

base::Ref<ui::TableCell> ProdModelView::cellForRow(ui::TableView &table, ui::IndexPath path) {
    auto record = std::dynamic_pointer_cast<StockBasicInf>(recordAt(path.row));
    float w = bounds().width();
    if (modeType == 1) {
        auto cell = std::dynamic_pointer_cast<GeneralCell>(table.dequeueReusableCell(ColumnRowIdentifier));
        if (!cell) {
            cell = base::make<GeneralCell>(ui::TableCell::Style::Default, ColumnRowIdentifier,
                                           gfx::Rect{0, 0, w, m_tableGenRowHeight});
            cell->SetFormatArray(m_columnArray);
        }
        if (record)
            QuoteRows::fillCommodityColumnRow(*cell, path.row, *record, m_columnArray);
        return cell;
    }
    auto cell = std::dynamic_pointer_cast<ProdModelCell>(table.dequeueReusableCell(TrendRowIdentifier));
    if (!cell)
        cell = base::make<ProdModelCell>(ui::TableCell::Style::Default, TrendRowIdentifier,
                                         gfx::Rect{0, 0, w, float(m_tableRowHeight)});
    if (record) {
        QuoteRows::fillCommodityTrendRow(*cell, Util::FormatSerialNumberVertical(path.row + 1), *record,
                                         m_rankFields);
        showMView(*cell, *record);
    }
    return cell;
}

void ProdModelView::didSelectRow(ui::IndexPath path) {
    base::Ref<StockQuoteInf> record = recordAt(path.row);
    auto d = delegate.lock();
    if (!record || !d)
        return;
    base::Array rows;
    for (int i = 0; i < rowCount(); ++i)
        rows.add(base::Value(recordAt(i)));
    d->ReturnStockCodeMarket(record->code, ModuleName, path.row, rows);
}

// --- Refresh

void ProdModelView::resetTimerCenterOnScroll() {
    if (auto d = delegate.lock())
        d->resetTimerCenterOnScroll(curTabIndex);
}

bool ProdModelView::NotifyTimeEvent() {
    quotesData().reqStockQuotes(0, 0);
    return true;
}

void ProdModelView::reqCurScreenData(bool) {
    if (modeType != 0)
        return;
    std::vector<base::Ref<StockQuoteInf>> shown;
    for (ui::IndexPath path : m_curTableView->indexPathsForVisibleRows())
        if (base::Ref<StockQuoteInf> record = recordAt(path.row))
            shown.push_back(record);
    mviews().reqMinLinesWithQuotesArray(shown, quotesData().observerName(), curTabIndex + 1);
}

base::Opt<void> ProdModelView::UpdateTableDataSource(const base::Ref<base::Object> &rows,
                                                     bool isFirstGetQuotes) {
    MarketTableBaseView::UpdateTableDataSource(rows, isFirstGetQuotes);
    if (!isFirstGetQuotes)
        reqCurScreenData(false);
    return {};
}

// --- Bar and class menu

base::Opt<void> ProdModelView::PerformAction(ui::Button &button) {
    if (button.tag == ConfigMarketBarView::MenuButtonTag)
        openClassMenu(button);
    else if (button.tag == ConfigMarketBarView::ModeButtonTag)
        RefreshTable();
    return {};
}

// Each opening starts at the first level with the class tree as the server last sent it.
void ProdModelView::openClassMenu(ui::Button &button) {
    base::Ref<SwitchMarketMenuController> menu = m_classMenu.lock();
    if (!m_switchMarketMenuPopoverController || !menu) {
        menu = base::make<SwitchMarketMenuController>();
        menu->delegate = weakSelf<ProdModelView>();
        m_classMenu = menu;
        m_switchMarketMenuPopoverController =
            base::make<ui::Popover>(base::make<ui::NavigationController>(menu));
    }
    if (auto *nav = dynamic_cast<ui::NavigationController *>(&m_switchMarketMenuPopoverController->content()))
        nav->popToRoot(false);
    const base::Ref<NetDataCenter> &center = DataBase::sharedDataBase()->IO_NetDataCenter();
    // A copy of its own, so that a tree received while the menu shows leaves its rows alone.
    menu->SetMenuItemsArray(center ? center->IO_ProdClassList().deepCopy() : base::Array{});
    m_switchMarketMenuPopoverController->presentFromRect(button.frame(), *button.superview(), ui::ArrowAny,
                                                         true);
}

base::Opt<void> ProdModelView::ReturnSelectedMarket(const base::Value &row) {
    if (m_switchMarketMenuPopoverController)
        m_switchMarketMenuPopoverController->dismiss(true);
    m_currentSelMarketTitle = row["MENU_NAME"].stringValue();
    m_configMarketBarView->SetLeftButtonListTitle(m_currentSelMarketTitle);
    resetQuotesClassId(int(row["CLASS_ID"].intValue()));
    return {};
}

// --- Sorting

base::Opt<void> ProdModelView::ClickHeaderAction(GeneralHeaderView &, int column, int status) {
    m_titleColumn->SetSelectedHeader(column);
    if (column < 0 || column >= int(m_columnArray.size()))
        return {};
    base::Value entry = m_columnArray[size_t(column)];
    if (!entry["Enabled"].boolValue() || entry["ColID"].isNull())
        return {};
    resetQuotesSortId(StockInterface::GetProdSortID(int32_t(entry["ColID"].intValue())), status ? 1 : 0);
    return {};
}

base::Opt<void> ProdModelView::ReturnUpdownTag(int upDown, int classID, int) {
    resetQuotesSortId(StockInterface::GetProdSortID(classID), upDown);
    return {};
}

base::Opt<void> ProdModelView::ReturnSelectedFieldName(const std::string &, int classID, int headerID) {
    if (headerID >= 2 && headerID < DefaultColumn::HeaderCount)
        m_rankFields[size_t(headerID - 2)] = classID;
    resetQuotesSortId(StockInterface::GetProdSortID(classID), 0);
    // The rows show the new field even when the sort was already by it.
    m_curTableView->reloadData();
    return {};
}
