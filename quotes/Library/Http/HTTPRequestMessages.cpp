#include "HTTPRequest.h"

#include "DataDecompressor.h"
#include "HTTPRequestState.h"

#include "base/Bundle.h"
#include "base/Encoding.h"
#include "base/FileManager.h"
#include "base/Locale.h"
#include "base/Str.h"
#include "net/StreamError.h"
#include "ui/Application.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>

namespace {

constexpr unsigned long long maxReservedBody = 64ull << 20;

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

base::Ref<base::Error> fileError(std::string text, int code) {
    return HTTPRequest::makeError(FileManagementError, std::move(text),
                                  net::toError({net::StreamError::Posix, code}));
}

// Moves a file into place, replacing what is there; across file systems by copying.
std::error_code moveReplacing(const std::string &from, const std::string &to) {
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    if (ec == std::errc::cross_device_link) {
        ec.clear();
        std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec);
        if (!ec)
            std::filesystem::remove(from, ec);
    }
    return ec;
}

} // namespace

// Request headers and body.

void HTTPRequest::addRequestHeader(const std::string &name, const std::string &value) {
    requestHeaders_.set(name, value);
}

void HTTPRequest::buildRequestHeaders() {
    if (haveBuiltRequestHeaders_)
        return;
    haveBuiltRequestHeaders_ = true;
    if (isHEADPreRequest_) {
        // The pre-request asks exactly what its main request will ask.
        if (auto main = mainRequest()) {
            std::lock_guard guard(main->cancelledLock_);
            main->buildRequestHeaders();
            requestHeaders_ = main->requestHeaders_.copy();
        }
        return;
    }
    applyCookieHeader();
    if (!requestHeaders_.has("User-Agent")) {
        std::string agent = userAgentString_.empty() ? defaultUserAgentString() : userAgentString_;
        if (!agent.empty())
            addRequestHeader("User-Agent", agent);
    }
    if (allowCompressedResponse_)
        addRequestHeader("Accept-Encoding", "gzip");
    if (shouldCompressRequestBody_)
        addRequestHeader("Content-Encoding", "gzip");
    updatePartialDownloadSize();
    if (partialDownloadSize_ > 0)
        addRequestHeader("Range", base::str::format("bytes=%llu-", partialDownloadSize_));
}

void HTTPRequest::setupPostBody() {
    if (!shouldStreamPostDataFromDisk_)
        return;
    if (postBodyFilePath_.empty()) {
        postBodyFilePath_ = base::FileManager::uniqueTemporaryPath();
        didCreateTemporaryPostDataFile_ = true;
    }
    if (!postBodyWriteStream_) {
        postBodyWriteStream_ = base::OutputStream::toFile(postBodyFilePath_, false);
        postBodyWriteStream_->open();
    }
}

void HTTPRequest::appendPostData(const base::Data &data) {
    setupPostBody();
    if (data.empty())
        return;
    if (shouldStreamPostDataFromDisk_)
        postBodyWriteStream_->write(data.bytes(), data.length());
    else
        postBody_.append(data);
}

void HTTPRequest::appendPostDataFromFile(const std::string &path) {
    setupPostBody();
    auto in = base::InputStream::withFile(path);
    if (!in->open())
        return;
    std::vector<uint8_t> chunk(262144);
    for (;;) {
        long n = in->read(chunk.data(), chunk.size());
        if (n <= 0)
            break;
        if (shouldStreamPostDataFromDisk_)
            postBodyWriteStream_->write(chunk.data(), size_t(n));
        else
            postBody_.append(chunk.data(), size_t(n));
    }
    in->close();
}

