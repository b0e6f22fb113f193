#include "web/Container.h"

#include "gfx/Color.h"
#include "gfx/Context.h"
#include "gfx/FontRegistry.h"

#include <pango/pangocairo.h>

#include <cmath>

namespace web {

namespace {

std::string trimmed(std::string_view text) {
    const char *blank = " \t\r\n\"'";
    size_t first = text.find_first_not_of(blank);
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(blank) - first + 1));
}

// The registry's face for the first family of a CSS list it knows; generic and unknown families
// fall back to the system font, "serif" to the Song face.
gfx::FontRegistry::Face faceFor(std::string_view families) {
    size_t start = 0;
    while (start <= families.size()) {
        size_t comma = families.find(',', start);
        std::string name = trimmed(
            families.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (name == "serif")
            name = "宋体";
        if (auto face = gfx::FontRegistry::resolve(name))
            return *face;
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    return *gfx::FontRegistry::resolve(gfx::FontRegistry::SystemName);
}

gfx::Rect rect(const litehtml::position &p) {
    return {float(p.x), float(p.y), float(p.width), float(p.height)};
}

base::Ref<gfx::Color> color(litehtml::web_color c) {
    return gfx::Color::rgba(c.red / 255.f, c.green / 255.f, c.blue / 255.f, c.alpha / 255.f);
}

void roundedRect(gfx::Context &context, const litehtml::position &p, const litehtml::border_radiuses &r) {
    float x = float(p.x), y = float(p.y), right = float(p.right()), bottom = float(p.bottom());
    context.beginPath();
    context.moveTo({x + float(r.top_left_x), y});
    context.addArcToPoint({right, y}, {right, bottom}, float(r.top_right_x));
    context.addArcToPoint({right, bottom}, {x, bottom}, float(r.bottom_right_x));
    context.addArcToPoint({x, bottom}, {x, y}, float(r.bottom_left_x));
    context.addArcToPoint({x, y}, {right, y}, float(r.top_left_x));
    context.closePath();
}

bool hasRadius(const litehtml::border_radiuses &r) {
    return r.top_left_x || r.top_right_x || r.bottom_right_x || r.bottom_left_x;
}

} // namespace

Container::Container(std::optional<base::Url> base, Resources resources)
    : base_(base), pageUrl_(std::move(base)), resources_(std::move(resources)),
      measure_(pango_layout_new(gfx::FontRegistry::shared().measuringContext())) {}

Container::~Container() {
    g_object_unref(measure_);
}

std::optional<base::Url> Container::resolve(const std::string &reference, const char *baseUrl) const {
    std::optional<base::Url> base = baseUrl && *baseUrl ? base::Url::parse(baseUrl) : base_;
    if (base)
        return base->resolving(trimmed(reference));
    return base::Url::parse(trimmed(reference));
}

void Container::draw(litehtml::document &document, gfx::Context &context, gfx::Rect clip) {
    clips_.clear();
    litehtml::position area(int(std::floor(clip.x())), int(std::floor(clip.y())),
                            int(std::ceil(clip.width())) + 1, int(std::ceil(clip.height())) + 1);
    drawing_ = gfx::FontRegistry::shared().newContext();
    pango_cairo_update_context(context.cairo(), drawing_);
    document.draw(reinterpret_cast<litehtml::uint_ptr>(&context), 0, 0, &area);
    g_object_unref(drawing_);
    drawing_ = nullptr;
}

template <class Paint> void Container::clipped(litehtml::uint_ptr hdc, Paint paint) {
    auto &context = *reinterpret_cast<gfx::Context *>(hdc);
    context.save();
    for (const auto &clip : clips_)
        context.clipToRect(rect(clip));
    paint(context);
    context.restore();
}

litehtml::uint_ptr Container::create_font(const litehtml::tchar_t *faceName, int size, int weight,
                                          litehtml::font_style italic, unsigned int decoration,
                                          litehtml::font_metrics *fm) {
    auto face = faceFor(faceName ? faceName : "");
    float points = float(std::max(size, 1));
    auto font = base::make<gfx::Font>(face.family, face.family, face.bold || weight >= 600, points);
    auto *entry = new FontEntry{font, pango_font_description_copy(font->pango()), decoration,
                                int(std::ceil(font->ascender())), int(std::ceil(-font->descender()))};
    if (italic == litehtml::fontStyleItalic)
        pango_font_description_set_style(entry->description, PANGO_STYLE_ITALIC);
    if (fm) {
        fm->ascent = entry->ascent;
        fm->descent = entry->descent;
        fm->height = entry->ascent + entry->descent;
        fm->x_height = int(std::round(font->xHeight()));
        fm->draw_spaces = italic == litehtml::fontStyleItalic || decoration != 0;
    }
    return reinterpret_cast<litehtml::uint_ptr>(entry);
}

void Container::delete_font(litehtml::uint_ptr font) {
    auto *entry = reinterpret_cast<FontEntry *>(font);
    if (!entry)
        return;
    pango_font_description_free(entry->description);
    delete entry;
}

int Container::text_width(const litehtml::tchar_t *text, litehtml::uint_ptr font) {
    auto *entry = reinterpret_cast<FontEntry *>(font);
    if (!entry || !text)
        return 0;
    pango_layout_set_font_description(measure_, entry->description);
    pango_layout_set_text(measure_, text, -1);
    PangoRectangle logical;
    pango_layout_get_extents(measure_, nullptr, &logical);
    return int(std::ceil(double(logical.width) / PANGO_SCALE));
}

void Container::draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t *text, litehtml::uint_ptr font,
                          litehtml::web_color c, const litehtml::position &pos) {
    auto *entry = reinterpret_cast<FontEntry *>(font);
    if (!entry || !text || !*text)
        return;
    clipped(hdc, [&](gfx::Context &context) {
        cairo_t *cr = context.cairo();
        PangoLayout *layout = pango_layout_new(drawing_);
        pango_layout_set_font_description(layout, entry->description);
        pango_layout_set_text(layout, text, -1);
        float baseline = float(pos.y + entry->ascent);
        float layoutBaseline = float(pango_layout_get_baseline(layout)) / PANGO_SCALE;
        context.setFill(*color(c));
        cairo_set_source_rgba(cr, c.red / 255., c.green / 255., c.blue / 255., c.alpha / 255.);
        cairo_move_to(cr, pos.x, baseline - layoutBaseline);
        pango_cairo_show_layout(cr, layout);
        cairo_new_path(cr);
        g_object_unref(layout);
        float width = float(text_width(text, font));
        if (entry->decoration & litehtml::font_decoration_underline)
            context.fillRect({float(pos.x), baseline + 1, width, 1});
        if (entry->decoration & litehtml::font_decoration_linethrough)
            context.fillRect({float(pos.x), baseline - entry->font->xHeight() / 2, width, 1});
        if (entry->decoration & litehtml::font_decoration_overline)
            context.fillRect({float(pos.x), float(pos.y), width, 1});
    });
}

