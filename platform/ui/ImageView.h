#pragma once

#include "gfx/Image.h"
#include "ui/View.h"

namespace ui {

// Shows an image (or nothing) in its frame. Takes no touches by default, so a tap on it reaches
// the view behind.
class ImageView : public View {
public:
    enum class Mode { ScaleToFill, AspectFit, AspectFill, Center, TopLeft };

    explicit ImageView(base::Ref<gfx::Image> image = nullptr);
    explicit ImageView(gfx::Rect frame, base::Ref<gfx::Image> image = nullptr);

    const base::Ref<gfx::Image> &image() const { return image_; }
    void setImage(base::Ref<gfx::Image> image);
    void setHighlightedImage(base::Ref<gfx::Image> image);
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);
    Mode contentMode() const { return mode_; }
    void setContentMode(Mode mode);

    gfx::Size sizeThatFits(gfx::Size size) const override;
    void drawRect(gfx::Context &context, gfx::Rect dirty) override;

private:
    base::Ref<gfx::Image> image_, highlightedImage_;
    Mode mode_ = Mode::ScaleToFill;
    bool highlighted_ = false;
};

} // namespace ui