void HTTPRequest::buildPostBody() {
    if (haveBuiltPostBody_)
        return;
    if (!postBodyFilePath_.empty()) {
        if (postBodyWriteStream_) {
            postBodyWriteStream_->close();
            postBodyWriteStream_.reset();
        }
        std::string measured = postBodyFilePath_;
        if (shouldCompressRequestBody_) {
            if (compressedPostBodyFilePath_.empty()) {
                compressedPostBodyFilePath_ = base::FileManager::uniqueTemporaryPath();
                base::Ref<base::Error> failure;
                if (!DataCompressor::compressDataFromFile(postBodyFilePath_, compressedPostBodyFilePath_,
                                                          &failure)) {
                    failWithError(failure);
                    return;
                }
            }
            measured = compressedPostBodyFilePath_;
        }
        std::error_code ec;
        auto size = std::filesystem::file_size(measured, ec);
        if (ec) {
            failWithError(fileError(
                base::str::format("Failed to get attributes for file at path '%@'", measured), ec.value()));
            return;
        }
        postLength_ = size;
    } else if (shouldCompressRequestBody_) {
        base::Ref<base::Error> failure;
        auto compressed = DataCompressor::compressData(postBody_, &failure);
        if (failure) {
            failWithError(failure);
            return;
        }
        compressedPostBody_ = compressed.value_or(base::Data());
        postLength_ = compressedPostBody_.length();
    } else {
        postLength_ = postBody_.length();
    }
    if (postLength_ > 0) {
        if (requestMethod_ == "GET" || requestMethod_ == "DELETE" || requestMethod_ == "HEAD")
            setRequestMethod("POST");
        addRequestHeader("Content-Length", base::str::format("%llu", postLength_));
    }
    haveBuiltPostBody_ = true;
}

// The response head.

// What a HEAD pre-request learns goes to its main request, which then expects that many bytes.
void HTTPRequest::learnMainRequestSize(std::optional<unsigned long long> length) {
    auto main = mainRequest();
    if (!main || !showAccurateProgress_ || !shouldResetDownloadProgress_)
        return;
    std::lock_guard guard(main->cancelledLock_);
    // 20 bytes is an empty gzip body: a server that compresses its HEAD answers says nothing of
    // the real size.
    if (!length || (*length == 20 && allowCompressedResponse_)) {
        main->showAccurateProgress_ = false;
        main->incrementDownloadSizeBy(1);
        return;
    }
    main->contentLength_ = *length;
    main->incrementDownloadSizeBy((long long)(*length + main->partialDownloadSize_));
}

void HTTPRequest::readResponseHeaders() {
    authenticationNeeded_ = 0;
    auto head = readStream_ ? readStream_->responseHeader() : nullptr;
    if (!head)
        return;
    haveResponseHeaders_ = true;
    responseHead_ = head;
    responseHeaders_ = head->allHeaders();
    responseStatusCode_ = head->statusCode();
    responseStatusMessage_ = head->statusLine();
    if (answeredFromCacheAfterHeaders())
        return;
    if (responseStatusCode_ == 401)
        authenticationNeeded_ = 1;
    else if (responseStatusCode_ == 407)
        authenticationNeeded_ = 2;
    noteCredentialsSucceeded();
    parseStringEncodingFromHeaders();
    readResponseCookies(*head);
    restartingDownload_ = refusedRangeOverIncompleteFile();
    if (!willRedirect() && !restartingDownload_) {
        auto length = head->header("Content-Length");
        auto parsed = length ? parseContentLength(*length) : std::nullopt;
        if (isHEADPreRequest_) {
            learnMainRequestSize(parsed);
        } else if (parsed) {
            contentLength_ = *parsed;
            hasContentLength_ = true;
            // A body kept in memory grows once to its announced size (within reason: the length is
            // the server's word).
            if (downloadDestinationPath_.empty() && rawResponseData_.empty()) {
                std::vector<uint8_t> room;
                room.reserve(size_t(std::min(contentLength_, maxReservedBody)));
                rawResponseData_ = base::Data(std::move(room));
            }
            if (showAccurateProgress_ && shouldResetDownloadProgress_)
                incrementDownloadSizeBy((long long)(contentLength_ + partialDownloadSize_));
        } else if (showAccurateProgress_ && shouldResetDownloadProgress_) {
            showAccurateProgress_ = false;
            incrementDownloadSizeBy(1);
        }
    }
    if (shouldAttemptPersistentConnection_) {
        if (auto keep = connectionReuse(*head, persistentConnectionTimeoutSeconds_)) {
            connectionCanBeReused_ = true;
            persistentConnectionTimeoutSeconds_ = *keep;
        }
    }
    requestReceivedResponseHeaders(responseHeaders_.copy());
}

