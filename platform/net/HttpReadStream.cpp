#include "net/HttpReadStream.h"

#include "base/RunLoop.h"
#include "base/Timer.h"

#include <curl/curl.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <map>
#include <memory>
#include <netdb.h>
#include <vector>

namespace net {

namespace {

// Received body bytes held before the transfer is paused until the client reads.
constexpr size_t bufferHighWater = 1 << 20;

void initCurl() {
    static const bool done = [] {
        curl_global_init(CURL_GLOBAL_DEFAULT);
        return true;
    }();
    (void)done;
}

} // namespace

// One libcurl multi handle per thread (and so per run loop). Its sockets are FdSources and its
// timer a Timer on that loop, in every mode a transfer was scheduled in.
class CurlMulti {
public:
    // The calling thread's multi handle, made on first use and gone with the thread.
    static std::shared_ptr<CurlMulti> current() {
        thread_local std::shared_ptr<CurlMulti> multi;
        if (!multi)
            multi.reset(new CurlMulti(base::RunLoop::current()));
        return multi;
    }

    ~CurlMulti() {
        if (timer_)
            timer_->invalidate();
        for (auto &[fd, source] : sources_)
            loop_.removeSource(*source);
        curl_multi_cleanup(multi_);
    }

    CURLM *handle() const { return multi_; }
    base::RunLoop &loop() const { return loop_; }

    void addMode(std::string_view mode) {
        if (std::find(modes_.begin(), modes_.end(), mode) != modes_.end())
            return;
        modes_.emplace_back(mode);
        for (auto &[fd, source] : sources_)
            loop_.addSource(source, {std::string(mode)});
        if (timer_)
            loop_.addTimer(timer_, mode);
    }

    // Streams scheduled here hear of their events until forgotten.
    // An idle stream may be let go on another thread (a kept-alive connection taken over).
    void track(HttpReadStream *stream) {
        forget(stream);
        std::lock_guard guard(streamsLock_);
        streams_.push_back(stream->weak_from_this());
    }
    void forget(HttpReadStream *stream) {
        std::lock_guard guard(streamsLock_);
        std::erase_if(streams_, [&](const base::Weak<base::Object> &w) {
            auto s = w.lock();
            return !s || s.get() == stream;
        });
    }
    void add(HttpReadStream *stream) { curl_multi_add_handle(multi_, stream->easy_); }
    void remove(HttpReadStream *stream) { curl_multi_remove_handle(multi_, stream->easy_); }

    // Delivers due events on the next pass (after a client action outside curl's callbacks).
    void deliverSoon() {
        if (deliverQueued_)
            return;
        deliverQueued_ = true;
        loop_.performAfter(0,
                           base::Action("deliverHttpEvents",
                                        [this](base::Object *) {
                                            deliverQueued_ = false;
                                            deliverAll();
                                        }),
                           modes_);
    }

    void deliverAll() {
        std::vector<base::Ref<base::Object>> live;
        {
            std::lock_guard guard(streamsLock_);
            for (auto &w : streams_)
                if (auto s = w.lock())
                    live.push_back(std::move(s));
        }
        bool more = false;
        for (auto &s : live)
            more |= static_cast<HttpReadStream *>(s.get())->deliver();
        if (more)
            deliverSoon();
    }

private:
    explicit CurlMulti(base::RunLoop &loop) : loop_(loop) {
        initCurl();
        multi_ = curl_multi_init();
        curl_multi_setopt(multi_, CURLMOPT_SOCKETFUNCTION, &CurlMulti::onSocket);
        curl_multi_setopt(multi_, CURLMOPT_SOCKETDATA, this);
        curl_multi_setopt(multi_, CURLMOPT_TIMERFUNCTION, &CurlMulti::onTimer);
        curl_multi_setopt(multi_, CURLMOPT_TIMERDATA, this);
    }

