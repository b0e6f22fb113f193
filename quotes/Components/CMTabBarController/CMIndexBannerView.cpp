#include "CMIndexBannerView.h"

// ---------------------------------------------------------------------------------------------
// IndexDetailView

IndexDetailView::IndexDetailView(gfx::Rect frame) : BannerFaceView(frame) {}

void IndexDetailView::setUp() {
    BannerFaceView::setUp();
    indexNameLbl_ = bannerLabel(16);
    lastLbl_ = bannerLabel(16);
    rangeLbl_ = bannerLabel(13);
    volLbl_ = bannerLabel(13);
    for (const auto &label : {indexNameLbl_, lastLbl_, rangeLbl_, volLbl_})
        addSubview(label);
    layoutSubviews();
}

void IndexDetailView::layoutSubviews() {
    float w = bounds().width(), h = bounds().height(), half = (w - NameWidth) / 2;
    indexNameLbl_->setFrame({0, 0, NameWidth, h});
    lastLbl_->setFrame({NameWidth, 0, w - NameWidth, h / 2});
    rangeLbl_->setFrame({NameWidth, h / 2, half, h / 2});
    volLbl_->setFrame({NameWidth + half, h / 2, half, h / 2});
}

void IndexDetailView::show(const StockQuoteInf &quote) {
    indexNameLbl_->setText(quote.name);
    lastLbl_->setText(quote.FormatValue(4));
    rangeLbl_->setText(quote.FormatValue(1));
    volLbl_->setText(quote.FormatValue(3, 0));
    SetUpDown(float(quote.newprice - quote.closeprice));
}

void IndexDetailView::SetUpDown(float difference) {
    auto colour = riseColour(difference);
    lastLbl_->setTextColor(colour);
    rangeLbl_->setTextColor(colour);
}

// ---------------------------------------------------------------------------------------------
// CMIndexBannerView

CMIndexBannerView::CMIndexBannerView(gfx::Rect frame) : CMBannerView(frame, "oglFlip", "fromBottom") {}

base::Ref<BannerFaceView> CMIndexBannerView::makeFace(gfx::Rect frame) {
    return base::make<IndexDetailView>(frame);
}

void CMIndexBannerView::SetIndexDataArray(const std::vector<base::Ref<CustomQuotesList::QuoteDic>> &entries) {
    if (entries.empty())
        return;
    indexArray_ = entries;
    entriesArrived();
}

void CMIndexBannerView::showEntry(BannerFaceView &face, size_t index) {
    const auto &entry = indexArray_[index];
    if (entry && entry->basicInf)
        static_cast<IndexDetailView &>(face).show(*entry->basicInf);
}

base::Opt<void> CMIndexBannerView::ReturnSelected(int gridID) {
    if (gridID >= 0 && size_t(gridID) < indexArray_.size())
        if (auto listener = delegate.lock()) {
            const auto &entry = indexArray_[size_t(gridID)];
            std::string name = entry->basicInf ? entry->basicInf->name : entry->code;
            listener->ReturnSelectedIndex(name, entry->code);
        }
    return {};
}
