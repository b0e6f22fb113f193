#pragma once

#include "Module/FreeFrontPage/SVCapitalChartView.h"
#include "Module/FreeFrontPage/SVCycleTableViewController.h"

#include "Components/CMWaitingAlertView.h"
#include "DataBase/NetData/NetDataCenter.h"
#include "ui/Button.h"
#include "ui/Popover.h"

// The fund-flow panel of the free home page: the four boards with the largest net inflow and the
// four with the largest net outflow over the chosen cycle (day, week or month), as eight bars
// from the largest inflow to the largest outflow. The button over the chart's title opens the
// cycle picker in a popover; another cycle empties the chart, shows the waiting indicator and asks
// again. Every refresh sends two board lists (class 105 with the fund-flow group, four rows,
// sorted by the cycle's net flow, largest first, then smallest first); the chart is rebuilt when the
// second one answers, and only from the replies of the current cycle: each cycle has tags of its
// own, so replies still queued from a cycle left behind change nothing. Amounts are in 万元; when
// an axis bound passes 10,000 the chart shows 亿元.
class SVCapitalSideBarView : public ui::View, public DataPoolDelegate, public SVCycleTableViewDelegate {
public:
    enum Cycle { Day = 1, Week = 2, Month = 3 };
    static constexpr int BoardClassID = 105;
    static constexpr int FundFlowFlag = 4096;
    static constexpr int RowsPerSide = 4;
    static constexpr int QuoteReplyType = 2955;
    static constexpr float ButtonX = 15, ButtonWidth = 100, ButtonHeight = 26, LaidButtonHeight = 28;
    static constexpr float WaitingSize = 50;
    static constexpr gfx::Size PickerSize{140, 140};
    // Bounds beyond this (万元) switch the chart to 亿元.
    static constexpr double YiThreshold = 10000;
    static constexpr const char *WanUnit = "净额（单位：万元）";
    static constexpr const char *YiUnit = "净额（单位：亿元）";

    explicit SVCapitalSideBarView(gfx::Rect frame);
    ~SVCapitalSideBarView() override;
    void setUp() override;
    void layoutSubviews() override;

    // The sort field, the descending and the ascending request's tag of a cycle; any other
    // cycle counts as a day.
    static int getRankSortIdByCycle(int cycle);
    static int getReqDescendingTagIdByCycle(int cycle);
    static int getReqAscendingTagIdByCycle(int cycle);
    // "最近一天   ▼" and so on; an empty text for another value.
    static std::string cycleButtonTitle(int cycle);

    // What the chart shows for a pair of replies: the bars from the largest inflow (the first
    // reply in order) to the largest outflow (the second reply backwards), bounds 1.1 times the
    // extremes (0 for an extreme of 0, and both 0 without rows), and the unit.
    struct ChartData {
        base::Array content;
        double top = 0, bottom = 0;
        int digit = 0;
        std::string unit;
    };
    static ChartData chartDataFrom(const StockQuoteList &descending, const StockQuoteList &ascending,
                                   int cycle);

    void requestSVCaiptalCharData();
    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;
    void ProcQuotes(const base::Ref<ReqParams> &params);
    void switchSVCycleAction(ui::Button *sender);
    base::Opt<void> SVCycleTableViewClick(SVCycleTableViewController &picker,
                                          const base::Value &entry) override;
    // Leaves the title alone for a value outside the cycles.
    void changeSwitchSVCycleName(int cycle);

    SVCapitalChartView &svCapitalChartV() const { return *chart_; }
    ui::Button &switchSVCycleBtn() const { return *button_; }
    ui::Popover &switchSVCyclePopoverController() const { return *popover_; }
    SVCycleTableViewController &popTblVCtrl() const { return *picker_; }
    CMWaitingAlertView &waitingAlert() const { return *waiting_; }
    int curSwitchType() const { return curSwitchType_; }

private:
    // The chart's data from the two replies of the current cycle.
    void setSVCapitalChartData();
    void centreWaitingAlert();

    base::Ref<StockQuoteList> boardRspArray1_, boardRspArray2_;
    base::Ref<SVCapitalChartView> chart_;
    base::Ref<ui::Button> button_;
    base::Ref<CMWaitingAlertView> waiting_;
    base::Ref<SVCycleTableViewController> picker_;
    base::Ref<ui::Popover> popover_;
    int curSwitchType_ = Day;
};
