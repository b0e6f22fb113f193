#pragma once

#include "Module/StockDataBaseMgnt/MarketQuotePack.h"
#include "base/NotificationCenter.h"

#include <string>

// What a board's member list implements.
class BoardElementsDataDelegate {
public:
    virtual ~BoardElementsDataDelegate() = default;
    virtual void UpdateBoardElementArray(const base::Ref<StockQuoteList> &rows, bool isFirstGetQuotes) = 0;
};

// The members of one board, paged like a market list; a reply for a board no longer shown is
// dropped. Requests go out and replies come back under the observer name.
class BoardElementsData : public base::Object, public DataPoolDelegate {
public:
    static constexpr int QuoteListType = 2955;

    static base::Ref<BoardElementsData> create(std::string observerName);
    ~BoardElementsData() override;

    // Starts the member list of a board: its id is the list's class id.
    void reqBoardStocksFirst(int boardID);
    void gotoQuotesNextPage();
    void reqStockQuotes(int startid, int count);

    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;
    void setDelegate(base::Weak<BoardElementsDataDelegate> delegate) { m_delegate = std::move(delegate); }
    const base::Ref<MarketQuotePack> &pack() const { return m_pack; }

private:
    void ProcQuotes(const base::Ref<ReqParams> &params);
    void tellRows(bool isFirst);

    std::string m_observerName;
    base::Ref<MarketQuotePack> m_pack = base::make<MarketQuotePack>();
    base::Weak<BoardElementsDataDelegate> m_delegate;
};
