#include "Class/Module/ToolBarView/TradeBaseView/TradeQueryPanel.h"

#include "Common/UtilUI.h"

struct TradeQueryPanel::Relay : ui::TableDataSource, ui::TableDelegate {
    base::Weak<TradeQueryPanel> panel;

    int numberOfRows(ui::TableView &, int) override {
        auto p = panel.lock();
        return p ? int(p->m_dataArray.size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto p = panel.lock();
        return p ? p->cellForRow(table, path) : base::make<ui::TableCell>();
    }
    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override {
        auto p = panel.lock();
        return p ? p->m_rowHeight : 44.f;
    }
    base::Opt<float> heightForHeader(ui::TableView &, int) override { return 0.f; }
    base::Opt<void> didSelectRow(ui::TableView &, ui::IndexPath path) override {
        if (auto p = panel.lock())
            p->didSelectRow(path);
        return {};
    }
};

void TradeQueryPanel::buildPanel(gfx::Rect frame, float stripY, float textWidth, float prevX, float nextX,
                                 float tableY, float rowHeight) {
    float w = frame.width(), h = frame.height();
    m_rowHeight = rowHeight;
    GenTitleBar({0, 0, w, kTitleBarHeight});
    closeButton()->addTarget(action("CloseAction", &TradeQueryPanel::CloseAction), ui::TouchUpInside);
    zoomInButton()->addTarget(action("FullScreenAction", &TradeQueryPanel::FullScreenAction),
                              ui::TouchUpInside);
    setBackgroundColor(gfx::Color::pattern(UtilUI::imageNamed("trader_bg.png")));
    m_pageStrip =
        base::make<TradePageStrip>(gfx::Rect{0, stripY, w, TradePageStrip::kHeight}, textWidth, prevX, nextX);
    m_pageStrip->delegate = std::static_pointer_cast<TradePageStripDelegate>(self<TradeQueryPanel>());
    addSubview(m_pageStrip);
    m_relay = base::make<Relay>();
    m_relay->panel = weakSelf<TradeQueryPanel>();
    m_table = base::make<ui::TableView>(gfx::Rect{0, tableY, w, h - tableY}, ui::TableView::Style::Plain);
    m_table->setBackgroundColor(gfx::Color::clear());
    m_table->rowHeight = rowHeight;
    m_table->dataSource = m_relay;
    m_table->delegate = m_relay;
    addSubview(m_table);
}

void TradeQueryPanel::buildDateRow(float calendarY) {
    m_dateRange = TradeDateRange::create(*this, {20, kDateRowY}, {135, kDateRowY}, {0, calendarY});
    m_dateRange->delegate = std::static_pointer_cast<TradeDateRangeDelegate>(self<TradeQueryPanel>());
    m_searchBtn = ui::Button::custom({250, kDateRowY, 50, TradeDateRange::kButtonHeight});
    m_searchBtn->setTitle("查询");
    m_searchBtn->setBackgroundColor(gfx::Color::rgba(255 / 255.f, 185 / 255.f, 79 / 255.f));
    m_searchBtn->addTarget(action("searchAction", &TradeQueryPanel::searchAction), ui::TouchUpInside);
    addSubview(m_searchBtn);
}

base::Opt<void> TradeQueryPanel::prevPageAction() {
    queryData().GotoPrevPage();
    return {};
}

base::Opt<void> TradeQueryPanel::nextPageAction() {
    queryData().GotoNextPage();
    return {};
}

base::Opt<void> TradeQueryPanel::dateRangeCalendarToggled(TradeDateRange &) {
    m_pageStrip->setPageInfo("");
    return {};
}

void TradeQueryPanel::showPage(const std::optional<base::Array> &rows, const std::string &pageInfo) {
    m_pageStrip->setPageInfo(pageInfo);
    m_dataArray = rows ? *rows : base::Array();
    m_table->reloadData();
}

std::string TradeQueryPanel::serialText(int row) {
    return TradePageStrip::FormatSerialNumberVertical(
        TradePageStrip::SerialNumber(queryData().currentPageNo(), row));
}

base::Dict TradeQueryPanel::rowAt(int row) const {
    if (row < 0 || size_t(row) >= m_dataArray.size())
        return base::Dict();
    const base::Dict *dict = m_dataArray[size_t(row)].dict();
    return dict ? *dict : base::Dict();
}

void TradeQueryPanel::presentFullScreen(const base::Ref<ui::View> &view) {
    auto parent = parentView.lock();
    if (!parent)
        return;
    if (auto earlier = m_fullScreenView.lock())
        earlier->removeFromSuperview();
    parent->addSubview(view);
    m_fullScreenView = view;
}

void TradeQueryPanel::panelWillDismiss() {
    if (auto view = m_fullScreenView.lock())
        view->removeFromSuperview();
    m_fullScreenView.reset();
}
