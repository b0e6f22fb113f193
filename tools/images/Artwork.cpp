#include "Artwork.h"

#include "Common/MakerInfo.h"
#include "base/Str.h"
#include "gfx/Context.h"
#include "gfx/Gradient.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>

namespace images {

using gfx::Color;
using gfx::Context;
using gfx::Point;
using gfx::Rect;

namespace {

struct Canvas {
    const Entry &e;
    Context &c;
    float w, h;

    Color shade(float factor, float alpha = 1) const {
        return {std::clamp(e.r * factor, 0.f, 1.f), std::clamp(e.g * factor, 0.f, 1.f),
                std::clamp(e.b * factor, 0.f, 1.f), alpha};
    }
    void verticalGradient(Rect r, float top, float bottom) const {
        Color a = shade(top), b = shade(bottom);
        const float stops[] = {a.r(), a.g(), a.b(), 1, b.r(), b.g(), b.b(), 1};
        c.save();
        c.clipToRect(r);
        c.drawLinearGradient(*gfx::Gradient::deviceRgb(stops, 2), {0, r.y()}, {0, r.maxY()});
        c.restore();
    }
    void roundedRect(Rect r, float radius) const {
        radius = std::min({radius, r.width() / 2, r.height() / 2});
        c.beginPath();
        c.moveTo({r.x(), r.midY()});
        c.addArcToPoint({r.x(), r.y()}, {r.midX(), r.y()}, radius);
        c.addArcToPoint({r.maxX(), r.y()}, {r.maxX(), r.midY()}, radius);
        c.addArcToPoint({r.maxX(), r.maxY()}, {r.midX(), r.maxY()}, radius);
        c.addArcToPoint({r.x(), r.maxY()}, {r.x(), r.midY()}, radius);
        c.closePath();
    }
    void label(float size, const Color &colour) const {
        if (e.label.empty())
            return;
        auto font = gfx::Font::boldSystem(size);
        float textHeight = font->lineHeight();
        c.setFill(colour);
        c.drawText(e.label, Rect{0, (h - textHeight) / 2, w, textHeight}, *font, gfx::LineBreak::Clip,
                   gfx::Align::Center);
    }
    void triangle(Point a, Point b, Point p) const {
        c.setFill(shade(1));
        c.beginPath();
        c.moveTo(a);
        c.lineTo(b);
        c.lineTo(p);
        c.closePath();
        c.fillPath();
    }
};

float labelSize(const Canvas &k) {
    float byHeight = k.h * 0.55f;
    float byWidth = k.w / std::max<float>(1, float(base::str::codePoints(k.e.label).size())) * 0.9f;
    return std::max(6.f, std::floor(std::min(byHeight, byWidth)));
}

void panel(const Canvas &k) {
    k.verticalGradient({0, 0, k.w, k.h}, 1.25f, 0.8f);
    k.label(labelSize(k), *Color::white(1, 0.8f));
}

// The market login panel's backdrop: the two entry boxes with their labels and the empty
// save-password box, where the panel lays its fields and buttons (the fields are clear, so the
// boxes show through; a ticked box shows "login_checked.png" over the empty one).
void login(const Canvas &k) {
    panel(k);
    auto font = gfx::Font::boldSystem(16);
    auto small = gfx::Font::system(14);
    const struct {
        Rect box;
        const char *text;
    } fields[] = {{{402, 198, 267, 25}, "账号"}, {{402, 243, 267, 25}, "密码"}};
    for (const auto &field : fields) {
        k.roundedRect(field.box.inset(-3, -3), 4);
        k.c.setFill(*Color::white(0.97f));
        k.c.setStroke(*Color::white(0.6f));
        k.c.fillAndStrokePath();
        k.c.setFill(*Color::white());
        k.c.drawText(
            field.text,
            Rect{field.box.x() - 80, field.box.midY() - font->lineHeight() / 2, 68, font->lineHeight()},
            *font, gfx::LineBreak::Clip, gfx::Align::Right);
    }
    Rect check{551, 295, 19, 19};
    k.roundedRect(check.inset(0.5f, 0.5f), 3);
    k.c.setFill(*Color::white(0.97f));
    k.c.setStroke(*Color::white(0.6f));
    k.c.fillAndStrokePath();
    k.c.setFill(*Color::white());
    k.c.drawText("保存密码",
                 Rect{check.maxX() + 8, check.midY() - small->lineHeight() / 2, 100, small->lineHeight()},
                 *small, gfx::LineBreak::Clip, gfx::Align::Left);
}

void bar(const Canvas &k) {
    k.verticalGradient({0, 0, k.w, k.h}, 1.3f, 0.85f);
    if (k.h > 4) {
        k.c.setFill(k.shade(0.5f));
        k.c.fillRect({0, k.h - 1, k.w, 1});
    }
}

void button(const Canvas &k) {
    Rect face{0.5f, 0.5f, k.w - 1, k.h - 1};
    float radius = std::min(6.f, k.h / 3);
    k.roundedRect(face, radius);
    k.c.save();
    k.c.clip();
    k.verticalGradient({0, 0, k.w, k.h}, 1.35f, 0.85f);
    k.c.restore();
    k.roundedRect(face, radius);
    k.c.setStroke(k.shade(1.6f));
    k.c.strokePath();
    k.label(labelSize(k), *Color::white());
}

void frame(const Canvas &k) {
    Rect face{0.5f, 0.5f, k.w - 1, k.h - 1};
    k.roundedRect(face, std::min(8.f, k.h / 3));
    k.c.setFill(k.shade(1, 0.95f));
    k.c.setStroke(k.shade(0.6f));
    k.c.fillAndStrokePath();
}

void icon(const Canvas &k) {
    k.roundedRect({0, 0, k.w, k.h}, std::min(k.w, k.h) / 5);
    k.c.setFill(k.shade(1));
    k.c.fillPath();
    k.label(labelSize(k), *Color::white());
}

void arrow(const Canvas &k, float angle) {
    // An arrow head pointing right, turned by the angle about the centre.
    k.c.save();
    k.c.translate(k.w / 2, k.h / 2);
    k.c.rotate(angle);
    bool upright = std::abs(std::sin(angle)) > 0.5f;
    float along = (upright ? k.h : k.w) * 0.35f, across = (upright ? k.w : k.h) * 0.35f;
    k.triangle({-along, -across}, {-along, across}, {along, 0});
    k.c.restore();
}

void line(const Canvas &k) {
    k.c.setFill(k.shade(1));
    if (k.w >= k.h)
        k.c.fillRect({0, std::floor((k.h - std::max(1.f, k.h / 2)) / 2), k.w, std::max(1.f, k.h / 2)});
    else
        k.c.fillRect({std::floor((k.w - std::max(1.f, k.w / 2)) / 2), 0, std::max(1.f, k.w / 2), k.h});
}

void equal(const Canvas &k) {
    // An equals sign as wide as the arrows beside it: the mark of an unchanged price.
    k.c.setFill(k.shade(1));
    float bar = std::max(1.f, std::round(k.h * 0.14f)), x = std::round(k.w * 0.15f);
    for (float y : {k.h * 0.34f, k.h * 0.66f - bar})
        k.c.fillRect({x, std::round(y), k.w - 2 * x, bar});
}

void dots(const Canvas &k) {
    k.c.setFill(k.shade(1));
    for (float x = 0; x < k.w; x += 3)
        k.c.fillRect({x, 0, 1, k.h});
}

void tag(const Canvas &k) {
    float tip = k.h / 2;
    k.c.setFill(k.shade(1));
    k.c.beginPath();
    const Point outline[] = {{0, tip}, {tip, 0}, {k.w, 0}, {k.w, k.h}, {tip, k.h}};
    k.c.addLines(outline);
    k.c.closePath();
    k.c.fillPath();
}

void disc(const Canvas &k) {
    float size = std::min(k.w, k.h);
    Rect r{(k.w - size) / 2 + 0.5f, (k.h - size) / 2 + 0.5f, size - 1, size - 1};
    k.c.setFill(k.shade(1));
    k.c.setStroke(k.shade(1.3f));
    k.c.beginPath();
    k.c.addEllipse(r);
    k.c.fillAndStrokePath();
}

// An outline that rings a control the help points at, leaving the control itself readable.
void ring(const Canvas &k) {
    k.roundedRect({1, 1, k.w - 2, k.h - 2}, k.h / 3);
    k.c.setStroke(k.shade(1));
    k.c.setLineWidth(2);
    k.c.strokePath();
}

void page(const Canvas &k) {
    k.verticalGradient({0, 0, k.w, k.h}, 1.4f, 0.6f);
    k.c.setFill(*Color::white(1, 0.9f));
    auto number = std::string(1, k.e.name[std::string("guide").size()]);
    k.c.drawText(number, Rect{0, k.h * 0.2f, k.w, 200}, *gfx::Font::boldSystem(160), gfx::LineBreak::Clip,
                 gfx::Align::Center);
    k.c.drawText(k.e.label, Rect{0, k.h * 0.6f, k.w, 60}, *gfx::Font::boldSystem(44), gfx::LineBreak::Clip,
                 gfx::Align::Center);
}

void tile(const Canvas &k) {
    k.verticalGradient({0, 0, k.w, k.h}, 1.05f, 0.9f);
    k.c.setFill(*Color::white(1, 0.8f));
    k.c.fillRect({0, 0, k.w, 1});
    k.c.setFill(k.shade(0.7f));
    k.c.fillRect({k.w - 1, 0, 1, k.h});
}

void mask(const Canvas &k) {
    k.c.setFill(*Color::rgba(0, 0, 0, 0.6f));
    k.c.fillRect({0, 0, k.w, k.h});
    k.c.setFill(*Color::white(1, 0.9f));
    // Above the help's close button, which sits near the bottom edge.
    k.c.drawText(k.e.label, Rect{0, k.h - 115, k.w, 40}, *gfx::Font::boldSystem(24), gfx::LineBreak::Clip,
                 gfx::Align::Center);
}

void check(const Canvas &k) {
    k.roundedRect({1.5f, 1.5f, k.w - 3, k.h - 3}, 3);
    k.c.setStroke(k.shade(1));
    k.c.setLineWidth(2);
    k.c.strokePath();
    k.c.beginPath();
    const Point tick[] = {{k.w * 0.25f, k.h * 0.5f}, {k.w * 0.45f, k.h * 0.7f}, {k.w * 0.78f, k.h * 0.28f}};
    k.c.addLines(tick);
    k.c.strokePath();
}

void grid(const Canvas &k) {
    k.c.setFill(k.shade(1));
    float cell = std::floor(k.w / 3);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            k.c.fillRect({i * cell + 2, j * cell + 2, cell - 3, cell - 3});
}

void list(const Canvas &k) {
    k.c.setFill(k.shade(1));
    for (int i = 0; i < 4; ++i)
        k.c.fillRect({3, 4 + i * (k.h - 8) / 4, k.w - 6, std::max(1.f, (k.h - 8) / 8)});
}

void bracket(const Canvas &k) {
    k.c.setStroke(k.shade(1));
    k.c.setLineWidth(2);
    k.c.beginPath();
    const Point shape[] = {{0, 1}, {k.w - 1, 1}, {k.w - 1, k.h - 1}, {0, k.h - 1}};
    k.c.addLines(shape);
    k.c.strokePath();
}

const std::map<std::string, std::function<void(const Canvas &)>, std::less<>> &painters() {
    static const std::map<std::string, std::function<void(const Canvas &)>, std::less<>> table{
        {"panel", panel},
        {"login", login},
        {"bar", bar},
        {"button", button},
        {"frame", frame},
        {"icon", icon},
        {"arrow-right", [](const Canvas &k) { arrow(k, 0); }},
        {"arrow-down", [](const Canvas &k) { arrow(k, float(M_PI) / 2); }},
        {"arrow-left", [](const Canvas &k) { arrow(k, float(M_PI)); }},
        {"arrow-up", [](const Canvas &k) { arrow(k, -float(M_PI) / 2); }},
        {"line", line},
        {"equal", equal},
        {"dots", dots},
        {"tag", tag},
        {"disc", disc},
        {"ring", ring},
        {"page", page},
        {"tile", tile},
        {"mask", mask},
        {"check", check},
        {"clear", [](const Canvas &) {}},
        {"grid", grid},
        {"list", list},
        {"bracket", bracket},
    };
    return table;
}

} // namespace

std::optional<Entry> parseEntry(const std::string &line) {
    auto fields = base::str::split(line, "\t");
    if (fields.size() != 7 || fields[4].size() != 7 || fields[4][0] != '#')
        return std::nullopt;
    Entry e;
    e.name = fields[0];
    e.width = base::str::toInt(fields[1]);
    e.height = base::str::toInt(fields[2]);
    e.kind = fields[3];
    unsigned long rgb = std::strtoul(fields[4].c_str() + 1, nullptr, 16);
    e.r = float((rgb >> 16) & 0xff) / 255;
    e.g = float((rgb >> 8) & 0xff) / 255;
    e.b = float(rgb & 0xff) / 255;
    if (fields[6] != "-")
        e.label = fields[6];
    // The product's name comes from where every text of the application takes it.
    if (e.label == "{ProductName}")
        e.label = MakerInfo::ProductName;
    if (e.name.empty() || e.width <= 0 || e.height <= 0)
        return std::nullopt;
    return e;
}

gfx::Surface draw(const Entry &entry) {
    auto painter = painters().find(entry.kind);
    if (painter == painters().end())
        return {};
    gfx::Surface pixels(entry.width, entry.height);
    Context c(pixels);
    painter->second(Canvas{entry, c, float(entry.width), float(entry.height)});
    return pixels;
}

} // namespace images
