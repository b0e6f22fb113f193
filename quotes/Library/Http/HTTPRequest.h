#pragma once

#include "HTTPCacheDelegate.h"
#include "HTTPRequestDelegate.h"

#include "base/Data.h"
#include "base/Error.h"
#include "base/InputStream.h"
#include "base/OperationQueue.h"
#include "base/Thread.h"
#include "base/Timer.h"
#include "base/Url.h"
#include "base/Value.h"
#include "net/Cookie.h"
#include "net/CredentialStore.h"
#include "net/HttpAuthentication.h"
#include "net/HttpMessage.h"
#include "net/HttpReadStream.h"
#include "net/ProxyResolver.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class DataDecompressor;
class HTTPInputStream;

// Every error a request makes has this domain.
inline constexpr const char *NetworkRequestErrorDomain = "HTTPRequestErrorDomain";

// The error codes of NetworkRequestErrorDomain.
enum HTTPRequestErrorType : long {
    ConnectionFailureErrorType = 1,
    RequestTimedOutErrorType = 2,
    AuthenticationErrorType = 3,
    RequestCancelledErrorType = 4,
    UnableToCreateRequestErrorType = 5,
    InternalErrorWhileBuildingRequestType = 6,
    InternalErrorWhileApplyingCredentialsType = 7,
    FileManagementError = 8,
    TooMuchRedirectionErrorType = 9,
    UnhandledExceptionError = 10,
    CompressionError = 11,
};

// One HTTP transaction, an operation: built from a URL and settings, sent over a
// net::HttpReadStream, with redirects and gzip bodies handled here, and reported to a delegate,
// to callbacks and to an owning queue on the main thread.
//
// Asynchronous requests (startAsynchronous) wait in a shared queue of 4 and then run on one network
// thread that never stops; startSynchronous runs the request on the calling thread, whose run loop
// then serves only this request (mode "HTTPRequestRunLoopMode"), and returns when it is done.
// Failures arrive as `error` (NetworkRequestErrorDomain, codes above): only the first failure of a
// request is reported, cancellation included. A request runs once; copy() makes one to repeat it.
//
// Settings are made before the request starts; results (status, headers, body) are read once it
// has finished, or in the delegate's operations.
class HTTPRequest : public base::Operation {
public:
    using Block = std::function<void()>;
    using HeadersBlock = std::function<void(const base::Dict &)>;
    using DataBlock = std::function<void(const base::Data &)>;
    using ProgressBlock = std::function<void(long long amount, unsigned long long total)>;
    using SizeBlock = std::function<void(long long amount)>;
    // An operation name the request sends to its delegate: a late-bound callable that answers
    // "not implemented" when the delegate lacks it.
    using Selector = std::function<base::Opt<void>(HTTPRequestDelegate &, HTTPRequest &)>;

    static constexpr const char *SynchronousRunLoopMode = "HTTPRequestRunLoopMode";
    static constexpr double statusInterval = 0.25;
    static constexpr int maxRedirects = 5;

    static base::Ref<HTTPRequest> requestWithURL(const base::Url &url);
    explicit HTTPRequest(const base::Url &url);
    ~HTTPRequest() override;

    // Class-wide settings.
    static double defaultTimeOutSeconds();
    static void setDefaultTimeOutSeconds(double seconds);
    static base::OperationQueue &sharedQueue();
    // The network thread, made on first use.
    static base::Thread &threadForRequest();
    // Ends the network thread, for tests that must leave no thread behind; no request may run
    // afterwards.
    static void stopNetworkThreadForTesting();
    static void expirePersistentConnections();
    // Connection entries in the table (kept-alive connections and those in use).
    static size_t connectionCount();
    static bool isMultitaskingSupported() { return false; }
    static std::string defaultUserAgentString();
    static void setDefaultUserAgentString(std::string agent);
    static bool isNetworkInUse();
    static void setShouldUpdateNetworkActivityIndicator(bool update);

