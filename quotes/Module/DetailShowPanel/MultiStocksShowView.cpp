#include "Module/DetailShowPanel/MultiStocksShowView.h"

#include "gfx/Image.h"

struct MultiStocksShowView::Scrolling : ui::ScrollViewDelegate {
    base::Weak<MultiStocksShowView> grid;

    base::Opt<void> didScroll(ui::ScrollView &) override {
        if (auto g = grid.lock())
            g->scrollViewDidScroll();
        return {};
    }
    base::Opt<void> didEndDecelerating(ui::ScrollView &) override {
        if (auto g = grid.lock())
            g->scrollViewDidEndDecelerating();
        return {};
    }
};

MultiStocksShowView::MultiStocksShowView(gfx::Rect frame)
    : ui::View(frame), scrolling_(base::make<Scrolling>()) {
    setBackgroundColor(gfx::Color::pattern(gfx::Image::named("background.png")));
    contentView_ = base::make<ui::ScrollView>(gfx::Rect{0, 0, frame.width(), frame.height()});
    contentView_->setBackgroundColor(gfx::Color::clear());
    contentView_->pagingEnabled = true;
    contentView_->showsHorizontalScrollIndicator = false;
    contentView_->showsVerticalScrollIndicator = false;
    contentView_->decelerationRate = DecelerationRate;
    addSubview(contentView_);
    pageControl_ = base::make<ui::PageControl>(
        gfx::Rect{0, frame.height() - PageControlBottom, frame.width(), PageControlHeight});
    pageControl_->setBackgroundColor(gfx::Color::clear());
    // The dots only follow the pages: a tap beside them would move them off the page on show.
    pageControl_->userInteractionEnabled = false;
    addSubview(pageControl_);
    model_.setViewSize(frame.s);
}

void MultiStocksShowView::setUp() {
    ui::View::setUp();
    scrolling_->grid = weakSelf<MultiStocksShowView>();
    contentView_->delegate = scrolling_;
}

void MultiStocksShowView::layoutSubviews() {
    const float w = bounds().width(), h = bounds().height();
    model_.setViewSize({w, h});
    contentView_->setFrame({0, 0, w, h});
    pageControl_->setFrame({0, h - PageControlBottom, w, PageControlHeight});
}

void MultiStocksShowView::SetGridDataArray(base::Array list, bool loadFirstPage) {
    model_.setViewSize(bounds().s);
    model_.setList(std::move(list), loadFirstPage);
}

void MultiStocksShowView::listReset(bool makePool) {
    pageControl_->setNumberOfPages(model_.pageCount());
    contentView_->setContentSize(model_.contentSize());
    if (!makePool)
        return;
    for (int i = 0; i < MultiStocksPageModel::CellCount; ++i) {
        auto cell = base::make<MultiStocksGridView>();
        cell->delegate = weakSelf<MultiStocksShowView>();
        cell->setHidden(true);
        contentView_->addSubview(cell);
        cells_.push_back(cell);
    }
}

void MultiStocksShowView::pageWillFill(int) {
    if (auto d = delegate.lock())
        d->ReturnCurrentSelectedPageNum(model_.currentPage(), model_.pageSize());
}

void MultiStocksShowView::cellFilled(int i) {
    const MultiStocksPageModel::Cell &state = model_.cell(i);
    MultiStocksGridView &cell = *cells_[size_t(i)];
    cell.tag = state.tag;
    cell.setGridID(state.gridID);
    cell.setHidden(false);
    cell.setFrame(state.frame);
    cell.clearMinLineView();
    cell.clearKLineView();
    cell.SetStockCodeMarket(state.code);
    auto record = model_.record(state.gridID);
    if (record)
        resetGridItem(cell, *record);
    cell.setIsShowMinLineView(ktype_ < 1);
    updateGridKLineOrMinLine(cell, record);
}

void MultiStocksShowView::cellFreed(int i) {
    MultiStocksGridView &cell = *cells_[size_t(i)];
    cell.tag = 0;
    cell.setGridID(-1);
    cell.setHidden(model_.cell(i).hidden);
}

void MultiStocksShowView::scrollContent(float x) {
    contentView_->setContentOffset({x, contentView_->contentOffset().y});
}

