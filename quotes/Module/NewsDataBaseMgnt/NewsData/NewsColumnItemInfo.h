#pragma once

#include "base/Object.h"

#include <optional>
#include <string>

// One column of the news screen, from the column reply: the title on its button and the address
// of its first list page.
class NewsColumnItemInfo : public base::Object {
public:
    std::optional<std::string> cnName;
    std::optional<std::string> lisrUrl;
};
