#include "DataDecompressor.h"
#include "HttpTestSupport.h"
#include "peers/FaultPeer.h"
#include "peers/NginxSuite.h"

#include "base/FileManager.h"
#include "base/VirtualClock.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

namespace {

using peers::FaultPeer;

const auto *networkThread = ::testing::AddGlobalTestEnvironment(new NetworkThreadEnvironment);

class HTTPRequestTest : public peers::NginxSuite<true> {
protected:
};

TEST_F(HTTPRequestTest, AsynchronousGetOfJsonDeliversOnTheMainThreadWithTagAndUserInfo) {
    std::string json = R"([{"title":"沪指收涨","url":"/a","otime":"2012-05-01"}])";
    nginx->writeFile("news/index.json", json);
    auto request = HTTPRequest::requestWithURL(url(nginx->url("/news/index.json")));
    request->setTag(7);
    request->setUserInfo(base::Dict{{"envelope", "news"}});
    auto delegate = runAsync(request);

    EXPECT_EQ(delegate->log, (std::vector<std::string>{"started", "headers", "finished"}));
    EXPECT_FALSE(delegate->offMain);
    EXPECT_EQ(request->tag(), 7);
    EXPECT_EQ(request->userInfo().get("envelope").stringValue(), "news");
    EXPECT_EQ(request->responseStatusCode(), 200);
    EXPECT_EQ(request->responseHeaders().get("Content-Encoding").stringValue(), "gzip");
    request->setResponseEncoding(4);
    EXPECT_EQ(request->responseString(), json);
    EXPECT_FALSE(request->error());
}

TEST_F(HTTPRequestTest, SynchronousPostOfAFileBodyFromAnotherThread) {
    std::string path = base::FileManager::uniqueTemporaryPath();
    std::string body(300000, '\0');
    for (size_t i = 0; i < body.size(); ++i)
        body[i] = char('a' + i % 26);
    std::ofstream(path, std::ios::binary) << body;

    auto request = HTTPRequest::requestWithURL(url(nginx->url("/echo/body")));
    auto delegate = std::make_shared<RecordingDelegate>();
    request->setDelegate(delegate);
    std::optional<std::string> reply;
    base::Ref<base::Error> error;
    bool wasInline = false;
    std::thread worker([&] {
        request->setRequestMethod("POST");
        request->addRequestHeader("Content-Type", "audio/x-flac; rate=16000");
        request->appendPostDataFromFile(path);
        request->startSynchronous();
        wasInline = request->complete();
        error = request->error();
        reply = request->responseString();
    });
    worker.join();
    std::filesystem::remove(path);
    EXPECT_TRUE(delegate->log.empty()) << "nothing reaches the delegate before the main loop runs";
    ASSERT_TRUE(runMainUntil([&] { return delegate->ended(); }));
    EXPECT_EQ(delegate->log.back(), "finished");
    EXPECT_FALSE(delegate->offMain);
    EXPECT_TRUE(wasInline);
    EXPECT_FALSE(error);
    EXPECT_EQ(reply, body);
    EXPECT_EQ(request->postLength(), body.size());
}

TEST_F(HTTPRequestTest, CancelReportsOneFailureWithCodeFour) {
    FaultPeer silent({FaultPeer::silence()});
    auto request = HTTPRequest::requestWithURL(url(silent.url()));
    auto delegate = std::make_shared<RecordingDelegate>();
    request->setDelegate(delegate);
    request->startAsynchronous();
    ASSERT_TRUE(runMainUntil([&] { return delegate->count("started") > 0; }));
    request->cancel();
    request->cancel();
    ASSERT_TRUE(runMainUntil([&] { return delegate->ended() && request->isFinished(); }));
    settle();
    EXPECT_EQ(delegate->count("failed"), 1u);
    ASSERT_TRUE(request->error());
    EXPECT_EQ(request->error()->code(), RequestCancelledErrorType);
    EXPECT_EQ(request->error()->localizedDescription(), "The request was cancelled");
    EXPECT_TRUE(request->isCancelled());
    request->cancel();
    settle();
    EXPECT_EQ(delegate->count("failed"), 1u) << "cancel after the end does nothing";
}

TEST_F(HTTPRequestTest, ClearDelegatesAndCancelLeavesNothingToRun) {
    FaultPeer silent({FaultPeer::silence()});
    auto request = HTTPRequest::requestWithURL(url(silent.url()));
    auto delegate = std::make_shared<RecordingDelegate>();
    bool blockRan = false;
    request->setDelegate(delegate);
    request->setFailedBlock([&] { blockRan = true; });
    request->startAsynchronous();
    ASSERT_TRUE(runMainUntil([&] { return delegate->count("started") > 0; }));
    request->clearDelegatesAndCancel();
    ASSERT_TRUE(runMainUntil([&] { return request->isFinished(); }));
    settle();
    EXPECT_EQ(delegate->count("failed"), 0u);
    EXPECT_FALSE(blockRan);
    EXPECT_EQ(request->error()->code(), RequestCancelledErrorType);
}

// The main thread may take the callbacks away while the network thread starts a transfer attempt
// outside main() (here the one that answers a challenge): ThreadSanitizer checks that the two
// never touch them at once.
TEST_F(HTTPRequestTest, ClearDelegatesAndCancelWhileAnAttemptStarts) {
    FaultPeer peer({FaultPeer::send("HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"r\"\r\n"
                                    "Content-Length: 0\r\n\r\n"),
                    FaultPeer::readRequest(), FaultPeer::silence()});
    auto request = HTTPRequest::requestWithURL(url(peer.url()));
    request->setUsername("user");
    request->setPassword("pass");
    int started = 0;
    request->setStartedBlock([&] { ++started; });
    request->startAsynchronous();
    // Watched without running the main loop, so that the second attempt's start report is still
    // waiting there when the callbacks go.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (peer.requests().size() < 2 && std::chrono::steady_clock::now() < until)
        std::this_thread::yield();
    ASSERT_EQ(peer.requests().size(), 2u);
    request->clearDelegatesAndCancel();
    ASSERT_TRUE(runMainUntil([&] { return request->isFinished(); }));
    settle();
    EXPECT_EQ(started, 0) << "reports still waiting find no callback";
}

TEST_F(HTTPRequestTest, CancelBeforeTheQueueRunsItFinishesWithoutTheNetwork) {
    FaultPeer peer({FaultPeer::send("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n")});
    auto request = HTTPRequest::requestWithURL(url(peer.url()));
    auto delegate = std::make_shared<RecordingDelegate>();
    request->setDelegate(delegate);
    request->cancel();
    ASSERT_TRUE(runMainUntil([&] { return delegate->ended(); }));
    EXPECT_EQ(delegate->log, std::vector<std::string>{"failed"});
    request->startAsynchronous();
    ASSERT_TRUE(runMainUntil([&] { return request->isFinished(); }));
    EXPECT_EQ(peer.accepted(), 0u);
}

TEST_F(HTTPRequestTest, SynchronousRunOnTheMainThreadDeliversInline) {
    auto request = HTTPRequest::requestWithURL(url(nginx->url("/conn")));
    auto delegate = std::make_shared<RecordingDelegate>();
    request->setDelegate(delegate);
    request->startSynchronous();
    EXPECT_EQ(delegate->log, (std::vector<std::string>{"started", "headers", "finished"}));
    EXPECT_TRUE(request->isFinished());
}

TEST_F(HTTPRequestTest, RedirectsFollowFiveAndFailOnTheSixth) {
    auto five = HTTPRequest::requestWithURL(url(nginx->url("/chain/5")));
    auto delegate = runAsync(five);
    EXPECT_EQ(five->responseString(), "done");
    EXPECT_EQ(five->redirectCount(), 5);
    EXPECT_EQ(delegate->count("redirected"), 5u);
    EXPECT_EQ(five->originalURL()->path(), "/chain/5");

    auto six = HTTPRequest::requestWithURL(url(nginx->url("/chain/6")));
    runAsync(six);
    ASSERT_TRUE(six->error());
    EXPECT_EQ(six->error()->code(), TooMuchRedirectionErrorType);
    EXPECT_EQ(six->error()->localizedDescription(),
              "The request failed because it redirected too many times");
}

TEST_F(HTTPRequestTest, RedirectMethodRules) {
    struct Case {
        int status;
        bool rfc2616;
        const char *method;
    };
    const Case cases[] = {{301, false, "GET"},  {302, false, "GET"}, {303, false, "GET"},
                          {307, false, "POST"}, {301, true, "POST"}, {303, true, "GET"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.status);
        auto request = HTTPRequest::requestWithURL(url(nginx->url("/redirect/" + std::to_string(c.status))));
        request->appendPostData(base::Data::fromString("x=1"));
        request->addRequestHeader("X-Dropped", "1");
        request->setShouldUseRFC2616RedirectBehaviour(c.rfc2616);
        runAsync(request);
        EXPECT_EQ(request->responseString(), c.method);
        EXPECT_EQ(request->requestHeaders().has("X-Dropped"), std::string(c.method) == "POST");
    }
}

TEST_F(HTTPRequestTest, ConnectionsAreReusedInSequenceAndSeparateAtOnce) {
    auto first = HTTPRequest::requestWithURL(url(nginx->url("/conn")));
    runAsync(first);
    auto second = HTTPRequest::requestWithURL(url(nginx->url("/conn")));
    runAsync(second);
    EXPECT_EQ(first->responseString(), second->responseString());
    EXPECT_EQ(first->connectionID(), second->connectionID());
    EXPECT_TRUE(second->connectionCanBeReused());

    FaultPeer slow({FaultPeer::silence()});
    auto a = HTTPRequest::requestWithURL(url(nginx->url("/slow/")));
    auto b = HTTPRequest::requestWithURL(url(nginx->url("/conn")));
    nginx->writeFile("slow/big.bin", std::string(3000, 's'));
    a = HTTPRequest::requestWithURL(url(nginx->url("/slow/big.bin")));
    auto da = std::make_shared<RecordingDelegate>();
    a->setDelegate(da);
    a->startAsynchronous();
    ASSERT_TRUE(runMainUntil([&] { return da->count("headers") > 0; }));
    runAsync(b);
    EXPECT_NE(a->connectionID(), b->connectionID());
    EXPECT_NE(b->responseString(), first->responseString()) << "a connection in use is not shared";
    a->clearDelegatesAndCancel();
    runMainUntil([&] { return a->isFinished(); });
}

TEST_F(HTTPRequestTest, BasicCredentialsAndTheSessionStore) {
    HTTPRequest::clearSession();
    auto denied = HTTPRequest::requestWithURL(url(nginx->url("/basic/x")));
    denied->startSynchronous();
    ASSERT_TRUE(denied->error()) << denied->responseStatusCode() << " "
                                 << denied->responseString().value_or("-");
    EXPECT_EQ(denied->error()->code(), AuthenticationErrorType);
    EXPECT_EQ(denied->error()->localizedDescription(), "Authentication needed");

    auto first = HTTPRequest::requestWithURL(url(nginx->url("/basic/x")));
    first->setUsername("user");
    first->setPassword("pass");
    first->setAuthenticationScheme("Basic");
    runAsync(first);
    EXPECT_FALSE(first->error());
    EXPECT_EQ(first->responseString(), "welcome");

    auto again = HTTPRequest::requestWithURL(url(nginx->url("/basic/x")));
    auto delegate = runAsync(again);
    EXPECT_EQ(again->responseString(), "welcome") << "the session record is sent before any challenge";
    EXPECT_EQ(again->responseStatusCode(), 200);

    for (auto [password, header] :
         {std::pair{"pass", "Basic dXNlcjpwYXNz"}, std::pair{"", "Basic dXNlcjo="}}) {
        HTTPRequest::clearSession();
        auto echo = HTTPRequest::requestWithURL(url(nginx->url("/echo/headers")));
        echo->setUsername("user");
        echo->setPassword(password);
        echo->setAuthenticationScheme("Basic");
        runAsync(echo);
        EXPECT_NE(echo->responseString()->find(std::string("Authorization: ") + header + "\r\n"),
                  std::string::npos);
    }

    HTTPRequest::clearSession();
    auto challenged = HTTPRequest::requestWithURL(url(nginx->url("/basic/x")));
    challenged->setUsername("user");
    challenged->setPassword("pass");
    runAsync(challenged);
    EXPECT_EQ(challenged->responseString(), "welcome") << "credentials answer the challenge";

    auto wrong = HTTPRequest::requestWithURL(url(nginx->url("/basic/x")));
    HTTPRequest::clearSession();
    wrong->setUsername("user");
    wrong->setPassword("nope");
    runAsync(wrong);
    ASSERT_TRUE(wrong->error());
    EXPECT_EQ(wrong->error()->code(), AuthenticationErrorType);
}

TEST_F(HTTPRequestTest, GzipBodiesKeptCompressedOrInflatedOnTheWay) {
    std::string text(100000, 'z');
    nginx->writeFile("big.txt", text);
    auto kept = HTTPRequest::requestWithURL(url(nginx->url("/big.txt")));
    runAsync(kept);
    EXPECT_TRUE(kept->isResponseCompressed());
    EXPECT_EQ(kept->responseData()->toString(), text);

    auto inflated = HTTPRequest::requestWithURL(url(nginx->url("/big.txt")));
    inflated->setShouldWaitToInflateCompressedResponses(false);
    runAsync(inflated);
    EXPECT_EQ(inflated->responseData()->toString(), text);
    EXPECT_LT(inflated->totalBytesRead(), text.size()) << "counts the bytes as received";

    auto plain = HTTPRequest::requestWithURL(url(nginx->url("/big.txt")));
    plain->setAllowCompressedResponse(false);
    runAsync(plain);
    EXPECT_FALSE(plain->isResponseCompressed());
    EXPECT_EQ(plain->contentLength(), text.size());
}

TEST_F(HTTPRequestTest, DataDelegateTakesTheBodyInsteadOfStoringIt) {
    std::string text(70000, 'd');
    nginx->writeFile("data.bin", text);
    auto request = HTTPRequest::requestWithURL(url(nginx->url("/data.bin")));
    auto delegate = std::make_shared<RecordingDelegate>();
    delegate->takesData = true;
    request->setDelegate(delegate);
    request->startAsynchronous();
    ASSERT_TRUE(runMainUntil([&] { return delegate->ended(); }));
    EXPECT_EQ(delegate->data, text);
    EXPECT_TRUE(request->responseData()->empty());
}

TEST_F(HTTPRequestTest, DownloadsToAFileReplaceTheDestination) {
    std::string text(50000, 'f');
    nginx->writeFile("file.txt", text);
    for (bool inflateOnTheWay : {false, true}) {
        std::string destination = base::FileManager::uniqueTemporaryPath();
        std::ofstream(destination) << "old contents";
        auto request = HTTPRequest::requestWithURL(url(nginx->url("/file.txt")));
        request->setDownloadDestinationPath(destination);
        request->setShouldWaitToInflateCompressedResponses(!inflateOnTheWay);
        runAsync(request);
        EXPECT_FALSE(request->error()) << request->error()->description();
        std::ifstream in(destination);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), text);
        std::filesystem::remove(destination);
    }
}

