#pragma once

#include "base/Error.h"

#include <string>

namespace net {

// The last error of a stream: a domain and a code within it.
struct StreamError {
    enum Domain : int {
        None = 0,
        Posix = 1,
        OsStatus = 2,
        Mach = 11,
        NetDb = 12,
        NetServices = 13,
        Socks = 14,
        SystemConfiguration = 15,
        Ssl = 16,
        // CFNetwork's own codes: -1005 connection lost, -1017 unreadable response, -1103 too large.
        Network = 17,
    };
    int domain = None;
    int code = 0;

    bool isError() const { return domain != None || code != 0; }
    bool operator==(const StreamError &) const = default;
};

inline constexpr const char *PosixErrorDomain = "NSPOSIXErrorDomain";
inline constexpr const char *OsStatusErrorDomain = "NSOSStatusErrorDomain";
inline constexpr const char *MachErrorDomain = "NSMachErrorDomain";
inline constexpr const char *NetDbErrorDomain = "kCFStreamErrorDomainNetDB";
inline constexpr const char *NetworkErrorDomain = "kCFErrorDomainCFNetwork";

// The error's text: the system's message for a POSIX code, the resolver's for a NetDB code.
std::string describe(StreamError error);
// The error object for a stream error; nothing when both domain and code are 0.
base::Ref<base::Error> toError(StreamError error);

} // namespace net
