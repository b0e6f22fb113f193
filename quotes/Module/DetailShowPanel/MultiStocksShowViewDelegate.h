#pragma once

#include "DataBase/NetData/StockQuoteInf.h"
#include "Module/CommonControls/MinLine/BaseClass/MinLineClassBase.h"
#include "Module/StockDataBaseMgnt/Common/TechLine/TechIndexBase.h"
#include "base/Object.h"

#include <string>
#include <vector>

// What the multi-stock grid tells its owner; every operation is optional and sent only to an
// owner that has it.
class MultiStocksShowViewDelegate {
public:
    virtual ~MultiStocksShowViewDelegate() = default;
    // The grid is about to fill the pages around this one.
    virtual base::Opt<void> ReturnCurrentSelectedPageNum(int currentPage, int pageSize) {
        (void)currentPage, (void)pageSize;
        return base::notImplemented;
    }
    // A cell was tapped: the name it shows, its security code and its list index.
    virtual base::Opt<void> ReturnSelectedGridStockName(const std::string &name,
                                                        const std::string &marketCode, int stockIndex) {
        (void)name, (void)marketCode, (void)stockIndex;
        return base::notImplemented;
    }
    // On every scroll movement: 2 when a page holds six cells, else 1, for the owner to space its
    // quote timer.
    virtual base::Opt<void> resetTimerCenterOnScroll(int factor) {
        (void)factor;
        return base::notImplemented;
    }
};

// The owner that feeds the grid: the grid fetches nothing itself. It asks here for a page's
// records and charts and takes the answers through MultiStocksShowView's Update operations. An
// owner answers all four.
class MultiStocksShowViewDataSource {
public:
    virtual ~MultiStocksShowViewDataSource() = default;
    // A page came on show, the list was set or the period changed: ask the server for the
    // records' quotes when `needReqBasicInf` (some quote is over 5 s old) and for their charts
    // (intraday when ktype < 1, candles of ktype otherwise) in any case. `startid` is the list
    // index of the first record.
    virtual void reqCurScreenData(const std::vector<base::Ref<StockQuoteInf>> &records, int startid,
                                  bool needReqBasicInf, int ktype) = 0;
    // The timer refresh: the quotes of the page on show, answered with UpdateQuotes.
    virtual void reqCurScreenQuotes(const std::vector<std::string> &codes, int startid, int ktype) = 0;
    // The owner's cached chart of the code, or null.
    virtual base::Ref<MinLineList> getMinLineList(const std::string &code) = 0;
    virtual base::Ref<KLineList> getKLineList(const std::string &code, int ktype) = 0;
};
