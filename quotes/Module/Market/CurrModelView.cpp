#include "Module/Market/CurrModelView.h"

#include "Module/Market/QuoteRows.h"

#include "Common/TimeFunc.h"
#include "ui/NavigationController.h"

namespace {

constexpr const char *TileIdentifier = "gridIdentifierTile";
constexpr const char *ListRowIdentifier = "grenresIdentifier";
// The list rows show the previous close, the open and the amplitude.
constexpr std::array<int32_t, 3> ValueFields{503, 504, 22};
constexpr float TableTop = 60, TableBottomMargin = 20;
const gfx::Rect LeftButtonFrame{1, 1, 150, 28};

} // namespace

CurrModelView::CurrModelView(gfx::Rect frame) : MarketTableBaseView(frame) {
    isPagesMode = true;
    modeType = 0;
    curTabIndex = TabIndex;
    m_menu_1_Array = loadBundleList(FieldMenuFile);
}

void CurrModelView::setUp() {
    MarketTableBaseView::setUp();
    float w = bounds().width(), h = bounds().height();
    setBackgroundColor(gfx::Color::clear());
    makeListTable({0, TableTop, w, h - TableTop - TableBottomMargin});
    m_curTableView->tag = TableTag;

    m_defaultColumn = base::make<DefaultColumn>(gfx::Rect{0, 0, w, m_tableHeaderHeight});
    m_defaultColumn->SetDefaultSelectedHeader(-1);
    for (int id = 0; id < DefaultColumn::HeaderCount; ++id)
        m_defaultColumn->SetPullList(m_menu_1_Array, FirstHeaderClassID + id, id);
    for (int id = 2; id < DefaultColumn::HeaderCount; ++id)
        m_defaultColumn->SetEnableRank(false, false, id);
    makeLeftButton();

    quotesData().SetObserverName(ObserverName, TabIndex, ClassID);
    quotesData().SetSortID(0);
    quotesData().SetIsCurrClass();
    quotesData().reqDataFirst();
}

void CurrModelView::makeLeftButton() {
    m_leftButton = ui::Button::custom(LeftButtonFrame);
    m_leftButton->tag = MenuButtonTag;
    base::Ref<gfx::Image> background = gfx::Image::named("configbar_btn.png");
    m_leftButton->setBackgroundImage(background ? background->stretchable(5, 5) : nullptr);
    float bw = LeftButtonFrame.width(), bh = LeftButtonFrame.height();
    m_leftButton->addSubview(base::make<ui::ImageView>(gfx::Rect{bw - 20, (bh - 11) / 2 + 2, 13, 11},
                                                       gfx::Image::named("configbar_btn_arrow.png")));
    m_leftButton->setTitle(DefaultMarketTitle);
    m_leftButton->addTarget(BASE_ACTION(this, leftButtonAction), ui::TouchUpInside);
}

void CurrModelView::reLayout(gfx::Rect frame) {
    setFrame(frame);
    m_curTableView->setFrame({0, 0, frame.width(), frame.height() - TableBottomMargin});
    m_curTableView->reloadData();
}

// --- Rows

int CurrModelView::numberOfRows(int section) {
    return section == TileSection ? 1 : rowCount();
}

float CurrModelView::heightForRow(ui::IndexPath path) {
    return path.section == TileSection ? TileRowHeight : float(m_tableRowHeight);
}

float CurrModelView::heightForHeader(int section) {
    return section == TileSection ? 0 : m_tableHeaderHeight;
}

base::Ref<ui::View> CurrModelView::viewForHeader(int section) {
    float w = m_curTableView->bounds().width();
    auto header = base::make<ui::View>(gfx::Rect{0, 0, w, heightForHeader(section)});
    header->setBackgroundColor(gfx::Color::clear());
    if (section == TileSection)
        return header;
    m_defaultColumn->setFrame({0, 0, w, m_tableHeaderHeight});
    m_defaultColumn->setBackgroundColor(gfx::Color::rgba(0.22f, 63 / 255.f, 70 / 255.f));
    m_defaultColumn->opaque = true;
    header->addSubview(m_defaultColumn);
    header->addSubview(m_leftButton);
    return header;
}

base::Ref<ui::TableCell> CurrModelView::cellForRow(ui::TableView &table, ui::IndexPath path) {
    return path.section == TileSection ? tileCell(table) : listCell(table, path.row);
}

