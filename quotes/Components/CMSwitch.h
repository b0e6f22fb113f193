#pragma once

#include "ui/Label.h"
#include "ui/Slider.h"

// A two-state switch of fixed size, 95 × 27, drawn from bundle pictures: a slider from 0 (off) to
// 1 (on) whose thumb carries a text on each side through a clipping window. Every tap flips it,
// on the thumb or beside it, and sends exactly one value-changed event per flip; the price-alarm
// editor reads it then.
class CMSwitch : public ui::Slider {
public:
    static constexpr gfx::Size Size{95, 27};
    static constexpr double AnimationSeconds = 0.2;

    // Keeps the frame's origin; the size is always 95 × 27.
    static base::Ref<CMSwitch> create(gfx::Rect frame);

    // Keeps the size at 95 × 27 whatever is asked.
    void setFrame(gfx::Rect frame);

    bool isOn() const { return on_; }
    void setOn(bool on) { setOn(on, false); }
    // Moves the thumb to the state's end at once, or over 0.2 s.
    void setOn(bool on, bool animated);

    const base::Ref<gfx::Color> &tintColor() const { return tintColor_; }
    // Tints the on-side track picture; a colour equal to the current one changes nothing.
    void setTintColor(base::Ref<gfx::Color> color);
    // The picture recoloured with the colour's hue and saturation, or the picture itself without one.
    static base::Ref<gfx::Image> imageTintedWithColor(const base::Ref<gfx::Image> &image,
                                                      const base::Ref<gfx::Color> &color);

    ui::View &clippingView() { return *clippingView_; }
    ui::Label &leftLabel() { return *leftLabel_; }
    ui::Label &rightLabel() { return *rightLabel_; }

    void layoutSubviews() override;
    bool beginTracking(const ui::Touch &touch, const ui::Event &event) override;
    void endTracking(const ui::Touch *touch, const ui::Event *event) override;
    void touchesBegan(const ui::TouchSet &touches, const ui::Event &event) override;
    void touchesEnded(const ui::TouchSet &touches, const ui::Event &event) override;
    void touchesCancelled(const ui::TouchSet &touches, const ui::Event &event) override;

protected:
    explicit CMSwitch(gfx::Rect frame);

private:
    void awakeFromNib();
    // Animates to the flipped state and tells the targets.
    void completeFlip();
    bool ownsTouch(const ui::TouchSet &touches) const;

    bool on_ = false;
    // Whether the current touch ended through the slider's own tracking (it began on the thumb).
    bool m_touchedSelf = false;
    int touchId_ = -1;
    base::Ref<gfx::Color> tintColor_;
    base::Ref<ui::View> clippingView_;
    base::Ref<ui::Label> leftLabel_, rightLabel_;
};
