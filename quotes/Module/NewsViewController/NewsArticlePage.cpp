#include "Module/NewsViewController/NewsArticlePage.h"

#include "base/Bundle.h"
#include "base/Str.h"

#include <fstream>
#include <iterator>

std::string NewsArticlePage::escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string NewsArticlePage::block(float pointSize, std::string_view text, bool centred) {
    std::string span =
        base::str::format("<span style=\"font-family:宋体; font-size:%.0fpt\">", double(pointSize));
    span.append(text);
    span += "</span>";
    return centred ? "<center>" + span + "</center>" : span;
}

std::string NewsArticlePage::fill(std::string_view templateText, const std::vector<std::string> &blocks) {
    constexpr std::string_view place = "%@";
    std::string out;
    size_t next = 0, from = 0;
    for (size_t at = templateText.find(place); at != std::string_view::npos;
         at = templateText.find(place, from)) {
        out.append(templateText.substr(from, at - from));
        if (next < blocks.size())
            out += blocks[next];
        ++next;
        from = at + place.size();
    }
    out.append(templateText.substr(from));
    return out;
}

std::optional<NewsArticlePage::Page> NewsArticlePage::fromTemplate(std::string_view name,
                                                                   const std::vector<std::string> &blocks) {
    std::optional<std::string> path = base::Bundle::main().pathFor(name, "html");
    if (!path)
        return std::nullopt;
    std::ifstream in(*path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return Page{fill(text, blocks), base::Url::file(*path)};
}
