#pragma once

#include "base/Data.h"
#include "base/Error.h"
#include "base/Object.h"
#include "base/Value.h"

#include <cstdint>
#include <optional>
#include <string>

// Writes an array or a dictionary as UTF-8 JSON text. On failure the answer is empty and `error`
// says why.
class QXJsonWriter {
public:
    static constexpr const char *ErrorDomain = "org.QXJsonWriter.ErrorDomain";

    std::optional<std::string> stringWithObject(const base::Value &value);
    // As above; on failure, when `error` is given, it receives an error object of ErrorDomain, code 0.
    std::optional<std::string> stringWithObject(const base::Value &value, base::Ref<base::Error> *error);
    std::optional<base::Data> dataWithObject(const base::Value &value);

    const std::string &error() const { return error_; }
    void setError(std::string error) { error_ = std::move(error); }
    uint32_t maxDepth() const { return maxDepth_; }
    void setMaxDepth(uint32_t maxDepth) { maxDepth_ = maxDepth; }
    bool sortKeys() const { return sortKeys_; }
    void setSortKeys(bool sortKeys) { sortKeys_ = sortKeys; }
    bool humanReadable() const { return humanReadable_; }
    void setHumanReadable(bool humanReadable) { humanReadable_ = humanReadable; }

private:
    std::string error_;
    uint32_t maxDepth_ = 32;
    bool sortKeys_ = false;
    bool humanReadable_ = false;
};

// The compact JSON text of an array or a dictionary, or nothing when it cannot be written.
std::optional<std::string> JSONRepresentation(const base::Value &value);
