#include "QXJsonStreamWriter.h"

#include "QXJsonTokeniser.h"
#include "QXJsonUTF8Stream.h"
#include "base/Str.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// Appends the string quoted and escaped; false when it is not well-formed UTF-8.
bool appendQuoted(std::string &out, std::string_view text) {
    static constexpr char hex[] = "0123456789abcdef";
    out.reserve(out.size() + text.size() + text.size() / 10 + 2);
    out += '"';
    bool broken = false;
    for (size_t i = 0;;) {
        size_t stop = QXJsonUTF8Stream::scanText(text, i, broken);
        out.append(text.substr(i, stop - i));
        if (stop == text.size())
            break;
        unsigned char c = static_cast<unsigned char>(text[stop]);
        switch (c) {
        case '\b':
            out += "\\b";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\r':
            out += "\\r";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
        i = stop + 1;
    }
    out += '"';
    return !broken;
}

// Quoted strings recently written on this thread. A fixed table of slots chosen by hash, each
// holding one short string, so the cache stays small however many strings pass through it.
class QuotedStringCache {
public:
    static constexpr size_t slotCount = 256;
    static constexpr size_t longestCached = 32;

    // Appends the quoted form of the string, from the cache when it is there; false when the
    // string is not well-formed UTF-8 (nothing is appended then).
    bool append(std::string &out, std::string_view text) {
        size_t start = out.size();
        if (text.size() > longestCached) {
            if (appendQuoted(out, text))
                return true;
            out.resize(start);
            return false;
        }
        Slot &slot = slots_[hash(text) % slotCount];
        if (slot.filled && slot.text == text) {
            out += slot.quoted;
            return true;
        }
        slot.filled = appendQuoted(out, text);
        if (!slot.filled) {
            out.resize(start);
            return false;
        }
        slot.text.assign(text);
        slot.quoted.assign(out, start);
        return true;
    }

private:
    struct Slot {
        bool filled = false;
        std::string text;
        std::string quoted;
    };

    // Mixes the length with the first and the last eight bytes: cheap, and enough to spread
    // keys, names and times over the slots. A clash only costs a miss.
    static size_t hash(std::string_view text) {
        uint64_t head = 0, tail = 0;
        if (!text.empty()) {
            size_t n = std::min<size_t>(text.size(), 8);
            std::memcpy(&head, text.data(), n);
            std::memcpy(&tail, text.data() + text.size() - n, n);
        }
        uint64_t h = (head * 0x9E3779B97F4A7C15ull) ^ (tail * 0xC2B2AE3D27D4EB4Full) ^ text.size();
        return size_t(h ^ (h >> 29));
    }

    std::vector<Slot> slots_ = std::vector<Slot>(slotCount);
};

thread_local QuotedStringCache quotedStrings;

// Whether a decimal kept as text holds a JSON number; anything else is the decimal not-a-number.
bool isJsonNumber(const std::string &text) {
    QXJsonTokeniser tokeniser;
    tokeniser.appendData(text);
    tokeniser.appendData(" ");
    QXJsonTokenValue value;
    return tokeniser.getToken(value) == QXJsonTokenNumber && tokeniser.atEnd();
}

// The class name that failure texts give for a value the writer cannot write.
const char *className(const base::Value &value) {
    switch (value.type()) {
    case base::Value::Type::Data:
        return "Data";
    case base::Value::Type::Date:
        return "Date";
    case base::Value::Type::String:
        return "String";
    case base::Value::Type::Array:
        return "Array";
    case base::Value::Type::Dict:
        return "Dict";
    default:
        return "Null";
    }
}

template <class T> std::string_view printed(char (&buffer)[128], T value) {
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return {buffer, size_t(result.ptr - buffer)};
}

constexpr size_t batchSize = 4096;

} // namespace

QXJsonStreamWriter::Batch::Batch(QXJsonStreamWriter &writer) : writer_(writer) {
    outermost_ = !writer_.batching_;
    writer_.batching_ = true;
}

QXJsonStreamWriter::Batch::~Batch() {
    if (!outermost_)
        return;
    writer_.batching_ = false;
    writer_.flush();
}

QXJsonStreamWriter::QXJsonStreamWriter() : state_(QXJsonStreamWriterStateStart::sharedInstance()) {
    stateStack_.reserve(maxDepth_);
}

void QXJsonStreamWriter::appendBytes(const char *bytes, size_t length) {
    if (!batching_) {
        if (base::Ref<QXJsonStreamWriterDelegate> delegate = delegate_.lock())
            delegate->writerAppendBytes(*this, bytes, length);
        return;
    }
    batch_.append(bytes, length);
    if (batch_.size() >= batchSize)
        flush();
}

void QXJsonStreamWriter::flush() {
    if (batch_.empty())
        return;
    if (base::Ref<QXJsonStreamWriterDelegate> delegate = delegate_.lock())
        delegate->writerAppendBytes(*this, batch_.data(), batch_.size());
    batch_.clear();
}

bool QXJsonStreamWriter::fail(std::string error) {
    error_ = std::move(error);
    return false;
}

bool QXJsonStreamWriter::beginValue() {
    if (state_->isInvalidState(*this) || state_->expectingKey(*this))
        return false;
    state_->appendSeparator(*this);
    if (humanReadable_)
        state_->appendWhitespace(*this);
    return true;
}

