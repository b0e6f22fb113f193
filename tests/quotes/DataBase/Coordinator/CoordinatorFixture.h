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
#include "peers/NavigationServer.h"
#include "peers/QuoteServer.h"

#include <chrono>
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
// pointing at it, an offscreen host with its virtual clock, and the statuses of the login.
class CoordinatorTest : public ::testing::Test {
protected:
    CoordinatorTest();
    ~CoordinatorTest() override;

    // A new coordinator in place of the current one, which is disconnected first.
    void restart();

    // Runs the main loop, without moving the clock, until `done` answers true (false after a few
    // real seconds).
    template <class Pred> bool pumpUntil(Pred done, double seconds = 5.0) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            base::RunLoop::main().runOnce(base::RunLoop::Default, 0.002);
        }
        return true;
    }
    // Pumps, and moves the clock on in small steps while nothing happens, so that the keeper's
    // waits pass: up to 30 s of clock time.
    template <class Pred> bool runUntil(Pred done) {
        for (int round = 0; round < 100 && !done(); ++round) {
            pumpUntil(done, 0.05);
            if (!done())
                advance(0.3);
        }
        return done();
    }
    // Runs the main loop for a short real while: what has arrived is handled.
    void settle(double seconds = 0.1);
    // Moves the clock on and handles what that starts.
    void advance(double seconds);

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
    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
    base::Ref<DataBase> db;
    std::vector<int> statuses;
    base::Ref<base::Object> observer = base::make<base::Object>();
};

} // namespace coordinator
