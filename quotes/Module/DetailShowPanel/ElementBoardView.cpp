#include "Module/DetailShowPanel/ElementBoardView.h"

#include "Common/StylePool.h"
#include "gfx/Font.h"
#include "gfx/Image.h"

namespace {

constexpr int kLastField = 4, kRangeField = 1;

base::Ref<ui::Label> makeLabel(float size, gfx::Align alignment) {
    auto label = base::make<ui::Label>();
    label->setFont(gfx::Font::system(size));
    label->setTextColor(gfx::Color::white());
    label->setBackgroundColor(gfx::Color::clear());
    label->setTextAlignment(alignment);
    return label;
}

} // namespace

ElementBoardCell::ElementBoardCell(const std::string &identifier)
    : ui::TableCell(Style::Default, identifier) {
    selectionStyle = Selection::None;
    m_background = base::make<ui::View>();
    setBackgroundView(m_background);
    m_nameLabel = makeLabel(17, gfx::Align::Left);
    m_lastLabel = makeLabel(16, gfx::Align::Right);
    m_rangeLabel = makeLabel(14, gfx::Align::Right);
    m_showTlBtn = base::make<ui::Button>();
    m_showTlBtn->setBackgroundImage(gfx::Image::named("tline_tag.png"));
    for (const auto &view : {base::Ref<ui::View>(m_nameLabel), base::Ref<ui::View>(m_lastLabel),
                             base::Ref<ui::View>(m_rangeLabel), base::Ref<ui::View>(m_showTlBtn)})
        contentView().addSubview(view);
}

void ElementBoardCell::setUp() {
    ui::TableCell::setUp();
    auto weak = weakSelf<ElementBoardCell>();
    m_showTlBtn->addTarget(base::Action(weak, "ShowTlineAction",
                                        [weak](base::Object *) {
                                            auto self = weak.lock();
                                            auto d = self ? self->delegate.lock() : nullptr;
                                            if (d)
                                                d->ShowTlineAtIndex(self->indexPath);
                                        }),
                           ui::TouchUpInside);
}

void ElementBoardCell::layoutSubviews() {
    ui::TableCell::layoutSubviews();
    float w = bounds().width(), h = bounds().height();
    float c = (w - 6) / 3, d = (h - 10) / 2;
    m_nameLabel->setFrame({3, 0, w / 3, h});
    m_lastLabel->setFrame({c + 3, 5, c, d});
    m_rangeLabel->setFrame({c + 3, d + 5, c, d});
    m_showTlBtn->setFrame({w - 33, (h - 30) / 2, 30, 30});
}

void ElementBoardCell::SetCellBgColor(base::Ref<gfx::Color> colour) {
    m_background->setBackgroundColor(std::move(colour));
}

struct ElementBoardView::Relay : ui::TableDataSource, ui::TableDelegate {
    base::Weak<ElementBoardView> view;

    int numberOfRows(ui::TableView &, int) override {
        auto v = view.lock();
        return v ? int(v->m_dataArray.size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto cell = std::dynamic_pointer_cast<ElementBoardCell>(table.dequeueReusableCell(CellIdentifier));
        if (!cell)
            cell = base::make<ElementBoardCell>(CellIdentifier);
        if (auto v = view.lock())
            v->fill(*cell, path);
        return cell;
    }
    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override { return RowHeight; }
    base::Opt<float> heightForHeader(ui::TableView &, int) override { return 0; }
    base::Opt<void> didSelectRow(ui::TableView &, ui::IndexPath path) override {
        if (auto v = view.lock())
            v->tapped(path.row);
        return {};
    }
};

base::Ref<gfx::Color> ElementBoardView::RowColor(int row) {
    return row % 2 == 0 ? gfx::Color::rgba(7 / 255.f, 54 / 255.f, 87 / 255.f)
                        : gfx::Color::rgba(0, 46 / 255.f, 76 / 255.f);
}

ElementBoardView::ElementBoardView(gfx::Rect frame) : ui::View(frame), m_relay(base::make<Relay>()) {
    setBackgroundColor(gfx::Color::clear());
    m_tableView = base::make<ui::TableView>(gfx::Rect{0, 0, frame.width(), frame.height()});
    m_tableView->setBackgroundColor(gfx::Color::clear());
    m_tableView->separatorStyle = ui::TableView::Separator::None;
    m_tableView->separatorColor = gfx::Color::clear();
    m_tableView->showsVerticalScrollIndicator = false;
    m_tableView->dataSource = m_relay;
    m_tableView->delegate = m_relay;
    addSubview(m_tableView);
}

ElementBoardView::~ElementBoardView() {
    m_tableView->dataSource.reset();
    m_tableView->delegate.reset();
}

void ElementBoardView::setUp() {
    ui::View::setUp();
    m_relay->view = weakSelf<ElementBoardView>();
}

void ElementBoardView::SetElementBoardDataArray(std::vector<base::Ref<StockBoardInf>> boards) {
    m_dataArray = std::move(boards);
    m_tableView->reloadData();
}

void ElementBoardView::fill(ElementBoardCell &cell, ui::IndexPath path) {
    if (path.row < 0 || size_t(path.row) >= m_dataArray.size())
        return;
    const StockBoardInf &board = *m_dataArray[size_t(path.row)];
    cell.SetCellBgColor(RowColor(path.row));
    cell.indexPath = path;
    cell.delegate = weakSelf<ElementBoardView>();
    cell.nameLabel().setText(board.name);
    cell.lastLabel().setText(board.FormatValue(kLastField));
    cell.rangeLabel().setText(board.FormatValue(kRangeField));
    const auto &colour = StylePool::Instance().getPriceColor(board.range);
    cell.lastLabel().setTextColor(colour);
    cell.rangeLabel().setTextColor(colour);
}

void ElementBoardView::ShowTlineAtIndex(ui::IndexPath indexPath) {
    auto d = delegate.lock();
    if (d && indexPath.row >= 0 && size_t(indexPath.row) < m_dataArray.size())
        d->ReturnTlineStock(m_dataArray[size_t(indexPath.row)]->code,
                            m_dataArray[size_t(indexPath.row)]->name);
}

void ElementBoardView::tapped(int row) {
    if (row < 0 || size_t(row) >= m_dataArray.size())
        return;
    const StockBoardInf &board = *m_dataArray[size_t(row)];
    base::Ref<ElementStockView> members = m_elementStockView.lock();
    if (!members) {
        members = base::make<ElementStockView>(gfx::Rect{0, 0, bounds().width(), bounds().height()});
        members->delegate = weakSelf<ElementBoardView>();
        addSubview(members);
        m_elementStockView = members;
    }
    members->SetBoardName(board.name, board.boardID);
    members->reqDataFirst();
    if (auto d = delegate.lock())
        d->enterBoardStocks(board.boardID, board.name);
    members->Show();
}

void ElementBoardView::reqDataOnTimer() {
    if (auto members = m_elementStockView.lock(); members && members->isShowing())
        members->reqDataOnTimer();
}

base::Opt<void> ElementBoardView::ReturnStockMarketCode(const std::string &code, const std::string &name) {
    if (auto d = delegate.lock())
        d->ReturnTlineStock(code, name);
    return {};
}
