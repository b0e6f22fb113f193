#include "HTTPRequest.h"

#include "DataDecompressor.h"
#include "HTTPInputStream.h"
#include "HTTPRequestState.h"

#include "base/Clock.h"
#include "base/FileManager.h"
#include "base/RunLoop.h"
#include "base/Str.h"
#include "base/Thread.h"
#include "net/StreamError.h"

#include <cerrno>
#include <exception>
#include <filesystem>
#include <future>

namespace {

double now() {
    return base::Clock::current().monotonic();
}

// Body bytes are read in pieces sized by the announced length, so large bodies take few passes.
size_t readBufferSize(unsigned long long contentLength) {
    if (contentLength > 262144)
        return 262144;
    if (contentLength > 65536)
        return 65536;
    return 16384;
}

} // namespace

HTTPRequestClassState &HTTPRequestClassState::shared() {
    // Never destroyed: the network thread may still use it while the process exits.
    static HTTPRequestClassState *state = [] {
        auto *s = new HTTPRequestClassState;
        s->bandwidthUsageTracker.reserve(5);
        s->timedOut = HTTPRequest::makeError(RequestTimedOutErrorType, "The request timed out");
        s->authenticationNeeded = HTTPRequest::makeError(AuthenticationErrorType, "Authentication needed");
        s->cancelled = HTTPRequest::makeError(RequestCancelledErrorType, "The request was cancelled");
        s->badURL =
            HTTPRequest::makeError(UnableToCreateRequestErrorType, "Unable to create request (bad url?)");
        s->tooManyRedirects = HTTPRequest::makeError(
            TooMuchRedirectionErrorType, "The request failed because it redirected too many times");
        return s;
    }();
    return *state;
}

base::Ref<base::Error> HTTPRequest::makeError(long code, std::string description,
                                              base::Ref<base::Error> underlying) {
    base::Dict info;
    info.set(base::Error::LocalizedDescriptionKey, std::move(description));
    if (underlying)
        info.set("NSUnderlyingError", base::Value(underlying));
    return base::make<base::Error>(NetworkRequestErrorDomain, code, info);
}

// Creation and class-wide settings.

HTTPRequest::HTTPRequest(const base::Url &url) : url_(url) {
    timeOutSeconds_ = defaultTimeOutSeconds();
    HTTPRequestClassState::shared();
    didStartSelector_ = [](HTTPRequestDelegate &d, HTTPRequest &r) { return d.requestStarted(r); };
    didFinishSelector_ = [](HTTPRequestDelegate &d, HTTPRequest &r) { return d.requestFinished(r); };
    didFailSelector_ = [](HTTPRequestDelegate &d, HTTPRequest &r) { return d.requestFailed(r); };
}

base::Ref<HTTPRequest> HTTPRequest::requestWithURL(const base::Url &url) {
    return base::make<HTTPRequest>(url);
}

HTTPRequest::~HTTPRequest() {
    if (statusTimer_)
        statusTimer_->invalidate();
    if (readStream_)
        readStream_->close();
    if (postBodyReadStream_)
        postBodyReadStream_->close();
    if (didCreateTemporaryPostDataFile_) {
        std::error_code ignored;
        std::filesystem::remove(postBodyFilePath_, ignored);
        if (!compressedPostBodyFilePath_.empty())
            std::filesystem::remove(compressedPostBodyFilePath_, ignored);
    }
}

double HTTPRequest::defaultTimeOutSeconds() {
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.classLock);
    return s.defaultTimeOutSeconds;
}

void HTTPRequest::setDefaultTimeOutSeconds(double seconds) {
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.classLock);
    s.defaultTimeOutSeconds = seconds;
}

base::OperationQueue &HTTPRequest::sharedQueue() {
    static base::OperationQueue *queue = new base::OperationQueue(4);
    return *queue;
}

namespace {
std::atomic<bool> networkThreadStopping{false};
std::promise<void> networkThreadStopped;
// Requests come in bursts: a screen asks for several at once, and a reply often leads to the next
// request. A few dozen looks, some tens of microseconds, keep the thread awake across such gaps.
constexpr int networkThreadIdlePolls = 32;
} // namespace

void HTTPRequest::stopNetworkThreadForTesting() {
    std::future<void> stopped = networkThreadStopped.get_future();
    networkThreadStopping = true;
    threadForRequest().runLoop().post([] {});
    stopped.wait();
}

