#pragma once

#include "DataBase/NetData/CustomQuotesList.h"

#include "base/Timer.h"
#include "ui/Gesture.h"
#include "ui/Label.h"
#include "ui/View.h"

#include <string>
#include <vector>

// Told which entry position a tapped detail view shows (optional).
class IndexDetailViewDelegate {
public:
    virtual ~IndexDetailViewDelegate() = default;
    virtual base::Opt<void> ReturnSelected(int) { return base::notImplemented; }
};

// Told which index the user tapped (optional).
class CMIndexBannerViewDelegate {
public:
    virtual ~CMIndexBannerViewDelegate() = default;
    virtual base::Opt<void> ReturnSelectedIndex(const std::string &, const std::string &) {
        return base::notImplemented;
    }
};

// The rise colour of the banners for a price less the previous close: pure red above 0, pure
// green below, white at 0.
base::Ref<gfx::Color> riseColour(float difference);

// One face of the index banner: name, price and rise (in the rise colour) and amount of one index.
// `gridID` is the position in the banner's list of the entry shown.
class IndexDetailView : public ui::View {
public:
    static constexpr float NameWidth = 70;

    explicit IndexDetailView(gfx::Rect frame);
    void setUp() override;

    base::Weak<IndexDetailViewDelegate> delegate;
    int gridID = 0;

    // Shows the quote: name, field 4 (price), field 1 (rise percentage), field 3 (amount, no
    // decimals) and the rise colour.
    void show(const StockQuoteInf &quote);
    void SetUpDown(float difference);
    void layoutSubviews() override;

    ui::Label &indexNameLbl() { return *indexNameLbl_; }
    ui::Label &lastLbl() { return *lastLbl_; }
    ui::Label &rangeLbl() { return *rangeLbl_; }
    ui::Label &volLbl() { return *volLbl_; }

private:
    void handleTapEvent();

    base::Ref<ui::Label> indexNameLbl_, lastLbl_, rangeLbl_, volLbl_;
    base::Ref<ui::TapRecognizer> tapRecognizer_;
};

// The index banner at the bottom of the tab-bar controller: the three main indexes, one at a time,
// flipping from the bottom to the next every 3 s once the first quotes have arrived (the cycle
// then runs for the rest of the run). Two faces: the first shows until the first step, the second
// from then on; a new reply refills the first, hidden, face and shows at the next step. A tap
// reports the entry of the face in front.
class CMIndexBannerView : public ui::View, public IndexDetailViewDelegate {
public:
    static constexpr double SwitchInterval = 3.0;
    static constexpr double TransitionDuration = 1.0;

    explicit CMIndexBannerView(gfx::Rect frame);
    void setUp() override;
    ~CMIndexBannerView() override;

    base::Weak<CMIndexBannerViewDelegate> delegate;

    // New index entries; an empty list changes nothing.
    void SetIndexDataArray(const std::vector<base::Ref<CustomQuotesList::QuoteDic>> &entries);
    base::Opt<void> ReturnSelected(int gridID) override;
    void startSwitch();
    void switchStep();
    void layoutSubviews() override;

    int iIndex() const { return iIndex_; }
    IndexDetailView &firstIndexDetailView() { return *first_; }
    IndexDetailView &secondIndexDetailView() { return *second_; }
    // The face in front.
    IndexDetailView &shownFace() { return first_->isHidden() ? *second_ : *first_; }

private:
    // The entry at iIndex, or the first when iIndex lies outside the list.
    void fill(IndexDetailView &face);

    std::vector<base::Ref<CustomQuotesList::QuoteDic>> indexArray_;
    base::Ref<base::Timer> timer_;
    int iIndex_ = 0;
    base::Ref<IndexDetailView> first_, second_;
};