base::Ref<ui::TableCell> CurrModelView::tileCell(ui::TableView &table) {
    auto cell = std::dynamic_pointer_cast<CurrTileCell>(table.dequeueReusableCell(TileIdentifier));
    if (!cell)
        cell = base::make<CurrTileCell>(ui::TableCell::Style::Default, TileIdentifier,
                                        gfx::Rect{0, 0, bounds().width(), TileRowHeight});
    cell->StockCodeLabel().setText(TileCode);
    cell->StockNameLabel().setText(TileName);
    if (!m_udiBasicInf)
        return cell;
    const StockQuoteInf &udi = *m_udiBasicInf;
    cell->UpDownLabel().setText(udi.FormatValue(502));
    cell->RangeLabel().setText(udi.FormatValue(1));
    cell->LastLabel().setText(udi.FormatValue(4));
    const char *captions[] = {"昨收", "开盘", "振幅"};
    for (int i = 0; i < 3; ++i) {
        cell->valueLabelName(i).setText(captions[i]);
        cell->valueLabel(i).setText(udi.FormatValue(ValueFields[size_t(i)]));
    }
    cell->setUpDownMarkImage(float(udi.newprice > 0 ? udi.newprice - udi.closeprice : 0));
    showMView(*cell, udi);
    return cell;
}

base::Ref<ui::TableCell> CurrModelView::listCell(ui::TableView &table, int row) {
    auto cell = std::dynamic_pointer_cast<CurrModelCell>(table.dequeueReusableCell(ListRowIdentifier));
    if (!cell)
        cell = base::make<CurrModelCell>(ui::TableCell::Style::Default, ListRowIdentifier,
                                         gfx::Rect{0, 0, bounds().width(), float(m_tableRowHeight)});
    if (base::Ref<StockQuoteInf> record = recordAt(row)) {
        QuoteRows::fillTrendRow(*cell, "", *record, ValueFields);
        showMView(*cell, *record);
    }
    return cell;
}

void CurrModelView::didSelectRow(ui::IndexPath path) {
    std::string code = StockQuotesData::UDICode;
    if (path.section == ListSection) {
        base::Ref<StockQuoteInf> record = recordAt(path.row);
        if (!record || record->code.empty())
            return;
        code = record->code;
    }
    auto d = delegate.lock();
    if (!d)
        return;
    base::Array rows;
    for (int i = 0; i < rowCount(); ++i)
        rows.add(base::Value(recordAt(i)));
    d->ReturnStockCodeMarket(code, ModuleName, path.section == ListSection ? path.row : 0, rows);
}

// --- Refresh

bool CurrModelView::isTileVisible() const {
    for (ui::IndexPath path : m_curTableView->indexPathsForVisibleRows())
        if (path.section == TileSection)
            return true;
    return false;
}

bool CurrModelView::NotifyTimeEvent() {
    bool listShown = MarketTableBaseView::NotifyTimeEvent();
    bool tileShown = isTileVisible();
    if (tileShown)
        quotesData().reqUDI();
    return listShown || tileShown;
}

void CurrModelView::resetTimerCenterOnScroll() {
    if (auto d = delegate.lock())
        d->resetTimerCenterOnScroll(curTabIndex);
}

base::Opt<void> CurrModelView::UpdateUDI(const base::Ref<StockQuoteInf> &record) {
    m_udiBasicInf = record;
    m_curTableView->reloadData();
    return {};
}

base::Opt<void> CurrModelView::UpdateUDIMinLine(const std::string &code, const MinutePoints &points) {
    // Drawn as high as the tile's picture frame, so that its scale labels are not cut off.
    base::Ref<MiniMinLineView> mview =
        mviews().getMViewWithCreate(code, (TileRowHeight - CurrTileCell::BottomGap) * 0.8f);
    mview->canRemove = false;
    mview->setBasicInf(m_udiBasicInf);
    if (mview->basicInf()) {
        mview->updateTick = TimeFunc::getCurTick();
        mview->Update(mview->basicInf(), toMinLineList(points));
    }
    for (const auto &cell : m_curTableView->visibleCells())
        if (auto *tile = dynamic_cast<CurrTileCell *>(cell.get())) {
            tile->showMView(mview);
            break;
        }
    return {};
}

// --- The market menu

void CurrModelView::leftButtonAction(ui::Button *) {
    if (!m_switchMarketMenuPopoverController) {
        auto menu = base::make<SwitchMarketMenuController>();
        menu->delegate = weakSelf<CurrModelView>();
        menu->SetMenuItemsArray(loadBundleList(MenuFile));
        m_switchMarketMenuPopoverController =
            base::make<ui::Popover>(base::make<ui::NavigationController>(menu));
    }
    m_switchMarketMenuPopoverController->presentFromRect(m_leftButton->bounds(), *m_leftButton, ui::ArrowUp,
                                                         true);
}

base::Opt<void> CurrModelView::ReturnSelectedMarket(const base::Value &row) {
    if (m_switchMarketMenuPopoverController)
        m_switchMarketMenuPopoverController->dismiss(true);
    m_leftButton->setTitle(row["MENU_NAME"].stringValue());
    resetQuotesClassId(int(row["CLASS_ID"].intValue()));
    if (auto target = parentControllerTarget.lock())
        target->SetCurrMarket(row, curTabIndex);
    return {};
}
