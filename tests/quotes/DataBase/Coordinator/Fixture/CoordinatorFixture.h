#pragma once

#include "DataBase/DataBase.h"
#include "Module/StockDataBaseMgnt/DataManager.h"
#include "base/FileManager.h"
#include "base/NotificationCenter.h"
#include "base/Paths.h"
#include "base/RunLoop.h"
#include "base/Str.h"
#include "host/Offscreen.h"
#include "net/Reachability.h"
#include "peers/LoopDriver.h"
#include "peers/NavigationServer.h"
#include "peers/QuoteServer.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace coordinator {

// The one navigation server of the test program. The bundle's server list is read from a
// bundle made for the program, which lists this server; tests point it at their quote server.
peers::NavigationServer &navigation();

// What the coordinator reports to the application.
class RecordingDelegate : public DataBaseDelegate {
public:
    struct Report {
        float progress;
        std::string marker;
        double time;
    };
    base::Opt<void> ReportInitProgress(float progress, const std::string &marker) override {
        reports.push_back({progress, marker, base::Clock::current().monotonic()});
        return {};
    }
    base::Opt<void> showTipMessage(const base::Value &, const std::string &marker) override {
        tips.push_back(marker);
        return {};
    }
    // The delays of the reconnect keeper as it announced them ("3.30"), in order.
    std::vector<std::string> reconnectDelays() const;
    // The progress values of the login reports (those other than -1).
    std::vector<float> loginProgress() const;

    std::vector<Report> reports;
    std::vector<std::string> tips;
};

// A requester that counts its replies.
class RecordingRequester : public base::Object, public DataPoolDelegate {
public:
    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override {
        types.push_back(reqType);
        replies.push_back(params);
    }
    size_t count(int32_t type) const { return size_t(std::count(types.begin(), types.end(), type)); }

    std::vector<int32_t> types;
    std::vector<base::Ref<ReqParams>> replies;
};

// A coordinator on the main run loop, the loopback quote server and the navigation server
// pointing at it, an offscreen host with its virtual clock, and the statuses of the login. Time
// moves only by the virtual clock: the loop runs until the coordinator and both servers are idle,
// then the clock jumps to the next due timer, so no test waits on real time. Tests of the data
// layer built on the coordinator derive from it as well (link quotes_coordinator_fixture).
class CoordinatorTest : public ::testing::Test {
protected:
    CoordinatorTest();
    // The same against a quote server of another market.
    explicit CoordinatorTest(peers::MarketFixture market);
    ~CoordinatorTest() override;

    // A new coordinator in place of the current one, which is disconnected first.
    void restart();

    // Runs the main loop, without moving the clock, until `done` answers true or nothing is left
    // to do on either side of the connections; answers `done()`.
    bool pumpUntil(const std::function<bool()> &done) { return driver.runUntilIdle(done); }
    // Runs, and moves the clock on from one due timer to the next while `done` answers false, so
    // that the keeper's waits pass: up to `seconds` of clock time.
    bool runUntil(const std::function<bool()> &done, double seconds = 30) {
        return driver.runUntil(done, seconds);
    }
    // Runs the main loop until nothing is left to do: what has arrived is handled.
    void settle() { driver.runUntilIdle(); }
    // Moves the clock on, handling at each due time on the way what that starts and what arrives.
    void advance(double seconds) { driver.advance(seconds); }

    // Logins started from scratch, and the wait for a status or for the one that ends the login.
    void loginWithoutAccount();
    void loginWithAccount(const std::string &name = "u1", const std::string &password = "pw");
    bool waitForEnd();
    bool waitForStatus(int status);
    // A finished login without account: quote server connected, code tables loaded.
    void readyWithoutAccount();
    void readyWithAccount();

    // How many lost connections the coordinator has reported.
    size_t losses() const;

    std::string documentsFile(const std::string &name) const {
        return base::Paths::join(base::Paths::documents(), name);
    }

    host::TestApp app;
    peers::QuoteServer quotes;
    peers::LoopDriver driver{app.clock()};
    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
    base::Ref<DataBase> db;
    std::vector<int> statuses;
    base::Ref<base::Object> observer = base::make<base::Object>();
};

} // namespace coordinator
