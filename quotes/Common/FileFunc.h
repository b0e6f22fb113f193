#pragma once

#include <string>
#include <string_view>

// Paths below the documents directory. Class operations only; never instantiated.
class FileFunc {
public:
    FileFunc() = delete;

    // The relative path appended to the documents directory.
    static std::string getFilePath(std::string_view path);
    // Whether the directory exists, creating it (and its parents) when it does not.
    static bool checkDir(std::string_view path);
};
