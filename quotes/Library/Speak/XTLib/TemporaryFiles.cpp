#include "TemporaryFiles.h"

#include "base/Paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::string temporaryPath(const std::string &name) {
    return base::Paths::join(base::Paths::temporary(), name);
}

std::FILE *createOwnerOnly(const std::string &path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return nullptr;
    ::fchmod(fd, 0600);
    std::FILE *file = ::fdopen(fd, "wb+");
    if (!file)
        ::close(fd);
    return file;
}
