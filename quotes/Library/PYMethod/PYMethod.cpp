#include "PYMethod.h"

#include "PYTable.h"
#include "base/Encoding.h"

namespace {

// The numbers of the numbered symbols of row A2 (ⅰ, ⒈, ⑴, ①, ㈠, Ⅰ …), by trail byte − 0xA1.
const char *const PYCharIndex[94] = {
    "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9", "10", "",   "",   "",   "",   "",   "",
    "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9", "10", "11", "12", "13", "14", "15", "16",
    "17", "18", "19", "20", "1",  "2",  "3",  "4",  "5", "6",  "7",  "8",  "9",  "10", "11", "12",
    "13", "14", "15", "16", "17", "18", "19", "20", "1", "2",  "3",  "4",  "5",  "6",  "7",  "8",
    "9",  "10", "",   "",   "1",  "2",  "3",  "4",  "5", "6",  "7",  "8",  "9",  "10", "",   "",
    "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9", "10", "11", "12", "",   "",
};

// What one two-byte character (lead 0x81-0xFE, trail 0x40-0xFE) contributes.
void appendCharacter(std::string &out, unsigned char lead, unsigned char trail) {
    if (lead == 0xA2) {
        out += trail >= 0xA1 ? PYCharIndex[trail - 0xA1] : " ";
        return;
    }
    if (lead == 0xA3) {
        // Full-width forms are their ASCII characters; the rest of the row holds none.
        out += trail >= 0xA1 ? char(trail - 0x80) : ' ';
        return;
    }
    if (lead == 0xB7 && trail == 0xF0) { // 佛
        out += 'F';
        return;
    }
    if (lead == 0xB3 && trail == 0xA4) { // 长, searched as in 长江
        out += 'C';
        return;
    }
    int32_t n = PYCodeIndex[(lead - 0x81) * PYTrailCount + (trail - 0x40)];
    out += n > 0 && n <= PYCodeCount ? PYCode[n - 1][0] : ' ';
}

bool startsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

} // namespace

std::string PYMethod::getPinYin(std::string_view text) {
    auto bytes = base::encode(text, base::Encoding::Gb18030);
    return bytes ? getPinYinOfGB18030(bytes->view()) : std::string();
}

std::string PYMethod::getPinYinOfGB18030(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\0'));
    std::string out;
    for (size_t i = 0; i < bytes.size();) {
        auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            if (b != ' ' && b != '*')
                out += b >= 'a' && b <= 'z' ? char(b - 'a' + 'A') : char(b);
            i += 1;
            continue;
        }
        // 0x80 and 0xFF never lead a character; neither does a byte without a trail byte
        // (the four-byte area has digits there).
        auto c = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        if (b < 0x81 || b > 0xFE || c < 0x40 || c > 0xFE) {
            i += 1;
            continue;
        }
        appendCharacter(out, b, c);
        i += 2;
    }
    // Names whose first character is read otherwise at the start of a name.
    if (startsWith(bytes, "\xCE\xF7\xB2\xD8")) // 西藏
        out = "XZ" + out.substr(2);
    else if (startsWith(bytes, "\xD6\xD8\xC7\xEC")) // 重庆
        out = "C" + out.substr(1);
    return out;
}
