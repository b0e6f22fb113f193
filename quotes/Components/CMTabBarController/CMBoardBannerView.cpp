#include "CMBoardBannerView.h"

#include "base/Str.h"
#include "gfx/Font.h"

// ---------------------------------------------------------------------------------------------
// BoardDetailView

BoardDetailView::BoardDetailView(gfx::Rect frame) : BannerFaceView(frame) {}

void BoardDetailView::setUp() {
    BannerFaceView::setUp();
    float w = bounds().width(), h = bounds().height();
    boardNameLbl_ = bannerLabel(16);
    rangeLbl_ = bannerLabel(13);
    SNLabel_ = base::make<ui::Label>(gfx::Rect{0, 0, 30, h / 2});
    SNLabel_->setFont(gfx::Font::named("AppleColorEmoji", 12));
    SNLabel_->setTextColor(gfx::Color::yellow());
    SNLabel_->setTextAlignment(gfx::Align::Left);
    SNLabel_->setBackgroundColor(gfx::Color::clear());
    boardNameLbl_->setFrame({0, 0, w, h / 2});
    rangeLbl_->setFrame({0, h / 2, w, h / 2});
    for (const auto &label : {boardNameLbl_, rangeLbl_, SNLabel_})
        addSubview(label);
}

void BoardDetailView::layoutSubviews() {
    float w = bounds().width(), h = bounds().height();
    boardNameLbl_->setFrame({0, 0, w, h / 2});
    rangeLbl_->setFrame({0, h / 2, w, h / 2});
    SNLabel_->setFrame({0, (h / 2) / 6.5f, 30, h / 2});
}

void BoardDetailView::show(const StockQuoteInf &board, int position) {
    boardNameLbl_->setText(board.name);
    rangeLbl_->setText(board.FormatValue(1));
    SetUpDown(float(board.newprice - board.closeprice));
    SNLabel_->setText(base::str::format("%d", position + 1));
}

void BoardDetailView::SetUpDown(float difference) {
    rangeLbl_->setTextColor(riseColour(difference));
}

// ---------------------------------------------------------------------------------------------
// CMBoardBannerView

CMBoardBannerView::CMBoardBannerView(gfx::Rect frame) : CMBannerView(frame, "cube", "fromRight") {}

base::Ref<BannerFaceView> CMBoardBannerView::makeFace(gfx::Rect frame) {
    return base::make<BoardDetailView>(frame);
}

void CMBoardBannerView::SetBoardDataArray(const std::vector<base::Ref<StockQuoteInf>> &boards, bool) {
    if (boards.empty())
        return;
    boardArray_ = boards;
    entriesArrived();
}

void CMBoardBannerView::showEntry(BannerFaceView &face, size_t index) {
    if (const auto &board = boardArray_[index])
        static_cast<BoardDetailView &>(face).show(*board, int(index));
}

base::Opt<void> CMBoardBannerView::ReturnSelected(int gridID) {
    if (gridID >= 0 && size_t(gridID) < boardArray_.size())
        if (auto listener = delegate.lock(); listener && boardArray_[size_t(gridID)])
            listener->ReturnSelectedBoard(boardArray_[size_t(gridID)]->name,
                                          boardArray_[size_t(gridID)]->code);
    return {};
}
