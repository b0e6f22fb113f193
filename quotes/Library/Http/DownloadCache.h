#pragma once

#include "HTTPCacheDelegate.h"

#include "base/Object.h"

#include <mutex>
#include <optional>
#include <string>
#include <vector>

// An on-disk cache of HTTP responses behind HTTPCacheDelegate. A request given this cache (the
// client-wide default cache, or its own) asks it whether a stored response may stand in for the
// network, stores what it received, and refreshes the expiry of an entry the server confirmed.
//
// Under storagePath, entries of storage policy 0 live in "SessionStore" (emptied whenever a
// storage path is set) and all others in "PermanentStore". An entry is two files named after the
// key of its URL: key + ".cachedheaders", the response head as a property list plus the expiry
// ("X-HTTPRequest-Expires", seconds since 1970) and the status ("X-HTTPRequest-Response-Status-Code"),
// and key + "." + the body extension, the inflated body. The body is written before the head and
// both atomically, so an entry whose head is readable is whole.
//
// Every operation takes the cache's recursive lock: requests call it from the network thread.
// Path operations answer nothing while no storage path is set. Failures to set up or clear the
// storage come back as errors whose domain names the failure (the constants below); none throws.
class DownloadCache : public base::Object, public HTTPCacheDelegate {
public:
    static constexpr const char *SharedCacheDirectory = "HTTPRequestCache";
    static constexpr const char *SessionStoreDirectory = "SessionStore";
    static constexpr const char *PermanentStoreDirectory = "PermanentStore";
    static constexpr const char *HeadersExtension = "cachedheaders";

    // Failures of setStoragePath and clearCachedResponsesForStoragePolicy: the error's domain, and
    // its description made from the text with the path.
    static constexpr const char *FileExistsAtCachePath = "FileExistsAtCachePath";
    static constexpr const char *FileExistsAtCachePathText =
        "Cannot create a directory for the cache at '%@', because a file already exists";
    static constexpr const char *FailedToCreateCacheDirectory = "FailedToCreateCacheDirectory";
    static constexpr const char *FailedToCreateCacheDirectoryText =
        "Failed to create a directory for the cache at '%@'";
    static constexpr const char *FailedToTraverseCacheDirectory = "FailedToTraverseCacheDirectory";
    static constexpr const char *FailedToTraverseCacheDirectoryText =
        "Listing cache directory failed at path '%@'";
    static constexpr const char *FailedToRemoveCacheFile = "FailedToRemoveCacheFile";
    static constexpr const char *FailedToRemoveCacheFileText = "Failed to remove cached data at path '%@'";

    // The cache in the caches directory's "HTTPRequestCache", made on first use.
    static base::Ref<DownloadCache> sharedCache();
    DownloadCache() = default;

    // 4 until set; setting 0 sets 4.
    int defaultCachePolicy() const override;
    void setDefaultCachePolicy(int policy);
    // Empty while none is set.
    std::string storagePath() const;
    // Makes the directory with its two stores and empties the new session store. On failure
    // nothing changes: the old path and its entries stay.
    base::Ref<base::Error> setStoragePath(const std::string &path);
    bool shouldRespectCacheControlHeaders() const;
    void setShouldRespectCacheControlHeaders(bool respect);

    std::optional<base::Date> expiryDateForRequest(const HTTPRequest &request, double maxAge) override;
    void updateExpiryForRequest(const HTTPRequest &request, double maxAge) override;
    bool canUseCachedDataForRequest(const HTTPRequest &request) override;
    void removeCachedDataForRequest(const HTTPRequest &request) override;
    bool isCachedDataCurrentForRequest(const HTTPRequest &request) override;
    // Stores successes and redirects (200, 301, 302, 303, 307) of requests without an error or the
    // "do not write" bit that the server allows to be kept.
    void storeResponseForRequest(const HTTPRequest &request, double maxAge) override;
    void removeCachedDataForURL(const base::Url &url) override;
    std::optional<base::Dict> cachedResponseHeadersForURL(const base::Url &url) override;
    std::optional<base::Data> cachedResponseDataForURL(const base::Url &url) override;
    // The file in "SessionStore" when it exists there, else in "PermanentStore" when it exists there.
    std::optional<std::string> pathToCachedResponseHeadersForURL(const base::Url &url) override;
    std::optional<std::string> pathToCachedResponseDataForURL(const base::Url &url) override;
    // The file in the store of the request's storage policy, whether it exists or not.
    std::optional<std::string>
    pathToStoreCachedResponseHeadersForRequest(const HTTPRequest &request) override;
    std::optional<std::string> pathToStoreCachedResponseDataForRequest(const HTTPRequest &request) override;
    base::Ref<base::Error> clearCachedResponsesForStoragePolicy(int storagePolicy) override;

    // Refuses when a Cache-Control token is "no-store" or "no-cache", or Pragma is "no-cache".
    static bool serverAllowsResponseCachingForRequest(const HTTPRequest &request);
    // MD5 of the URL text without one trailing "/", as 32 upper-case hex digits; nothing for an
    // empty URL.
    static std::optional<std::string> keyForURL(const base::Url &url);
    // Path extensions of pages, stored as "html".
    static const std::vector<std::string> &fileExtensionsToHandleAsHTML();
    // The extension of the body file of the URL.
    static std::string bodyExtensionForURL(const base::Url &url);

private:
    // The file name of the URL's entry with the extension; nothing without a key.
    static std::optional<std::string> fileNameForURL(const base::Url &url, const std::string &extension);
    std::optional<std::string> pathToFile(const std::optional<std::string> &name) const;
    std::optional<std::string> pathToStore(const HTTPRequest &request,
                                           const std::optional<std::string> &name) const;
    std::string storeDirectory(int storagePolicy) const;
    base::Ref<base::Error> emptyDirectory(const std::string &directory);

    mutable std::recursive_mutex accessLock_;
    int defaultCachePolicy_ = AskServerIfModifiedWhenStaleCachePolicy;
    std::string storagePath_;
    bool shouldRespectCacheControlHeaders_ = true;
};
