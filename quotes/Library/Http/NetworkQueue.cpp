#include "NetworkQueue.h"

#include <stdexcept>

base::Ref<NetworkQueue> NetworkQueue::queue() {
    return std::make_shared<NetworkQueue>();
}

NetworkQueue::NetworkQueue() : base::OperationQueue(4, true) {}

void NetworkQueue::reset() {
    cancelAll();
    delegate.reset();
    uploadProgressDelegate_.reset();
    downloadProgressDelegate_.reset();
    requestDidStart = nullptr;
    requestDidReceiveResponseHeaders = nullptr;
    requestDidFinish = nullptr;
    requestDidFail = nullptr;
    queueDidFinish = nullptr;
    setSuspended(true);
}

void NetworkQueue::cancelAll() {
    bytesUploadedSoFar_ = 0;
    totalBytesToUpload_ = 0;
    bytesDownloadedSoFar_ = 0;
    totalBytesToDownload_ = 0;
    base::OperationQueue::cancelAll();
}

void NetworkQueue::setUploadProgressDelegate(base::Weak<HTTPProgressDelegate> receiver) {
    uploadProgressDelegate_ = std::move(receiver);
    resetProgress(uploadProgressDelegate_);
}

void NetworkQueue::setDownloadProgressDelegate(base::Weak<HTTPProgressDelegate> receiver) {
    downloadProgressDelegate_ = std::move(receiver);
    resetProgress(downloadProgressDelegate_);
}

void NetworkQueue::resetProgress(const base::Weak<HTTPProgressDelegate> &receiver) {
    if (auto r = receiver.lock())
        r->setProgress(0.0f);
}

void NetworkQueue::updateProgress(const base::Weak<HTTPProgressDelegate> &receiver, uint64_t soFar,
                                  uint64_t total) {
    if (auto r = receiver.lock())
        r->setProgress(total ? float(double(soFar) / double(total)) : 0.0f);
}

void NetworkQueue::add(base::Ref<base::Operation> operation) {
    auto request = std::dynamic_pointer_cast<HTTPRequest>(operation);
    if (!request)
        throw std::logic_error("AttemptToAddInvalidRequest: Attempted to add an object that was not an "
                               "HTTPRequest to an NetworkQueue");
    ++requestsCount_;
    if (showAccurateProgress) {
        request->buildPostBody();
        if (request->requestMethod() == "GET" && isSuspended()) {
            auto head = request->HEADRequest();
            addHEADOperation(head);
            request->addDependency(head);
            // The size the pre-request learns is the one counted; the request's own answer must
            // not count it again.
            if (request->shouldResetDownloadProgress()) {
                resetProgress(downloadProgressDelegate_);
                request->setShouldResetDownloadProgress(false);
            }
        }
        totalBytesToUpload_ += request->postLength();
    } else {
        totalBytesToDownload_ += 1;
        totalBytesToUpload_ += 1;
    }
    // The upload is counted here, once.
    if (request->shouldResetUploadProgress()) {
        resetProgress(uploadProgressDelegate_);
        request->setShouldResetUploadProgress(false);
    }
    request->setShowAccurateProgress(showAccurateProgress);
    request->setQueue(shared_from_this());
    base::OperationQueue::add(request);
}

void NetworkQueue::addHEADOperation(const base::Ref<HTTPRequest> &request) {
    request->setRequestMethod("HEAD");
    request->setQueuePriority(HEADRequestPriority);
    request->setShowAccurateProgress(true);
    request->setQueue(shared_from_this());
    base::OperationQueue::add(request);
}

bool NetworkQueue::isHEADRequest(const HTTPRequest &request) {
    return request.isHEADPreRequest();
}

