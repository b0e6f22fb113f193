#pragma once

#include "base/Data.h"
#include "base/InputStream.h"

#include <string>

class HTTPRequest;

// The body stream of a request that sends a body: a file or a block in memory whose reads pass
// through the client's bandwidth accounting and, while throttling is on, are shortened to the
// allowance of the moment (1 byte when none is left).
class HTTPInputStream : public base::InputStream {
public:
    static base::Ref<HTTPInputStream> inputStreamWithFileAtPath(const std::string &path,
                                                                const base::Ref<HTTPRequest> &request);
    static base::Ref<HTTPInputStream> inputStreamWithData(const base::Data &data,
                                                          const base::Ref<HTTPRequest> &request);

    HTTPInputStream(base::Ref<base::InputStream> stream, base::Weak<HTTPRequest> request)
        : stream_(std::move(stream)), request_(std::move(request)) {}

    bool open() override { return stream_->open(); }
    void close() override { stream_->close(); }
    long read(uint8_t *bytes, size_t length) override;
    bool failed() const override { return stream_->failed(); }

private:
    base::Ref<base::InputStream> stream_;
    base::Weak<HTTPRequest> request_;
};
