#pragma once

#include <string>
#include <sys/types.h>

namespace app {

// An Xvfb X server of the screen's size on a display number it picks itself, started by the
// constructor and stopped by the destructor. The constructor returns once the server is ready:
// Xvfb writes its display number to a pipe (-displayfd) when it accepts clients, so nothing waits
// on time. While it runs, DISPLAY names it.
class VirtualDisplay {
public:
    VirtualDisplay();
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay &) = delete;
    VirtualDisplay &operator=(const VirtualDisplay &) = delete;

    // Whether the server came up (Xvfb may be missing).
    bool running() const { return !display_.empty(); }
    const std::string &display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
    std::string previous_;
    bool hadPrevious_ = false;
};

} // namespace app