base::Thread &HTTPRequest::threadForRequest() {
    static std::atomic<base::Thread *> made{nullptr};
    static base::Ref<base::Thread> kept;
    if (base::Thread *thread = made.load())
        return *thread;
    std::lock_guard guard(HTTPRequestClassState::shared().classLock);
    if (!made.load()) {
        // Serves every asynchronous request for the life of the process.
        auto thread = base::Thread::detach([] {
            {
                base::RunLoop &loop = base::RunLoop::current();
                loop.addKeepAliveSource();
                loop.setIdlePolls(networkThreadIdlePolls);
                while (!networkThreadStopping)
                    loop.runOnce(base::RunLoop::Default, 1e10);
            }
            networkThreadStopped.set_value_at_thread_exit();
        });
        kept = thread;
        made.store(thread.get());
    }
    return *made.load();
}

size_t HTTPRequest::connectionCount() {
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.connectionsLock);
    return s.connections.size();
}

bool HTTPRequest::isNetworkInUse() {
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.connectionsLock);
    return s.runningStreams > 0;
}

void HTTPRequest::setShouldUpdateNetworkActivityIndicator(bool update) {
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.connectionsLock);
    s.shouldUpdateNetworkActivityIndicator = update;
}

// Fields read from several threads.

base::Url HTTPRequest::url() const {
    std::lock_guard guard(cancelledLock_);
    return url_;
}

void HTTPRequest::setURL(const base::Url &url) {
    std::lock_guard guard(cancelledLock_);
    if (url == url_)
        return;
    url_ = url;
    request_.reset();
    redirectURL_.reset();
    // A challenge belongs to the server (or the proxy's answer) that made it.
    requestAuthentication_.reset();
    proxyAuthentication_.reset();
}

std::string HTTPRequest::requestMethod() const {
    std::lock_guard guard(cancelledLock_);
    return requestMethod_;
}

void HTTPRequest::setRequestMethod(std::string method) {
    std::lock_guard guard(cancelledLock_);
    if (method == requestMethod_)
        return;
    requestMethod_ = std::move(method);
    // A body or an unsafe method must not go out on a connection the server may close under it.
    if (requestMethod_ == "POST" || requestMethod_ == "PUT" || !postBody_.empty() ||
        !postBodyFilePath_.empty())
        shouldAttemptPersistentConnection_ = false;
}

base::Weak<HTTPRequestDelegate> HTTPRequest::delegate() const {
    std::lock_guard guard(cancelledLock_);
    return delegate_;
}

void HTTPRequest::setDelegate(base::Weak<HTTPRequestDelegate> delegate) {
    std::lock_guard guard(cancelledLock_);
    delegate_ = std::move(delegate);
}

base::Ref<HTTPRequestDelegate> HTTPRequest::queue() const {
    std::lock_guard guard(cancelledLock_);
    return queue_;
}

void HTTPRequest::setQueue(base::Ref<HTTPRequestDelegate> queue) {
    std::lock_guard guard(cancelledLock_);
    queue_ = std::move(queue);
}

void HTTPRequest::setUploadProgressDelegate(base::Weak<HTTPProgressDelegate> receiver) {
    std::lock_guard guard(cancelledLock_);
    uploadProgressDelegate_ = std::move(receiver);
}

void HTTPRequest::setDownloadProgressDelegate(base::Weak<HTTPProgressDelegate> receiver) {
    std::lock_guard guard(cancelledLock_);
    downloadProgressDelegate_ = std::move(receiver);
}

base::Ref<base::Error> HTTPRequest::error() const {
    std::lock_guard guard(errorLock_);
    return error_;
}

bool HTTPRequest::isCancelled() const {
    std::lock_guard guard(cancelledLock_);
    return cancelled_;
}

// Start paths.

void HTTPRequest::startAsynchronous() {
    sharedQueue().add(self<HTTPRequest>());
}

void HTTPRequest::start() {
    if (inProgress_ || isFinished())
        return;
    inProgress_ = true;
    setExecuting(true);
    auto self = this->self<HTTPRequest>();
    threadForRequest().runLoop().post([self] {
        self->requestLoop_ = &base::RunLoop::current();
        self->main();
    });
}

void HTTPRequest::startSynchronous() {
    isSynchronous_ = true;
    runLoopMode_ = SynchronousRunLoopMode;
    requestLoop_ = &base::RunLoop::current();
    inProgress_ = true;
    setExecuting(true);
    auto keep = self<HTTPRequest>();
    if (!isCancelled() && !complete_) {
        main();
        // A redirect waiting to be followed (one served from the cache is followed on a later
        // pass) is not the end.
        while (!complete_ || (needsRedirect_ && !error()))
            requestLoop_->runOnce(runLoopMode_, 1e10);
    }
    inProgress_ = false;
    setExecuting(false);
}

void HTTPRequest::performOnRequestThread(std::function<void()> fn) {
    auto self = this->self<HTTPRequest>();
    auto run = [self, fn = std::move(fn)] { fn(); };
    if (isSynchronous_ && requestLoop_)
        requestLoop_->post(std::move(run), runLoopMode_);
    else
        threadForRequest().runLoop().post(std::move(run));
}