// A resumed download appends a 206 at its offset, keeps a file the server says is whole (416 naming
// the held size) and starts again from nothing when the refused range shows the held bytes are wrong.
TEST_F(HTTPRequestTest, ResumedDownloadsAppendKeepOrRestart) {
    std::string text;
    for (int i = 0; text.size() < 3000; ++i)
        text += std::to_string(i) + ",";
    nginx->writeFile("resume.bin", text);
    const struct {
        const char *name;
        std::string held;
        int status;
    } cases[] = {
        {"partial file continues", text.substr(0, 1000), 206},
        {"whole file stays", text, 416},
        {"longer file restarts", text + "stale tail", 200},
        {"empty held file downloads whole", "", 200},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.name);
        std::string destination = base::FileManager::uniqueTemporaryPath();
        std::string partial = base::FileManager::uniqueTemporaryPath();
        std::ofstream(partial) << c.held;
        auto request = HTTPRequest::requestWithURL(url(nginx->url("/resume.bin")));
        request->setDownloadDestinationPath(destination);
        request->setTemporaryFileDownloadPath(partial);
        request->setAllowResumeForFileDownloads(true);
        auto delegate = runAsync(request);
        EXPECT_EQ(delegate->count("finished"), 1u);
        EXPECT_FALSE(request->error());
        EXPECT_EQ(request->responseStatusCode(), c.status);
        std::ifstream in(destination);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), text);
        EXPECT_FALSE(std::filesystem::exists(partial));
        std::filesystem::remove(destination);
    }
}

