#pragma once

#include "base/Object.h"
#include "base/Url.h"
#include "base/Value.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace net {

// An HTTP/1.x request or response head: start line and header fields. The HTTP client builds
// requests with it; HttpReadStream fills a response from the lines libcurl receives. Header names
// compare without regard to case; a response keeps every field line in the order received.
class HttpMessage : public base::Object {
public:
    // A request for `method` on `url`, HTTP/1.1 or, with `http10`, HTTP/1.0. Nothing when the
    // method is empty or has characters a token may not hold.
    static base::Ref<HttpMessage> request(std::string method, base::Url url, bool http10);
    // An empty response, filled by addResponseLine.
    static base::Ref<HttpMessage> response() { return base::make<HttpMessage>(); }

    bool isRequest() const { return url_.has_value(); }
    const std::string &method() const { return method_; }
    const std::optional<base::Url> &url() const { return url_; }
    // "HTTP/1.0" or "HTTP/1.1".
    const std::string &version() const { return version_; }

    // Replaces every field of that name with one holding `value`.
    void setHeader(std::string_view name, std::string value);
    void removeHeader(std::string_view name);
    // The field's value; several fields of one name are joined with ", ".
    std::optional<std::string> header(std::string_view name) const;
    // Each value of the fields of that name, in order (Set-Cookie lines stay apart).
    std::vector<std::string> headerValues(std::string_view name) const;
    const std::vector<std::pair<std::string, std::string>> &headerFields() const { return fields_; }
    // Every field by its name as first received, repeated names joined as header() joins them.
    base::Dict allHeaders() const;

    // Response: the status number, the whole status line without its line end, and whether the
    // blank line that ends the head has arrived.
    int statusCode() const { return status_; }
    const std::string &statusLine() const { return statusLine_; }
    bool headerComplete() const { return complete_; }

    // Takes one received line of a response head (line end included or not). A status line
    // starts the head afresh (after an interim 1xx response); the blank line completes it. False
    // for a malformed status or field line; the message is then unchanged.
    bool addResponseLine(std::string_view line);

private:
    std::string method_;
    std::optional<base::Url> url_;
    std::string version_ = "HTTP/1.1";
    std::vector<std::pair<std::string, std::string>> fields_;
    int status_ = 0;
    std::string statusLine_;
    bool complete_ = false;
};

// Whether two header names are the same, ignoring ASCII case.
bool sameHeaderName(std::string_view a, std::string_view b);

} // namespace net
