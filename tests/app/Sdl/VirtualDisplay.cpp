#include "VirtualDisplay.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace app {

VirtualDisplay::VirtualDisplay() {
    int fds[2];
    if (pipe(fds) != 0)
        return;
    pid_ = fork();
    if (pid_ == 0) {
        close(fds[0]);
        int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, STDERR_FILENO);
        std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
               static_cast<char *>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    if (pid_ < 0) {
        close(fds[0]);
        return;
    }
    // The number arrives when the server is ready; end of file means it failed to start.
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    if (number.empty())
        return;
    display_ = ":" + number;
    if (const char *old = std::getenv("DISPLAY"))
        previous_ = old, hadPrevious_ = true;
    setenv("DISPLAY", display_.c_str(), 1);
}

VirtualDisplay::~VirtualDisplay() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    if (hadPrevious_)
        setenv("DISPLAY", previous_.c_str(), 1);
    else if (!display_.empty())
        unsetenv("DISPLAY");
}

} // namespace app
