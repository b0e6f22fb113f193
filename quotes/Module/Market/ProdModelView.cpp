#include "Module/Market/ProdModelView.h"

#include "Module/Market/ProdModelCell.h"
#include "Module/Market/QuoteRows.h"

#include "Common/Util.h"
#include "DataBase/DataBase.h"
#include "DataBase/NetData/StockInterface.h"
#include "ui/NavigationController.h"

namespace {

constexpr float TableBottomMargin = 18;

using QuoteRows::column;

} // namespace

base::Array ProdModelView::makeColumnArray() {
    return {column("No.", -1, 39, false, "INDEX"), column(" 名称", 9, 91, true, "NAME"),
            column("最新 ", 4, 88, true),          column("涨幅 ", 526, 88, true),
            column("涨跌 ", 525, 88, false),       column("结算价 ", 514, 88, false),
            column("昨结算 ", 515, 88, false),     column("总手 ", 2, 88, true),
            column("总额 ", 3, 88, false),         column("持仓 ", 512, 88, true),
            column("昨持仓 ", 513, 88, false),     column("日增 ", 517, 88, true)};
}

ProdModelView::ProdModelView(gfx::Rect frame) : RankedMarketListView(frame) {
    isPagesMode = false;
    modeType = 0;
    curTabIndex = TabIndex;
    m_menu_1_Array = loadBundleList(FieldMenuFile);
    m_columnArray = makeColumnArray();
    m_rankFields = {512, 2, 517};
}

void ProdModelView::setUp() {
    MarketTableBaseView::setUp();
    float w = bounds().width(), h = bounds().height();
    setBackgroundColor(gfx::Color::clear());
    m_configMarketBarView = base::make<ConfigMarketBarView>(gfx::Rect{0, 0, w, BarHeight});
    m_configMarketBarView->delegate = weakSelf<ProdModelView>();
    m_configMarketBarView->SetLeftButtonListTitle(m_currentSelMarketTitle);
    addSubview(m_configMarketBarView);

    makeListTable({0, BarHeight, w, h - BarHeight});
    makeHeaders(w);
    SetHeaderFields(m_menu_1_Array, HeaderFields);

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

// --- Rows

base::Ref<ui::View> ProdModelView::viewForHeader(int) {
    return makeModeHeader(MarketProcessMarks::prodColumnHeaderMarked, RiseColumn);
}

base::Ref<ui::TableCell> ProdModelView::cellForRow(ui::TableView &table, ui::IndexPath path) {
    auto record = std::dynamic_pointer_cast<StockBasicInf>(recordAt(path.row));
    if (modeType == 1) {
        base::Ref<GeneralCell> cell = dequeueColumnRow(table, m_columnArray);
        if (record)
            QuoteRows::fillCommodityColumnRow(*cell, path.row, *record, m_columnArray);
        return cell;
    }
    base::Ref<ProdModelCell> cell = dequeueTrendRow<ProdModelCell>(table);
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
    if (record && d)
        d->ReturnStockCodeMarket(record->code, ModuleName, path.row, heldRecords());
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

int ProdModelView::sortIdOfField(int field) const {
    return StockInterface::GetProdSortID(field);
}
