#include "Module/Decision/MiniRankListView.h"

#include "Module/Decision/MiniRankListViewCell.h"

#include "Common/Gdip.h"
#include "Common/UtilUI.h"

struct MiniRankListView::Rows : ui::TableDataSource, ui::TableDelegate {
    base::Weak<MiniRankListView> list;

    int numberOfRows(ui::TableView &, int) override {
        auto l = list.lock();
        return l ? int(l->dspDataArray_.size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto cell =
            std::dynamic_pointer_cast<MiniRankListViewCell>(table.dequeueReusableCell(CellIdentifier));
        if (!cell) {
            cell = base::make<MiniRankListViewCell>(CellIdentifier);
            cell->setSelectedBackgroundView(base::make<ui::ImageView>(
                gfx::Rect{0, 0, table.bounds().width(), RowHeight}, UtilUI::imageNamed("SelectedBg.png")));
        }
        if (auto l = list.lock(); l && path.row < int(l->dspDataArray_.size()))
            cell->showRow(l->dspDataArray_[size_t(path.row)]);
        return cell;
    }
    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override { return RowHeight; }
    base::Opt<void> didSelectRow(ui::TableView &table, ui::IndexPath path) override {
        table.deselectRow(path, true);
        auto l = list.lock();
        if (!l || path.row >= int(l->dspDataArray_.size()))
            return {};
        auto owner = l->delegate.lock();
        const std::string code = l->dspDataArray_[size_t(path.row)]["codeKey"].stringValue();
        if (!owner || code.empty())
            return {};
        base::Array codes;
        for (size_t i = 0; i < l->dspDataArray_.size(); ++i)
            codes.add(l->dspDataArray_[i]["codeKey"].stringValue());
        owner->miniRankListViewItemClickOperation(
            *l, base::Dict{{"kStkCode", code}, {"kStkIndex", path.row}, {"kDataArray", codes}});
        return {};
    }
};

MiniRankListView::MiniRankListView(gfx::Rect frame) : ui::View(frame) {}

void MiniRankListView::setUp() {
    ui::View::setUp();
    const float w = bounds().width(), h = bounds().height();
    rows_ = base::make<Rows>();
    rows_->list = self<MiniRankListView>();
    lTitle_ = base::make<ui::Label>(gfx::Rect{3, 0, w - 41, TitleHeight});
    lTitle_->setBackgroundColor(gfx::Color::clear());
    lTitle_->setFont(gfx::Font::system(16));
    lTitle_->setTextColor(gfx::Color::white());
    lTitle_->setTextAlignment(gfx::Align::Center);
    changBtn_ =
        base::make<ui::Button>(gfx::Rect{w - 41, 0, ButtonWidth, TitleHeight}, ui::Button::Type::Custom);
    changBtn_->setBackgroundImage(gfx::Image::named("listBtnBG.png"));
    changBtn_->setImage(gfx::Image::named("listBtnImg.png"));
    changBtn_->addTarget(BASE_ACTION(this, changBtnAction), ui::TouchUpInside);
    tblV_ = base::make<ui::TableView>(gfx::Rect{3, TitleHeight, w - 6, h - TitleHeight - 1},
                                      ui::TableView::Style::Plain);
    tblV_->scrollEnabled = false;
    tblV_->separatorStyle = ui::TableView::Separator::None;
    tblV_->setBackgroundColor(gfx::Color::clear());
    tblV_->rowHeight = RowHeight;
    tblV_->dataSource = rows_;
    tblV_->delegate = rows_;
    waitingAlert_ = base::make<CMWaitingAlertView>(
        gfx::Rect{(w - WaitingSize) / 2, (h - WaitingSize) / 2, WaitingSize, WaitingSize});
    waitingAlert_->StartAlert();
    setBackgroundColor(gfx::Color::rgba(56 / 255.f, 79 / 255.f, 105 / 255.f, 0.2f));
    imgBG_ = gfx::Image::named("miniListTitleBG.png");
    addSubview(lTitle_);
    addSubview(changBtn_);
    addSubview(tblV_);
    addSubview(waitingAlert_);
}

void MiniRankListView::drawRect(gfx::Context &context, gfx::Rect) {
    const gfx::Rect b = bounds();
    Gdip::fillRect(context, {3, 0, b.width() - 6, b.height()},
                   *gfx::Color::rgba(51 / 255.f, 79 / 255.f, 92 / 255.f, 0.9f));
    if (imgBG_)
        context.drawImage({0, 0, b.width(), TitleHeight}, *imgBG_);
}

void MiniRankListView::setImgBG(base::Ref<gfx::Image> image) {
    imgBG_ = std::move(image);
    setNeedsDisplay();
}

void MiniRankListView::setDspDataArray(base::Array rows) {
    dspDataArray_ = std::move(rows);
    tblV_->reloadData();
    waitingAlert_->StopWaitingAlert();
}

void MiniRankListView::clearMiniRankList() {
    dspDataArray_ = base::Array();
    addSubview(waitingAlert_);
    waitingAlert_->StartAlert();
    tblV_->reloadData();
}

void MiniRankListView::changBtnAction(ui::Button *) {
    auto owner = delegate.lock();
    if (!owner || dspDataArray_.size() == 0)
        return;
    base::Array stocks;
    for (size_t i = 0; i < dspDataArray_.size(); ++i)
        stocks.add(base::Dict{{"MarketCode", dspDataArray_[i]["codeKey"].stringValue()},
                              {"StockName", dspDataArray_[i]["nameKey"].stringValue()}});
    owner->miniRankListViewClickOperation(*this,
                                          base::Dict{{"stkDataArray", stocks}, {"title", lTitle_->text()}});
}
