#pragma once

#include "DataBase/NetData/NetDataCenter.h"
#include "DataBase/TradeDataBase/TradeDataBase.h"
#include "host/Offscreen.h"
#include "peers/LoopDriver.h"
#include "peers/TradeAccountBook.h"
#include "peers/TradeGateway.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tradequery {

// What a query object's delegate heard, in order: "rows:<page text>:<row count or none>:<reqType>",
// "start", "stop", "refresh", and the single replies of the transfer data.
struct Log {
    std::vector<std::string> events;
    void add(std::string event) { events.push_back(std::move(event)); }
    int count(const std::string &event) const;
    std::string last() const { return events.empty() ? std::string() : events.back(); }
};

// The process-wide trade connection logged in to the loopback gateway, whose account a book keeps,
// on the main run loop under a virtual clock shared with an offscreen host, so that alerts and tips
// can be read back. Nothing waits on real time.
class TradeQueryTest : public ::testing::Test {
protected:
    static constexpr const char *kBroker = "zira";
    static constexpr const char *kAccount = "880001";

    TradeQueryTest();
    ~TradeQueryTest() override;

    // Runs until neither the loop nor the gateway has anything left to do.
    void settle();
    // Runs the loop until `done` holds; false when it still does not after many idle rounds (a
    // loaded machine may hand loopback bytes and closes over a little late).
    bool pumpUntil(const std::function<bool()> &done);
    void connectAndLogin();
    void disconnect();

    // Functions the gateway received since the last call.
    std::vector<int> sent();
    std::vector<peers::TradeRequest> sentRequests();
    std::vector<std::string> alertTexts() const;
    std::vector<std::string> tipTexts() const;
    // Yyyy-MM-dd of a day before today.
    std::string shownDay(int daysBefore) const;

    base::VirtualClock clock;
    host::TestApp app{&clock};
    peers::LoopDriver driver{clock};
    std::unique_ptr<peers::TradeGateway> gateway;
    std::unique_ptr<peers::TradeAccountBook> book;
    base::Ref<NetDataCenter> quotes;
    base::Ref<TradeDataBase> db;
    std::string today; // yyyyMMdd

private:
    size_t seen_ = 0;
};

} // namespace tradequery
