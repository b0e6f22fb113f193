#pragma once

#include "DataBase/NetData/StockQuoteInf.h"

#include "CMBannerView.h"

#include <string>
#include <vector>

// Told which board the user tapped (optional).
class CMBoardBannerViewDelegate {
public:
    virtual ~CMBoardBannerViewDelegate() = default;
    virtual base::Opt<void> ReturnSelectedBoard(const std::string &, const std::string &) {
        return base::notImplemented;
    }
};

// One face of the board banner: the board's place in the ranking (yellow, top left), its name and
// its rise percentage in the rise colour.
class BoardDetailView : public BannerFaceView {
public:
    explicit BoardDetailView(gfx::Rect frame);
    void setUp() override;

    // Shows the board at `position` of the ranking (0 first): place "%d" of position + 1.
    void show(const StockQuoteInf &board, int position);
    void SetUpDown(float difference);
    void layoutSubviews() override;

    ui::Label &boardNameLbl() { return *boardNameLbl_; }
    ui::Label &rangeLbl() { return *rangeLbl_; }
    ui::Label &SNLabel() { return *SNLabel_; }

private:
    base::Ref<ui::Label> boardNameLbl_, rangeLbl_, SNLabel_;
};

// The board banner at the bottom right of the tab-bar controller: the five boards with the highest
// rise, one at a time, turning cube-wise from the right every 3 s once the first ranking has
// arrived.
class CMBoardBannerView : public CMBannerView {
public:
    explicit CMBoardBannerView(gfx::Rect frame);

    base::Weak<CMBoardBannerViewDelegate> delegate;

    // New board records in ranking order; an empty list changes nothing. The flag changes nothing.
    void SetBoardDataArray(const std::vector<base::Ref<StockQuoteInf>> &boards, bool isLeadRise);
    base::Opt<void> ReturnSelected(int gridID) override;

    BoardDetailView &firstBoardDetailView() { return static_cast<BoardDetailView &>(*first_); }
    BoardDetailView &secondBoardDetailView() { return static_cast<BoardDetailView &>(*second_); }
    BoardDetailView &shownFace() {
        return first_->isHidden() ? secondBoardDetailView() : firstBoardDetailView();
    }

private:
    base::Ref<BannerFaceView> makeFace(gfx::Rect frame) override;
    size_t entryCount() const override { return boardArray_.size(); }
    void showEntry(BannerFaceView &face, size_t index) override;

    std::vector<base::Ref<StockQuoteInf>> boardArray_;
};
