#include "net/HttpMessage.h"

#include <algorithm>
#include <cctype>

namespace net {

namespace {

bool isTokenChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) ||
           std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool isToken(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), isTokenChar);
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() &&
           (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

} // namespace

bool sameHeaderName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

base::Ref<HttpMessage> HttpMessage::request(std::string method, base::Url url, bool http10) {
    if (!isToken(method))
        return nullptr;
    auto message = base::make<HttpMessage>();
    message->method_ = std::move(method);
    message->url_ = std::move(url);
    message->version_ = http10 ? "HTTP/1.0" : "HTTP/1.1";
    return message;
}

void HttpMessage::setHeader(std::string_view name, std::string value) {
    removeHeader(name);
    fields_.emplace_back(std::string(name), std::move(value));
}

void HttpMessage::removeHeader(std::string_view name) {
    std::erase_if(fields_, [&](const auto &field) { return sameHeaderName(field.first, name); });
}

std::optional<std::string> HttpMessage::header(std::string_view name) const {
    std::optional<std::string> out;
    for (auto &[key, value] : fields_) {
        if (!sameHeaderName(key, name))
            continue;
        out = out ? *out + ", " + value : value;
    }
    return out;
}

std::vector<std::string> HttpMessage::headerValues(std::string_view name) const {
    std::vector<std::string> out;
    for (auto &[key, value] : fields_)
        if (sameHeaderName(key, name))
            out.push_back(value);
    return out;
}

base::Dict HttpMessage::allHeaders() const {
    base::Dict out;
    std::vector<std::string> seen;
    for (const auto &field : fields_) {
        const std::string &key = field.first;
        if (std::any_of(seen.begin(), seen.end(),
                        [&](const std::string &s) { return sameHeaderName(s, key); }))
            continue;
        seen.push_back(key);
        out.set(key, *header(key));
    }
    return out;
}

bool HttpMessage::addResponseLine(std::string_view line) {
    std::string_view text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.remove_suffix(1);
    if (text.starts_with("HTTP/")) {
        // "HTTP/1.1 200 OK": version, three digits, an optional reason.
        auto space = text.find(' ');
        if (space == std::string_view::npos || space + 4 > text.size())
            return false;
        std::string_view code = text.substr(space + 1, 3);
        if (!std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
            (space + 4 < text.size() && text[space + 4] != ' '))
            return false;
        version_ = std::string(text.substr(0, space));
        status_ = std::stoi(std::string(code));
        statusLine_ = std::string(text);
        fields_.clear();
        complete_ = false;
        return true;
    }
    if (statusLine_.empty() || complete_)
        return false;
    if (text.empty()) {
        complete_ = true;
        return true;
    }
    if (text.front() == ' ' || text.front() == '\t') {
        // A folded continuation of the previous field.
        if (fields_.empty())
            return false;
        fields_.back().second.append(" ").append(trim(text));
        return true;
    }
    auto colon = text.find(':');
    if (colon == std::string_view::npos || !isToken(text.substr(0, colon)))
        return false;
    fields_.emplace_back(std::string(text.substr(0, colon)), std::string(trim(text.substr(colon + 1))));
    return true;
}

} // namespace net