TEST_F(HTTPRequestTest, ResponseWithoutLengthEndsWithTheBytesRead) {
    FaultPeer peer(
        {FaultPeer::send("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nhello"), FaultPeer::close()});
    auto request = HTTPRequest::requestWithURL(url(peer.url()));
    runAsync(request);
    EXPECT_FALSE(request->error());
    EXPECT_EQ(request->contentLength(), 5u);
    EXPECT_EQ(request->responseString(), "hello");
}

TEST_F(HTTPRequestTest, KeepAliveRules) {
    struct Case {
        const char *head;
        bool reusable;
        double timeout;
    };
    const Case cases[] = {
        {"HTTP/1.1 200 OK\r\nKeep-Alive: timeout=15, max=6\r\n", true, 15},
        {"HTTP/1.1 200 OK\r\nKeep-Alive: timeout=15, max=5\r\n", false, 60},
        {"HTTP/1.1 200 OK\r\nConnection: close\r\n", false, 60},
        {"HTTP/1.0 200 OK\r\n", false, 60},
        {"HTTP/1.0 200 OK\r\nConnection: keep-alive\r\n", true, 60},
        {"HTTP/1.1 200 OK\r\n", true, 60},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.head);
        FaultPeer peer({FaultPeer::send(std::string(c.head) + "Content-Length: 2\r\n\r\nok")});
        auto request = HTTPRequest::requestWithURL(url(peer.url()));
        runAsync(request);
        EXPECT_EQ(request->responseString(), "ok");
        EXPECT_EQ(request->connectionCanBeReused(), c.reusable);
        EXPECT_EQ(request->persistentConnectionTimeoutSeconds(), c.timeout);
    }
}

