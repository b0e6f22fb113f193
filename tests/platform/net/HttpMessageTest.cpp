#include "net/HttpMessage.h"

#include <gtest/gtest.h>

namespace {

using net::HttpMessage;

TEST(HttpMessageTest, RequestHeadersReplaceByNameInAnyCase) {
    auto m = HttpMessage::request("GET", *base::Url::parse("http://h/"), false);
    ASSERT_TRUE(m);
    m->setHeader("Accept-Encoding", "gzip");
    m->setHeader("accept-encoding", "identity");
    EXPECT_EQ(m->header("ACCEPT-ENCODING"), "identity");
    EXPECT_EQ(m->headerFields().size(), 1u);
    EXPECT_EQ(m->version(), "HTTP/1.1");
    EXPECT_EQ(HttpMessage::request("GET", *base::Url::parse("http://h/"), true)->version(), "HTTP/1.0");
    EXPECT_FALSE(HttpMessage::request("BAD METHOD", *base::Url::parse("http://h/"), false));
    EXPECT_FALSE(HttpMessage::request("", *base::Url::parse("http://h/"), false));
}

TEST(HttpMessageTest, ResponseHeadFromReceivedLines) {
    auto m = HttpMessage::response();
    for (const char *line :
         {"HTTP/1.1 100 Continue\r\n", "\r\n", "HTTP/1.1 200 OK\r\n", "Set-Cookie: a=1\r\n",
          "Set-Cookie: b=2; Expires=Wed, 09 Jun 2021 10:18:14 GMT\r\n", "X-Long: one\r\n", "  two\r\n"})
        ASSERT_TRUE(m->addResponseLine(line)) << line;
    EXPECT_FALSE(m->headerComplete());
    ASSERT_TRUE(m->addResponseLine("\r\n"));
    EXPECT_TRUE(m->headerComplete());
    EXPECT_EQ(m->statusCode(), 200);
    EXPECT_EQ(m->statusLine(), "HTTP/1.1 200 OK");
    EXPECT_EQ(m->headerValues("set-cookie").size(), 2u);
    EXPECT_EQ(m->header("X-Long"), "one two");
    EXPECT_EQ(m->allHeaders().get("Set-Cookie").stringValue(),
              "a=1, b=2; Expires=Wed, 09 Jun 2021 10:18:14 GMT");
}

TEST(HttpMessageTest, RefusesMalformedLines) {
    const char *statusLines[] = {"HTTP/1.1 20 OK", "HTTP/1.1 2000 OK", "HTTP/1.1", "HTTP/1.1 abc OK"};
    for (const char *line : statusLines) {
        auto m = HttpMessage::response();
        EXPECT_FALSE(m->addResponseLine(line)) << line;
        EXPECT_EQ(m->statusCode(), 0);
    }
    auto m = HttpMessage::response();
    EXPECT_FALSE(m->addResponseLine("Name: before any status line"));
    ASSERT_TRUE(m->addResponseLine("HTTP/1.0 404"));
    EXPECT_FALSE(m->addResponseLine("no colon here"));
    EXPECT_FALSE(m->addResponseLine("Bad Name: x"));
    EXPECT_FALSE(m->addResponseLine(" fold without field"));
    EXPECT_EQ(m->statusCode(), 404);
    EXPECT_EQ(m->version(), "HTTP/1.0");
}

} // namespace
