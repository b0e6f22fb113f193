#include "Common/Util.h"

#include "Common/FileFunc.h"
#include "base/PropertyList.h"
#include "base/Uuid.h"

#include <algorithm>

std::string Util::getUUID(std::string_view prefix) {
    const std::string path = FileFunc::getFilePath("uuid.plist");
    if (auto stored = base::PropertyList::read(path); stored && stored->dict()) {
        const base::Value *id = stored->dict()->find("UUID");
        if (id && id->string() && !id->string()->empty())
            return *id->string();
    }
    std::string hex = base::newUuid();
    hex.erase(std::remove(hex.begin(), hex.end(), '-'), hex.end());
    if (hex.size() >= 16)
        hex.erase(0, hex.size() - 16);
    std::string id = std::string(prefix) + hex;
    // A failed write only means a new id at the next start.
    base::PropertyList::write(base::Dict{{"UUID", id}}, path);
    return id;
}
