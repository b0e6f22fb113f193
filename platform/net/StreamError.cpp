#include "StreamError.h"

#include "base/Str.h"

#include <cstring>
#include <netdb.h>

namespace net {

std::string describe(StreamError error) {
    switch (error.domain) {
    case StreamError::Posix:
        return std::strerror(error.code);
    case StreamError::NetDb:
        return gai_strerror(error.code);
    default:
        return {};
    }
}

namespace {

const char *domainName(int domain) {
    switch (domain) {
    case StreamError::Posix:
        return PosixErrorDomain;
    case StreamError::OsStatus:
        return OsStatusErrorDomain;
    case StreamError::Mach:
        return MachErrorDomain;
    case StreamError::NetDb:
        return NetDbErrorDomain;
    case StreamError::NetServices:
        return "kCFStreamErrorDomainNetServices";
    case StreamError::Socks:
        return "kCFStreamErrorDomainSOCKS";
    case StreamError::SystemConfiguration:
        return "kCFStreamErrorDomainSystemConfiguration";
    case StreamError::Ssl:
        return "kCFStreamErrorDomainSSL";
    default:
        return "CFStreamError (unlisted domain)";
    }
}

} // namespace

base::Ref<base::Error> toError(StreamError error) {
    if (!error.isError())
        return nullptr;
    return base::Error::make(domainName(error.domain), error.code, describe(error));
}

} // namespace net
