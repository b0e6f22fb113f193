#pragma once

#include "Data.h"

#include <optional>
#include <string>
#include <vector>

namespace base {

// File operations on paths. Every failure is an answer (false, nothing or an empty list),
// never an exception.
class FileManager {
public:
    // Whether something exists at path; isDir (when given) tells whether it is a directory.
    static bool exists(const std::string &path, bool *isDir = nullptr);
    // Creates the directory. With intermediates, missing parents are created too and an
    // existing directory counts as success; without, the parent must exist and the directory
    // must not.
    static bool createDirectory(const std::string &path, bool intermediates);
    // Removes a file, or a directory with everything in it. False when nothing was there.
    static bool remove(const std::string &path);
    // Every file and directory below dir, relative to it ("a", "a/b.txt"), sorted.
    static std::vector<std::string> subpaths(const std::string &dir);
    // The names directly inside dir, sorted.
    static std::vector<std::string> contents(const std::string &dir);
    // The whole regular file at path.
    static std::optional<Data> read(const std::string &path);
    // Writes data to a temporary file in the same directory, syncs it and renames it over path,
    // so that readers see either the old file whole or the new one whole. On any failure the
    // old file is left untouched and the answer is false. The new file gets `mode` (less the umask)
    // from its creation on, so a private file is never readable by others even for a moment.
    static bool writeAtomically(const std::string &path, const Data &data, unsigned mode = 0666);
    // Whether writeAtomically syncs the file and its directory (default true). Fuzz programs, whose
    // files are thrown away with their home, turn it off: a sync per parsed reply would be most of
    // their time. The application never does; readers still see the old file or the new one whole.
    static void setSyncsWrites(bool syncs);
    // A path in the temporary directory that nothing uses yet.
    static std::string uniqueTemporaryPath();
};

} // namespace base
