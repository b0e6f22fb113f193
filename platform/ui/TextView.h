#pragma once

#include "ui/Label.h"
#include "ui/ScrollView.h"
#include "ui/TextField.h"

namespace ui {

// Read-only text of many lines in the 16-point system font, wrapped to the view's width; text
// longer than the view scrolls unless scrolling is turned off. Editing is not offered: `editable`
// is kept for the owners that set it. A selection (empty: the caret, in characters) is kept for
// on-screen keypads that edit the text; setting the text puts the caret at its end.
class TextView : public ScrollView {
public:
    static constexpr float Inset = 8;

    explicit TextView(gfx::Rect frame = {});

    const std::string &text() const { return label_->text(); }
    void setText(std::string text);
    Range selectedRange() const { return selection_; }
    // Clamped to the text.
    void setSelectedRange(Range range);
    void setFont(base::Ref<gfx::Font> font);
    void setTextColor(base::Ref<gfx::Color> color);
    void setTextAlignment(gfx::Align alignment);
    bool editable = true;

    void layoutSubviews() override;

private:
    void fit();
    base::Ref<Label> label_;
    Range selection_;
};

} // namespace ui
