#include "Module/DetailShowPanel/BuySellPanelView.h"

#include "Common/StylePool.h"
#include "Common/Util.h"
#include "base/Str.h"
#include "gfx/Font.h"
#include "gfx/Image.h"

namespace {

constexpr float kTitleFontSize = 16, kVolumeFontSize = 14;

base::Ref<ui::Label> makeLabel(base::Ref<gfx::Font> font, gfx::Align alignment) {
    auto label = base::make<ui::Label>();
    label->setFont(std::move(font));
    label->setTextAlignment(alignment);
    label->setTextColor(gfx::Color::white());
    label->setBackgroundColor(gfx::Color::clear());
    return label;
}

} // namespace

BuySellPanelCell::BuySellPanelCell(const std::string &identifier)
    : ui::TableCell(Style::Default, identifier) {
    selectionStyle = Selection::Gray;
    m_backgroundImage = base::make<ui::ImageView>(gfx::Image::named("buysellcell_bg.png"));
    m_titleLabel = makeLabel(gfx::Font::named("Helvetica", kTitleFontSize), gfx::Align::Left);
    m_titleTextLabel = makeLabel(gfx::Font::named("Helvetica", kTitleFontSize), gfx::Align::Right);
    m_valueLabel1 = makeLabel(gfx::Font::boldSystem(kTitleFontSize), gfx::Align::Right);
    m_valueLabel2 = makeLabel(gfx::Font::named("Gurmukhi", kVolumeFontSize), gfx::Align::Right);
    for (const auto &view : {base::Ref<ui::View>(m_backgroundImage), base::Ref<ui::View>(m_titleLabel),
                             base::Ref<ui::View>(m_titleTextLabel), base::Ref<ui::View>(m_valueLabel1),
                             base::Ref<ui::View>(m_valueLabel2)})
        contentView().addSubview(view);
}

void BuySellPanelCell::layoutSubviews() {
    ui::TableCell::layoutSubviews();
    float w = bounds().width(), h = bounds().height();
    m_backgroundImage->setFrame({0, 0, w, h});
    m_titleLabel->setFrame({2 * h / 3 + 15, 0, w / 3, h});
    m_titleTextLabel->setFrame({25, 0, 40, h});
    m_valueLabel1->setFrame({w / 3 - 5, 0, w / 3, h});
    m_valueLabel2->setFrame({2 * w / 3 - 5, 0, w / 3, h});
}

void BuySellPanelCell::SetLabelTitle(const std::string &side, const std::string &level) {
    m_titleLabel->setText(side);
    m_titleTextLabel->setText(level);
}

void BuySellPanelCell::SetValueUpdown(int difference) {
    m_valueLabel1->setTextColor(StylePool::Instance().getPriceColor(difference));
}

BuySellPanelHeader::BuySellPanelHeader(gfx::Rect frame) : ui::View(frame) {
    m_backgroundImage = base::make<ui::ImageView>(gfx::Rect{0, 0, frame.width(), frame.height()});
    m_titleLabel = base::make<ui::Label>(gfx::Rect{0, 0, frame.width(), frame.height()});
    m_titleLabel->setBackgroundColor(gfx::Color::clear());
    addSubview(m_backgroundImage);
    addSubview(m_titleLabel);
}

struct BuySellPanelView::Relay : ui::TableDataSource, ui::TableDelegate {
    base::Weak<BuySellPanelView> panel;

    int numberOfSections(ui::TableView &) override { return 2; }
    int numberOfRows(ui::TableView &, int) override {
        auto p = panel.lock();
        return p ? p->m_fieldNum : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto cell = std::dynamic_pointer_cast<BuySellPanelCell>(table.dequeueReusableCell(CellIdentifier));
        if (!cell)
            cell = base::make<BuySellPanelCell>(CellIdentifier);
        if (auto p = panel.lock())
            p->fill(*cell, path.section, path.row);
        return cell;
    }
    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override {
        auto p = panel.lock();
        return p ? p->m_tableRowHeight : 0;
    }
    base::Opt<float> heightForHeader(ui::TableView &, int section) override {
        return section == 1 ? HeaderHeight : 0;
    }
    base::Opt<base::Ref<ui::View>> viewForHeader(ui::TableView &table, int section) override {
        if (section != 1)
            return base::Ref<ui::View>();
        auto holder = base::make<ui::View>(gfx::Rect{0, 0, table.bounds().width(), HeaderHeight});
        holder->addSubview(
            base::make<BuySellPanelHeader>(gfx::Rect{0, 0, table.bounds().width(), HeaderHeight}));
        return holder;
    }
    base::Opt<void> didSelectRow(ui::TableView &, ui::IndexPath path) override {
        if (auto p = panel.lock())
            p->tapped(path.section, path.row);
        return {};
    }
};

