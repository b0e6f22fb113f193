#include "ScratchBundle.h"

#include "base/Paths.h"
#include "base/PropertyList.h"
#include "base/Str.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace qvtest {

namespace {

namespace fs = std::filesystem;

fs::path &folder() {
    static fs::path path;
    return path;
}

fs::path &shippedConfig() {
    static fs::path path;
    return path;
}

} // namespace

void ScratchBundle::install() {
    const char *real = std::getenv("QV_BUNDLE");
    fs::path source = real ? fs::path(real) : fs::path(QV_FIXTURES_DIR) / ".." / ".." / "resources";
    folder() = fs::path(base::Paths::home()) / base::str::format("qv-scratch-bundle-%d", int(getpid()));
    shippedConfig() = source / "ServerConfig.plist";
    fs::remove_all(folder());
    fs::create_directories(folder());
    for (const fs::directory_entry &entry : fs::directory_iterator(source))
        if (entry.path().filename() != "ServerConfig.plist")
            fs::create_symlink(fs::absolute(entry.path()), folder() / entry.path().filename());
    writeServerConfig({});
    ::setenv("QV_BUNDLE", folder().c_str(), 1);
}

void ScratchBundle::remove() {
    fs::remove_all(folder());
}

std::string ScratchBundle::directory() {
    return folder().string();
}

bool ScratchBundle::writeServerConfig(const base::Dict &entries) {
    std::optional<base::Value> shipped = base::PropertyList::read(shippedConfig().string());
    base::Dict config = shipped && shipped->dict() ? shipped->dict()->copy() : base::Dict();
    for (const auto &[key, value] : entries)
        config.set(key, value);
    return base::PropertyList::write(config, (folder() / "ServerConfig.plist").string());
}

} // namespace qvtest
