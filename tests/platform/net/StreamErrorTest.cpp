#include "net/StreamError.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <netdb.h>

namespace {

struct DomainCase {
    int domain;
    const char *name;
};

TEST(StreamErrorTest, EachDomainMapsToItsErrorDomain) {
    const DomainCase cases[] = {
        {net::StreamError::Posix, "NSPOSIXErrorDomain"},
        {net::StreamError::OsStatus, "NSOSStatusErrorDomain"},
        {net::StreamError::Mach, "NSMachErrorDomain"},
        {net::StreamError::NetDb, "kCFStreamErrorDomainNetDB"},
        {net::StreamError::NetServices, "kCFStreamErrorDomainNetServices"},
        {net::StreamError::Socks, "kCFStreamErrorDomainSOCKS"},
        {net::StreamError::SystemConfiguration, "kCFStreamErrorDomainSystemConfiguration"},
        {net::StreamError::Ssl, "kCFStreamErrorDomainSSL"},
        {99, "CFStreamError (unlisted domain)"},
    };
    for (const auto &c : cases) {
        auto error = net::toError({c.domain, 7});
        ASSERT_TRUE(error) << c.name;
        EXPECT_EQ(error->domain(), c.name);
        EXPECT_EQ(error->code(), 7);
    }
}

TEST(StreamErrorTest, NoErrorOnlyWhenDomainAndCodeAreZero) {
    EXPECT_FALSE(net::toError({}));
    EXPECT_TRUE(net::toError({net::StreamError::None, 5}));
}

TEST(StreamErrorTest, CarriesTheSystemsTexts) {
    EXPECT_EQ(net::toError({net::StreamError::Posix, ECONNREFUSED})->localizedDescription(),
              "Connection refused");
    EXPECT_EQ(net::toError({net::StreamError::NetDb, EAI_NONAME})->localizedDescription(),
              gai_strerror(EAI_NONAME));
}

} // namespace