void HTTPRequest::main() {
    std::lock_guard guard(cancelledLock_);
    try {
        if (error()) {
            complete_ = true;
            markAsFinished();
            return;
        }
        complete_ = false;
        didUseCachedResponse_ = false;
        if (!buildRequestMessage())
            return;
        if (configureProxies())
            startRequest();
    } catch (const std::exception &e) {
        base::Dict info;
        info.set(base::Error::LocalizedDescriptionKey, std::string("std::exception"));
        info.set("NSLocalizedFailureReason", std::string(e.what()));
        failWithError(base::make<base::Error>(NetworkRequestErrorDomain, UnhandledExceptionError, info));
    }
}

bool HTTPRequest::buildRequestMessage() {
    if (!isHEADPreRequest_)
        buildPostBody();
    if (error())
        return false;
    // Only the web's own schemes are spoken; anything else is a bad URL, not a connection failure.
    request_.reset();
    if (url_.scheme() == "http" || url_.scheme() == "https")
        request_ = net::HttpMessage::request(requestMethod_, url_, useHTTPVersionOne_);
    if (!request_) {
        failWithError(HTTPRequestClassState::shared().badURL);
        return false;
    }
    buildRequestHeaders();
    if (error() || answeredFromCacheBeforeSending())
        return false;
    applyAuthorizationHeader();
    for (auto &[name, value] : requestHeaders_)
        request_->setHeader(name, value.stringValue());
    return true;
}

// One transfer attempt.

void HTTPRequest::startRequest() {
    if (isCancelled())
        return;
    requestStarted();
    downloadComplete_ = false;
    complete_ = false;
    totalBytesRead_ = 0;
    lastBytesRead_ = 0;
    if (redirectCount_ == 0)
        originalURL_ = url_;
    if (lastBytesSent_ > 0)
        removeUploadProgressSoFar();
    lastBytesSent_ = 0;
    contentLength_ = 0;
    hasContentLength_ = false;
    responseHeaders_ = base::Dict();
    haveResponseHeaders_ = false;
    responseHead_.reset();
    dataDecompressor_.reset();
    if (downloadDestinationPath_.empty())
        rawResponseData_ = base::Data();
    readStreamIsScheduled_ = false;
    applyProxySessionCredentials();

    base::Ref<base::InputStream> body;
    if (shouldStreamPostDataFromDisk_ && !postBodyFilePath_.empty() &&
        std::filesystem::exists(postBodyFilePath_)) {
        bool compressed =
            !compressedPostBodyFilePath_.empty() && std::filesystem::exists(compressedPostBodyFilePath_);
        postBodyReadStream_ = HTTPInputStream::inputStreamWithFileAtPath(
            compressed ? compressedPostBodyFilePath_ : postBodyFilePath_, self<HTTPRequest>());
    } else if (!postBody_.empty()) {
        bool compressed = shouldCompressRequestBody_ && !compressedPostBody_.empty();
        postBodyReadStream_ = HTTPInputStream::inputStreamWithData(
            compressed ? compressedPostBody_ : postBody_, self<HTTPRequest>());
    } else {
        postBodyReadStream_.reset();
    }
    auto stream = base::make<net::HttpReadStream>(request_, postBodyReadStream_);

    net::HttpTlsSettings tls;
    if (url_.scheme() == "https") {
        tls.validateChain = validatesSecureCertificate_;
        tls.clientIdentity = clientCertificateIdentity_;
    }
    stream->setTls(tls);
    if (!proxyHost_.empty() && proxyPort_ != 0) {
        net::HttpProxy proxy;
        proxy.host = proxyHost_;
        proxy.port = uint16_t(proxyPort_);
        if (proxyType_ == "SOCKS")
            proxy.type = net::HttpProxy::Socks5;
        else if (proxyType_ == "SOCKS4")
            proxy.type = net::HttpProxy::Socks4;
        else if (proxyType_ == "HTTPS")
            proxy.type = net::HttpProxy::Https;
        stream->setProxy(proxy);
    }
    readStream_ = stream;
    base::Ref<net::HttpReadStream> older = useConnectionTable();

    if (!readStreamIsScheduled_ && !throttleWakeUpPending())
        scheduleReadStream();
    base::Weak<HTTPRequest> weak = self<HTTPRequest>();
    stream->setClient(net::HasBytesAvailable | net::ErrorOccurred | net::EndEncountered,
                      [weak](net::Event event) {
                          if (auto request = weak.lock())
                              request->handleNetworkEvent(event);
                      });
    bool opened = stream->open();
    if (older && older != stream)
        older->close();
    if (!opened) {
        connectionCanBeReused_ = false;
        destroyReadStream();
        failWithError(makeError(InternalErrorWhileBuildingRequestType, "Unable to start HTTP connection"));
        return;
    }
    if (shouldResetUploadProgress_ && !isHEADPreRequest_) {
        incrementUploadSizeBy(showAccurateProgress_ ? (long long)postLength_ : 1);
        deliverProgressFraction(true, 0, 1);
    }
    if (shouldResetDownloadProgress_ && partialDownloadSize_ == 0 && !isHEADPreRequest_)
        deliverProgressFraction(false, 0, 1);

    lastActivityTime_ = now();
    hasActivityTime_ = true;
    if (statusTimer_)
        statusTimer_->invalidate();
    statusTimer_ =
        base::Timer::make(statusInterval, true, base::Action("updateStatus", [weak](base::Object *timer) {
                              auto request = weak.lock();
                              if (!request) {
                                  if (auto *t = dynamic_cast<base::Timer *>(timer))
                                      t->invalidate();
                                  return;
                              }
                              request->updateStatus();
                          }));
    requestLoop_->addTimer(statusTimer_, runLoopMode_);
}

