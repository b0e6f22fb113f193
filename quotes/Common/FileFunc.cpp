#include "Common/FileFunc.h"

#include "base/FileManager.h"
#include "base/Paths.h"

std::string FileFunc::getFilePath(std::string_view path) {
    return base::Paths::join(base::Paths::documents(), path);
}

bool FileFunc::checkDir(std::string_view path) {
    std::string full = getFilePath(path);
    return base::FileManager::exists(full) || base::FileManager::createDirectory(full, true);
}
