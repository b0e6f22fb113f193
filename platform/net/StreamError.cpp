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
    case StreamError::Network:
        switch (error.code) {
        case -1005:
            return "The network connection was lost.";
        case -1017:
            return "cannot parse response";
        case -1103:
            return "resource exceeds maximum size";
        }
        return {};
    case StreamError::OsStatus:
        return base::str::format("The operation couldn't be completed. (OSStatus error %d.)", error.code);
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
    case StreamError::Network:
        return NetworkErrorDomain;
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
