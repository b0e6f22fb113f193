#include "Module/FreeFrontPage/SVCapitalSideBarView.h"

#include "Common/Util.h"
#include "DataBase/DataBase.h"
#include "ui/NavigationController.h"

#include <algorithm>
#include <cmath>

namespace {

struct CycleRow {
    int cycle;
    const char *name;
    int sortID, descendingTag, ascendingTag;
};
constexpr CycleRow Cycles[] = {
    {SVCapitalSideBarView::Day, "最近一天", 17, 203, 204},
    {SVCapitalSideBarView::Week, "最近一周", 18, 205, 206},
    {SVCapitalSideBarView::Month, "最近一月", 19, 207, 208},
};
constexpr const char *ButtonArrow = "   ▼";
constexpr const char *PickerTitle = "切换周期";
constexpr float ButtonFontSize = 14;
constexpr int Descending = 0, Ascending = 1;
// Values this close to 0 give an axis bound of 0.
constexpr double ZeroEpsilon = 1e-7;
constexpr double AxisHeadroom = 1.1;

const CycleRow &cycleRow(int cycle) {
    for (const CycleRow &row : Cycles)
        if (row.cycle == cycle)
            return row;
    return Cycles[0];
}

// The cycle's net flow of a board in 万元.
double netFlow(const StockQuoteInf &board, int cycle) {
    auto word = [](int32_t field) { return Util::convertVal(uint32_t(field)); };
    switch (cycleRow(cycle).cycle) {
    case SVCapitalSideBarView::Week:
        return double(word(board.fundIn5) - word(board.fundOut5));
    case SVCapitalSideBarView::Month:
        return double(word(board.fundIn30) - word(board.fundOut30));
    default:
        return double(word(board.fundIn) - word(board.fundOut));
    }
}

} // namespace

SVCapitalSideBarView::SVCapitalSideBarView(gfx::Rect frame) : ui::View(frame) {}

SVCapitalSideBarView::~SVCapitalSideBarView() {
    if (popover_ && popover_->isVisible())
        popover_->dismiss(false);
    if (picker_)
        picker_->tblDelegate.reset();
}

void SVCapitalSideBarView::setUp() {
    ui::View::setUp();
    const gfx::Rect b = bounds();
    button_ = base::make<ui::Button>(gfx::Rect{}, ui::Button::Type::Custom);
    chart_ = base::make<SVCapitalChartView>(gfx::Rect{0, 0, b.width(), b.height()});
    chart_->setBackgroundColor(gfx::Color::clear());
    chart_->setTitleBGImg(gfx::Image::named("HeaderSelectedBG.png"));
    button_->setFrame(
        {ButtonX, (SVCapitalChartView::TitleHeight - ButtonHeight) / 2 + 1, ButtonWidth, ButtonHeight});
    button_->setBackgroundImage(gfx::Image::named("frontPageTitleBG.png"));
    button_->setTitle(cycleButtonTitle(Day));
    button_->titleLabel().setFont(gfx::Font::system(ButtonFontSize));
    button_->setTitleColor(gfx::Color::white());
    button_->addTarget(BASE_ACTION(this, switchSVCycleAction), ui::TouchUpInside);
    addSubview(chart_);
    addSubview(button_);
    waiting_ = base::make<CMWaitingAlertView>(gfx::Rect{0, 0, WaitingSize, WaitingSize});
    centreWaitingAlert();
    waiting_->StartAlert();
    addSubview(waiting_);
    boardRspArray1_ = base::make<StockQuoteList>();
    boardRspArray2_ = base::make<StockQuoteList>();
    curSwitchType_ = Day;

    picker_ = base::make<SVCycleTableViewController>();
    picker_->setContentSizeInPopover(PickerSize);
    picker_->setTitle(PickerTitle);
    popover_ = base::make<ui::Popover>(base::make<ui::NavigationController>(picker_));
    picker_->tableView().separatorStyle = ui::TableView::Separator::None;
    base::Array rows;
    for (const CycleRow &row : Cycles)
        rows.add(base::Dict{{"nameKey", row.name}, {"cycleTypeKey", row.cycle}});
    picker_->tableArray = rows;
    picker_->tblDelegate = weakSelf<SVCapitalSideBarView>();
    picker_->tableView().reloadData();
    requestSVCaiptalCharData();
}

void SVCapitalSideBarView::layoutSubviews() {
    chart_->setFrame(bounds());
    button_->setFrame({ButtonX, (SVCapitalChartView::TitleHeight - LaidButtonHeight) / 2 + 1, ButtonWidth,
                       LaidButtonHeight});
    centreWaitingAlert();
}

void SVCapitalSideBarView::centreWaitingAlert() {
    const gfx::Rect b = bounds();
    waiting_->setFrame(
        {(b.width() - WaitingSize) / 2, (b.height() - WaitingSize) / 2, WaitingSize, WaitingSize});
}

int SVCapitalSideBarView::getRankSortIdByCycle(int cycle) {
    return cycleRow(cycle).sortID;
}

int SVCapitalSideBarView::getReqDescendingTagIdByCycle(int cycle) {
    return cycleRow(cycle).descendingTag;
}

int SVCapitalSideBarView::getReqAscendingTagIdByCycle(int cycle) {
    return cycleRow(cycle).ascendingTag;
}

std::string SVCapitalSideBarView::cycleButtonTitle(int cycle) {
    for (const CycleRow &row : Cycles)
        if (row.cycle == cycle)
            return std::string(row.name) + ButtonArrow;
    return {};
}

