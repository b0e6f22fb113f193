#pragma once

#include "base/Object.h"

#include <optional>
#include <string>

// One article, from the article reply. `content` is markup and goes into the article page as it
// is; the other fields are plain texts.
class NewsContentInfo : public base::Object {
public:
    std::optional<std::string> title;
    std::optional<std::string> source;
    std::optional<std::string> otime;
    std::optional<std::string> content;
};
