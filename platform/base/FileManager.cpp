#include "FileManager.h"

#include "Paths.h"
#include "Uuid.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace base {

namespace {

bool writeAll(int fd, const uint8_t *bytes, size_t length) {
    while (length > 0) {
        ssize_t n = ::write(fd, bytes, length);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes += n;
        length -= size_t(n);
    }
    return true;
}

// Opens a new file beside `path`, with the permissions a plain new file would get.
int openSibling(const fs::path &path, std::string &tempPath, unsigned mode) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        tempPath = (path.parent_path() / ("." + path.filename().string() + "." + newUuid())).string();
        int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode_t(mode));
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

std::atomic<bool> syncsWrites{true};

void syncDirectory(const fs::path &dir) {
    if (!syncsWrites.load())
        return;
    int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool FileManager::exists(const std::string &path, bool *isDir) {
    std::error_code ec;
    auto status = fs::status(path, ec);
    bool found = !ec && fs::exists(status);
    if (isDir)
        *isDir = found && fs::is_directory(status);
    return found;
}

bool FileManager::createDirectory(const std::string &path, bool intermediates) {
    std::error_code ec;
    if (intermediates) {
        fs::create_directories(path, ec);
        return fs::is_directory(path, ec);
    }
    return fs::create_directory(path, ec) && !ec;
}

bool FileManager::remove(const std::string &path) {
    std::error_code ec;
    auto removed = fs::remove_all(path, ec);
    return !ec && removed != 0 && removed != static_cast<std::uintmax_t>(-1);
}

std::vector<std::string> FileManager::subpaths(const std::string &dir) {
    std::vector<std::string> out;
    std::error_code ec;
    fs::recursive_directory_iterator it(dir, ec), end;
    for (; !ec && it != end; it.increment(ec))
        out.push_back(fs::relative(it->path(), dir, ec).string());
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::string> FileManager::contents(const std::string &dir) {
    std::vector<std::string> out;
    std::error_code ec;
    fs::directory_iterator it(dir, ec), end;
    for (; !ec && it != end; it.increment(ec))
        out.push_back(it->path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

std::optional<Data> FileManager::read(const std::string &path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return Data(std::move(bytes));
}

bool FileManager::writeAtomically(const std::string &path, const Data &data, unsigned mode) {
    fs::path target(path);
    std::error_code ec;
    if (target.filename().empty() || fs::is_directory(target, ec))
        return false;
    std::string tempPath;
    int fd = openSibling(target, tempPath, mode);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, data.bytes(), data.length()) && (!syncsWrites.load() || ::fsync(fd) == 0);
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(tempPath.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(tempPath.c_str());
        return false;
    }
    syncDirectory(target.parent_path());
    return true;
}

void FileManager::setSyncsWrites(bool syncs) {
    syncsWrites.store(syncs);
}

std::string FileManager::uniqueTemporaryPath() {
    return Paths::join(Paths::temporary(), newUuid());
}

} // namespace base
