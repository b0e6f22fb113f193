#include "Module/FrontPage/HomeWebPanel.h"

#include "Common/ServerConfig.h"
#include "DataBase/DataBase.h"
#include "DataBase/NetData/NetDataCenter.h"

#include <cctype>

HomeWebPanel::HomeWebPanel(gfx::Rect frame, std::string pageQuery, gfx::Rect browserFrame)
    : ui::View(frame), pageQuery_(std::move(pageQuery)), browserFrame_(browserFrame) {
    setBackgroundColor(gfx::Color::clear());
    opaque = false;
}

void HomeWebPanel::setUp() {
    ui::View::setUp();
    contentWebView_ = base::make<WebTabView>(browserFrame_);
    contentWebView_->delegate = weakSelf<HomeWebPanel>();
    addSubview(contentWebView_);
    requestUserKey();
}

void HomeWebPanel::requestUserKey() {
    if (const base::Ref<DataBase> &db = DataBase::sharedDataBase())
        if (auto center = db->IO_NetDataCenter())
            center->RequestWebPower(self<HomeWebPanel>());
}

std::string HomeWebPanel::percentEncoded(const std::string &text) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += char(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string HomeWebPanel::pageAddress(const std::string &userKey) const {
    return ServerConfig::urlFor(ServerConfig::NewsServerKey,
                                std::string(PanelPath) + pageQuery_ + percentEncoded(userKey));
}

void HomeWebPanel::DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) {
    if (reqType != WebPowerType || !params)
        return;
    base::Value held = params->get("rspDict");
    const base::Dict *reply = held.dict();
    if (!reply || !reply->has("subType") || reply->get("subType").intValue() != UserKeySubType)
        return;
    std::string address = pageAddress(reply->get("userKey").stringValue());
    if (!address.empty())
        contentWebView_->setContentURL(address);
}

base::Opt<bool> HomeWebPanel::webViewShouldStartLoad(ui::WebView &webView, const base::Url &url,
                                                     ui::NavigationType type) {
    curUrl_ = url.absoluteString();
    loadDecided(webView, type);
    return true;
}
