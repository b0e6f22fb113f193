#include "Common/Util_Json/Util_Json.h"

#include "QXJsonParser.h"

std::string Util_Json::formatJsonValue(const base::Value &value) {
    // A boolean is a number to Value's own conversions, but never a text on the news road.
    if (value.isString() || (value.isNumber() && !value.isBool()))
        return value.stringValue();
    return {};
}

std::string Util_Json::strValueForKey(std::string_view key, const base::Value &dict) {
    const base::Dict *fields = dict.dict();
    const base::Value *value = fields ? fields->find(std::string(key)) : nullptr;
    return value ? formatJsonValue(*value) : std::string();
}

std::optional<base::Array> Util_Json::parseToArray(std::string_view text) {
    std::optional<base::Value> parsed = JSONValue(text);
    if (!parsed || !parsed->array())
        return std::nullopt;
    return *parsed->array();
}
