#include "Common/Gdip.h"

#include "gfx/Gradient.h"

void Gdip::fillRect(gfx::Context &context, gfx::Rect rt, const gfx::Color &clr) {
    context.setFill(clr);
    context.fillRect(rt);
}

void Gdip::drawRect(gfx::Context &context, gfx::Rect rt, const gfx::Color &clr) {
    drawRect2(context, rt, clr, 1);
}

void Gdip::drawRect2(gfx::Context &context, gfx::Rect rt, const gfx::Color &clr, float width) {
    context.setStroke(clr);
    context.setLineWidth(width);
    context.strokeRect(rt);
}

void Gdip::fillEllipse(gfx::Context &context, gfx::Rect rt, const gfx::Color &clr) {
    context.save();
    context.setFill(clr);
    context.fillEllipse(rt);
    context.restore();
}

void Gdip::addRoundedRect(gfx::Context &context, gfx::Rect rt, float radius) {
    const float minX = rt.minX(), midX = rt.midX(), maxX = rt.maxX();
    const float minY = rt.minY(), midY = rt.midY(), maxY = rt.maxY();
    context.beginPath();
    context.moveTo({minX, midY});
    context.addArcToPoint({minX, minY}, {midX, minY}, radius);
    context.addArcToPoint({maxX, minY}, {maxX, midY}, radius);
    context.addArcToPoint({maxX, maxY}, {midX, maxY}, radius);
    context.addArcToPoint({minX, maxY}, {minX, midY}, radius);
    context.closePath();
}

void Gdip::drawRoundedRect(gfx::Context &context, gfx::Rect rt, const gfx::Color &clr) {
    context.setStroke(clr);
    context.setLineWidth(1);
    addRoundedRect(context, rt, RoundedRectRadius);
    context.fillAndStrokePath();
}

void Gdip::fillRoundedRect(gfx::Context &context, gfx::Rect rt, const gfx::Color &clr, float radius) {
    context.setFill(clr);
    addRoundedRect(context, rt, radius);
    context.fillPath();
}

void Gdip::drawGradientRect(gfx::Context &context, gfx::Rect rect, std::span<const float> gradientColors,
                            int gradientColorsCount, bool isHorzGradient) {
    base::Ref<gfx::Gradient> gradient = gfx::Gradient::deviceRgb(gradientColors, gradientColorsCount);
    if (!gradient)
        return;
    context.save();
    context.clipToRect(rect);
    const gfx::Point end =
        isHorzGradient ? gfx::Point{rect.maxX(), rect.y()} : gfx::Point{rect.x(), rect.maxY()};
    context.drawLinearGradient(*gradient, rect.o, end);
    context.restore();
}

void Gdip::drawLine(gfx::Context &context, std::span<const gfx::Point> pts, const gfx::Color &clr,
                    float width) {
    context.setStroke(clr);
    context.setLineWidth(width);
    context.beginPath();
    context.addLines(pts);
    context.strokePath();
}

void Gdip::drawLine(gfx::Context &context, gfx::Point pt1, gfx::Point pt2, const gfx::Color &clr,
                    float width) {
    const gfx::Point pts[] = {pt1, pt2};
    drawLine(context, pts, clr, width);
}

void Gdip::drawDashLine(gfx::Context &context, std::span<const gfx::Point> pts, const gfx::Color &clr,
                        float width, std::span<const float> dashs) {
    context.save();
    context.setDash(dashs, 0);
    drawLine(context, pts, clr, width);
    context.restore();
}

void Gdip::fillPolygon(gfx::Context &context, std::span<const gfx::Point> pts, const gfx::Color &clr) {
    context.save();
    context.beginPath();
    context.addLines(pts);
    context.closePath();
    context.setFill(clr);
    context.fillPath();
    context.restore();
}

void Gdip::fillPolygon(gfx::Context &context, std::span<const gfx::Point> pts, const gfx::Color &clr,
                       gfx::Rect clipRect) {
    context.save();
    context.clipToRect(clipRect);
    fillPolygon(context, pts, clr);
    context.restore();
}

void Gdip::drawStrInRect(gfx::Context &context, std::string_view text, gfx::Rect rect, const gfx::Font &font,
                         const gfx::Color &color, int alignment) {
    if (text.empty())
        return;
    context.setFill(color);
    context.setStroke(color);
    const gfx::Align align = alignment == 1   ? gfx::Align::Center
                             : alignment == 2 ? gfx::Align::Right
                                              : gfx::Align::Left;
    context.drawText(text, rect, font, gfx::LineBreak::Clip, align);
}

void Gdip::drawStrInRect(gfx::Context &context, std::string_view text, gfx::Rect rect, const gfx::Font &font,
                         const gfx::Color &color, bool isvercenter, int alignment) {
    if (isvercenter) {
        const float textHeight = font.xHeight() + font.capHeight();
        rect = {rect.x(), rect.y() + (rect.height() - textHeight) / 2, rect.width(), textHeight};
    }
    drawStrInRect(context, text, rect, font, color, alignment);
}
