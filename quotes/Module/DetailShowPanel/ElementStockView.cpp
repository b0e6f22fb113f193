#include "Module/DetailShowPanel/ElementStockView.h"

#include "Common/StylePool.h"
#include "Common/Util.h"
#include "Module/DetailShowPanel/ElementBoardView.h"
#include "gfx/Font.h"
#include "gfx/Image.h"
#include "ui/ImageView.h"

namespace {

constexpr int kLastField = 4, kRangeField = 1;

base::Ref<ui::Label> makeLabel(base::Ref<gfx::Font> font, base::Ref<gfx::Color> colour,
                               gfx::Align alignment = gfx::Align::Left) {
    auto label = base::make<ui::Label>();
    label->setFont(std::move(font));
    label->setTextColor(std::move(colour));
    label->setBackgroundColor(gfx::Color::clear());
    label->setTextAlignment(alignment);
    return label;
}

} // namespace

ElementStockCell::ElementStockCell(const std::string &identifier)
    : ui::TableCell(Style::Default, identifier) {
    m_background = base::make<ui::View>();
    setBackgroundView(m_background);
    m_SNLabel = makeLabel(gfx::Font::boldSystem(9), gfx::Color::white(), gfx::Align::Center);
    m_SNLabel->setNumberOfLines(0);
    m_SNLabel->setBackgroundColor(gfx::Color::rgba(23 / 255.f, 107 / 255.f, 184 / 255.f));
    m_nameLabel = makeLabel(gfx::Font::system(14), gfx::Color::white());
    m_codeLabel = makeLabel(gfx::Font::boldSystem(11), gfx::Color::rgba(1, 1, 0));
    m_lastLabel = makeLabel(gfx::Font::system(14), gfx::Color::white(), gfx::Align::Right);
    m_rangeLabel = makeLabel(gfx::Font::system(14), gfx::Color::white(), gfx::Align::Right);
    for (const auto &label : {m_SNLabel, m_nameLabel, m_codeLabel, m_lastLabel, m_rangeLabel})
        contentView().addSubview(label);
}

void ElementStockCell::layoutSubviews() {
    ui::TableCell::layoutSubviews();
    float w = bounds().width(), h = bounds().height();
    float a = w - 16, c = a / 3, d = h / 2;
    m_SNLabel->setFrame({0, 0, 7, h});
    m_nameLabel->setFrame({9, 2, c, d});
    m_codeLabel->setFrame({9, d, c, d});
    m_lastLabel->setFrame({c + 9, 0, c, h});
    m_rangeLabel->setFrame({2 * a / 3 + 9, 0, c, h});
}

void ElementStockCell::SetCellBgColor(base::Ref<gfx::Color> colour) {
    m_background->setBackgroundColor(std::move(colour));
}

struct ElementStockView::Relay : ui::TableDataSource, ui::TableDelegate {
    base::Weak<ElementStockView> view;