std::optional<double> HTTPRequest::connectionReuse(const net::HttpMessage &head, double fallback) {
    std::string connection = lower(head.header("Connection").value_or(""));
    if (!(head.version() != "HTTP/1.0" || connection == "keep-alive") || connection == "close")
        return std::nullopt;
    auto keepAlive = head.header("Keep-Alive");
    if (!keepAlive)
        return fallback;
    // "timeout=15, max=6": a missing number reads as 0; only max above 5 keeps the connection.
    auto number = [&](std::string_view key, size_t from, size_t *end) {
        size_t at = keepAlive->find(key, from);
        long value = 0;
        if (at == std::string::npos) {
            *end = from;
            return value;
        }
        const char *first = keepAlive->data() + at + key.size();
        auto result = std::from_chars(first, keepAlive->data() + keepAlive->size(), value);
        *end = size_t(result.ptr - keepAlive->data());
        return value;
    };
    size_t end = 0;
    long timeout = number("timeout=", 0, &end);
    long max = number("max=", end, &end);
    if (max > 5)
        return double(timeout);
    return std::nullopt;
}

std::optional<unsigned long long> HTTPRequest::parseContentLength(std::string_view text) {
    text = trimmed(text);
    unsigned long long value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

void HTTPRequest::parseStringEncodingFromHeaders() {
    std::string mime;
    std::optional<uint32_t> encoding;
    if (auto type = responseHeaders_.find("Content-Type"); type && type->isString())
        parseMimeType(&mime, &encoding, *type->string());
    else if (responseHead_)
        if (auto t = responseHead_->header("Content-Type"))
            parseMimeType(&mime, &encoding, *t);
    responseEncoding_ = encoding.value_or(defaultResponseEncoding_);
}

void HTTPRequest::parseMimeType(std::string *mimeType, std::optional<uint32_t> *encoding,
                                std::string_view contentType) {
    *encoding = std::nullopt;
    if (contentType.empty())
        return;
    size_t semicolon = contentType.find(';');
    *mimeType = std::string(trimmed(contentType.substr(0, semicolon)));
    if (semicolon == std::string_view::npos)
        return;
    std::string rest = lower(contentType.substr(semicolon + 1));
    size_t at = rest.find("charset=");
    if (at == std::string::npos)
        return;
    std::string_view value(contentType.substr(semicolon + 1 + at + 8));
    value = trimmed(value.substr(0, value.find(';')));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    if (auto found = base::encodingForIanaName(value))
        *encoding = uint32_t(*found);
}

bool HTTPRequest::isResponseCompressed() const {
    auto value = responseHeaders_.find("Content-Encoding");
    if (!value && responseHead_) {
        auto h = responseHead_->header("Content-Encoding");
        return h && h->find("gzip") != std::string::npos;
    }
    return value && value->stringValue().find("gzip") != std::string::npos;
}

std::optional<base::Data> HTTPRequest::responseData() const {
    if (isResponseCompressed() && shouldWaitToInflateCompressedResponses_)
        return DataDecompressor::uncompressData(rawResponseData_, nullptr);
    return rawResponseData_;
}

std::optional<std::string> HTTPRequest::responseString() const {
    auto data = responseData();
    if (!data)
        return std::nullopt;
    return base::decode(*data, base::Encoding(responseEncoding_));
}

// Redirects.

bool HTTPRequest::willRedirect() {
    if (!shouldRedirect_ || !responseHead_)
        return false;
    auto location = responseHead_->header("Location");
    const int code = responseStatusCode_;
    if (!location || (code != 301 && code != 302 && code != 303 && code != 307))
        return false;
    auto target = url_.resolving(*location);
    // Only the web's own schemes are followed; anything else ends the request as it stands.
    if (!target || (target->scheme() != "http" && target->scheme() != "https"))
        return false;
    requestRedirected();
    if (code == 307 || (shouldUseRFC2616RedirectBehaviour_ && (code == 301 || code == 302))) {
        requestCookies_.clear();
        applyCookieHeader();
    } else {
        requestMethod_ = "GET";
        postBody_ = base::Data();
        postLength_ = 0;
        base::Dict kept;
        for (const char *name : {"User-Agent", "Accept"})
            if (auto v = requestHeaders_.find(name))
                kept.set(name, *v);
        requestHeaders_ = kept;
        haveBuiltRequestHeaders_ = false;
    }
    // Credentials meant for one server must not travel to another, in any form: the header, the
    // user name and password to send or to answer a challenge with, or those last applied.
    if (target->scheme() != url_.scheme() || target->host() != url_.host() ||
        portNumber(*target) != portNumber(url_)) {
        requestHeaders_.remove("Authorization");
        requestHeaders_.remove("Proxy-Authorization");
        username_.clear();
        password_.clear();
        domain_.clear();
        requestCredentials_ = base::Dict();
        authenticationScheme_.clear();
        authenticationRealm_.clear();
    }
    redirectURL_ = target;
    needsRedirect_ = true;
    requestCookies_.clear();
    return true;
}

bool HTTPRequest::willAskDelegateToConfirmRedirect() {
    std::lock_guard guard(cancelledLock_);
    // A pre-request asks nobody: it follows the redirect as its main request would.
    if (isHEADPreRequest_ || !delegateImplements(HTTPRequestDelegate::willRedirect))
        return false;
    base::Url target = *redirectURL_;
    redirectURL_.reset();
    requestWillRedirectToURL(target);
    return true;
}

void HTTPRequest::redirectToURL(const base::Url &url) {
    {
        std::lock_guard guard(cancelledLock_);
        redirectURL_ = url;
    }
    performOnRequestThread([this] { performRedirect(); });
}

void HTTPRequest::performRedirect() {
    std::unique_lock guard(cancelledLock_);
    if (isCancelled() || !redirectURL_)
        return;
    base::Url target = *redirectURL_;
    setURL(target);
    complete_ = true;
    needsRedirect_ = false;
    ++redirectCount_;
    if (redirectCount_ > maxRedirects) {
        failWithError(HTTPRequestClassState::shared().tooManyRedirects);
        complete_ = true;
        return;
    }
    guard.unlock();
    main();
}

// Downloads to a file.

void HTTPRequest::writeToDownloadFile(const uint8_t *bytes, size_t length, const base::Data *inflated) {
    // A resumed range, or a range the server refused over a file already whole, keeps the bytes
    // already there; any other answer starts the file afresh.
    const bool resuming = allowResumeForFileDownloads_ && partialDownloadSize_ > 0;
    if (resuming && responseStatusCode_ == 416)
        return;
    if (!fileDownloadOutputStream_) {
        if (temporaryFileDownloadPath_.empty())
            temporaryFileDownloadPath_ = base::FileManager::uniqueTemporaryPath();
        bool append = resuming && responseStatusCode_ == 206 && rangeStartsAt(partialDownloadSize_);
        if (!append && partialDownloadSize_ > 0) {
            incrementDownloadSizeBy(-(long long)partialDownloadSize_);
            partialDownloadSize_ = 0;
        }
        fileDownloadOutputStream_ = base::OutputStream::toFile(temporaryFileDownloadPath_, append);
        fileDownloadOutputStream_->open();
    }
    fileDownloadOutputStream_->write(bytes, length);
    if (!inflated)
        return;
    if (!inflatedFileDownloadOutputStream_) {
        if (temporaryUncompressedDataDownloadPath_.empty())
            temporaryUncompressedDataDownloadPath_ = base::FileManager::uniqueTemporaryPath();
        inflatedFileDownloadOutputStream_ =
            base::OutputStream::toFile(temporaryUncompressedDataDownloadPath_, false);
        inflatedFileDownloadOutputStream_->open();
    }
    inflatedFileDownloadOutputStream_->write(inflated->bytes(), inflated->length());
}

bool HTTPRequest::rangeStartsAt(unsigned long long offset) const {
    auto range = responseHead_ ? responseHead_->header("Content-Range") : std::nullopt;
    if (!range)
        return false;
    // "bytes 100-199/200"
    std::string_view text(*range);
    if (!text.starts_with("bytes "))
        return false;
    text.remove_prefix(6);
    unsigned long long start = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), start);
    return ec == std::errc() && start == offset;
}

