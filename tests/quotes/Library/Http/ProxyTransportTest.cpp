#include "HttpTestSupport.h"
#include "peers/NginxSuite.h"
#include "peers/ProxyPeer.h"

#include <gtest/gtest.h>

namespace {

using peers::ProxyPeer;

class ProxyTransportTest : public peers::NginxSuite<true> {
protected:
    void SetUp() override {
        NginxSuite::SetUp();
        HTTPRequest::clearSession();
    }

    // A synchronous GET of nginx's echo of the request head, through `proxy`.
    static base::Ref<HTTPRequest> echoThrough(const ProxyPeer &proxy, bool https,
                                              const std::string &type = "HTTP") {
        auto request = HTTPRequest::requestWithURL(
            url(https ? nginx->tlsUrl("/echo/headers") : nginx->url("/echo/headers")));
        request->setValidatesSecureCertificate(false);
        request->setProxyHost("127.0.0.1");
        request->setProxyPort(proxy.port());
        request->setProxyType(type);
        return request;
    }
};

TEST_F(ProxyTransportTest, RequestsGoThroughHttpAndSocksProxies) {
    const struct {
        const char *name;
        ProxyPeer::Kind kind;
        const char *type;
        bool https;
        std::string firstLine;
    } cases[] = {
        {"forwarded by an HTTP proxy", ProxyPeer::Http, "HTTP", false,
         "GET http://127.0.0.1:" + std::to_string(nginx->port()) + "/echo/headers HTTP/1.1"},
        {"tunnelled by CONNECT", ProxyPeer::Http, "HTTP", true,
         "CONNECT 127.0.0.1:" + std::to_string(nginx->tlsPort()) + " HTTP/1.1"},
        {"SOCKS5, plain", ProxyPeer::Socks5, "SOCKS", false,
         "SOCKS5 127.0.0.1:" + std::to_string(nginx->port())},
        {"SOCKS5, TLS", ProxyPeer::Socks5, "SOCKS", true,
         "SOCKS5 127.0.0.1:" + std::to_string(nginx->tlsPort())},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.name);
        ProxyPeer proxy(c.kind);
        auto request = echoThrough(proxy, c.https, c.type);
        request->startSynchronous();
        ASSERT_FALSE(request->error()) << request->error()->localizedDescription();
        EXPECT_EQ(request->responseStatusCode(), 200);
        EXPECT_NE(request->responseString()->find("GET /echo/headers HTTP/1.1"), std::string::npos)
            << "the server sees the origin form";
        auto lines = proxy.requestLines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0], c.firstLine);
    }
}

// A proxy that demands credentials answers 407 (to CONNECT too); the proxy credentials answer it
// and never reach the server.
TEST_F(ProxyTransportTest, ProxyChallengesAreAnsweredWithProxyCredentials) {
    const struct {
        const char *name;
        bool https;
        std::string user, password;
        bool passes;
    } cases[] = {
        {"forwarded", false, "pu", "pp", true},
        {"tunnelled", true, "pu", "pp", true},
        {"no credentials", false, "", "", false},
        {"wrong password, tunnelled", true, "pu", "nope", false},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.name);
        HTTPRequest::clearSession();
        ProxyPeer proxy(ProxyPeer::Http, "pu", "pp");
        auto request = echoThrough(proxy, c.https);
        request->setProxyUsername(c.user);
        request->setProxyPassword(c.password);
        request->startSynchronous();
        if (c.passes) {
            ASSERT_FALSE(request->error()) << request->error()->localizedDescription();
            EXPECT_EQ(proxy.refused(), 1u);
            EXPECT_EQ(proxy.requestLines().size(), 2u);
            EXPECT_EQ(request->responseString()->find("Proxy-Authorization"), std::string::npos);
        } else {
            ASSERT_TRUE(request->error());
            EXPECT_EQ(request->error()->code(), AuthenticationErrorType);
            EXPECT_EQ(request->responseStatusCode(), 407);
        }
    }
}

} // namespace