    int numberOfRows(ui::TableView &, int) override {
        auto v = view.lock();
        return v ? int(v->m_dataArray->items.size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto cell = std::dynamic_pointer_cast<ElementStockCell>(table.dequeueReusableCell(CellIdentifier));
        if (!cell)
            cell = base::make<ElementStockCell>(CellIdentifier);
        if (auto v = view.lock())
            v->fill(*cell, path.row);
        return cell;
    }
    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override {
        auto v = view.lock();
        return v ? v->m_rowHeight : 0;
    }
    base::Opt<float> heightForHeader(ui::TableView &, int) override { return 0; }
    base::Opt<void> didSelectRow(ui::TableView &, ui::IndexPath path) override {
        if (auto v = view.lock())
            v->tapped(path.row);
        return {};
    }
    base::Opt<void> didScroll(ui::ScrollView &) override {
        if (auto v = view.lock())
            v->scrolled();
        return {};
    }
};

ElementStockView::ElementStockView(gfx::Rect frame)
    : ui::View(frame), m_relay(base::make<Relay>()),
      m_boardElementData(BoardElementsData::create(ObserverName)),
      m_rowHeight((frame.height() - TitleHeight) / RowsPerScreen), m_oldFrame{frame.x() + frame.width(),
                                                                              frame.y(), frame.width(),
                                                                              frame.height()} {
    setBackgroundColor(gfx::Color::pattern(gfx::Image::named("background.png")));
    auto titleImage = gfx::Image::named("bdNameBg.png");
    auto title = base::make<ui::ImageView>(titleImage);
    gfx::Rect titleFrame{{0, 0}, titleImage ? titleImage->size() : gfx::Size{frame.width(), TitleHeight}};
    title->setFrame(titleFrame);
    addSubview(title);
    m_boardNameBtn = base::make<ui::Button>(titleFrame);
    m_boardNameBtn->titleLabel().setFont(gfx::Font::boldSystem(18));
    m_boardNameBtn->setTitleColor(gfx::Color::white(), ui::Normal);
    m_boardNameBtn->setTitleColor(gfx::Color::white(), ui::Highlighted);
    addSubview(m_boardNameBtn);

    float top = titleFrame.height();
    m_tableView = base::make<ui::TableView>(gfx::Rect{0, top, frame.width(), frame.height() - top});
    m_tableView->setBackgroundColor(gfx::Color::clear());
    m_tableView->separatorStyle = ui::TableView::Separator::None;
    m_tableView->separatorColor = gfx::Color::clear();
    m_tableView->showsVerticalScrollIndicator = false;
    m_tableView->dataSource = m_relay;
    m_tableView->delegate = m_relay;
    addSubview(m_tableView);
}

ElementStockView::~ElementStockView() {
    m_tableView->dataSource.reset();
    m_tableView->delegate.reset();
}

void ElementStockView::setUp() {
    ui::View::setUp();
    m_relay->view = weakSelf<ElementStockView>();
    m_boardElementData->setDelegate(weakSelf<ElementStockView>());
    auto weak = weakSelf<ElementStockView>();
    m_boardNameBtn->addTarget(base::Action(weak, "backAction",
                                           [weak](base::Object *) {
                                               if (auto self = weak.lock())
                                                   self->Hide();
                                           }),
                              ui::TouchUpInside);
}

void ElementStockView::SetBoardName(const std::string &name, int boardID) {
    m_boardNameBtn->setTitle(name, ui::Normal);
    m_currentBoardID = boardID;
}

void ElementStockView::reqDataFirst() {
    m_pageAskedAt = 0;
    m_boardElementData->reqBoardStocksFirst(m_currentBoardID);
}

void ElementStockView::reqDataOnTimer() {
    if (!m_tableView->isDragging() && !m_tableView->isDecelerating())
        reqCurScreenData();
}

void ElementStockView::reqCurScreenData() {
    std::vector<ui::IndexPath> visible = m_tableView->indexPathsForVisibleRows();
    if (!visible.empty())
        m_boardElementData->reqStockQuotes(visible.front().row, int(visible.size()));
}

void ElementStockView::UpdateBoardElementArray(const base::Ref<StockQuoteList> &rows, bool) {
    m_dataArray = rows ? rows : base::make<StockQuoteList>();
    m_tableView->reloadData();
}

void ElementStockView::fill(ElementStockCell &cell, int row) {
    if (row < 0 || size_t(row) >= m_dataArray->items.size())
        return;
    const StockQuoteInf &quote = *m_dataArray->items[size_t(row)];
    cell.SetCellBgColor(ElementBoardView::RowColor(row));
    cell.SNLabel().setText(Util::FormatSerialNumberVertical(row + 1));
    cell.nameLabel().setText(quote.name);
    cell.codeLabel().setText(quote.code);
    cell.lastLabel().setText(quote.FormatValue(kLastField));
    cell.rangeLabel().setText(quote.FormatValue(kRangeField));
    const auto &colour = StylePool::Instance().getPriceColor(quote.closeprice, quote.newprice);
    cell.lastLabel().setTextColor(colour);
    cell.rangeLabel().setTextColor(colour);
}

void ElementStockView::tapped(int row) {
    auto d = delegate.lock();
    if (d && row >= 0 && size_t(row) < m_dataArray->items.size())
        d->ReturnStockMarketCode(m_dataArray->items[size_t(row)]->code,
                                 m_dataArray->items[size_t(row)]->name);
}

void ElementStockView::scrolled() {
    size_t held = m_dataArray->items.size();
    float y = m_tableView->contentOffset().y;
    if (held > m_pageAskedAt &&
        y + NextPageScreens * m_tableView->frame().height() > m_tableView->contentSize().h) {
        m_pageAskedAt = held;
        m_boardElementData->gotoQuotesNextPage();
    }
}

void ElementStockView::Show() {
    m_isShowing = true;
    setFrame(m_oldFrame);
    slide({m_oldFrame.x() - m_oldFrame.width(), m_oldFrame.y(), m_oldFrame.width(), m_oldFrame.height()});
}

void ElementStockView::Hide() {
    m_isShowing = false;
    slide(m_oldFrame);
}

void ElementStockView::slide(gfx::Rect to) {
    ui::View::animate(SlideSeconds, 0, ui::Curve::EaseInOut, [&] { setFrame(to); });
}
