#pragma once

#include <string>
#include <string_view>

// Pinyin initials of Chinese text, the keys that securities are searched by. Class operation only.
class PYMethod {
public:
    PYMethod() = delete;

    // One upper-case initial per Chinese character (a blank for symbols without a reading);
    // ASCII is kept with letters upper-cased, blanks and "*" are dropped; full-width forms
    // become their ASCII characters and numbered symbols their numbers. "" for text that is
    // empty or not UTF-8.
    static std::string getPinYin(std::string_view text);
    // The same for text already in GB18030 (up to its first zero byte).
    static std::string getPinYinOfGB18030(std::string_view bytes);
};
