#pragma once

#include "base/Object.h"
#include "gfx/Color.h"
#include "gfx/Geometry.h"
#include "gfx/Surface.h"
#include "gfx/Text.h"

#include <span>
#include <string_view>
#include <vector>

typedef struct _cairo cairo_t;

namespace gfx {

class Gradient;
class Image;

enum class Blend { Normal, Color };

// A 2-D drawing context over Cairo, with the platform's state model: separate fill and stroke
// colours, a shadow and a blend mode saved and restored with the rest of the state; paths are
// consumed by filling, stroking and clipping. A new context fills and strokes in black with
// lines 1 wide, and its y axis grows downwards.
class Context {
public:
    explicit Context(const Surface &target);
    // Draws through an existing Cairo context in its current state.
    explicit Context(cairo_t *cairo);
    virtual ~Context();
    Context(const Context &) = delete;
    Context &operator=(const Context &) = delete;

    cairo_t *cairo() const { return cr_; }
    const Surface &target() const { return target_; }

    void save();
    // Ignored without a matching save.
    void restore();

    void setFill(const Color &color);
    void setStroke(const Color &color);
    const Color &fill() const { return *state_.fill; }
    const Color &stroke() const { return *state_.stroke; }
    void setLineWidth(float width);
    float lineWidth() const;
    // Antialiased edges (on for a new context); off, lines and fills keep to whole pixels.
    void setShouldAntialias(bool antialias);
    bool shouldAntialias() const;
    // On and off lengths; an empty list draws solid lines.
    void setDash(std::span<const float> lengths, float phase = 0);
    std::vector<float> dash() const;
    // A clear or missing colour turns the shadow off.
    void setShadow(Size offset, float blur, const Color *color);
    void setBlendMode(Blend mode);

    void fillRect(Rect r);
    void strokeRect(Rect r);
    void clearRect(Rect r);
    void fillEllipse(Rect r);
    void strokeEllipse(Rect r);

    void beginPath();
    void moveTo(Point p);
    void lineTo(Point p);
    // A polyline: a move to the first point, lines to the others.
    void addLines(std::span<const Point> points);
    void addRect(Rect r);
    void addEllipse(Rect r);
    // Angles in radians from the +x axis toward +y; not clockwise means growing angles.
    void addArc(Point center, float radius, float startAngle, float endAngle, bool clockwise);
    // A line toward p1 ending in an arc of the radius tangent to p1–p2, as rounded corners are drawn.
    void addArcToPoint(Point p1, Point p2, float radius);
    void addCurveTo(Point control1, Point control2, Point end);
    void closePath();
    bool hasCurrentPoint() const;

    void fillPath(bool evenOdd = false);
    void strokePath();
    // Fills with the fill colour, then strokes the same path with the stroke colour.
    void fillAndStrokePath(bool evenOdd = false);
    void clipToRect(Rect r);
    void clip(bool evenOdd = false);
    Rect clipBounds() const;

    // Paints the gradient within the clip along from → to; nothing beyond the ends unless extend.
    void drawLinearGradient(const Gradient &gradient, Point from, Point to, bool extend = false);

    void concat(const Transform &t);
    void translate(float dx, float dy);
    void scale(float sx, float sy);
    void rotate(float radians);
    Transform ctm() const;

    // Upright in a space whose y grows downwards; stretchable images draw in nine parts.
    void drawImage(Rect r, const Image &image);
    // The image's first row at the rect's maximum y: upright only in a space whose y grows upwards.
    void drawImageRaw(Rect r, const Image &image);
    // Repeats the image, scaled to the tile's size and starting at its origin, over the whole clip.
    void drawTiledImage(Rect tile, const Image &image);

    // Draws in the fill colour, clipped to the rect, from its top; returns the size used.
    Size drawText(std::string_view text, Rect r, const Font &font, LineBreak lineBreak = LineBreak::WordWrap,
                  Align align = Align::Left);
    // One line with its top left at the point, unclipped.
    Size drawText(std::string_view text, Point p, const Font &font);

protected:
    void flipVertically(float height);

private:
    struct State {
        base::Ref<Color> fill, stroke, shadow;
        Size shadowOffset;
        float shadowBlur = 0;
    };

    void setSource(const Color &color);
    // Runs the drawing, first as the shadow when one is set.
    template <class Draw> void paint(Draw draw);
    void drawSlice(const Image &image, Rect source, Rect target);

    Surface target_;
    cairo_t *cr_;
    State state_;
    std::vector<State> saved_;
};

} // namespace gfx
