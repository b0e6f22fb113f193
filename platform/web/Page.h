#pragma once

#include "web/Container.h"
#include "web/Fetch.h"

#include "base/Error.h"
#include "base/Object.h"
#include "base/Url.h"
#include "gfx/Geometry.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace gfx {
class Context;
}

namespace net {
class HttpConnectionCache;
}

namespace web {

// One HTML document with its style sheets and images, laid out and drawn with litehtml through
// a Container. The web view makes one per navigation: the page fetches its document (or takes the
// markup it is given), then every style sheet the document links or imports (sheets that fail
// are left out), then its images (images that fail take no room), and reports once: finished, or
// failed when the document itself could not be had. A document whose server names no charset is
// read in the one its own <meta> names. An image that a later layout asks for
// arrives afterwards through `changed`. Nothing in the page runs scripts, submits forms or loads
// plug-ins; those elements draw nothing.
//
// The default look of the elements comes from the bundle's style sheet "web_default.css".
class Page : public base::Object {
public:
    struct Client {
        // Asked before the document's fetch follows a redirect; false stops the page.
        std::function<bool(const base::Url &)> redirect;
        // Once: nothing when the page is ready, else why it failed.
        std::function<void(base::Ref<base::Error>)> done;
        // A resource arrived after done: lay out and draw again.
        std::function<void()> changed;
    };
    struct Link {
        base::Url url;
        // One rectangle per line the link's text takes, in document coordinates.
        std::vector<gfx::Rect> boxes;
    };
    // Resources fetched beyond this number are not asked for.
    static constexpr size_t MaxResources = 200;

    explicit Page(base::Url url);
    static base::Ref<Page> load(const base::Url &url, base::Ref<net::HttpConnectionCache> cache,
                                Client client);
    static base::Ref<Page> fromHtml(std::string html, const base::Url &base,
                                    base::Ref<net::HttpConnectionCache> cache, Client client);
    ~Page() override;
    // Stops every fetch; nothing is reported any more.
    void cancel();

    // The document's URL after redirects (the base URL for markup given as text).
    const base::Url &url() const { return url_; }
    // Lays the document out for the viewport's width; answers the document's height.
    float layout(gfx::Size viewport);
    void draw(gfx::Context &context, gfx::Rect clip);
    std::vector<Link> links() const;
    // The link a tap at that document point follows, resolved against the base URL.
    std::optional<base::Url> linkAt(gfx::Point point);

private:
    void start(const base::Url &url);
    void parse(std::string html);
    void build();
    const gfx::Image *image(const std::string &url);
    std::optional<std::string> sheet(const std::string &url);
    void request(const std::string &url, bool isSheet);
    void arrived(const std::string &url, bool isSheet, const Fetch::Result *result);
    void settle();
    void finish(base::Ref<base::Error> error);

    base::Url url_;
    base::Ref<net::HttpConnectionCache> cache_;
    Client client_;
    base::Ref<Fetch> document_;
    std::string html_;
    std::unique_ptr<Container> container_;
    std::shared_ptr<litehtml::document> litehtml_;
    std::map<std::string, base::Ref<Fetch>> fetching_;
    std::map<std::string, std::string> sheets_;
    std::map<std::string, base::Ref<gfx::Image>> images_;
    bool sheetsChanged_ = false;
    bool done_ = false;
    gfx::Size viewport_;
    std::optional<base::Url> clicked_;
};

} // namespace web
