// The main of every test program. The tests feed parsers and decoders damaged input on purpose, so
// their diagnostic texts are silenced (a test of those texts sets the threshold itself); and run
// by hand, the tests get a home of their own rather than the user's files.
#include "ScratchHome.h"
#include "base/Log.h"

#include <gmock/gmock.h>

int main(int argc, char **argv) {
    base::setLogThreshold(base::LogLevel::Off);
    useScratchHomeUnlessSet();
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
