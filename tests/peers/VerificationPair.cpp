#include "VerificationPair.h"

namespace peers {

VerificationPair::VerificationPair(uint16_t navigationPort) : codes_(std::make_unique<FrameServer>()) {
    codes_->start([this](const ReceivedFrame &request) -> std::optional<Frame> {
        if (request.type != PasswordType)
            return std::nullopt;
        Frame reply{request.seqID, PasswordType};
        reply.body = passwordReply(request.bytes());
        return reply;
    });
    navigation_ =
        std::make_unique<NavigationServer>(NavigationInfo::pointingAt(codes_->port()), navigationPort);
}

VerificationPair::~VerificationPair() {
    navigation_->stop();
    codes_->stop();
}

void VerificationPair::addMobile(const std::string &mobile, const std::string &code) {
    std::lock_guard lock(mutex_);
    codesByMobile_[mobile] = code;
}

base::Data VerificationPair::passwordReply(ByteView request) const {
    uint32_t pos = 0;
    std::string mobile = ComAPI::ReadString(request, pos);
    std::lock_guard lock(mutex_);
    auto known = codesByMobile_.find(mobile);
    base::Data body;
    ComAPI::WriteByte(body, known != codesByMobile_.end() ? 1 : 0);
    ComAPI::WriteString(body, known != codesByMobile_.end() ? known->second : kUnknownMobile);
    return body;
}

} // namespace peers