BuySellPanelView::BuySellPanelView(gfx::Rect frame) : ui::View(frame), m_relay(base::make<Relay>()) {
    setBackgroundColor(gfx::Color::clear());
    m_tableView = base::make<ui::TableView>(gfx::Rect{0, 0, frame.width(), frame.height()});
    m_tableView->scrollEnabled = false;
    m_tableView->separatorStyle = ui::TableView::Separator::None;
    m_tableView->separatorColor = gfx::Color::clear();
    m_tableView->setBackgroundColor(gfx::Color::clear());
    m_tableView->dataSource = m_relay;
    m_tableView->delegate = m_relay;
    addSubview(m_tableView);
}

BuySellPanelView::~BuySellPanelView() {
    m_tableView->dataSource.reset();
    m_tableView->delegate.reset();
}

void BuySellPanelView::setUp() {
    ui::View::setUp();
    m_relay->panel = weakSelf<BuySellPanelView>();
}

void BuySellPanelView::layoutSubviews() {
    m_tableView->setFrame({0, 0, bounds().width(), bounds().height()});
}

void BuySellPanelView::SetBuySellNum(int levels) {
    if (levels < 1 || levels > MaxLevels)
        return;
    m_fieldNum = levels;
    m_tableRowHeight = (bounds().height() - HeaderHeight) / float(2 * levels);
    m_tableView->reloadData();
    m_sellFieldArray.clear();
    m_buyFieldArray.clear();
    for (int k = 1; k <= levels; ++k) {
        m_sellFieldArray.push_back(std::to_string(k));
        m_buyFieldArray.push_back(std::to_string(k));
    }
}

void BuySellPanelView::SetBuySellData(const base::Ref<StockBasicInf> &record) {
    m_stockInfo = record;
    m_tableView->reloadData();
}

void BuySellPanelView::clearView() {
    SetBuySellData(base::make<StockBasicInf>());
}

void BuySellPanelView::fill(BuySellPanelCell &cell, int section, int row) const {
    const StockBasicInf *record = m_stockInfo.get();
    if (!record || row < 0 || row >= m_fieldNum) {
        cell.SetLabelTitle("", "");
        cell.valueLabel1().setText("");
        cell.valueLabel2().setText("");
        return;
    }
    bool ask = section == 0;
    // Level k (1-based): the ask side counts down from N at the top, the bid side up from 1.
    size_t k = size_t(ask ? m_fieldNum - row : row + 1);
    const std::vector<std::string> &levels = ask ? m_sellFieldArray : m_buyFieldArray;
    int price = ask ? record->sellPrice[k - 1] : record->buyPrice[k - 1];
    int volume = ask ? record->sellVol[k - 1] : record->buyVol[k - 1];
    cell.SetLabelTitle(ask ? "卖" : "买", k - 1 < levels.size() ? levels[k - 1] : std::to_string(k));
    cell.valueLabel1().setText(Util::FormatPrice(price, record->decimal));
    cell.valueLabel2().setText(Util::FormatBuySellPanVolume(volume, record->code, record->type));
    // A reused cell keeps its last colour: a level without a price ("--") goes back to neutral.
    cell.SetValueUpdown(price != 0 ? price - record->closeprice : 0);
}

void BuySellPanelView::tapped(int section, int row) {
    auto cell = std::dynamic_pointer_cast<BuySellPanelCell>(m_tableView->cellForRow({section, row}));
    auto d = delegate.lock();
    if (cell && d)
        d->ReturnSelBuySellValue(cell->valueLabel1().text());
}
