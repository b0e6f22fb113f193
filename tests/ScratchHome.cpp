#include "ScratchHome.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::string &scratchHome() {
    static std::string path;
    return path;
}

void removeScratchHome() {
    std::error_code ignored;
    std::filesystem::remove_all(scratchHome(), ignored);
}

} // namespace

void useScratchHomeUnlessSet() {
    if (std::getenv("QV_HOME") || !scratchHome().empty())
        return;
    std::error_code ec;
    std::string pattern = (std::filesystem::temp_directory_path(ec) / "qv-home-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return;
    scratchHome() = pattern;
    setenv("QV_HOME", pattern.c_str(), 1);
    std::atexit(removeScratchHome);
}
