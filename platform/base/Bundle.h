#pragma once

#include "Value.h"

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace base {

// The application bundle: a directory of read-only resources with an Info.plist.
class Bundle {
public:
    explicit Bundle(std::string resourcePath);

    // The application's bundle: $QV_BUNDLE when set, else the "resources" directory beside
    // the executable. Fixed at first use.
    static Bundle &main();

    const std::string &resourcePath() const { return resourcePath_; }
    // The path of an existing resource file. The name may contain sub-directories and spaces;
    // type is the extension without its dot, and may be empty or already part of the name.
    std::optional<std::string> pathFor(std::string_view name, std::string_view type = {}) const;
    // The Info.plist entry for key (CFBundleVersion, CFBundleName …); null when absent.
    Value info(std::string_view key) const;
    // The text of the key in the string table "<table>.strings" (a property-list dictionary;
    // "Localizable" when no table is named). The key itself when the table or a text entry for
    // it is missing, so that the keys serve as the untranslated texts. Tables are read once.
    std::string localizedString(std::string_view key, std::string_view table = {}) const;

private:
    std::string resourcePath_;
    mutable std::mutex tablesLock_;
    mutable std::map<std::string, Value, std::less<>> tables_;
};

// The main bundle's text for the key.
std::string localized(std::string_view key, std::string_view table = {});

} // namespace base