int Container::pt_to_px(int pt) const {
    return int(std::lround(pt * 4.0 / 3.0));
}

void Container::draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker &marker) {
    if (!marker.image.empty()) {
        if (const gfx::Image *picture = image(marker.image.c_str(), marker.baseurl))
            clipped(hdc, [&](gfx::Context &context) { context.drawImage(rect(marker.pos), *picture); });
        return;
    }
    clipped(hdc, [&](gfx::Context &context) {
        context.setFill(*color(marker.color));
        context.setStroke(*color(marker.color));
        switch (marker.marker_type) {
        case litehtml::list_style_type_circle:
            context.strokeEllipse(rect(marker.pos));
            break;
        case litehtml::list_style_type_disc:
            context.fillEllipse(rect(marker.pos));
            break;
        case litehtml::list_style_type_square:
            context.fillRect(rect(marker.pos));
            break;
        default:
            break;
        }
    });
}

const gfx::Image *Container::image(const char *src, const char *baseUrl) const {
    if (!src || !*src)
        return nullptr;
    auto url = resolve(src, baseUrl);
    return url ? resources_.image(url->absoluteString()) : nullptr;
}

void Container::load_image(const litehtml::tchar_t *src, const litehtml::tchar_t *baseurl, bool) {
    image(src, baseurl);
}

void Container::get_image_size(const litehtml::tchar_t *src, const litehtml::tchar_t *baseurl,
                               litehtml::size &sz) {
    if (const gfx::Image *picture = image(src, baseurl)) {
        sz.width = int(std::lround(picture->size().w));
        sz.height = int(std::lround(picture->size().h));
    } else {
        sz.width = sz.height = 0;
    }
}

void Container::draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint &bg) {
    clipped(hdc, [&](gfx::Context &context) {
        if (bg.is_root) {
            // The root's background is the canvas's: it covers the whole view, not only the document.
            context.setFill(*color(bg.color));
            context.fillRect(context.clipBounds());
        } else if (bg.color.alpha) {
            context.setFill(*color(bg.color));
            if (hasRadius(bg.border_radius)) {
                roundedRect(context, bg.border_box, bg.border_radius);
                context.fillPath();
            } else {
                context.fillRect(rect(bg.clip_box));
            }
        }
        const gfx::Image *picture = image(bg.image.c_str(), bg.baseurl.c_str());
        if (!picture || bg.image_size.width <= 0 || bg.image_size.height <= 0)
            return;
        gfx::Rect tile(float(bg.position_x), float(bg.position_y), float(bg.image_size.width),
                       float(bg.image_size.height));
        context.clipToRect(rect(bg.clip_box));
        switch (bg.repeat) {
        case litehtml::background_repeat_no_repeat:
            context.drawImage(tile, *picture);
            return;
        case litehtml::background_repeat_repeat_x:
            context.clipToRect({float(bg.clip_box.x), tile.y(), float(bg.clip_box.width), tile.height()});
            break;
        case litehtml::background_repeat_repeat_y:
            context.clipToRect({tile.x(), float(bg.clip_box.y), tile.width(), float(bg.clip_box.height)});
            break;
        case litehtml::background_repeat_repeat:
            break;
        }
        context.drawTiledImage(tile, *picture);
    });
}

