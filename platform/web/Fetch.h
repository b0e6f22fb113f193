#pragma once

#include "base/Error.h"
#include "base/Object.h"
#include "base/Timer.h"
#include "base/Url.h"
#include "net/ProxyResolver.h"

#include <functional>
#include <optional>
#include <string>

namespace net {
class HttpConnectionCache;
class HttpReadStream;
} // namespace net

namespace web {

// Gets one resource of a page (the document, a style sheet or an image) for the web view, on the
// main run loop: over http and https with the platform HTTP stream (GET, gzip accepted and
// inflated, redirects followed up to MaxRedirects, each one offered to the caller first), or from
// a file URL inside the application bundle. Every other URL is refused. The answer comes on a
// later pass of the loop, never inside start(), and never after cancel().
//
// Web fetches go through the system's proxy for their URL, as the HTTP client's requests do (the
// first entry of the system's list; direct when it names none). A fetch that receives nothing for
// TimeOutSeconds, from its start or its last bytes, including the wait for the proxy list, fails
// with TimedOut: a host that accepts and goes silent never leaves a page loading for ever.
//
// Failures, as the platform's URL loading names them (domain URLErrorDomain): UnsupportedUrl for
// another scheme or a file outside the bundle, FileDoesNotExist, TooManyRedirects,
// BadServerResponse for a status of 400 or above or a body that does not inflate,
// ResourceTooLarge past MaxBytes, TimedOut, Cancelled for a redirect the caller refused; the stream's own
// error for a failed connection.
class Fetch : public base::Object {
public:
    static constexpr const char *URLErrorDomain = "NSURLErrorDomain";
    enum ErrorCode : long {
        Cancelled = -999,
        TimedOut = -1001,
        UnsupportedUrl = -1002,
        TooManyRedirects = -1007,
        BadServerResponse = -1011,
        ResourceTooLarge = -1103,
        FileDoesNotExist = -1100,
    };
    static constexpr int MaxRedirects = 5;
    static constexpr size_t MaxBytes = 16 * 1024 * 1024;
    static constexpr double TimeOutSeconds = 10;

    struct Result {
        base::Url url; // after redirects
        std::string body;
        std::string charset; // the "charset" parameter, lower case; empty when none
    };
    // Asked before each redirect is followed; false stops the fetch with Cancelled.
    using Redirect = std::function<bool(const base::Url &)>;
    using Done = std::function<void(const Result *result, base::Ref<base::Error> error)>;

    // Whether the web view may load this URL at all.
    static bool allowed(const base::Url &url);
    static base::Ref<base::Error> error(long code, std::string text);

    static base::Ref<Fetch> start(const base::Url &url, base::Ref<net::HttpConnectionCache> cache,
                                  Redirect redirect, Done done);
    ~Fetch() override;
    void cancel();

private:
    void request(const base::Url &url);
    void proxiesFound(unsigned wait, const std::optional<std::vector<net::ProxyEntry>> &list);
    void connect(const net::ProxyEntry &proxy);
    void noteActivity();
    void checkIdle();
    void ended();
    void finish(const Result *result, base::Ref<base::Error> error);
    void readFile(const base::Url &url);
    void releaseStream();
    void refuse();

    base::Ref<net::HttpConnectionCache> cache_;
    Redirect redirect_;
    Done done_;
    base::Ref<net::HttpReadStream> stream_;
    std::optional<base::Url> url_;
    std::string body_;
    int redirects_ = 0;
    // Counts proxy look-ups, so that an answer for an earlier URL of this fetch is ignored.
    unsigned proxyWait_ = 0;
    base::Ref<base::Timer> idleTimer_;
    double lastActivity_ = 0;
};

} // namespace web
