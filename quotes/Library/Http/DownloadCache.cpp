#include "DownloadCache.h"

#include "HTTPRequest.h"

#include "base/FileManager.h"
#include "base/Paths.h"
#include "base/PropertyList.h"
#include "base/Str.h"
#include "crypto/Crypto.h"
#include "net/HttpMessage.h"

#include <algorithm>
#include <filesystem>

namespace {

base::Ref<base::Error> cacheError(const char *name, std::string_view text, const std::string &path) {
    std::string description(text);
    description.replace(description.find("%@"), 2, path);
    return base::Error::make(name, 0, description);
}

bool hasToken(const std::string &list, std::string_view token) {
    for (auto &part : base::str::split(base::str::lower(list), ","))
        if (base::str::trim(part) == token)
            return true;
    return false;
}

// Copies the file whole or not at all: readers see the old body or the new one.
bool copyAtomically(const std::string &from, const std::string &to) {
    const std::string partial = to + ".partial";
    std::error_code failure;
    std::filesystem::copy_file(from, partial, std::filesystem::copy_options::overwrite_existing, failure);
    if (!failure)
        std::filesystem::rename(partial, to, failure);
    if (failure)
        std::filesystem::remove(partial, failure);
    return !failure;
}

} // namespace

base::Ref<DownloadCache> DownloadCache::sharedCache() {
    static auto *shared = [] {
        auto cache = base::make<DownloadCache>();
        cache->setStoragePath(base::Paths::join(base::Paths::caches(), SharedCacheDirectory));
        return new base::Ref<DownloadCache>(cache);
    }();
    return *shared;
}

int DownloadCache::defaultCachePolicy() const {
    std::lock_guard guard(accessLock_);
    return defaultCachePolicy_;
}

void DownloadCache::setDefaultCachePolicy(int policy) {
    std::lock_guard guard(accessLock_);
    defaultCachePolicy_ = policy == UseDefaultCachePolicy ? AskServerIfModifiedWhenStaleCachePolicy : policy;
}

std::string DownloadCache::storagePath() const {
    std::lock_guard guard(accessLock_);
    return storagePath_;
}

base::Ref<base::Error> DownloadCache::setStoragePath(const std::string &path) {
    std::lock_guard guard(accessLock_);
    for (const std::string &directory : {path, base::Paths::join(path, SessionStoreDirectory),
                                         base::Paths::join(path, PermanentStoreDirectory)}) {
        bool isDirectory = false;
        if (base::FileManager::exists(directory, &isDirectory) && !isDirectory)
            return cacheError(FileExistsAtCachePath, FileExistsAtCachePathText, directory);
        if (!isDirectory && !(base::FileManager::createDirectory(directory, true) &&
                              base::FileManager::exists(directory, &isDirectory) && isDirectory))
            return cacheError(FailedToCreateCacheDirectory, FailedToCreateCacheDirectoryText, directory);
    }
    base::Ref<base::Error> failure;
    if (!storagePath_.empty())
        failure = emptyDirectory(storeDirectory(CacheForSessionDurationCacheStoragePolicy));
    storagePath_ = path;
    auto emptied = emptyDirectory(storeDirectory(CacheForSessionDurationCacheStoragePolicy));
    return failure ? failure : emptied;
}

bool DownloadCache::shouldRespectCacheControlHeaders() const {
    std::lock_guard guard(accessLock_);
    return shouldRespectCacheControlHeaders_;
}

void DownloadCache::setShouldRespectCacheControlHeaders(bool respect) {
    std::lock_guard guard(accessLock_);
    shouldRespectCacheControlHeaders_ = respect;
}

// Keys and file names.

std::optional<std::string> DownloadCache::keyForURL(const base::Url &url) {
    std::string_view text = url.absoluteString();
    if (text.ends_with('/'))
        text.remove_suffix(1);
    if (text.empty())
        return std::nullopt;
    return crypto::md5Hex(text.data(), text.size());
}

const std::vector<std::string> &DownloadCache::fileExtensionsToHandleAsHTML() {
    static const std::vector<std::string> extensions{"asp", "aspx", "jsp", "php", "rb", "py", "pl", "cgi"};
    return extensions;
}

std::string DownloadCache::bodyExtensionForURL(const base::Url &url) {
    std::string extension = url.pathExtension();
    const auto &pages = fileExtensionsToHandleAsHTML();
    if (extension.empty() ||
        std::find(pages.begin(), pages.end(), base::str::lower(extension)) != pages.end())
        return "html";
    return extension;
}

