#include "DownloadCache.h"
#include "HttpTestSupport.h"
#include "peers/FaultPeer.h"
#include "peers/NginxSuite.h"

#include "base/FileManager.h"
#include "base/Paths.h"
#include "crypto/Crypto.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using peers::FaultPeer;

// nginx gives static files an ETag and a Last-Modified date; these folders add the freshness
// headers the cache reads.
constexpr const char *CacheLocations = R"(
location /fresh/ { expires 1h; }
location /stale/ { add_header Cache-Control "max-age=0"; }
location /dated/ { add_header Expires "Thu, 31 Dec 2037 23:55:55 GMT"; }
location /past/ { add_header Expires "Thu, 01 Jan 1998 00:00:01 GMT"; }
location /nocache/ { add_header Cache-Control "no-cache"; }
location /nocache-maxage/ { add_header Cache-Control "no-cache, max-age=60"; }
location /nostore/ { add_header Cache-Control "private, no-store"; }
location /pragma/ { expires 1h; add_header Pragma "no-cache"; }
location = /moved { expires 1h; return 302 /fresh/target.txt; }
)";

class DownloadCacheTest : public peers::NginxSuite<> {
public:
    static void SetUpTestSuite() {
        peers::NginxPeer::Options options;
        options.extraLocations = CacheLocations;
        nginx = new peers::NginxPeer(options);
    }