TEST_F(HTTPRequestTest, ContentTypeCharsetAndLength) {
    struct Case {
        const char *contentType;
        std::optional<uint32_t> encoding;
    };
    const Case cases[] = {{"text/html; charset=utf-8", 4},
                          {"text/html", std::nullopt},
                          {"text/html; Charset=UTF-8", 4},
                          {"text/html; charset=\"utf-8\"", 4},
                          {"text/html; charset=klingon", std::nullopt},
                          {"text/html;", std::nullopt}};
    for (const Case &c : cases) {
        std::string mime;
        std::optional<uint32_t> encoding;
        HTTPRequest::parseMimeType(&mime, &encoding, c.contentType);
        EXPECT_EQ(mime, "text/html") << c.contentType;
        EXPECT_EQ(encoding, c.encoding) << c.contentType;
    }
    EXPECT_EQ(HTTPRequest::parseContentLength("010"), 10u);
    EXPECT_EQ(HTTPRequest::parseContentLength("0x10"), std::nullopt);
    EXPECT_EQ(HTTPRequest::parseContentLength(""), std::nullopt);
    EXPECT_EQ(HTTPRequest::parseContentLength("-1"), std::nullopt);
}

TEST_F(HTTPRequestTest, RequestHeadersAndBodyRules) {
    auto get = HTTPRequest::requestWithURL(url(nginx->url("/echo/headers")));
    runAsync(get);
    std::string head = get->responseString().value_or("");
    EXPECT_NE(head.find("Accept-Encoding: gzip"), std::string::npos) << head;
    EXPECT_EQ(head.find("Content-Length"), std::string::npos) << "an empty body sends no length";

    auto withBody = HTTPRequest::requestWithURL(url(nginx->url("/echo/method")));
    withBody->appendPostData(base::Data::fromString("a"));
    runAsync(withBody);
    EXPECT_EQ(withBody->responseString(), "POST") << "a GET with a body goes as POST";
}

