#include "QXJsonWriter.h"

#include "QXJsonStreamWriter.h"
#include "QXJsonStreamWriterAccumulator.h"

std::optional<std::string> QXJsonWriter::stringWithObject(const base::Value &value) {
    error_.clear();
    auto accumulator = base::make<QXJsonStreamWriterAccumulator>();
    QXJsonStreamWriter writer;
    writer.setSortKeys(sortKeys_);
    writer.setMaxDepth(maxDepth_);
    writer.setHumanReadable(humanReadable_);
    writer.setDelegate(accumulator);

    bool written;
    if (const base::Dict *dict = value.dict())
        written = writer.writeObject(*dict);
    else if (const base::Array *array = value.array())
        written = writer.writeArray(*array);
    else {
        setError("Not valid type for JSON");
        return std::nullopt;
    }
    if (!written) {
        setError(writer.error());
        return std::nullopt;
    }
    return std::move(accumulator->data());
}

std::optional<std::string> QXJsonWriter::stringWithObject(const base::Value &value,
                                                          base::Ref<base::Error> *error) {
    std::optional<std::string> text = stringWithObject(value);
    if (!text && error)
        *error = base::Error::make(ErrorDomain, 0, error_);
    return text;
}

std::optional<base::Data> QXJsonWriter::dataWithObject(const base::Value &value) {
    std::optional<std::string> text = stringWithObject(value);
    if (!text)
        return std::nullopt;
    return base::Data::fromString(*text);
}

std::optional<std::string> JSONRepresentation(const base::Value &value) {
    return QXJsonWriter().stringWithObject(value);
}
