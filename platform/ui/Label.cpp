#include "ui/Label.h"

#include "gfx/FontRegistry.h"

#include <algorithm>
#include <cmath>
#include <pango/pango.h>

namespace ui {

namespace {

// The size of the text as laid out, its first `lines` lines only (all of them for 0). A line is
// as tall as the fonts its glyphs come from: Chinese in a Latin font falls back to the CJK face,
// whose line is taller than the named font's, and it is that taller line that has to fit.
gfx::Size laidOut(const std::string &text, const gfx::Font &font, float width, gfx::LineBreak mode,
                  int lines) {
    PangoLayout *layout = gfx::layoutText(gfx::FontRegistry::shared().measuringContext(), text, font, width,
                                          mode, gfx::Align::Left);
    PangoLayoutIter *line = pango_layout_get_iter(layout);
    PangoRectangle extents;
    int top = 0, bottom = 0, right = 0;
    for (int n = 0; lines == 0 || n < lines; ++n) {
        pango_layout_iter_get_line_extents(line, nullptr, &extents);
        if (n == 0)
            top = extents.y;
        bottom = extents.y + extents.height;
        right = std::max(right, extents.x + extents.width);
        if (!pango_layout_iter_next_line(line))
            break;
    }
    pango_layout_iter_free(line);
    g_object_unref(layout);
    gfx::Size size{float(right) / PANGO_SCALE, float(bottom - top) / PANGO_SCALE};
    if (std::isfinite(width))
        size.w = std::min(size.w, width);
    return size;
}

} // namespace

Label::Label(gfx::Rect frame) : View(frame), font_(gfx::Font::system(17)), textColor_(gfx::Color::black()) {
    userInteractionEnabled = false;
    opaque = false;
}

void Label::setText(std::string text) {
    // The same text again redraws nothing: tables set every label on every reload.
    if (text == text_)
        return;
    text_ = std::move(text);
    setNeedsDisplay();
}

void Label::setFont(base::Ref<gfx::Font> font) {
    if (!font)
        return;
    font_ = std::move(font);
    setNeedsDisplay();
}

void Label::setTextColor(base::Ref<gfx::Color> color) {
    textColor_ = color ? std::move(color) : gfx::Color::black();
    setNeedsDisplay();
}

void Label::setHighlightedTextColor(base::Ref<gfx::Color> color) {
    highlightedColor_ = std::move(color);
    setNeedsDisplay();
}

void Label::setTextAlignment(gfx::Align alignment) {
    alignment_ = alignment;
    setNeedsDisplay();
}

void Label::setNumberOfLines(int lines) {
    lines_ = std::max(0, lines);
    setNeedsDisplay();
}

void Label::setLineBreakMode(gfx::LineBreak mode) {
    lineBreak_ = mode;
    setNeedsDisplay();
}

void Label::setAdjustsFontSizeToFitWidth(bool adjusts) {
    adjusts_ = adjusts;
    setNeedsDisplay();
}

void Label::setMinimumFontSize(float size) {
    minimumFontSize_ = size;
    setNeedsDisplay();
}

void Label::setShadowColor(base::Ref<gfx::Color> color) {
    shadowColor_ = std::move(color);
    setNeedsDisplay();
}

void Label::setShadowOffset(gfx::Size offset) {
    shadowOffset_ = offset;
    setNeedsDisplay();
}

void Label::setHighlighted(bool highlighted) {
    if (highlighted_ != highlighted)
        setNeedsDisplay();
    highlighted_ = highlighted;
}

void Label::setEnabled(bool enabled) {
    enabled_ = enabled;
    setNeedsDisplay();
}

gfx::LineBreak Label::wrapping() const {
    if (lines_ == 1)
        return lineBreak_ == gfx::LineBreak::WordWrap || lineBreak_ == gfx::LineBreak::CharWrap
                   ? gfx::LineBreak::Clip
                   : lineBreak_;
    return lineBreak_ == gfx::LineBreak::CharWrap ? gfx::LineBreak::CharWrap : gfx::LineBreak::WordWrap;
}

base::Ref<gfx::Font> Label::fittedFont() const {
    if (!adjusts_ || lines_ != 1 || text_.empty())
        return font_;
    const float width = bounds().width();
    float size = font_->pointSize();
    const float smallest = std::max(1.f, minimumFontSize_);
    base::Ref<gfx::Font> font = font_;
    while (size > smallest && gfx::measure(text_, *font).w > width) {
        size = std::max(smallest, size - 1);
        font = font_->withSize(size);
    }
    return font;
}

gfx::Size Label::sizeThatFits(gfx::Size size) const {
    float width = lines_ == 1 ? INFINITY : size.w;
    gfx::Size s = laidOut(text_, *font_, width, wrapping(), lines_);
    return {std::ceil(s.w), std::ceil(s.h)};
}

Label::Drawn Label::drawnFrom() const {
    return {text_,
            font_.get(),
            textColor_.get(),
            highlightedColor_.get(),
            shadowColor_.get(),
            alignment_,
            lineBreak_,
            lines_,
            adjusts_,
            highlighted_,
            enabled_,
            minimumFontSize_,
            shadowOffset_,
            bounds()};
}

bool Label::contentStale() const {
    return drawnFrom() != drawn_;
}

void Label::drawRect(gfx::Context &c, gfx::Rect) {
    drawn_ = drawnFrom();
    if (text_.empty())
        return;
    base::Ref<gfx::Font> font = fittedFont();
    gfx::Rect b = bounds();
    gfx::LineBreak mode = wrapping();
    // Plain ASCII comes from the named face itself, whose line is the font's; other characters may
    // come from a fallback face with a taller line, which only laying the text out tells.
    const bool ascii = std::all_of(text_.begin(), text_.end(), [](char c) { return (c & 0x80) == 0; });
    float height =
        lines_ == 1 && ascii ? font->lineHeight() : laidOut(text_, *font, b.width(), mode, lines_).h;
    // A line taller than the label (a CJK font's line is half again its size) stays centred on
    // it, so that the glyphs, not the line's empty leading, are what the bounds cut.
    if (lines_ != 1)
        height = std::min(height, b.height());
    gfx::Rect box{b.x(), b.y() + std::floor((b.height() - height) / 2), b.width(), height};
    if (shadowColor_ && (shadowOffset_.w != 0 || shadowOffset_.h != 0)) {
        c.setFill(*shadowColor_);
        c.drawText(text_, box.offset(shadowOffset_.w, shadowOffset_.h), *font, mode, alignment_);
    }
    auto color = highlighted_ && highlightedColor_ ? highlightedColor_ : textColor_;
    if (!enabled_)
        color = color->withAlpha(color->a() * 0.45f);
    c.setFill(*color);
    c.drawText(text_, box, *font, mode, alignment_);
}

} // namespace ui
