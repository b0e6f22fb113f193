#include "Class/Module/ToolBarView/FullScrTradeBaseView/FullScrTradeBaseView.h"

#include "Common/UtilUI.h"
#include "Components/CMProgressWaitingView.h"
#include "DataBase/TradeDataBase/TradeDataBase.h"
#include "DataBase/WT/TradeInterface.h"
#include "Module/CommonControls/GeneralCell/GeneralCell.h"
#include "Module/CommonControls/GeneralColumn/GeneralColumn.h"

#include "gfx/Font.h"

#include <algorithm>

struct FullScrTradeBaseView::Relay : ui::TableDataSource, ui::TableDelegate {
    base::Weak<FullScrTradeBaseView> view;

    int numberOfRows(ui::TableView &, int) override {
        auto v = view.lock();
        return v ? int(v->m_dataArray.size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto v = view.lock();
        if (!v)
            return base::make<ui::TableCell>();
        return v->cellForRow(table, path);
    }
    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override { return kRowHeight; }
    base::Opt<float> heightForHeader(ui::TableView &, int) override { return kHeaderHeight; }
    base::Opt<base::Ref<ui::View>> viewForHeader(ui::TableView &, int) override {
        auto v = view.lock();
        return v ? v->headerView() : base::make<ui::View>();
    }
};

FullScrTradeBaseView::FullScrTradeBaseView(gfx::Rect frame) : ui::View(frame) {}

FullScrTradeBaseView::~FullScrTradeBaseView() = default;

void FullScrTradeBaseView::setUp() {
    ui::View::setUp();
    setBackgroundColor(gfx::Color::pattern(UtilUI::imageNamed("trader_bg.png")));
    initData();
    initUI(frame());
}

void FullScrTradeBaseView::GenTitleBar(gfx::Rect rect) {
    float s = rect.height() - 6;
    m_closeButton = ui::Button::custom({3, 3, s, s - 2});
    m_closeButton->setBackgroundImage(UtilUI::imageNamed("close_trade.png"));
    base::Weak<FullScrTradeBaseView> weak = weakSelf<FullScrTradeBaseView>();
    m_closeButton->addTarget(base::Action("CloseAction",
                                          [weak](base::Object *) {
                                              if (auto alive = weak.lock())
                                                  alive->CloseAction();
                                          }),
                             ui::TouchUpInside);
    m_titleLabel = base::make<ui::Label>(gfx::Rect{2 * s + 9, 3, rect.width() - 2 * s - 12, s});
    m_titleLabel->setBackgroundColor(gfx::Color::clear());
    m_titleLabel->setFont(gfx::Font::boldSystem(21));
    m_titleLabel->setTextColor(gfx::Color::white());
    m_titleLabel->setTextAlignment(gfx::Align::Center);
    m_progressView = base::make<CMProgressWaitingView>(gfx::Rect{0, s + 3, rect.width(), 3});
    addSubview(m_closeButton);
    addSubview(m_titleLabel);
    addSubview(m_progressView);
}

void FullScrTradeBaseView::CloseAction() {
    base::Ref<FullScrTradeBaseView> keep = self<FullScrTradeBaseView>();
    removeFromSuperview();
}

void FullScrTradeBaseView::buildTable(float stripY, float tableY, float height) {
    float w = frame().width();
    m_pageStrip =
        base::make<TradePageStrip>(gfx::Rect{0, stripY, w, TradePageStrip::kHeight}, 200, w - 117, w - 67);
    m_pageStrip->delegate = std::static_pointer_cast<TradePageStripDelegate>(self<FullScrTradeBaseView>());
    addSubview(m_pageStrip);
    m_scrollView = base::make<ui::ScrollView>(gfx::Rect{0, tableY, w, height});
    m_scrollView->setBackgroundColor(gfx::Color::clear());
    m_relay = base::make<Relay>();
    m_relay->view = weakSelf<FullScrTradeBaseView>();
    m_tableWidth = w;
    m_table = base::make<ui::TableView>(gfx::Rect{0, 0, w, height}, ui::TableView::Style::Plain);
    m_table->separatorStyle = ui::TableView::Separator::None;
    m_table->setBackgroundColor(gfx::Color::pattern(UtilUI::imageNamed("trader_bg.png")));
    m_table->rowHeight = kRowHeight;
    m_table->sectionHeaderHeight = kHeaderHeight;
    m_table->allowsSelection = false;
    m_table->dataSource = m_relay;
    m_table->delegate = m_relay;
    m_scrollView->addSubview(m_table);
    addSubview(m_scrollView);
}

void FullScrTradeBaseView::buildDateRow(float calendarY) {
    float x = (frame().width() - CMCalendarMonthView::Width) / 2;
    m_dateRange = TradeDateRange::create(*this, {0, 43}, {115, 43}, {x, calendarY});
    m_dateRange->delegate = std::static_pointer_cast<TradeDateRangeDelegate>(self<FullScrTradeBaseView>());
    m_searchBtn = ui::Button::custom({230, 43, 80, TradeDateRange::kButtonHeight});
    m_searchBtn->setTitle("查询");
    m_searchBtn->setBackgroundColor(gfx::Color::rgba(255 / 255.f, 185 / 255.f, 79 / 255.f));
    base::Weak<FullScrTradeBaseView> weak = weakSelf<FullScrTradeBaseView>();
    m_searchBtn->addTarget(base::Action("searchAction",
                                        [weak](base::Object *) {
                                            if (auto alive = weak.lock())
                                                alive->searchAction();
                                        }),
                           ui::TouchUpInside);
    addSubview(m_searchBtn);
}

base::Opt<void> FullScrTradeBaseView::prevPageAction() {
    queryData().GotoPrevPage();
    return {};
}

base::Opt<void> FullScrTradeBaseView::nextPageAction() {
    queryData().GotoNextPage();
    return {};
}

base::Opt<void> FullScrTradeBaseView::dateRangeCalendarToggled(TradeDateRange &) {
    m_pageStrip->setPageInfo("");
    return {};
}

void FullScrTradeBaseView::createColumnArray(int funcID) {
    m_columnArray = base::Array();
    m_columnArray.add(base::Dict{{"ColName", "No"},
                                 {"ColWidth", int64_t(kSerialWidth)},
                                 {"Enabled", false},
                                 {"SpecialName", "INDEX"}});
    float width = kSerialWidth;
    if (base::Ref<TradeNetDataCenter> net = TradeDataBase::sharedTradeDataBase()->IO_TradeNetData())
        net->IO_TableTitleGroup()->AddToColumnArray(m_columnArray, funcID, width);
    m_tableWidth = std::max(width + kTailWidth, m_scrollView ? m_scrollView->frame().width() : 0.f);
}

void FullScrTradeBaseView::ResetTableColumns(int funcID) {
    m_currentReqType = funcID;
    createColumnArray(funcID);
    float height = m_scrollView->frame().height();
    m_scrollView->setContentSize({m_tableWidth, height});
    gfx::Rect frame = m_table->frame();
    m_table->setFrame({frame.x(), frame.y(), m_tableWidth, frame.height()});
    m_table->reloadData();
}

void FullScrTradeBaseView::showPage(const std::optional<base::Array> &rows, const std::string &pageInfo) {
    m_pageStrip->setPageInfo(pageInfo);
    m_dataArray = rows ? *rows : base::Array();
    m_table->reloadData();
}

void FullScrTradeBaseView::showTakenOver(int funcID) {
    TradePageQueryDataBase &data = queryData();
    if (m_dateRange && data.currentStartDate())
        m_dateRange->setDates(TradeUtil::getDisplayDate(*data.currentStartDate()),
                              TradeUtil::getDisplayDate(data.currentEndDate().value_or("")));
    ResetTableColumns(funcID);
    showPage(data.getDataArrayOfCurrentPage(), data.currentPageInfo());
}

base::Ref<ui::View> FullScrTradeBaseView::headerView() {
    auto header = base::make<ui::View>(gfx::Rect{0, 0, m_table->frame().width(), kHeaderHeight});
    auto column =
        base::make<GeneralColumn>(gfx::Rect{0, 0, m_table->frame().width(), kHeaderHeight}, m_columnArray);
    column->setBackgroundColor(gfx::Color::rgba(30 / 255.f, 6 / 255.f, 70 / 255.f));
    header->addSubview(column);
    return header;
}

void FullScrTradeBaseView::styleCell(GeneralCell &cell, bool fresh, int row) {
    (void)fresh;
    cell.ResetFormatArray(m_columnArray, m_currentReqType);
    stripe(cell, row);
}

void FullScrTradeBaseView::stripe(GeneralCell &cell, int row) {
    if (row % 2 == 0)
        cell.SetCellBgColor(12, 33, 51, 1);
    else
        cell.SetCellBgColor(14, 21, 26, 1);
}

base::Ref<GeneralCell> FullScrTradeBaseView::cellForRow(ui::TableView &table, ui::IndexPath path) {
    auto cell = std::dynamic_pointer_cast<GeneralCell>(table.dequeueReusableCell(kCellIdentifier));
    bool fresh = !cell;
    if (fresh)
        cell = base::make<GeneralCell>(ui::TableCell::Style::Default, kCellIdentifier,
                                       gfx::Rect{0, 0, frame().width(), kRowHeight});
    styleCell(*cell, fresh, path.row);
    cell->indexPath = path;
    base::Array values;
    values.add(std::to_string(TradePageStrip::SerialNumber(queryData().currentPageNo(), path.row)));
    if (size_t(path.row) < m_dataArray.size())
        if (const base::Dict *row = m_dataArray[size_t(path.row)].dict())
            TradeTableTitleGroup::AddToCellArray(values, m_columnArray, *row);
    cell->SetValueArray(values);
    return cell;
}