std::optional<std::string> DownloadCache::fileNameForURL(const base::Url &url, const std::string &extension) {
    auto key = keyForURL(url);
    if (!key)
        return std::nullopt;
    return *key + "." + extension;
}

std::string DownloadCache::storeDirectory(int storagePolicy) const {
    return base::Paths::join(storagePath_, storagePolicy == CacheForSessionDurationCacheStoragePolicy
                                               ? SessionStoreDirectory
                                               : PermanentStoreDirectory);
}

std::optional<std::string> DownloadCache::pathToFile(const std::optional<std::string> &name) const {
    std::lock_guard guard(accessLock_);
    if (storagePath_.empty() || !name)
        return std::nullopt;
    for (int policy : {CacheForSessionDurationCacheStoragePolicy, CachePermanentlyCacheStoragePolicy}) {
        std::string path = base::Paths::join(storeDirectory(policy), *name);
        if (base::FileManager::exists(path))
            return path;
    }
    return std::nullopt;
}

std::optional<std::string> DownloadCache::pathToStore(const HTTPRequest &request,
                                                      const std::optional<std::string> &name) const {
    std::lock_guard guard(accessLock_);
    if (storagePath_.empty() || !name)
        return std::nullopt;
    return base::Paths::join(storeDirectory(request.cacheStoragePolicy()), *name);
}

std::optional<std::string> DownloadCache::pathToCachedResponseHeadersForURL(const base::Url &url) {
    return pathToFile(fileNameForURL(url, HeadersExtension));
}

std::optional<std::string> DownloadCache::pathToCachedResponseDataForURL(const base::Url &url) {
    return pathToFile(fileNameForURL(url, bodyExtensionForURL(url)));
}

std::optional<std::string>
DownloadCache::pathToStoreCachedResponseHeadersForRequest(const HTTPRequest &request) {
    return pathToStore(request, fileNameForURL(request.url(), HeadersExtension));
}

std::optional<std::string>
DownloadCache::pathToStoreCachedResponseDataForRequest(const HTTPRequest &request) {
    return pathToStore(request, fileNameForURL(request.url(), bodyExtensionForURL(request.url())));
}

// Reading and removing entries.

std::optional<base::Dict> DownloadCache::cachedResponseHeadersForURL(const base::Url &url) {
    std::lock_guard guard(accessLock_);
    auto path = pathToCachedResponseHeadersForURL(url);
    auto list = path ? base::PropertyList::read(*path) : std::nullopt;
    if (!list || !list->dict())
        return std::nullopt;
    return *list->dict();
}

std::optional<base::Data> DownloadCache::cachedResponseDataForURL(const base::Url &url) {
    std::lock_guard guard(accessLock_);
    auto path = pathToCachedResponseDataForURL(url);
    return path ? base::FileManager::read(*path) : std::nullopt;
}

void DownloadCache::removeCachedDataForURL(const base::Url &url) {
    std::lock_guard guard(accessLock_);
    if (auto headers = pathToCachedResponseHeadersForURL(url))
        base::FileManager::remove(*headers);
    if (auto body = pathToCachedResponseDataForURL(url))
        base::FileManager::remove(*body);
}

void DownloadCache::removeCachedDataForRequest(const HTTPRequest &request) {
    removeCachedDataForURL(request.url());
}

base::Ref<base::Error> DownloadCache::clearCachedResponsesForStoragePolicy(int storagePolicy) {
    std::lock_guard guard(accessLock_);
    if (storagePath_.empty())
        return nullptr;
    return emptyDirectory(storeDirectory(storagePolicy));
}

base::Ref<base::Error> DownloadCache::emptyDirectory(const std::string &directory) {
    bool isDirectory = false;
    if (!base::FileManager::exists(directory, &isDirectory) || !isDirectory)
        return nullptr;
    std::error_code failure;
    std::vector<std::filesystem::path> entries;
    for (std::filesystem::directory_iterator it(directory, failure), end; !failure && it != end;
         it.increment(failure))
        entries.push_back(it->path());
    if (failure)
        return cacheError(FailedToTraverseCacheDirectory, FailedToTraverseCacheDirectoryText, directory);
    for (auto &entry : entries) {
        std::filesystem::remove_all(entry, failure);
        if (failure)
            return cacheError(FailedToRemoveCacheFile, FailedToRemoveCacheFileText, directory);
    }
    return nullptr;
}

// Freshness.

std::optional<base::Date> DownloadCache::expiryDateForRequest(const HTTPRequest &request, double maxAge) {
    return HTTPRequest::expiryDateForRequest(request, maxAge);
}

