#include "HttpTestSupport.h"
#include "peers/FaultPeer.h"
#include "peers/NginxPeer.h"

#include "net/ProxyResolver.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <future>

namespace {

using peers::FaultPeer;

// libproxy reads the desktop settings through plugins; pointed at an empty folder, only its own
// reader of the proxy environment variables answers.
class ProxyTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "qv-no-proxy-plugins-XXXXXX").string();
        empty = mkdtemp(pattern.data());
        setenv("PX_MODULE_PATH", empty.c_str(), 1);
    }
    // libproxy looked at the folder when it started: it may go now.
    static void TearDownTestSuite() { std::filesystem::remove_all(empty); }
    static inline std::string empty;
    // Answers kept for a moment must not outlive the settings a test makes.
    void SetUp() override { net::forgetSystemProxies(); }
    void TearDown() override {
        unsetenv("http_proxy");
        net::forgetSystemProxies();
    }
};

TEST_F(ProxyTest, EntriesOfTheSystemList) {
    struct Case {
        const char *text;
        std::optional<net::ProxyEntry::Type> type;
        const char *host;
        uint16_t port;
    };
    const Case cases[] = {
        {"direct://", net::ProxyEntry::Direct, "", 0},
        {"http://proxy.lan:3128", net::ProxyEntry::Http, "proxy.lan", 3128},
        {"http://proxy.lan", net::ProxyEntry::Http, "proxy.lan", 80},
        {"socks5://127.0.0.1:1080", net::ProxyEntry::Socks5, "127.0.0.1", 1080},
        {"socks://s", net::ProxyEntry::Socks5, "s", 1080},
        {"pac+http://wpad/wpad.dat", std::nullopt, "", 0},
        {"garbage", std::nullopt, "", 0},
    };
    for (const Case &c : cases) {
        auto entry = net::parseProxyEntry(c.text);
        ASSERT_EQ(entry.has_value(), c.type.has_value()) << c.text;
        if (!entry)
            continue;
        EXPECT_EQ(entry->type, *c.type) << c.text;
        EXPECT_EQ(entry->host, c.host) << c.text;
        EXPECT_EQ(entry->port, c.port) << c.text;
    }
}

// A burst of requests to one server asks the system once: its answer is kept for a moment by
// scheme, host and port.
TEST_F(ProxyTest, RecentAnswersAreKeptByServer) {
    setenv("http_proxy", "http://127.0.0.1:3128", 1);
    std::promise<std::optional<std::vector<net::ProxyEntry>>> answered;
    net::systemProxiesFor(url("http://quotes.example/a"), [&](auto list) { answered.set_value(list); });
    auto list = answered.get_future().get();
    ASSERT_TRUE(list && !list->empty());
    auto recent = net::recentSystemProxiesFor(url("http://quotes.example/b?c"));
    ASSERT_TRUE(recent);
    ASSERT_EQ(recent->size(), 1u);
    EXPECT_EQ(recent->front().port, 3128);
    EXPECT_FALSE(net::recentSystemProxiesFor(url("http://quotes.example:8080/a")));
    EXPECT_FALSE(net::recentSystemProxiesFor(url("https://quotes.example/a")));
    net::forgetSystemProxies();
    EXPECT_FALSE(net::recentSystemProxiesFor(url("http://quotes.example/a")));
}

TEST_F(ProxyTest, TheSystemProxyCarriesTheRequest) {
    FaultPeer proxy({FaultPeer::send("HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nvia proxy")});
    setenv("http_proxy", ("http://127.0.0.1:" + std::to_string(proxy.port())).c_str(), 1);
    auto request = HTTPRequest::requestWithURL(url("http://quotes.example/news/index.json"));
    runAsync(request);
    EXPECT_FALSE(request->error());
    EXPECT_EQ(request->responseString(), "via proxy");
    EXPECT_EQ(request->proxyHost(), "127.0.0.1");
    ASSERT_EQ(proxy.requests().size(), 1u);
    EXPECT_TRUE(proxy.requests()[0].starts_with("GET http://quotes.example/news/index.json HTTP/1.1\r\n"));
}

TEST_F(ProxyTest, ADirectListGoesStraightToTheServer) {
    FaultPeer server({FaultPeer::send("HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\ndirect")});
    auto request = HTTPRequest::requestWithURL(url(server.url("/x")));
    runAsync(request);
    EXPECT_EQ(request->responseString(), "direct");
    EXPECT_TRUE(request->proxyHost().empty());
}

TEST_F(ProxyTest, ProxyCredentialsAnswerA407) {
    FaultPeer proxy({FaultPeer::send("HTTP/1.1 407 Proxy Authentication Required\r\n"
                                     "Proxy-Authenticate: Basic realm=\"lan\"\r\nContent-Length: 0\r\n\r\n"),
                     FaultPeer::readRequest(),
                     FaultPeer::send("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok")});
    auto request = HTTPRequest::requestWithURL(url("http://quotes.example/"));
    request->setProxyHost("127.0.0.1");
    request->setProxyPort(proxy.port());
    request->setProxyUsername("user");
    request->setProxyPassword("pass");
    runAsync(request);
    EXPECT_EQ(request->responseString(), "ok");
    ASSERT_EQ(proxy.requests().size(), 2u);
    EXPECT_NE(proxy.requests()[1].find("Proxy-Authorization: Basic dXNlcjpwYXNz\r\n"), std::string::npos);
}

TEST_F(ProxyTest, AScriptNamedByPACurlIsFetchedAndRunFirst) {
    FaultPeer proxy(
        {FaultPeer::send("HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: 9\r\n\r\nvia proxy")});
    // Each case opens a connection of its own: a kept one would meet a peer that has done its part.
    FaultPeer server(
        {FaultPeer::send("HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: 6\r\n\r\ndirect")});
    peers::NginxPeer nginx;
    const std::string proxyAnswer = "PROXY 127.0.0.1:" + std::to_string(proxy.port());
    nginx.writeFile("proxy.pac", "function FindProxyForURL(url, host) {\n"
                                 "  return shExpMatch(url, '*/via/*') ? '" +
                                     proxyAnswer + "' : 'DIRECT';\n}\n");
    nginx.writeFile("broken.pac", "function FindProxyForURL(url, host) { return undefinedHelper(host); }");
    struct Case {
        const char *name;
        std::string script, path;
        bool viaProxy;
    };
    const Case cases[] = {
        {"the script names a proxy", "/proxy.pac", "/via/x", true},
        {"the script answers direct", "/proxy.pac", "/x", false},
        {"a failing script", "/broken.pac", "/via/x", false},
        {"a missing script", "/none.pac", "/via/x", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const size_t before = proxy.requests().size();
        auto request = HTTPRequest::requestWithURL(url(server.url(c.path)));
        request->setPACurl(url(nginx.url(c.script)));
        runAsync(request);
        EXPECT_FALSE(request->error());
        EXPECT_EQ(request->responseString(), c.viaProxy ? "via proxy" : "direct");
        EXPECT_EQ(proxy.requests().size(), before + (c.viaProxy ? 1 : 0));
    }
}

} // namespace