// A 416 answers a resumed range: "bytes */N" naming the size already held means the file is whole;
// any other size, or none, means the held bytes cannot be trusted.
bool HTTPRequest::refusedRangeOverIncompleteFile() const {
    if (!allowResumeForFileDownloads_ || partialDownloadSize_ == 0 || responseStatusCode_ != 416 ||
        downloadDestinationPath_.empty())
        return false;
    auto range = responseHead_->header("Content-Range");
    std::string_view text = range ? std::string_view(*range) : std::string_view();
    if (!text.starts_with("bytes */"))
        return true;
    text.remove_prefix(8);
    unsigned long long size = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), size);
    return ec != std::errc() || end != text.data() + text.size() || size != partialDownloadSize_;
}

void HTTPRequest::restartDownloadFromStart() {
    std::unique_lock guard(cancelledLock_);
    restartingDownload_ = false;
    if (isCancelled() || error())
        return;
    partialDownloadSize_ = 0;
    requestHeaders_.remove("Range");
    if (request_)
        request_->removeHeader("Range");
    guard.unlock();
    startRequest();
}

void HTTPRequest::closeDownloadFiles() {
    for (auto *stream : {&fileDownloadOutputStream_, &inflatedFileDownloadOutputStream_})
        if (*stream) {
            (*stream)->close();
            stream->reset();
        }
}

