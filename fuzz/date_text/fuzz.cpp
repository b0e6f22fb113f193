// Dates in HTTP headers and texts in foreign encodings arrive from the network: parsing and
// decoding any bytes must answer a result or nothing.
#include "base/DateFormatter.h"
#include "base/Encoding.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string_view text(reinterpret_cast<const char *>(data), size);
    static const base::DateFormatter formatters[] = {
        base::DateFormatter("EEE, dd MMM yyyy HH:mm:ss z", base::Locale::posix(), base::TimeZone::gmt()),
        base::DateFormatter("yyyyMMdd", base::Locale::posix(), base::TimeZone::gmt()),
        base::DateFormatter("yyyy-MM-dd HH:mm", base::Locale("zh_CN"), base::TimeZone::gmt()),
        base::DateFormatter("MMMM yy h a", base::Locale::posix(), base::TimeZone::gmt()),
    };
    for (const auto &formatter : formatters)
        formatter.date(text);
    base::Data bytes(data, size);
    for (auto encoding : {base::Encoding::Utf8, base::Encoding::Gb18030, base::Encoding::Ascii})
        if (auto decoded = base::decode(bytes, encoding))
            base::encode(*decoded, encoding);
    return 0;
}
