#include "web/Page.h"

#include "base/Bundle.h"
#include "base/Encoding.h"
#include "base/FileManager.h"
#include "base/RunLoop.h"

#include <algorithm>

namespace web {

namespace {

// The element defaults every page starts from, read once from the bundle.
litehtml::context &defaults() {
    static litehtml::context *context = [] {
        auto *made = new litehtml::context;
        auto path = base::Bundle::main().pathFor("web_default", "css");
        auto sheet = path ? base::FileManager::read(*path) : std::nullopt;
        made->load_master_stylesheet(sheet ? sheet->toString().c_str() : "");
        return made;
    }();
    return *context;
}

// Text in UTF-8: bytes in another charset the server named are converted; unknown names and
// undecodable bytes are taken as they are.
std::string utf8(std::string bytes, const std::string &charset) {
    if (charset.empty())
        return bytes;
    auto encoding = base::encodingForIanaName(charset);
    if (!encoding || *encoding == base::Encoding::Utf8)
        return bytes;
    auto text = base::decode(base::Data::fromString(bytes), *encoding);
    return text ? *text : bytes;
}

// The charset a document names for itself in its first kilobyte, as browsers look for it:
// <meta charset="…"> or <meta http-equiv="Content-Type" content="…; charset=…">. Empty when none.
std::string metaCharset(const std::string &html) {
    std::string head = html.substr(0, 1024);
    std::transform(head.begin(), head.end(), head.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    for (size_t meta = head.find("<meta"); meta != std::string::npos; meta = head.find("<meta", meta + 5)) {
        size_t end = head.find('>', meta);
        std::string tag = head.substr(meta, end == std::string::npos ? std::string::npos : end - meta);
        size_t at = tag.find("charset=");
        if (at == std::string::npos)
            continue;
        size_t from = tag.find_first_not_of("\"' ", at + 8);
        size_t to = from == std::string::npos ? from : tag.find_first_of("\"'; />", from);
        if (from != std::string::npos)
            return tag.substr(from, to == std::string::npos ? std::string::npos : to - from);
    }
    return {};
}

std::string key(const std::string &url, bool isSheet) {
    return (isSheet ? "css " : "img ") + url;
}

void leafBoxes(const litehtml::element::ptr &element, std::vector<gfx::Rect> &boxes) {
    size_t count = element->get_children_count();
    if (count == 0) {
        litehtml::position p = element->get_placement();
        if (p.width > 0 && p.height > 0)
            boxes.push_back({float(p.x), float(p.y), float(p.width), float(p.height)});
        return;
    }
    for (size_t i = 0; i < count; ++i)
        leafBoxes(element->get_child(int(i)), boxes);
}

// The leaves of one line joined into one rectangle.
std::vector<gfx::Rect> lines(std::vector<gfx::Rect> leaves) {
    std::vector<gfx::Rect> joined;
    for (const gfx::Rect &leaf : leaves) {
        auto line =
            std::find_if(joined.begin(), joined.end(), [&](const gfx::Rect &r) { return r.y() == leaf.y(); });
        if (line == joined.end()) {
            joined.push_back(leaf);
            continue;
        }
        float left = std::min(line->x(), leaf.x()),
              right = std::max(line->x() + line->width(), leaf.x() + leaf.width());
        float bottom = std::max(line->y() + line->height(), leaf.y() + leaf.height());
        *line = {left, line->y(), right - left, bottom - line->y()};
    }
    return joined;
}

} // namespace

Page::Page(base::Url url) : url_(std::move(url)) {}

base::Ref<Page> Page::load(const base::Url &url, base::Ref<net::HttpConnectionCache> cache, Client client) {
    auto page = base::make<Page>(url);
    page->cache_ = std::move(cache);
    page->client_ = std::move(client);
    base::Weak<Page> weak = page;
    page->document_ = Fetch::start(
        url, page->cache_,
        [weak](const base::Url &next) {
            auto self = weak.lock();
            if (!self)
                return false;
            // A copy: the owner may cancel the page, and so drop its client, while it decides.
            auto redirect = self->client_.redirect;
            return !redirect || redirect(next);
        },
        [weak](const Fetch::Result *result, base::Ref<base::Error> error) {
            auto self = weak.lock();
            if (!self)
                return;
            self->document_ = nullptr;
            if (!result)
                return self->finish(std::move(error));
            self->url_ = result->url;
            // A header's charset wins over the document's own.
            std::string charset = result->charset.empty() ? metaCharset(result->body) : result->charset;
            self->parse(utf8(result->body, charset));
        });
    return page;
}

base::Ref<Page> Page::fromHtml(std::string html, const base::Url &base,
                               base::Ref<net::HttpConnectionCache> cache, Client client) {
    auto page = base::make<Page>(base);
    page->cache_ = std::move(cache);
    page->client_ = std::move(client);
    // Reported on a later pass, as a fetched page is, never inside the caller.
    base::RunLoop::main().performAfter(
        0, base::Action(page->weakSelf(), "parse",
                        [p = page.get(), html = std::move(html)](base::Object *) mutable {
                            p->parse(std::move(html));
                        }));
    return page;
}

Page::~Page() {
    cancel();
    // The document's fonts belong to the container: the document goes first.
    litehtml_.reset();
}

void Page::cancel() {
    client_ = {};
    base::RunLoop::main().cancelPerforms(this);
    if (document_)
        document_->cancel();
    document_ = nullptr;
    auto fetching = std::move(fetching_);
    for (auto &[url, fetch] : fetching)
        fetch->cancel();
}

void Page::parse(std::string html) {
    html_ = std::move(html);
    build();
    settle();
}

void Page::build() {
    litehtml_.reset();
    Container::Resources resources{
        [this](const std::string &url) { return image(url); },
        [this](const std::string &url) { return sheet(url); },
        [this](const base::Url &url) { clicked_ = url; },
    };
    container_ = std::make_unique<Container>(url_, std::move(resources));
    container_->setViewport(viewport_);
    litehtml_ = litehtml::document::createFromUTF8(html_.c_str(), container_.get(), &defaults());
}

const gfx::Image *Page::image(const std::string &url) {
    if (auto found = images_.find(url); found != images_.end())
        return found->second.get();
    request(url, false);
    return nullptr;
}

std::optional<std::string> Page::sheet(const std::string &url) {
    if (auto found = sheets_.find(url); found != sheets_.end())
        return found->second;
    request(url, true);
    return std::nullopt;
}

void Page::request(const std::string &url, bool isSheet) {
    std::string name = key(url, isSheet);
    if (fetching_.count(name))
        return;
    auto parsed = base::Url::parse(url);
    if (!parsed || fetching_.size() + sheets_.size() + images_.size() >= MaxResources) {
        if (isSheet)
            sheets_[url] = "";
        else
            images_[url] = nullptr;
        return;
    }
    base::Weak<Page> weak = weakSelf<Page>();
    fetching_[name] = Fetch::start(*parsed, cache_, nullptr,
                                   [weak, url, isSheet](const Fetch::Result *result, base::Ref<base::Error>) {
                                       if (auto self = weak.lock())
                                           self->arrived(url, isSheet, result);
                                   });
}

void Page::arrived(const std::string &url, bool isSheet, const Fetch::Result *result) {
    fetching_.erase(key(url, isSheet));
    if (isSheet) {
        sheets_[url] = result ? utf8(result->body, result->charset) : "";
        sheetsChanged_ = true;
    } else {
        images_[url] =
            result ? gfx::Image::fromBytes(std::span(reinterpret_cast<const uint8_t *>(result->body.data()),
                                                     result->body.size()))
                   : nullptr;
    }
    settle();
}

// Moves the load on once every fetch it waits for is in: style sheets first (the document is
// built again with them, which may ask for more), then images.
void Page::settle() {
    if (done_) {
        if (auto changed = client_.changed)
            changed();
        return;
    }
    auto waitingForSheet = std::any_of(fetching_.begin(), fetching_.end(),
                                       [](const auto &fetch) { return fetch.first.starts_with("css "); });
    if (waitingForSheet)
        return;
    if (sheetsChanged_) {
        sheetsChanged_ = false;
        build();
        return settle();
    }
    if (fetching_.empty())
        finish(nullptr);
}

void Page::finish(base::Ref<base::Error> error) {
    if (done_)
        return;
    done_ = true;
    auto done = client_.done;
    if (error)
        cancel();
    if (done)
        done(std::move(error));
}

float Page::layout(gfx::Size viewport) {
    viewport_ = viewport;
    if (!litehtml_)
        return 0;
    container_->setViewport(viewport);
    litehtml_->media_changed();
    litehtml_->render(int(viewport.w));
    return float(litehtml_->height());
}

void Page::draw(gfx::Context &context, gfx::Rect clip) {
    if (litehtml_)
        container_->draw(*litehtml_, context, clip);
}

std::vector<Page::Link> Page::links() const {
    std::vector<Link> links;
    if (!litehtml_)
        return links;
    for (const auto &anchor : litehtml_->root()->select_all(std::string("a[href]"))) {
        auto url = container_->resolve(anchor->get_attr("href", ""));
        if (!url)
            continue;
        std::vector<gfx::Rect> leaves;
        leafBoxes(anchor, leaves);
        links.push_back({*url, lines(std::move(leaves))});
    }
    return links;
}

std::optional<base::Url> Page::linkAt(gfx::Point point) {
    if (!litehtml_)
        return std::nullopt;
    clicked_.reset();
    litehtml::position::vector redraw;
    int x = int(point.x), y = int(point.y);
    litehtml_->on_mouse_over(x, y, x, y, redraw);
    litehtml_->on_lbutton_down(x, y, x, y, redraw);
    litehtml_->on_lbutton_up(x, y, x, y, redraw);
    litehtml_->on_mouse_leave(redraw);
    return clicked_;
}

} // namespace web
