#pragma once

#include "peers/NginxPeer.h"

#include <gtest/gtest.h>

namespace peers {

// A test suite whose tests share one nginx: started before the suite's first test, stopped after
// its last, serving HTTPS beside HTTP when the suite asks for it, and the suite's own locations
// (a static string of server-block directives) when it names some.
template <bool Https = false, const char *ExtraLocations = nullptr>
class NginxSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        NginxPeer::Options options;
        options.https = Https;
        const char *extra = ExtraLocations;
        if (extra)
            options.extraLocations = extra;
        nginx = new NginxPeer(options);
    }
    static void TearDownTestSuite() {
        delete nginx;
        nginx = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(nginx->running()); }

    static inline NginxPeer *nginx = nullptr;
};

} // namespace peers
