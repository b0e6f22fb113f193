#pragma once

#include "SocketAddress.h"
#include "base/Object.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace base {
class FdSource;
class RunLoop;
} // namespace base

namespace net {

// Reachability flags, with the platform's bit values.
enum ReachabilityFlag : uint32_t {
    TransientConnection = 1u << 0,
    Reachable = 1u << 1,
    ConnectionRequired = 1u << 2,
    ConnectionOnTraffic = 1u << 3,
    InterventionRequired = 1u << 4,
    ConnectionOnDemand = 1u << 5,
    IsLocalAddress = 1u << 16,
    IsDirect = 1u << 17,
    IsWWAN = 1u << 18,
};

// Whether a host or address can be reached, judged from the machine's network interfaces without
// any lookup: loopback and the machine's own addresses are local and direct, addresses on an
// attached subnet direct, anything else reachable while some non-loopback interface is up. Linux
// has no mobile network, so IsWWAN is set only by a test override.
class ReachabilityTarget : public base::Object {
public:
    // A host name or numeric address.
    static base::Ref<ReachabilityTarget> forHost(std::string host);
    // An address; 0.0.0.0 stands for the Internet at large.
    static base::Ref<ReachabilityTarget> forAddress(const SocketAddress &address);
    // The Internet at large (the zero IPv4 address).
    static base::Ref<ReachabilityTarget> forInternet() {
        return base::make<ReachabilityTarget>(std::nullopt);
    }

    explicit ReachabilityTarget(std::optional<SocketAddress> address, bool loopbackName = false)
        : address_(std::move(address)), loopbackName_(loopbackName) {}
    ~ReachabilityTarget() override;

    // The current flags; false when the interfaces cannot be read.
    bool flags(uint32_t &out) const;
    // Called on the run loop with the new flags whenever they change while the target is scheduled.
    void setCallback(std::function<void(uint32_t)> callback) { callback_ = std::move(callback); }
    // Starts watching the system's address and route changes on `loop`; false when it cannot.
    bool schedule(base::RunLoop &loop, std::string_view mode);
    void unschedule();

    // For tests: every target answers `flags` (nothing: the real answer), and scheduled targets hear
    // of the change on their next pass.
    static void overrideFlags(std::optional<uint32_t> flags);

private:
    void recheck();

    std::optional<SocketAddress> address_;
    bool loopbackName_;
    std::function<void(uint32_t)> callback_;
    base::RunLoop *loop_ = nullptr;
    base::Ref<base::FdSource> source_;
    int netlink_ = -1;
    uint32_t last_ = 0;
};

} // namespace net
