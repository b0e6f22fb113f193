#pragma once

#include "Resolver.h"
#include "Stream.h"

#include <memory>
#include <string>
#include <vector>

namespace base {
class FdSource;
}

namespace net {

// The connection behind a stream pair: looks the host up, tries its addresses in turn, owns the
// native socket and its run-loop source, and passes socket events to the two streams.
class Link : public std::enable_shared_from_this<Link> {
public:
    Link(std::string host, uint16_t port) : host_(std::move(host)), port_(port) {}
    ~Link();
    Link(const Link &) = delete;
    Link &operator=(const Link &) = delete;

    void attach(const base::Ref<ReadStream> &read, const base::Ref<WriteStream> &write);
    // Starts the connection; false when it failed before a connect could be under way.
    bool open();
    void streamClosed();
    void schedule(base::RunLoop &loop, std::string_view mode);
    void unschedule(base::RunLoop &loop, std::string_view mode);
    // Watches the socket for what the streams are waiting for.
    void updateInterest();

    int fd() const { return connected_ ? fd_ : -1; }
    StreamError error() const { return error_; }
    void setError(StreamError error) { error_ = error; }

private:
    void resolved(Resolution result);
    // Connects to the first address that takes a connect; the error when none did.
    StreamError connectTo(Resolution result);
    StreamError tryNext();
    void watch();
    void onEvents(unsigned events);
    void connectFinished();
    void connected();
    void fail(StreamError error);
    // Brings streams that are still opening to the connection's outcome.
    void settle();
    void closeSocket();

    std::string host_;
    uint16_t port_;
    base::Weak<ReadStream> read_;
    base::Weak<WriteStream> write_;
    base::RunLoop *loop_ = nullptr;
    std::vector<std::string> modes_;
    base::Ref<base::FdSource> source_;
    std::vector<SocketAddress> addresses_;
    size_t next_ = 0;
    int fd_ = -1;
    int lastErrno_ = 0;
    bool started_ = false;
    bool connecting_ = false;
    bool connected_ = false;
    bool failed_ = false;
    StreamError error_;
};

} // namespace net
