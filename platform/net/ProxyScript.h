#pragma once

#include "ProxyResolver.h"

#include "base/Url.h"

#include <optional>
#include <string>
#include <vector>

namespace net {

// Runs a proxy auto-configuration script (its FindProxyForURL) for `url` in Duktape, with the standard
// helper functions a script may call: isPlainHostName, dnsDomainIs, localHostOrDomainIs,
// isResolvable, isInNet, dnsResolve, myIpAddress, dnsDomainLevels, shExpMatch, weekdayRange,
// dateRange and timeRange (the last three read base::Clock). A request that fetched its own script calls it
// on its network thread.
//
// The script runs in a child process so that one that never ends can be stopped: after
// `budget` real seconds of running it is killed. Answers the entries of the script's answer in order (kinds
// this client cannot use are left out), or nothing when the script failed, threw, answered something other
// than a string, or ran out of time.
std::optional<std::vector<ProxyEntry>> proxiesFromScript(const std::string &script, const base::Url &url,
                                                         double budget = 1.0);

// Reads a script's answer ("PROXY host:port; SOCKS host:port; DIRECT").
std::vector<ProxyEntry> parseScriptAnswer(std::string_view answer);

} // namespace net
