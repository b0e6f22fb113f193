#include "net/HttpAuthentication.h"
#include "net/Cookie.h"

#include <gtest/gtest.h>

namespace {

TEST(HttpAuthenticationTest, DigestAnswersThePublishedExample) {
    // The worked example of RFC 2617, section 3.5.
    EXPECT_EQ(net::HttpAuthentication::digestResponse("Mufasa", "testrealm@host.com", "Circle Of Life", "GET",
                                                      "/dir/index.html", "dcd98b7102dd2f0e8b11d0f600bfb0c093",
                                                      "00000001", "0a4f113b", "auth"),
              "6629fae49393a05397450978507c4ef1");
    EXPECT_EQ(net::HttpAuthentication::basicValue("user", "pass"), "Basic dXNlcjpwYXNz");
    EXPECT_EQ(net::HttpAuthentication::basicValue("user", ""), "Basic dXNlcjo=");
}

TEST(HttpAuthenticationTest, ChallengesPickTheStrongestSchemeWeCanAnswer) {
    auto head = net::HttpMessage::response();
    for (const char *line :
         {"HTTP/1.1 401 Unauthorized", "WWW-Authenticate: Negotiate",
          "WWW-Authenticate: Basic realm=\"Members\", Digest realm=\"a\\\"b\", nonce=\"n1\", "
          "qop=\"auth,auth-int\", opaque=\"o\"",
          ""})
        ASSERT_TRUE(head->addResponseLine(line)) << line;
    auto auth = net::HttpAuthentication::fromResponse(*head, false);
    ASSERT_TRUE(auth);
    EXPECT_EQ(auth->method(), "Digest");
    EXPECT_EQ(auth->realm(), "a\"b");
    auto request = net::HttpMessage::request("GET", *base::Url::parse("http://h/dir/x?y=1"), false);
    ASSERT_TRUE(auth->apply(*request, "u", "p"));
    std::string value = *request->header("Authorization");
    EXPECT_NE(value.find("uri=\"/dir/x?y=1\""), std::string::npos) << value;
    EXPECT_NE(value.find("qop=auth, nc=00000001"), std::string::npos) << value;
    EXPECT_NE(value.find("opaque=\"o\""), std::string::npos) << value;

    auto negotiateOnly = net::HttpMessage::response();
    negotiateOnly->addResponseLine("HTTP/1.1 401 x");
    negotiateOnly->addResponseLine("WWW-Authenticate: Negotiate");
    EXPECT_FALSE(net::HttpAuthentication::fromResponse(*negotiateOnly, false))
        << "no challenge object: code 7";
    auto ntlm = net::HttpMessage::response();
    ntlm->addResponseLine("HTTP/1.1 407 x");
    ntlm->addResponseLine("Proxy-Authenticate: NTLM");
    EXPECT_FALSE(net::HttpAuthentication::fromResponse(*ntlm, false)) << "the server asked nothing";
    EXPECT_TRUE(net::HttpAuthentication::fromResponse(*ntlm, true));
}

TEST(CookieTest, SetCookieRulesAndTheStore) {
    auto from = *base::Url::parse("http://www.example.com/a/b");
    auto plain = net::parseSetCookie("k=v", from);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->domain, "www.example.com");
    EXPECT_EQ(plain->path, "/a");
    EXPECT_FALSE(net::parseSetCookie("=v", from));
    EXPECT_FALSE(net::parseSetCookie("k=v; Domain=other.com", from)) << "a foreign domain is refused";
    auto wide = net::parseSetCookie("k=v; Domain=.example.com; Path=/; Secure", from);
    ASSERT_TRUE(wide);
    EXPECT_FALSE(wide->hostOnly);

    auto &store = net::CookieStore::shared();
    store.clear();
    store.set({*wide, *net::parseSetCookie("p=1", from)});
    EXPECT_EQ(store.cookiesFor(*base::Url::parse("https://img.example.com/")).size(), 1u);
    EXPECT_EQ(store.cookiesFor(*base::Url::parse("http://img.example.com/")).size(), 0u)
        << "secure only on https";
    EXPECT_EQ(store.cookiesFor(*base::Url::parse("http://www.example.com/a/c")).size(), 1u);
    store.set({*net::parseSetCookie("p=1; Expires=Thu, 01 Jan 1970 00:00:00 GMT", from)});
    EXPECT_EQ(store.cookiesFor(*base::Url::parse("http://www.example.com/a/c")).size(), 0u)
        << "expired removes";
    store.clear();
}

TEST(CookieTest, HttpDates) {
    const std::pair<const char *, std::optional<double>> cases[] = {
        {"Sun, 06 Nov 1994 08:49:37 GMT", 784111777.0 - 978307200.0},
        {"06 Nov 1994 08:49:37 GMT", 784111777.0 - 978307200.0},
        {"Sun, 06 Nov 1994 08:49 GMT", 784111740.0 - 978307200.0},
        {"Sun, 06 Nov 1994 08:49:37 PST", std::nullopt},
        {"yesterday", std::nullopt},
    };
    for (auto [text, expected] : cases)
        EXPECT_EQ(net::parseHttpDate(text), expected) << text;
}

} // namespace
