#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace base {

// An absolute URL, parsed and normalised by libcurl's URL parser. The HTTP client reads its parts,
// resolves "Location" values against it and takes user name and password from it.
class Url {
public:
    // Nothing when `text` is not an absolute URL with a scheme.
    static std::optional<Url> parse(std::string_view text);
    // The "file" URL of an absolute path.
    static Url file(std::string_view path);

    // `reference` (absolute, or relative to this URL) made absolute; nothing when it does not parse.
    std::optional<Url> resolving(std::string_view reference) const;

    const std::string &absoluteString() const { return text_; }
    // Lower case, as the parser normalises it.
    const std::string &scheme() const { return scheme_; }
    // Empty when the URL names none.
    const std::string &host() const { return host_; }
    // The port the URL names; nothing when it names none.
    std::optional<uint16_t> port() const { return port_; }
    // Decoded user name and password; empty when absent.
    const std::string &user() const { return user_; }
    const std::string &password() const { return password_; }
    // The path as written (percent escapes kept), "/" at least for hierarchical URLs.
    const std::string &path() const { return path_; }
    const std::string &query() const { return query_; }
    // The last path component's extension, without the dot; empty when there is none.
    std::string pathExtension() const;
    // The URL without user information, for logs and the proxy resolver.
    std::string withoutCredentials() const;

    bool operator==(const Url &other) const { return text_ == other.text_; }
    std::string description() const { return text_; }

private:
    Url() = default;
    static std::optional<Url> fromHandle(void *handle);

    std::string text_, scheme_, host_, user_, password_, path_, query_;
    std::optional<uint16_t> port_;
};

} // namespace base