base::Ref<base::Error> HTTPRequest::placeDownloadedFile() {
    closeDownloadFiles();
    // Only the final response is the download: a redirect's own body is dropped.
    if (needsRedirect_ || authenticationNeeded_ != 0 || restartingDownload_) {
        if (!(shouldRedirect_ && needsRedirect_ && allowResumeForFileDownloads_))
            removeTemporaryFile(temporaryFileDownloadPath_);
        removeTemporaryFile(temporaryUncompressedDataDownloadPath_);
        return nullptr;
    }
    if (!std::filesystem::exists(temporaryFileDownloadPath_)) {
        // An empty body wrote nothing: the download is an empty file.
        base::OutputStream::toFile(temporaryFileDownloadPath_, false)->open();
    }
    base::Ref<base::Error> failure;
    if (isResponseCompressed() && !(allowResumeForFileDownloads_ && responseStatusCode_ == 416)) {
        if (shouldWaitToInflateCompressedResponses_) {
            DataDecompressor::uncompressDataFromFile(temporaryFileDownloadPath_, downloadDestinationPath_,
                                                     &failure);
        } else {
            std::string inflated = temporaryUncompressedDataDownloadPath_;
            if (inflated.empty()) {
                inflated = base::FileManager::uniqueTemporaryPath();
                base::OutputStream::toFile(inflated, false)->open();
            }
            if (auto ec = moveReplacing(inflated, downloadDestinationPath_))
                failure = fileError(base::str::format("Failed to move file from '%@' to '%@'", inflated,
                                                      downloadDestinationPath_),
                                    ec.value());
            temporaryUncompressedDataDownloadPath_.clear();
        }
        removeTemporaryFile(temporaryFileDownloadPath_);
        return failure;
    }
    if (!removeFileAtPath(downloadDestinationPath_, &failure))
        return failure;
    if (auto ec = moveReplacing(temporaryFileDownloadPath_, downloadDestinationPath_))
        return fileError(base::str::format("Failed to move file from '%@' to '%@'",
                                           temporaryFileDownloadPath_, downloadDestinationPath_),
                         ec.value());
    temporaryFileDownloadPath_.clear();
    return nullptr;
}

void HTTPRequest::updatePartialDownloadSize() {
    if (!allowResumeForFileDownloads_ || downloadDestinationPath_.empty() ||
        temporaryFileDownloadPath_.empty() || !std::filesystem::exists(temporaryFileDownloadPath_))
        return;
    std::error_code ec;
    auto size = std::filesystem::file_size(temporaryFileDownloadPath_, ec);
    if (ec) {
        failWithError(fileError(
            base::str::format("Failed to get attributes for file at path '%@'", temporaryFileDownloadPath_),
            ec.value()));
        return;
    }
    partialDownloadSize_ = size;
}