    // Running and stopping.
    void startAsynchronous();
    void startSynchronous();
    void start() override;
    void main() override;
    bool isConcurrent() const override { return true; }
    void cancel() override;
    bool isCancelled() const override;
    void clearDelegatesAndCancel();
    // The delegate's answer to a pending redirect.
    void redirectToURL(const base::Url &url);
    // A new request of this one's own class with its settings, ready to run again; the queue, the
    // callbacks, the cache settings and every result start afresh.
    virtual base::Ref<HTTPRequest> copy() const;
    // A HEAD request that learns this request's size before it runs (the network queue's
    // pre-request): it sends this request's headers and credentials, reports to nobody, and hands
    // the size it learns, or its failure, to this request.
    base::Ref<HTTPRequest> HEADRequest() const;
    // On a HEAD pre-request, the request it serves.
    base::Ref<HTTPRequest> mainRequest() const { return mainRequest_.lock(); }
    bool isHEADPreRequest() const { return isHEADPreRequest_; }

    // Request settings.
    base::Url url() const;
    void setURL(const base::Url &url);
    std::optional<base::Url> originalURL() const { return originalURL_; }
    std::string requestMethod() const;
    void setRequestMethod(std::string method);
    void addRequestHeader(const std::string &name, const std::string &value);
    const base::Dict &requestHeaders() const { return requestHeaders_; }
    void appendPostData(const base::Data &data);
    void appendPostDataFromFile(const std::string &path);
    void setPostBody(base::Data body) { postBody_ = std::move(body); }
    const base::Data &postBody() const { return postBody_; }
    void setShouldStreamPostDataFromDisk(bool on) { shouldStreamPostDataFromDisk_ = on; }
    void setPostBodyFilePath(std::string path) { postBodyFilePath_ = std::move(path); }
    const std::string &postBodyFilePath() const { return postBodyFilePath_; }
    void setShouldCompressRequestBody(bool on) { shouldCompressRequestBody_ = on; }
    unsigned long long postLength() const { return postLength_; }

    base::Weak<HTTPRequestDelegate> delegate() const;
    void setDelegate(base::Weak<HTTPRequestDelegate> delegate);
    base::Ref<HTTPRequestDelegate> queue() const;
    void setQueue(base::Ref<HTTPRequestDelegate> queue);
    void setUploadProgressDelegate(base::Weak<HTTPProgressDelegate> receiver);
    void setDownloadProgressDelegate(base::Weak<HTTPProgressDelegate> receiver);

    void setDidStartSelector(Selector s) { didStartSelector_ = std::move(s); }
    void setDidFinishSelector(Selector s) { didFinishSelector_ = std::move(s); }
    void setDidFailSelector(Selector s) { didFailSelector_ = std::move(s); }

    void setStartedBlock(Block b) { startedBlock_ = std::move(b); }
    void setHeadersReceivedBlock(HeadersBlock b) { headersReceivedBlock_ = std::move(b); }
    void setCompletionBlock(Block b) { completionBlock_ = std::move(b); }
    void setFailedBlock(Block b) { failureBlock_ = std::move(b); }
    void setDataReceivedBlock(DataBlock b) { dataReceivedBlock_ = std::move(b); }
    void setRequestRedirectedBlock(Block b) { requestRedirectedBlock_ = std::move(b); }
    void setBytesReceivedBlock(ProgressBlock b) { bytesReceivedBlock_ = std::move(b); }
    void setBytesSentBlock(ProgressBlock b) { bytesSentBlock_ = std::move(b); }
    void setDownloadSizeIncrementedBlock(SizeBlock b) { downloadSizeIncrementedBlock_ = std::move(b); }
    void setUploadSizeIncrementedBlock(SizeBlock b) { uploadSizeIncrementedBlock_ = std::move(b); }

