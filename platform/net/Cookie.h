#pragma once

#include "base/Url.h"

#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace net {

// A cookie as a server set it. `expires` is wall time (seconds since 2001-01-01 UTC); a cookie
// without one lasts for the session.
struct Cookie {
    std::string name, value, domain, path = "/";
    std::optional<double> expires;
    bool secure = false, httpOnly = false;
    // Set without a Domain attribute: sent back to that very host only.
    bool hostOnly = true;

    bool sameIdentity(const Cookie &other) const {
        return name == other.name && domain == other.domain && path == other.path;
    }
};

// One "Set-Cookie" value received from `url`; nothing when it has no name, or names a domain the
// URL's host does not belong to.
std::optional<Cookie> parseSetCookie(std::string_view text, const base::Url &url);
// Every cookie of a response's "Set-Cookie" fields that parses.
std::vector<Cookie> parseSetCookies(const std::vector<std::string> &values, const base::Url &url);

// An HTTP date ("Sun, 06 Nov 1994 08:49:37 GMT", also without the weekday or the seconds) as wall
// time; nothing when it does not match.
std::optional<double> parseHttpDate(std::string_view text);

// The process-wide cookie store, shared by every request. A cookie replaces one with the same
// name, domain and path; an expired one removes it.
class CookieStore {
public:
    static CookieStore &shared();

    void set(const std::vector<Cookie> &cookies);
    // The cookies to send to `url`, longest path first.
    std::vector<Cookie> cookiesFor(const base::Url &url) const;
    void remove(const Cookie &cookie);
    void clear();

private:
    mutable std::mutex lock_;
    std::vector<Cookie> cookies_;
};

} // namespace net
