#pragma once

#include "base/Data.h"

#include <string>
#include <string_view>

// Base64 in the standard alphabet with "=" padding, as the saved login is stored.
//
// The encoder can break its text into lines of 64 characters joined by CR LF (no break after
// the last line). The decoder is lenient: every character outside the alphabet is skipped
// (padding, line breaks, blanks, anything else), and a last group of 2 or 3 characters still
// gives 1 or 2 bytes; it never fails.
std::string NewBase64Encode(const void *buffer, size_t length, bool separateLines);
base::Data NewBase64Decode(std::string_view input);

// The byte-buffer side of the same conversion.
struct Base64 {
    Base64() = delete;
    // Text holding a character beyond ASCII decodes to empty data.
    static base::Data dataFromBase64String(std::string_view text);
    static std::string base64EncodedStringWithSeparateLines(const base::Data &data, bool separateLines);
};
