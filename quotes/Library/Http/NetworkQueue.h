#pragma once

#include "HTTPRequest.h"
#include "HTTPRequestDelegate.h"

#include "base/OperationQueue.h"
#include "base/Value.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

// An operation queue for a batch of HTTP requests: one set of callbacks for the batch, progress
// summed over its requests, optional HEAD requests that run before the batch's GETs, and
// cancelling of the whole batch when one request fails. Requests added report to it as their
// queue; it passes the reports on, on the main thread.
//
// A new queue runs at most 4 requests at once and starts suspended: go() starts it. Adding
// anything that is not an HTTPRequest throws std::logic_error "AttemptToAddInvalidRequest".
class NetworkQueue : public base::OperationQueue,
                     public HTTPRequestDelegate,
                     public HTTPProgressDelegate,
                     public std::enable_shared_from_this<NetworkQueue> {
public:
    using RequestCallback = std::function<void(HTTPRequest &)>;
    static constexpr int HEADRequestPriority = 10;

    static base::Ref<NetworkQueue> queue();
    NetworkQueue();

    void go() { setSuspended(false); }
    // Cancels everything, drops the delegate, progress receivers and callbacks (the redirect one
    // stays) and suspends the queue.
    void reset();
    void add(base::Ref<base::Operation> operation) override;
    // Zeroes the sums, then cancels every request.
    void cancelAll() override;

    // Answers credential and redirect questions of the requests.
    base::Weak<HTTPRequestDelegate> delegate;
    RequestCallback requestDidStart, requestDidFinish, requestDidFail;
    std::function<void(HTTPRequest &, const base::Dict &)> requestDidReceiveResponseHeaders;
    std::function<void(HTTPRequest &, const base::Url &)> requestWillRedirect;
    std::function<void(NetworkQueue &)> queueDidFinish;
    bool shouldCancelAllRequestsOnFailure = true;
    // Off: progress counts whole requests rather than bytes.
    bool showAccurateProgress = false;
    base::Dict userInfo;

    void setUploadProgressDelegate(base::Weak<HTTPProgressDelegate> receiver);
    void setDownloadProgressDelegate(base::Weak<HTTPProgressDelegate> receiver);
    // Requests added and not yet finished or failed.
    int requestsCount() const { return requestsCount_; }
    uint64_t bytesUploadedSoFar() const { return bytesUploadedSoFar_; }
    uint64_t totalBytesToUpload() const { return totalBytesToUpload_; }
    uint64_t bytesDownloadedSoFar() const { return bytesDownloadedSoFar_; }
    uint64_t totalBytesToDownload() const { return totalBytesToDownload_; }
    // A queue with the same delegate, callbacks, receivers and settings.
    base::Ref<NetworkQueue> copy() const;

    // What the requests report.
    bool implements(std::string_view operation) const override;
    base::Opt<void> requestStarted(HTTPRequest &request) override;
    base::Opt<void> request(HTTPRequest &request, const base::Dict &headers) override;
    base::Opt<void> request(HTTPRequest &request, const base::Url &url) override;
    base::Opt<void> requestFinished(HTTPRequest &request) override;
    base::Opt<void> requestFailed(HTTPRequest &request) override;
    base::Opt<void> authenticationNeededForRequest(HTTPRequest &request) override;
    base::Opt<void> proxyAuthenticationNeededForRequest(HTTPRequest &request) override;
    base::Opt<void> requestDidReceiveBytes(HTTPRequest &request, long long amount) override;
    base::Opt<void> requestDidSendBytes(HTTPRequest &request, long long amount) override;
    base::Opt<void> requestIncrementDownloadSizeBy(HTTPRequest &request, long long amount) override;
    base::Opt<void> requestIncrementUploadSizeBy(HTTPRequest &request, long long amount) override;

private:
    void addHEADOperation(const base::Ref<HTTPRequest> &request);
    static bool isHEADRequest(const HTTPRequest &request);
    static void resetProgress(const base::Weak<HTTPProgressDelegate> &receiver);
    static void updateProgress(const base::Weak<HTTPProgressDelegate> &receiver, uint64_t soFar,
                               uint64_t total);

    base::Weak<HTTPProgressDelegate> uploadProgressDelegate_, downloadProgressDelegate_;
    int requestsCount_ = 0;
    std::atomic<uint64_t> bytesUploadedSoFar_{0}, totalBytesToUpload_{0}, bytesDownloadedSoFar_{0},
        totalBytesToDownload_{0};
};