    static int onSocket(CURL *, curl_socket_t fd, int what, void *self, void *) {
        auto *m = static_cast<CurlMulti *>(self);
        auto it = m->sources_.find(fd);
        if (what == CURL_POLL_REMOVE) {
            if (it != m->sources_.end()) {
                m->loop_.removeSource(*it->second);
                m->sources_.erase(it);
            }
            return 0;
        }
        unsigned interest = (what & CURL_POLL_IN ? base::FdSource::Read : 0u) |
                            (what & CURL_POLL_OUT ? base::FdSource::Write : 0u);
        if (it != m->sources_.end()) {
            it->second->setInterest(interest);
            return 0;
        }
        auto source = std::make_shared<base::FdSource>(fd, interest, [m, fd](unsigned events) {
            int mask = (events & base::FdSource::Read ? CURL_CSELECT_IN : 0) |
                       (events & base::FdSource::Write ? CURL_CSELECT_OUT : 0) |
                       (events & (base::FdSource::Error | base::FdSource::HangUp) ? CURL_CSELECT_ERR : 0);
            m->drive(fd, mask);
        });
        m->sources_[fd] = source;
        m->loop_.addSource(source, m->modes_);
        return 0;
    }

    static int onTimer(CURLM *, long timeoutMs, void *self) {
        auto *m = static_cast<CurlMulti *>(self);
        if (m->timer_)
            m->timer_->invalidate();
        m->timer_.reset();
        const uint64_t generation = ++m->timerGeneration_;
        if (timeoutMs < 0)
            return 0;
        if (timeoutMs == 0) {
            // "As soon as possible" is the next pass, whatever the clock says.
            m->loop_.performAfter(0,
                                  base::Action("curlTimeout",
                                               [m, generation](base::Object *) {
                                                   if (generation == m->timerGeneration_)
                                                       m->drive(CURL_SOCKET_TIMEOUT, 0);
                                               }),
                                  m->modes_);
            return 0;
        }
        m->timer_ = base::Timer::make(double(timeoutMs) / 1000.0, false,
                                      base::Action("curlTimeout", [m](base::Object *) {
                                          m->timer_.reset();
                                          m->drive(CURL_SOCKET_TIMEOUT, 0);
                                      }));
        for (auto &mode : m->modes_)
            m->loop_.addTimer(m->timer_, mode);
        return 0;
    }

    void drive(curl_socket_t fd, int mask) {
        int running = 0;
        curl_multi_socket_action(multi_, fd, mask, &running);
        int left = 0;
        while (CURLMsg *msg = curl_multi_info_read(multi_, &left)) {
            if (msg->msg != CURLMSG_DONE)
                continue;
            HttpReadStream *stream = nullptr;
            curl_easy_getinfo(msg->easy_handle, CURLINFO_PRIVATE, &stream);
            if (stream)
                stream->finished(msg->data.result);
        }
        deliverAll();
    }

