#pragma once

#include "Module/Decision/MiniRankListView.h"
#include "Module/FreeFrontPage/SVCycleTableViewController.h"

#include "DataBase/NetData/NetDataCenter.h"
#include "ui/PageControl.h"
#include "ui/Popover.h"
#include "ui/ScrollView.h"

#include <vector>

class TotalRankMultiListView;

// What the rank lists ask of their owner; both optional.
class TotalRankMultiListViewDelegates {
public:
    virtual ~TotalRankMultiListViewDelegates() = default;
    // Open the detail screen: {"kStkCode", "kStkIndex", "kDataArray" (the list's codes)}.
    virtual base::Opt<void> jumpToMinLineView(TotalRankMultiListView &view, const base::Dict &info) {
        (void)view, (void)info;
        return base::notImplemented;
    }
    // Open the chart grid: {"stkDataArray" (the list's {"MarketCode", "StockName"} rows), "title"}.
    virtual base::Opt<void> jumpToMultiMinLineView(TotalRankMultiListView &view, const base::Dict &info) {
        (void)view, (void)info;
        return base::notImplemented;
    }
};

// The decision page's first tab: nine small rank lists of one market class, each the top six
// securities by one criterion (rise and fall, rise speed, order ratio both ways, amplitude,
// volume ratio, amount), on horizontally paged pages of two rows by three columns, under a title
// bar whose button picks the market class in a popover. Each list is one quote-list request of six
// rows; the owner's refresh sends all nine again, and a new class clears the lists and asks at
// once. The class goes with every request: replies asked for another class than the current one
// (still queued at a switch) fill nothing. Taps on a row and on a list's grid button go to the
// owner.
class TotalRankMultiListView : public ui::View,
                               public DataPoolDelegate,
                               public SVCycleTableViewDelegate,
                               public MiniRankListViewDelegates {
public:
    static constexpr float TitleHeight = 36, PageControlHeight = 7, ListGap = 2, ListInset = 3;
    static constexpr int FirstListTag = 10000, FirstReplyTag = 300, RowsPerList = 6;
    static constexpr int QuoteReplyType = 2955;
    static constexpr gfx::Size PickerSize{220, 270};
    static inline const gfx::Rect ClassButtonFrame{1, 4, 190, 28};

    struct RankList {
        const char *title;
        int sortField, direction, flag, secondField;
        // How the second value is coloured: by the change, the rise speed, the order ratio, or
        // always yellow.
        enum class Colour { Change, Speed, OrderRatio, Yellow } colour;
    };
    static const std::vector<RankList> &lists();
    // Sort field, direction and field flag of a list tag; -1, 0, 0 outside the nine.
    static int sortFieldOfTag(int tag);
    static int directionOfTag(int tag);
    static int flagOfTag(int tag);
    // The list class of a picker index; -1 outside the six.
    static int classIdOfIndex(int index);
    static base::Array classRows();

    explicit TotalRankMultiListView(gfx::Rect frame);
    ~TotalRankMultiListView() override;
    void setUp() override;
    void drawRect(gfx::Context &context, gfx::Rect dirty) override;

    // Lays out one list per title, replacing the lists there were.
    void setTitleArray(std::vector<std::string> titles);
    const std::vector<std::string> &titleArray() const { return titleArray_; }
    void NotifyTimeEvent(int index);
    void requestTotalRankList();
    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;
    void ProcQuotes(const base::Ref<ReqParams> &params);
    void switchStkTypeAction(ui::Button *sender);
    // "A 股综合排名" and so on; "综合排名" for an index without a row.
    void changeSwitchTypeName(int index);
    base::Opt<void> SVCycleTableViewClick(SVCycleTableViewController &picker,
                                          const base::Value &entry) override;
    base::Opt<void> miniRankListViewItemClickOperation(MiniRankListView &list,
                                                       const base::Dict &info) override;
    base::Opt<void> miniRankListViewClickOperation(MiniRankListView &list, const base::Dict &info) override;
    void scrollViewDidEndDecelerating();

    int curSelTypeIndex() const { return curSelTypeIndex_; }
    ui::ScrollView &scrollV() const { return *scrollV_; }
    ui::PageControl &pageCtrl() const { return *pageCtrl_; }
    ui::Button &switchBtn() const { return *switchBtn_; }
    ui::Popover &switchSVCyclePopoverController() const { return *popover_; }
    SVCycleTableViewController &popTblVCtrl() const { return *picker_; }
    // The list of index i, or nullptr.
    MiniRankListView *list(int i) const;
    const std::vector<base::Ref<StockQuoteList>> &dataArray() const { return dataArray_; }

    base::Weak<TotalRankMultiListViewDelegates> delegate;

private:
    struct Scrolling;
    base::Array displayRows(int list, const StockQuoteList &records) const;

    base::Ref<ui::Popover> popover_;
    base::Ref<SVCycleTableViewController> picker_;
    base::Ref<ui::ScrollView> scrollV_;
    base::Ref<ui::PageControl> pageCtrl_;
    base::Ref<gfx::Image> titleBG_;
    base::Ref<ui::Button> switchBtn_;
    gfx::Rect titleRect_;
    int rowNum_ = 2, colNum_ = 3;
    int curSelTypeIndex_ = 0;
    std::vector<std::string> titleArray_;
    std::vector<base::Ref<StockQuoteList>> dataArray_;
    base::Ref<Scrolling> scrolling_;
};
