#include "net/Reachability.h"

#include "base/RunLoop.h"

#include <chrono>
#include <gtest/gtest.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace {

using base::RunLoop;

// An address of the first non-loopback IPv4 interface that is up, if the machine has one.
std::optional<net::SocketAddress> ownAddress() {
    ifaddrs *list = nullptr;
    if (getifaddrs(&list) != 0)
        return std::nullopt;
    std::optional<net::SocketAddress> found;
    for (ifaddrs *i = list; i && !found; i = i->ifa_next)
        if (i->ifa_addr && i->ifa_addr->sa_family == AF_INET && (i->ifa_flags & IFF_UP) &&
            (i->ifa_flags & IFF_RUNNING) && !(i->ifa_flags & IFF_LOOPBACK))
            found.emplace(i->ifa_addr, sizeof(sockaddr_in));
    freeifaddrs(list);
    return found;
}

class ReachabilityTest : public ::testing::Test {
protected:
    void TearDown() override { net::ReachabilityTarget::overrideFlags(std::nullopt); }
    static uint32_t flagsOf(const base::Ref<net::ReachabilityTarget> &target) {
        uint32_t flags = 0xdead;
        EXPECT_TRUE(target->flags(flags));
        return flags;
    }
};

TEST_F(ReachabilityTest, LocalTargetsAreReachableLocalAndDirect) {
    const uint32_t local = net::Reachable | net::IsLocalAddress | net::IsDirect;
    for (const char *host : {"127.0.0.1", "127.1.2.3", "::1", "localhost"})
        EXPECT_EQ(flagsOf(net::ReachabilityTarget::forHost(host)), local) << host;
    if (auto own = ownAddress()) {
        EXPECT_EQ(flagsOf(net::ReachabilityTarget::forAddress(*own)), local) << own->numericHost();
    }
}

TEST_F(ReachabilityTest, TheInternetIsReachableExactlyWhenAnInterfaceIsUp) {
    auto internet = net::ReachabilityTarget::forAddress(*net::SocketAddress::numeric("0.0.0.0", 0));
    EXPECT_EQ(flagsOf(internet), ownAddress() ? uint32_t(net::Reachable) : 0u);
    EXPECT_EQ(flagsOf(net::ReachabilityTarget::forInternet()), flagsOf(internet));
    EXPECT_EQ(flagsOf(net::ReachabilityTarget::forHost("quotes.example.com")), flagsOf(internet))
        << "names are judged without a lookup";
}

TEST_F(ReachabilityTest, OverrideSimulatesAnotherNetworkAndReachesScheduledTargets) {
    auto internet = net::ReachabilityTarget::forInternet();
    auto local = net::ReachabilityTarget::forHost("127.0.0.1");
    std::vector<uint32_t> heard;
    internet->setCallback([&](uint32_t flags) { heard.push_back(flags); });
    ASSERT_TRUE(internet->schedule(RunLoop::current(), RunLoop::Default));
    const uint32_t real = flagsOf(internet);

    net::ReachabilityTarget::overrideFlags(0);
    EXPECT_EQ(flagsOf(internet), 0u);
    EXPECT_EQ(flagsOf(local), 0u);
    // Changes are posted to the loop at once: a pass without waiting handles them.
    EXPECT_TRUE(heard.empty()) << "the change is reported on the run loop";
    RunLoop::current().runOnce(RunLoop::Default, 0);
    net::ReachabilityTarget::overrideFlags(net::Reachable | net::IsWWAN);
    RunLoop::current().runOnce(RunLoop::Default, 0);
    net::ReachabilityTarget::overrideFlags(net::Reachable | net::IsWWAN);
    RunLoop::current().runOnce(RunLoop::Default, 0);

    std::vector<uint32_t> expected{net::Reachable | net::IsWWAN};
    if (real != 0)
        expected.insert(expected.begin(), 0);
    EXPECT_EQ(heard, expected) << "only changes are reported";

    internet->unschedule();
    net::ReachabilityTarget::overrideFlags(std::nullopt);
    RunLoop::current().runOnce(RunLoop::Default, 0);
    EXPECT_EQ(heard, expected);
    EXPECT_EQ(flagsOf(internet), real);
}

} // namespace
