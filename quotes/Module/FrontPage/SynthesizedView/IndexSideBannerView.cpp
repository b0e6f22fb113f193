#include "Module/FrontPage/SynthesizedView/IndexSideBannerView.h"

#include "DataBase/DataBase.h"
#include "DataBase/NetData/RequestPosItem.h"
#include "Module/Market/MarketTableBaseView.h"

const std::vector<std::string> &IndexSideBannerView::indexCodes() {
    static const std::vector<std::string> codes = {"SH000001", "SZ399001", "HKHSI", "SZ399006", "IXDJIA"};
    return codes;
}

IndexSideBannerView::IndexSideBannerView(gfx::Rect frame) : ui::View(frame) {
    setBackgroundColor(gfx::Color::clear());
    opaque = false;
}

IndexSideBannerView::~IndexSideBannerView() {
    base::NotificationCenter::shared().removeObserver(this);
}

void IndexSideBannerView::setUp() {
    ui::View::setUp();
    indexSideBannerQuotes_ = base::make<CustomQuotesList>();
    indexSideBannerQuotes_->codeArray = indexCodes();
    indexSideBannerQuotes_->loadFromCodes();
    rspArray_ = base::make<StockQuoteList>();
    indexBannerMinLineLib_ = base::make<MLineNetData>();
    backgroundScroll_ = base::make<ui::ScrollView>(gfx::Rect{0, 0, bounds().width(), bounds().height()});
    backgroundScroll_->showsHorizontalScrollIndicator = false;
    backgroundScroll_->showsVerticalScrollIndicator = false;
    backgroundScroll_->setBackgroundColor(gfx::Color::clear());
    backgroundScroll_->opaque = false;
    addSubview(backgroundScroll_);

    base::Weak<IndexSideBannerView> weak = weakSelf<IndexSideBannerView>();
    base::NotificationCenter::shared().addObserver(weak, ObserverName, [weak](const base::Notification &n) {
        if (auto self = weak.lock())
            DataBase::ProcRecvNotify(n, *self);
    });
    base::NotificationCenter::shared().addObserver(weak, DataBase::CommonNotify,
                                                   [weak](const base::Notification &n) {
                                                       if (auto self = weak.lock())
                                                           self->CommonNotify(n);
                                                   });
    SetStockDataArray(indexSideBannerQuotes_->dataArray);
    reqIndexBanner();
}

void IndexSideBannerView::reqIndexBanner() {
    if (const base::Ref<DataBase> &db = DataBase::sharedDataBase())
        if (auto center = db->IO_NetDataCenter())
            center->RequestPauseList(std::string(ObserverName), 0, indexSideBannerQuotes_->codeArray,
                                     rspArray_, 0);
}

IndexBannerView *IndexSideBannerView::tileAt(int index) {
    return dynamic_cast<IndexBannerView *>(backgroundScroll_->viewWithTag(BeginTag + index));
}

void IndexSideBannerView::SetStockDataArray(
    const std::vector<base::Ref<CustomQuotesList::QuoteDic>> &entries) {
    stockDataArray_ = entries;
    itemCount_ = int(entries.size());
    float w = bounds().width();
    for (int i = 0; i < itemCount_; ++i) {
        IndexBannerView *tile = tileAt(i);
        if (!tile) {
            auto made = base::make<IndexBannerView>(
                gfx::Rect{0, IndexBannerView::TileHeight * float(i), w, IndexBannerView::TileHeight});
            made->delegate = weakSelf<IndexSideBannerView>();
            made->tag = BeginTag + i;
            backgroundScroll_->addSubview(made);
            tile = made.get();
        }
        if (const base::Ref<StockQuoteInf> &record = entries[size_t(i)]->basicInf)
            tile->SetStockData(*record);
    }
    backgroundScroll_->setContentSize({w, IndexBannerView::TileHeight * float(itemCount_)});
}

void IndexSideBannerView::SetStockMinLine(const std::string &code,
                                          const std::vector<base::Ref<base::Object>> &points) {
    for (size_t i = 0; i < stockDataArray_.size(); ++i) {
        const base::Ref<StockQuoteInf> &record = stockDataArray_[i]->basicInf;
        if (!record || record->code != code)
            continue;
        if (IndexBannerView *tile = tileAt(int(i)))
            tile->minView().Update(record, toMinLineList(points));
        return;
    }
}

void IndexSideBannerView::DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) {
    if (!params)
        return;
    if (reqType == QuoteListType) {
        // Another column answered under the same name carries its own array.
        if (params->object<StockQuoteList>("rspArray") != rspArray_)
            return;
        indexSideBannerQuotes_->rspQuotesArray = rspArray_->items;
        indexSideBannerQuotes_->loadQuotes();
        SetStockDataArray(indexSideBannerQuotes_->dataArray);
        for (const base::Ref<StockQuoteInf> &record : rspArray_->items)
            if (record && !record->code.empty())
                indexBannerMinLineLib_->reqMinLine(std::string(ObserverName), record->code);
    } else if (reqType == MinLineType) {
        base::Ref<MinLinePack> pack = MinLinePack::getMinLinePackFromDict(params->object("pack"));
        std::string code = params->get("code").stringValue();
        if (!pack || indexBannerMinLineLib_->getMinLinePack(code) != pack || pack->rspArray.empty())
            return;
        SetStockMinLine(code, pack->rspArray);
    }
}

void IndexSideBannerView::CommonNotify(const base::Notification &notification) {
    if (notification.userInfo.get("HQConnectStatus").boolValue())
        indexBannerMinLineLib_->setAllIdle();
    if (notification.userInfo.get("AppActiveState").stringValue() == "AppDidBecomeActive")
        indexBannerMinLineLib_->clearAllMinLinesData();
}

base::Opt<void> IndexSideBannerView::ReturnSelStockCode(const std::string &code, int tag) {
    base::Ref<ui::View> alive = self<ui::View>();
    if (auto d = delegate.lock())
        d->ReturnSelStockCode(code, tag - BeginTag, indexCodes());
    return {};
}
