#include "web/WebView.h"

#include "gfx/Color.h"
#include "net/HttpReadStream.h"
#include "ui/Gesture.h"
#include "web/Fetch.h"
#include "web/Page.h"

#include <algorithm>

namespace ui {

// The visible band of the document: as large as the web view and kept over the part the scroll
// view shows, so that a long page never needs a surface of its whole height. Its frame is in
// document coordinates (the scroll view's content space).
class WebView::Content : public View {
public:
    using View::View;
    base::Ref<web::Page> page;
    void drawRect(gfx::Context &context, gfx::Rect dirty) override {
        if (!page)
            return;
        gfx::Point origin = frame().o;
        context.translate(-origin.x, -origin.y);
        page->draw(context, {dirty.x() + origin.x, dirty.y() + origin.y, dirty.width(), dirty.height()});
    }
};

// Moves the band along as the content scrolls.
class WebView::Scroller : public ScrollView {
public:
    using ScrollView::ScrollView;
    std::function<void()> scrolled;

protected:
    void offsetChanged() override {
        if (scrolled)
            scrolled();
    }
};

// Remembers where the tapping finger came down on the document: a tap recogniser has no touches
// left to locate once it has recognised the lift.
struct WebView::TapSpot : GestureDelegate {
    base::Weak<View> document;
    gfx::Point at;
    base::Opt<bool> shouldReceiveTouch(GestureRecognizer &, const Touch &touch) override {
        if (auto view = document.lock()) {
            gfx::Point p = touch.location(view.get()), o = view->frame().o;
            at = {p.x + o.x, p.y + o.y};
        }
        return true;
    }
};

WebView::WebView(gfx::Rect frame) : View(frame), cache_(base::make<net::HttpConnectionCache>()) {
    opaque = false;
    setBackgroundColor(gfx::Color::rgba(0, 0, 0, 0));
}

WebView::~WebView() {
    if (pending_)
        pending_->cancel();
    if (shown_)
        shown_->cancel();
}

void WebView::setUp() {
    View::setUp();
    scroll_ = base::make<Scroller>(bounds());
    scroll_->scrolled = [this] { placeBand(); };
    scroll_->opaque = false;
    scroll_->setBackgroundColor(gfx::Color::rgba(0, 0, 0, 0));
    content_ = base::make<Content>(bounds());
    content_->opaque = false;
    tapSpot_ = base::make<TapSpot>();
    tapSpot_->document = content_;
    auto tap = base::make<TapRecognizer>();
    tap->delegate = tapSpot_;
    tap->addTarget(base::Action("webViewTap", [this](base::Object *) { tapped(tapSpot_->at); }));
    content_->addGestureRecognizer(tap);
    scroll_->addSubview(content_);
    addSubview(scroll_);
}

void WebView::loadRequest(const base::Url &url) {
    navigate({url, std::nullopt, std::nullopt}, NavigationType::Other, Landing::Push);
}

void WebView::loadHtml(std::string html, const base::Url &baseUrl) {
    navigate({std::nullopt, std::move(html), baseUrl}, NavigationType::Other, Landing::Push);
}

void WebView::goBack() {
    if (canGoBack())
        navigate(history_[index_ - 1], NavigationType::BackForward, Landing::Back);
}

void WebView::reload() {
    if (!history_.empty())
        navigate(history_[index_], NavigationType::Reload, Landing::Replace);
}

void WebView::stopLoading() {
    ++generation_;
    stopped_ = generation_;
    if (pending_) {
        pending_->cancel();
        pending_ = nullptr;
    }
    if (loading_) {
        loading_ = false;
        fail(web::Fetch::error(web::Fetch::Cancelled, "stopped"));
    }
}

ScrollView &WebView::scrollView() {
    return *scroll_;
}

std::optional<base::Url> WebView::currentUrl() const {
    if (history_.empty())
        return std::nullopt;
    return history_[index_].address();
}

std::vector<WebView::Link> WebView::links() const {
    std::vector<Link> links;
    if (!shown_)
        return links;
    for (const auto &link : shown_->links())
        for (const gfx::Rect &box : link.boxes)
            links.push_back({link.url, scroll_->convert(box, this)});
    return links;
}

WebView::Decision WebView::decide(const base::Url &url, NavigationType type) {
    unsigned mine = ++generation_;
    bool go = true;
    if (auto owner = delegate.lock())
        if (auto answer = owner->shouldStartLoad(*this, url, type))
            go = *answer;
    if (generation_ != mine)
        return stopped_ == generation_ && go ? Decision::Stopped : Decision::Superseded;
    return go ? Decision::Go : Decision::Refused;
}

void WebView::navigate(Entry entry, NavigationType type, Landing landing) {
    switch (decide(entry.address(), type)) {
    case Decision::Go:
        break;
    case Decision::Stopped:
        return fail(web::Fetch::error(web::Fetch::Cancelled, "stopped before it started"));
    case Decision::Refused:
    case Decision::Superseded:
        return;
    }
    if (pending_)
        pending_->cancel();
    pendingEntry_ = entry;
    landing_ = landing;
    web::Page::Client client{
        [this](const base::Url &next) { return decide(next, NavigationType::Other) == Decision::Go; },
        [this](base::Ref<base::Error> error) { finished(std::move(error)); },
        [this] { show(); },
    };
    pending_ = entry.html ? web::Page::fromHtml(*entry.html, *entry.base, cache_, std::move(client))
                          : web::Page::load(*entry.url, cache_, std::move(client));
    loading_ = true;
    if (auto owner = delegate.lock())
        owner->didStartLoad(*this);
}

void WebView::finished(base::Ref<base::Error> error) {
    auto page = std::move(pending_);
    loading_ = false;
    if (error)
        return fail(std::move(error));
    Entry entry = pendingEntry_;
    if (entry.url)
        entry.url = page->url();
    switch (landing_) {
    case Landing::Push:
        if (!history_.empty())
            history_.resize(++index_);
        history_.push_back(std::move(entry));
        break;
    case Landing::Back:
        history_[--index_] = std::move(entry);
        break;
    case Landing::Replace:
        history_[index_] = std::move(entry);
        break;
    }
    if (shown_)
        shown_->cancel();
    shown_ = std::move(page);
    content_->page = shown_;
    show();
    scroll_->setContentOffset(scroll_->minimumOffset());
    if (auto owner = delegate.lock())
        owner->didFinishLoad(*this);
}

void WebView::fail(base::Ref<base::Error> error) {
    if (auto owner = delegate.lock())
        owner->didFail(*this, *error);
}

void WebView::layoutSubviews() {
    scroll_->setFrame(bounds());
    show();
}

// Lays the shown page out for the present width and draws it again.
void WebView::show() {
    gfx::Size size = bounds().s;
    float height = shown_ ? shown_->layout(size) : 0;
    scroll_->setContentSize({size.w, height});
    placeBand();
}

void WebView::placeBand() {
    gfx::Size size = bounds().s;
    float top = std::clamp(scroll_->contentOffset().y, 0.f, std::max(0.f, scroll_->contentSize().h - size.h));
    content_->setFrame({0, top, size.w, size.h});
    content_->setNeedsDisplay();
}

void WebView::tapped(gfx::Point point) {
    if (!shown_)
        return;
    if (auto link = shown_->linkAt(point))
        navigate({*link, std::nullopt, std::nullopt}, NavigationType::LinkClicked, Landing::Push);
}

} // namespace ui