TEST_F(HTTPRequestTest, CookiesFromResponsesGoBackAndStayOnceInTheSession) {
    HTTPRequest::clearSession();
    runAsync(HTTPRequest::requestWithURL(url(nginx->url("/cookie"))));
    runAsync(HTTPRequest::requestWithURL(url(nginx->url("/cookie"))));
    auto sessions = HTTPRequest::sessionCookies();
    EXPECT_EQ(std::count_if(sessions.begin(), sessions.end(), [](auto &c) { return c.name == "a"; }), 1);
    auto echo = HTTPRequest::requestWithURL(url(nginx->url("/echo/headers")));
    runAsync(echo);
    EXPECT_NE(echo->responseString()->find("Cookie: a=1"), std::string::npos);
    HTTPRequest::clearSession();
}

TEST_F(HTTPRequestTest, AChunkedReplyWithTrailersEndsWithoutThem) {
    FaultPeer peer({FaultPeer::send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nTrailer: X-Sum\r\n\r\n"
                                    "5\r\nhello\r\n6\r\n world\r\n0\r\nX-Sum: 42\r\nX-More: 1\r\n\r\n"),
                    FaultPeer::close()});
    auto request = HTTPRequest::requestWithURL(url(peer.url()));
    auto delegate = runAsync(request);
    EXPECT_EQ(delegate->log, (std::vector<std::string>{"started", "headers", "finished"}));
    EXPECT_EQ(request->responseString(), "hello world");
    EXPECT_FALSE(request->responseHeaders().has("X-Sum"));
}

