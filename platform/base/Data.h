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
    Data(const void* bytes, size_t length);
    static Data fromString(std::string_view text) { return Data(text.data(), text.size()); }

    const uint8_t* bytes() const { return bytes_.data(); }
    uint8_t* mutableBytes() { return bytes_.data(); }
    size_t length() const { return bytes_.size(); }
    bool empty() const { return bytes_.empty(); }
    std::span<const uint8_t> span() const { return bytes_; }
    std::string_view view() const { return {reinterpret_cast<const char*>(bytes_.data()), bytes_.size()}; }
    std::string toString() const { return std::string(view()); }
    const std::vector<uint8_t>& vector() const& { return bytes_; }
    std::vector<uint8_t>& vector() & { return bytes_; }
    std::vector<uint8_t> vector() && { return std::move(bytes_); }

    void append(const void* bytes, size_t length);
    void append(const Data& other) { append(other.bytes(), other.length()); }
    void resize(size_t length) { bytes_.resize(length); }
    // Replaces `length` bytes at `offset` with the given bytes (which may be of another length).
    void replace(size_t offset, size_t length, const void* bytes, size_t newLength);
    // Drops the first `length` bytes.
    void removeFront(size_t length);
    Data subdata(size_t offset, size_t length) const;

    // "<0a1b2c3d 0e0f>": bytes in lower-case hex, a space after every four.
    std::string description() const;
    // Standard base64; with `lines64` a line feed after every 64 characters.
    std::string base64(bool lines64 = false) const;
    // Skips characters outside the alphabet; nothing when the padding or length is wrong.
    static std::optional<Data> fromBase64(std::string_view text);

    bool operator==(const Data&) const = default;

private:
    std::vector<uint8_t> bytes_;
};

} // namespace base
