#include "net/Cookie.h"

#include "base/Clock.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <ctime>

namespace net {

namespace {

constexpr double referenceSince1970 = 978307200.0;

std::string_view trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

std::string lower(std::string_view text) {
    std::string out(text);
    for (char &c : out)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool domainMatches(const std::string &host, const std::string &domain) {
    return host == domain || (host.size() > domain.size() && host.ends_with(domain) &&
                              host[host.size() - domain.size() - 1] == '.');
}

// "/a/b/c" gives "/a/b"; the default path of a cookie set from that page.
std::string defaultPath(const std::string &path) {
    auto slash = path.rfind('/');
    if (path.empty() || path.front() != '/' || slash == 0 || slash == std::string::npos)
        return "/";
    return path.substr(0, slash);
}

bool pathMatches(const std::string &requestPath, const std::string &cookiePath) {
    if (!requestPath.starts_with(cookiePath))
        return false;
    return requestPath.size() == cookiePath.size() || cookiePath.ends_with('/') ||
           requestPath[cookiePath.size()] == '/';
}

} // namespace

std::optional<double> parseHttpDate(std::string_view text) {
    std::string s(trim(text));
    const bool weekday = s.find(',') != std::string::npos;
    const bool seconds = std::count(s.begin(), s.end(), ':') == 2;
    std::string format = std::string(weekday ? "%a, " : "") + "%d %b %Y %H:%M" + (seconds ? ":%S" : "") + " ";
    std::tm tm{};
    const char *end = strptime(s.c_str(), format.c_str(), &tm);
    if (!end)
        return std::nullopt;
    std::string zone(trim(end));
    if (zone != "GMT" && zone != "UTC" && zone != "Z")
        return std::nullopt;
    return double(timegm(&tm)) - referenceSince1970;
}

std::optional<Cookie> parseSetCookie(std::string_view text, const base::Url &url) {
    std::string_view first = text.substr(0, text.find(';'));
    auto equals = first.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    Cookie cookie;
    cookie.name = std::string(trim(first.substr(0, equals)));
    cookie.value = std::string(trim(first.substr(equals + 1)));
    if (cookie.name.empty())
        return std::nullopt;
    const std::string host = lower(url.host());
    cookie.domain = host;
    cookie.path = defaultPath(url.path());
    std::optional<double> maxAgeExpiry;
    size_t at = first.size();
    while (at < text.size()) {
        std::string_view rest = text.substr(at + 1);
        size_t next = rest.find(';');
        std::string_view attribute = rest.substr(0, next);
        at = next == std::string_view::npos ? text.size() : at + 1 + next;
        auto eq = attribute.find('=');
        std::string key = lower(trim(attribute.substr(0, eq)));
        std::string_view value =
            eq == std::string_view::npos ? std::string_view() : trim(attribute.substr(eq + 1));
        if (key == "domain" && !value.empty()) {
            std::string domain = lower(value.front() == '.' ? value.substr(1) : value);
            if (!domainMatches(host, domain))
                return std::nullopt;
            cookie.domain = domain;
            cookie.hostOnly = false;
        } else if (key == "path" && !value.empty() && value.front() == '/') {
            cookie.path = std::string(value);
        } else if (key == "expires") {
            if (auto date = parseHttpDate(value))
                cookie.expires = *date;
        } else if (key == "max-age") {
            long seconds = 0;
            auto [p, ec] = std::from_chars(value.data(), value.data() + value.size(), seconds);
            if (ec == std::errc() && p == value.data() + value.size())
                maxAgeExpiry = base::Clock::current().now() + double(seconds);
        } else if (key == "secure") {
            cookie.secure = true;
        } else if (key == "httponly") {
            cookie.httpOnly = true;
        }
    }
    if (maxAgeExpiry)
        cookie.expires = maxAgeExpiry;
    return cookie;
}

std::vector<Cookie> parseSetCookies(const std::vector<std::string> &values, const base::Url &url) {
    std::vector<Cookie> out;
    for (auto &value : values)
        if (auto cookie = parseSetCookie(value, url))
            out.push_back(std::move(*cookie));
    return out;
}

CookieStore &CookieStore::shared() {
    static CookieStore *store = new CookieStore;
    return *store;
}

void CookieStore::set(const std::vector<Cookie> &cookies) {
    const double now = base::Clock::current().now();
    std::lock_guard guard(lock_);
    for (auto &cookie : cookies) {
        std::erase_if(cookies_, [&](const Cookie &c) { return c.sameIdentity(cookie); });
        if (!cookie.expires || *cookie.expires > now)
            cookies_.push_back(cookie);
    }
}

std::vector<Cookie> CookieStore::cookiesFor(const base::Url &url) const {
    const double now = base::Clock::current().now();
    const std::string host = lower(url.host());
    std::vector<Cookie> out;
    std::lock_guard guard(lock_);
    for (auto &c : cookies_) {
        if (c.expires && *c.expires <= now)
            continue;
        if (c.hostOnly ? host != c.domain : !domainMatches(host, c.domain))
            continue;
        if (!pathMatches(url.path(), c.path) || (c.secure && url.scheme() != "https"))
            continue;
        out.push_back(c);
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const Cookie &a, const Cookie &b) { return a.path.size() > b.path.size(); });
    return out;
}

void CookieStore::remove(const Cookie &cookie) {
    std::lock_guard guard(lock_);
    std::erase_if(cookies_, [&](const Cookie &c) { return c.sameIdentity(cookie); });
}

void CookieStore::clear() {
    std::lock_guard guard(lock_);
    cookies_.clear();
}

} // namespace net
