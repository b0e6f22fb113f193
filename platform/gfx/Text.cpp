#include "gfx/Text.h"

#include "gfx/FontRegistry.h"

#include <pango/pangocairo.h>

namespace gfx {

namespace {

bool wraps(LineBreak mode) {
    return mode == LineBreak::WordWrap || mode == LineBreak::CharWrap;
}

PangoEllipsizeMode ellipsis(LineBreak mode) {
    switch (mode) {
    case LineBreak::TruncateHead:
        return PANGO_ELLIPSIZE_START;
    case LineBreak::TruncateMiddle:
        return PANGO_ELLIPSIZE_MIDDLE;
    case LineBreak::TruncateTail:
        return PANGO_ELLIPSIZE_END;
    default:
        return PANGO_ELLIPSIZE_NONE;
    }
}

PangoAlignment pangoAlign(Align align) {
    switch (align) {
    case Align::Center:
        return PANGO_ALIGN_CENTER;
    case Align::Right:
        return PANGO_ALIGN_RIGHT;
    default:
        return PANGO_ALIGN_LEFT;
    }
}

} // namespace

PangoLayout *layoutText(PangoContext *context, std::string_view text, const Font &font, float width,
                        LineBreak lineBreak, Align align) {
    PangoLayout *layout = pango_layout_new(context);
    pango_layout_set_font_description(layout, font.pango());
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    pango_layout_set_alignment(layout, pangoAlign(align));
    // A clipped text keeps each paragraph on one line, so it gets no width; the caller aligns it.
    if (std::isfinite(width) && width >= 0 && lineBreak != LineBreak::Clip)
        pango_layout_set_width(layout, static_cast<int>(width * PANGO_SCALE));
    if (wraps(lineBreak))
        pango_layout_set_wrap(layout,
                              lineBreak == LineBreak::CharWrap ? PANGO_WRAP_CHAR : PANGO_WRAP_WORD_CHAR);
    else
        pango_layout_set_ellipsize(layout, ellipsis(lineBreak));
    return layout;
}

Size measure(std::string_view text, const Font &font, float maxWidth, LineBreak lineBreak) {
    PangoLayout *layout =
        layoutText(FontRegistry::shared().measuringContext(), text, font, maxWidth, lineBreak, Align::Left);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    g_object_unref(layout);
    Size size{static_cast<float>(logical.width) / PANGO_SCALE,
              static_cast<float>(logical.height) / PANGO_SCALE};
    if (std::isfinite(maxWidth) && size.w > maxWidth)
        size.w = maxWidth;
    return size;
}

} // namespace gfx
