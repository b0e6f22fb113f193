#include "Module/Market/StockModelView.h"

#include "Module/Market/QuoteRows.h"

#include "Common/FileFunc.h"
#include "Common/Util.h"
#include "base/FileManager.h"
#include "base/PropertyList.h"
#include "ui/NavigationController.h"

#include <cstdio>

namespace {

using QuoteRows::column;

} // namespace

base::Array StockModelView::makeColumnArray() {
    return {column("No.", -1, 39, false, "INDEX"), column(" 名称", 9, 91, true, "NAME"),
            column("最新 ", 4, 81, true),          column("涨幅 ", 1, 81, true),
            column("涨跌 ", 502, 81, false),       column("换手 ", 21, 81, true),
            column("成交量 ", 2, 81, true),        column("成交额 ", 3, 81, true),
            column("振幅 ", 22, 81, true),         column("涨速 ", 25, 81, true),
            column("量比 ", 20, 81, true),         column("市盈 ", 23, 81, true),
            column("市净 ", 24, 81, true)};
}

StockModelView::StockModelView(gfx::Rect frame) : RankedMarketListView(frame) {
    isPagesMode = true;
    modeType = 0;
    curTabIndex = TabIndex;
    m_menu_1_Array = loadBundleList(FieldMenuFile);
    m_columnArray = makeColumnArray();
}

void StockModelView::setUp() {
    MarketTableBaseView::setUp();
    float w = bounds().width(), h = bounds().height();
    setBackgroundColor(gfx::Color::clear());
    m_configMarketBarView = base::make<ConfigMarketBarView>(gfx::Rect{0, 0, w, BarHeight});
    m_configMarketBarView->delegate = weakSelf<StockModelView>();
    m_configMarketBarView->SetLeftButtonListTitle(m_currentSelMarketTitle);
    addSubview(m_configMarketBarView);

    makeListTable({0, BarHeight, w, h - BarHeight});
    makeHeaders(w);
    SetHeaderFields(m_menu_1_Array, HeaderFields);

    quotesData().SetObserverName(ObserverName, TabIndex, 0);
    quotesData().reqDataFirst();
}

void StockModelView::reLayout(gfx::Rect frame) {
    setFrame(frame);
    float w = frame.width(), h = frame.height();
    m_configMarketBarView->reLayout({0, 0, w, BarHeight});
    m_curTableView->setFrame({0, BarHeight, w, h - 54});
    m_curTableView->reloadData();
}

void StockModelView::SetCurrentSelectedMarketTitle(const std::string &title, int) {
    m_currentSelMarketTitle = title;
    m_configMarketBarView->SetLeftButtonListTitle(title);
}

base::Ref<ui::View> StockModelView::viewForHeader(int) {
    int marked = getSortColumnIndex(m_columnArray, m_iCurrentRankFeild);
    return makeModeHeader(MarketProcessMarks::columnHeaderMarked, marked >= 0 ? marked : RiseColumn);
}

base::Ref<ui::TableCell> StockModelView::cellForRow(ui::TableView &table, ui::IndexPath path) {
    return securityRow(table, path.row, recordAt(path.row), Util::FormatSerialNumberVertical(path.row + 1));
}

void StockModelView::didSelectRow(ui::IndexPath path) {
    base::Ref<StockQuoteInf> record = recordAt(path.row);
    auto d = delegate.lock();
    if (record && d)
        d->ReturnStockCodeMarket(record->code, ModuleName, path.row, heldRecords());
}

void StockModelView::resetTimerCenterOnScroll() {
    if (auto d = delegate.lock())
        d->resetTimerCenterOnScroll(curTabIndex);
}

base::Opt<void> StockModelView::PerformAction(ui::Button &button) {
    if (button.tag == ConfigMarketBarView::MenuButtonTag)
        openMarketMenu(button);
    else if (button.tag == ConfigMarketBarView::ModeButtonTag)
        RefreshTable();
    return {};
}

void StockModelView::openMarketMenu(ui::Button &button) {
    if (!m_switchMarketMenuPopoverController) {
        std::string documentsCopy = FileFunc::getFilePath(std::string(MenuFile) + ".plist");
        std::optional<base::Value> rows;
        if (base::FileManager::exists(documentsCopy))
            rows = base::PropertyList::read(documentsCopy);
        m_menuRows = rows ? *rows : base::Value(loadBundleList(MenuFile));
        auto menu = base::make<SwitchMarketMenuController>();
        menu->delegate = weakSelf<StockModelView>();
        menu->SetMenuItemsArray(m_menuRows);
        m_switchMarketMenuPopoverController =
            base::make<ui::Popover>(base::make<ui::NavigationController>(menu));
    }
    m_switchMarketMenuPopoverController->presentFromRect(button.bounds(), button, ui::ArrowUp, true);
}

base::Opt<void> StockModelView::ReturnSelectedMarket(const base::Value &row) {
    if (m_switchMarketMenuPopoverController)
        m_switchMarketMenuPopoverController->dismiss(true);
    int classID = int(row["CLASS_ID"].intValue());
    SetCurrentSelectedMarketTitle(row["MENU_NAME"].stringValue(), classID);
    resetQuotesClassId(classID);
    if (auto target = parentControllerTarget.lock())
        target->SetCurrMarket(row, curTabIndex);
    return {};
}
