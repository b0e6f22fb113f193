#pragma once

#include "Module/CommonControls/MinLine/Mini/MiniViewManager.h"
#include "Module/StockDataBaseMgnt/MarketQuotePack.h"
#include "base/NotificationCenter.h"

#include <string>
#include <vector>

// What the index tab implements.
class IndexQuotesDataDelegate {
public:
    virtual ~IndexQuotesDataDelegate() = default;
    virtual void UpdateTableDataSource(const base::Ref<StockQuoteList> &rows) = 0;
    virtual void UpdateMinLine(const std::string &code,
                               const std::vector<base::Ref<base::Object>> &points) = 0;
    virtual std::vector<std::string> getVisibleCodes() = 0;
};

// The data source of the index tab: asks its screen which index codes are visible and requests
// the quotes of exactly those. Requests go out and replies come back under the observer name.
class IndexQuotesData : public base::Object, public DataPoolDelegate {
public:
    IndexQuotesData();
    ~IndexQuotesData() override;

    void SetObserverName(std::string name, int tabIndex);
    void reqDataFirst() { reqIndexVisibleQuotes(); }
    void reqIndexVisibleQuotes();
    // Nothing for an empty list.
    void reqIndexVisibleQuotes(const std::vector<std::string> &codes);

    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;
    void setDelegate(base::Weak<IndexQuotesDataDelegate> delegate) { m_delegate = std::move(delegate); }
    // Kept for the screen; the source itself draws no charts.
    base::Weak<MiniViewManager> mviews;
    const base::Ref<MarketQuotePack> &pack() const { return m_pack; }

private:
    std::string m_observerName;
    int m_tabIndex = 0;
    base::Ref<MarketQuotePack> m_pack = base::make<MarketQuotePack>();
    base::Weak<IndexQuotesDataDelegate> m_delegate;
};