    double timeOutSeconds() const { return timeOutSeconds_; }
    void setTimeOutSeconds(double seconds) { timeOutSeconds_ = seconds; }
    int numberOfTimesToRetryOnTimeout() const { return numberOfTimesToRetryOnTimeout_; }
    void setNumberOfTimesToRetryOnTimeout(int times) { numberOfTimesToRetryOnTimeout_ = times; }
    int retryCount() const { return retryCount_; }
    void setShouldAttemptPersistentConnection(bool on) { shouldAttemptPersistentConnection_ = on; }
    bool shouldAttemptPersistentConnection() const { return shouldAttemptPersistentConnection_; }
    double persistentConnectionTimeoutSeconds() const { return persistentConnectionTimeoutSeconds_; }
    void setPersistentConnectionTimeoutSeconds(double s) { persistentConnectionTimeoutSeconds_ = s; }
    bool connectionCanBeReused() const { return connectionCanBeReused_; }
    // The "id" of the connection entry the request used; 0 when none.
    long connectionID() const { return connectionID_; }
    void setUseHTTPVersionOne(bool on) { useHTTPVersionOne_ = on; }
    void setValidatesSecureCertificate(bool on) { validatesSecureCertificate_ = on; }
    // A PEM file with the client certificate and key sent on https.
    void setClientCertificateIdentity(std::string pemPath) {
        clientCertificateIdentity_ = std::move(pemPath);
    }
    const std::string &clientCertificateIdentity() const { return clientCertificateIdentity_; }
    void setShouldRedirect(bool on) { shouldRedirect_ = on; }
    void setShouldUseRFC2616RedirectBehaviour(bool on) { shouldUseRFC2616RedirectBehaviour_ = on; }
    int redirectCount() const { return redirectCount_; }
    void setAllowCompressedResponse(bool on) { allowCompressedResponse_ = on; }
    void setShouldWaitToInflateCompressedResponses(bool on) { shouldWaitToInflateCompressedResponses_ = on; }
    void setUserAgentString(std::string agent) { userAgentString_ = std::move(agent); }
    void setDownloadDestinationPath(std::string path) { downloadDestinationPath_ = std::move(path); }
    const std::string &downloadDestinationPath() const { return downloadDestinationPath_; }
    void setTemporaryFileDownloadPath(std::string path) { temporaryFileDownloadPath_ = std::move(path); }
    const std::string &temporaryFileDownloadPath() const { return temporaryFileDownloadPath_; }
    void setAllowResumeForFileDownloads(bool on) { allowResumeForFileDownloads_ = on; }
    void setShowAccurateProgress(bool on) { showAccurateProgress_ = on; }
    bool showAccurateProgress() const { return showAccurateProgress_; }
    bool updatedProgress() const { return updatedProgress_; }
    void setShouldResetDownloadProgress(bool on) { shouldResetDownloadProgress_ = on; }
    void setShouldResetUploadProgress(bool on) { shouldResetUploadProgress_ = on; }
    bool shouldResetDownloadProgress() const { return shouldResetDownloadProgress_; }
    bool shouldResetUploadProgress() const { return shouldResetUploadProgress_; }
    void setUploadBufferSize(unsigned long long size) { uploadBufferSize_ = size; }
    void setUseCookiePersistence(bool on) { useCookiePersistence_ = on; }
    void setProxyHost(std::string host) { proxyHost_ = std::move(host); }
    void setProxyPort(int port) { proxyPort_ = port; }
    void setProxyType(std::string type) { proxyType_ = std::move(type); }
    void setUserInfo(base::Dict info) { userInfo_ = std::move(info); }
    const base::Dict &userInfo() const { return userInfo_; }
    void setTag(int32_t tag) { tag_ = tag; }
    int32_t tag() const { return tag_; }
    void setDefaultResponseEncoding(uint32_t encoding) { defaultResponseEncoding_ = encoding; }

    // Results.
    base::Ref<base::Error> error() const;
    int responseStatusCode() const { return responseStatusCode_; }
    const std::string &responseStatusMessage() const { return responseStatusMessage_; }
    const base::Dict &responseHeaders() const { return responseHeaders_; }
    uint32_t responseEncoding() const { return responseEncoding_; }
    void setResponseEncoding(uint32_t encoding) { responseEncoding_ = encoding; }
    // The body, inflated when it was kept compressed; nothing when it does not inflate.
    std::optional<base::Data> responseData() const;
    // The body decoded with responseEncoding; nothing without a body or when it does not decode.
    std::optional<std::string> responseString() const;
    // Whether "Content-Encoding" names gzip.
    bool isResponseCompressed() const;
    unsigned long long contentLength() const { return contentLength_; }
    unsigned long long totalBytesRead() const { return totalBytesRead_; }
    unsigned long long totalBytesSent() const { return totalBytesSent_; }
    unsigned long long partialDownloadSize() const { return partialDownloadSize_; }
    const std::vector<net::Cookie> &responseCookies() const { return responseCookies_; }
    void setRequestCookies(std::vector<net::Cookie> cookies) { requestCookies_ = std::move(cookies); }
    bool complete() const { return complete_; }
    bool isSynchronous() const { return isSynchronous_; }

