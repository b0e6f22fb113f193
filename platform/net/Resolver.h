#pragma once

#include "SocketAddress.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace base {
class RunLoop;
}

namespace net {

// The outcome of a name lookup: the addresses in the resolver's order, or the resolver's error code.
struct Resolution {
    std::vector<SocketAddress> addresses;
    int error = 0;
};

// The outcome of a lookup that needs no name server, so that a connection to it can fail at once:
// a numeric address, or a name no name server can resolve (empty, not shaped as a host name, or
// under the reserved "invalid" domain, which resolvers answer negatively without asking). Nothing
// when a name server must be asked.
std::optional<Resolution> resolveAtOnce(const std::string &host, uint16_t port);

// Asks the name servers for `host` for a TCP connection to `port` on a helper thread, so that a slow
// name server never holds the run loop, and hands the outcome to `done` on `loop`. The caller keeps
// `loop` alive.
void resolve(std::string host, uint16_t port, base::RunLoop &loop, std::function<void(Resolution)> done);

} // namespace net
