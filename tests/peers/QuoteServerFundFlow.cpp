// The boards' fund flows of the loopback quote server: made-up inflows and outflows in 万元 for
// the day, five days and thirty days, four boards of net inflow and four of net outflow each time,
// one with a net flow of exactly 0, amounts on both sides of 10,000 万元.
// Lists sort by a cycle's net flow with fields 17, 18 and 19.
#include "QuoteServer.h"

#include "QuoteRow.h"

#include <algorithm>

namespace peers {

namespace {

constexpr int DayNetField = 17, WeekNetField = 18, MonthNetField = 19;

struct Flow {
    int32_t in, out;
};
// By board, in the order of the boards' list: nets 23,456, 12,800, 8,200, 3,100, 0, −1,200,
// −9,200 and −15,800.
constexpr Flow DayFlows[] = {{35200, 11744}, {20800, 8000}, {12000, 3800}, {6100, 3000},
                             {4500, 4500},   {2300, 3500},  {5600, 14800}, {9200, 25000}};
// The longer cycles take the day's figures of boards further along, scaled up.
constexpr size_t WeekShift = 3, MonthShift = 5;
constexpr int32_t WeekScale = 3, MonthScale = 8;

Flow flowOf(size_t board, size_t shift, int32_t scale) {
    const Flow &day = DayFlows[(board + shift) % std::size(DayFlows)];
    return {day.in * scale, day.out * scale};
}

// The board's index in the boards' list, or nothing for another security.
std::optional<size_t> boardIndex(const Security &security) {
    static const std::vector<Security> Boards = MarketFixture::boards();
    for (size_t i = 0; i < Boards.size(); ++i)
        if (Boards[i].fullCode() == security.fullCode())
            return i;
    return std::nullopt;
}

} // namespace

void QuoteServer::fillBoardFundFlow(QuoteRow &row) {
    std::optional<size_t> board = boardIndex(row.security);
    if (!board)
        return;
    Flow day = flowOf(*board, 0, 1), week = flowOf(*board, WeekShift, WeekScale),
         month = flowOf(*board, MonthShift, MonthScale);
    row.fundIn = day.in;
    row.fundOut = day.out;
    row.fundIn5 = week.in;
    row.fundOut5 = week.out;
    row.fundAmount5 = week.in + week.out;
    row.fundIn30 = month.in;
    row.fundOut30 = month.out;
    row.fundAmount30 = month.in + month.out;
}

std::optional<double> QuoteServer::fundFlowSortKey(const MarketFixture &market, const Security &security,
                                                   int field) {
    if (field != DayNetField && field != WeekNetField && field != MonthNetField)
        return std::nullopt;
    if (std::optional<size_t> board = boardIndex(security)) {
        Flow flow = field == DayNetField    ? flowOf(*board, 0, 1)
                    : field == WeekNetField ? flowOf(*board, WeekShift, WeekScale)
                                            : flowOf(*board, MonthShift, MonthScale);
        return double(flow.in) - double(flow.out);
    }
    QuoteRow row = QuoteRow::of(market, security, field != DayNetField);
    if (field == DayNetField)
        return double(row.fundIn) - double(row.fundOut);
    if (field == WeekNetField)
        return double(row.fundIn5) - double(row.fundOut5);
    return double(row.fundIn30) - double(row.fundOut30);
}

void QuoteServer::setEmptyLists(bool empty) {
    emptyLists_ = empty;
}

} // namespace peers
