#pragma once

#include "gfx/Image.h"
#include "ui/Control.h"

#include <map>

namespace ui {

// A value between a minimum and a maximum, set by dragging the thumb. A continuous slider sends
// value-changed as the thumb moves; otherwise once when tracking ends, and only if the value moved.
class Slider : public Control {
public:
    explicit Slider(gfx::Rect frame = {});

    float value() const { return value_; }
    void setValue(float value, bool animated = false);
    float minimumValue = 0, maximumValue = 1;
    bool continuous = true;

    void setThumbImage(base::Ref<gfx::Image> image, unsigned state = Normal);
    void setMinimumTrackImage(base::Ref<gfx::Image> image, unsigned state = Normal);
    void setMaximumTrackImage(base::Ref<gfx::Image> image, unsigned state = Normal);

    // Where the thumb sits in the slider's space.
    gfx::Rect thumbRect() const;

    bool beginTracking(const Touch &touch, const Event &event) override;
    bool continueTracking(const Touch &touch, const Event &event) override;
    void endTracking(const Touch *touch, const Event *event) override;
    void drawRect(gfx::Context &context, gfx::Rect dirty) override;

private:
    using Images = std::map<unsigned, base::Ref<gfx::Image>>;
    base::Ref<gfx::Image> imageFor(const Images &images) const;
    gfx::Size thumbSize() const;
    void track(const Touch &touch);

    float value_ = 0, startValue_ = 0, grab_ = 0;
    Images thumb_, minimumTrack_, maximumTrack_;
};

} // namespace ui
