#pragma once

#include "Module/NewsDataBaseMgnt/NewsData/NewsColumnItemInfo.h"
#include "Module/NewsDataBaseMgnt/NewsData/NewsContentInfo.h"
#include "Module/NewsDataBaseMgnt/NewsData/NewsListInfo.h"
#include "Module/NewsDataBaseMgnt/NewsData/NewsSummaryInfo.h"

#include "base/NotificationCenter.h"
#include "base/Object.h"

#include <string>
#include <vector>

// What the owner of a news facade hears back; every operation is optional. A success callback
// gets the reply's records: an empty array, or no list or article, when the host's document was
// unreadable or reported an error. An error callback gets the failed transfer's text ("HTTP 404",
// "The request timed out", "Unable to create request (bad url?)").
class NewsDataDelegate {
public:
    using Headlines = std::vector<base::Ref<NewsSummaryInfo>>;
    using Columns = std::vector<base::Ref<NewsColumnItemInfo>>;

    virtual ~NewsDataDelegate() = default;
    virtual base::Opt<void> updateNewsTopLineArray(const Headlines &) { return base::notImplemented; }
    virtual base::Opt<void> updateNewsTopLineArrayError(const std::string &) { return base::notImplemented; }
    virtual base::Opt<void> updateNewsColumnArray(const Columns &) { return base::notImplemented; }
    virtual base::Opt<void> updateNewsColumnArrayError(const std::string &) { return base::notImplemented; }
    virtual base::Opt<void> updateNewsList(const base::Ref<NewsListInfo> &) { return base::notImplemented; }
    virtual base::Opt<void> updateNewsListError(const std::string &) { return base::notImplemented; }
    virtual base::Opt<void> updateNewsContent(const base::Ref<NewsContentInfo> &) {
        return base::notImplemented;
    }
    virtual base::Opt<void> updateNewsContentError(const std::string &) { return base::notImplemented; }
    // Today's information mines of a security, as reqTodayInfoBomb asked for them.
    virtual base::Opt<void> updateTodayInfoBombArray(const Headlines &) { return base::notImplemented; }
    virtual base::Opt<void> updateTodayInfoBombArrayError(const std::string &) {
        return base::notImplemented;
    }
    // The four categories of a security's news, each a dictionary with "Name" (text) and, when the
    // category has entries, "Items" (an array of NewsListItemInfo objects); empty when none came.
    virtual base::Opt<void> updateStockNewsList(const base::Array &) { return base::notImplemented; }
    virtual base::Opt<void> updateStockNewsListError(const std::string &) { return base::notImplemented; }
};

// The one object through which a screen, a view or the quote connection asks for news. Each owner
// makes its own facade and sets itself as the delegate; the facade wraps every request into a news
// bus envelope under its own ControllerID, posts it, and turns the reply into one callback. Replies
// come in the order the transfers end and say nothing of which request they answer: an owner with
// overlapping requests of one kind keeps its own state. A released facade hears nothing more.
class NewsData : public base::Object {
public:
    // The request name of the news bus.
    static constexpr const char *MsgCenterNotify = "MsgCenterNotify";

    enum FuncID {
        NewsTopLineArrayFuncID = 100,
        NewsColumnArrayFuncID = 200,
        NewsListFuncID = 400,
        NewsContentFuncID = 500,
        TodayInfoBombFuncID = 600,
        StockNewsListFuncID = 700,
        MarketBoardFuncID = 3000,
    };

    // A facade with a new ControllerID, listening for its replies.
    static base::Ref<NewsData> create() { return base::make<NewsData>(); }
    void setUp() override;
    ~NewsData() override;

    // The owner; not retained.
    void setDelegate(base::Weak<NewsDataDelegate> delegate) { delegate_ = std::move(delegate); }
    const std::string &vcTag() const { return vcTag_; }

    void reqNewsTopLineArray();
    void reqNewsColumnArray();
    void reqNewsList(const std::string &listUrl);
    void reqNewsContent(const std::string &contentUrl);
    // Today's information mines of the code ("SH600000") on the date (yyyymmdd).
    void reqTodayInfoBomb(const std::string &code, int todayNumDate);
    void reqStockNewsList(const std::string &code);
    // The market board lists, whose reply refreshes the board menu files. Nothing comes back.
    void reqMarketBoard();

    void vcMsgCenterProcess(const base::Notification &notification);

private:
    void postNotify(int funcID, base::Dict reqData);

    base::Weak<NewsDataDelegate> delegate_;
    std::string vcTag_;
};
