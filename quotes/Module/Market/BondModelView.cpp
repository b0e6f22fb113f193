#include "Module/Market/BondModelView.h"

#include "Module/Market/BoardModelView.h"
#include "Module/Market/QuoteRows.h"

#include "ui/NavigationController.h"

namespace {

constexpr int BondValueWidth = 94;

} // namespace

// The board ranking's columns, the values a point narrower.
base::Array BondModelView::makeColumnArray() {
    base::Array columns = BoardModelView::makeColumnArray();
    for (size_t i = 2; i < columns.size(); ++i)
        columns[i].dict()->set("ColWidth", BondValueWidth);
    return columns;
}

BondModelView::BondModelView(gfx::Rect frame)
    : BondModelView(frame,
                    {TabIndex, ClassID, ObserverName, ModuleName, DefaultMarketTitle, MenuFile,
                     &MarketProcessMarks::bondColumnHeaderMarked},
                    makeColumnArray()) {}

BondModelView::BondModelView(gfx::Rect frame, const ListKind &kind, base::Array columns)
    : MarketTableBaseView(frame), m_columnArray(std::move(columns)), m_kind(kind),
      m_currentSelMarketTitle(kind.marketTitle) {
    isPagesMode = true;
    modeType = 1;
    curTabIndex = kind.tabIndex;
}

void BondModelView::makeTitleColumn() {
    m_titleColumn = base::make<GeneralColumn>(
        gfx::Rect{0, 0, m_curTableView->bounds().width(), m_tableHeaderHeight}, m_columnArray);
    m_titleColumn->delegate = weakSelf<BondModelView>();
}

void BondModelView::setUp() {
    MarketTableBaseView::setUp();
    float w = bounds().width(), h = bounds().height();
    setBackgroundColor(gfx::Color::clear());
    m_configMarketBarView = base::make<ConfigMarketBarView>(gfx::Rect{0, 0, w, BarHeight});
    m_configMarketBarView->delegate = weakSelf<BondModelView>();
    m_configMarketBarView->SetLeftButtonListTitle(m_currentSelMarketTitle);
    m_configMarketBarView->SetModeButtonShow(0);
    addSubview(m_configMarketBarView);

    makeListTable({0, BarHeight, w, h - BarHeight});

    makeTitleColumn();

    quotesData().SetObserverName(m_kind.observerName, m_kind.tabIndex, m_kind.classID);
    quotesData().reqDataFirst();
}

void BondModelView::reLayout(gfx::Rect frame) {
    setFrame(frame);
    float w = frame.width(), h = frame.height();
    m_configMarketBarView->reLayout({0, 0, w, BarHeight});
    m_curTableView->setFrame({0, BarHeight, w, h - 54});
}

void BondModelView::SetCurrentSelectedMarketTitle(const std::string &title, int) {
    m_currentSelMarketTitle = title;
    m_configMarketBarView->SetLeftButtonListTitle(title);
}

int BondModelView::numberOfRows(int) {
    return rowCount();
}

base::Ref<ui::View> BondModelView::viewForHeader(int) {
    float w = m_curTableView->bounds().width();
    auto header = base::make<ui::View>(gfx::Rect{0, 0, w, m_tableHeaderHeight});
    if (!*m_kind.firstHeaderMarked) {
        *m_kind.firstHeaderMarked = true;
        m_titleColumn->SetSelectedHeader(RiseColumn);
    }
    m_titleColumn->setBackgroundColor(gfx::Color::rgba(0.02f, 8 / 255.f, 10 / 255.f));
    header->addSubview(m_titleColumn);
    return header;
}

base::Ref<ui::TableCell> BondModelView::cellForRow(ui::TableView &table, ui::IndexPath path) {
    base::Ref<GeneralCell> cell = dequeueColumnRow(table, m_columnArray);
    if (base::Ref<StockQuoteInf> record = recordAt(path.row))
        QuoteRows::fillColumnRow(*cell, path.row, *record, m_columnArray, false);
    return cell;
}

void BondModelView::didSelectRow(ui::IndexPath path) {
    base::Ref<StockQuoteInf> record = recordAt(path.row);
    auto d = delegate.lock();
    if (!record || !d)
        return;
    base::Array rows;
    for (int i = 0; i < rowCount(); ++i)
        rows.add(base::Value(recordAt(i)));
    d->ReturnStockCodeMarket(record->code, m_kind.moduleName, path.row, rows);
}

void BondModelView::resetTimerCenterOnScroll() {
    if (auto d = delegate.lock())
        d->resetTimerCenterOnScroll(curTabIndex);
}

base::Opt<void> BondModelView::PerformAction(ui::Button &button) {
    if (button.tag == ConfigMarketBarView::MenuButtonTag)
        openMarketMenu(button);
    return {};
}

void BondModelView::openMarketMenu(ui::Button &button) {
    if (!m_switchMarketMenuPopoverController) {
        auto menu = base::make<SwitchMarketMenuController>();
        menu->delegate = weakSelf<BondModelView>();
        menu->SetMenuItemsArray(loadBundleList(m_kind.menuFile));
        m_switchMarketMenuPopoverController =
            base::make<ui::Popover>(base::make<ui::NavigationController>(menu));
    }
    m_switchMarketMenuPopoverController->presentFromRect(button.bounds(), button, ui::ArrowUp, true);
}

base::Opt<void> BondModelView::ReturnSelectedMarket(const base::Value &row) {
    if (m_switchMarketMenuPopoverController)
        m_switchMarketMenuPopoverController->dismiss(true);
    int classID = int(row["CLASS_ID"].intValue());
    SetCurrentSelectedMarketTitle(row["MENU_NAME"].stringValue(), classID);
    resetQuotesClassId(classID);
    if (auto target = parentControllerTarget.lock())
        target->SetCurrMarket(row, curTabIndex);
    return {};
}

base::Opt<void> BondModelView::ClickHeaderAction(GeneralHeaderView &, int column, int status) {
    m_titleColumn->SetSelectedHeader(column);
    if (column < 0 || column >= int(m_columnArray.size()))
        return {};
    base::Value entry = m_columnArray[size_t(column)];
    if (!entry["Enabled"].boolValue() || entry["ColID"].isNull())
        return {};
    resetQuotesSortId(int(entry["ColID"].intValue()), status ? 1 : 0);
    return {};
}