// The connection table: requests share kept-alive connections per host, scheme and port.
base::Ref<net::HttpReadStream> HTTPRequest::useConnectionTable() {
    expirePersistentConnections();
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.connectionsLock);
    if (url_.host().empty() || url_.scheme().empty()) {
        connectionInfo_.reset();
        shouldAttemptPersistentConnection_ = false;
    }
    if (!shouldAttemptPersistentConnection_)
        return nullptr;
    const int port = url_.port().value_or(0);
    if (connectionInfo_) {
        auto &c = *connectionInfo_;
        if (c.host != url_.host() || c.scheme != url_.scheme() || c.port != port) {
            connectionInfo_.reset();
        } else if (c.expires && *c.expires <= now()) {
            std::erase(s.connections, connectionInfo_);
            connectionInfo_.reset();
        } else if (c.request) {
            connectionInfo_.reset();
        }
    }
    if (!connectionInfo_) {
        for (auto &c : s.connections)
            if (!c->request && c->host == url_.host() && c->scheme == url_.scheme() && c->port == port)
                connectionInfo_ = c;
    }
    base::Ref<net::HttpReadStream> older = connectionInfo_ ? connectionInfo_->stream : nullptr;
    if (!connectionInfo_) {
        auto c = base::make<Connection>();
        c->id = ++s.connectionCounter;
        c->host = url_.host();
        c->port = port;
        c->scheme = url_.scheme();
        s.connections.push_back(c);
        connectionInfo_ = c;
    }
    if (requestID_ == 0)
        requestID_ = ++s.requestIdCounter;
    connectionInfo_->request = requestID_;
    connectionInfo_->stream = readStream_;
    connectionInfo_->expires.reset();
    connectionID_ = connectionInfo_->id;
    readStream_->setConnectionCache(connectionInfo_->cache);
    return older;
}

void HTTPRequest::expirePersistentConnections() {
    auto &s = HTTPRequestClassState::shared();
    std::vector<base::Ref<Connection>> gone;
    {
        std::lock_guard guard(s.connectionsLock);
        const double t = now();
        for (auto it = s.connections.begin(); it != s.connections.end();) {
            auto &c = *it;
            if (!c->request && (!c->expires || *c->expires <= t)) {
                gone.push_back(c);
                it = s.connections.erase(it);
            } else {
                ++it;
            }
        }
    }
    // Closing a stream must happen on its own thread; an idle entry's stream is already done, and
    // its connections go with its cache.
    for (auto &c : gone)
        c->stream.reset();
}

void HTTPRequest::scheduleReadStream() {
    if (!readStream_ || readStreamIsScheduled_)
        return;
    auto &s = HTTPRequestClassState::shared();
    {
        std::lock_guard guard(s.connectionsLock);
        ++s.runningStreams;
        if (s.shouldUpdateNetworkActivityIndicator)
            showNetworkActivityIndicator();
    }
    lastActivityTime_ = now();
    hasActivityTime_ = true;
    readStream_->schedule(*requestLoop_, runLoopMode_);
    readStreamIsScheduled_ = true;
}

void HTTPRequest::unscheduleReadStream() {
    if (!readStream_ || !readStreamIsScheduled_)
        return;
    auto &s = HTTPRequestClassState::shared();
    {
        std::lock_guard guard(s.connectionsLock);
        --s.runningStreams;
        if (s.runningStreams == 0 && s.shouldUpdateNetworkActivityIndicator)
            hideNetworkActivityIndicatorAfterDelay();
    }
    readStream_->unschedule(*requestLoop_, runLoopMode_);
    readStreamIsScheduled_ = false;
}

