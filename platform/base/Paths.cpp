#include "Paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace base {

namespace {

std::string envOr(const char *name) {
    const char *value = std::getenv(name);
    return value ? value : "";
}

std::string ensured(std::string dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    return dir;
}

} // namespace

std::string Paths::home() {
    if (auto own = envOr("QV_HOME"); !own.empty())
        return ensured(own);
    if (auto xdg = envOr("XDG_DATA_HOME"); !xdg.empty())
        return ensured(join(xdg, "QVNSolvaneMobile"));
    return ensured(join(envOr("HOME"), ".local/share/QVNSolvaneMobile"));
}

std::string Paths::documents() {
    return ensured(join(home(), "Documents"));
}

std::string Paths::caches() {
    return ensured(join(home(), "Library/Caches"));
}

std::string Paths::temporary() {
    return ensured(join(home(), "tmp"));
}

std::string Paths::join(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (std::string_view part : parts) {
        if (part.empty())
            continue;
        if (out.empty()) {
            out = part;
            continue;
        }
        while (!out.empty() && out.back() == '/' && out.size() > 1)
            out.pop_back();
        while (!part.empty() && part.front() == '/')
            part.remove_prefix(1);
        if (out.back() != '/')
            out += '/';
        out += part;
    }
    return out;
}

} // namespace base
