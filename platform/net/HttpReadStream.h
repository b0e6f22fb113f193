#pragma once

#include "net/HttpMessage.h"
#include "net/Stream.h"
#include "net/StreamError.h"

#include "base/InputStream.h"
#include "base/Object.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace base {
class RunLoop;
}

namespace net {

class CurlMulti;

// A pool of kept-alive connections. Transfers given the same cache may reuse each other's
// connections, one thread at a time; transfers of different caches never share one. Dropping the
// last reference closes its idle connections.
class HttpConnectionCache : public base::Object {
public:
    HttpConnectionCache();
    ~HttpConnectionCache() override;
    void *handle() const { return share_; }

private:
    void *share_;
    std::mutex lock_;
};

struct HttpProxy {
    enum Type { Http, Https, Socks4, Socks5 };
    Type type = Http;
    std::string host;
    uint16_t port = 0;
};

struct HttpTlsSettings {
    // When false: any root, expired certificates and any peer name are accepted.
    bool validateChain = true;
    // A PEM file with the client certificate and its key; empty for none.
    std::string clientIdentity;
};

// One HTTP/1.x exchange: sends a request head (and a body pulled from an input stream) and reads
// the response, on libcurl. It reports HasBytesAvailable (again on each pass while received bytes
// wait, and once when the response head is complete), ErrorOccurred and EndEncountered, on the run
// loop it is scheduled on and only while scheduled; unscheduling pauses the transfer. libcurl only
// moves bytes: it follows no redirect, answers no challenge, decodes no content, uses no proxy but
// the one set here, keeps no time of its own and adds no header beyond Host and the body's framing.
//
// Errors: a refused connection as POSIX ECONNREFUSED; a connection lost or reset while receiving
// as POSIX ENOTCONN, while sending as POSIX EPIPE; nothing at all, or a body cut short, as CFNetwork
// -1005; an unreadable response as -1017; a head over 64 KB as -1103; TLS failures as OSStatus
// -9807 (certificate) or -9800 (handshake); a failed lookup in the NetDB domain. A proxy's
// refusal of a tunnel (407) is delivered as the response.
class HttpReadStream : public base::Object {
public:
    using Client = std::function<void(Event)>;
    static constexpr size_t maxHeadBytes = 64 * 1024;

    HttpReadStream(base::Ref<HttpMessage> request, base::Ref<base::InputStream> body = nullptr);
    ~HttpReadStream() override;

    void setProxy(std::optional<HttpProxy> proxy) { proxy_ = std::move(proxy); }
    void setTls(HttpTlsSettings tls) { tls_ = std::move(tls); }
    // The connections this stream may use; without one it opens its own and closes it after.
    void setConnectionCache(base::Ref<HttpConnectionCache> cache) { cache_ = std::move(cache); }

    void setClient(unsigned events, Client client);
    // `loop` must be the calling thread's loop.
    void schedule(base::RunLoop &loop, std::string_view mode);
    void unschedule(base::RunLoop &loop, std::string_view mode);
    bool isScheduled() const { return scheduled_; }

    // Starts the exchange (once scheduled); false when opened before or it cannot be set up.
    bool open();
    // Stops the exchange and all events.
    void close();
    Status status() const { return status_; }
    StreamError error() const { return error_; }

    // Up to `length` body bytes received; 0 when none wait, -1 after an error.
    long read(uint8_t *bytes, size_t length);
    bool hasBytesAvailable() const { return buffer_.size() > offset_; }
    // The response head once complete; nullptr before.
    base::Ref<HttpMessage> responseHeader() const;
    // Body bytes sent so far.
    uint64_t bodyBytesWritten() const { return bodyBytesWritten_; }

private:
    friend class CurlMulti;
    static size_t onHeader(char *data, size_t size, size_t count, void *self);
    static size_t onWrite(char *data, size_t size, size_t count, void *self);
    static size_t onRead(char *data, size_t size, size_t count, void *self);

    bool configure();
    void attach();
    void detach();
    void updatePause();
    void finished(int curlCode);
    // Delivers what is due; answers whether more is due on a later pass.
    bool deliver();

    base::Ref<HttpMessage> request_;
    base::Ref<base::InputStream> body_;
    std::optional<HttpProxy> proxy_;
    HttpTlsSettings tls_;
    base::Ref<HttpConnectionCache> cache_;
    unsigned events_ = 0;
    Client client_;

    void *easy_ = nullptr;
    void *headers_ = nullptr;
    void *proxyHeaders_ = nullptr;
    std::weak_ptr<CurlMulti> multi_;
    bool scheduled_ = false;
    bool attached_ = false;
    bool pausedForBuffer_ = false;
    bool pausedNow_ = false;
    Status status_ = Status::NotOpen;
    StreamError error_;

    base::Ref<HttpMessage> response_ = HttpMessage::response();
    // The head of a proxy's answer to CONNECT, until the tunnel stands.
    base::Ref<HttpMessage> tunnelResponse_;
    bool tunnelling_ = false;
    size_t headBytes_ = 0;
    bool headTooLarge_ = false;
    bool malformedHead_ = false;
    bool headReported_ = false;
    bool endPending_ = false;
    bool errorPending_ = false;
    std::string buffer_;
    size_t offset_ = 0;
    uint64_t bodyBytesWritten_ = 0;
};

} // namespace net
