#include "Module/FrontPage/StocksPoolView/BasePoolView.h"

#include "ui/ImageView.h"

namespace {

constexpr float PoolRowHeight = 64, NewStockRowHeight = 20, PlainRowHeight = 44;
// The new-share pool's small board lists its many members in short rows.
constexpr int NewStockPoolID = 301;

} // namespace

BasePoolView::BasePoolView(gfx::Rect frame, std::vector<Board> layout, std::vector<Decoration> decorations)
    : ui::View(frame), layout_(std::move(layout)), decorations_(std::move(decorations)) {
    setBackgroundColor(gfx::Color::clear());
    opaque = false;
}

void BasePoolView::setUp() {
    ui::View::setUp();
    GenUI({0, 0, bounds().width(), bounds().height()});
    GenTagImage();
    for (const Board &entry : layout_) {
        auto board = base::make<StockPoolGridView>(entry.frame, entry.gridType);
        board->delegate = weakSelf<BasePoolView>();
        board->titleLabel().setText(entry.title);
        board->setBoardColor(entry.red, entry.green, entry.blue);
        board->rowHeight = entry.gridType != StockPoolGridView::NamesOnly ? PoolRowHeight
                           : entry.poolID == NewStockPoolID               ? NewStockRowHeight
                                                                          : PlainRowHeight;
        bgScrollView_->addSubview(board);
        boards_.push_back(board);
        byPool_[entry.poolID] = board;
    }
}

void BasePoolView::GenUI(gfx::Rect rect) {
    bgScrollView_ = base::make<ui::ScrollView>(rect);
    bgScrollView_->showsHorizontalScrollIndicator = false;
    bgScrollView_->showsVerticalScrollIndicator = false;
    bgScrollView_->setBackgroundColor(gfx::Color::clear());
    bgScrollView_->opaque = false;
    addSubview(bgScrollView_);
}

void BasePoolView::GenTagImage() {
    for (const Decoration &decoration : decorations_) {
        base::Ref<gfx::Image> image = gfx::Image::named(decoration.image);
        gfx::Size size = image ? image->size() : gfx::Size{};
        bgScrollView_->addSubview(base::make<ui::ImageView>(gfx::Rect{decoration.origin, size}, image));
    }
}

StockPoolGridView *BasePoolView::boardForPool(int poolID) const {
    auto it = byPool_.find(poolID);
    return it == byPool_.end() ? nullptr : it->second.get();
}

base::Opt<void> BasePoolView::ZoomInAction(StockPoolGridView &board) {
    if (detailPoolGridView_)
        return {};
    gfx::Rect scrollFrame = bgScrollView_->frame();
    auto mask = base::make<ui::View>(gfx::Rect{0, 0, scrollFrame.width(), scrollFrame.height()});
    mask->tag = MaskTag;
    mask->setBackgroundColor(gfx::Color::clear());
    mask->opaque = false;
    bgScrollView_->addSubview(mask);

    detailPoolGridView_ = base::make<StockPoolGridView>(board.frame(), StockPoolGridView::DetailTable);
    detailPoolGridView_->delegate = weakSelf<BasePoolView>();
    detailPoolGridView_->titleLabel().setText(board.titleLabel().text());
    detailPoolGridView_->setBoardColor(board.boardColor());
    detailPoolGridView_->rowHeight = DetailRowHeight;
    detailPoolGridView_->headerHeight = DetailHeaderHeight;
    float x = bgScrollView_->contentOffset().x;
    detailPoolGridView_->ShowWithAnimationZoomToRect({x + DetailX, 0, DetailWidth, DetailHeight});
    detailPoolGridView_->SetDataArray(board.dataArray());
    bgScrollView_->addSubview(detailPoolGridView_);
    return {};
}

base::Opt<void> BasePoolView::ZoomOutAction(StockPoolGridView &board) {
    if (&board != detailPoolGridView_.get())
        return {};
    if (ui::View *mask = bgScrollView_->viewWithTag(MaskTag))
        mask->removeFromSuperview();
    detailPoolGridView_->removeFromSuperview();
    detailPoolGridView_ = nullptr;
    return {};
}

base::Opt<void> BasePoolView::ReturnSelectedRowItem(const base::Ref<StockPoolInf> &record) {
    if (!record)
        return {};
    base::Ref<ui::View> alive = self<ui::View>();
    if (auto d = delegate.lock())
        d->SelectedStock(record->code);
    return {};
}

WinPoolOneView::WinPoolOneView(gfx::Rect frame)
    : BasePoolView(frame,
                   {{107, "热点板块", {30, 15, 140, 480}, 0, 252, 183, 105},
                    {108, "热点股票", {200, 15, 140, 120}, 0, 255, 160, 52},
                    {101, "长线资金", {200, 150, 140, 120}, 0, 255, 160, 52},
                    {103, "短线资金", {200, 285, 140, 120}, 0, 255, 160, 52},
                    {102, "异动扫描", {200, 420, 140, 120}, 0, 255, 160, 52},
                    {104, "锐丰1号池", {370, 15, 240, 480}, 1, 255, 136, 45},
                    {106, "观察池", {640, 15, 140, 120}, 0, 255, 91, 33},
                    {105, "英雄榜", {810, 15, 200, 480}, 2, 211, 42, 18}},
                   {{"stkPool1_rightBranket.png", {343, 81}},
                    {"stkPool1_TLine.png", {623, 145}},
                    {"stkPool_arrow.png", {173, 70}}}) {}

WinPoolTwoView::WinPoolTwoView(gfx::Rect frame)
    : BasePoolView(frame,
                   {{201, "高盈利", {55, 65, 140, 120}, 0, 255, 160, 52},
                    {202, "高资产", {55, 200, 140, 120}, 0, 255, 160, 52},
                    {206, "高成长", {55, 335, 140, 120}, 0, 255, 160, 52},
                    {203, "优质能量池", {250, 15, 240, 480}, 1, 255, 136, 45},
                    {204, "持仓能量池", {545, 15, 240, 480}, 2, 255, 91, 33},
                    {205, "观察池", {840, 187.5f, 140, 120}, 0, 211, 42, 18}},
                   {{"stkPool2_rightBranket.png", {217, 117}},
                    {"stkPool_arrow.png", {513, 236}},
                    {"stkPool_arrow.png", {807, 236}}}) {}

NewStockPoolView::NewStockPoolView(gfx::Rect frame)
    : BasePoolView(frame,
                   {{301, "新股池", {30, 415, 140, 80}, 0, 252, 183, 105},
                    {302, "1级能量池", {200, 335, 140, 160}, 0, 225, 95, 56},
                    {303, "2级能量池", {370, 255, 140, 240}, 0, 255, 160, 52},
                    {304, "3级能量池", {540, 175, 140, 320}, 0, 255, 91, 33},
                    {305, "4级能量池", {710, 95, 140, 400}, 0, 211, 42, 18},
                    {306, "5级能量池", {880, 15, 140, 480}, 0, 175, 9, 10}},
                   {{"stkPool_arrow.png", {179, 456}},
                    {"stkPool_arrow.png", {349, 456}},
                    {"stkPool_arrow.png", {520, 456}},
                    {"stkPool_arrow.png", {690, 456}},
                    {"stkPool_arrow.png", {860, 456}}}) {}
