#include "ProxyScript.h"

#include "base/Clock.h"

#include <duktape.h>

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace net {

namespace {

// Seconds from 1970 to the clock's epoch (2001-01-01 UTC), for the script's Date.
constexpr double unixEpochOffset = 978307200;
// How long a forked child may take to start running the script.
constexpr std::chrono::seconds ChildStartAllowance{30};

// The helpers a script may call that need no network; dnsResolve, myIpAddress and __clockNow come
// from C below. Times follow base::Clock so that tests can set them.
constexpr const char *helpers = R"JS(
function isPlainHostName(host) { return host.indexOf('.') < 0; }
function dnsDomainIs(host, domain) {
  return host.length >= domain.length && host.substring(host.length - domain.length) == domain;
}
function localHostOrDomainIs(host, hostdom) {
  return host == hostdom || (host.indexOf('.') < 0 && hostdom.lastIndexOf(host + '.', 0) == 0);
}
function isResolvable(host) { return dnsResolve(host) !== null; }
function dnsDomainLevels(host) { return host.split('.').length - 1; }
function __addr(ip) {
  var p = ip.split('.');
  return ((p[0] << 24) | (p[1] << 16) | (p[2] << 8) | p[3]) >>> 0;
}
function isInNet(host, pattern, mask) {
  var ip = /^\d+\.\d+\.\d+\.\d+$/.test(host) ? host : dnsResolve(host);
  if (ip === null) return false;
  var m = __addr(mask);
  return ((__addr(ip) & m) >>> 0) == ((__addr(pattern) & m) >>> 0);
}
function shExpMatch(str, exp) {
  var re = exp.replace(/[.+^${}()|[\]\\]/g, '\\$&').replace(/\*/g, '.*').replace(/\?/g, '.');
  return new RegExp('^' + re + '$').test(str);
}
function __now(gmt) {
  var d = new Date(__clockNow());
  return gmt === 'GMT' ? { day: d.getUTCDay(), secs: d.getUTCHours() * 3600 + d.getUTCMinutes() * 60 + d.getUTCSeconds(),
                           date: d.getUTCDate(), month: d.getUTCMonth(), year: d.getUTCFullYear() }
                       : { day: d.getDay(), secs: d.getHours() * 3600 + d.getMinutes() * 60 + d.getSeconds(),
                           date: d.getDate(), month: d.getMonth(), year: d.getFullYear() };
}
function __within(value, from, to) { return from <= to ? value >= from && value <= to : value >= from || value <= to; }
function weekdayRange(first, last, gmt) {
  var days = ['SUN', 'MON', 'TUE', 'WED', 'THU', 'FRI', 'SAT'];
  if (last === 'GMT') { gmt = last; last = undefined; }
  var from = days.indexOf(first), to = last === undefined ? from : days.indexOf(last);
  return from >= 0 && to >= 0 && __within(__now(gmt).day, from, to);
}
// Each argument is a day of the month (1-31), a month name or a four-digit year; the shapes are one
// value, two of one kind, day and month or month and year twice, or day, month and year twice.
// Ranges are inclusive; without a year they wrap round the end of the month or the year.
function dateRange() {
  var a = Array.prototype.slice.call(arguments);
  var now = __now(a[a.length - 1] === 'GMT' ? a.pop() : undefined);
  var months = ['JAN', 'FEB', 'MAR', 'APR', 'MAY', 'JUN', 'JUL', 'AUG', 'SEP', 'OCT', 'NOV', 'DEC'];
  var kinds = '', values = [];
  for (var i = 0; i < a.length; ++i) {
    var month = months.indexOf(a[i]);
    if (month >= 0) { kinds += 'M'; values.push(month); continue; }
    if (typeof a[i] !== 'number' || a[i] % 1 !== 0) return false;
    if (a[i] >= 1 && a[i] <= 31) { kinds += 'D'; values.push(a[i]); }
    else if (a[i] >= 1000 && a[i] <= 9999) { kinds += 'Y'; values.push(a[i]); }
    else return false;
  }
  var keys = { D: now.date, M: now.month, Y: now.year, DM: now.month * 32 + now.date,
               MY: now.year * 12 + now.month, DMY: (now.year * 12 + now.month) * 32 + now.date };
  var half = kinds.substring(0, kinds.length / 2);
  if (kinds.length == 1) return values[0] == keys[kinds];
  if (!(half in keys) || kinds != half + half) return false;
  var key = function (v) {
    return half == 'DM' ? v[1] * 32 + v[0] : half == 'MY' ? v[1] * 12 + v[0] : half == 'DMY' ? (v[2] * 12 + v[1]) * 32 + v[0] : v[0];
  };
  var from = key(values.slice(0, half.length)), to = key(values.slice(half.length));
  return half.indexOf('Y') >= 0 ? keys[half] >= from && keys[half] <= to : __within(keys[half], from, to);
}
function timeRange() {
  var a = Array.prototype.slice.call(arguments);
  var gmt = a[a.length - 1] === 'GMT' ? a.pop() : undefined;
  var now = __now(gmt).secs;
  if (a.length == 1) return Math.floor(now / 3600) == a[0];
  if (a.length == 2) return __within(now, a[0] * 3600, a[1] * 3600 - 1);
  if (a.length == 4) return __within(now, a[0] * 3600 + a[1] * 60, a[2] * 3600 + a[3] * 60 - 1);
  if (a.length == 6) return __within(now, a[0] * 3600 + a[1] * 60 + a[2], a[3] * 3600 + a[4] * 60 + a[5]);
  return false;
}
)JS";

std::optional<std::string> addressOf(const char *host) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo *found = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &found) != 0 || !found)
        return std::nullopt;
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in *>(found->ai_addr)->sin_addr, text, sizeof text);
    freeaddrinfo(found);
    return std::string(text);
}