    void SetUp() override {
        NginxSuite::SetUp();
        root = base::FileManager::uniqueTemporaryPath();
        ASSERT_FALSE(cache->setStoragePath(root));
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    base::Ref<HTTPRequest> fetch(const std::string &path, int policy = UseDefaultCachePolicy,
                                 int storage = CacheForSessionDurationCacheStoragePolicy) {
        auto request = HTTPRequest::requestWithURL(url(nginx->url(path)), cache, policy);
        request->setCacheStoragePolicy(storage);
        auto delegate = runAsync(request);
        EXPECT_TRUE(delegate->ended()) << path;
        return request;
    }
    static std::string body(const base::Ref<HTTPRequest> &request) {
        return request->responseString().value_or("<none>");
    }
    std::optional<base::Dict> stored(const std::string &path) {
        return cache->cachedResponseHeadersForURL(url(nginx->url(path)));
    }
    std::string storedFile(const std::string &path, const std::string &extension) {
        return base::Paths::join(root, DownloadCache::SessionStoreDirectory,
                                 *DownloadCache::keyForURL(url(nginx->url(path))) + "." + extension);
    }

    base::Ref<DownloadCache> cache = base::make<DownloadCache>();
    std::string root;
};

TEST_F(DownloadCacheTest, KeysIgnoreOneTrailingSlash) {
    auto key = DownloadCache::keyForURL(url("http://quotes.example/news/"));
    EXPECT_EQ(key, crypto::md5Hex("http://quotes.example/news", 26));
    EXPECT_EQ(key, DownloadCache::keyForURL(url("http://quotes.example/news")));
    EXPECT_NE(key, DownloadCache::keyForURL(url("http://quotes.example/news//")));
    ASSERT_EQ(key->size(), 32u);
    EXPECT_EQ(key->find_first_not_of("0123456789ABCDEF"), std::string::npos);

    nginx->writeFile("fresh/dir/index.html", "index");
    fetch("/fresh/dir/");
    ASSERT_TRUE(stored("/fresh/dir"));
    EXPECT_EQ(stored("/fresh/dir")->get(DownloadCache::StatusCodeHeader).intValue(), 200);
}

TEST_F(DownloadCacheTest, BodyFilesAreNamedAfterTheKeyAndTheExtension) {
    struct Case {
        const char *path, *extension;
    };
    const Case cases[] = {
        {"/fresh/page.php", "html"}, {"/fresh/PAGE.ASPX", "html"}, {"/fresh/data.JSON", "JSON"},
        {"/fresh/notes.txt", "txt"}, {"/fresh/plain", "html"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        nginx->writeFile(c.path + 1, "contents");
        fetch(c.path);
        EXPECT_TRUE(std::filesystem::exists(storedFile(c.path, c.extension)));
        EXPECT_TRUE(std::filesystem::exists(storedFile(c.path, DownloadCache::HeadersExtension)));
    }
}

TEST_F(DownloadCacheTest, WhatIsStored) {
    struct Case {
        const char *name, *path;
        bool stored;
        int status = 200;
    };
    const Case cases[] = {
        {"expires", "/fresh/a.txt", true},
        {"max-age=0 (stored, already stale)", "/stale/a.txt", true},
        {"Expires date only", "/dated/a.txt", true},
        {"no cache header at all", "/a.txt", true},
        {"no-cache", "/nocache/a.txt", false},
        {"no-cache beside a max-age", "/nocache-maxage/a.txt", false},
        {"no-store among other tokens", "/nostore/a.txt", false},
        {"Pragma no-cache", "/pragma/a.txt", false},
        {"a 404", "/status/404", false},
        {"a 302", "/moved", true, 302},
    };
    nginx->writeFile("fresh/target.txt", "target");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (!std::string(c.path).starts_with("/status") && std::string(c.path) != "/moved")
            nginx->writeFile(c.path + 1, "the body");
        auto request = fetch(c.path);
        auto headers = stored(c.path);
        ASSERT_EQ(headers.has_value(), c.stored);
        if (!c.stored)
            continue;
        EXPECT_EQ(headers->get(DownloadCache::StatusCodeHeader).intValue(), c.status);
    }

    // A gzip answer is kept inflated, without its Content-Encoding.
    auto headers = stored("/fresh/a.txt");
    EXPECT_FALSE(HTTPRequest::headerNamed(*headers, "Content-Encoding"));
    EXPECT_EQ(base::FileManager::read(storedFile("/fresh/a.txt", "txt"))->toString(), "the body");
    EXPECT_GT(headers->get(DownloadCache::ExpiresHeader).doubleValue(), base::Date::now().since1970() + 3000);

    // The server's refusals count only while the cache respects them; the request can refuse too.
    cache->setShouldRespectCacheControlHeaders(false);
    fetch("/nocache/a.txt");
    EXPECT_TRUE(stored("/nocache/a.txt"));
    nginx->writeFile("fresh/unwritten.txt", "x");
    fetch("/fresh/unwritten.txt", AskServerIfModifiedWhenStaleCachePolicy | DoNotWriteToCacheCachePolicy);
    EXPECT_FALSE(stored("/fresh/unwritten.txt"));
}

// Each case stores the first version, changes the file on the server (a new length, so a new
// ETag) and asks again: the answer tells whether the stored one stood in.
TEST_F(DownloadCacheTest, WhenTheStoredResponseStandsIn) {
    struct Case {
        const char *name, *path;
        int policy;
        std::function<void(DownloadCacheTest &, const std::string &)> meddle;
        bool fromCache;
    };
    auto keep = [](DownloadCacheTest &, const std::string &) {};
    auto deleteFile = [](const char *extension) {
        return [extension](DownloadCacheTest &t, const std::string &path) {
            std::string ext = extension == std::string("body") ? "txt" : DownloadCache::HeadersExtension;
            ASSERT_TRUE(std::filesystem::remove(t.storedFile(path, ext)));
        };
    };
    const Case cases[] = {
        {"fresh, policy 4", "/fresh/b.txt", AskServerIfModifiedWhenStaleCachePolicy, keep, true},
        {"Expires in the future", "/dated/b.txt", AskServerIfModifiedWhenStaleCachePolicy, keep, true},
        {"stale (max-age=0)", "/stale/b.txt", AskServerIfModifiedWhenStaleCachePolicy, keep, false},
        {"Expires in the past", "/past/b.txt", AskServerIfModifiedWhenStaleCachePolicy, keep, false},
        {"the cache's default policy", "/fresh/c.txt", UseDefaultCachePolicy, keep, true},
        {"never read", "/fresh/d.txt", DoNotReadFromCacheCachePolicy, keep, false},
        {"always ask, changed", "/fresh/e.txt", AskServerIfModifiedCachePolicy, keep, false},
        {"any stored response, even stale", "/stale/f.txt", OnlyLoadIfNotCachedCachePolicy, keep, true},
        {"fresh, body file deleted", "/fresh/g.txt", AskServerIfModifiedWhenStaleCachePolicy,
         deleteFile("body"), false},
        {"fresh, head file deleted", "/fresh/h.txt", AskServerIfModifiedWhenStaleCachePolicy,
         deleteFile("head"), false},
        {"claimed without an entry", "/fresh/i.txt", DontLoadCachePolicy, deleteFile("head"), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        nginx->writeFile(c.path + 1, "first");
        ASSERT_EQ(body(fetch(c.path)), "first");
        ASSERT_TRUE(stored(c.path));
        c.meddle(*this, c.path);
        nginx->writeFile(c.path + 1, "second version");
        auto again = fetch(c.path, c.policy);
        EXPECT_FALSE(again->error());
        EXPECT_EQ(body(again), c.fromCache ? "first" : "second version");
        EXPECT_EQ(again->didUseCachedResponse(), c.fromCache);
        EXPECT_EQ(again->responseStatusCode(), 200);
        if (c.fromCache)
            EXPECT_EQ(again->contentLength(), 5u);
    }
}

TEST_F(DownloadCacheTest, AStaleEntryTheServerConfirmsIsServed) {
    for (int policy : {AskServerIfModifiedWhenStaleCachePolicy, AskServerIfModifiedCachePolicy}) {
        SCOPED_TRACE(policy);
        const std::string path = "/stale/confirmed" + std::to_string(policy) + ".txt";
        nginx->writeFile(path.substr(1), "kept body");
        fetch(path);
        auto again = fetch(path, policy);
        EXPECT_TRUE(again->didUseCachedResponse());
        EXPECT_EQ(again->responseStatusCode(), 200);
        EXPECT_EQ(body(again), "kept body");
        EXPECT_EQ(again->contentLength(), 9u);
    }
}

TEST_F(DownloadCacheTest, AStoredRedirectIsFollowed) {
    nginx->writeFile("fresh/target.txt", "target");
    fetch("/moved");
    auto again = fetch("/moved", AskServerIfModifiedWhenStaleCachePolicy);
    EXPECT_FALSE(again->error());
    EXPECT_EQ(again->url().path(), "/fresh/target.txt");
    EXPECT_EQ(body(again), "target");

    auto synchronous = HTTPRequest::requestWithURL(url(nginx->url("/moved")), cache,
                                                   AskServerIfModifiedWhenStaleCachePolicy);
    synchronous->startSynchronous();
    EXPECT_TRUE(synchronous->isFinished()) << "followed before startSynchronous returns";
    EXPECT_FALSE(synchronous->error());
    EXPECT_EQ(synchronous->responseStatusCode(), 200);
    EXPECT_EQ(body(synchronous), "target");
}

TEST_F(DownloadCacheTest, AFailedLoadFallsBackToAWholeEntryOnly) {
    for (bool deleteBody : {false, true}) {
        SCOPED_TRACE(deleteBody ? "body deleted" : "whole entry");
        std::string address;
        {
            FaultPeer server(
                {FaultPeer::send("HTTP/1.1 200 OK\r\nConnection: close\r\nCache-Control: max-age=60\r\n"
                                 "Content-Length: 6\r\n\r\nstored")});
            address = server.url("/quote.txt");
            auto first = HTTPRequest::requestWithURL(url(address), cache);
            runAsync(first);
            ASSERT_TRUE(cache->cachedResponseHeadersForURL(url(address)));
        }
        if (deleteBody)
            ASSERT_TRUE(std::filesystem::remove(*cache->pathToCachedResponseDataForURL(url(address))));
        // The server is gone: the connection is refused.
        auto again = HTTPRequest::requestWithURL(url(address), cache, FallbackToCacheIfLoadFailsCachePolicy);
        auto delegate = runAsync(again);
        if (deleteBody) {
            ASSERT_TRUE(again->error());
            EXPECT_EQ(again->error()->code(), ConnectionFailureErrorType);
            EXPECT_EQ(delegate->count("failed"), 1u);
        } else {
            EXPECT_FALSE(again->error());
            EXPECT_EQ(body(again), "stored");
            EXPECT_TRUE(again->didUseCachedResponse());
            EXPECT_EQ(delegate->count("finished"), 1u);
        }
    }
}

TEST_F(DownloadCacheTest, SessionAndPermanentStores) {
    nginx->writeFile("fresh/session.txt", "session");
    nginx->writeFile("fresh/kept.txt", "kept");
    fetch("/fresh/session.txt");
    fetch("/fresh/kept.txt", UseDefaultCachePolicy, CachePermanentlyCacheStoragePolicy);
    auto inStore = [&](const char *store, const char *path) {
        auto found = cache->pathToCachedResponseDataForURL(url(nginx->url(path)));
        return found && found->starts_with(base::Paths::join(root, store));
    };
    EXPECT_TRUE(inStore(DownloadCache::SessionStoreDirectory, "/fresh/session.txt"));
    EXPECT_TRUE(inStore(DownloadCache::PermanentStoreDirectory, "/fresh/kept.txt"));

    // Setting the path again (as a new start of the process does) ends the session's entries.
    ASSERT_FALSE(cache->setStoragePath(root));
    EXPECT_FALSE(stored("/fresh/session.txt"));
    EXPECT_TRUE(stored("/fresh/kept.txt"));

    // So does ending the session of the requests that use it as their default cache.
    fetch("/fresh/session.txt");
    HTTPRequest::setDefaultCache(cache);
    HTTPRequest::clearSession();
    HTTPRequest::setDefaultCache(nullptr);
    EXPECT_FALSE(stored("/fresh/session.txt"));
    EXPECT_TRUE(stored("/fresh/kept.txt"));

    ASSERT_FALSE(cache->clearCachedResponsesForStoragePolicy(CachePermanentlyCacheStoragePolicy));
    EXPECT_FALSE(stored("/fresh/kept.txt"));
    EXPECT_TRUE(
        std::filesystem::is_directory(base::Paths::join(root, DownloadCache::PermanentStoreDirectory)));
}

TEST_F(DownloadCacheTest, AStoragePathThatCannotBeMadeIsReportedAndChangesNothing) {
    const std::string file = base::Paths::join(root, "plain-file");
    ASSERT_TRUE(base::FileManager::writeAtomically(file, base::Data::fromString("x")));
    struct Case {
        std::string path, name, text;
    };
    const Case cases[] = {
        {file, DownloadCache::FileExistsAtCachePath,
         "Cannot create a directory for the cache at '" + file + "', because a file already exists"},
        {file + "/below", DownloadCache::FailedToCreateCacheDirectory,
         "Failed to create a directory for the cache at '" + file + "/below'"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        auto failure = cache->setStoragePath(c.path);
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->domain(), c.name);
        EXPECT_EQ(failure->localizedDescription(), c.text);
        EXPECT_EQ(cache->storagePath(), root);
    }
}

} // namespace
