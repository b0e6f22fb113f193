#include "Encoding.h"

#include "Str.h"

#include <cerrno>
#include <iconv.h>

namespace base {

namespace {

const char *iconvName(Encoding encoding) {
    switch (encoding) {
    case Encoding::Ascii:
        return "ASCII";
    case Encoding::Utf8:
        return "UTF-8";
    case Encoding::Latin1:
        return "ISO-8859-1";
    case Encoding::Utf16LE:
        return "UTF-16LE";
    case Encoding::Gb18030:
        return "GB18030";
    }
    return nullptr;
}

// Converts all of `in`; nothing on any invalid, incomplete or unrepresentable sequence.
std::optional<std::string> convert(std::string_view in, const char *from, const char *to) {
    if (!from || !to)
        return std::nullopt;
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1))
        return std::nullopt;
    std::string out(in.size() * 4 + 16, '\0');
    char *inPtr = const_cast<char *>(in.data());
    size_t inLeft = in.size();
    char *outPtr = out.data();
    size_t outLeft = out.size();
    bool ok = true;
    while (ok && inLeft > 0) {
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1))
            continue;
        if (errno == E2BIG) {
            size_t used = size_t(outPtr - out.data());
            out.resize(out.size() * 2);
            outPtr = out.data() + used;
            outLeft = out.size() - used;
        } else {
            ok = false;
        }
    }
    // Complete any pending shift sequence.
    ok = ok && iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != size_t(-1);
    iconv_close(cd);
    if (!ok)
        return std::nullopt;
    out.resize(size_t(outPtr - out.data()));
    return out;
}

} // namespace

std::optional<Data> encode(std::string_view text, Encoding encoding) {
    if (!str::isValidUtf8(text))
        return std::nullopt;
    auto bytes = convert(text, "UTF-8", iconvName(encoding));
    return bytes ? std::optional<Data>(Data::fromString(*bytes)) : std::nullopt;
}

std::optional<std::string> decode(const Data &bytes, Encoding encoding) {
    auto text = convert(bytes.view(), iconvName(encoding), "UTF-8");
    if (text && !str::isValidUtf8(*text))
        return std::nullopt;
    return text;
}

std::optional<Encoding> encodingForIanaName(std::string_view name) {
    std::string key = str::lower(str::trim(name));
    if (key.size() >= 2 && key.front() == '"' && key.back() == '"')
        key = key.substr(1, key.size() - 2);
    static constexpr std::pair<const char *, Encoding> names[] = {
        {"utf-8", Encoding::Utf8},    {"utf8", Encoding::Utf8},         {"us-ascii", Encoding::Ascii},
        {"ascii", Encoding::Ascii},   {"iso-8859-1", Encoding::Latin1}, {"iso_8859-1", Encoding::Latin1},
        {"latin1", Encoding::Latin1}, {"iso8859-1", Encoding::Latin1},  {"gb18030", Encoding::Gb18030},
        {"gbk", Encoding::Gb18030},   {"gb2312", Encoding::Gb18030},    {"x-gbk", Encoding::Gb18030},
    };
    for (auto [iana, encoding] : names) {
        if (key == iana)
            return encoding;
    }
    return std::nullopt;
}

std::string ianaName(Encoding encoding) {
    switch (encoding) {
    case Encoding::Ascii:
        return "us-ascii";
    case Encoding::Utf8:
        return "utf-8";
    case Encoding::Latin1:
        return "iso-8859-1";
    case Encoding::Utf16LE:
        return "utf-16le";
    case Encoding::Gb18030:
        return "gb18030";
    }
    return "";
}

} // namespace base