    // Credentials and proxies.
    void setUsername(std::string user) { username_ = std::move(user); }
    void setPassword(std::string password) { password_ = std::move(password); }
    void setDomain(std::string domain) { domain_ = std::move(domain); }
    void setProxyUsername(std::string user) { proxyUsername_ = std::move(user); }
    void setProxyPassword(std::string password) { proxyPassword_ = std::move(password); }
    void setProxyDomain(std::string domain) { proxyDomain_ = std::move(domain); }
    void setAuthenticationScheme(std::string scheme) { authenticationScheme_ = std::move(scheme); }
    const std::string &authenticationScheme() const { return authenticationScheme_; }
    void setUseSessionPersistence(bool on) { useSessionPersistence_ = on; }
    // Save credentials that worked in the process's credential store, and look them up there.
    void setUseKeychainPersistence(bool on) { useKeychainPersistence_ = on; }
    bool useKeychainPersistence() const { return useKeychainPersistence_; }
    int authenticationRetryCount() const { return authenticationRetryCount_; }
    void setShouldPresentCredentialsBeforeChallenge(bool on) {
        shouldPresentCredentialsBeforeChallenge_ = on;
    }
    void setPACurl(std::optional<base::Url> url) { PACurl_ = std::move(url); }
    const std::string &proxyHost() const { return proxyHost_; }
    int proxyPort() const { return proxyPort_; }
    const std::string &proxyType() const { return proxyType_; }
    int authenticationNeeded() const { return authenticationNeeded_; }
    const std::string &authenticationRealm() const { return authenticationRealm_; }
    const std::string &proxyAuthenticationScheme() const { return proxyAuthenticationScheme_; }
    const std::string &proxyAuthenticationRealm() const { return proxyAuthenticationRealm_; }
    // Whether an asynchronous request without a delegate answer shows the login sheet: off for
    // servers, on for proxies.
    void setShouldPresentAuthenticationDialog(bool on) { shouldPresentAuthenticationDialog_ = on; }
    void setShouldPresentProxyAuthenticationDialog(bool on) { shouldPresentProxyAuthenticationDialog_ = on; }
    bool shouldPresentAuthenticationDialog() const { return shouldPresentAuthenticationDialog_; }
    bool shouldPresentProxyAuthenticationDialog() const { return shouldPresentProxyAuthenticationDialog_; }
    // Answers to an authentication question: credentials were filled in (and are used as they
    // stand, empty ones too), or the user gave up.
    void retryUsingSuppliedCredentials();
    void cancelAuthentication();
    void setAuthenticationNeededBlock(Block b) { authenticationNeededBlock_ = std::move(b); }
    void setProxyAuthenticationNeededBlock(Block b) { proxyAuthenticationNeededBlock_ = std::move(b); }
    // Forgets the credentials and cookies this process has collected.
    static void clearSession();
    static std::vector<net::Cookie> sessionCookies();
    // Replaces a listed cookie of the same domain, path and name, else appends.
    static void addSessionCookie(const net::Cookie &cookie);
    // Takes the listed cookies out of the process's cookie store, then replaces the list.
    static void setSessionCookies(std::vector<net::Cookie> cookies);
    // The process's credential store: one default credential per server (host, port, protocol,
    // realm) or proxy (host, port, realm).
    static void saveCredentials(const net::Credential &credential, const std::string &host, int port,
                                const std::string &protocol, const std::string &realm);
    static void saveCredentialsForProxy(const net::Credential &credential, const std::string &host, int port,
                                        const std::string &realm);
    static std::optional<net::Credential> savedCredentialsForHost(const std::string &host, int port,
                                                                  const std::string &protocol,
                                                                  const std::string &realm);
    // The protocol is not part of a proxy's space.
    static std::optional<net::Credential> savedCredentialsForProxy(const std::string &host, int port,
                                                                   const std::string &protocol,
                                                                   const std::string &realm);
    static void removeCredentialsForHost(const std::string &host, int port, const std::string &protocol,
                                         const std::string &realm);
    static void removeCredentialsForProxy(const std::string &host, int port, const std::string &realm);

