#pragma once

#include "Module/StockDataBaseMgnt/MLineNetData.h"
#include "base/Object.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

// The small intraday charts in the rows of a list screen, one per code. It asks for a chart's
// minutes at most once every 5 s, through an intraday requester of its own; the minutes reach the
// requester given as intraday replies with the given tag.
class MiniViewManager : public base::Object {
public:
    static constexpr double RequestInterval = 5.0;
    static constexpr double ChartHeight = 56;

    struct Chart {
        base::Ref<StockQuoteInf> record;
        // When its minutes were last asked for.
        std::optional<double> requestedAt;
    };

    MiniViewManager();

    // For each record with a code from max(from, 0) to from + count − 1, within the array: keeps
    // it on the code's chart and asks for the code's minutes unless that was done under 5 s ago.
    void reqMinLinesWithQuotesArray(const std::vector<base::Ref<StockQuoteInf>> &records, int fromIndex,
                                    int count, const QuoteRequester &requester, int tag);
    const Chart *chart(const std::string &code) const;

private:
    std::map<std::string, Chart> m_charts;
    base::Ref<MLineNetData> m_mlineLib;
};
