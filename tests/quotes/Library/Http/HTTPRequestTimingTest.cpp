#include "HTTPInputStream.h"
#include "HttpTestSupport.h"
#include "Reachability.h"
#include "peers/FaultPeer.h"
#include "peers/NginxPeer.h"

#include "base/VirtualClock.h"
#include "ui/Application.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

namespace {

using peers::FaultPeer;

// Time-outs, retries and the activity indicator on the virtual clock.
class HTTPRequestTimingTest : public ::testing::Test {
protected:
    // The network thread may still read the clock after a test: it is never destroyed.
    HTTPRequestTimingTest() : clock(sharedClock()) {}
    static base::VirtualClock &sharedClock() {
        static auto *clock = new base::VirtualClock;
        return *clock;
    }
    void SetUp() override { base::Clock::setCurrent(&clock); }
    void TearDown() override { base::Clock::setCurrent(nullptr); }

    // Advances virtual time in status-timer steps until the request ends, letting both threads act
    // on each moment before time moves on; answers the time taken.
    double runUntilEnded(const base::Ref<HTTPRequest> &request, const std::shared_ptr<RecordingDelegate> &d,
                         double limit) {
        const double start = clock.monotonic();
        for (settle(); !(d->ended() && request->isFinished()) && clock.monotonic() - start < limit; settle())
            clock.advance(HTTPRequest::statusInterval);
        return clock.monotonic() - start;
    }

