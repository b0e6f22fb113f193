#include "QXJsonParser.h"

#include "QXJsonStreamParser.h"
#include "QXJsonStreamParserAccumulator.h"
#include "QXJsonStreamParserAdapter.h"

std::optional<base::Value> QXJsonParser::objectWithString(std::optional<std::string_view> text) {
    return objectWithData(text);
}

std::optional<base::Value> QXJsonParser::objectWithString(std::optional<std::string_view> text,
                                                          base::Ref<base::Error> *error) {
    std::optional<base::Value> value = objectWithString(text);
    if (!value && error)
        *error = base::Error::make(ErrorDomain, 0, error_);
    return value;
}

std::optional<base::Value> QXJsonParser::objectWithData(std::optional<std::string_view> bytes) {
    if (!bytes) {
        setError("Input was 'nil'");
        return std::nullopt;
    }
    auto accumulator = base::make<QXJsonStreamParserAccumulator>();
    auto adapter = base::make<QXJsonStreamParserAdapter>();
    adapter->setDelegate(accumulator);
    QXJsonStreamParser parser;
    parser.setMaxDepth(maxDepth_);
    parser.setDelegate(adapter);

    switch (parser.parse(*bytes)) {
    case QXJsonParserComplete:
        // All bytes are here, so a token cut off at the end can never be completed.
        if (parser.tokeniser().atEnd())
            return accumulator->value();
        [[fallthrough]];
    case QXJsonParserWaitingForData:
        setError("Unexpected end of input");
        return std::nullopt;
    case QXJsonParserError:
        break;
    }
    setError(parser.error());
    return std::nullopt;
}

std::optional<base::Value> JSONValue(std::string_view text) {
    return QXJsonParser().objectWithString(text);
}
