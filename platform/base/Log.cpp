#include "base/Log.h"

#include <atomic>
#include <cstdio>
#include <string>

namespace base {

namespace {

std::atomic<LogLevel> current{LogLevel::Info};

} // namespace

void log(LogLevel level, std::string_view text) {
    if (level < current.load() || level == LogLevel::Off)
        return;
    // One write per line, so that lines from several threads do not interleave.
    std::string line(text);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
}

void setLogThreshold(LogLevel threshold) {
    current.store(threshold);
}

LogLevel logThreshold() {
    return current.load();
}

} // namespace base
