#include "web/Fetch.h"

#include "base/Bundle.h"
#include "base/Clock.h"
#include "base/FileManager.h"
#include "base/RunLoop.h"
#include "crypto/Crypto.h"
#include "net/HttpReadStream.h"

#include <curl/curl.h>

#include <algorithm>
#include <filesystem>

namespace web {

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::string charset(const std::string &contentType) {
    std::string type = lower(contentType);
    size_t at = type.find("charset=");
    if (at == std::string::npos)
        return {};
    std::string name = type.substr(at + 8, type.find(';', at) - at - 8);
    std::erase_if(name, [](char c) { return c == '"' || c == ' '; });
    return name;
}

std::string decodedPath(const base::Url &url) {
    int length = 0;
    char *decoded = curl_easy_unescape(nullptr, url.path().data(), int(url.path().size()), &length);
    std::string path = decoded ? std::string(decoded, size_t(length)) : std::string();
    curl_free(decoded);
    return path;
}

// The canonical path of a file URL when it lies inside the bundle; empty otherwise.
std::string bundlePath(const base::Url &url) {
    std::error_code failed;
    auto root = std::filesystem::weakly_canonical(base::Bundle::main().resourcePath(), failed);
    std::string path = decodedPath(url);
    if (failed || path.empty() || path.find('\0') != std::string::npos)
        return {};
    auto file = std::filesystem::weakly_canonical(path, failed);
    if (failed)
        return {};
    auto [end, inside] = std::mismatch(root.begin(), root.end(), file.begin(), file.end());
    return end == root.end() && inside != file.end() ? file.string() : std::string();
}

std::optional<net::HttpProxy> streamProxy(const net::ProxyEntry &entry) {
    if (entry.type == net::ProxyEntry::Direct)
        return std::nullopt;
    net::HttpProxy proxy;
    proxy.host = entry.host;
    proxy.port = entry.port;
    proxy.type = entry.type == net::ProxyEntry::Https    ? net::HttpProxy::Https
                 : entry.type == net::ProxyEntry::Socks4 ? net::HttpProxy::Socks4
                 : entry.type == net::ProxyEntry::Socks5 ? net::HttpProxy::Socks5
                                                         : net::HttpProxy::Http;
    return proxy;
}

double now() {
    return base::Clock::current().monotonic();
}

} // namespace

bool Fetch::allowed(const base::Url &url) {
    if (url.scheme() == "http" || url.scheme() == "https")
        return !url.host().empty();
    return url.scheme() == "file" && !bundlePath(url).empty();
}

base::Ref<base::Error> Fetch::error(long code, std::string text) {
    return base::Error::make(URLErrorDomain, code, std::move(text));
}

base::Ref<Fetch> Fetch::start(const base::Url &url, base::Ref<net::HttpConnectionCache> cache,
                              Redirect redirect, Done done) {
    auto fetch = base::make<Fetch>();
    fetch->cache_ = std::move(cache);
    fetch->redirect_ = std::move(redirect);
    fetch->done_ = std::move(done);
    fetch->url_ = url;
    if (url.scheme() == "file") {
        base::RunLoop::main().performAfter(
            0, base::Action(fetch->weakSelf(), "readFile",
                            [f = fetch.get(), url](base::Object *) { f->readFile(url); }));
    } else if (!allowed(url)) {
        fetch->refuse();
    } else {
        fetch->request(url);
    }
    return fetch;
}

Fetch::~Fetch() {
    cancel();
}

void Fetch::cancel() {
    done_ = nullptr;
    redirect_ = nullptr;
    ++proxyWait_;
    if (idleTimer_)
        idleTimer_->invalidate();
    idleTimer_ = nullptr;
    base::RunLoop::main().cancelPerforms(this);
    releaseStream();
}

// Fails with UnsupportedUrl on the next pass: the answer never comes inside start().
void Fetch::refuse() {
    base::RunLoop::main().performAfter(0, base::Action(weakSelf(), "refuse", [this](base::Object *) {
                                           finish(nullptr, error(UnsupportedUrl, "unsupported URL"));
                                       }));
}

void Fetch::releaseStream() {
    if (!stream_)
        return;
    stream_->close();
    // This may run inside the stream's own event: it goes on the next pass, not now.
    base::RunLoop::main().performAfter(
        0, base::Action("releaseStream", [stream = std::move(stream_)](base::Object *) {}));
}

void Fetch::readFile(const base::Url &url) {
    std::string path = bundlePath(url);
    if (path.empty())
        return finish(nullptr, error(UnsupportedUrl, "file outside the bundle: " + url.absoluteString()));
    auto bytes = base::FileManager::read(path);
    if (!bytes)
        return finish(nullptr, error(FileDoesNotExist, "no file at " + url.absoluteString()));
    Result result{url, bytes->toString(), {}};
    finish(&result, nullptr);
}

