#pragma once

#include "base/Error.h"
#include "base/Object.h"
#include "base/Value.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Reads a whole UTF-8 JSON text whose top level is an array or an object. On failure the answer
// is empty and `error` holds the text of the first fault; a later success leaves it unchanged.
class QXJsonParser {
public:
    static constexpr const char *ErrorDomain = "org.QXJsonParser.ErrorDomain";

    // An absent text fails with "Input was 'nil'".
    std::optional<base::Value> objectWithString(std::optional<std::string_view> text);
    // As above; on failure, when `error` is given, it receives an error object of ErrorDomain, code 0.
    std::optional<base::Value> objectWithString(std::optional<std::string_view> text,
                                                base::Ref<base::Error> *error);
    std::optional<base::Value> objectWithData(std::optional<std::string_view> bytes);

    uint32_t maxDepth() const { return maxDepth_; }
    void setMaxDepth(uint32_t maxDepth) { maxDepth_ = maxDepth; }
    const std::string &error() const { return error_; }
    void setError(std::string error) { error_ = std::move(error); }

private:
    std::string error_;
    uint32_t maxDepth_ = 32;
};

// The array or dictionary the text holds, or nothing when it is not such a JSON document.
std::optional<base::Value> JSONValue(std::string_view text);