    base::VirtualClock &clock;
};

TEST_F(HTTPRequestTimingTest, SilentServersTimeOutAfterTheirLimit) {
    struct Case {
        const char *name;
        bool body;
        double timeOut;
        int retries;
        double earliest, latest;
        size_t accepts;
    };
    const Case cases[] = {
        {"GET", false, 10, 0, 10, 11, 1},
        {"POST gets half as long again", true, 10, 0, 15, 16, 1},
        {"two retries, three transfers", false, 2, 2, 6, 8, 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FaultPeer silent({FaultPeer::silence()});
        auto request = HTTPRequest::requestWithURL(url(silent.url()));
        if (c.body)
            request->appendPostData(base::Data::fromString("payload"));
        request->setTimeOutSeconds(c.timeOut);
        request->setNumberOfTimesToRetryOnTimeout(c.retries);
        auto d = std::make_shared<RecordingDelegate>();
        request->setDelegate(d);
        request->startAsynchronous();
        ASSERT_TRUE(runMainUntil([&] { return silent.requests().size() >= 1; }));
        double took = runUntilEnded(request, d, 60);
        ASSERT_TRUE(request->error());
        EXPECT_EQ(request->error()->code(), RequestTimedOutErrorType);
        EXPECT_EQ(request->error()->localizedDescription(), "The request timed out");
        EXPECT_GE(took, c.earliest);
        EXPECT_LE(took, c.latest);
        // The last connection may still wait in the peer's backlog.
        runMainUntil([&] { return silent.accepted() >= c.accepts; }, 5);
        EXPECT_EQ(silent.accepted(), c.accepts);
        EXPECT_EQ(d->count("failed"), 1u);
    }
}

TEST_F(HTTPRequestTimingTest, ZeroTimeOutNeverTimesOut) {
    FaultPeer silent({FaultPeer::silence()});
    auto request = HTTPRequest::requestWithURL(url(silent.url()));
    request->setTimeOutSeconds(0);
    auto d = std::make_shared<RecordingDelegate>();
    request->setDelegate(d);
    request->startAsynchronous();
    ASSERT_TRUE(runMainUntil([&] { return silent.requests().size() >= 1; }));
    runUntilEnded(request, d, 30);
    EXPECT_FALSE(d->ended());
    request->cancel();
    ASSERT_TRUE(runMainUntil([&] { return request->isFinished(); }));
}

TEST_F(HTTPRequestTimingTest, ActivityIndicatorShowsWhileStreamsRunAndHidesHalfASecondAfter) {
    peers::NginxPeer nginx;
    auto &app = ui::Application::shared();
    app.setNetworkActivityIndicatorVisible(false);
    auto request = HTTPRequest::requestWithURL(url(nginx.url("/conn")));
    auto d = std::make_shared<RecordingDelegate>();
    request->setDelegate(d);
    bool seenVisible = false;
    request->setStartedBlock([&] { seenVisible |= app.networkActivityIndicatorVisible(); });
    request->startAsynchronous();
    ASSERT_TRUE(runMainUntil([&] { return d->ended(); }));
    settle();
    EXPECT_TRUE(seenVisible || app.networkActivityIndicatorVisible());
    EXPECT_FALSE(HTTPRequest::isNetworkInUse());
    clock.advance(0.3);
    EXPECT_TRUE(app.networkActivityIndicatorVisible()) << "still shown within half a second";

    // The half second counts from the last stream to stop, not the first.
    auto second = HTTPRequest::requestWithURL(url(nginx.url("/conn")));
    auto d2 = std::make_shared<RecordingDelegate>();
    second->setDelegate(d2);
    second->startAsynchronous();
    ASSERT_TRUE(runMainUntil([&] { return d2->ended(); }));
    settle();
    clock.advance(0.3);
    EXPECT_TRUE(app.networkActivityIndicatorVisible()) << "a second request stopped 0.3 s ago";
    clock.advance(0.3);
    EXPECT_FALSE(app.networkActivityIndicatorVisible());
}

TEST(ReachabilityTest, StatusFromFlags) {
    using namespace net;
    auto internet = Reachability::reachabilityForInternetConnection();
    const std::pair<uint32_t, NetworkStatus> cases[] = {
        {Reachable | IsWWAN, ReachableViaWWAN},
        {Reachable, ReachableViaWiFi},
        {Reachable | ConnectionRequired | TransientConnection, NotReachable},
        {Reachable | ConnectionRequired, ReachableViaWiFi},
        {Reachable | ConnectionOnTraffic, NotReachable},
        {IsWWAN, NotReachable},
    };
    for (auto [flags, status] : cases)
        EXPECT_EQ(internet->networkStatusForFlags(flags), status) << flags;
    auto wifi = Reachability::reachabilityForLocalWiFi();
    EXPECT_EQ(wifi->key(), "LocalWiFiConnection");
    EXPECT_EQ(wifi->networkStatusForFlags(Reachable | IsWWAN | TransientConnection), NotReachable);
    EXPECT_EQ(wifi->networkStatusForFlags(Reachable | IsDirect), ReachableViaWiFi);
    EXPECT_EQ(Reachability::makeAddressKey(htonl(0x0A000102)), "10.0.1.2");

    ReachabilityTarget::overrideFlags(Reachable | IsWWAN);
    EXPECT_TRUE(internet->isReachableViaWWAN());
    ReachabilityTarget::overrideFlags(std::nullopt);
}

TEST(ThrottlingTest, OvershootSleepsPastTheSecondAndUploadReadsShrink) {
    // Starts past any period the other tests opened on the real clock, and a repeated run past the
    // one it opened itself.
    static auto *clock = new base::VirtualClock(base::RealClock().now() + 100);
    clock->advance(10);
    const double start = clock->now();
    base::Clock::setCurrent(clock);
    EXPECT_FALSE(HTTPRequest::isBandwidthThrottled());
    HTTPRequest::setMaxBandwidthPerSecond(1000);
    EXPECT_TRUE(HTTPRequest::isBandwidthThrottled());
    HTTPRequest::measureBandwidthUsage(); // opens a period ending a second from now
    HTTPRequest::incrementBandwidthUsedInLastSecond(1500);
    HTTPRequest::measureBandwidthUsage();
    ASSERT_TRUE(HTTPRequest::throttleWakeUpTime());
    EXPECT_DOUBLE_EQ(*HTTPRequest::throttleWakeUpTime(), start + 1.5);

    auto stream = HTTPInputStream::inputStreamWithData(base::Data(std::vector<uint8_t>(4000, 'u')), nullptr);
    stream->open();
    uint8_t buffer[4000];
    EXPECT_EQ(stream->read(buffer, sizeof buffer), 1) << "nothing left of this second: one byte";
    clock->advance(1.0);
    HTTPRequest::measureBandwidthUsage();
    EXPECT_EQ(stream->read(buffer, sizeof buffer), 250) << "a quarter of the limit";

    HTTPRequest::setMaxBandwidthPerSecond(0);
    EXPECT_EQ(stream->read(buffer, sizeof buffer), 3749) << "unthrottled: the whole request";
    HTTPRequest::setShouldThrottleBandwidthForWWAN(true);
    EXPECT_EQ(HTTPRequest::maxBandwidthPerSecond(), 14800u);
    EXPECT_FALSE(HTTPRequest::isBandwidthThrottled()) << "not on a mobile network";
    HTTPRequest::setShouldThrottleBandwidthForWWAN(false);
    base::Clock::setCurrent(nullptr);
}

} // namespace
