// What the home page asks of the loopback quote server beyond the lists: the web pages' user key
// (2972), with switches for the replies that carry none, and a code withheld from lists by code.
#include "QuoteServer.h"

#include "base/Str.h"

namespace peers {

void QuoteServer::setUserKeyReply(UserKeyReply reply) {
    std::lock_guard lock(stateMutex_);
    userKeyReply_ = reply;
}

void QuoteServer::withholdCode(std::string code) {
    std::lock_guard lock(stateMutex_);
    withheldCode_ = std::move(code);
}

// Request: Byte 2, Short 119, Short 0, Short length, String name, String password. Reply: Byte 2,
// Short sub-type, Short 0, Short length, String key. A request of another marker or sub-type, or
// for an account whose password is wrong, gets an empty reply; the market account (no name) and
// each added account have a key of their own.
base::Data QuoteServer::webRights(ByteView request) const {
    constexpr int SubHeadMarker = 2;
    constexpr int UserKeySubType = 119;
    constexpr int OtherSubType = 120;
    uint32_t pos = 0;
    bool marked = ComAPI::ReadByte(request, pos) == SubHeadMarker;
    bool keyAsked = ComAPI::ReadShort(request, pos) == UserKeySubType;
    pos += 4;
    std::string name = ComAPI::ReadString(request, pos);
    std::string password = ComAPI::ReadString(request, pos);
    base::Data body;
    if (!marked || !keyAsked || (!name.empty() && accountCheck(name, password) != 0) ||
        userKeyReply_ == UserKeyReply::Empty)
        return body;
    std::string key = base::str::format("%08X&k %08X", MarketFixture::noise(name, UserKeySubType),
                                        MarketFixture::noise("userkey:" + name, int32_t(name.size())));
    ComAPI::WriteByte(body, SubHeadMarker);
    ComAPI::WriteShort(body, userKeyReply_ == UserKeyReply::Key ? UserKeySubType : OtherSubType);
    ComAPI::WriteShort(body, 0);
    ComAPI::WriteShort(body, int32_t(key.size()) + 2);
    ComAPI::WriteString(body, key);
    return body;
}

} // namespace peers
