#pragma once

#include "DataBase/NetData/StockQuoteInf.h"

#include "base/Timer.h"
#include "ui/Gesture.h"
#include "ui/Label.h"
#include "ui/View.h"

#include <string>
#include <vector>

// Told which entry position a tapped detail view shows (optional).
class BoardDetailViewDelegate {
public:
    virtual ~BoardDetailViewDelegate() = default;
    virtual base::Opt<void> ReturnSelected(int) { return base::notImplemented; }
};

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
class BoardDetailView : public ui::View {
public:
    explicit BoardDetailView(gfx::Rect frame);
    void setUp() override;

    base::Weak<BoardDetailViewDelegate> delegate;
    int gridID = 0;

    // Shows the board at `position` of the ranking (0 first): place "%d" of position + 1.
    void show(const StockQuoteInf &board, int position);
    void SetUpDown(float difference);
    void layoutSubviews() override;

    ui::Label &boardNameLbl() { return *boardNameLbl_; }
    ui::Label &rangeLbl() { return *rangeLbl_; }
    ui::Label &SNLabel() { return *SNLabel_; }

private:
    void handleTapEvent();

    base::Ref<ui::Label> boardNameLbl_, rangeLbl_, SNLabel_;
    base::Ref<ui::TapRecognizer> tapRecognizer_;
};

// The board banner at the bottom right of the tab-bar controller: the five boards with the highest
// rise, one at a time, turning cube-wise from the right every 3 s once the first ranking has
// arrived. It turns like the index banner (two faces, the second in front after the first step).
class CMBoardBannerView : public ui::View, public BoardDetailViewDelegate {
public:
    static constexpr double SwitchInterval = 3.0;
    static constexpr double TransitionDuration = 1.0;

    explicit CMBoardBannerView(gfx::Rect frame);
    void setUp() override;
    ~CMBoardBannerView() override;

    base::Weak<CMBoardBannerViewDelegate> delegate;

    // New board records in ranking order; an empty list changes nothing. The flag changes nothing.
    void SetBoardDataArray(const std::vector<base::Ref<StockQuoteInf>> &boards, bool isLeadRise);
    base::Opt<void> ReturnSelected(int gridID) override;
    void startSwitch();
    void switchStep();
    void layoutSubviews() override;

    int iIndex() const { return iIndex_; }
    BoardDetailView &firstBoardDetailView() { return *first_; }
    BoardDetailView &secondBoardDetailView() { return *second_; }
    BoardDetailView &shownFace() { return first_->isHidden() ? *second_ : *first_; }

private:
    void fill(BoardDetailView &face);

    std::vector<base::Ref<StockQuoteInf>> boardArray_;
    base::Ref<base::Timer> timer_;
    int iIndex_ = 0;
    base::Ref<BoardDetailView> first_, second_;
};
