#include "DataBase/WT/TradeCipher.h"

#include "crypto/Crypto.h"

#include <cstring>
#include <string.h>

namespace {

size_t runAes(bool encrypt, const uint8_t *input, size_t length, const uint8_t *key, size_t keyLength,
              uint8_t *output) {
    if (keyLength != 16 || length % 16 != 0 || length == 0)
        return 0;
    // Both copies may hold plain text (a request carries the trade password): wipe them after use.
    base::Data in(input, length);
    auto result = crypto::aesEcb128(encrypt, key, in);
    wipeSecret(in.mutableBytes(), in.length());
    if (!result || result->length() != length)
        return 0;
    std::memcpy(output, result->bytes(), length);
    wipeSecret(result->mutableBytes(), result->length());
    return length;
}

} // namespace

uint32_t crc32_crypto(const uint8_t *bytes, size_t length) {
    return crypto::crc32(bytes, length);
}

void md5(const uint8_t *bytes, size_t length, uint8_t result[16]) {
    base::Data digest = crypto::md5(bytes, length);
    std::memcpy(result, digest.bytes(), 16);
}

size_t enc_aes(const uint8_t *input, size_t length, const uint8_t *key, size_t keyLength, uint8_t *output) {
    return runAes(true, input, length, key, keyLength, output);
}

size_t dec_aes(const uint8_t *input, size_t length, const uint8_t *key, size_t keyLength, uint8_t *output) {
    return runAes(false, input, length, key, keyLength, output);
}

void wipeSecret(void *bytes, size_t length) {
    explicit_bzero(bytes, length);
}
