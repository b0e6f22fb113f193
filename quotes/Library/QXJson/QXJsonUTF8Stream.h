#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The bytes of a JSON text with a read position. Characters are single bytes; bytes of 0x80 and
// above only ever occur inside string fragments, which are checked as whole UTF-8 runs.
// Appended bytes are read where they lie until `retainUnread`, which copies what is left unread
// into the stream's own buffer; call it before the appended bytes go away.
class QXJsonUTF8Stream {
public:
    enum class Fragment { Incomplete, Complete, Broken };

    // Drops the bytes already read, then appends the new ones.
    void appendData(std::string_view bytes);
    void retainUnread();

    // The byte at the read position, not consumed; false at the end.
    bool getUnichar(unsigned char &ch) const {
        if (index_ >= bytes_.size())
            return false;
        ch = static_cast<unsigned char>(bytes_[index_]);
        return true;
    }
    // Advances by one, then reads there; false at the end (the position stays advanced).
    bool getNextUnichar(unsigned char &ch) {
        ++index_;
        return getUnichar(ch);
    }
    void skip() { ++index_; }
    void skipWhitespace();
    bool haveRemainingCharacters(size_t count) const {
        return index_ <= bytes_.size() && bytes_.size() - index_ >= count;
    }
    // Advances past the given bytes when they come next.
    bool skipCharacters(const char *chars, size_t length);
    std::string_view stringWithRange(size_t start, size_t length) const {
        return bytes_.substr(start, length);
    }
    size_t index() const { return index_; }
    void setIndex(size_t index) { index_ = index; }

    // The string bytes from the read position up to the first byte below 0x20, quote or backslash,
    // leaving the position on that byte. Incomplete when the bytes end first; Broken when the run
    // is not well-formed UTF-8.
    Fragment getRetainedStringFragment(std::string_view &fragment);

    // The position of the first byte at or after `from` in `text` that is below 0x20, a quote or a
    // backslash, or the size of `text` when there is none; `broken` is set when a byte of 0x80 or above on
    // the way is not part of a well-formed UTF-8 sequence.
    static size_t scanText(std::string_view text, size_t from, bool &broken);

private:
    std::string data_;       // owned bytes
    std::string_view bytes_; // the bytes being read: `data_` or the caller's
    size_t index_ = 0;
};
