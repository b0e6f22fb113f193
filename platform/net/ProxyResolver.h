#pragma once

#include "base/Url.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace net {

// One entry of the system's proxy list for a URL.
struct ProxyEntry {
    enum Type { Direct, Http, Https, Socks4, Socks5 };
    Type type = Direct;
    std::string host;
    uint16_t port = 0;
};

// Parses one answer of the system resolver ("direct://", "http://host:port", "socks5://host:port"
// …); nothing for a kind this client cannot use.
std::optional<ProxyEntry> parseProxyEntry(std::string_view text);

// The system's proxies for a URL, from libproxy: desktop settings through its plugins, else the
// proxy environment variables. It may block on lookups and script downloads, so it runs on a
// thread of its own; `done` gets the list (nothing when the system gave no answer at all) on that
// thread.
void systemProxiesFor(const base::Url &url, std::function<void(std::optional<std::vector<ProxyEntry>>)> done);

// The list systemProxiesFor gave for a URL of the same scheme, host and port less than
// `recentAnswerSeconds` (real time) ago; nothing when there is none. Lets a burst of requests to
// one server skip the resolver thread.
std::optional<std::vector<ProxyEntry>> recentSystemProxiesFor(const base::Url &url);
inline constexpr double recentAnswerSeconds = 2.0;
// Forgets the recent answers (after the settings changed).
void forgetSystemProxies();

} // namespace net
