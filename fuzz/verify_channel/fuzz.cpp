// The mobile verification's side channel reads what a broker's quote address sends: cutting any
// bytes into packets and reading each as an address or a check-code reply must stay within the
// bytes, and a coded check code of any text decodes to digits.
#include "Class/Module/LoginModel/PhoneRegViewController/VerifyChannel.h"

#include <cstdint>
#include <span>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::span<const uint8_t> buffer(data, size);
    while (auto packet = VerifyChannel::nextPacket(buffer)) {
        VerifyChannel::readAddress(packet->body);
        VerifyChannel::readPassword(packet->body);
        buffer = buffer.subspan(VerifyChannel::kHeaderSize + packet->body.size());
    }
    std::string text(reinterpret_cast<const char *>(data), size);
    VerifyChannel::DecodeCheckNum(text, text.substr(size / 2));
    return 0;
}
