// Header values come from any server: every parser of them must answer a result or nothing, and
// never read past the text. The first byte picks the parser.
#include "HTTPRequest.h"

#include "net/Cookie.h"
#include "net/HttpAuthentication.h"
#include "net/HttpMessage.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0)
        return 0;
    std::string_view text(reinterpret_cast<const char *>(data) + 1, size - 1);
    static const base::Url from = *base::Url::parse("http://www.example.com/a/b");
    switch (data[0] % 6) {
    case 0:
        for (auto &challenge : net::parseChallenges(text))
            (void)challenge.params.size();
        break;
    case 1:
        net::parseSetCookie(text, from);
        break;
    case 2: {
        std::string mime;
        std::optional<uint32_t> encoding;
        HTTPRequest::parseMimeType(&mime, &encoding, text);
        HTTPRequest::parseContentLength(text);
        break;
    }
    case 3: {
        auto head = net::HttpMessage::response();
        head->addResponseLine("HTTP/1.1 200 OK");
        head->addResponseLine("Keep-Alive: " + std::string(text));
        head->addResponseLine("Connection: " + std::string(text.substr(0, text.find(','))));
        HTTPRequest::connectionReuse(*head, 60);
        break;
    }
    case 4:
        net::parseHttpDate(text);
        break;
    case 5: {
        // A whole head, line by line, then its challenge.
        auto head = net::HttpMessage::response();
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find('\n', start);
            head->addResponseLine(text.substr(start, end == std::string_view::npos ? end : end - start));
            if (end == std::string_view::npos)
                break;
            start = end + 1;
        }
        net::HttpAuthentication::fromResponse(*head, false);
        net::parseSetCookies(head->headerValues("Set-Cookie"), from);
        break;
    }
    }
    return 0;
}
