#include "ui/ImageView.h"

#include <algorithm>

namespace ui {

ImageView::ImageView(base::Ref<gfx::Image> image)
    : ImageView(image ? gfx::Rect{{0, 0}, image->size()} : gfx::Rect{}, image) {}

ImageView::ImageView(gfx::Rect frame, base::Ref<gfx::Image> image) : View(frame), image_(std::move(image)) {
    userInteractionEnabled = false;
    opaque = false;
}

void ImageView::setImage(base::Ref<gfx::Image> image) {
    image_ = std::move(image);
    setNeedsDisplay();
}

void ImageView::setHighlightedImage(base::Ref<gfx::Image> image) {
    highlightedImage_ = std::move(image);
    setNeedsDisplay();
}

void ImageView::setHighlighted(bool highlighted) {
    highlighted_ = highlighted;
    setNeedsDisplay();
}

void ImageView::setContentMode(Mode mode) {
    mode_ = mode;
    setNeedsDisplay();
}

gfx::Size ImageView::sizeThatFits(gfx::Size size) const {
    return image_ ? image_->size() : size;
}

void ImageView::drawRect(gfx::Context &c, gfx::Rect) {
    const auto &image = highlighted_ && highlightedImage_ ? highlightedImage_ : image_;
    if (!image)
        return;
    gfx::Rect b = bounds();
    gfx::Size s = image->size();
    gfx::Rect r = b;
    switch (mode_) {
    case Mode::ScaleToFill:
        break;
    case Mode::AspectFit:
    case Mode::AspectFill: {
        if (s.w <= 0 || s.h <= 0)
            return;
        float kx = b.width() / s.w, ky = b.height() / s.h;
        float k = mode_ == Mode::AspectFit ? std::min(kx, ky) : std::max(kx, ky);
        r = {b.midX() - s.w * k / 2, b.midY() - s.h * k / 2, s.w * k, s.h * k};
        break;
    }
    case Mode::Center:
        r = {b.midX() - s.w / 2, b.midY() - s.h / 2, s.w, s.h};
        break;
    case Mode::TopLeft:
        r = {b.x(), b.y(), s.w, s.h};
        break;
    }
    c.save();
    c.clipToRect(b);
    c.drawImage(r, *image);
    c.restore();
}

} // namespace ui