duk_ret_t dnsResolve(duk_context *ctx) {
    if (auto address = addressOf(duk_safe_to_string(ctx, 0)))
        duk_push_string(ctx, address->c_str());
    else
        duk_push_null(ctx);
    return 1;
}

duk_ret_t myIpAddress(duk_context *ctx) {
    char name[256] = {};
    std::optional<std::string> address;
    if (gethostname(name, sizeof name - 1) == 0)
        address = addressOf(name);
    duk_push_string(ctx, address.value_or("127.0.0.1").c_str());
    return 1;
}

duk_ret_t clockNow(duk_context *ctx) {
    duk_push_number(ctx, (base::Clock::current().now() + unixEpochOffset) * 1000);
    return 1;
}

// Runs the script in this process; answers its answer, or nothing on any failure.
std::optional<std::string> runScript(const std::string &script, const base::Url &url) {
    duk_context *ctx = duk_create_heap_default();
    if (!ctx)
        return std::nullopt;
    const std::pair<const char *, duk_c_function> natives[] = {
        {"dnsResolve", dnsResolve}, {"myIpAddress", myIpAddress}, {"__clockNow", clockNow}};
    for (auto [name, fn] : natives) {
        duk_push_c_function(ctx, fn, name == std::string("dnsResolve") ? 1 : 0);
        duk_put_global_string(ctx, name);
    }
    std::optional<std::string> answer;
    const bool loaded = duk_peval_string_noresult(ctx, helpers) == 0 &&
                        duk_peval_lstring_noresult(ctx, script.data(), script.size()) == 0;
    if (loaded) {
        duk_get_global_string(ctx, "FindProxyForURL");
        duk_push_string(ctx, url.withoutCredentials().c_str());
        duk_push_string(ctx, url.host().c_str());
        if (duk_pcall(ctx, 2) == DUK_EXEC_SUCCESS && duk_is_string(ctx, -1))
            answer = duk_get_string(ctx, -1);
    }
    duk_destroy_heap(ctx);
    return answer;
}

void writeAll(int fd, std::string_view out) {
    for (size_t at = 0; at < out.size();) {
        const ssize_t n = write(fd, out.data() + at, out.size() - at);
        if (n <= 0)
            return;
        at += size_t(n);
    }
}

} // namespace

std::vector<ProxyEntry> parseScriptAnswer(std::string_view answer) {
    std::vector<ProxyEntry> out;
    while (!answer.empty()) {
        const size_t end = answer.find(';');
        std::string_view item = answer.substr(0, end);
        answer = end == std::string_view::npos ? std::string_view() : answer.substr(end + 1);
        while (!item.empty() && item.front() == ' ')
            item.remove_prefix(1);
        while (!item.empty() && item.back() == ' ')
            item.remove_suffix(1);
        const size_t space = item.find(' ');
        const std::string_view kind = item.substr(0, space);
        std::string_view where =
            space == std::string_view::npos ? std::string_view() : item.substr(space + 1);
        while (!where.empty() && where.front() == ' ')
            where.remove_prefix(1);
        if (kind == "DIRECT") {
            out.push_back(ProxyEntry{});
            continue;
        }
        const char *scheme = kind == "PROXY"                       ? "http://"
                             : kind == "HTTPS"                     ? "https://"
                             : kind == "SOCKS4"                    ? "socks4://"
                             : kind == "SOCKS" || kind == "SOCKS5" ? "socks5://"
                                                                   : nullptr;
        if (scheme && !where.empty())
            if (auto entry = parseProxyEntry(scheme + std::string(where)))
                out.push_back(*entry);
    }
    return out;
}

std::optional<std::vector<ProxyEntry>> proxiesFromScript(const std::string &script, const base::Url &url,
                                                         double budget) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        return std::nullopt;
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        // The first mark says the script starts; the second tells an empty answer from a failed run.
        writeAll(pipeEnds[1], "+");
        if (auto answer = runScript(script, url))
            writeAll(pipeEnds[1], "=" + *answer);
        _exit(0);
    }
    close(pipeEnds[1]);
    std::string received;
    bool ended = child < 0;
    // The budget is the script's real running time, whatever clock the caller runs on. It counts
    // from the child's first mark: copying a large process can take long on a busy machine.
    using Clock = std::chrono::steady_clock;
    auto limit = Clock::now() + std::chrono::duration_cast<Clock::duration>(ChildStartAllowance);
    while (!ended) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(limit - Clock::now());
        pollfd fd{pipeEnds[0], POLLIN, 0};
        if (left.count() <= 0 || poll(&fd, 1, int(left.count())) <= 0)
            break;
        char buffer[4096];
        const ssize_t n = read(pipeEnds[0], buffer, sizeof buffer);
        if (n <= 0) {
            ended = true;
        } else {
            if (received.empty())
                limit = Clock::now() +
                        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(budget));
            received.append(buffer, size_t(n));
        }
    }
    close(pipeEnds[0]);
    if (child > 0) {
        if (!ended)
            kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    if (!ended || received.size() < 2)
        return std::nullopt;
    return parseScriptAnswer(std::string_view(received).substr(2));
}

} // namespace net
