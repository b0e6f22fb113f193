#pragma once

#include "base/Error.h"
#include "base/Object.h"
#include "base/Url.h"

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
// Failures, as the platform's URL loading names them (domain URLErrorDomain): UnsupportedUrl for
// another scheme or a file outside the bundle, FileDoesNotExist, TooManyRedirects,
// BadServerResponse for a status of 400 or above or a body that does not inflate,
// ResourceTooLarge past MaxBytes, Cancelled for a redirect the caller refused; the stream's own
// error for a failed connection.
class Fetch : public base::Object {
public:
    static constexpr const char *URLErrorDomain = "NSURLErrorDomain";
    enum ErrorCode : long {
        Cancelled = -999,
        UnsupportedUrl = -1002,
        TooManyRedirects = -1007,
        BadServerResponse = -1011,
        ResourceTooLarge = -1103,
        FileDoesNotExist = -1100,
    };
    static constexpr int MaxRedirects = 5;
    static constexpr size_t MaxBytes = 16 * 1024 * 1024;

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
};

} // namespace web