    // The download cache, used by GET requests only; a new request takes the class's default cache
    // (none unless set). A cachePolicy of 0 takes the cache's default policy when the request runs.
    static base::Ref<HTTPRequest> requestWithURL(const base::Url &url, base::Ref<HTTPCacheDelegate> cache,
                                                 int cachePolicy = UseDefaultCachePolicy);
    static base::Ref<HTTPCacheDelegate> defaultCache();
    static void setDefaultCache(base::Ref<HTTPCacheDelegate> cache);
    const base::Ref<HTTPCacheDelegate> &downloadCache() const { return downloadCache_; }
    void setDownloadCache(base::Ref<HTTPCacheDelegate> cache) { downloadCache_ = std::move(cache); }
    int cachePolicy() const { return cachePolicy_; }
    void setCachePolicy(int policy) { cachePolicy_ = policy; }
    int cacheStoragePolicy() const { return cacheStoragePolicy_; }
    void setCacheStoragePolicy(int policy) { cacheStoragePolicy_ = policy; }
    // The maximum age handed to the cache; 0 lets the response's headers decide.
    double secondsToCache() const { return secondsToCache_; }
    void setSecondsToCache(double seconds) { secondsToCache_ = seconds; }
    // Whether the response came from the cache.
    bool didUseCachedResponse() const { return didUseCachedResponse_; }

    // Bandwidth throttling, shared by every request.
    static bool isBandwidthThrottled();
    static unsigned long maxBandwidthPerSecond();
    static void setMaxBandwidthPerSecond(unsigned long bytes);
    static void incrementBandwidthUsedInLastSecond(unsigned long bytes);
    static unsigned long averageBandwidthUsedPerSecond();
    static unsigned long maxUploadReadLength();
    static void setShouldThrottleBandwidthForWWAN(bool throttle);
    static void throttleBandwidthForWWANUsingLimit(unsigned long limit);
    // The moment throttled requests may read again; nothing when none is set.
    static std::optional<double> throttleWakeUpTime();
    // Closes the current one-second period when it has passed and sets the wake-up time of an
    // overshoot.
    static void measureBandwidthUsage();

    // Class operations.
    static std::string base64forData(const base::Data &data);
    // Splits a "Content-Type" value into its MIME type and the encoding its charset names.
    static void parseMimeType(std::string *mimeType, std::optional<uint32_t> *encoding,
                              std::string_view contentType);
    // Reads "Content-Length": decimal digits only, else nothing.
    static std::optional<unsigned long long> parseContentLength(std::string_view text);
    // An HTTP date ("Sun, 06 Nov 1994 08:49:37 GMT", also without the weekday or the seconds).
    static std::optional<base::Date> dateFromRFC1123String(std::string_view text);
    // When the response stops being current: now + maxAge when that is not 0, else now + the
    // Cache-Control "max-age" (0: now), else its Expires date; nothing when none is known.
    static std::optional<base::Date> expiryDateForRequest(const HTTPRequest &request, double maxAge);
    // A header's value by its name in any case; nothing when absent or not text.
    static std::optional<std::string> headerNamed(const base::Dict &headers, std::string_view name);
    static bool removeFileAtPath(const std::string &path, base::Ref<base::Error> *error);
    // Whether a response lets its connection be kept: nothing when not, else how long the idle
    // connection stays usable ("Keep-Alive" timeout, or `fallback` without that field).
    static std::optional<double> connectionReuse(const net::HttpMessage &head, double fallback);
    // An error of NetworkRequestErrorDomain.
    static base::Ref<base::Error> makeError(long code, std::string description,
                                            base::Ref<base::Error> underlying = nullptr);

protected:
    virtual void buildPostBody();
    void failWithError(base::Ref<base::Error> error);
    // The settings copy() carries over, written into a request the subclass made.
    void copySettingsTo(HTTPRequest &c) const;
    // Forgets a body copied from another request, so that buildPostBody writes it again.
    void discardBuiltPostBody();
    // An empty request of the calling object's own class, for copy() and HEADRequest().
    virtual base::Ref<HTTPRequest> makeRequestOfThisClass(const base::Url &url) const;

private:
    friend class HTTPInputStream;
    // Builds a queued request's body early to learn its size.
    friend class NetworkQueue;
    friend struct HTTPRequestClassState;
    struct Connection;

