#pragma once

#include "HTTPRequest.h"

#include "base/RunLoop.h"
#include "base/Thread.h"

#include <chrono>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// Runs the main loop until `done` holds; a generous real-time bound turns a hang into a failure.
inline bool runMainUntil(const std::function<bool()> &done, double seconds = 20) {
    auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        base::RunLoop::main().runOnce(base::RunLoop::Default, 0.05);
    }
    return true;
}

// Lets whatever the network thread has to deliver reach the main thread, with no real pause. A call
// posted to the network thread runs before that pass fires its due timers, so the second call comes
// back only once the network thread has acted on the present moment; what it posted to the main loop
// before then is run here. The main loop keeps running meanwhile: the network thread may be waiting
// for it.
inline void settle() {
    for (int round = 0; round < 2; ++round) {
        std::promise<void> reached;
        std::future<void> back = reached.get_future();
        HTTPRequest::threadForRequest().runLoop().post([&reached] { reached.set_value(); });
        while (back.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
            base::RunLoop::main().runOnce(base::RunLoop::Default, 0.001);
    }
    while (base::RunLoop::main().runOnce(base::RunLoop::Default, 0)) {
    }
}

// A delegate that notes each operation and the thread it arrived on.
class RecordingDelegate : public HTTPRequestDelegate {
public:
    std::vector<std::string> log;
    bool offMain = false;
    bool takesData = false;
    std::string data;

    bool implements(std::string_view op) const override { return takesData && op == didReceiveData; }
    base::Opt<void> requestStarted(HTTPRequest &) override { return note("started"); }
    base::Opt<void> request(HTTPRequest &, const base::Dict &) override { return note("headers"); }
    base::Opt<void> request(HTTPRequest &, const base::Data &bytes) override {
        data += bytes.toString();
        return note("data");
    }
    base::Opt<void> requestRedirected(HTTPRequest &) override { return note("redirected"); }
    base::Opt<void> requestFinished(HTTPRequest &) override { return note("finished"); }
    base::Opt<void> requestFailed(HTTPRequest &) override { return note("failed"); }

    bool ended() const { return count("finished") + count("failed") > 0; }
    size_t count(const std::string &what) const { return size_t(std::count(log.begin(), log.end(), what)); }

private:
    base::Opt<void> note(std::string what) {
        offMain |= !base::Thread::isMain();
        // Only the ends and a few milestones matter to the tests; data chunks would swamp the log.
        if (what != "data" || log.empty() || log.back() != "data")
            log.push_back(std::move(what));
        return {};
    }
};

// Starts `request` asynchronously with a recording delegate and waits for its end.
inline std::shared_ptr<RecordingDelegate> runAsync(const base::Ref<HTTPRequest> &request) {
    auto delegate = std::make_shared<RecordingDelegate>();
    request->setDelegate(delegate);
    request->startAsynchronous();
    runMainUntil([&] { return delegate->ended() && request->isFinished(); });
    return delegate;
}

// Stops the network thread once every test has run, so that the process ends with no thread left.
class NetworkThreadEnvironment : public ::testing::Environment {
public:
    void TearDown() override { HTTPRequest::stopNetworkThreadForTesting(); }
};

inline base::Url url(const std::string &text) {
    return *base::Url::parse(text);
}
