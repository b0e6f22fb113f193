#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace base {

// Where the application keeps its files. The home is $QV_HOME when set (tests point it at a
// throw-away directory), else $XDG_DATA_HOME/QVNSolvaneMobile, else
// ~/.local/share/QVNSolvaneMobile. The directories below it are created on first use.
struct Paths {
    static std::string home();
    // home/Documents: the user's files.
    static std::string documents();
    // home/Library/Caches
    static std::string caches();
    // home/tmp: files that may vanish between runs.
    static std::string temporary();

    // Joins path components with exactly one "/" between them; empty components are skipped.
    static std::string join(std::initializer_list<std::string_view> parts);
    template <class... Parts> static std::string join(const Parts &...parts) {
        return join({std::string_view(parts)...});
    }
};

} // namespace base
