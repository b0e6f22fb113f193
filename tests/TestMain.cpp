// The main of every test program. The tests feed parsers and decoders damaged input on purpose, so
// their diagnostic texts are silenced (a test of those texts sets the threshold itself); and run
// by hand, the tests get a home of their own rather than the user's files. Temporary files (the
// test peers' folders, renderings of failed golden comparisons) go to that home's temporary
// folder, never to the machine's.
#include "ScratchHome.h"
#include "base/Log.h"
#include "base/Paths.h"

#include <gmock/gmock.h>

#include <cstdlib>

int main(int argc, char **argv) {
    base::setLogThreshold(base::LogLevel::Off);
    useScratchHomeUnlessSet();
    const std::string temporary = base::Paths::temporary() + "/";
    setenv("TMPDIR", temporary.c_str(), 1);
    setenv("TEST_TMPDIR", temporary.c_str(), 1);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
