#pragma once

#include "ui/Label.h"
#include "ui/View.h"

#include <string>
#include <vector>

// A grid of caption/value fields: two to a row (or one, in one-column mode), each row
// (height − 8) / ⌈count / 2⌉ high, captions centred on the left half of a field and values
// right-aligned in its right two thirds but clear of the caption's text, bold 14 in white (a value
// too long for its room shrinks). The right-hand panels of the detail screen show their figures in
// it; the owner sets the captions once and the values on every quote, and colours values by their
// sign against a reference.
//
// Value label i carries the tag 2050 + i. Values beyond the fields are ignored and fields beyond
// the values keep theirs; a second SetFieldArray replaces the fields. In one-column mode the grid
// keeps the two-column row height, so its lower fields lie below its frame (it does not clip).
class ValuePanelView : public ui::View {
public:
    static constexpr int BeginTag = 2050;
    static constexpr float FontSize = 14, DefaultFieldHeight = 25, BottomSpace = 8;
    // Between a caption's text and its value; a value shrinks down to the smallest size to fit.
    static constexpr float CaptionGap = 4, MinimumValueFontSize = 10;

    explicit ValuePanelView(gfx::Rect frame);

    // 0 two columns, 1 one column; set before SetFieldArray.
    void SetSingleDoubleColumn(int mode);
    void SetFieldArray(const std::vector<std::string> &captions);
    void SetValueArray(const std::vector<std::string> &values);
    // Colours value `index` rise above 0, fall below, plane at 0; other indexes do nothing.
    void SetValueUpdown(int difference, int index);

    size_t fieldCount() const { return m_valueLabels.size(); }
    ui::Label *captionLabel(size_t index) const {
        return index < m_captionLabels.size() ? m_captionLabels[index].get() : nullptr;
    }
    ui::Label *valueLabel(size_t index) const {
        return index < m_valueLabels.size() ? m_valueLabels[index].get() : nullptr;
    }
    const std::vector<std::string> &valueArray() const { return m_valueArray; }
    float fieldWidth() const { return m_fieldWidth; }
    float fieldHeight() const { return m_fieldHeight; }

private:
    void GenerateNameValueField(gfx::Rect field, int tag, float fontSize, const std::string &caption);

    float m_fieldWidth;
    float m_fieldHeight = DefaultFieldHeight;
    int m_isSingleDoubleColumn = 0;
    std::vector<std::string> m_valueArray;
    std::vector<base::Ref<ui::Label>> m_captionLabels, m_valueLabels;
};

// The same text for every field of a panel ("--" before the first quote).
std::vector<std::string> RepeatedValues(size_t count, const std::string &text = "--");