void Container::draw_borders(litehtml::uint_ptr hdc, const litehtml::borders &borders,
                             const litehtml::position &p, bool) {
    auto visible = [](const litehtml::border &b) {
        return b.width > 0 && b.style != litehtml::border_style_none &&
               b.style != litehtml::border_style_hidden;
    };
    clipped(hdc, [&](gfx::Context &context) {
        auto side = [&](const litehtml::border &b, gfx::Rect r) {
            if (!visible(b))
                return;
            context.setFill(*color(b.color));
            context.fillRect(r);
        };
        float x = float(p.x), y = float(p.y), w = float(p.width), h = float(p.height);
        side(borders.top, {x, y, w, float(borders.top.width)});
        side(borders.bottom, {x, y + h - float(borders.bottom.width), w, float(borders.bottom.width)});
        side(borders.left, {x, y, float(borders.left.width), h});
        side(borders.right, {x + w - float(borders.right.width), y, float(borders.right.width), h});
    });
}

void Container::set_base_url(const litehtml::tchar_t *baseUrl) {
    if (!baseUrl || !*baseUrl)
        return;
    auto url = pageUrl_ ? pageUrl_->resolving(trimmed(baseUrl)) : base::Url::parse(trimmed(baseUrl));
    if (url)
        base_ = url;
}

void Container::on_anchor_click(const litehtml::tchar_t *url, const litehtml::element::ptr &) {
    if (!url || !resources_.anchorClicked)
        return;
    if (auto target = resolve(url))
        resources_.anchorClicked(*target);
}

void Container::transform_text(litehtml::tstring &text, litehtml::text_transform tt) {
    gchar *changed = nullptr;
    if (tt == litehtml::text_transform_uppercase)
        changed = g_utf8_strup(text.c_str(), -1);
    else if (tt == litehtml::text_transform_lowercase)
        changed = g_utf8_strdown(text.c_str(), -1);
    else if (tt == litehtml::text_transform_capitalize && !text.empty()) {
        const char *next = g_utf8_next_char(text.c_str());
        gchar *first = g_utf8_strup(text.c_str(), next - text.c_str());
        text = std::string(first) + next;
        g_free(first);
    }
    if (changed) {
        text = changed;
        g_free(changed);
    }
}

void Container::import_css(litehtml::tstring &text, const litehtml::tstring &url,
                           litehtml::tstring &baseurl) {
    auto sheet = resolve(url, baseurl.c_str());
    if (!sheet)
        return;
    if (auto fetched = resources_.sheet(sheet->absoluteString())) {
        text = *fetched;
        baseurl = sheet->absoluteString();
    }
}

void Container::set_clip(const litehtml::position &pos, const litehtml::border_radiuses &, bool, bool) {
    clips_.push_back(pos);
}

void Container::del_clip() {
    if (!clips_.empty())
        clips_.pop_back();
}

void Container::get_client_rect(litehtml::position &client) const {
    client = litehtml::position(0, 0, int(viewport_.w), int(viewport_.h));
}

void Container::get_media_features(litehtml::media_features &media) const {
    media.type = litehtml::media_type_screen;
    media.width = media.device_width = int(viewport_.w);
    media.height = media.device_height = int(viewport_.h);
    media.color = 8;
    media.monochrome = 0;
    media.color_index = 256;
    media.resolution = 96;
}

void Container::get_language(litehtml::tstring &language, litehtml::tstring &culture) const {
    language = "zh";
    culture = "CN";
}

void Container::split_text(const char *text, const std::function<void(const litehtml::tchar_t *)> &onWord,
                           const std::function<void(const litehtml::tchar_t *)> &onSpace) {
    std::string_view all(text);
    glong characters = g_utf8_strlen(text, glong(all.size()));
    std::vector<PangoLogAttr> attrs(size_t(characters) + 1);
    pango_get_log_attrs(text, int(all.size()), -1, pango_language_from_string("zh-cn"), attrs.data(),
                        int(attrs.size()));
    std::string word;
    const char *p = text;
    for (glong i = 0; i < characters; ++i) {
        const char *next = g_utf8_next_char(p);
        std::string ch(p, size_t(next - p));
        if (attrs[size_t(i)].is_white) {
            if (!word.empty())
                onWord(word.c_str());
            word.clear();
            onSpace(ch.c_str());
        } else {
            if (attrs[size_t(i)].is_line_break && !word.empty()) {
                onWord(word.c_str());
                word.clear();
            }
            word += ch;
        }
        p = next;
    }
    if (!word.empty())
        onWord(word.c_str());
}

} // namespace web