bool QXJsonStreamWriter::beginContainer(const QXJsonStreamWriterState *start, char bracket) {
    if (state_->isInvalidState(*this) || state_->expectingKey(*this))
        return false;
    state_->appendSeparator(*this);
    if (humanReadable_ && !stateStack_.empty())
        state_->appendWhitespace(*this);
    stateStack_.push_back(state_);
    state_ = start;
    if (maxDepth_ != 0 && stateStack_.size() > maxDepth_)
        return fail("Nested too deep");
    appendBytes(&bracket, 1);
    return true;
}

bool QXJsonStreamWriter::endContainer(char bracket) {
    if (stateStack_.empty()) {
        state_ = QXJsonStreamWriterStateError::sharedInstance();
        return fail("No open array or object to close");
    }
    const QXJsonStreamWriterState *closed = state_;
    state_ = stateStack_.back();
    stateStack_.pop_back();
    if (humanReadable_)
        closed->appendWhitespace(*this);
    appendBytes(&bracket, 1);
    state_->transitionState(*this);
    return true;
}

bool QXJsonStreamWriter::writeObjectOpen() {
    return beginContainer(QXJsonStreamWriterStateObjectStart::sharedInstance(), '{');
}

bool QXJsonStreamWriter::writeArrayOpen() {
    return beginContainer(QXJsonStreamWriterStateArrayStart::sharedInstance(), '[');
}

bool QXJsonStreamWriter::writeObjectClose() {
    if (state_->isInvalidState(*this))
        return false;
    return endContainer('}');
}

bool QXJsonStreamWriter::writeArrayClose() {
    if (state_->isInvalidState(*this) || state_->expectingKey(*this))
        return false;
    return endContainer(']');
}

bool QXJsonStreamWriter::writeObject(const base::Dict &dict) {
    Batch batch(*this);
    if (!writeObjectOpen())
        return false;
    auto writeEntry = [this](const base::Dict::Entry &entry) {
        return writeString(entry.first) && writeValue(entry.second);
    };
    if (!sortKeys_) {
        for (const auto &entry : dict)
            if (!writeEntry(entry))
                return false;
        return writeObjectClose();
    }
    std::vector<const base::Dict::Entry *> sorted;
    sorted.reserve(dict.size());
    for (const auto &entry : dict)
        sorted.push_back(&entry);
    std::sort(sorted.begin(), sorted.end(), [](auto *a, auto *b) { return a->first < b->first; });
    for (const auto *entry : sorted)
        if (!writeEntry(*entry))
            return false;
    return writeObjectClose();
}

bool QXJsonStreamWriter::writeArray(const base::Array &array) {
    Batch batch(*this);
    if (!writeArrayOpen())
        return false;
    for (const auto &element : array)
        if (!writeValue(element))
            return false;
    return writeArrayClose();
}

bool QXJsonStreamWriter::writeValue(const base::Value &value) {
    Batch batch(*this);
    switch (value.type()) {
    case base::Value::Type::Dict:
        return writeObject(*value.dict());
    case base::Value::Type::Array:
        return writeArray(*value.array());
    case base::Value::Type::String:
        return writeString(*value.string());
    case base::Value::Type::Null:
        return writeNull();
    default:
        return writeNumber(value);
    }
}

bool QXJsonStreamWriter::writeNull() {
    if (!beginValue())
        return false;
    appendBytes("null", 4);
    state_->transitionState(*this);
    return true;
}

bool QXJsonStreamWriter::writeBool(bool value) {
    if (!beginValue())
        return false;
    if (value)
        appendBytes("true", 4);
    else
        appendBytes("false", 5);
    state_->transitionState(*this);
    return true;
}

bool QXJsonStreamWriter::writeString(std::string_view string) {
    Batch batch(*this);
    if (state_->isInvalidState(*this))
        return false;
    state_->appendSeparator(*this);
    if (humanReadable_)
        state_->appendWhitespace(*this);
    if (!quotedStrings.append(batch_, string))
        return fail("Broken Unicode encoding");
    if (batch_.size() >= batchSize)
        flush();
    state_->transitionState(*this);
    return true;
}

bool QXJsonStreamWriter::writeNumber(const base::Value &number) {
    if (const bool *flag = number.boolean())
        return writeBool(*flag);
    if (!number.isNumber())
        return fail(base::str::format("JSON serialisation not supported for %@", className(number)));
    if (!beginValue())
        return false;
    char buffer[128];
    std::string_view text;
    std::string decimalText;
    if (const int64_t *integer = number.integer()) {
        text = printed(buffer, *integer);
    } else if (const uint64_t *unsignedInteger = number.unsignedInteger()) {
        text = printed(buffer, *unsignedInteger);
    } else if (const double *real = number.real()) {
        if (std::isnan(*real))
            return fail("NaN is not a valid number in JSON");
        if (std::isinf(*real))
            return fail(*real > 0 ? "+Infinity is not a valid number in JSON"
                                  : "-Infinity is not a valid number in JSON");
        auto result = std::to_chars(buffer, buffer + sizeof buffer, *real, std::chars_format::general, 17);
        text = {buffer, size_t(result.ptr - buffer)};
    } else {
        const base::Decimal &decimal = *number.decimal();
        if (!decimal.text.empty() && !isJsonNumber(decimal.text))
            return fail("NaN is not a valid number in JSON");
        decimalText = decimal.description();
        text = decimalText;
    }
    appendBytes(text.data(), text.size());
    state_->transitionState(*this);
    return true;
}
