#pragma once

#include "base/Url.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The one way an article page is made from a bundle template, for every screen that shows a news
// host's article: the news screen's article view, a security's news view and the free home page's
// panels. A template is an HTML resource of the bundle with "%@" places; fill() puts the blocks
// into them in one pass over the template, so a "%@" inside a block (a title the server sent) stays
// text and can never take the next block's place. escape() makes a server's plain text (a title, a
// source, a time) safe to put between tags; an article's body is markup and goes in unescaped.
class NewsArticlePage {
public:
    NewsArticlePage() = delete;

    struct Page {
        std::string html;
        // The template's own file address, so that its relative references (styles, images)
        // resolve inside the bundle.
        base::Url baseUrl;
    };

    // "&", "<", ">", '"' and "'" as character references.
    static std::string escape(std::string_view text);
    // One block of an article page: the text in the 宋体 family at the size in points (written with
    // no decimals), centred or not. The text goes in as it is: escape plain texts first.
    static std::string block(float pointSize, std::string_view text, bool centred);
    // The template with its "%@" places filled by the blocks in order; places beyond the blocks
    // stay empty, blocks beyond the places are dropped.
    static std::string fill(std::string_view templateText, const std::vector<std::string> &blocks);
    // The bundle template `name` (of type "html") filled with the blocks; nothing when the
    // bundle lacks it.
    static std::optional<Page> fromTemplate(std::string_view name, const std::vector<std::string> &blocks);
};