void SVCapitalSideBarView::changeSwitchSVCycleName(int cycle) {
    std::string title = cycleButtonTitle(cycle);
    if (!title.empty())
        button_->setTitle(title);
}

// --- Requests and replies

void SVCapitalSideBarView::requestSVCaiptalCharData() {
    // New arrays: replies still queued for the last pair fill the old ones, not these.
    boardRspArray1_ = base::make<StockQuoteList>();
    boardRspArray2_ = base::make<StockQuoteList>();
    const base::Ref<DataBase> &db = DataBase::sharedDataBase();
    if (!db || !db->IO_NetDataCenter())
        return;
    NetDataCenter &net = *db->IO_NetDataCenter();
    QuoteRequester me = base::Ref<DataPoolDelegate>(self<SVCapitalSideBarView>());
    const int sortID = getRankSortIdByCycle(curSwitchType_);
    net.RequestStockListCom(me, BoardClassID, FundFlowFlag, sortID, Descending, 0, RowsPerSide,
                            boardRspArray1_, getReqDescendingTagIdByCycle(curSwitchType_), 0, 0);
    net.RequestStockListCom(me, BoardClassID, FundFlowFlag, sortID, Ascending, 0, RowsPerSide,
                            boardRspArray2_, getReqAscendingTagIdByCycle(curSwitchType_), 0, 0);
}

void SVCapitalSideBarView::DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) {
    if (reqType == QuoteReplyType && params)
        ProcQuotes(params);
}

void SVCapitalSideBarView::ProcQuotes(const base::Ref<ReqParams> &params) {
    const int tag = int(params->get("tag").intValue());
    if (tag == getReqAscendingTagIdByCycle(curSwitchType_) &&
        tag != getReqDescendingTagIdByCycle(curSwitchType_))
        setSVCapitalChartData();
}

SVCapitalSideBarView::ChartData SVCapitalSideBarView::chartDataFrom(const StockQuoteList &descending,
                                                                    const StockQuoteList &ascending,
                                                                    int cycle) {
    ChartData data;
    double smallest = 0, largest = 0;
    bool any = false;
    auto add = [&](const StockQuoteInf &board) {
        const double value = netFlow(board, cycle);
        const bool rises = value >= 0;
        base::Ref<gfx::Color> first =
            rises ? gfx::Color::rgba(0.84f, 0.05f, 0.16f) : gfx::Color::rgba(0.04f, 0.19f, 0.02f);
        base::Ref<gfx::Color> second =
            rises ? gfx::Color::rgba(0.32f, 0.08f, 0.09f) : gfx::Color::rgba(0.23f, 0.55f, 0.16f);
        data.content.add(base::Dict{{"kStkCode", board.code},
                                    {"kValueX1", board.name},
                                    {"kValueY1", value},
                                    {"kPositiveClr1", base::Ref<base::Object>(first)},
                                    {"kNegativeClr1", base::Ref<base::Object>(second)}});
        smallest = any ? std::min(smallest, value) : value;
        largest = any ? std::max(largest, value) : value;
        any = true;
    };
    for (const auto &board : descending.items)
        add(*board);
    for (auto it = ascending.items.rbegin(); it != ascending.items.rend(); ++it)
        add(**it);
    data.top = std::fabs(largest) < ZeroEpsilon ? 0 : AxisHeadroom * std::fabs(largest);
    data.bottom = std::fabs(smallest) < ZeroEpsilon ? 0 : -AxisHeadroom * std::fabs(smallest);
    const bool yi = std::fabs(data.top) > YiThreshold || std::fabs(data.bottom) > YiThreshold;
    data.digit = yi ? 4 : 0;
    data.unit = yi ? YiUnit : WanUnit;
    return data;
}

void SVCapitalSideBarView::setSVCapitalChartData() {
    ChartData data = chartDataFrom(*boardRspArray1_, *boardRspArray2_, curSwitchType_);
    chart_->setDigit(data.digit);
    chart_->setAxisY1UnitString(data.unit);
    base::Dict axis{{"kMaxAxisYValClr", base::Ref<base::Object>(gfx::Color::rgba(0.84f, 0.05f, 0.16f))},
                    {"kMinAxisYValClr", base::Ref<base::Object>(gfx::Color::rgba(0.23f, 0.55f, 0.16f))},
                    {"kMiddleAxisYValClr", base::Ref<base::Object>(gfx::Color::lightGray())},
                    {"kMaxAxisYVal1", data.top},
                    {"kMinAxisYVal1", data.bottom},
                    {"kMiddleAxisYVal1", 0.0}};
    chart_->setDicData(base::Dict{{"kContentData", data.content}, {"kAxisData", axis}});
    waiting_->StopWaitingAlert();
}

// --- The cycle picker

void SVCapitalSideBarView::switchSVCycleAction(ui::Button *) {
    picker_->togglePopover(*popover_, *button_, ui::ArrowUp);
}

base::Opt<void> SVCapitalSideBarView::SVCycleTableViewClick(SVCycleTableViewController &picker,
                                                            const base::Value &entry) {
    const base::Dict *d = entry.dict();
    if (d && d->has("cycleTypeKey") && int(entry["cycleTypeKey"].intValue()) != curSwitchType_) {
        curSwitchType_ = int(entry["cycleTypeKey"].intValue());
        picker.setCurSelType(curSwitchType_);
        chart_->clearSVCapitalChartView();
        waiting_->StartAlert();
        addSubview(waiting_);
        requestSVCaiptalCharData();
        changeSwitchSVCycleName(curSwitchType_);
    }
    popover_->dismiss(true);
    return {};
}
