#pragma once

#include "DataBase/NetData/CustomQuotesList.h"

#include "CMBannerView.h"

#include <string>
#include <vector>

// Told which index the user tapped (optional).
class CMIndexBannerViewDelegate {
public:
    virtual ~CMIndexBannerViewDelegate() = default;
    virtual base::Opt<void> ReturnSelectedIndex(const std::string &, const std::string &) {
        return base::notImplemented;
    }
};

// One face of the index banner: name, price and rise (in the rise colour) and amount of one index.
// `gridID` is the position in the banner's list of the entry shown.
class IndexDetailView : public BannerFaceView {
public:
    static constexpr float NameWidth = 70;

    explicit IndexDetailView(gfx::Rect frame);
    void setUp() override;

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
    base::Ref<ui::Label> indexNameLbl_, lastLbl_, rangeLbl_, volLbl_;
};

// The index banner at the bottom of the tab-bar controller: the three main indexes, one at a time,
// flipping from the bottom to the next every 3 s once the first quotes have arrived. A tap reports
// the entry of the face in front.
class CMIndexBannerView : public CMBannerView {
public:
    explicit CMIndexBannerView(gfx::Rect frame);

    base::Weak<CMIndexBannerViewDelegate> delegate;

    // New index entries; an empty list changes nothing.
    void SetIndexDataArray(const std::vector<base::Ref<CustomQuotesList::QuoteDic>> &entries);
    base::Opt<void> ReturnSelected(int gridID) override;

    IndexDetailView &firstIndexDetailView() { return static_cast<IndexDetailView &>(*first_); }
    IndexDetailView &secondIndexDetailView() { return static_cast<IndexDetailView &>(*second_); }
    // The face in front.
    IndexDetailView &shownFace() {
        return first_->isHidden() ? secondIndexDetailView() : firstIndexDetailView();
    }

private:
    base::Ref<BannerFaceView> makeFace(gfx::Rect frame) override;
    size_t entryCount() const override { return indexArray_.size(); }
    void showEntry(BannerFaceView &face, size_t index) override;

    std::vector<base::Ref<CustomQuotesList::QuoteDic>> indexArray_;
};
