#pragma once

#include "Module/NewsDataBaseMgnt/NewsData/NewsSummaryInfo.h"
#include "base/NotificationCenter.h"
#include "base/Object.h"

#include <string>
#include <vector>

// What an owner of a news facade hears back. Every operation is optional.
class NewsDataDelegate {
public:
    virtual ~NewsDataDelegate() = default;
    // Today's information mines of a security, as reqTodayInfoBomb asked for them.
    virtual base::Opt<void> updateTodayInfoBombArray(const std::vector<base::Ref<NewsSummaryInfo>> &items) {
        (void)items;
        return base::notImplemented;
    }
    virtual base::Opt<void> updateTodayInfoBombArrayError(const std::string &failMsg) {
        (void)failMsg;
        return base::notImplemented;
    }
};

// The facade through which an owner asks the news bus for news. Each facade has a notification
// name of its own, under which the bus posts its replies.
class NewsData : public base::Object {
public:
    // The request name of the news bus.
    static constexpr const char *MsgCenterNotify = "MsgCenterNotify";
    static constexpr int MarketBoardFuncID = 3000;
    static constexpr int TodayInfoBombFuncID = 1600;

    // A facade registered for the replies under its own name.
    static base::Ref<NewsData> create();
    ~NewsData() override;

    // The owner; not retained.
    void setDelegate(base::Weak<NewsDataDelegate> delegate) { delegate_ = std::move(delegate); }
    const std::string &vcTag() const { return vcTag_; }

    // Asks for the market board lists, whose reply refreshes the board menu files. Nothing comes
    // back to the caller.
    void reqMarketBoard();
    // Asks for today's information mines of the code ("SH600000") on the date (yyyymmdd); the
    // reply comes as updateTodayInfoBombArray.
    void reqTodayInfoBomb(const std::string &code, int todayNumDate);

private:
    void postNotify(int funcID, base::Dict reqData);

    base::Weak<NewsDataDelegate> delegate_;
    std::string vcTag_;
};
