#pragma once

#include "base/Value.h"

#include <optional>
#include <string>
#include <string_view>

// How the news road reads the news host's JSON documents: every text field of a record, a
// board menu row or a request's reply is read through strValueForKey, so that a number the host
// writes where a text belongs still shows, and a null, an array or an object never does. Class
// operations only; used by the news fetcher and its readers.
class Util_Json {
public:
    Util_Json() = delete;

    // A string unchanged, a number as its decimal text, anything else (null, boolean, array,
    // object) as "".
    static std::string formatJsonValue(const base::Value &value);
    // formatJsonValue of the dictionary's value under key; "" when the key is missing or `dict`
    // is not a dictionary.
    static std::string strValueForKey(std::string_view key, const base::Value &dict);
    // The parsed document when it is a JSON array; nothing for any other text.
    static std::optional<base::Array> parseToArray(std::string_view text);
};
