#pragma once

#include "gfx/Image.h"
#include "ui/Control.h"

#include <string>
#include <vector>

namespace ui {

// Segments side by side, each with a title or an image. A tap selects its segment and sends
// value-changed; a momentary control only highlights the segment while it is pressed.
class SegmentedControl : public Control {
public:
    enum class Style { Plain, Bordered, Bar };
    static constexpr int NoSegment = -1;

    explicit SegmentedControl(gfx::Rect frame = {});

    void insertSegment(std::string title, int index);
    void insertSegment(base::Ref<gfx::Image> image, int index);
    void removeAllSegments();
    int numberOfSegments() const { return int(segments_.size()); }
    std::string titleForSegment(int index) const;
    // A width of 0 shares the space left equally.
    void setWidth(float width, int index);
    int selectedIndex() const { return selected_; }
    void setSelectedIndex(int index);
    bool momentary = false;
    Style style = Style::Plain;
    void setTint(base::Ref<gfx::Color> tint);

    // The segment under a point of the control's space, or NoSegment.
    int segmentAt(gfx::Point point) const;

    bool beginTracking(const Touch &touch, const Event &event) override;
    void endTracking(const Touch *touch, const Event *event) override;
    void cancelTracking(const Event *event) override;
    void drawRect(gfx::Context &context, gfx::Rect dirty) override;

private:
    struct Segment {
        std::string title;
        base::Ref<gfx::Image> image;
        float width = 0;
    };
    void insert(Segment segment, int index);
    std::vector<gfx::Rect> segmentRects() const;

    std::vector<Segment> segments_;
    int selected_ = NoSegment, pressed_ = NoSegment;
    base::Ref<gfx::Color> tint_;
};

} // namespace ui
