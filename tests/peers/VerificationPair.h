#pragma once

#include "NavigationServer.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace peers {

// A broker's mobile verification service on 127.0.0.1: a navigation server, which the broker
// table lists as the broker's quote address, whose first quote server is a frame server answering
// 1904 (the check code of a mobile) with a result byte (1 known, 0 not) and a text (the code, or
// why not). Tests shape either server's replies with its faults, or point the navigation elsewhere.
class VerificationPair {
public:
    static constexpr uint16_t PasswordType = 1904;
    static constexpr const char *kUnknownMobile = "该手机号码未开通手机委托";

    explicit VerificationPair(uint16_t navigationPort = 0);
    ~VerificationPair();

    void addMobile(const std::string &mobile, const std::string &code);
    // The reply body to a 1904 request body.
    base::Data passwordReply(ByteView request) const;

    NavigationServer &navigation() { return *navigation_; }
    FrameServer &codes() { return *codes_; }
    // Both servers bound.
    bool listening() const { return navigation_->port() != 0 && codes_->port() != 0; }
    // Neither server has anything to do until its client acts.
    bool quiet() { return navigation_->quiet() && codes_->quiet(); }

private:
    mutable std::mutex mutex_;
    std::map<std::string, std::string> codesByMobile_;
    std::unique_ptr<FrameServer> codes_;
    std::unique_ptr<NavigationServer> navigation_;
};

} // namespace peers
