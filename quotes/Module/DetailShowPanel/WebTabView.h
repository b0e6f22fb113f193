#pragma once

#include "ui/ActivityIndicator.h"
#include "web/WebView.h"

#include <string>

// What the owner of a web tab may say about each navigation. Optional.
class WebTabViewDelegate {
public:
    virtual ~WebTabViewDelegate() = default;
    virtual base::Opt<bool> webViewShouldStartLoad(ui::WebView &webView, const base::Url &url,
                                                   ui::NavigationType type) {
        (void)webView, (void)url, (void)type;
        return base::notImplemented;
    }
};

// The embedded browser panel: the detail screen's company-data tab ("F10") and the web panels of
// the home pages. One page address at a time, with a large white busy indicator while a page
// loads. The web view stays hidden until a first page has finished; a page that fails stops the
// indicator and leaves the panel as it was (black before the first page). The owner may take part
// in every navigation through its delegate.
class WebTabView : public ui::View {
public:
    static constexpr const char *BlackPage = "<html><head><style>body{background-color:black;}</style></head>"
                                             "<body></body></html>";

    explicit WebTabView(gfx::Rect frame);
    void setUp() override;

    // Loads the address and starts the indicator; an address that is no URL changes nothing.
    void setContentURL(const std::string &address);
    void BackAction() { m_contentWebView->goBack(); }
    void ReloadCurrentWebPage() { m_contentWebView->reload(); }
    // A black page in place of the content.
    void clearView();

    ui::WebView &contentWebView() { return *m_contentWebView; }
    ui::ActivityIndicator &activityIndicator() { return *m_activityIndicator; }

    base::Weak<WebTabViewDelegate> delegate;

private:
    struct Relay;
    bool shouldStartLoad(ui::WebView &webView, const base::Url &url, ui::NavigationType type);
    void didFinishLoad();
    void didFail();

    base::Ref<Relay> m_relay;
    base::Ref<ui::WebView> m_contentWebView;
    base::Ref<ui::ActivityIndicator> m_activityIndicator;
};
