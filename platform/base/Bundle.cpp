#include "Bundle.h"

#include "FileManager.h"
#include "Paths.h"
#include "PropertyList.h"

#include <cstdlib>
#include <filesystem>

namespace base {

namespace {

std::string defaultResourcePath() {
    if (const char *own = std::getenv("QV_BUNDLE"); own && *own)
        return own;
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return (exe.parent_path() / "resources").string();
}

} // namespace

Bundle::Bundle(std::string resourcePath) : resourcePath_(std::move(resourcePath)) {}

Bundle &Bundle::main() {
    static Bundle bundle(defaultResourcePath());
    return bundle;
}

std::optional<std::string> Bundle::pathFor(std::string_view name, std::string_view type) const {
    if (name.empty())
        return std::nullopt;
    std::string file(name);
    if (!type.empty()) {
        std::string suffix = "." + std::string(type);
        if (!file.ends_with(suffix))
            file += suffix;
    }
    std::string path = Paths::join(resourcePath_, file);
    bool isDir = false;
    if (!FileManager::exists(path, &isDir) || isDir)
        return std::nullopt;
    return path;
}

Value Bundle::info(std::string_view key) const {
    auto path = pathFor("Info", "plist");
    auto plist = path ? PropertyList::read(*path) : std::nullopt;
    return plist ? (*plist)[std::string(key)] : Value();
}

std::string Bundle::localizedString(std::string_view key, std::string_view table) const {
    const std::string name = table.empty() ? "Localizable" : std::string(table);
    std::lock_guard lock(tablesLock_);
    auto it = tables_.find(name);
    if (it == tables_.end()) {
        auto path = pathFor(name, "strings");
        auto plist = path ? PropertyList::read(*path) : std::nullopt;
        it = tables_.emplace(name, plist ? *plist : Value()).first;
    }
    const Value text = it->second[std::string(key)];
    return text.string() ? *text.string() : std::string(key);
}

std::string localized(std::string_view key, std::string_view table) {
    return Bundle::main().localizedString(key, table);
}

} // namespace base
