#pragma once

#include "Components/CMWaitingAlertView.h"
#include "base/Value.h"
#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/TableView.h"

class MiniRankListView;

// What a small rank list reports to its owner; both optional.
class MiniRankListViewDelegates {
public:
    virtual ~MiniRankListViewDelegates() = default;
    // A row with a code was tapped: {"kStkCode", "kStkIndex" (its row), "kDataArray" (every row's
    // code in order)}.
    virtual base::Opt<void> miniRankListViewItemClickOperation(MiniRankListView &list,
                                                               const base::Dict &info) {
        (void)list, (void)info;
        return base::notImplemented;
    }
    // The grid button of a list with rows: {"stkDataArray" ({"MarketCode", "StockName"} a row),
    // "title"}.
    virtual base::Opt<void> miniRankListViewClickOperation(MiniRankListView &list, const base::Dict &info) {
        (void)list, (void)info;
        return base::notImplemented;
    }
};

// One small rank list of the decision page: a title with the grid button over a table of 38-point
// rows, one a security (see MiniRankListViewCell), and a waiting indicator from creation (and
// from every clearMiniRankList) until rows arrive. It only shows the display rows its owner hands
// it and reports taps.
class MiniRankListView : public ui::View {
public:
    static constexpr float TitleHeight = 32, ButtonWidth = 40, RowHeight = 38, WaitingSize = 50;
    static constexpr const char *CellIdentifier = "Cell";

    explicit MiniRankListView(gfx::Rect frame);
    void setUp() override;
    void drawRect(gfx::Context &context, gfx::Rect dirty) override;

    // Shows the rows; the waiting indicator stops and leaves.
    void setDspDataArray(base::Array rows);
    const base::Array &dspDataArray() const { return dspDataArray_; }
    // No rows, the waiting indicator back on top and turning.
    void clearMiniRankList();
    void changBtnAction(ui::Button *sender);
    void setImgBG(base::Ref<gfx::Image> image);

    ui::Label &lTitle() const { return *lTitle_; }
    ui::Button &changBtn() const { return *changBtn_; }
    ui::TableView &tblV() const { return *tblV_; }
    CMWaitingAlertView &waitingAlert() const { return *waitingAlert_; }

    base::Weak<MiniRankListViewDelegates> delegate;

private:
    struct Rows;

    base::Ref<CMWaitingAlertView> waitingAlert_;
    base::Ref<ui::TableView> tblV_;
    base::Ref<ui::Label> lTitle_;
    base::Ref<ui::Button> changBtn_;
    base::Ref<gfx::Image> imgBG_;
    base::Array dspDataArray_;
    base::Ref<Rows> rows_;
};