TEST_F(HTTPRequestTest, SessionCookieListIsExtendedOrReplacedByTheClass) {
    HTTPRequest::clearSession();
    runAsync(HTTPRequest::requestWithURL(url(nginx->url("/cookie"))));
    ASSERT_EQ(HTTPRequest::sessionCookies().size(), 1u);
    net::Cookie received = HTTPRequest::sessionCookies()[0];
    net::Cookie other = received;
    other.name = "b";
    net::Cookie replaced = received;
    replaced.value = "9";
    HTTPRequest::addSessionCookie(other);
    HTTPRequest::addSessionCookie(replaced);
    auto names = [] {
        std::string text;
        for (auto &c : HTTPRequest::sessionCookies())
            text += c.name + "=" + c.value + ";";
        return text;
    };
    EXPECT_EQ(names(), "b=1;a=9;");

    HTTPRequest::setSessionCookies({other});
    EXPECT_EQ(names(), "b=1;");
    auto echo = HTTPRequest::requestWithURL(url(nginx->url("/echo/headers")));
    runAsync(echo);
    EXPECT_EQ(echo->responseString()->find("a=1"), std::string::npos)
        << "the replaced list's cookies leave the store";
    HTTPRequest::setSessionCookies({});
    EXPECT_TRUE(HTTPRequest::sessionCookies().empty());
}

