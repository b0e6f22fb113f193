#pragma once

#include "base/Error.h"
#include "base/Object.h"
#include "base/Url.h"
#include "ui/ScrollView.h"
#include "ui/View.h"

#include <optional>
#include <string>
#include <vector>

namespace net {
class HttpConnectionCache;
}
namespace web {
class Page;
}

namespace ui {

class WebView;

// How a navigation came about, numbered as the platform numbers them (forms never submit here).
enum class NavigationType {
    LinkClicked = 0,
    FormSubmitted = 1,
    BackForward = 2,
    Reload = 3,
    FormResubmitted = 4,
    Other = 5
};

// What a web view tells its owner. Every navigation is offered to shouldStartLoad first, with its
// URL resolved and before anything is fetched; a navigation it accepts is followed by didStartLoad
// and ends in exactly one didFinishLoad or didFail, unless a newer navigation takes its place.
struct WebViewDelegate : base::Object {
    virtual base::Opt<bool> shouldStartLoad(WebView &, const base::Url &, NavigationType) {
        return base::notImplemented;
    }
    virtual base::Opt<void> didStartLoad(WebView &) { return base::notImplemented; }
    virtual base::Opt<void> didFinishLoad(WebView &) { return base::notImplemented; }
    virtual base::Opt<void> didFail(WebView &, const base::Error &) { return base::notImplemented; }
};

// An embedded browser for the news host's pages and the bundle's article templates, drawn by
// web::Page (litehtml on our graphics layer). The page lies in a scroll view as tall as the
// document, at its natural size (never scaled to fit), over a clear background, so the owner's
// background shows wherever the page paints none. A tap on a link navigates to it.
//
// Navigations and their types for shouldStartLoad: loadRequest and loadHtml (Other; loadHtml
// offers its base URL), a tapped link (LinkClicked), goBack (BackForward), reload (Reload) and
// every redirect the document's fetch meets (Other). A refused navigation changes nothing and is
// not reported; a refused redirect ends its load in didFail with Fetch::Cancelled. stopLoading inside
// shouldStartLoad cancels the navigation being decided even when the answer is yes; it is then reported
// through didFail with Fetch::Cancelled, as is a load that stopLoading stops after it started.
//
// Pages load over http and https only; file URLs only inside the application bundle (the
// templates and their images). Anything else fails with Fetch::UnsupportedUrl. A failed load
// leaves the page shown before in place.
class WebView : public View {
public:
    explicit WebView(gfx::Rect frame = {});
    ~WebView() override;
    void setUp() override;

    void loadRequest(const base::Url &url);
    // Relative references resolve against `baseUrl`; markup with no home of its own (a blank or
    // black page) can take the bundle folder's file URL.
    void loadHtml(std::string html, const base::Url &baseUrl);
    void goBack();
    void reload();
    void stopLoading();
    bool canGoBack() const { return index_ > 0; }
    bool isLoading() const { return loading_; }
    // The shown page's URL (after redirects; the base URL of markup); nothing before the first.
    std::optional<base::Url> currentUrl() const;
    ScrollView &scrollView();

    struct Link {
        base::Url url;
        gfx::Rect frame; // in the web view's coordinates, one per line of the link
    };
    // The links of the shown page, as a tap would follow them.
    std::vector<Link> links() const;

    base::Weak<WebViewDelegate> delegate;

    void layoutSubviews() override;

private:
    class Content;
    class Scroller;
    struct TapSpot;
    struct Entry {
        std::optional<base::Url> url;
        std::optional<std::string> html;
        std::optional<base::Url> base;
        const base::Url &address() const { return html ? *base : *url; }
    };
    // Where an accepted navigation lands in the history once it finishes.
    enum class Landing { Push, Replace, Back };
    // The delegate's answer, or what happened while it decided.
    enum class Decision { Go, Refused, Stopped, Superseded };

    void navigate(Entry entry, NavigationType type, Landing landing);
    Decision decide(const base::Url &url, NavigationType type);
    void finished(base::Ref<base::Error> error);
    void show();
    void placeBand();
    void tapped(gfx::Point point);
    void fail(base::Ref<base::Error> error);

    base::Ref<Scroller> scroll_;
    base::Ref<Content> content_;
    base::Ref<TapSpot> tapSpot_;
    base::Ref<net::HttpConnectionCache> cache_;
    std::vector<Entry> history_;
    size_t index_ = 0;
    base::Ref<web::Page> shown_;
    base::Ref<web::Page> pending_;
    Entry pendingEntry_;
    Landing landing_ = Landing::Push;
    bool loading_ = false;
    // Counts navigations and stops, so that a decision knows whether one happened meanwhile.
    unsigned generation_ = 0;
    unsigned stopped_ = 0;
};

} // namespace ui
