#pragma once

#include "ui/Application.h"

#include <functional>
#include <string>

namespace host {

struct RunOptions {
    std::string title = "QVNSolvaneMobile";
    // Whether to try a display at all.
    bool useDisplay = true;
    // Without a display: how much (virtual) time passes after launching, and where the key
    // window is then written as a PNG (nothing is written for an empty path).
    double offscreenSeconds = 1;
    std::string pngPath;
};

// Runs the application in an SDL window when there is a display, until it terminates. Without
// one it launches the application in the offscreen host, lets the time pass and writes the PNG.
// Answers the exit status: 0, or 1 when the offscreen PNG could not be written.
int run(base::Ref<ui::ApplicationDelegate> delegate, const std::function<void()> &buildMainInterface,
        const RunOptions &options = {});

} // namespace host