    base::RunLoop &loop_;
    CURLM *multi_;
    std::vector<std::string> modes_;
    std::map<curl_socket_t, base::Ref<base::FdSource>> sources_;
    base::Ref<base::Timer> timer_;
    uint64_t timerGeneration_ = 0;
    std::mutex streamsLock_;
    std::vector<base::Weak<base::Object>> streams_;
    bool deliverQueued_ = false;
};

HttpConnectionCache::HttpConnectionCache() {
    initCurl();
    CURLSH *share = curl_share_init();
    curl_share_setopt(share, CURLSHOPT_SHARE, CURL_LOCK_DATA_CONNECT);
    curl_share_setopt(share, CURLSHOPT_USERDATA, this);
    curl_share_setopt(
        share, CURLSHOPT_LOCKFUNC, +[](CURL *, curl_lock_data, curl_lock_access, void *self) {
            static_cast<HttpConnectionCache *>(self)->lock_.lock();
        });
    curl_share_setopt(
        share, CURLSHOPT_UNLOCKFUNC, +[](CURL *, curl_lock_data, void *self) {
            static_cast<HttpConnectionCache *>(self)->lock_.unlock();
        });
    share_ = share;
}

HttpConnectionCache::~HttpConnectionCache() {
    curl_share_cleanup(static_cast<CURLSH *>(share_));
}

HttpReadStream::HttpReadStream(base::Ref<HttpMessage> request, base::Ref<base::InputStream> body)
    : request_(std::move(request)), body_(std::move(body)) {}

HttpReadStream::~HttpReadStream() {
    detach();
    if (easy_)
        curl_easy_cleanup(static_cast<CURL *>(easy_));
    curl_slist_free_all(static_cast<curl_slist *>(headers_));
    curl_slist_free_all(static_cast<curl_slist *>(proxyHeaders_));
}

void HttpReadStream::setClient(unsigned events, Client client) {
    events_ = client ? events : 0;
    client_ = std::move(client);
}

void HttpReadStream::schedule(base::RunLoop &loop, std::string_view mode) {
    auto multi = CurlMulti::current();
    if (&multi->loop() != &loop)
        return;
    multi_ = multi;
    multi->addMode(mode);
    multi->track(this);
    scheduled_ = true;
    attach();
    updatePause();
    multi->deliverSoon();
}

void HttpReadStream::unschedule(base::RunLoop &, std::string_view) {
    scheduled_ = false;
    updatePause();
}

bool HttpReadStream::open() {
    if (status_ != Status::NotOpen)
        return false;
    initCurl();
    if (!request_ || !request_->url() || !configure()) {
        status_ = Status::Error;
        return false;
    }
    if (body_ && !body_->open()) {
        status_ = Status::Error;
        error_ = {StreamError::Posix, body_->errorCode()};
        return false;
    }
    status_ = Status::Open;
    attach();
    return true;
}

void HttpReadStream::close() {
    detach();
    if (auto multi = multi_.lock())
        multi->forget(this);
    if (status_ != Status::NotOpen)
        status_ = Status::Closed;
    client_ = nullptr;
    events_ = 0;
    if (body_)
        body_->close();
}

long HttpReadStream::read(uint8_t *bytes, size_t length) {
    if (status_ == Status::Error)
        return -1;
    size_t n = std::min(length, buffer_.size() - offset_);
    std::memcpy(bytes, buffer_.data() + offset_, n);
    offset_ += n;
    if (offset_ == buffer_.size()) {
        buffer_.clear();
        offset_ = 0;
    } else if (offset_ > bufferHighWater && offset_ * 2 > buffer_.size()) {
        // Compacted only once the consumed part outweighs the rest: each byte moves at most once.
        buffer_.erase(0, offset_);
        offset_ = 0;
    }
    if (pausedForBuffer_ && buffer_.size() - offset_ < bufferHighWater / 2) {
        pausedForBuffer_ = false;
        updatePause();
    }
    if (endPending_ && !hasBytesAvailable())
        if (auto multi = multi_.lock())
            multi->deliverSoon();
    return long(n);
}

base::Ref<HttpMessage> HttpReadStream::responseHeader() const {
    return response_->headerComplete() ? response_ : nullptr;
}

bool HttpReadStream::configure() {
    CURL *easy = curl_easy_init();
    if (!easy)
        return false;
    easy_ = easy;
    const base::Url &url = *request_->url();
    const std::string &method = request_->method();
    curl_easy_setopt(easy, CURLOPT_PRIVATE, this);
    curl_easy_setopt(easy, CURLOPT_URL, url.withoutCredentials().c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION,
                     request_->version() == "HTTP/1.0" ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
    curl_easy_setopt(easy, CURLOPT_HTTP_CONTENT_DECODING, 0L);
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, 128L * 1024);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &HttpReadStream::onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &HttpReadStream::onWrite);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);

    // The body's length comes from our own "Content-Length"; libcurl writes the framing itself.
    std::optional<long long> length;
    if (auto declared = request_->header("Content-Length")) {
        long long n = 0;
        auto [end, ec] = std::from_chars(declared->data(), declared->data() + declared->size(), n);
        if (ec == std::errc() && end == declared->data() + declared->size())
            length = n;
    }
    if (method == "HEAD") {
        curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
    } else if (body_) {
        curl_easy_setopt(easy, CURLOPT_POST, 1L);
        curl_easy_setopt(easy, CURLOPT_READFUNCTION, &HttpReadStream::onRead);
        curl_easy_setopt(easy, CURLOPT_READDATA, this);
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(length.value_or(-1)));
        if (method != "POST")
            curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, method.c_str());
    } else if (method != "GET") {
        curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, method.c_str());
    }

    // "Proxy-Authorization" is for an HTTP proxy only: inside a tunnel it goes with CONNECT and
    // never reaches the server.
    const bool httpProxy = proxy_ && (proxy_->type == HttpProxy::Http || proxy_->type == HttpProxy::Https);
    tunnelling_ = httpProxy && url.scheme() == "https";
    curl_slist *list = nullptr, *proxyList = nullptr;
    for (auto &[name, value] : request_->headerFields()) {
        if (sameHeaderName(name, "Content-Length") || sameHeaderName(name, "Transfer-Encoding"))
            continue;
        // "Name;" sends a field with an empty value; "Name:" would remove it.
        std::string line = value.empty() ? name + ";" : name + ": " + value;
        if (!sameHeaderName(name, "Proxy-Authorization"))
            list = curl_slist_append(list, line.c_str());
        else if (tunnelling_)
            proxyList = curl_slist_append(proxyList, line.c_str());
        else if (httpProxy)
            list = curl_slist_append(list, line.c_str());
    }
    proxyHeaders_ = proxyList;
    curl_easy_setopt(easy, CURLOPT_HEADEROPT, CURLHEADER_SEPARATE);
    curl_easy_setopt(easy, CURLOPT_PROXYHEADER, proxyList);
    for (const char *unwanted : {"Accept", "Expect", "Content-Type"})
        if (!request_->header(unwanted))
            list = curl_slist_append(list, (std::string(unwanted) + ":").c_str());
    headers_ = list;
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, list);

    if (proxy_) {
        static constexpr long types[] = {CURLPROXY_HTTP, CURLPROXY_HTTPS, CURLPROXY_SOCKS4A,
                                         CURLPROXY_SOCKS5_HOSTNAME};
        curl_easy_setopt(easy, CURLOPT_PROXY, proxy_->host.c_str());
        curl_easy_setopt(easy, CURLOPT_PROXYPORT, long(proxy_->port));
        curl_easy_setopt(easy, CURLOPT_PROXYTYPE, types[proxy_->type]);
    } else {
        curl_easy_setopt(easy, CURLOPT_PROXY, "");
    }
    if (!tls_.validateChain) {
        curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 0L);
        curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 0L);
    }
    if (!tls_.clientIdentity.empty()) {
        curl_easy_setopt(easy, CURLOPT_SSLCERT, tls_.clientIdentity.c_str());
        curl_easy_setopt(easy, CURLOPT_SSLKEY, tls_.clientIdentity.c_str());
    }
    if (cache_) {
        curl_easy_setopt(easy, CURLOPT_SHARE, cache_->handle());
    } else {
        curl_easy_setopt(easy, CURLOPT_FRESH_CONNECT, 1L);
        curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    }
    return true;
}

