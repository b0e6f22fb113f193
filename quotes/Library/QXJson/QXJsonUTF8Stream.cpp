#include "QXJsonUTF8Stream.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr uint64_t ones = 0x0101010101010101ull;
constexpr uint64_t highs = 0x8080808080808080ull;

// Whether any of the eight bytes is below 0x20, a quote, a backslash or 0x80 and above.
bool needsAttention(uint64_t x) {
    auto zeroByte = [](uint64_t v) { return (v - ones) & ~v & highs; };
    return ((x | ((x - 0x20 * ones) & ~x)) & highs) != 0 || zeroByte(x ^ ('"' * ones)) != 0 ||
           zeroByte(x ^ ('\\' * ones)) != 0;
}

bool continuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Whether a three-byte sequence whose lead byte needs no further range check starts at p (n bytes
// available).
bool plainThreeBytes(const unsigned char *p, size_t n) {
    return n >= 3 && p[0] >= 0xE1 && p[0] <= 0xEF && p[0] != 0xED && continuation(p[1]) && continuation(p[2]);
}

// The length of the well-formed UTF-8 sequence at p (at most n bytes available), or 0.
size_t sequenceLength(const unsigned char *p, size_t n) {
    unsigned char c = p[0];
    if (c >= 0xC2 && c <= 0xDF)
        return n >= 2 && continuation(p[1]) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (n < 3 || !continuation(p[1]) || !continuation(p[2]))
            return 0;
        if ((c == 0xE0 && p[1] < 0xA0) || (c == 0xED && p[1] > 0x9F))
            return 0;
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (n < 4 || !continuation(p[1]) || !continuation(p[2]) || !continuation(p[3]))
            return 0;
        if ((c == 0xF0 && p[1] < 0x90) || (c == 0xF4 && p[1] > 0x8F))
            return 0;
        return 4;
    }
    return 0;
}

} // namespace

void QXJsonUTF8Stream::appendData(std::string_view bytes) {
    size_t read = std::min(index_, bytes_.size());
    index_ = 0;
    if (read == bytes_.size()) {
        data_.clear();
        bytes_ = bytes;
        return;
    }
    if (bytes_.data() == data_.data())
        data_.erase(0, read);
    else
        data_.assign(bytes_.substr(read));
    data_.append(bytes);
    bytes_ = data_;
}

void QXJsonUTF8Stream::retainUnread() {
    if (bytes_.data() == data_.data())
        return;
    data_.assign(bytes_.substr(std::min(index_, bytes_.size())));
    bytes_ = data_;
    index_ = 0;
}

void QXJsonUTF8Stream::skipWhitespace() {
    while (index_ < bytes_.size()) {
        char c = bytes_[index_];
        if (c != ' ' && c != '\n' && c != '\r' && c != '\t')
            return;
        ++index_;
    }
}

bool QXJsonUTF8Stream::skipCharacters(const char *chars, size_t length) {
    if (!haveRemainingCharacters(length) || std::memcmp(bytes_.data() + index_, chars, length) != 0)
        return false;
    index_ += length;
    return true;
}

size_t QXJsonUTF8Stream::scanText(std::string_view text, size_t from, bool &broken) {
    const auto *bytes = reinterpret_cast<const unsigned char *>(text.data());
    size_t length = text.size();
    size_t i = from;
    while (i < length) {
        uint64_t word;
        if (length - i >= 8 && (std::memcpy(&word, bytes + i, 8), !needsAttention(word))) {
            i += 8;
            continue;
        }
        unsigned char c = bytes[i];
        if (c < 0x80) {
            if (c < 0x20 || c == '"' || c == '\\')
                return i;
            ++i;
            continue;
        }
        // Most non-ASCII text here is Chinese: runs of three-byte sequences, taken one after another
        // without going back to the word test that every one of their words fails.
        if (plainThreeBytes(bytes + i, length - i)) {
            do
                i += 3;
            while (plainThreeBytes(bytes + i, length - i));
            continue;
        }
        size_t n = sequenceLength(bytes + i, length - i);
        if (n == 0) {
            broken = true;
            n = 1;
        }
        i += n;
    }
    return length;
}

QXJsonUTF8Stream::Fragment QXJsonUTF8Stream::getRetainedStringFragment(std::string_view &fragment) {
    bool broken = false;
    size_t stop = scanText(bytes_, index_, broken);
    if (stop >= bytes_.size())
        return Fragment::Incomplete;
    fragment = stringWithRange(index_, stop - index_);
    index_ = stop;
    return broken ? Fragment::Broken : Fragment::Complete;
}
