#include "Module/DetailShowPanel/WebTabView.h"

#include "base/Bundle.h"

// The web view's delegate: every navigation and its end go through the panel.
struct WebTabView::Relay : ui::WebViewDelegate {
    base::Weak<WebTabView> owner;
    base::Opt<bool> shouldStartLoad(ui::WebView &webView, const base::Url &url,
                                    ui::NavigationType type) override {
        auto o = owner.lock();
        return o ? o->shouldStartLoad(webView, url, type) : true;
    }
    base::Opt<void> didFinishLoad(ui::WebView &) override {
        if (auto o = owner.lock())
            o->didFinishLoad();
        return {};
    }
    base::Opt<void> didFail(ui::WebView &, const base::Error &) override {
        if (auto o = owner.lock())
            o->didFail();
        return {};
    }
};

WebTabView::WebTabView(gfx::Rect frame) : ui::View(frame) {
    setBackgroundColor(gfx::Color::clear());
    m_contentWebView = base::make<ui::WebView>(gfx::Rect{0, 0, frame.width(), frame.height()});
    m_contentWebView->setBackgroundColor(gfx::Color::clear());
    m_contentWebView->setHidden(true);
    addSubview(m_contentWebView);
    m_activityIndicator = base::make<ui::ActivityIndicator>(ui::ActivityIndicator::Style::WhiteLarge);
    m_activityIndicator->setHidesWhenStopped(true);
    m_activityIndicator->setCenter({frame.width() / 2, frame.height() / 2});
    addSubview(m_activityIndicator);
}

void WebTabView::setUp() {
    ui::View::setUp();
    m_relay = base::make<Relay>();
    m_relay->owner = weakSelf<WebTabView>();
    m_contentWebView->delegate = m_relay;
}

void WebTabView::setContentURL(const std::string &address) {
    std::optional<base::Url> url = base::Url::parse(address);
    if (!url)
        return;
    m_contentWebView->loadRequest(*url);
    m_activityIndicator->start();
}

void WebTabView::clearView() {
    m_contentWebView->loadHtml(BlackPage, base::Url::file(base::Bundle::main().resourcePath()));
}

bool WebTabView::shouldStartLoad(ui::WebView &webView, const base::Url &url, ui::NavigationType type) {
    m_activityIndicator->start();
    auto d = delegate.lock();
    return d ? d->webViewShouldStartLoad(webView, url, type).valueOr(true) : true;
}

void WebTabView::didFinishLoad() {
    m_contentWebView->setHidden(false);
    m_activityIndicator->stop();
}

// The page shown before stays; only the indicator stops.
void WebTabView::didFail() {
    m_activityIndicator->stop();
}
