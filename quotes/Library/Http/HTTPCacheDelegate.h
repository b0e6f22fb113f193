#pragma once

#include "base/Data.h"
#include "base/Date.h"
#include "base/Error.h"
#include "base/Url.h"
#include "base/Value.h"

#include <optional>
#include <string>

class HTTPRequest;

// The bits of a request's cachePolicy: what it may take from its download cache and what it may
// leave there.
enum HTTPCachePolicy : int {
    UseDefaultCachePolicy = 0,
    DoNotReadFromCacheCachePolicy = 1,
    DoNotWriteToCacheCachePolicy = 2,
    // The stored response stands in while it is current; once stale the server is asked whether it
    // changed.
    AskServerIfModifiedWhenStaleCachePolicy = 4,
    // The server is always asked; the stored response stands in when, once the answer's head has
    // arrived, it is current.
    AskServerIfModifiedCachePolicy = 8,
    OnlyLoadIfNotCachedCachePolicy = 16,
    // The cache claims a response even when it holds none.
    DontLoadCachePolicy = 32,
    // A stored response stands in for a load that failed.
    FallbackToCacheIfLoadFailsCachePolicy = 64,
};

// A request's cacheStoragePolicy: 0 keeps the entry until the cache's storage path is next set
// (for the shared cache, the life of the process); any other value keeps it for good.
enum HTTPCacheStoragePolicy : int {
    CacheForSessionDurationCacheStoragePolicy = 0,
    CachePermanentlyCacheStoragePolicy = 1,
};

// What an HTTPRequest asks of its download cache, from the request's own thread: whether a
// stored response may stand in for the network, the stored head (for the conditional headers),
// storing a finished response, and refreshing the expiry of one the server confirmed (304).
class HTTPCacheDelegate {
public:
    // Fields a cache adds to the stored head: the expiry (seconds since 1970) and the status.
    static constexpr const char *ExpiresHeader = "X-HTTPRequest-Expires";
    static constexpr const char *StatusCodeHeader = "X-HTTPRequest-Response-Status-Code";

    virtual ~HTTPCacheDelegate() = default;

    virtual int defaultCachePolicy() const = 0;
    // When a response stops being current: now + maxAge when given, else from the response's
    // Cache-Control max-age, else its Expires header; nothing when none is known.
    virtual std::optional<base::Date> expiryDateForRequest(const HTTPRequest &request, double maxAge) = 0;
    virtual void updateExpiryForRequest(const HTTPRequest &request, double maxAge) = 0;
    virtual bool canUseCachedDataForRequest(const HTTPRequest &request) = 0;
    virtual void removeCachedDataForRequest(const HTTPRequest &request) = 0;
    virtual bool isCachedDataCurrentForRequest(const HTTPRequest &request) = 0;
    virtual void storeResponseForRequest(const HTTPRequest &request, double maxAge) = 0;
    virtual void removeCachedDataForURL(const base::Url &url) = 0;
    virtual std::optional<base::Dict> cachedResponseHeadersForURL(const base::Url &url) = 0;
    virtual std::optional<base::Data> cachedResponseDataForURL(const base::Url &url) = 0;
    virtual std::optional<std::string> pathToCachedResponseHeadersForURL(const base::Url &url) = 0;
    virtual std::optional<std::string> pathToCachedResponseDataForURL(const base::Url &url) = 0;
    virtual std::optional<std::string>
    pathToStoreCachedResponseHeadersForRequest(const HTTPRequest &request) = 0;
    virtual std::optional<std::string>
    pathToStoreCachedResponseDataForRequest(const HTTPRequest &request) = 0;
    // Deletes every entry kept under the storage policy; the error says what could not be done.
    virtual base::Ref<base::Error> clearCachedResponsesForStoragePolicy(int storagePolicy) = 0;
};
