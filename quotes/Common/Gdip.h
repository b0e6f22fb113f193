#pragma once

#include "gfx/Color.h"
#include "gfx/Context.h"
#include "gfx/Font.h"
#include "gfx/Geometry.h"

#include <span>
#include <string_view>

// The drawing primitives of the charts, tables and panels: every call names its colour and line
// width in one place. Each draws on the context it is given and keeps no state of its own; what
// an operation leaves set on the context is stated with it. Class operations only.
class Gdip {
public:
    Gdip() = delete;

    static constexpr float RoundedRectRadius = 6;

    // Sets the fill colour and fills the rect.
    static void fillRect(gfx::Context &context, gfx::Rect rt, const gfx::Color &clr);
    // drawRect2 with a 1-point line.
    static void drawRect(gfx::Context &context, gfx::Rect rt, const gfx::Color &clr);
    // Sets the stroke colour and line width and strokes the rect.
    static void drawRect2(gfx::Context &context, gfx::Rect rt, const gfx::Color &clr, float width);
    // Fills the inscribed ellipse; the context's state is kept.
    static void fillEllipse(gfx::Context &context, gfx::Rect rt, const gfx::Color &clr);
    // A rounded rect of radius 6 stroked 1 point wide in the colour; its inside takes the
    // context's current fill colour. Stroke colour and width stay set.
    static void drawRoundedRect(gfx::Context &context, gfx::Rect rt, const gfx::Color &clr);
    // The same outline with the given radius, filled with the colour (which stays the fill colour).
    static void fillRoundedRect(gfx::Context &context, gfx::Rect rt, const gfx::Color &clr, float radius);
    // Four RGBA components per stop, spread evenly from the rect's left edge to its right edge
    // (horizontal) or from its top to its bottom, nothing beyond the rect; the state is kept.
    static void drawGradientRect(gfx::Context &context, gfx::Rect rect, std::span<const float> gradientColors,
                                 int gradientColorsCount, bool isHorzGradient);
    // A solid polyline; stroke colour and width stay set.
    static void drawLine(gfx::Context &context, std::span<const gfx::Point> pts, const gfx::Color &clr,
                         float width);
    static void drawLine(gfx::Context &context, gfx::Point pt1, gfx::Point pt2, const gfx::Color &clr,
                         float width);
    // A dashed polyline (on, off, ... lengths from phase 0); the state is kept.
    static void drawDashLine(gfx::Context &context, std::span<const gfx::Point> pts, const gfx::Color &clr,
                             float width, std::span<const float> dashs);
    // Fills the closed polygon, clipped to the rect when one is given; the state is kept.
    static void fillPolygon(gfx::Context &context, std::span<const gfx::Point> pts, const gfx::Color &clr);
    static void fillPolygon(gfx::Context &context, std::span<const gfx::Point> pts, const gfx::Color &clr,
                            gfx::Rect clipRect);
    // One line of text clipped to the rect, alignment 0 left, 1 centre, 2 right; the colour stays
    // the fill and stroke colour. An empty text draws nothing.
    static void drawStrInRect(gfx::Context &context, std::string_view text, gfx::Rect rect,
                              const gfx::Font &font, const gfx::Color &color, int alignment);
    // As above; with isvercenter the text is drawn in a rect of the font's x-height plus cap
    // height, centred vertically in the given one.
    static void drawStrInRect(gfx::Context &context, std::string_view text, gfx::Rect rect,
                              const gfx::Font &font, const gfx::Color &color, bool isvercenter,
                              int alignment);

private:
    static void addRoundedRect(gfx::Context &context, gfx::Rect rt, float radius);
};