// Every fault ends in exactly one failure, with its code and text.
TEST_F(HTTPRequestTest, FaultTable) {
    struct Case {
        const char *name;
        std::vector<FaultPeer::Step> script;
        long code;
        const char *text;
        // Kept compressed until read, as every caller in the application keeps it.
        bool keptCompressed = false;
    };
    const std::string huge = "HTTP/1.1 200 OK\r\nX-Big: " + std::string(200000, 'h') + "\r\n\r\n";
    // A gzip body whose stream stops early, with a length that matches what is sent.
    std::string gzip =
        DataCompressor::compressData(base::Data::fromString(std::string(5000, 'g')), nullptr)->toString();
    gzip.resize(gzip.size() / 2);
    const std::string cutGzip =
        "HTTP/1.1 200 OK\r\nContent-Encoding: gzip\r\nContent-Length: " + std::to_string(gzip.size()) +
        "\r\n\r\n" + gzip;
    const Case cases[] = {
        {"reset mid-body",
         {FaultPeer::send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nabc"), FaultPeer::reset()},
         1,
         "A connection failure occurred"},
        {"short body",
         {FaultPeer::send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nabc"), FaultPeer::close()},
         1,
         "A connection failure occurred"},
        {"malformed status line",
         {FaultPeer::send("HTTX/1.1 200 OK\r\n\r\n"), FaultPeer::close()},
         1,
         "A connection failure occurred"},
        {"oversized headers",
         {FaultPeer::send(huge), FaultPeer::close()},
         1,
         "A connection failure occurred"},
        {"bad chunk",
         {FaultPeer::send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\nab\r\n"),
          FaultPeer::close()},
         1,
         "A connection failure occurred"},
        {"gzip cut short",
         {FaultPeer::send(cutGzip), FaultPeer::close()},
         11,
         "Decompression of data failed with code -5"},
        {"gzip cut short, kept compressed",
         {FaultPeer::send(cutGzip), FaultPeer::close()},
         11,
         "Decompression of data failed with code -5",
         true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FaultPeer peer(c.script);
        auto request = HTTPRequest::requestWithURL(url(peer.url()));
        request->setShouldWaitToInflateCompressedResponses(c.keptCompressed);
        auto delegate = runAsync(request);
        EXPECT_EQ(delegate->count("failed"), 1u);
        EXPECT_EQ(delegate->count("finished"), 0u);
        ASSERT_TRUE(request->error());
        EXPECT_EQ(request->error()->code(), c.code);
        EXPECT_EQ(request->error()->localizedDescription(), c.text);
    }

    auto refused = HTTPRequest::requestWithURL(
        url("http://127.0.0.1:" + std::to_string(peers::NginxPeer::freePort()) + "/"));
    runAsync(refused);
    ASSERT_TRUE(refused->error());
    EXPECT_EQ(refused->error()->code(), ConnectionFailureErrorType);

    // The reserved top-level name never resolves, so no name server can make this pass by accident.
    auto unresolvable = HTTPRequest::requestWithURL(url("http://quotes.no-such-host.invalid/"));
    auto lookup = runAsync(unresolvable);
    EXPECT_EQ(lookup->count("failed"), 1u);
    ASSERT_TRUE(unresolvable->error());
    EXPECT_EQ(unresolvable->error()->code(), ConnectionFailureErrorType);
    EXPECT_EQ(unresolvable->error()->localizedDescription(), "A connection failure occurred");

    for (const char *other : {"ftp://127.0.0.1/x", "file:///etc/hostname", "gopher://127.0.0.1/"}) {
        SCOPED_TRACE(other);
        auto request = HTTPRequest::requestWithURL(url(other));
        auto delegate = runAsync(request);
        EXPECT_EQ(delegate->log, std::vector<std::string>{"failed"}) << "no transfer starts";
        ASSERT_TRUE(request->error());
        EXPECT_EQ(request->error()->code(), UnableToCreateRequestErrorType);
        EXPECT_EQ(request->error()->localizedDescription(), "Unable to create request (bad url?)");
    }

    auto untrusted = HTTPRequest::requestWithURL(url(nginx->tlsUrl("/conn")));
    runAsync(untrusted);
    ASSERT_TRUE(untrusted->error());
    EXPECT_EQ(untrusted->error()->code(), ConnectionFailureErrorType);
    EXPECT_NE(untrusted->error()->localizedDescription().find(": SSL problem (Possible causes may include"),
              std::string::npos);

    auto trusted = HTTPRequest::requestWithURL(url(nginx->tlsUrl("/conn")));
    trusted->setValidatesSecureCertificate(false);
    runAsync(trusted);
    EXPECT_FALSE(trusted->error());
}

TEST_F(HTTPRequestTest, ALostReusedConnectionIsRetriedSilentlyOnce) {
    FaultPeer peer({FaultPeer::close()});
    auto request = HTTPRequest::requestWithURL(url(peer.url()));
    auto delegate = runAsync(request);
    EXPECT_EQ(peer.accepted(), 2u) << "one silent retry on a new connection";
    EXPECT_EQ(delegate->count("failed"), 1u);
    EXPECT_EQ(request->retryCount(), 1);
    EXPECT_EQ(request->error()->code(), ConnectionFailureErrorType);
}

} // namespace

namespace {

class ProgressRecorder : public HTTPProgressDelegate {
public:
    std::vector<float> fractions;
    long long received = 0, expected = 0;
    base::Opt<void> setProgress(float f) override {
        fractions.push_back(f);
        return {};
    }
    base::Opt<void> requestDidReceiveBytes(HTTPRequest &, long long n) override {
        received += n;
        return {};
    }
    base::Opt<void> requestIncrementDownloadSizeBy(HTTPRequest &, long long n) override {
        expected += n;
        return {};
    }
};

TEST_F(HTTPRequestTest, DownloadProgressIsExactCoarseOrWholeNeverZeroOfZero) {
    struct Case {
        const char *name;
        std::string path;
        bool accurate;
        long long received, expected;
    };
    nginx->writeFile("progress.bin", std::string(200000, 'p'));
    FaultPeer chunked(
        {FaultPeer::send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n")});
    FaultPeer empty({FaultPeer::send("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n")});
    const Case cases[] = {
        {"known length", nginx->url("/progress.bin"), true, 200000, 200000},
        {"unknown length", chunked.url(), false, 1, 1},
        {"announced empty body", empty.url(), true, 1, 0},
        {"no content", nginx->url("/status/204"), false, 1, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto request = HTTPRequest::requestWithURL(url(c.path));
        auto progress = std::make_shared<ProgressRecorder>();
        request->setDownloadProgressDelegate(progress);
        runAsync(request);
        settle();
        EXPECT_FALSE(request->error());
        EXPECT_EQ(request->showAccurateProgress(), c.accurate);
        EXPECT_EQ(progress->received, c.received);
        EXPECT_EQ(progress->expected, c.expected);
        ASSERT_FALSE(progress->fractions.empty());
        for (float f : progress->fractions)
            EXPECT_TRUE(f >= 0 && f <= 1) << f;
        if (c.received > 0)
            EXPECT_EQ(progress->fractions.back(), 1.0f);
    }
}

TEST_F(HTTPRequestTest, AClearedProgressReceiverHearsNothingMore) {
    nginx->writeFile("progress2.bin", std::string(100000, 'q'));
    auto request = HTTPRequest::requestWithURL(url(nginx->url("/progress2.bin")));
    auto progress = std::make_shared<ProgressRecorder>();
    request->setDownloadProgressDelegate(progress);
    request->setStartedBlock([&] { request->setDownloadProgressDelegate({}); });
    runAsync(request);
    settle();
    EXPECT_EQ(progress->received, 0);
}

} // namespace
