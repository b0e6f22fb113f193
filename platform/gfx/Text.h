#pragma once

#include "gfx/Font.h"
#include "gfx/Geometry.h"

#include <cmath>
#include <string_view>

typedef struct _PangoLayout PangoLayout;
typedef struct _PangoContext PangoContext;

namespace gfx {

enum class LineBreak { WordWrap, CharWrap, Clip, TruncateHead, TruncateTail, TruncateMiddle };
enum class Align { Left, Center, Right };

// The size the text takes with the font: wrapped within maxWidth by the wrapping modes, one line
// per paragraph otherwise (truncated to maxWidth by the truncating modes).
Size measure(std::string_view text, const Font &font, float maxWidth = INFINITY,
             LineBreak lineBreak = LineBreak::WordWrap);

// A Pango layout of the text in the given context; the caller releases it with g_object_unref.
// A clipped text is laid out without a width, so its alignment is left to the caller.
PangoLayout *layoutText(PangoContext *context, std::string_view text, const Font &font, float width,
                        LineBreak lineBreak, Align align);

} // namespace gfx