    // Life cycle, on the request's own thread.
    void performOnRequestThread(std::function<void()> fn);
    bool buildRequestMessage();
    base::Ref<net::HttpReadStream> useConnectionTable();
    void updateStatus();
    void startRequest();
    void handleNetworkEvent(net::Event event);
    void handleBytesAvailable();
    void handleStreamComplete();
    void handleStreamError();
    base::Ref<base::Error> keptCompressedBodyError() const;
    bool retryUsingNewConnection();
    // Leaves this request's connection and drops it from the shared list, so that no request
    // reuses it.
    void forgetConnection();
    void checkRequestStatus();
    bool shouldTimeOut() const;
    void scheduleReadStream();
    void unscheduleReadStream();
    void destroyReadStream();
    void cancelOnRequestThread();
    void cancelLoad();
    void requestFinished();
    void reportFinished();
    void reportFailure();
    void markAsFinished();
    void releaseBlocksOnMainThread();

    // Main-thread delivery.
    void onMain(std::function<void(HTTPRequest &)> step);
    void requestStarted();
    void requestReceivedResponseHeaders(base::Dict headers);
    void requestWillRedirectToURL(base::Url url);
    void requestRedirected();
    void passOnReceivedData(base::Data data);
    bool delegateImplements(std::string_view operation) const;

    // Messages.
    void buildRequestHeaders();
    void applyCookieHeader();
    void setupPostBody();
    void readResponseHeaders();
    void learnMainRequestSize(std::optional<unsigned long long> length);
    void parseStringEncodingFromHeaders();
    bool willRedirect();
    bool willAskDelegateToConfirmRedirect();
    void performRedirect();
    void writeToDownloadFile(const uint8_t *bytes, size_t length, const base::Data *inflated);
    bool rangeStartsAt(unsigned long long offset) const;
    bool refusedRangeOverIncompleteFile() const;
    void restartDownloadFromStart();
    void closeDownloadFiles();
    void readResponseCookies(const net::HttpMessage &head);
    base::Ref<base::Error> placeDownloadedFile();
    void updatePartialDownloadSize();
    void removeTemporaryFile(std::string &path);

    // Credentials and proxies.
    void applyAuthorizationHeader();
    void applyProxySessionCredentials();
    // The key of this request's proxy in the session's proxy credentials.
    std::string proxyKey() const;
    void noteCredentialsSucceeded();
    void attemptToApplyCredentialsAndResume();
    void failAuthentication();
    void askForCredentialsOrFail(bool proxy);
    void applyCredentialsAndStart(bool proxy, base::Dict credentials,
                                  std::unique_lock<std::recursive_mutex> &guard);
    // Applies a credentials dictionary ("Username", "Password", "AccountDomain") to the message and
    // remembers it; false when it cannot be applied.
    bool applyCredentials(bool proxy, const base::Dict &credentials);
    void forgetSessionCredentials(bool proxy, const base::Dict &credentials);
    // Credentials from the URL, the request or the credential store; the account domain from
    // `domain` or a "DOMAIN\\user" name when the scheme needs one. Credentials the user supplied
    // are used as they stand, empty ones too; others only with a user name and a password.
    std::optional<base::Dict> findCredentials(bool supplied) const;
    std::optional<base::Dict> findProxyCredentials(bool supplied) const;
    static int portNumber(const base::Url &url);
    // Hands the request to the login sheet on the main thread; false when it may not show one.
    bool showAuthenticationDialog(bool proxy);
    bool configureProxies();
    void proxiesFound(uint64_t wait, const std::optional<std::vector<net::ProxyEntry>> &list);
    void useProxyEntry(const net::ProxyEntry &entry);
    void fetchPACFile();
    void runPACScript(const std::string &script);
    void finishedDownloadingPACFile();

