#include "HTTPRequest.h"

#include "HTTPRequestState.h"

#include "base/DateFormatter.h"
#include "base/Str.h"
#include "net/Cookie.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

namespace {

std::mutex &defaultCacheLock() {
    static auto *lock = new std::mutex;
    return *lock;
}

base::Ref<HTTPCacheDelegate> &defaultCacheSlot() {
    static auto *cache = new base::Ref<HTTPCacheDelegate>;
    return *cache;
}

} // namespace

// What a stored entry holds for a request: its head, its body file, and the body itself unless
// the request downloads to a file.
struct HTTPRequest::CachedEntry {
    base::Dict headers;
    std::string dataPath;
    std::optional<base::Data> body;
    unsigned long long length = 0;
};

base::Ref<HTTPRequest> HTTPRequest::requestWithURL(const base::Url &url, base::Ref<HTTPCacheDelegate> cache,
                                                   int cachePolicy) {
    auto request = requestWithURL(url);
    request->setDownloadCache(std::move(cache));
    request->setCachePolicy(cachePolicy);
    return request;
}

base::Ref<HTTPCacheDelegate> HTTPRequest::defaultCache() {
    std::lock_guard guard(defaultCacheLock());
    return defaultCacheSlot();
}

void HTTPRequest::setDefaultCache(base::Ref<HTTPCacheDelegate> cache) {
    std::lock_guard guard(defaultCacheLock());
    defaultCacheSlot() = std::move(cache);
}

std::optional<std::string> HTTPRequest::headerNamed(const base::Dict &headers, std::string_view name) {
    for (auto &[key, value] : headers)
        if (net::sameHeaderName(key, name) && value.isString())
            return *value.string();
    return std::nullopt;
}

std::optional<base::Date> HTTPRequest::dateFromRFC1123String(std::string_view text) {
    std::string pattern = text.find(',') != std::string_view::npos ? "EEE, " : "";
    pattern += "dd MMM yyyy HH:mm";
    if (std::count(text.begin(), text.end(), ':') == 2)
        pattern += ":ss";
    pattern += " z";
    return base::DateFormatter(pattern, base::Locale::posix(), base::TimeZone::gmt()).date(text);
}

std::optional<base::Date> HTTPRequest::expiryDateForRequest(const HTTPRequest &request, double maxAge) {
    const base::Date now = base::Date::now();
    if (maxAge != 0)
        return now.adding(maxAge);
    // Cache-Control is a list: "no-cache, max-age=60" names its age as well as "max-age=60".
    if (auto control = headerNamed(request.responseHeaders(), "Cache-Control")) {
        for (auto &token : base::str::split(base::str::lower(*control), ",")) {
            std::string t = base::str::trim(token);
            const size_t equals = t.find('=');
            if (!t.starts_with("max-age") || equals == std::string::npos ||
                !base::str::trim(t.substr(7, equals - 7)).empty())
                continue;
            std::string number = base::str::trim(std::string_view(t).substr(equals + 1));
            unsigned long long seconds = 0;
            auto [end, failure] = std::from_chars(number.data(), number.data() + number.size(), seconds);
            if (failure == std::errc() && end == number.data() + number.size())
                return now.adding(double(seconds));
        }
    }
    if (auto expires = headerNamed(request.responseHeaders(), "Expires"))
        return dateFromRFC1123String(*expires);
    return std::nullopt;
}

// Before sending: only GET requests use the cache; a stored response that may stand in ends the
// request here, else the conditional headers ask the server whether the stored one still holds.
bool HTTPRequest::answeredFromCacheBeforeSending() {
    if (requestMethod_ != "GET")
        downloadCache_.reset();
    if (!downloadCache_)
        return false;
    if (cachePolicy_ == UseDefaultCachePolicy)
        cachePolicy_ = downloadCache_->defaultCachePolicy();
    if (downloadCache_->canUseCachedDataForRequest(*this)) {
        if (auto entry = readCachedEntry()) {
            useDataFromCache(std::move(*entry));
            return true;
        }
    }
    if (!(cachePolicy_ & (AskServerIfModifiedWhenStaleCachePolicy | AskServerIfModifiedCachePolicy)))
        return false;
    // A 304 can only be answered from an entry that is whole.
    auto headers = downloadCache_->cachedResponseHeadersForURL(url_);
    if (!headers || !downloadCache_->pathToCachedResponseDataForURL(url_))
        return false;
    if (auto etag = headerNamed(*headers, "Etag"))
        addRequestHeader("If-None-Match", *etag);
    if (auto modified = headerNamed(*headers, "Last-Modified"))
        addRequestHeader("If-Modified-Since", *modified);
    return false;
}