void HTTPRequest::removeTemporaryFile(std::string &path) {
    if (path.empty())
        return;
    base::Ref<base::Error> failure;
    if (!removeFileAtPath(path, &failure))
        failWithError(failure);
    path.clear();
}

bool HTTPRequest::removeFileAtPath(const std::string &path, base::Ref<base::Error> *error) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return true;
    if (std::filesystem::remove(path, ec))
        return true;
    if (error)
        *error = fileError(base::str::format("Failed to delete file at path '%@'", path), ec.value());
    return false;
}

// Copies and class operations.

void HTTPRequest::discardBuiltPostBody() {
    postBody_ = base::Data();
    postBodyFilePath_.clear();
    shouldStreamPostDataFromDisk_ = false;
    haveBuiltPostBody_ = false;
    postLength_ = 0;
    requestHeaders_.remove("Content-Length");
    requestHeaders_.remove("Content-Type");
}

base::Ref<HTTPRequest> HTTPRequest::makeRequestOfThisClass(const base::Url &url) const {
    return base::make<HTTPRequest>(url);
}

base::Ref<HTTPRequest> HTTPRequest::copy() const {
    auto c = makeRequestOfThisClass(url());
    copySettingsTo(*c);
    return c;
}

base::Ref<HTTPRequest> HTTPRequest::HEADRequest() const {
    auto head = makeRequestOfThisClass(url());
    std::lock_guard guard(cancelledLock_);
    HTTPRequest &h = *head;
    h.requestHeaders_ = requestHeaders_.copy();
    h.requestCookies_ = requestCookies_;
    h.useCookiePersistence_ = useCookiePersistence_;
    h.useKeychainPersistence_ = useKeychainPersistence_;
    h.useSessionPersistence_ = useSessionPersistence_;
    h.allowCompressedResponse_ = allowCompressedResponse_;
    h.username_ = username_;
    h.password_ = password_;
    h.domain_ = domain_;
    h.proxyUsername_ = proxyUsername_;
    h.proxyPassword_ = proxyPassword_;
    h.proxyDomain_ = proxyDomain_;
    h.proxyHost_ = proxyHost_;
    h.proxyPort_ = proxyPort_;
    h.proxyType_ = proxyType_;
    h.shouldPresentAuthenticationDialog_ = shouldPresentAuthenticationDialog_;
    h.shouldPresentProxyAuthenticationDialog_ = shouldPresentProxyAuthenticationDialog_;
    h.timeOutSeconds_ = timeOutSeconds_;
    h.useHTTPVersionOne_ = useHTTPVersionOne_;
    h.validatesSecureCertificate_ = validatesSecureCertificate_;
    h.clientCertificateIdentity_ = clientCertificateIdentity_;
    h.PACurl_ = PACurl_;
    h.shouldPresentCredentialsBeforeChallenge_ = shouldPresentCredentialsBeforeChallenge_;
    h.numberOfTimesToRetryOnTimeout_ = numberOfTimesToRetryOnTimeout_;
    h.shouldUseRFC2616RedirectBehaviour_ = shouldUseRFC2616RedirectBehaviour_;
    h.shouldAttemptPersistentConnection_ = shouldAttemptPersistentConnection_;
    h.persistentConnectionTimeoutSeconds_ = persistentConnectionTimeoutSeconds_;
    h.mainRequest_ = const_cast<HTTPRequest *>(this)->self<HTTPRequest>();
    h.isHEADPreRequest_ = true;
    h.requestMethod_ = "HEAD";
    return head;
}