base::Ref<NetworkQueue> NetworkQueue::copy() const {
    auto c = queue();
    c->delegate = delegate;
    c->requestDidStart = requestDidStart;
    c->requestDidReceiveResponseHeaders = requestDidReceiveResponseHeaders;
    c->requestWillRedirect = requestWillRedirect;
    c->requestDidFinish = requestDidFinish;
    c->requestDidFail = requestDidFail;
    c->queueDidFinish = queueDidFinish;
    c->uploadProgressDelegate_ = uploadProgressDelegate_;
    c->downloadProgressDelegate_ = downloadProgressDelegate_;
    c->shouldCancelAllRequestsOnFailure = shouldCancelAllRequestsOnFailure;
    c->showAccurateProgress = showAccurateProgress;
    c->userInfo = userInfo.copy();
    return c;
}

bool NetworkQueue::implements(std::string_view operation) const {
    auto d = delegate.lock();
    if (operation == authenticationNeeded || operation == proxyAuthenticationNeeded)
        return d && d->implements(operation);
    if (operation == willRedirect)
        return requestWillRedirect && d && d->implements(operation);
    return false;
}

base::Opt<void> NetworkQueue::requestStarted(HTTPRequest &request) {
    if (requestDidStart && !isHEADRequest(request))
        requestDidStart(request);
    return {};
}

base::Opt<void> NetworkQueue::request(HTTPRequest &request, const base::Dict &headers) {
    if (requestDidReceiveResponseHeaders && !isHEADRequest(request))
        requestDidReceiveResponseHeaders(request, headers);
    return {};
}

base::Opt<void> NetworkQueue::request(HTTPRequest &request, const base::Url &url) {
    if (requestWillRedirect)
        requestWillRedirect(request, url);
    return {};
}

base::Opt<void> NetworkQueue::requestFinished(HTTPRequest &request) {
    if (isHEADRequest(request))
        return {};
    --requestsCount_;
    if (requestDidFinish)
        requestDidFinish(request);
    if (requestsCount_ == 0 && queueDidFinish)
        queueDidFinish(*this);
    return {};
}

base::Opt<void> NetworkQueue::requestFailed(HTTPRequest &request) {
    if (isHEADRequest(request))
        return {};
    --requestsCount_;
    if (requestDidFail)
        requestDidFail(request);
    if (requestsCount_ == 0 && queueDidFinish)
        queueDidFinish(*this);
    if (shouldCancelAllRequestsOnFailure && requestsCount_ > 0)
        cancelAll();
    return {};
}

base::Opt<void> NetworkQueue::authenticationNeededForRequest(HTTPRequest &request) {
    if (auto d = delegate.lock())
        return d->authenticationNeededForRequest(request);
    return base::notImplemented;
}

base::Opt<void> NetworkQueue::proxyAuthenticationNeededForRequest(HTTPRequest &request) {
    if (auto d = delegate.lock())
        return d->proxyAuthenticationNeededForRequest(request);
    return base::notImplemented;
}

base::Opt<void> NetworkQueue::requestDidReceiveBytes(HTTPRequest &request, long long amount) {
    if (isHEADRequest(request))
        return {};
    bytesDownloadedSoFar_ += uint64_t(amount);
    updateProgress(downloadProgressDelegate_, bytesDownloadedSoFar_, totalBytesToDownload_);
    return {};
}

base::Opt<void> NetworkQueue::requestDidSendBytes(HTTPRequest &request, long long amount) {
    if (isHEADRequest(request))
        return {};
    bytesUploadedSoFar_ += uint64_t(amount);
    updateProgress(uploadProgressDelegate_, bytesUploadedSoFar_, totalBytesToUpload_);
    return {};
}

base::Opt<void> NetworkQueue::requestIncrementDownloadSizeBy(HTTPRequest &request, long long amount) {
    if (!isHEADRequest(request))
        totalBytesToDownload_ += uint64_t(amount);
    return {};
}

base::Opt<void> NetworkQueue::requestIncrementUploadSizeBy(HTTPRequest &request, long long amount) {
    if (!isHEADRequest(request))
        totalBytesToUpload_ += uint64_t(amount);
    return {};
}