void HttpReadStream::attach() {
    auto multi = multi_.lock();
    if (attached_ || !multi || !scheduled_ || status_ != Status::Open || !easy_)
        return;
    attached_ = true;
    multi->add(this);
}

void HttpReadStream::detach() {
    if (!attached_)
        return;
    attached_ = false;
    pausedNow_ = false;
    if (auto multi = multi_.lock())
        multi->remove(this);
}

void HttpReadStream::updatePause() {
    if (!attached_)
        return;
    bool pause = !scheduled_ || pausedForBuffer_;
    if (pause == pausedNow_)
        return;
    pausedNow_ = pause;
    curl_easy_pause(static_cast<CURL *>(easy_), pause ? CURLPAUSE_ALL : CURLPAUSE_CONT);
}

size_t HttpReadStream::onHeader(char *data, size_t size, size_t count, void *self) {
    auto *s = static_cast<HttpReadStream *>(self);
    size_t n = size * count;
    s->headBytes_ += n;
    if (s->headBytes_ > maxHeadBytes) {
        s->headTooLarge_ = true;
        return 0;
    }
    std::string_view line(data, n);
    // Before the tunnel stands, lines are the proxy's answer to CONNECT.
    if (s->tunnelling_) {
        if (!s->tunnelResponse_ || line.starts_with("HTTP/"))
            s->tunnelResponse_ = s->tunnelResponse_ ? s->tunnelResponse_ : HttpMessage::response();
        s->tunnelResponse_->addResponseLine(line);
        if (s->tunnelResponse_->headerComplete() && s->tunnelResponse_->statusCode() / 100 == 2) {
            s->tunnelling_ = false;
            s->headBytes_ = 0;
        }
        return n;
    }
    // Fields after a chunked body (trailers) end the message, not its head: they are dropped.
    if (s->response_->headerComplete())
        return n;
    if (!s->response_->addResponseLine(line)) {
        s->malformedHead_ = true;
        return 0;
    }
    if (s->response_->headerComplete()) {
        // An interim answer (100 Continue) is followed by the real one.
        if (s->response_->statusCode() / 100 == 1)
            s->response_ = HttpMessage::response();
        s->headBytes_ = 0;
    }
    return n;
}

