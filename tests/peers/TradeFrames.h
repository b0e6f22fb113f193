#pragma once

#include "base/Data.h"

#include <cstdint>
#include <string>
#include <vector>

// Builders of trade-gateway replies, shared by the loopback gateway and the codec tests.
namespace peers {

base::Data fromHex(const std::string &hex);
std::string toHex(const base::Data &data);
std::string toHex(const uint8_t *bytes, size_t length);

// A plain block: digest, sequence, flags, lengths, text (zlib-compressed when asked) and zero fill,
// enciphered under `key`.
base::Data sealBlock(const std::string &text, const uint8_t key[16], int32_t dseq, bool compress = false);
// A reply frame around `payload`, zlib-compressed as a whole when asked.
base::Data replyFrame(char packtype, const base::Data &payload, int32_t synID, int32_t cookie = 0,
                      bool compress = false);
// A phone-check reply that accepts (nonce enciphered under `key`) or refuses with `errorText`.
base::Data acceptReply(const uint8_t nonce[16], const uint8_t key[16], int32_t startSeq);
base::Data refuseReply(const std::string &errorText);

// The key the gateway derives from its nonce, the check code and the request's key part.
std::vector<uint8_t> deriveKey(const uint8_t nonce[16], const std::string &checkCode,
                               const uint8_t keyPart[16]);

} // namespace peers
