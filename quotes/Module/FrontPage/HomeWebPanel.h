#pragma once

#include "DataBase/NetData/QuoteRequestRecord.h"
#include "Module/DetailShowPanel/WebTabView.h"

#include <optional>
#include <string>

// What the web panels of the home page share: each shows an analysis page of the news host under
// "/dbui/ipad/", whose address carries a short-lived user key that the quote server hands out
// (message 2972). The panel asks for a key when it is made and whenever its owner asks it to return
// to its own page; each key reply with the key sub-type loads the panel's page with that key,
// percent-encoded in the query. Any other reply, an empty one included, leaves the browser as it
// is. Every load the browser starts is recorded in curUrl, so that a re-selection of the tab can
// tell whether the user left the panel's own pages.
class HomeWebPanel : public ui::View, public DataPoolDelegate, public WebTabViewDelegate {
public:
    static constexpr int WebPowerType = 2972;
    static constexpr int UserKeySubType = 119;
    static constexpr const char *PanelPath = "/dbui/ipad/";

    // The tab was selected again; each panel decides between a reload and a fresh key.
    virtual void reloadCurrentWebPage() = 0;

    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;
    base::Opt<bool> webViewShouldStartLoad(ui::WebView &webView, const base::Url &url,
                                           ui::NavigationType type) override;

    // The news host's address of the panel's page for the key.
    std::string pageAddress(const std::string &userKey) const;
    // The text with every byte but letters, digits and "-._~" as %XX.
    static std::string percentEncoded(const std::string &text);

    WebTabView &contentWebView() { return *contentWebView_; }
    const std::optional<std::string> &curUrl() const { return curUrl_; }

protected:
    // `pageQuery` is the query before the key, "?r=zttz&userkey=" for example.
    HomeWebPanel(gfx::Rect frame, std::string pageQuery, gfx::Rect browserFrame);
    void setUp() override;

    // Asks the quote server for a fresh key; the reply loads the page.
    void requestUserKey();
    // Called after curUrl took the address of a load the browser is about to start.
    virtual void loadDecided(ui::WebView &webView, ui::NavigationType type) { (void)webView, (void)type; }

private:
    std::string pageQuery_;
    gfx::Rect browserFrame_;
    base::Ref<WebTabView> contentWebView_;
    std::optional<std::string> curUrl_;
};
