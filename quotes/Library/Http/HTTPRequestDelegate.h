#pragma once

#include "base/Data.h"
#include "base/Object.h"
#include "base/Url.h"
#include "base/Value.h"

#include <string_view>

class HTTPRequest;

// What a request tells its delegate, on the main thread. Every operation is optional: the
// default answers "not implemented". A delegate whose answers change what the request does
// (taking the body bytes instead of having them stored, deciding a redirect, giving credentials)
// also names those operations in implements(), because the request asks before it sends them.
class HTTPRequestDelegate {
public:
    // Operation names the request asks about.
    static constexpr std::string_view didReceiveData = "request:didReceiveData:";
    static constexpr std::string_view willRedirect = "request:willRedirectToURL:";
    static constexpr std::string_view authenticationNeeded = "authenticationNeededForRequest:";
    static constexpr std::string_view proxyAuthenticationNeeded = "proxyAuthenticationNeededForRequest:";

    virtual ~HTTPRequestDelegate() = default;
    virtual bool implements(std::string_view) const { return false; }

    // Each start of a transfer attempt.
    virtual base::Opt<void> requestStarted(HTTPRequest &) { return base::notImplemented; }
    // The response head arrived (a copy of its fields).
    virtual base::Opt<void> request(HTTPRequest &, const base::Dict &) { return base::notImplemented; }
    // A redirect waits for redirectToURL() with this URL or another.
    virtual base::Opt<void> request(HTTPRequest &, const base::Url &) { return base::notImplemented; }
    virtual base::Opt<void> requestRedirected(HTTPRequest &) { return base::notImplemented; }
    // Body bytes, instead of storing them.
    virtual base::Opt<void> request(HTTPRequest &, const base::Data &) { return base::notImplemented; }
    virtual base::Opt<void> requestFinished(HTTPRequest &) { return base::notImplemented; }
    // Failure, cancellation included.
    virtual base::Opt<void> requestFailed(HTTPRequest &) { return base::notImplemented; }
    virtual base::Opt<void> authenticationNeededForRequest(HTTPRequest &) { return base::notImplemented; }
    virtual base::Opt<void> proxyAuthenticationNeededForRequest(HTTPRequest &) {
        return base::notImplemented;
    }
};

// What a request reports of its progress, on the main thread. All optional.
class HTTPProgressDelegate {
public:
    virtual ~HTTPProgressDelegate() = default;
    // A progress bar's fraction.
    virtual base::Opt<void> setProgress(float) { return base::notImplemented; }
    // New body bytes received (1 for a coarse report).
    virtual base::Opt<void> requestDidReceiveBytes(HTTPRequest &, long long) { return base::notImplemented; }
    // Body bytes sent; negative when the progress of a repeated attempt is withdrawn.
    virtual base::Opt<void> requestDidSendBytes(HTTPRequest &, long long) { return base::notImplemented; }
    virtual base::Opt<void> requestIncrementDownloadSizeBy(HTTPRequest &, long long) {
        return base::notImplemented;
    }
    virtual base::Opt<void> requestIncrementUploadSizeBy(HTTPRequest &, long long) {
        return base::notImplemented;
    }
};
