#include "Module/FrontPage/StocksPoolView/StockPoolGridView.h"

#include "Module/FrontPage/StocksPoolView/StockPoolGridExtCell.h"

#include "Common/StylePool.h"
#include "Components/CMGeneralCell.h"
#include "Module/CommonControls/GeneralColumn/GeneralColumn.h"

#include "gfx/Font.h"

#include <optional>

namespace {

constexpr float TitleFontSize = 15;
constexpr float EvenRowAlpha = 0.1f, OddRowAlpha = 0.03f;

// Red above zero, the style's fall colour below and its unchanged colour at zero.
base::Ref<gfx::Color> getPriceColor(int32_t difference) {
    if (difference > 0)
        return gfx::Color::red();
    return difference < 0 ? StylePool::Instance().clTextFall : StylePool::Instance().clTextPlane;
}

base::Dict column(const char *name, std::optional<int> id, float width, bool enabled,
                  const char *special = nullptr) {
    base::Dict entry{{"ColName", name}, {"ColWidth", double(width)}, {"Enabled", enabled}};
    if (id)
        entry.set("ColID", *id);
    if (special)
        entry.set("SpecialName", special);
    return entry;
}

} // namespace

struct StockPoolGridView::Table : ui::TableDataSource, ui::TableDelegate {
    base::Weak<StockPoolGridView> board;

