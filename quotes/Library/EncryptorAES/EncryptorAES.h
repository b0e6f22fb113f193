#pragma once

#include "base/Data.h"

#include <optional>
#include <string>
#include <string_view>

// AES-256-CBC with PKCS#7 padding for the saved market login. Class operations only.
//
// Keys are cut or zero-filled to 32 bytes; the vector is all zeros unless one is given (its
// first 16 bytes, zero-filled). The login is stored with a fixed key and the zero vector, and
// must stay that way for saved configurations to decipher.
class EncryptorAES {
public:
    EncryptorAES() = delete;

    // The key string the saved login name and password are enciphered with.
    static constexpr std::string_view LoginKeyString = "WbK53mt_ZP814QC";

    // Nothing on any cipher failure (for deciphering: wrong key, damaged text, bad padding).
    static std::optional<base::Data> encryptData(const base::Data &data, const base::Data &key,
                                                 const base::Data *iv = nullptr);
    static std::optional<base::Data> decryptData(const base::Data &data, const base::Data &key,
                                                 const base::Data *iv = nullptr);

    // The UTF-8 text enciphered with the key string and written as base64, in lines of 64
    // characters when asked.
    static std::optional<std::string> encryptBase64String(std::string_view plainText,
                                                          std::string_view keyString, bool separateLines);
    // Nothing when the text does not decipher or does not decipher to UTF-8.
    static std::optional<std::string> decryptBase64String(std::string_view base64Text,
                                                          std::string_view keyString);
};
