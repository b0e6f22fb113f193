#pragma once

#include "gfx/Font.h"
#include "gfx/Text.h"
#include "ui/View.h"

namespace ui {

// Text in a frame, centred vertically. One line by default (truncated at the tail); with
// numberOfLines 0 as many lines as the text needs. With adjustsFontSizeToFitWidth a single line
// shrinks its font down to minimumFontSize to fit the width. Clear background by default.
class Label : public View {
public:
    explicit Label(gfx::Rect frame = {});

    const std::string &text() const { return text_; }
    void setText(std::string text);
    const base::Ref<gfx::Font> &font() const { return font_; }
    void setFont(base::Ref<gfx::Font> font);
    const base::Ref<gfx::Color> &textColor() const { return textColor_; }
    void setTextColor(base::Ref<gfx::Color> color);
    void setHighlightedTextColor(base::Ref<gfx::Color> color);
    gfx::Align textAlignment() const { return alignment_; }
    void setTextAlignment(gfx::Align alignment);
    int numberOfLines() const { return lines_; }
    void setNumberOfLines(int lines);
    void setLineBreakMode(gfx::LineBreak mode);
    void setAdjustsFontSizeToFitWidth(bool adjusts);
    void setMinimumFontSize(float size);
    void setShadowColor(base::Ref<gfx::Color> color);
    void setShadowOffset(gfx::Size offset);
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);
    void setEnabled(bool enabled);

    // The font the text is drawn with: smaller than font() when shrunk to fit.
    base::Ref<gfx::Font> fittedFont() const;
    gfx::Size sizeThatFits(gfx::Size size) const override;
    void drawRect(gfx::Context &context, gfx::Rect dirty) override;

protected:
    // The text is drawn again only when something it is drawn from changed.
    bool contentStale() const override;

private:
    // Everything the drawn text depends on.
    struct Drawn {
        std::string text;
        const void *font = nullptr, *color = nullptr, *highlightedColor = nullptr, *shadowColor = nullptr;
        gfx::Align alignment = gfx::Align::Left;
        gfx::LineBreak lineBreak = gfx::LineBreak::TruncateTail;
        int lines = 1;
        bool adjusts = false, highlighted = false, enabled = true;
        float minimumFontSize = 0;
        gfx::Size shadowOffset;
        gfx::Rect bounds;
        bool operator==(const Drawn &) const = default;
    };
    Drawn drawnFrom() const;
    gfx::LineBreak wrapping() const;

    Drawn drawn_;
    std::string text_;
    base::Ref<gfx::Font> font_;
    base::Ref<gfx::Color> textColor_, highlightedColor_, shadowColor_;
    gfx::Align alignment_ = gfx::Align::Left;
    gfx::LineBreak lineBreak_ = gfx::LineBreak::TruncateTail;
    int lines_ = 1;
    bool adjusts_ = false;
    float minimumFontSize_ = 0;
    gfx::Size shadowOffset_{0, -1};
    bool highlighted_ = false;
    bool enabled_ = true;
};

} // namespace ui
