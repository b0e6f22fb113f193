#include "TimeZone.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>

namespace base {

namespace {

constexpr const char *zoneDatabase = "/usr/share/zoneinfo";

// The C library keeps one process-wide zone, chosen by $TZ. Conversions in another zone switch
// $TZ under this lock and put it back; every local-time conversion of the application goes
// through TimeZone so that none sees the switched zone.
std::mutex &zoneLock() {
    static std::mutex lock;
    return lock;
}

class ZoneSwitch {
public:
    explicit ZoneSwitch(const std::string &rule) : guard_(zoneLock()) {
        const char *current = std::getenv("TZ");
        if (current)
            saved_ = current;
        switched_ = rule.empty() ? current != nullptr : !(current && saved_ == rule);
        if (switched_)
            set(rule.empty() ? std::nullopt : std::optional<std::string>(rule));
        tzset();
    }
    ~ZoneSwitch() {
        if (switched_) {
            set(saved_);
            tzset();
        }
    }

private:
    static void set(const std::optional<std::string> &value) {
        if (value)
            setenv("TZ", value->c_str(), 1);
        else
            unsetenv("TZ");
    }

    std::lock_guard<std::mutex> guard_;
    std::optional<std::string> saved_;
    bool switched_ = false;
};

std::string systemZoneName() {
    std::error_code ec;
    auto target = std::filesystem::read_symlink("/etc/localtime", ec).string();
    auto at = target.find("zoneinfo/");
    return ec || at == std::string::npos ? "UTC" : target.substr(at + 9);
}

bool isSafeZoneName(std::string_view name) {
    return !name.empty() && name.front() != '/' && name.find("..") == std::string_view::npos;
}

} // namespace

TimeZone TimeZone::device() {
    std::optional<std::string> tz;
    {
        // Read under the lock, so as not to race a conversion that switches $TZ for a moment.
        std::lock_guard<std::mutex> guard(zoneLock());
        if (const char *value = std::getenv("TZ"))
            tz = value;
    }
    if (!tz)
        return TimeZone(systemZoneName(), "", std::nullopt);
    std::string_view name(*tz);
    if (name.starts_with(':'))
        name.remove_prefix(1);
    if (name.empty())
        return gmt();
    return TimeZone(std::string(name), *tz, std::nullopt);
}

TimeZone TimeZone::gmt() {
    return TimeZone("GMT", "", 0);
}

TimeZone TimeZone::fixed(int secondsFromGmt) {
    if (secondsFromGmt == 0)
        return gmt();
    TimeZone zone = gmt();
    zone.fixed_ = secondsFromGmt;
    zone.name_ = zone.abbreviation(Date());
    return zone;
}

std::optional<TimeZone> TimeZone::named(std::string_view name) {
    if (name == "GMT" || name == "UTC" || name == "UT")
        return gmt();
    if (!isSafeZoneName(name))
        return std::nullopt;
    std::error_code ec;
    auto file = std::filesystem::path(zoneDatabase) / name;
    if (!std::filesystem::is_regular_file(file, ec))
        return std::nullopt;
    return TimeZone(std::string(name), ":" + std::string(name), std::nullopt);
}

int64_t TimeZone::unixSeconds(Date date) {
    constexpr double limit = 3.2e13;
    double seconds = std::floor(date.since1970());
    if (std::isnan(seconds))
        return 0;
    return int64_t(std::clamp(seconds, -limit, limit));
}

int TimeZone::secondsFromGmt(Date date) const {
    if (fixed_)
        return *fixed_;
    return int(local(unixSeconds(date)).tm_gmtoff);
}

std::string TimeZone::abbreviation(Date date) const {
    int offset = secondsFromGmt(date);
    if (offset == 0)
        return "GMT";
    int magnitude = std::abs(offset);
    int hours = magnitude / 3600, minutes = magnitude % 3600 / 60;
    char text[16];
    if (minutes)
        std::snprintf(text, sizeof text, "GMT%c%d:%02d", offset < 0 ? '-' : '+', hours, minutes);
    else
        std::snprintf(text, sizeof text, "GMT%c%d", offset < 0 ? '-' : '+', hours);
    return text;
}

std::tm TimeZone::local(int64_t unixSeconds) const {
    std::tm out{};
    if (fixed_) {
        time_t shifted = time_t(unixSeconds + *fixed_);
        gmtime_r(&shifted, &out);
        out.tm_gmtoff = *fixed_;
        return out;
    }
    time_t t = time_t(unixSeconds);
    ZoneSwitch zone(rule_);
    localtime_r(&t, &out);
    return out;
}

int64_t TimeZone::fromLocal(std::tm local) const {
    if (fixed_)
        return int64_t(timegm(&local)) - *fixed_;
    local.tm_isdst = -1;
    ZoneSwitch zone(rule_);
    return int64_t(mktime(&local));
}

} // namespace base
