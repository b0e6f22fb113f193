#pragma once

#include "SocketAddress.h"

#include <functional>
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

// Looks `host` up for a TCP connection to `port` on a helper thread, so that a slow name server never
// holds the run loop, and hands the outcome to `done` on `loop` (a numeric address is read at once,
// and its outcome too arrives on the loop's next pass). The caller keeps `loop` alive.
void resolve(std::string host, uint16_t port, base::RunLoop &loop, std::function<void(Resolution)> done);

} // namespace net
