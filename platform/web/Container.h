#pragma once

#include "base/Url.h"
#include "gfx/Font.h"
#include "gfx/Geometry.h"
#include "gfx/Image.h"

#include <litehtml.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

typedef struct _PangoLayout PangoLayout;
typedef struct _PangoContext PangoContext;

namespace gfx {
class Context;
}

namespace web {

// litehtml's document container on our graphics layer: fonts from the FontRegistry (a CSS family
// such as "宋体" is the name the application knows; generic and unknown families fall back to
// the system font), text through Pango, backgrounds, borders and images through gfx::Context,
// clipping. One CSS pixel is one point, one CSS point 4/3 of a pixel. Words are split where Pango
// allows a line break, so that Chinese text, which has no spaces, wraps between characters.
//
// The page that owns it answers for the resources: style sheets and images by absolute URL,
// nothing while they are not in (a missing image takes no room and draws nothing). Anchor clicks
// are passed on with their href resolved against the document's base URL.
class Container : public litehtml::document_container {
public:
    struct Resources {
        std::function<const gfx::Image *(const std::string &url)> image;
        // The text of a style sheet once fetched; nothing while it is not (it is asked for then).
        std::function<std::optional<std::string>(const std::string &url)> sheet;
        std::function<void(const base::Url &url)> anchorClicked;
    };
    static constexpr int DefaultFontSize = 16;

    Container(std::optional<base::Url> base, Resources resources);
    ~Container();
    Container(const Container &) = delete;
    Container &operator=(const Container &) = delete;

    // The size the page is laid out for (its client rectangle and media width).
    void setViewport(gfx::Size size) { viewport_ = size; }
    // The URL relative references are resolved against: the page's, or its <base href>.
    const std::optional<base::Url> &baseUrl() const { return base_; }
    std::optional<base::Url> resolve(const std::string &reference, const char *baseUrl = nullptr) const;
    // Draws the document into the context, its origin at the context's origin.
    void draw(litehtml::document &document, gfx::Context &context, gfx::Rect clip);

    litehtml::uint_ptr create_font(const litehtml::tchar_t *faceName, int size, int weight,
                                   litehtml::font_style italic, unsigned int decoration,
                                   litehtml::font_metrics *fm) override;
    void delete_font(litehtml::uint_ptr font) override;
    int text_width(const litehtml::tchar_t *text, litehtml::uint_ptr font) override;
    void draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t *text, litehtml::uint_ptr font,
                   litehtml::web_color color, const litehtml::position &pos) override;
    int pt_to_px(int pt) const override;
    int get_default_font_size() const override { return DefaultFontSize; }
    const litehtml::tchar_t *get_default_font_name() const override { return "system"; }
    void draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker &marker) override;
    void load_image(const litehtml::tchar_t *src, const litehtml::tchar_t *baseurl,
                    bool redrawOnReady) override;
    void get_image_size(const litehtml::tchar_t *src, const litehtml::tchar_t *baseurl,
                        litehtml::size &sz) override;
    void draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint &bg) override;
    void draw_borders(litehtml::uint_ptr hdc, const litehtml::borders &borders,
                      const litehtml::position &drawPos, bool root) override;
    void set_caption(const litehtml::tchar_t *) override {}
    void set_base_url(const litehtml::tchar_t *baseUrl) override;
    void link(const std::shared_ptr<litehtml::document> &, const litehtml::element::ptr &) override {}
    void on_anchor_click(const litehtml::tchar_t *url, const litehtml::element::ptr &el) override;
    void set_cursor(const litehtml::tchar_t *) override {}
    void transform_text(litehtml::tstring &text, litehtml::text_transform tt) override;
    void import_css(litehtml::tstring &text, const litehtml::tstring &url,
                    litehtml::tstring &baseurl) override;
    void set_clip(const litehtml::position &pos, const litehtml::border_radiuses &radius, bool validX,
                  bool validY) override;
    void del_clip() override;
    void get_client_rect(litehtml::position &client) const override;
    std::shared_ptr<litehtml::element> create_element(const litehtml::tchar_t *, const litehtml::string_map &,
                                                      const std::shared_ptr<litehtml::document> &) override {
        return nullptr;
    }
    void get_media_features(litehtml::media_features &media) const override;
    void get_language(litehtml::tstring &language, litehtml::tstring &culture) const override;
    void split_text(const char *text, const std::function<void(const litehtml::tchar_t *)> &onWord,
                    const std::function<void(const litehtml::tchar_t *)> &onSpace) override;

private:
    struct FontEntry {
        base::Ref<gfx::Font> font;
        PangoFontDescription *description; // the font's, italic where asked
        unsigned decoration;
        int ascent, descent;
    };

    const gfx::Image *image(const char *src, const char *baseUrl) const;
    // Runs `paint` on the context with the clips of the elements being drawn applied.
    template <class Paint> void clipped(litehtml::uint_ptr hdc, Paint paint);

    std::optional<base::Url> base_;
    std::optional<base::Url> pageUrl_;
    Resources resources_;
    gfx::Size viewport_;
    std::vector<litehtml::position> clips_;
    PangoLayout *measure_;
    // The text context of the draw in progress.
    PangoContext *drawing_ = nullptr;
};

} // namespace web
