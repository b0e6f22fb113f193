#pragma once

#include "base/Value.h"

#include <string>

namespace qvtest {

// A bundle beside the real one for a test program whose servers are its own: links to every
// resource of $QV_BUNDLE but the server list, which the test writes. Install it with
// ::testing::AddGlobalTestEnvironment before anything reads the bundle (it sets $QV_BUNDLE);
// removed when the program ends.
class ScratchBundle {
public:
    // Makes the folder and points $QV_BUNDLE at it.
    static void install();
    static void remove();
    static std::string directory();
    // Writes the bundle's "ServerConfig" list: the shipped one with these entries replaced.
    static bool writeServerConfig(const base::Dict &entries);
};

} // namespace qvtest