    // The download cache: the stored response stands in before sending, once the head of the
    // answer arrived (a 304), or after a failure; each answers whether it served the request.
    bool answeredFromCacheBeforeSending();
    bool answeredFromCacheAfterHeaders();
    bool answeredFromCacheAfterFailure(const base::Error &failure);
    // The URL's stored entry when it is whole; useDataFromCache completes the request with it, or
    // follows it when it is a redirect.
    struct CachedEntry;
    std::optional<CachedEntry> readCachedEntry();
    void useDataFromCache(CachedEntry entry);
    void releaseConnectionForCachedResponse();

    // Progress, throttling and the activity indicator.
    void deliverProgressFraction(bool upload, unsigned long long progress, unsigned long long total);
    bool throttleWakeUpPending() const;
    size_t throttledReadSize(size_t size) const;
    static void recordBandwidthUsage();
    static void showNetworkActivityIndicator();
    static void hideNetworkActivityIndicatorAfterDelay();
    // Progress and throttling.
    void updateProgressIndicators();
    void updateDownloadProgress();
    void updateUploadProgress();
    void removeUploadProgressSoFar();
    void incrementDownloadSizeBy(long long amount);
    void incrementUploadSizeBy(long long amount);
    void performThrottling();
    template <class Op> void deliverToQueueAndReceiver(bool upload, Op op);
    bool hasProgressReceiver(bool upload) const;

    mutable std::recursive_mutex cancelledLock_;
    base::Url url_;
    std::optional<base::Url> originalURL_, redirectURL_;
    base::Weak<HTTPRequestDelegate> delegate_;
    base::Ref<HTTPRequestDelegate> queue_;
    base::Weak<HTTPProgressDelegate> uploadProgressDelegate_, downloadProgressDelegate_;
    std::string requestMethod_ = "GET";

    base::Data postBody_, compressedPostBody_;
    bool shouldStreamPostDataFromDisk_ = false;
    std::string postBodyFilePath_, compressedPostBodyFilePath_;
    bool didCreateTemporaryPostDataFile_ = false;
    base::Ref<base::OutputStream> postBodyWriteStream_;
    base::Ref<HTTPInputStream> postBodyReadStream_;
    base::Dict requestHeaders_;
    bool haveBuiltRequestHeaders_ = false, haveBuiltPostBody_ = false;
    bool useCookiePersistence_ = true, useSessionPersistence_ = true, useKeychainPersistence_ = false;
    bool allowCompressedResponse_ = true, shouldCompressRequestBody_ = false;
    bool shouldWaitToInflateCompressedResponses_ = true;
    std::string downloadDestinationPath_, temporaryFileDownloadPath_, temporaryUncompressedDataDownloadPath_;
    base::Ref<base::OutputStream> fileDownloadOutputStream_, inflatedFileDownloadOutputStream_;
    bool allowResumeForFileDownloads_ = false;
    // A resumed download whose range was refused over a file that is not whole starts again.
    bool restartingDownload_ = false;
    std::string userAgentString_;

    std::atomic<bool> complete_{false}, cancelled_{false}, inProgress_{false};
    base::Ref<base::Error> error_;
    mutable std::mutex errorLock_;

    base::Ref<net::HttpMessage> request_;
    base::Ref<net::HttpReadStream> readStream_;
    bool readStreamIsScheduled_ = false;
    base::RunLoop *requestLoop_ = nullptr;
    std::string runLoopMode_ = "default";
    base::Ref<base::Timer> statusTimer_;
    double lastActivityTime_ = 0;
    bool hasActivityTime_ = false;
    double timeOutSeconds_;
    int numberOfTimesToRetryOnTimeout_ = 0, retryCount_ = 0;
    bool willRetryRequest_ = false;