bool HTTPRequest::answeredFromCacheAfterHeaders() {
    if (!downloadCache_ || !downloadCache_->canUseCachedDataForRequest(*this))
        return false;
    downloadCache_->updateExpiryForRequest(*this, secondsToCache_);
    auto entry = readCachedEntry();
    if (!entry)
        return false;
    releaseConnectionForCachedResponse();
    useDataFromCache(std::move(*entry));
    return true;
}

bool HTTPRequest::answeredFromCacheAfterFailure(const base::Error &failure) {
    // A cancelled request stays cancelled.
    if (failure.code() == RequestCancelledErrorType || isCancelled() || error() || !downloadCache_ ||
        !(cachePolicy_ & FallbackToCacheIfLoadFailsCachePolicy) ||
        !downloadCache_->canUseCachedDataForRequest(*this))
        return false;
    auto entry = readCachedEntry();
    if (!entry)
        return false;
    useDataFromCache(std::move(*entry));
    return true;
}

// The answer on the wire is no longer wanted: its connection is closed rather than read to its end.
void HTTPRequest::releaseConnectionForCachedResponse() {
    forgetConnection();
    connectionCanBeReused_ = false;
    destroyReadStream();
    if (statusTimer_)
        statusTimer_->invalidate();
    statusTimer_.reset();
}

std::optional<HTTPRequest::CachedEntry> HTTPRequest::readCachedEntry() {
    auto headers = downloadCache_->cachedResponseHeadersForURL(url_);
    auto dataPath = downloadCache_->pathToCachedResponseDataForURL(url_);
    if (!headers || !dataPath)
        return std::nullopt;
    CachedEntry entry{*headers, *dataPath, std::nullopt, 0};
    if (downloadDestinationPath_.empty()) {
        entry.body = downloadCache_->cachedResponseDataForURL(url_);
        if (!entry.body)
            return std::nullopt;
        entry.length = entry.body->length();
    } else {
        std::error_code failure;
        entry.length = std::filesystem::file_size(entry.dataPath, failure);
        if (failure)
            return std::nullopt;
    }
    return entry;
}

void HTTPRequest::useDataFromCache(CachedEntry entry) {
    responseStatusCode_ = int(entry.headers.get(HTTPCacheDelegate::StatusCodeHeader).intValue());
    didUseCachedResponse_ = true;
    responseHeaders_ = entry.headers;
    auto head = net::HttpMessage::response();
    head->addResponseLine("HTTP/1.1 " + std::to_string(responseStatusCode_) + " Cached");
    for (auto &[name, value] : entry.headers)
        if (value.isString())
            head->addResponseLine(name + ": " + *value.string());
    head->addResponseLine("");
    responseHead_ = head;
    haveResponseHeaders_ = true;
    if (downloadDestinationPath_.empty())
        rawResponseData_ = std::move(*entry.body);
    else
        downloadDestinationPath_ = entry.dataPath;
    // The stored body is the inflated one: its own length counts, not the length on the wire.
    contentLength_ = entry.length;
    totalBytesRead_ = entry.length;
    hasContentLength_ = true;
    parseStringEncodingFromHeaders();
    responseCookies_ = net::parseSetCookies(head->headerValues("Set-Cookie"), url_);
    if (willRedirect()) {
        // Followed on a later pass, once the step that served it (and any stream event) is over.
        complete_ = true;
        if (!willAskDelegateToConfirmRedirect())
            performOnRequestThread([this] { performRedirect(); });
        return;
    }
    complete_ = true;
    downloadComplete_ = true;
    if (redirectCount_ == 0)
        originalURL_ = url_;
    {
        std::lock_guard guard(HTTPRequestClassState::shared().progressLock);
        updateProgressIndicators();
    }
    requestFinished();
    markAsFinished();
}
