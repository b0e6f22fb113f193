#pragma once

#include "QXJsonUTF8Stream.h"
#include "base/Value.h"

#include <cstdint>
#include <string>
#include <string_view>

// Token codes of the JSON tokeniser.
enum QXJsonToken : int {
    QXJsonTokenError = -1,
    QXJsonTokenEof = 0, // no complete token in the bytes available
    QXJsonTokenArrayStart = 1,
    QXJsonTokenArrayEnd = 2,
    QXJsonTokenObjectStart = 3,
    QXJsonTokenObjectEnd = 4,
    QXJsonTokenValueSeparator = 5,
    QXJsonTokenKeyValueSeparator = 6,
    QXJsonTokenNumber = 7,
    QXJsonTokenString = 8,
    QXJsonTokenTrue = 9,
    QXJsonTokenFalse = 10,
    QXJsonTokenNull = 11,
};

// The value of the last string or number token.
struct QXJsonTokenValue {
    std::string string;
    base::Value number;
};

// Cuts JSON bytes into tokens and decodes strings, numbers and the words true, false and null.
// A token cut off by the end of the bytes is read again whole on the next call.
class QXJsonTokeniser {
public:
    // The bytes are read where they lie until `retainUnread`, which keeps a copy of what is left.
    void appendData(std::string_view bytes) { stream_.appendData(bytes); }
    void retainUnread() { stream_.retainUnread(); }
    QXJsonToken getToken(QXJsonTokenValue &value);
    const std::string &error() const { return error_; }
    // Whether nothing but whitespace is left unread.
    bool atEnd();

private:
    QXJsonToken getStringToken(std::string &value);
    QXJsonToken getNumberToken(base::Value &value);
    QXJsonToken match(const char *word, size_t length, QXJsonToken retval);
    QXJsonToken decodeUnicodeEscape(std::string &into);
    bool decodeEscape(unsigned char ch, std::string &into);
    bool decodeHexQuad(uint16_t &quad);
    QXJsonToken fail(std::string text);

    QXJsonUTF8Stream stream_;
    std::string error_;
};
