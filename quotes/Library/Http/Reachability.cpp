#include "Reachability.h"

#include "base/NotificationCenter.h"
#include "base/RunLoop.h"
#include "base/Str.h"
#include "net/SocketAddress.h"

#include <arpa/inet.h>

namespace {

constexpr const char *internetKey = "InternetConnection";
constexpr const char *localWiFiKey = "LocalWiFiConnection";

base::Ref<net::ReachabilityTarget> forIPv4(uint32_t address) {
    in_addr a{address};
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &a, text, sizeof text);
    return net::ReachabilityTarget::forAddress(*net::SocketAddress::numeric(text, 0));
}

} // namespace

base::Ref<Reachability> Reachability::reachabilityWithHostName(const std::string &host) {
    auto target = net::ReachabilityTarget::forHost(host);
    return target ? base::make<Reachability>(target, host) : nullptr;
}

base::Ref<Reachability> Reachability::reachabilityWithAddress(uint32_t address) {
    return base::make<Reachability>(forIPv4(address), makeAddressKey(address));
}

base::Ref<Reachability> Reachability::reachabilityForInternetConnection() {
    return base::make<Reachability>(forIPv4(0), internetKey);
}

base::Ref<Reachability> Reachability::reachabilityForLocalWiFi() {
    return base::make<Reachability>(forIPv4(htonl(0xA9FE0000)), localWiFiKey);
}

std::string Reachability::makeAddressKey(uint32_t address) {
    auto *b = reinterpret_cast<const uint8_t *>(&address);
    return base::str::format("%d.%d.%d.%d", b[0], b[1], b[2], b[3]);
}

Reachability::~Reachability() {
    stopNotifier();
}

bool Reachability::startNotifier() {
    base::Weak<Reachability> weak = self<Reachability>();
    target_->setCallback([weak](uint32_t) {
        if (auto self = weak.lock())
            base::NotificationCenter::shared().post(kReachabilityChangedNotification, self);
    });
    return target_->schedule(base::RunLoop::current(), base::RunLoop::Default);
}

void Reachability::stopNotifier() {
    target_->unschedule();
}

NetworkStatus Reachability::networkStatusForFlags(uint32_t flags) const {
    using namespace net;
    if (!(flags & Reachable))
        return NotReachable;
    if (key_ == localWiFiKey)
        return flags & IsDirect ? ReachableViaWiFi : NotReachable;
    if (flags & IsWWAN)
        return ReachableViaWWAN;
    const uint32_t m = flags & ~uint32_t(Reachable | IsLocalAddress | IsDirect);
    if (m == (ConnectionRequired | TransientConnection))
        return NotReachable;
    if (flags & TransientConnection)
        return ReachableViaWiFi;
    if (m == 0)
        return ReachableViaWiFi;
    return flags & ConnectionRequired ? ReachableViaWiFi : NotReachable;
}

uint32_t Reachability::reachabilityFlags() const {
    uint32_t flags = 0;
    return target_->flags(flags) ? flags : 0;
}

NetworkStatus Reachability::currentReachabilityStatus() const {
    uint32_t flags = 0;
    return target_->flags(flags) ? networkStatusForFlags(flags) : NotReachable;
}

bool Reachability::isReachable() const {
    return currentReachabilityStatus() != NotReachable;
}

bool Reachability::isConnectionRequired() const {
    return reachabilityFlags() & net::ConnectionRequired;
}

bool Reachability::isConnectionOnDemand() const {
    uint32_t f = reachabilityFlags();
    return (f & net::ConnectionRequired) && (f & (net::ConnectionOnTraffic | net::ConnectionOnDemand));
}

bool Reachability::isInterventionRequired() const {
    uint32_t f = reachabilityFlags();
    return (f & net::ConnectionRequired) && (f & net::InterventionRequired);
}