void HTTPRequest::copySettingsTo(HTTPRequest &c) const {
    std::lock_guard guard(cancelledLock_);
    c.delegate_ = delegate_;
    c.requestMethod_ = requestMethod_;
    c.postBody_ = postBody_;
    c.shouldStreamPostDataFromDisk_ = shouldStreamPostDataFromDisk_;
    c.postBodyFilePath_ = postBodyFilePath_;
    c.requestHeaders_ = requestHeaders_.copy();
    c.requestCookies_ = requestCookies_;
    c.useCookiePersistence_ = useCookiePersistence_;
    c.useSessionPersistence_ = useSessionPersistence_;
    c.useKeychainPersistence_ = useKeychainPersistence_;
    c.allowCompressedResponse_ = allowCompressedResponse_;
    c.downloadDestinationPath_ = downloadDestinationPath_;
    c.temporaryFileDownloadPath_ = temporaryFileDownloadPath_;
    c.username_ = username_;
    c.password_ = password_;
    c.domain_ = domain_;
    c.proxyUsername_ = proxyUsername_;
    c.proxyPassword_ = proxyPassword_;
    c.proxyDomain_ = proxyDomain_;
    c.proxyHost_ = proxyHost_;
    c.proxyPort_ = proxyPort_;
    c.proxyType_ = proxyType_;
    c.uploadProgressDelegate_ = uploadProgressDelegate_;
    c.downloadProgressDelegate_ = downloadProgressDelegate_;
    c.shouldPresentAuthenticationDialog_ = shouldPresentAuthenticationDialog_;
    c.shouldPresentProxyAuthenticationDialog_ = shouldPresentProxyAuthenticationDialog_;
    c.postLength_ = postLength_;
    c.haveBuiltPostBody_ = haveBuiltPostBody_;
    c.didStartSelector_ = didStartSelector_;
    c.didFinishSelector_ = didFinishSelector_;
    c.didFailSelector_ = didFailSelector_;
    c.timeOutSeconds_ = timeOutSeconds_;
    c.shouldResetDownloadProgress_ = shouldResetDownloadProgress_;
    c.shouldResetUploadProgress_ = shouldResetUploadProgress_;
    c.showAccurateProgress_ = showAccurateProgress_;
    c.defaultResponseEncoding_ = defaultResponseEncoding_;
    c.allowResumeForFileDownloads_ = allowResumeForFileDownloads_;
    c.userInfo_ = userInfo_.copy();
    c.tag_ = tag_;
    c.useHTTPVersionOne_ = useHTTPVersionOne_;
    c.shouldRedirect_ = shouldRedirect_;
    c.validatesSecureCertificate_ = validatesSecureCertificate_;
    c.clientCertificateIdentity_ = clientCertificateIdentity_;
    c.PACurl_ = PACurl_;
    c.shouldPresentCredentialsBeforeChallenge_ = shouldPresentCredentialsBeforeChallenge_;
    c.numberOfTimesToRetryOnTimeout_ = numberOfTimesToRetryOnTimeout_;
    c.shouldUseRFC2616RedirectBehaviour_ = shouldUseRFC2616RedirectBehaviour_;
    c.shouldAttemptPersistentConnection_ = shouldAttemptPersistentConnection_;
    c.persistentConnectionTimeoutSeconds_ = persistentConnectionTimeoutSeconds_;
    c.authenticationScheme_ = authenticationScheme_;
}

std::string HTTPRequest::defaultUserAgentString() {
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.classLock);
    if (s.defaultUserAgent)
        return *s.defaultUserAgent;
    auto &bundle = base::Bundle::main();
    std::string name = bundle.info("CFBundleDisplayName").stringValue();
    if (name.empty())
        name = bundle.info("CFBundleName").stringValue();
    if (name.empty()) {
        s.defaultUserAgent = std::string();
        return {};
    }
    // The name's UTF-8 bytes, each read as one Latin-1 character.
    std::string latin = base::decode(base::Data::fromString(name), base::Encoding::Latin1).value_or(name);
    std::string shortVersion = bundle.info("CFBundleShortVersionString").stringValue();
    std::string build = bundle.info("CFBundleVersion").stringValue();
    std::string version = shortVersion.empty() ? build
                          : build.empty() || build == shortVersion
                              ? shortVersion
                              : base::str::format("%@ rv:%@", shortVersion, build);
    auto &device = ui::Device::current();
    s.defaultUserAgent =
        base::str::format("%@ %@ (%@; %@ %@; %@)", latin, version, device.model(), device.systemName(),
                          device.systemVersion(), base::Locale::current().identifier());
    return *s.defaultUserAgent;
}

void HTTPRequest::setDefaultUserAgentString(std::string agent) {
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.classLock);
    s.defaultUserAgent = std::move(agent);
}

std::string HTTPRequest::base64forData(const base::Data &data) {
    return data.base64();
}
