#pragma once

#include <string_view>

namespace base {

// How much a diagnostic text matters. As a threshold, Off prints nothing.
enum class LogLevel { Debug, Info, Warning, Error, Off };

// The one way parsers and decoders report what they met, such as a damaged reply: a line on the
// standard output when `level` is at or above the threshold (Info unless set). Tests and fuzz
// programs, which feed damaged input on purpose, set the threshold to Off; the application leaves
// it. Callable from any thread.
void log(LogLevel level, std::string_view text);
void setLogThreshold(LogLevel threshold);
LogLevel logThreshold();

} // namespace base
