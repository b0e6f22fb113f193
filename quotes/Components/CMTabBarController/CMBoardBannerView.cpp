#include "CMBoardBannerView.h"

#include "CMIndexBannerView.h"

#include "base/Str.h"
#include "gfx/Font.h"
#include "ui/Animator.h"

namespace {

base::Ref<ui::Label> boardLabel(float fontSize) {
    auto label = base::make<ui::Label>(gfx::Rect{});
    label->setBackgroundColor(gfx::Color::clear());
    label->setTextColor(gfx::Color::white());
    label->setTextAlignment(gfx::Align::Center);
    label->setFont(gfx::Font::boldSystem(fontSize));
    return label;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// BoardDetailView

BoardDetailView::BoardDetailView(gfx::Rect frame) : ui::View(frame) {}

void BoardDetailView::setUp() {
    ui::View::setUp();
    setBackgroundColor(gfx::Color::clear());
    float w = bounds().width(), h = bounds().height();
    boardNameLbl_ = boardLabel(16);
    rangeLbl_ = boardLabel(13);
    SNLabel_ = base::make<ui::Label>(gfx::Rect{0, 0, 30, h / 2});
    SNLabel_->setFont(gfx::Font::named("AppleColorEmoji", 12));
    SNLabel_->setTextColor(gfx::Color::yellow());
    SNLabel_->setTextAlignment(gfx::Align::Left);
    SNLabel_->setBackgroundColor(gfx::Color::clear());
    boardNameLbl_->setFrame({0, 0, w, h / 2});
    rangeLbl_->setFrame({0, h / 2, w, h / 2});
    for (const auto &label : {boardNameLbl_, rangeLbl_, SNLabel_})
        addSubview(label);
    base::Weak<BoardDetailView> weak = weakSelf<BoardDetailView>();
    tapRecognizer_ = base::make<ui::TapRecognizer>();
    tapRecognizer_->addTarget(base::Action("handleTapEvent:", [weak](base::Object *) {
        if (auto alive = weak.lock())
            alive->handleTapEvent();
    }));
    addGestureRecognizer(tapRecognizer_);
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

void BoardDetailView::handleTapEvent() {
    if (auto listener = delegate.lock())
        listener->ReturnSelected(gridID);
}

// ---------------------------------------------------------------------------------------------
// CMBoardBannerView

CMBoardBannerView::CMBoardBannerView(gfx::Rect frame) : ui::View(frame) {}

void CMBoardBannerView::setUp() {
    ui::View::setUp();
    setBackgroundColor(gfx::Color::clear());
    gfx::Rect face{0, 0, bounds().width(), bounds().height()};
    first_ = base::make<BoardDetailView>(face);
    second_ = base::make<BoardDetailView>(face);
    for (const auto &view : {first_, second_}) {
        view->delegate = weakSelf<CMBoardBannerView>();
        addSubview(view);
    }
    second_->setHidden(true);
}

CMBoardBannerView::~CMBoardBannerView() {
    if (timer_)
        timer_->invalidate();
}

void CMBoardBannerView::SetBoardDataArray(const std::vector<base::Ref<StockQuoteInf>> &boards, bool) {
    if (boards.empty())
        return;
    boardArray_ = boards;
    fill(*first_);
    if (!timer_)
        startSwitch();
}

void CMBoardBannerView::fill(BoardDetailView &face) {
    if (iIndex_ < 0 || size_t(iIndex_) >= boardArray_.size())
        iIndex_ = 0;
    if (const auto &board = boardArray_[size_t(iIndex_)])
        face.show(*board, iIndex_);
    face.gridID = iIndex_;
}

void CMBoardBannerView::startSwitch() {
    base::Weak<CMBoardBannerView> weak = weakSelf<CMBoardBannerView>();
    timer_ = base::Timer::scheduled(SwitchInterval, false, base::Action("switchStep", [weak](base::Object *) {
                                        if (auto alive = weak.lock())
                                            alive->switchStep();
                                    }));
}

void CMBoardBannerView::switchStep() {
    auto transition = base::make<ui::Transition>();
    transition->type = ui::Transition::typeNamed("cube");
    transition->subtype = ui::Transition::subtypeNamed("fromRight");
    transition->duration = TransitionDuration;
    iIndex_ = size_t(iIndex_ + 1) >= boardArray_.size() ? 0 : iIndex_ + 1;
    fill(*second_);
    first_->setHidden(true);
    second_->setHidden(false);
    layer().addTransition(transition, "animation");
    startSwitch();
}

base::Opt<void> CMBoardBannerView::ReturnSelected(int gridID) {
    if (gridID >= 0 && size_t(gridID) < boardArray_.size())
        if (auto listener = delegate.lock(); listener && boardArray_[size_t(gridID)])
            listener->ReturnSelectedBoard(boardArray_[size_t(gridID)]->name,
                                          boardArray_[size_t(gridID)]->code);
    return {};
}

void CMBoardBannerView::layoutSubviews() {
    gfx::Rect face{0, 0, bounds().width(), bounds().height()};
    first_->setFrame(face);
    second_->setFrame(face);
}
