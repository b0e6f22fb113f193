#pragma once

#include "MiniMinLineView.h"

#include "Module/StockDataBaseMgnt/MLineNetData.h"

#include <map>
#include <string>
#include <vector>

// The per-screen cache of the intraday pictures of list rows, one `MiniMinLineView` per code, with
// a minute-data requester of its own. A list screen (market lists, the watch-list, the home
// page's analysis views) keeps one for its life: it asks for the visible rows' minutes through
// the request operations, naming its quote data source as the requester of the replies, hands
// each reply to the code's picture and shows the picture's image in the row. A row's minutes are
// asked for at most once every 5 s. From `holdMiniTrendViewCount` pictures on, the picture
// updated longest ago is evicted before a new one is made (never one still waiting for its first
// request, nor a pinned one) and its minutes are dropped from the requester. Main thread only.
class MiniViewManager : public base::Object {
public:
    static constexpr double RequestInterval = 5.0;
    static constexpr int32_t ChartHeight = 56;
    static constexpr int32_t DefaultHoldCount = 30;

    MiniViewManager();

    // The code's picture, or none.
    base::Ref<MiniMinLineView> getMView(const std::string &code) const;
    // The code's picture; a new one of the height (whole points), never requested, after an
    // eviction when the cache is full.
    base::Ref<MiniMinLineView> getMViewWithCreate(const std::string &code, float height);
    // Keeps the record on its code's picture and asks for the code's minutes unless that was done
    // within the last 5 s. A record without a code is not requested.
    void reqOneMinLine(const base::Ref<StockQuoteInf> &record, const QuoteRequester &requester, int tag);
    // Every record, or those from max(from, 0) up to (not including) from + count within the list.
    void reqMinLinesWithQuotesArray(const std::vector<base::Ref<StockQuoteInf>> &records,
                                    const QuoteRequester &requester, int tag);
    void reqMinLinesWithQuotesArray(const std::vector<base::Ref<StockQuoteInf>> &records, int fromIndex,
                                    int count, const QuoteRequester &requester, int tag);

    const base::Ref<MLineNetData> &minLineLib() const { return m_minLineLib; }
    int32_t holdMiniTrendViewCount() const { return m_holdMiniTrendViewCount; }
    void setHoldMiniTrendViewCount(int32_t count) { m_holdMiniTrendViewCount = count; }
    size_t count() const { return m_mviews.size(); }

private:
    void removeOldestMView();
    void removeMView(const std::string &code);

    std::map<std::string, base::Ref<MiniMinLineView>> m_mviews;
    base::Ref<MLineNetData> m_minLineLib;
    int32_t m_holdMiniTrendViewCount = DefaultHoldCount;
};