void DownloadCache::updateExpiryForRequest(const HTTPRequest &request, double maxAge) {
    std::lock_guard guard(accessLock_);
    auto path = pathToCachedResponseHeadersForURL(request.url());
    auto headers = cachedResponseHeadersForURL(request.url());
    auto expiry = expiryDateForRequest(request, maxAge);
    if (!path || !headers || !expiry)
        return;
    headers->set(ExpiresHeader, expiry->since1970());
    base::PropertyList::write(base::Value(*headers), *path);
}

bool DownloadCache::canUseCachedDataForRequest(const HTTPRequest &request) {
    std::lock_guard guard(accessLock_);
    const int policy = request.cachePolicy();
    if (policy & DoNotReadFromCacheCachePolicy)
        return false;
    if (policy & DontLoadCachePolicy)
        return true;
    if (!pathToCachedResponseHeadersForURL(request.url()) || !pathToCachedResponseDataForURL(request.url()))
        return false;
    if ((policy & OnlyLoadIfNotCachedCachePolicy) ||
        (request.complete() && (policy & FallbackToCacheIfLoadFailsCachePolicy)))
        return true;
    if ((policy & AskServerIfModifiedWhenStaleCachePolicy) ||
        ((policy & AskServerIfModifiedCachePolicy) && !request.responseHeaders().empty()))
        return isCachedDataCurrentForRequest(request);
    return false;
}

bool DownloadCache::isCachedDataCurrentForRequest(const HTTPRequest &request) {
    std::lock_guard guard(accessLock_);
    if (storagePath_.empty())
        return false;
    auto stored = cachedResponseHeadersForURL(request.url());
    if (!stored || !pathToCachedResponseDataForURL(request.url()))
        return false;
    if (request.responseStatusCode() == 304)
        return true;
    // A full answer from the server stands for the stored one only when it names the same
    // version; one that leaves out a validator may have changed.
    const base::Dict &received = request.responseHeaders();
    if (!received.empty())
        for (const char *validator : {"Etag", "Last-Modified"}) {
            auto mine = HTTPRequest::headerNamed(received, validator);
            if (!mine || mine != HTTPRequest::headerNamed(*stored, validator))
                return false;
        }
    if (shouldRespectCacheControlHeaders_) {
        const base::Value *expires = stored->find(ExpiresHeader);
        // An entry expires at its expiry: one that expires now (max-age=0) is already stale.
        if (!expires || !expires->isNumber() || expires->doubleValue() <= base::Date::now().since1970())
            return false;
    }
    return true;
}

// Storing.

bool DownloadCache::serverAllowsResponseCachingForRequest(const HTTPRequest &request) {
    const base::Dict &headers = request.responseHeaders();
    if (auto control = HTTPRequest::headerNamed(headers, "Cache-Control"))
        if (hasToken(*control, "no-store") || hasToken(*control, "no-cache"))
            return false;
    if (auto pragma = HTTPRequest::headerNamed(headers, "Pragma"))
        if (hasToken(*pragma, "no-cache"))
            return false;
    return true;
}

void DownloadCache::storeResponseForRequest(const HTTPRequest &request, double maxAge) {
    std::lock_guard guard(accessLock_);
    if (request.error() || request.responseHeaders().empty() ||
        (request.cachePolicy() & DoNotWriteToCacheCachePolicy))
        return;
    const int status = request.responseStatusCode();
    if (status != 200 && status != 301 && status != 302 && status != 303 && status != 307)
        return;
    if (shouldRespectCacheControlHeaders_ && !serverAllowsResponseCachingForRequest(request))
        return;
    auto headersPath = pathToStoreCachedResponseHeadersForRequest(request);
    auto dataPath = pathToStoreCachedResponseDataForRequest(request);
    if (!headersPath || !dataPath)
        return;
    base::Dict headers;
    const bool inflated = request.isResponseCompressed();
    for (auto &[name, value] : request.responseHeaders())
        if (!(inflated && net::sameHeaderName(name, "Content-Encoding")))
            headers.set(name, value);
    if (auto expiry = expiryDateForRequest(request, maxAge))
        headers.set(ExpiresHeader, expiry->since1970());
    headers.set(StatusCodeHeader, status);
    // The head goes first and comes back last, so that no reader meets a head with a body that
    // is missing, half written or another response's.
    base::FileManager::remove(*headersPath);
    const std::string &downloaded = request.downloadDestinationPath();
    if (!downloaded.empty()) {
        if (downloaded != *dataPath && !copyAtomically(downloaded, *dataPath))
            return;
    } else {
        auto body = request.responseData();
        if (!body || !base::FileManager::writeAtomically(*dataPath, *body))
            return;
    }
    base::PropertyList::write(base::Value(headers), *headersPath);
}
