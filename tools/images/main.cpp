// Draws every image of the manifest into the bundle directory:
//   qv_make_images <manifest.tsv> <bundle directory>
#include "Artwork.h"

#include <filesystem>
#include <fstream>
#include <iostream>

int main(int argc, char **argv) {
    if (argc != 3) {
        std::cerr << "usage: qv_make_images <manifest.tsv> <bundle directory>\n";
        return 2;
    }
    std::ifstream manifest(argv[1]);
    if (!manifest) {
        std::cerr << "cannot read " << argv[1] << "\n";
        return 1;
    }
    std::filesystem::path bundle(argv[2]);
    int failures = 0, lineNumber = 0;
    std::string line;
    while (std::getline(manifest, line)) {
        ++lineNumber;
        if (line.empty() || line[0] == '#')
            continue;
        auto entry = images::parseEntry(line);
        gfx::Surface pixels = entry ? images::draw(*entry) : gfx::Surface();
        if (!pixels) {
            std::cerr << argv[1] << ":" << lineNumber << ": cannot draw this entry\n";
            ++failures;
            continue;
        }
        std::filesystem::path path = bundle / entry->name;
        std::error_code error;
        std::filesystem::create_directories(path.parent_path(), error);
        bool written = path.extension() == ".jpg" ? pixels.writeJpeg(path, 90) : pixels.writePng(path);
        if (!written) {
            std::cerr << "cannot write " << path << "\n";
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
