#include "Module/DetailShowPanel/StockPriceShowView.h"

#include "gfx/Font.h"

namespace {

const char *const kInitialNames[StockPriceShowView::FieldCount] = {"换手", "量比", "总额",
                                                                   "总手", "内盘", "外盘"};

void fillLabels(std::array<base::Ref<ui::Label>, StockPriceShowView::FieldCount> &labels,
                const std::vector<std::string> &texts) {
    for (size_t k = 0; k < texts.size() && k < labels.size(); ++k)
        labels[k]->setText(texts[k]);
}

} // namespace

StockPriceShowView::StockPriceShowView(gfx::Rect frame) : ui::View(frame) {
    setBackgroundColor(gfx::Color::clear());
    float w = frame.width() / 4, h = frame.height() / 4;
    for (size_t k = 0; k < FieldCount; ++k) {
        float y = 5 + float(k / 2) * (h + 5);
        float x = float(k % 2) * 2 * w;
        for (auto *labels : {&m_names, &m_values}) {
            auto label = base::make<ui::Label>(gfx::Rect{labels == &m_names ? x : x + w, y, w, h});
            label->setFont(gfx::Font::boldSystem(FontSize));
            label->setTextColor(gfx::Color::white());
            label->setBackgroundColor(gfx::Color::clear());
            addSubview(label);
            (*labels)[k] = label;
        }
        m_names[k]->setText(kInitialNames[k]);
    }
}

void StockPriceShowView::SetFieldNameArray(const std::vector<std::string> &names) {
    fillLabels(m_names, names);
}

void StockPriceShowView::SetFieldValueArray(const std::vector<std::string> &values) {
    fillLabels(m_values, values);
}

void StockPriceShowView::clearView() {
    for (auto &label : m_values)
        label->setText("");
}
