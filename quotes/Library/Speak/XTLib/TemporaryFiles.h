#pragma once

#include <cstdio>
#include <string>

// The voice-search files live in the application's own temporary directory and are readable by
// their owner only.

// `name` in base::Paths::temporary().
std::string temporaryPath(const std::string &name);
// Creates or empties the file with mode 0600 (also when it existed with another mode) and opens it
// for writing and reading; nothing when it cannot.
std::FILE *createOwnerOnly(const std::string &path);