void HTTPRequest::destroyReadStream() {
    if (!readStream_)
        return;
    unscheduleReadStream();
    if (!connectionCanBeReused_)
        readStream_->close();
    readStream_.reset();
}

// Stream events.

void HTTPRequest::handleNetworkEvent(net::Event event) {
    auto keep = self<HTTPRequest>();
    {
        std::lock_guard guard(cancelledLock_);
        if (complete_ || isCancelled())
            return;
        switch (event) {
        case net::HasBytesAvailable:
            handleBytesAvailable();
            break;
        case net::ErrorOccurred:
            handleStreamError();
            break;
        case net::EndEncountered:
            handleStreamComplete();
            break;
        default:
            break;
        }
        performThrottling();
    }
    if (downloadComplete_ && needsRedirect_) {
        if (!willAskDelegateToConfirmRedirect())
            performRedirect();
    } else if (downloadComplete_ && authenticationNeeded_ != 0) {
        attemptToApplyCredentialsAndResume();
    } else if (downloadComplete_ && restartingDownload_) {
        restartDownloadFromStart();
    }
}

void HTTPRequest::handleBytesAvailable() {
    if (!haveResponseHeaders_) {
        readResponseHeaders();
        if (complete_)
            return;
    }
    if (!readStream_ || !readStream_->hasBytesAvailable())
        return;
    size_t size = throttledReadSize(readBufferSize(contentLength_));
    uint8_t buffer[262144];
    long n = readStream_->read(buffer, size);
    if (n < 0) {
        handleStreamError();
        return;
    }
    if (n == 0)
        return;
    std::optional<base::Data> inflated;
    const bool inflating = isResponseCompressed() && !shouldWaitToInflateCompressedResponses_;
    if (inflating) {
        if (!dataDecompressor_)
            dataDecompressor_ = DataDecompressor::decompressor();
        base::Ref<base::Error> inflateError;
        inflated = dataDecompressor_->uncompressBytes(buffer, size_t(n), &inflateError);
        if (inflateError) {
            failWithError(inflateError);
            return;
        }
    }
    totalBytesRead_ += (unsigned long long)n;
    lastActivityTime_ = now();
    incrementBandwidthUsedInLastSecond((unsigned long)n);
    if ((needsRedirect_ && shouldRedirect_ && allowResumeForFileDownloads_) || restartingDownload_)
        return;
    if (delegateImplements(HTTPRequestDelegate::didReceiveData) || dataReceivedBlock_) {
        base::Data chunk = inflating ? inflated.value_or(base::Data()) : base::Data(buffer, size_t(n));
        if (!chunk.empty())
            passOnReceivedData(std::move(chunk));
        return;
    }
    if (!downloadDestinationPath_.empty()) {
        writeToDownloadFile(buffer, size_t(n), inflated ? &*inflated : nullptr);
        return;
    }
    if (inflating) {
        if (inflated)
            rawResponseData_.append(*inflated);
    } else {
        rawResponseData_.append(buffer, size_t(n));
    }
}

void HTTPRequest::handleStreamComplete() {
    if (statusTimer_)
        statusTimer_->invalidate();
    statusTimer_.reset();
    downloadComplete_ = true;
    if (!haveResponseHeaders_)
        readResponseHeaders();
    if (didUseCachedResponse_)
        return;
    base::Ref<base::Error> fileError;
    {
        auto &s = HTTPRequestClassState::shared();
        std::lock_guard guard(s.progressLock);
        lastBytesSent_ = totalBytesSent_;
        totalBytesSent_ = readStream_ ? readStream_->bodyBytesWritten() : totalBytesSent_;
        complete_ = true;
        if (!hasContentLength_ && contentLength_ == 0)
            contentLength_ = totalBytesRead_;
        updateProgressIndicators();
        if (postBodyReadStream_)
            postBodyReadStream_->close();
        postBodyReadStream_.reset();
        // A body cut short or an inflation that never reached its end must not pass as complete.
        if (dataDecompressor_ && !dataDecompressor_->streamEnded() && totalBytesRead_ > 0 &&
            !needsRedirect_ && authenticationNeeded_ == 0)
            fileError = DataDecompressor::inflateErrorWithCode(-5);
        dataDecompressor_.reset();
        if (!fileError && !needsRedirect_ && authenticationNeeded_ == 0)
            fileError = keptCompressedBodyError();
        if (didCreateTemporaryPostDataFile_ && authenticationNeeded_ == 0) {
            removeTemporaryFile(postBodyFilePath_);
            removeTemporaryFile(compressedPostBodyFilePath_);
            didCreateTemporaryPostDataFile_ = false;
        }
        if (!fileError && !temporaryFileDownloadPath_.empty())
            fileError = placeDownloadedFile();
        else if (fileError && !temporaryFileDownloadPath_.empty())
            closeDownloadFiles();
        if (!fileError && downloadCache_)
            downloadCache_->storeResponseForRequest(*this, secondsToCache_);
    }
    {
        auto &s = HTTPRequestClassState::shared();
        std::lock_guard guard(s.connectionsLock);
        if (!connectionCanBeReused_)
            unscheduleReadStream();
        if (connectionInfo_) {
            connectionInfo_->request.reset();
            connectionInfo_->expires = now() + persistentConnectionTimeoutSeconds_;
            // An entry whose server will not keep the connection is of no further use.
            if (!connectionCanBeReused_)
                std::erase(s.connections, connectionInfo_);
        }
    }
    if (authenticationNeeded_ == 0)
        destroyReadStream();
    if (!needsRedirect_ && authenticationNeeded_ == 0 && !restartingDownload_) {
        if (fileError)
            failWithError(fileError);
        else
            requestFinished();
        markAsFinished();
    }
}