    int numberOfRows(ui::TableView &, int) override {
        auto b = board.lock();
        return b ? int(b->dataArray_.size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto b = board.lock();
        return b ? b->cellForRow(table, path.row) : base::make<ui::TableCell>();
    }
    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override {
        auto b = board.lock();
        return b ? b->rowHeight : 0;
    }
    base::Opt<float> heightForHeader(ui::TableView &, int) override {
        auto b = board.lock();
        return b && b->iGridType_ == DetailTable ? b->headerHeight : 0;
    }
    base::Opt<base::Ref<ui::View>> viewForHeader(ui::TableView &table, int) override {
        auto b = board.lock();
        if (!b || b->iGridType_ != DetailTable)
            return base::notImplemented;
        // Without a delegate its captions sort nothing.
        auto header = base::make<GeneralColumn>(gfx::Rect{0, 0, table.bounds().width(), b->headerHeight},
                                                b->columnArray_);
        header->setBackgroundColor(gfx::Color::black());
        return base::Ref<ui::View>(header);
    }
    base::Opt<void> didSelectRow(ui::TableView &, ui::IndexPath path) override {
        if (auto b = board.lock())
            b->didSelectRow(path.row);
        return {};
    }
};

base::Array StockPoolGridView::detailColumns() {
    return {column(" 名称", 9, 107, true, "NAME"), column("入池时间 ", 4, 116, true),
            column("入池价 ", 1, 97, true),        column("收益率 ", std::nullopt, 97, false),
            column("最新价 ", 21, 97, true),       column("涨幅 ", 2, 97, true)};
}

StockPoolGridView::StockPoolGridView(gfx::Rect frame, uint16_t gridType)
    : ui::View(frame), iGridType_(gridType > DetailTable ? NamesOnly : gridType) {}

void StockPoolGridView::setUp() {
    ui::View::setUp();
    if (iGridType_ == DetailTable)
        columnArray_ = detailColumns();
    titleLabel_ = base::make<ui::Label>();
    titleLabel_->setFont(gfx::Font::boldSystem(TitleFontSize));
    titleLabel_->setTextAlignment(gfx::Align::Left);
    titleLabel_->setBackgroundColor(gfx::Color::clear());
    titleLabel_->opaque = false;
    titleLabel_->setTextColor(gfx::Color::white());
    addSubview(titleLabel_);

    zoomInOutBtn_ = ui::Button::custom();
    if (iGridType_ == DetailTable) {
        zoomInOutBtn_->setImage(gfx::Image::named("zoom_out.png"));
        zoomInOutBtn_->addTarget(BASE_ACTION(this, zoomOutAction), ui::TouchUpInside);
    } else {
        zoomInOutBtn_->setImage(gfx::Image::named("zoom_in.png"));
        zoomInOutBtn_->addTarget(BASE_ACTION(this, zoomInAction), ui::TouchUpInside);
    }
    zoomInOutBtn_->setHidden(iGridType_ == PoolRows || iGridType_ == LargeGainRows);
    addSubview(zoomInOutBtn_);

    table_ = base::make<Table>();
    table_->board = weakSelf<StockPoolGridView>();
    mTableView_ = base::make<ui::TableView>();
    mTableView_->setBackgroundColor(gfx::Color::black()->withAlpha(0.5f));
    mTableView_->opaque = false;
    mTableView_->separatorColor = gfx::Color::white()->withAlpha(0.2f);
    mTableView_->dataSource = table_;
    mTableView_->delegate = table_;
    addSubview(mTableView_);
    layoutParts(bounds().s);
}

void StockPoolGridView::layoutParts(gfx::Size size) {
    titleLabel_->setFrame({5, 0, size.w - 30, 25});
    zoomInOutBtn_->setFrame({size.w - 25, 0, 25, 25});
    mTableView_->setFrame({5, 33, size.w - 10, size.h - 41});
}

void StockPoolGridView::setBoardColor(base::Ref<gfx::Color> color) {
    boardColor_ = std::move(color);
    setBackgroundColor(boardColor_);
}

void StockPoolGridView::setBoardColor(float red, float green, float blue) {
    setBoardColor(gfx::Color::rgba(red / 255, green / 255, blue / 255));
}

void StockPoolGridView::SetDataArray(std::vector<base::Ref<StockPoolInf>> rows) {
    dataArray_ = std::move(rows);
    mTableView_->reloadData();
}

base::Ref<ui::TableCell> StockPoolGridView::cellForRow(ui::TableView &table, int row) {
    const base::Ref<StockPoolInf> &record = dataArray_.at(size_t(row));
    base::Ref<gfx::Color> stripe = boardColor_->withAlpha(row % 2 == 0 ? EvenRowAlpha : OddRowAlpha);
    base::Ref<ui::TableCell> reused = table.dequeueReusableCell(ReuseIdentifier);
    if (iGridType_ == NamesOnly) {
        auto cell = std::dynamic_pointer_cast<CMGeneralCell>(reused);
        if (!cell)
            cell = CMGeneralCell::create(ui::TableCell::Style::Default, ReuseIdentifier);
        cell->SetCellBgColor(stripe);
        cell->textLabel()->setText(record->name);
        cell->textLabel()->setTextColor(gfx::Color::white());
        return cell;
    }
    if (iGridType_ == DetailTable) {
        auto cell = std::dynamic_pointer_cast<GeneralCell>(reused);
        if (!cell) {
            cell = base::make<GeneralCell>(ui::TableCell::Style::Default, ReuseIdentifier,
                                           gfx::Rect{0, 0, bounds().width(), rowHeight});
            cell->SetFormatArray(columnArray_);
        }
        cell->indexPath = {0, row};
        cell->SetCellBgColor(stripe);
        // Values by position: name and code, entry time, entry price, gain, last, change.
        cell->SetValueArray({base::Dict{{"StockName", record->name}, {"StockCode", record->FormatValue(9)}},
                             record->FormatValue(702), record->FormatValue(703), record->FormatValue(701),
                             record->FormatValue(4), record->FormatValue(1)});
        cell->SetTextColorAtIndex(3, record->getColorValue(701));
        cell->SetTextColorAtIndex(4, record->getColorValue(4));
        cell->SetTextColorAtIndex(5, record->getColorValue(1));
        return cell;
    }
    uint16_t cellType = iGridType_ == PoolRows ? 0 : 1;
    auto cell = std::dynamic_pointer_cast<StockPoolGridExtCell>(reused);
    if (!cell)
        cell = base::make<StockPoolGridExtCell>(ui::TableCell::Style::Default, ReuseIdentifier, cellType);
    cell->SetCellBgColor(stripe);
    cell->dateTimeLabel().setText(record->FormatValue(702));
    cell->nameLabel().setText(record->name);
    cell->codeLabel().setText(record->FormatValue(9));
    cell->lastLabel().setText(record->FormatValue(4));
    cell->lastLabel().setTextColor(getPriceColor(record->getColorValue(4)));
    cell->rangeLabel().setText(record->FormatValue(1));
    cell->rangeLabel().setTextColor(getPriceColor(record->getColorValue(1)));
    ui::Label &gain = cellType == 0 ? cell->incomeLabel() : cell->largeIncomeLabel();
    gain.setText(record->FormatValue(701));
    gain.setTextColor(getPriceColor(record->getColorValue(701)));
    cell->buyValueLabel().setText(record->FormatValue(703));
    return cell;
}

void StockPoolGridView::didSelectRow(int row) {
    if (row < 0 || size_t(row) >= dataArray_.size())
        return;
    base::Ref<StockPoolInf> record = dataArray_[size_t(row)];
    base::Ref<ui::View> alive = self<ui::View>();
    if (auto d = delegate.lock())
        d->ReturnSelectedRowItem(record);
}

void StockPoolGridView::ShowWithAnimationZoomToRect(gfx::Rect rect) {
    isAnimationShowClose_ = true;
    fromRect_ = frame();
    ui::View::beginAnimations("Zoom In");
    ui::View::setAnimationCurve(ui::Curve::EaseInOut);
    ui::View::setAnimationDuration(ZoomSeconds);
    layoutParts(rect.s);
    setFrame(rect);
    ui::View::commitAnimations();
}

void StockPoolGridView::DismissWithAnimation() {
    base::Weak<StockPoolGridView> weak = weakSelf<StockPoolGridView>();
    ui::View::beginAnimations("Zoom Out");
    ui::View::setAnimationCurve(ui::Curve::EaseInOut);
    ui::View::setAnimationDuration(ZoomSeconds);
    ui::View::setAnimationDidStop([weak](const std::string &, bool) {
        auto board = weak.lock();
        if (!board)
            return;
        if (auto d = board->delegate.lock())
            d->ZoomOutAction(*board);
    });
    layoutParts(fromRect_.s);
    setFrame(fromRect_);
    ui::View::commitAnimations();
}

void StockPoolGridView::zoomInAction(ui::Button *) {
    base::Ref<ui::View> alive = self<ui::View>();
    if (auto d = delegate.lock())
        d->ZoomInAction(*this);
}

void StockPoolGridView::zoomOutAction(ui::Button *) {
    if (isAnimationShowClose_) {
        DismissWithAnimation();
        return;
    }
    base::Ref<ui::View> alive = self<ui::View>();
    if (auto d = delegate.lock())
        d->ZoomOutAction(*this);
}
