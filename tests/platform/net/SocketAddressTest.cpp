#include "net/SocketAddress.h"

#include <gtest/gtest.h>

namespace {

TEST(SocketAddressTest, NumericAddressesRoundTrip) {
    struct Case {
        const char *host;
        int family;
        bool any;
    } const cases[] = {
        {"127.0.0.1", AF_INET, false},
        {"0.0.0.0", AF_INET, true},
        {"::1", AF_INET6, false},
        {"::", AF_INET6, true},
    };
    for (const auto &c : cases) {
        auto addr = net::SocketAddress::numeric(c.host, 8080);
        ASSERT_TRUE(addr) << c.host;
        EXPECT_EQ(addr->family(), c.family);
        EXPECT_EQ(addr->numericHost(), c.host);
        EXPECT_EQ(addr->port(), 8080);
        EXPECT_EQ(addr->isAny(), c.any);
    }
}

TEST(SocketAddressTest, NamesAreNotNumeric) {
    EXPECT_FALSE(net::SocketAddress::numeric("localhost", 80));
    EXPECT_FALSE(net::SocketAddress::numeric("256.1.1.1", 80));
    EXPECT_FALSE(net::SocketAddress::numeric("", 80));
}

TEST(SocketAddressTest, ClosedHandleHasNoAddresses) {
    auto socket = net::Socket::wrap(-1);
    EXPECT_FALSE(socket->isValid());
    EXPECT_FALSE(socket->peer());
    EXPECT_FALSE(socket->local());
}

} // namespace