// A gzip body kept compressed in memory is inflated once at its end, so that one cut short or
// damaged fails here rather than reading as an empty success later.
base::Ref<base::Error> HTTPRequest::keptCompressedBodyError() const {
    if (!shouldWaitToInflateCompressedResponses_ || !isResponseCompressed() || rawResponseData_.empty() ||
        !downloadDestinationPath_.empty())
        return nullptr;
    base::Ref<base::Error> failure;
    DataDecompressor::uncompressData(rawResponseData_, &failure);
    return failure;
}

void HTTPRequest::handleStreamError() {
    net::StreamError streamError = readStream_ ? readStream_->error() : net::StreamError{};
    if (error()) {
        cancelLoad();
        checkRequestStatus();
        return;
    }
    const bool lost = (streamError.domain == net::StreamError::Posix &&
                       (streamError.code == ENOTCONN || streamError.code == EPIPE)) ||
                      (streamError.domain == net::StreamError::Network && streamError.code == -1005);
    if (lost && retryUsingNewConnection())
        return;
    auto underlying = net::toError(streamError);
    std::string description = "A connection failure occurred";
    if (streamError.domain == net::StreamError::OsStatus && streamError.code >= -9818 &&
        streamError.code <= -9800)
        description =
            base::str::format("%@: SSL problem (Possible causes may include a bad/expired/self-signed "
                              "certificate, clock set to wrong date)",
                              underlying->localizedDescription());
    cancelLoad();
    failWithError(makeError(ConnectionFailureErrorType, description, underlying));
    checkRequestStatus();
}

bool HTTPRequest::retryUsingNewConnection() {
    if (retryCount_ != 0)
        return false;
    willRetryRequest_ = true;
    cancelLoad();
    willRetryRequest_ = false;
    forgetConnection();
    ++retryCount_;
    startRequest();
    return true;
}

void HTTPRequest::forgetConnection() {
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.connectionsLock);
    if (connectionInfo_) {
        connectionInfo_->request.reset();
        std::erase(s.connections, connectionInfo_);
    }
    connectionInfo_.reset();
}

// Status timer, time-outs and retries.

void HTTPRequest::updateStatus() {
    checkRequestStatus();
    if (!inProgress_ && statusTimer_) {
        statusTimer_->invalidate();
        statusTimer_.reset();
    }
}

void HTTPRequest::checkRequestStatus() {
    std::unique_lock guard(cancelledLock_);
    if (isCancelled() || complete_)
        return;
    performThrottling();
    if (shouldTimeOut()) {
        if (retryCount_ < numberOfTimesToRetryOnTimeout_) {
            updatePartialDownloadSize();
            if (partialDownloadSize_ > 0)
                request_->setHeader("Range", base::str::format("bytes=%llu-", partialDownloadSize_));
            ++retryCount_;
            // The stalled connection is given up: the next attempt opens a fresh one.
            forgetConnection();
            connectionCanBeReused_ = false;
            destroyReadStream();
            guard.unlock();
            startRequest();
            return;
        }
        failWithError(HTTPRequestClassState::shared().timedOut);
        cancelLoad();
        complete_ = true;
        return;
    }
    if (readStream_) {
        if (postLength_ > 0) {
            lastBytesSent_ = totalBytesSent_;
            totalBytesSent_ = readStream_->bodyBytesWritten();
            if (totalBytesSent_ > lastBytesSent_) {
                lastActivityTime_ = now();
                incrementBandwidthUsedInLastSecond((unsigned long)(totalBytesSent_ - lastBytesSent_));
            }
        }
        updateProgressIndicators();
    }
}