    int responseStatusCode_ = 0;
    std::string responseStatusMessage_;
    base::Dict responseHeaders_;
    bool haveResponseHeaders_ = false;
    base::Ref<net::HttpMessage> responseHead_;
    uint32_t defaultResponseEncoding_ = 5, responseEncoding_ = 0;
    base::Data rawResponseData_;
    base::Ref<DataDecompressor> dataDecompressor_;
    base::Ref<base::Error> inflateError_;
    bool downloadComplete_ = false;
    unsigned long long contentLength_ = 0, partialDownloadSize_ = 0, postLength_ = 0;
    unsigned long long totalBytesRead_ = 0, totalBytesSent_ = 0, lastBytesRead_ = 0, lastBytesSent_ = 0;
    bool hasContentLength_ = false;

    bool shouldRedirect_ = true, needsRedirect_ = false, shouldUseRFC2616RedirectBehaviour_ = false;
    int redirectCount_ = 0;
    bool useHTTPVersionOne_ = false, validatesSecureCertificate_ = true;
    std::string clientCertificateIdentity_;
    std::string proxyHost_, proxyType_;
    int proxyPort_ = 0;

    bool shouldAttemptPersistentConnection_ = true;
    double persistentConnectionTimeoutSeconds_ = 60.0;
    bool connectionCanBeReused_ = false;
    base::Ref<Connection> connectionInfo_;
    long connectionID_ = 0;
    unsigned long requestID_ = 0;

    base::Weak<HTTPRequest> mainRequest_;
    bool isHEADPreRequest_ = false;
    bool showAccurateProgress_ = true, updatedProgress_ = false;
    bool shouldResetDownloadProgress_ = true, shouldResetUploadProgress_ = true;
    unsigned long long uploadBufferSize_ = 0;

    std::string username_, password_, domain_, proxyUsername_, proxyPassword_, proxyDomain_;
    std::string authenticationScheme_, authenticationRealm_, proxyAuthenticationScheme_,
        proxyAuthenticationRealm_;
    base::Dict requestCredentials_, proxyCredentials_;
    base::Ref<net::HttpAuthentication> requestAuthentication_, proxyAuthentication_;
    int authenticationNeeded_ = 0, authenticationRetryCount_ = 0, proxyAuthenticationRetryCount_ = 0;
    bool shouldPresentCredentialsBeforeChallenge_ = true;
    bool shouldPresentAuthenticationDialog_ = false, shouldPresentProxyAuthenticationDialog_ = true;
    // The answer to a question names the credentials to use, even empty ones.
    std::atomic<bool> credentialsSupplied_{false};
    std::optional<base::Url> PACurl_;
    bool isPACFileRequest_ = false;
    uint64_t proxyWait_ = 0;
    base::Ref<base::Timer> proxyWaitTimer_;
    base::Ref<HTTPRequest> PACFileRequest_;
    std::vector<net::Cookie> requestCookies_, responseCookies_;
    Block authenticationNeededBlock_, proxyAuthenticationNeededBlock_;

    base::Ref<HTTPCacheDelegate> downloadCache_ = defaultCache();
    int cachePolicy_ = UseDefaultCachePolicy, cacheStoragePolicy_ = CacheForSessionDurationCacheStoragePolicy;
    double secondsToCache_ = 0;
    std::atomic<bool> didUseCachedResponse_{false};

    base::Dict userInfo_;
    int32_t tag_ = 0;
    std::atomic<bool> isSynchronous_{false};

    Selector didStartSelector_, didFinishSelector_, didFailSelector_;
    Block startedBlock_, completionBlock_, failureBlock_, requestRedirectedBlock_;
    HeadersBlock headersReceivedBlock_;
    DataBlock dataReceivedBlock_;
    ProgressBlock bytesReceivedBlock_, bytesSentBlock_;
    SizeBlock downloadSizeIncrementedBlock_, uploadSizeIncrementedBlock_;
};
