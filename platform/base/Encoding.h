#pragma once

#include "Data.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace base {

// Text encodings, numbered as the platform's string encodings are.
enum class Encoding : uint32_t {
    Ascii = 1,
    Utf8 = 4,
    Latin1 = 5,
    Utf16LE = 0x94000100,
    Gb18030 = 0x80000632
};

// The bytes of UTF-8 text in another encoding; nothing when the text is not valid UTF-8 or
// holds a character the encoding cannot represent.
std::optional<Data> encode(std::string_view text, Encoding encoding);
// UTF-8 text of bytes in an encoding; nothing when the bytes are not valid in it.
std::optional<std::string> decode(const Data &bytes, Encoding encoding);

// The encoding of an IANA charset name ("utf-8", "ISO-8859-1", "gb2312" …), case-insensitive.
// GBK and GB2312 text is read as GB18030, which contains both.
std::optional<Encoding> encodingForIanaName(std::string_view name);
// The IANA name of an encoding: "us-ascii", "utf-8", "iso-8859-1", "utf-16le", "gb18030".
std::string ianaName(Encoding encoding);

} // namespace base