bool HTTPRequest::shouldTimeOut() const {
    if (!readStream_ || !readStreamIsScheduled_ || !hasActivityTime_ || timeOutSeconds_ <= 0)
        return false;
    const double idle = now() - lastActivityTime_;
    if (idle <= timeOutSeconds_)
        return false;
    // A body still filling the send buffer gets half as long again.
    return postLength_ == 0 || (uploadBufferSize_ > 0 && totalBytesSent_ > uploadBufferSize_) ||
           idle > timeOutSeconds_ * 1.5;
}

// Cancellation.

void HTTPRequest::cancel() {
    performOnRequestThread([this] { cancelOnRequestThread(); });
}

void HTTPRequest::cancelOnRequestThread() {
    std::lock_guard guard(cancelledLock_);
    if (isCancelled() || complete_)
        return;
    auto keep = self<HTTPRequest>();
    failWithError(HTTPRequestClassState::shared().cancelled);
    complete_ = true;
    cancelLoad();
    cancelled_ = true;
    base::Operation::cancel();
}

void HTTPRequest::clearDelegatesAndCancel() {
    {
        std::lock_guard guard(cancelledLock_);
        delegate_.reset();
        queue_.reset();
        uploadProgressDelegate_.reset();
        downloadProgressDelegate_.reset();
        releaseBlocksOnMainThread();
    }
    cancel();
}

void HTTPRequest::cancelLoad() {
    ++proxyWait_;
    if (PACFileRequest_) {
        PACFileRequest_->setCompletionBlock({});
        PACFileRequest_->setFailedBlock({});
        PACFileRequest_->cancel();
        PACFileRequest_.reset();
        std::lock_guard guard(HTTPRequestClassState::shared().connectionsLock);
        sharedQueue().setMaxConcurrent(sharedQueue().maxConcurrent() - 1);
    }
    if (proxyWaitTimer_)
        proxyWaitTimer_->invalidate();
    proxyWaitTimer_.reset();
    destroyReadStream();
    if (postBodyReadStream_)
        postBodyReadStream_->close();
    postBodyReadStream_.reset();
    if (!complete_)
        rawResponseData_ = base::Data();
    if (!temporaryFileDownloadPath_.empty()) {
        closeDownloadFiles();
        if (!complete_) {
            if (!allowResumeForFileDownloads_)
                removeTemporaryFile(temporaryFileDownloadPath_);
            removeTemporaryFile(temporaryUncompressedDataDownloadPath_);
        }
    }
    if (authenticationNeeded_ == 0 && !willRetryRequest_ && didCreateTemporaryPostDataFile_) {
        removeTemporaryFile(postBodyFilePath_);
        removeTemporaryFile(compressedPostBodyFilePath_);
        didCreateTemporaryPostDataFile_ = false;
    }
}

// Failure and success.

void HTTPRequest::failWithError(base::Ref<base::Error> failure) {
    complete_ = true;
    const long code = failure ? failure->code() : 0;
    if (code != AuthenticationErrorType && code != TooMuchRedirectionErrorType) {
        {
            auto &s = HTTPRequestClassState::shared();
            std::lock_guard guard(s.connectionsLock);
            if (connectionInfo_) {
                connectionInfo_->request.reset();
                std::erase(s.connections, connectionInfo_);
            }
        }
        destroyReadStream();
    }
    if (connectionCanBeReused_ && connectionInfo_)
        connectionInfo_->expires = now() + persistentConnectionTimeoutSeconds_;
    if (failure && answeredFromCacheAfterFailure(*failure))
        return;
    {
        // cancelled_ itself, not isCancelled(): the request's lock is taken before errorLock_, never
        // after it.
        std::lock_guard guard(errorLock_);
        if (cancelled_ || error_)
            return;
        error_ = failure;
    }
    if (isHEADPreRequest_) {
        // The main request fails with it, and is the one reported; it ends when its turn comes.
        if (auto main = mainRequest()) {
            std::lock_guard guard(main->errorLock_);
            if (!main->error_) {
                main->error_ = failure;
                main->onMain([](HTTPRequest &r) { r.reportFailure(); });
            }
        }
    } else {
        onMain([](HTTPRequest &r) { r.reportFailure(); });
    }
    if (inProgress_)
        markAsFinished();
}

void HTTPRequest::requestFinished() {
    if (error() || isHEADPreRequest_)
        return;
    onMain([](HTTPRequest &r) { r.reportFinished(); });
}

void HTTPRequest::reportFinished() {
    if (auto d = delegate().lock(); d && didFinishSelector_)
        didFinishSelector_(*d, *this);
    if (completionBlock_)
        completionBlock_();
    if (auto q = queue())
        q->requestFinished(*this);
}