void MultiStocksShowView::requestPageData(const MultiStocksPageModel::PageRequest &request) {
    if (auto target = parentControllerTarget.lock())
        target->reqCurScreenData(request.records, request.startid, request.needReqBasicInf, ktype_);
}

void MultiStocksShowView::resetGridItem(MultiStocksGridView &cell, const StockQuoteInf &record) {
    MultiStocksGridPricePanel &panel = cell.stockGrid();
    cell.SetStockName(record.name);
    panel.lastLabel->setText(record.FormatValue(4));
    panel.rangeLabel->setText(record.FormatValue(1));
    panel.SetUpDown(float(record.newprice - record.closeprice));
    panel.exchangeLabel->setText(record.FormatValue(21));
    panel.volLabel->setText(record.FormatValue(2));
}

void MultiStocksShowView::updateGridKLineOrMinLine(MultiStocksGridView &cell,
                                                   const base::Ref<StockQuoteInf> &record) {
    auto target = parentControllerTarget.lock();
    if (!target)
        return;
    const std::string &code = cell.stockGrid().code;
    if (ktype_ < 1) {
        auto list = target->getMinLineList(code);
        if (list)
            cell.UpdateMinLine(record, list);
        else
            cell.StartMinLineWaitingAlert();
    } else {
        auto list = target->getKLineList(code, ktype_);
        if (list)
            cell.UpdateKLine(record, list, ktype_);
        else
            cell.StartKLineWaitingAlert();
    }
}

void MultiStocksShowView::scrollViewDidScroll() {
    if (auto d = delegate.lock())
        d->resetTimerCenterOnScroll(model_.pageSize() == SixCellPage ? 2 : 1);
    model_.didScroll(contentView_->contentOffset().x);
    pageControl_->setCurrentPage(model_.currentPage());
}

void MultiStocksShowView::scrollViewDidEndDecelerating() {
    const gfx::Point offset = contentView_->contentOffset();
    contentView_->setContentOffset({model_.restOffset(offset.x), offset.y}, true);
    model_.requestCurrentPage();
}

base::Opt<void> MultiStocksShowView::ReturnSelectedGrid(MultiStocksGridView &grid) {
    if (auto d = delegate.lock())
        d->ReturnSelectedGridStockName(grid.stockGrid().nameLabel->text(), grid.stockGrid().code,
                                       grid.gridID());
    return {};
}

void MultiStocksShowView::reqCurScreenQuotes() {
    auto request = model_.quotesRequest();
    auto target = parentControllerTarget.lock();
    if (request && target)
        target->reqCurScreenQuotes(request->codes, request->startid, ktype_);
}

void MultiStocksShowView::UpdateQuotes(int first, int count) {
    for (const auto &t : model_.quoteTargets(first, count))
        resetGridItem(*cells_[size_t(t.cell)], *t.record);
}

void MultiStocksShowView::UpdateMinLine(const std::string &code, base::Ref<MinLineList> list) {
    auto t = model_.chartTarget(code);
    if (!t)
        return;
    MultiStocksGridView &cell = *cells_[size_t(t->cell)];
    cell.UpdateMinLine(t->record, std::move(list));
    cell.StopMinLineWaitingAlert();
}

void MultiStocksShowView::UpdateKLine(const std::string &code, base::Ref<KLineList> list, int ktype) {
    auto t = ktype == ktype_ ? model_.chartTarget(code) : std::nullopt;
    if (!t)
        return;
    MultiStocksGridView &cell = *cells_[size_t(t->cell)];
    cell.UpdateKLine(t->record, std::move(list), ktype);
    cell.StopKLineWaitingAlert();
}

void MultiStocksShowView::SwitchCircle(int circleID) {
    ktype_ = MultiStocksGridView::getKType(circleID);
    for (size_t i = 0; i < cells_.size(); ++i) {
        if (!model_.cell(int(i)).inUse())
            continue;
        MultiStocksGridView &cell = *cells_[i];
        cell.createKLineView();
        cell.setIsShowMinLineView(ktype_ < 1);
        cell.clearKLineView();
        cell.clearMinLineView();
        if (auto record = model_.recordOfCell(int(i)))
            updateGridKLineOrMinLine(cell, record);
    }
    model_.requestCurrentPage();
}
