#include "base/Url.h"

#include <curl/curl.h>

#include <cctype>
#include <memory>

namespace base {

namespace {

struct HandleFree {
    void operator()(CURLU *h) const { curl_url_cleanup(h); }
};
using Handle = std::unique_ptr<CURLU, HandleFree>;

// One part of the parsed URL; empty when absent.
std::string part(CURLU *h, CURLUPart which, unsigned flags = 0) {
    char *text = nullptr;
    if (curl_url_get(h, which, &text, flags) != CURLUE_OK || !text)
        return {};
    std::string out(text);
    curl_free(text);
    return out;
}

constexpr unsigned parseFlags = CURLU_NON_SUPPORT_SCHEME;

} // namespace

std::optional<Url> Url::fromHandle(void *handle) {
    auto *h = static_cast<CURLU *>(handle);
    Url url;
    url.text_ = part(h, CURLUPART_URL);
    url.scheme_ = part(h, CURLUPART_SCHEME);
    if (url.text_.empty() || url.scheme_.empty())
        return std::nullopt;
    // Host names compare without regard to case.
    url.host_ = part(h, CURLUPART_HOST);
    for (char &c : url.host_)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    url.user_ = part(h, CURLUPART_USER, CURLU_URLDECODE);
    url.password_ = part(h, CURLUPART_PASSWORD, CURLU_URLDECODE);
    url.path_ = part(h, CURLUPART_PATH);
    url.query_ = part(h, CURLUPART_QUERY);
    std::string port = part(h, CURLUPART_PORT);
    if (!port.empty())
        url.port_ = uint16_t(std::stoul(port));
    return url;
}

std::optional<Url> Url::parse(std::string_view text) {
    Handle h(curl_url());
    if (!h || text.empty())
        return std::nullopt;
    if (curl_url_set(h.get(), CURLUPART_URL, std::string(text).c_str(), parseFlags) != CURLUE_OK)
        return std::nullopt;
    return fromHandle(h.get());
}

Url Url::file(std::string_view path) {
    Handle h(curl_url());
    curl_url_set(h.get(), CURLUPART_SCHEME, "file", 0);
    curl_url_set(h.get(), CURLUPART_PATH, std::string(path).c_str(), CURLU_URLENCODE);
    return *fromHandle(h.get());
}

std::optional<Url> Url::resolving(std::string_view reference) const {
    Handle h(curl_url());
    if (!h || curl_url_set(h.get(), CURLUPART_URL, text_.c_str(), parseFlags) != CURLUE_OK)
        return std::nullopt;
    if (curl_url_set(h.get(), CURLUPART_URL, std::string(reference).c_str(), parseFlags) != CURLUE_OK)
        return std::nullopt;
    return fromHandle(h.get());
}

std::string Url::pathExtension() const {
    std::string_view last(path_);
    if (auto slash = last.rfind('/'); slash != std::string_view::npos)
        last.remove_prefix(slash + 1);
    auto dot = last.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return {};
    return std::string(last.substr(dot + 1));
}

std::string Url::withoutCredentials() const {
    if (user_.empty() && password_.empty())
        return text_;
    Handle h(curl_url());
    curl_url_set(h.get(), CURLUPART_URL, text_.c_str(), parseFlags);
    curl_url_set(h.get(), CURLUPART_USER, nullptr, 0);
    curl_url_set(h.get(), CURLUPART_PASSWORD, nullptr, 0);
    return part(h.get(), CURLUPART_URL);
}

} // namespace base