void HTTPRequest::reportFailure() {
    if (auto d = delegate().lock(); d && didFailSelector_)
        didFailSelector_(*d, *this);
    if (failureBlock_)
        failureBlock_();
    if (auto q = queue())
        q->requestFailed(*this);
}

void HTTPRequest::markAsFinished() {
    auto keep = self<HTTPRequest>();
    request_.reset();
    const bool wasInProgress = inProgress_.exchange(false);
    if (wasInProgress)
        setExecuting(false);
    if (!isFinished())
        setFinished(true);
}

// Main-thread delivery. A report nobody listens to when it is made is not sent: waking the main
// thread for nothing costs a busy client more than the report itself.

void HTTPRequest::onMain(std::function<void(HTTPRequest &)> step) {
    auto self = this->self<HTTPRequest>();
    base::performOnMain([self, step = std::move(step)] { step(*self); }, base::Thread::isMain());
}

bool HTTPRequest::delegateImplements(std::string_view operation) const {
    auto d = delegate().lock();
    if (d && d->implements(operation))
        return true;
    auto q = queue();
    return q && operation != HTTPRequestDelegate::didReceiveData && q->implements(operation);
}

void HTTPRequest::requestStarted() {
    {
        // clearDelegatesAndCancel may take the callbacks away on the main thread meanwhile.
        std::lock_guard guard(cancelledLock_);
        if (isHEADPreRequest_ || (!startedBlock_ && !queue_ && (delegate_.expired() || !didStartSelector_)))
            return;
    }
    onMain([](HTTPRequest &r) {
        if (r.error())
            return;
        if (auto d = r.delegate().lock(); d && r.didStartSelector_)
            r.didStartSelector_(*d, r);
        if (r.startedBlock_)
            r.startedBlock_();
        if (auto q = r.queue())
            q->requestStarted(r);
    });
}

void HTTPRequest::requestReceivedResponseHeaders(base::Dict headers) {
    {
        std::lock_guard guard(cancelledLock_);
        if (isHEADPreRequest_ || (!headersReceivedBlock_ && !queue_ && delegate_.expired()))
            return;
    }
    onMain([headers = std::move(headers)](HTTPRequest &r) {
        if (r.error())
            return;
        if (auto d = r.delegate().lock())
            d->request(r, headers);
        if (r.headersReceivedBlock_)
            r.headersReceivedBlock_(headers);
        if (auto q = r.queue())
            q->request(r, headers);
    });
}

void HTTPRequest::requestWillRedirectToURL(base::Url url) {
    if (isHEADPreRequest_)
        return;
    onMain([url = std::move(url)](HTTPRequest &r) {
        if (r.error())
            return;
        if (auto d = r.delegate().lock(); d && d->implements(HTTPRequestDelegate::willRedirect)) {
            d->request(r, url);
            return;
        }
        if (auto q = r.queue())
            q->request(r, url);
    });
}

void HTTPRequest::requestRedirected() {
    if (isHEADPreRequest_)
        return;
    onMain([](HTTPRequest &r) {
        if (r.error())
            return;
        if (auto d = r.delegate().lock())
            d->requestRedirected(r);
        if (r.requestRedirectedBlock_)
            r.requestRedirectedBlock_();
    });
}

void HTTPRequest::passOnReceivedData(base::Data data) {
    onMain([data = std::move(data)](HTTPRequest &r) {
        if (auto d = r.delegate().lock())
            d->request(r, data);
        if (r.dataReceivedBlock_)
            r.dataReceivedBlock_(data);
    });
}

void HTTPRequest::releaseBlocksOnMainThread() {
    // The callbacks may own objects that belong to the main thread: they are let go there.
    struct Blocks {
        Block a, b, c, d;
        HeadersBlock h;
        DataBlock data;
        ProgressBlock p1, p2;
        SizeBlock s1, s2;
    };
    auto held = std::make_shared<Blocks>(
        Blocks{std::move(completionBlock_), std::move(failureBlock_), std::move(startedBlock_),
               std::move(requestRedirectedBlock_), std::move(headersReceivedBlock_),
               std::move(dataReceivedBlock_), std::move(bytesReceivedBlock_), std::move(bytesSentBlock_),
               std::move(downloadSizeIncrementedBlock_), std::move(uploadSizeIncrementedBlock_)});
    completionBlock_ = failureBlock_ = startedBlock_ = requestRedirectedBlock_ = nullptr;
    headersReceivedBlock_ = nullptr;
    dataReceivedBlock_ = nullptr;
    bytesReceivedBlock_ = bytesSentBlock_ = nullptr;
    downloadSizeIncrementedBlock_ = uploadSizeIncrementedBlock_ = nullptr;
    base::performOnMain([held]() mutable { held.reset(); }, base::Thread::isMain());
}
