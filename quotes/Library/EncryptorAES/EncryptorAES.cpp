#include "EncryptorAES.h"

#include "Base64.h"
#include "base/Str.h"
#include "crypto/Crypto.h"

#include <algorithm>

namespace {

// The first `size` bytes, zero-filled when shorter.
base::Data sized(const base::Data &bytes, size_t size) {
    base::Data out(bytes.bytes(), std::min(bytes.length(), size));
    out.resize(size);
    return out;
}

std::optional<base::Data> crypt(bool encrypt, const base::Data &data, const base::Data &key,
                                const base::Data *iv) {
    base::Data vector = iv ? sized(*iv, 16) : base::Data();
    return crypto::aesCbcPkcs7(encrypt, sized(key, 32), iv ? &vector : nullptr, data);
}

} // namespace

std::optional<base::Data> EncryptorAES::encryptData(const base::Data &data, const base::Data &key,
                                                    const base::Data *iv) {
    return crypt(true, data, key, iv);
}

std::optional<base::Data> EncryptorAES::decryptData(const base::Data &data, const base::Data &key,
                                                    const base::Data *iv) {
    return crypt(false, data, key, iv);
}

std::optional<std::string> EncryptorAES::encryptBase64String(std::string_view plainText,
                                                             std::string_view keyString, bool separateLines) {
    auto cipher = encryptData(base::Data::fromString(plainText), base::Data::fromString(keyString));
    if (!cipher)
        return std::nullopt;
    return Base64::base64EncodedStringWithSeparateLines(*cipher, separateLines);
}

std::optional<std::string> EncryptorAES::decryptBase64String(std::string_view base64Text,
                                                             std::string_view keyString) {
    auto plain = decryptData(Base64::dataFromBase64String(base64Text), base::Data::fromString(keyString));
    if (!plain || !base::str::isValidUtf8(plain->view()))
        return std::nullopt;
    return plain->toString();
}
