#include "Reachability.h"

#include "base/RunLoop.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cstring>
#include <ifaddrs.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace net {

namespace {

std::optional<uint32_t> overridden;
std::vector<base::Weak<ReachabilityTarget>> scheduled;

bool isLoopback(const SocketAddress &address) {
    if (address.isIPv4())
        return (ntohl(reinterpret_cast<const sockaddr_in *>(address.get())->sin_addr.s_addr) >> 24) == 127;
    return address.isIPv6() &&
           IN6_IS_ADDR_LOOPBACK(&reinterpret_cast<const sockaddr_in6 *>(address.get())->sin6_addr);
}

// The address bytes of an IPv4 or IPv6 socket address.
std::string_view addressBytes(const sockaddr *addr) {
    if (addr->sa_family == AF_INET)
        return {reinterpret_cast<const char *>(&reinterpret_cast<const sockaddr_in *>(addr)->sin_addr), 4};
    return {reinterpret_cast<const char *>(&reinterpret_cast<const sockaddr_in6 *>(addr)->sin6_addr), 16};
}

bool sameSubnet(const sockaddr *a, const sockaddr *b, const sockaddr *mask) {
    std::string_view x = addressBytes(a), y = addressBytes(b), m = addressBytes(mask);
    for (size_t i = 0; i < x.size(); ++i)
        if ((x[i] ^ y[i]) & m[i])
            return false;
    return true;
}

// Flags from the interfaces that are up; nothing when they cannot be read.
std::optional<uint32_t> flagsFromInterfaces(const std::optional<SocketAddress> &target) {
    ifaddrs *list = nullptr;
    if (getifaddrs(&list) != 0)
        return std::nullopt;
    bool online = false;
    uint32_t flags = 0;
    for (ifaddrs *i = list; i; i = i->ifa_next) {
        if (!i->ifa_addr || !(i->ifa_flags & IFF_UP) || !(i->ifa_flags & IFF_RUNNING))
            continue;
        const int family = i->ifa_addr->sa_family;
        if (family != AF_INET && family != AF_INET6)
            continue;
        if (!(i->ifa_flags & IFF_LOOPBACK))
            online = true;
        if (!target || target->family() != family)
            continue;
        if (addressBytes(i->ifa_addr) == addressBytes(target->get()))
            flags |= Reachable | IsLocalAddress | IsDirect;
        else if (i->ifa_netmask && !(i->ifa_flags & IFF_LOOPBACK) &&
                 sameSubnet(i->ifa_addr, target->get(), i->ifa_netmask))
            flags |= Reachable | IsDirect;
    }
    freeifaddrs(list);
    return flags ? flags : (online ? uint32_t(Reachable) : 0u);
}

} // namespace

base::Ref<ReachabilityTarget> ReachabilityTarget::forHost(std::string host) {
    if (auto address = SocketAddress::numeric(host, 0))
        return forAddress(*address);
    return base::make<ReachabilityTarget>(std::nullopt, host == "localhost");
}

base::Ref<ReachabilityTarget> ReachabilityTarget::forAddress(const SocketAddress &address) {
    return base::make<ReachabilityTarget>(address.isAny() ? std::nullopt : std::optional(address));
}

ReachabilityTarget::~ReachabilityTarget() {
    unschedule();
}

bool ReachabilityTarget::flags(uint32_t &out) const {
    if (overridden) {
        out = *overridden;
        return true;
    }
    if (loopbackName_ || (address_ && isLoopback(*address_))) {
        out = Reachable | IsLocalAddress | IsDirect;
        return true;
    }
    auto flags = flagsFromInterfaces(address_);
    out = flags.value_or(0);
    return flags.has_value();
}

bool ReachabilityTarget::schedule(base::RunLoop &loop, std::string_view mode) {
    if (!source_) {
        netlink_ = socket(AF_NETLINK, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, NETLINK_ROUTE);
        sockaddr_nl addr{};
        addr.nl_family = AF_NETLINK;
        addr.nl_groups =
            RTMGRP_LINK | RTMGRP_IPV4_IFADDR | RTMGRP_IPV6_IFADDR | RTMGRP_IPV4_ROUTE | RTMGRP_IPV6_ROUTE;
        if (netlink_ < 0 || bind(netlink_, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
            unschedule();
            return false;
        }
        source_ = base::make<base::FdSource>(netlink_, base::FdSource::Read,
                                             [weak = weakSelf<ReachabilityTarget>()](unsigned) {
                                                 if (auto target = weak.lock())
                                                     target->recheck();
                                             });
        loop_ = &loop;
        flags(last_);
        scheduled.push_back(weakSelf<ReachabilityTarget>());
    }
    loop.addSource(source_, {std::string(mode)});
    return true;
}

void ReachabilityTarget::unschedule() {
    if (source_)
        loop_->removeSource(*source_);
    source_.reset();
    if (netlink_ >= 0)
        ::close(netlink_);
    netlink_ = -1;
    loop_ = nullptr;
    std::erase_if(scheduled, [this](const auto &weak) {
        auto target = weak.lock();
        return !target || target.get() == this;
    });
}

void ReachabilityTarget::recheck() {
    char drain[8192];
    while (netlink_ >= 0 && recv(netlink_, drain, sizeof drain, MSG_DONTWAIT) > 0) {
    }
    uint32_t now = 0;
    flags(now);
    if (now == last_)
        return;
    last_ = now;
    auto keep = self();
    if (auto callback = callback_)
        callback(now);
}

void ReachabilityTarget::overrideFlags(std::optional<uint32_t> flags) {
    overridden = flags;
    for (const auto &weak : scheduled) {
        auto target = weak.lock();
        if (target && target->loop_)
            target->loop_->post([weak] {
                if (auto target = weak.lock())
                    target->recheck();
            });
    }
}

} // namespace net
