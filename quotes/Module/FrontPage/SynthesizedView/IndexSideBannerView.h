#pragma once

#include "Module/FrontPage/SynthesizedView/IndexBannerView.h"

#include "DataBase/NetData/CustomQuotesList.h"
#include "DataBase/NetData/NetDataCenter.h"
#include "Module/StockDataBaseMgnt/MLineNetData.h"

#include "base/NotificationCenter.h"
#include "ui/ScrollView.h"

#include <string>
#include <vector>

// Hears a tapped index: its code, its place in the column and the five codes in column order.
class IndexSideBannerViewDelegate {
public:
    virtual ~IndexSideBannerViewDelegate() = default;
    virtual base::Opt<void> ReturnSelStockCode(const std::string &code, int index,
                                               const std::vector<std::string> &codes) {
        (void)code, (void)index, (void)codes;
        return base::notImplemented;
    }
};

// The column of five market indices beside the home page's first page: a scrolling column of
// 190-point tiles (`IndexBannerView`) with each index's name, last value, change and intraday chart.
// It asks for the five quotes at creation and on every refresh tick of its owner; each quote reply
// fills the tiles by code (a code the reply leaves out keeps its tile) and asks for the intraday
// minutes of every code it returned. Replies come back under ObserverName, which another index
// column may share: this one takes only replies carrying its own reply array or one of its own
// intraday packs. A returning quote connection lets the intraday requests start afresh; an
// application that becomes active again drops the minutes so that the charts fill anew.
class IndexSideBannerView : public ui::View, public DataPoolDelegate, public IndexBannerViewDelegate {
public:
    static constexpr const char *ObserverName = "IndexSideBannerViewNotify";
    static constexpr int BeginTag = 1500;
    static constexpr int QuoteListType = 2955;
    static constexpr int MinLineType = 2942;
    static const std::vector<std::string> &indexCodes();

    explicit IndexSideBannerView(gfx::Rect frame);
    ~IndexSideBannerView() override;
    void setUp() override;

    void NotifyTimeEvent() { reqIndexBanner(); }
    void reqIndexBanner();
    void SetStockDataArray(const std::vector<base::Ref<CustomQuotesList::QuoteDic>> &entries);
    void SetStockMinLine(const std::string &code, const std::vector<base::Ref<base::Object>> &points);

    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;
    base::Opt<void> ReturnSelStockCode(const std::string &code, int tag) override;

    IndexBannerView *tileAt(int index);
    ui::ScrollView &backgroundScroll() { return *backgroundScroll_; }
    int itemCount() const { return itemCount_; }
    MLineNetData &minLineLib() { return *indexBannerMinLineLib_; }

    base::Weak<IndexSideBannerViewDelegate> delegate;

private:
    void CommonNotify(const base::Notification &notification);

    base::Ref<ui::ScrollView> backgroundScroll_;
    int itemCount_ = 0;
    std::vector<base::Ref<CustomQuotesList::QuoteDic>> stockDataArray_;
    base::Ref<CustomQuotesList> indexSideBannerQuotes_;
    base::Ref<StockQuoteList> rspArray_;
    base::Ref<MLineNetData> indexBannerMinLineLib_;
};
