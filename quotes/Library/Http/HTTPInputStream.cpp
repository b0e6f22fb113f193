#include "HTTPInputStream.h"

#include "HTTPRequest.h"

#include <mutex>

namespace {
std::mutex readLock;
}

base::Ref<HTTPInputStream> HTTPInputStream::inputStreamWithFileAtPath(const std::string &path,
                                                                      const base::Ref<HTTPRequest> &request) {
    return base::make<HTTPInputStream>(base::InputStream::withFile(path), request);
}

base::Ref<HTTPInputStream> HTTPInputStream::inputStreamWithData(const base::Data &data,
                                                                const base::Ref<HTTPRequest> &request) {
    return base::make<HTTPInputStream>(base::InputStream::withData(data), request);
}

long HTTPInputStream::read(uint8_t *bytes, size_t length) {
    {
        std::lock_guard guard(readLock);
        if (HTTPRequest::isBandwidthThrottled()) {
            unsigned long allowance = HTTPRequest::maxUploadReadLength();
            if (allowance <= length)
                length = allowance > 0 ? allowance : 1;
            if (auto request = request_.lock())
                request->performThrottling();
        }
    }
    long n = stream_->read(bytes, length);
    if (n > 0)
        HTTPRequest::incrementBandwidthUsedInLastSecond((unsigned long)n);
    error_ = stream_->errorCode();
    return n;
}
