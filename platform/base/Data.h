#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace base {

// Growable bytes.
class Data {
public:
    Data() = default;
    explicit Data(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    Data(const void *bytes, size_t length);
    static Data fromString(std::string_view text) { return Data(text.data(), text.size()); }

    const uint8_t *bytes() const { return bytes_.data(); }
    uint8_t *mutableBytes() { return bytes_.data(); }
    size_t length() const { return bytes_.size(); }
    bool empty() const { return bytes_.empty(); }
    std::span<const uint8_t> span() const { return bytes_; }
    std::string_view view() const { return {reinterpret_cast<const char *>(bytes_.data()), bytes_.size()}; }
    std::string toString() const { return std::string(view()); }
    const std::vector<uint8_t> &vector() const & { return bytes_; }
    std::vector<uint8_t> &vector() & { return bytes_; }
    std::vector<uint8_t> vector() && { return std::move(bytes_); }

    void append(const void *bytes, size_t length);
    void append(const Data &other) { append(other.bytes(), other.length()); }
    void resize(size_t length) { bytes_.resize(length); }
    // Replaces `length` bytes at `offset` with the given bytes (which may be of another length).
    void replace(size_t offset, size_t length, const void *bytes, size_t newLength);
    // Drops the first `length` bytes.
    void removeFront(size_t length);
    Data subdata(size_t offset, size_t length) const;

    // "<0a1b2c3d 0e0f>": bytes in lower-case hex, a space after every four.
    std::string description() const;
    // Standard base64; with a line length, `lineBreak` goes between lines (none after the last).
    std::string base64(size_t lineLength = 0, std::string_view lineBreak = "\n") const;
    // Skips characters outside the alphabet; nothing when the padding or length is wrong.
    static std::optional<Data> fromBase64(std::string_view text);
    // Skips every character outside the alphabet, padding included; a last group of 2 or 3
    // characters still gives 1 or 2 bytes, a lone last character is dropped. Never fails.
    static Data fromBase64Lenient(std::string_view text);

    bool operator==(const Data &) const = default;

private:
    std::vector<uint8_t> bytes_;
};

} // namespace base
