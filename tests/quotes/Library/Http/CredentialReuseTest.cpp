#include "HttpTestSupport.h"
#include "peers/FaultPeer.h"
#include "peers/NginxSuite.h"
#include "peers/ProxyPeer.h"

#include "net/CredentialStore.h"

#include <gtest/gtest.h>

namespace {

using peers::FaultPeer;
using peers::ProxyPeer;

class CredentialReuseTest : public peers::NginxSuite<> {
protected:
    void SetUp() override {
        NginxSuite::SetUp();
        HTTPRequest::clearSession();
        net::CredentialStore::shared().clear();
    }
    void TearDown() override { HTTPRequest::clearSession(); }

    static std::string redirectTo(const std::string &target) {
        return "HTTP/1.1 302 Found\r\nLocation: " + target +
               "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    }
    static constexpr const char *challenge =
        "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"first\"\r\nContent-Length: 0\r\n\r\n";
};

// A logged-in request that a server sends to another origin (scheme, host or port) arrives there
// with nothing of the first server's credentials.
TEST_F(CredentialReuseTest, CredentialsNeverFollowARedirectToAnotherOrigin) {
    FaultPeer second({FaultPeer::send("HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok"),
                      FaultPeer::close()});
    const struct {
        const char *name;
        bool basicBeforeChallenge;
        std::vector<FaultPeer::Step> first;
    } cases[] = {
        {"sent before a challenge", true, {FaultPeer::send(redirectTo(second.url("/a")))}},
        {"given to a challenge",
         false,
         {FaultPeer::send(challenge), FaultPeer::readRequest(),
          FaultPeer::send(redirectTo(second.url("/b")))}},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.name);
        FaultPeer first(c.first);
        auto request = HTTPRequest::requestWithURL(url(first.url("/login")));
        request->setUsername("user");
        request->setPassword("pass");
        if (c.basicBeforeChallenge)
            request->setAuthenticationScheme("Basic");
        request->startSynchronous();
        ASSERT_FALSE(request->error()) << request->error()->localizedDescription();
        EXPECT_EQ(request->responseString(), "ok");
        auto sent = first.requests();
        ASSERT_FALSE(sent.empty());
        EXPECT_NE(sent.back().find("Authorization: Basic dXNlcjpwYXNz"), std::string::npos);
        ASSERT_FALSE(second.requests().empty());
        EXPECT_EQ(second.requests().back().find("Authorization"), std::string::npos);
    }

    // Credentials the first server accepted are not offered to the next server's challenge, even
    // where they would pass.
    FaultPeer first({FaultPeer::send(challenge), FaultPeer::readRequest(),
                     FaultPeer::send(redirectTo(nginx->url("/basic/x")))});
    auto request = HTTPRequest::requestWithURL(url(first.url("/login")));
    request->setUsername("user");
    request->setPassword("pass");
    request->startSynchronous();
    EXPECT_EQ(request->responseStatusCode(), 401);
    ASSERT_TRUE(request->error());
    EXPECT_EQ(request->error()->code(), AuthenticationErrorType);
}

// Proxy credentials that worked go with every later hop of the request and with later requests
// through the same proxy, before the proxy asks.
TEST_F(CredentialReuseTest, ProxyCredentialsAreKeptForTheSession) {
    ProxyPeer proxy(ProxyPeer::Http, "pu", "pp");
    auto through = [&](const std::string &path) {
        auto request = HTTPRequest::requestWithURL(url(nginx->url(path)));
        request->setProxyHost("127.0.0.1");
        request->setProxyPort(proxy.port());
        return request;
    };
    auto redirected = through("/chain/2");
    redirected->setProxyUsername("pu");
    redirected->setProxyPassword("pp");
    redirected->startSynchronous();
    ASSERT_FALSE(redirected->error()) << redirected->error()->localizedDescription();
    EXPECT_EQ(redirected->responseString(), "done");
    EXPECT_EQ(proxy.refused(), 1u) << "only the first hop is challenged";

    auto later = through("/echo/headers");
    later->startSynchronous();
    ASSERT_FALSE(later->error()) << later->error()->localizedDescription();
    EXPECT_EQ(proxy.refused(), 1u) << "a later request is not challenged";
    EXPECT_EQ(later->responseString()->find("Proxy-Authorization"), std::string::npos);

    // A proxy that no longer takes them challenges again; the refused record is dropped.
    HTTPRequest::clearSession();
    ProxyPeer changed(ProxyPeer::Http, "pu", "other");
    auto refused = HTTPRequest::requestWithURL(url(nginx->url("/echo/headers")));
    refused->setProxyHost("127.0.0.1");
    refused->setProxyPort(changed.port());
    refused->setProxyUsername("pu");
    refused->setProxyPassword("pp");
    refused->startSynchronous();
    ASSERT_TRUE(refused->error());
    EXPECT_EQ(refused->error()->code(), AuthenticationErrorType);
    auto after = HTTPRequest::requestWithURL(url(nginx->url("/echo/headers")));
    after->setProxyHost("127.0.0.1");
    after->setProxyPort(changed.port());
    after->startSynchronous();
    EXPECT_EQ(after->responseStatusCode(), 407);
    EXPECT_EQ(changed.refused(), 3u) << "the refused credentials are not sent again";
}

} // namespace