size_t HttpReadStream::onWrite(char *data, size_t size, size_t count, void *self) {
    auto *s = static_cast<HttpReadStream *>(self);
    size_t n = size * count;
    if (s->buffer_.size() - s->offset_ >= bufferHighWater) {
        s->pausedForBuffer_ = true;
        s->pausedNow_ = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    s->buffer_.append(data, n);
    return n;
}

size_t HttpReadStream::onRead(char *data, size_t size, size_t count, void *self) {
    auto *s = static_cast<HttpReadStream *>(self);
    long n = s->body_->read(reinterpret_cast<uint8_t *>(data), size * count);
    if (n < 0)
        return CURL_READFUNC_ABORT;
    s->bodyBytesWritten_ += uint64_t(n);
    return size_t(n);
}

void HttpReadStream::finished(int curlCode) {
    CURL *easy = static_cast<CURL *>(easy_);
    auto code = CURLcode(curlCode);
    detach();
    if (code == CURLE_OK) {
        endPending_ = true;
        return;
    }
    long connectCode = 0;
    curl_easy_getinfo(easy, CURLINFO_HTTP_CONNECTCODE, &connectCode);
    if (tunnelResponse_ && tunnelResponse_->headerComplete() && connectCode / 100 != 2) {
        // A proxy that refuses the tunnel has answered: its head is the response.
        response_ = tunnelResponse_;
        buffer_.clear();
        offset_ = 0;
        endPending_ = true;
        return;
    }
    long osErrno = 0;
    curl_easy_getinfo(easy, CURLINFO_OS_ERRNO, &osErrno);
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        error_ = {StreamError::NetDb, EAI_NONAME};
        break;
    case CURLE_COULDNT_CONNECT:
        error_ = {StreamError::Posix, osErrno ? int(osErrno) : ECONNREFUSED};
        break;
    case CURLE_SEND_ERROR:
        error_ = {StreamError::Posix, EPIPE};
        break;
    case CURLE_RECV_ERROR:
        error_ = {StreamError::Posix, ENOTCONN};
        break;
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
        error_ = {StreamError::Network, -1005};
        break;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        error_ = {StreamError::OsStatus, -9807};
        break;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_ENGINE_NOTFOUND:
        error_ = {StreamError::OsStatus, -9800};
        break;
    case CURLE_READ_ERROR:
    case CURLE_ABORTED_BY_CALLBACK:
        error_ = {StreamError::Posix, body_ && body_->errorCode() ? body_->errorCode() : EIO};
        break;
    case CURLE_WRITE_ERROR:
        error_ = headTooLarge_ ? StreamError{StreamError::Network, -1103}
                               : StreamError{StreamError::Network, -1017};
        break;
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_UNSUPPORTED_PROTOCOL:
        error_ = {StreamError::Network, -1017};
        break;
    default:
        error_ = {StreamError::Posix, osErrno ? int(osErrno) : EIO};
        break;
    }
    if (malformedHead_)
        error_ = {StreamError::Network, -1017};
    errorPending_ = true;
}

bool HttpReadStream::deliver() {
    if (!scheduled_ || !client_)
        return false;
    base::Ref<base::Object> keep = shared_from_this();
    if (errorPending_) {
        errorPending_ = false;
        status_ = Status::Error;
        buffer_.clear();
        offset_ = 0;
        if (events_ & ErrorOccurred)
            client_(ErrorOccurred);
        return false;
    }
    bool headNew = response_->headerComplete() && !headReported_;
    if (hasBytesAvailable() || (headNew && !endPending_)) {
        headReported_ = true;
        if (events_ & HasBytesAvailable)
            client_(HasBytesAvailable);
        return scheduled_ && client_ && (hasBytesAvailable() || endPending_);
    }
    if (endPending_) {
        endPending_ = false;
        status_ = Status::AtEnd;
        if (events_ & EndEncountered)
            client_(EndEncountered);
    }
    return false;
}

} // namespace net
