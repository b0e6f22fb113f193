#pragma once

#include "base/Object.h"
#include "net/Reachability.h"

#include <cstdint>
#include <string>

// The name of the notification posted, with the Reachability object, whenever what it watches
// changes.
inline constexpr const char *kReachabilityChangedNotification = "NetworkReachabilityChangedNotification";

enum NetworkStatus { NotReachable = 0, ReachableViaWWAN = 1, ReachableViaWiFi = 2 };

// Whether a host, an address, the Internet or the local Wi-Fi network can be reached and by which
// kind of network. The HTTP client uses it for its mobile-network bandwidth limit.
class Reachability : public base::Object {
public:
    static base::Ref<Reachability> reachabilityWithHostName(const std::string &host);
    // An IPv4 address in network byte order.
    static base::Ref<Reachability> reachabilityWithAddress(uint32_t address);
    static base::Ref<Reachability> reachabilityForInternetConnection();
    static base::Ref<Reachability> reachabilityForLocalWiFi();
    // "%d.%d.%d.%d" of an address in network byte order, first byte first.
    static std::string makeAddressKey(uint32_t address);

    Reachability(base::Ref<net::ReachabilityTarget> target, std::string key)
        : target_(std::move(target)), key_(std::move(key)) {}
    ~Reachability() override;

    // Posts kReachabilityChangedNotification on the current thread's run loop at each change.
    bool startNotifier();
    void stopNotifier();

    NetworkStatus networkStatusForFlags(uint32_t flags) const;
    NetworkStatus currentReachabilityStatus() const;
    bool isReachable() const;
    bool isReachableViaWWAN() const { return currentReachabilityStatus() == ReachableViaWWAN; }
    bool isReachableViaWiFi() const { return currentReachabilityStatus() == ReachableViaWiFi; }
    bool isConnectionRequired() const;
    bool isConnectionOnDemand() const;
    bool isInterventionRequired() const;
    // 0 when the flags cannot be read.
    uint32_t reachabilityFlags() const;

    const std::string &key() const { return key_; }
    void setKey(std::string key) { key_ = std::move(key); }
    bool isEqual(const Reachability &other) const { return key_ == other.key_; }

private:
    base::Ref<net::ReachabilityTarget> target_;
    std::string key_;
};
