#pragma once

#include <cstddef>
#include <cstdint>

// The cipher, digest and checksum of the trade-gateway protocol.

// zlib's CRC-32 of the bytes.
uint32_t crc32_crypto(const uint8_t *bytes, size_t length);

// The 16-byte MD5 digest of the bytes into `result`.
void md5(const uint8_t *bytes, size_t length, uint8_t result[16]);

// AES-128-ECB without padding, block by block; `output` may be `input`. They return the length,
// or 0 without touching the output when the length is not whole blocks or the key is not 16 bytes.
size_t enc_aes(const uint8_t *input, size_t length, const uint8_t *key, size_t keyLength, uint8_t *output);
size_t dec_aes(const uint8_t *input, size_t length, const uint8_t *key, size_t keyLength, uint8_t *output);

// Overwrites secret bytes in a way the compiler may not drop as a dead store.
void wipeSecret(void *bytes, size_t length);
