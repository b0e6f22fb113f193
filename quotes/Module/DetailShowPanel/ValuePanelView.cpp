#include "Module/DetailShowPanel/ValuePanelView.h"

#include "Common/StylePool.h"
#include "gfx/Font.h"

#include <algorithm>
#include <cmath>

namespace {

base::Ref<ui::Label> makeFieldLabel(gfx::Rect frame, float fontSize, gfx::Align alignment) {
    auto label = base::make<ui::Label>(frame);
    label->setBackgroundColor(gfx::Color::clear());
    label->setFont(gfx::Font::boldSystem(fontSize));
    label->setTextColor(gfx::Color::white());
    label->setTextAlignment(alignment);
    return label;
}

} // namespace

std::vector<std::string> RepeatedValues(size_t count, const std::string &text) {
    return std::vector<std::string>(count, text);
}

ValuePanelView::ValuePanelView(gfx::Rect frame) : ui::View(frame), m_fieldWidth(frame.width() / 2) {}

void ValuePanelView::SetSingleDoubleColumn(int mode) {
    m_isSingleDoubleColumn = mode;
    m_fieldWidth = mode == 1 ? frame().width() : frame().width() / 2;
}

void ValuePanelView::SetFieldArray(const std::vector<std::string> &captions) {
    for (auto &label : m_captionLabels)
        label->removeFromSuperview();
    for (auto &label : m_valueLabels)
        label->removeFromSuperview();
    m_captionLabels.clear();
    m_valueLabels.clear();
    m_valueArray.clear();
    if (captions.empty())
        return;
    size_t rows = (captions.size() + 1) / 2;
    m_fieldHeight = (frame().height() - BottomSpace) / float(rows);
    bool oneColumn = m_isSingleDoubleColumn == 1;
    for (size_t i = 0; i < captions.size(); ++i) {
        float x = oneColumn ? 0 : m_fieldWidth * float(i % 2);
        float y = m_fieldHeight * float(oneColumn ? i : i / 2);
        GenerateNameValueField({x, y, m_fieldWidth, m_fieldHeight}, BeginTag + int(i), FontSize, captions[i]);
    }
}

void ValuePanelView::GenerateNameValueField(gfx::Rect field, int tag, float fontSize,
                                            const std::string &caption) {
    const float half = field.width() / 2;
    auto name = makeFieldLabel({field.x(), field.y(), half, field.height()}, fontSize, gfx::Align::Center);
    name->setText(caption);
    // The value takes the field's last two thirds, but never the caption's text: a long figure
    // ("41.87万亿") starts past the caption and shrinks to fit rather than run into it.
    const float captionEnd = field.x() + (half + std::min(gfx::measure(caption, *name->font()).w, half)) / 2;
    const float valueX = std::max(field.x() + field.width() / 3, std::ceil(captionEnd) + CaptionGap);
    auto value = makeFieldLabel({valueX, field.y(), field.maxX() - valueX, field.height()}, fontSize,
                                gfx::Align::Right);
    value->setAdjustsFontSizeToFitWidth(true);
    value->setMinimumFontSize(MinimumValueFontSize);
    value->tag = tag;
    addSubview(name);
    addSubview(value);
    m_captionLabels.push_back(name);
    m_valueLabels.push_back(value);
}

void ValuePanelView::SetValueArray(const std::vector<std::string> &values) {
    m_valueArray = values;
    for (size_t i = 0; i < values.size() && i < m_valueLabels.size(); ++i)
        m_valueLabels[i]->setText(values[i]);
}

void ValuePanelView::SetValueUpdown(int difference, int index) {
    if (index >= 0 && size_t(index) < m_valueLabels.size())
        m_valueLabels[size_t(index)]->setTextColor(StylePool::Instance().getPriceColor(difference));
}
