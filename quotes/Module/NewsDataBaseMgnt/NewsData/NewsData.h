#pragma once

#include "base/NotificationCenter.h"
#include "base/Object.h"

#include <string>

// What an owner of a news facade hears back. Every operation is optional.
class NewsDataDelegate {
public:
    virtual ~NewsDataDelegate() = default;
};

// The facade through which an owner asks the news bus for news. Each facade has a notification
// name of its own, under which the bus posts its replies.
class NewsData : public base::Object {
public:
    // The request name of the news bus.
    static constexpr const char *MsgCenterNotify = "MsgCenterNotify";
    static constexpr int MarketBoardFuncID = 3000;

    // A facade registered for the replies under its own name.
    static base::Ref<NewsData> create();
    ~NewsData() override;

    // The owner; not retained.
    void setDelegate(base::Weak<NewsDataDelegate> delegate) { delegate_ = std::move(delegate); }
    const std::string &vcTag() const { return vcTag_; }

    // Asks for the market board lists, whose reply refreshes the board menu files. Nothing comes
    // back to the caller.
    void reqMarketBoard();

private:
    void postNotify(int funcID, base::Dict reqData);

    base::Weak<NewsDataDelegate> delegate_;
    std::string vcTag_;
};
