#include "Locale.h"

#include <cstdlib>

namespace base {

Locale Locale::current() {
    for (const char *variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char *value = std::getenv(variable);
        if (!value || !*value)
            continue;
        std::string id(value);
        id = id.substr(0, id.find_first_of(".@"));
        if (id.empty() || id == "C" || id == "POSIX")
            break;
        return Locale(id);
    }
    return posix();
}

std::string Locale::language() const {
    return identifier_.substr(0, identifier_.find_first_of("_-"));
}

} // namespace base