void Fetch::noteActivity() {
    lastActivity_ = now();
    if (idleTimer_)
        return;
    base::Weak<Fetch> weak = weakSelf<Fetch>();
    idleTimer_ =
        base::Timer::scheduled(TimeOutSeconds, false, base::Action("checkIdle", [weak](base::Object *) {
                                   if (auto self = weak.lock())
                                       self->checkIdle();
                               }));
}

// The timer runs once per quiet spell: bytes that came meanwhile only move the deadline.
void Fetch::checkIdle() {
    idleTimer_ = nullptr;
    double idle = now() - lastActivity_;
    if (idle >= TimeOutSeconds)
        return finish(nullptr, error(TimedOut, "the request timed out"));
    base::Weak<Fetch> weak = weakSelf<Fetch>();
    idleTimer_ = base::Timer::scheduled(TimeOutSeconds - idle, false,
                                        base::Action("checkIdle", [weak](base::Object *) {
                                            if (auto self = weak.lock())
                                                self->checkIdle();
                                        }));
}

void Fetch::request(const base::Url &url) {
    url_ = url;
    body_.clear();
    noteActivity();
    if (auto recent = net::recentSystemProxiesFor(url))
        return connect(recent->empty() ? net::ProxyEntry{} : recent->front());
    base::Weak<Fetch> weak = weakSelf<Fetch>();
    unsigned wait = ++proxyWait_;
    net::systemProxiesFor(url, [weak, wait](std::optional<std::vector<net::ProxyEntry>> list) {
        base::performOnMain(
            [weak, wait, list = std::move(list)] {
                if (auto self = weak.lock())
                    self->proxiesFound(wait, list);
            },
            false);
    });
}

// A system that gives no answer at all leaves the fetch going direct.
void Fetch::proxiesFound(unsigned wait, const std::optional<std::vector<net::ProxyEntry>> &list) {
    if (wait != proxyWait_ || !done_)
        return;
    connect(list && !list->empty() ? list->front() : net::ProxyEntry{});
}

void Fetch::connect(const net::ProxyEntry &proxy) {
    const base::Url &url = *url_;
    auto message = net::HttpMessage::request("GET", url, false);
    message->setHeader("Accept-Encoding", "gzip");
    message->setHeader("Accept", "*/*");
    stream_ = base::make<net::HttpReadStream>(message);
    stream_->setConnectionCache(cache_);
    stream_->setProxy(streamProxy(proxy));
    stream_->setClient(net::HasBytesAvailable | net::ErrorOccurred | net::EndEncountered,
                       [this](net::Event event) {
                           noteActivity();
                           if (event == net::HasBytesAvailable) {
                               uint8_t buffer[16384];
                               long n;
                               while ((n = stream_->read(buffer, sizeof buffer)) > 0)
                                   body_.append(reinterpret_cast<char *>(buffer), size_t(n));
                               if (body_.size() > MaxBytes)
                                   finish(nullptr, error(ResourceTooLarge, "resource too large"));
                           } else if (event == net::EndEncountered) {
                               ended();
                           } else {
                               finish(nullptr, net::toError(stream_->error()));
                           }
                       });
    stream_->schedule(base::RunLoop::main(), base::RunLoop::Default);
    if (!stream_->open())
        refuse();
}

void Fetch::ended() {
    auto head = stream_->responseHeader();
    int status = head ? head->statusCode() : 0;
    auto location = head ? head->header("Location") : std::nullopt;
    if (status >= 300 && status < 400 && location) {
        auto next = url_->resolving(*location);
        if (!next || !allowed(*next) || next->scheme() == "file")
            return finish(nullptr, error(UnsupportedUrl, "redirect to an unsupported URL"));
        if (++redirects_ > MaxRedirects)
            return finish(nullptr, error(TooManyRedirects, "too many redirects"));
        // The caller may cancel this fetch, and so drop its callbacks, while it decides.
        auto keep = self<Fetch>();
        auto redirect = redirect_;
        if (redirect && !redirect(*next))
            return finish(nullptr, error(Cancelled, "redirect refused"));
        if (!done_)
            return;
        releaseStream();
        return request(*next);
    }
    if (status < 200 || status >= 400)
        return finish(nullptr, error(BadServerResponse, "HTTP status " + std::to_string(status)));
    std::string body = std::move(body_);
    auto encoding = head->header("Content-Encoding");
    if (encoding && lower(*encoding).find("gzip") != std::string::npos) {
        auto inflated = crypto::gunzip(body.data(), body.size(), MaxBytes);
        if (!inflated)
            return finish(nullptr, error(BadServerResponse, "body does not inflate"));
        body = inflated->toString();
    }
    std::string type = head->header("Content-Type").value_or("");
    Result result{*url_, std::move(body), charset(type)};
    finish(&result, nullptr);
}

void Fetch::finish(const Result *result, base::Ref<base::Error> error) {
    Done done = std::move(done_);
    cancel();
    if (done)
        done(result, std::move(error));
}

} // namespace web
