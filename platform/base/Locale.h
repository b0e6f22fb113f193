#pragma once

#include <string>
#include <string_view>

namespace base {

// A locale identifier ("zh_CN", "en_US", "en_US_POSIX"): what language dates are written in.
class Locale {
public:
    explicit Locale(std::string identifier) : identifier_(std::move(identifier)) {}

    // The user's locale from $LC_ALL, $LC_TIME or $LANG ("zh_CN.UTF-8" gives "zh_CN");
    // "en_US_POSIX" when none is set or the C locale is chosen.
    static Locale current();
    // The fixed English locale for texts exchanged with machines.
    static Locale posix() { return Locale("en_US_POSIX"); }

    const std::string &identifier() const { return identifier_; }
    // "zh" for "zh_CN".
    std::string language() const;

    bool operator==(const Locale &) const = default;

private:
    std::string identifier_;
};

} // namespace base
