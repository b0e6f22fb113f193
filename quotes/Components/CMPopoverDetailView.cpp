#include "Components/CMPopoverDetailView.h"

#include "gfx/Font.h"

namespace {

constexpr float Margin = 10, NameHeight = 30, GridTop = 50, CellWidth = 135, CellHeight = 30,
                ColumnPitch = 145, RowPitch = 40, FontSize = 16;

base::Ref<ui::Label> label(gfx::Rect frame, const char *text, bool bold) {
    auto made = base::make<ui::Label>(frame);
    made->setText(text);
    made->setFont(bold ? gfx::Font::boldSystem(FontSize + 2) : gfx::Font::system(FontSize));
    made->setTextColor(gfx::Color::black());
    made->setBackgroundColor(gfx::Color::clear());
    return made;
}

} // namespace

CMPopoverDetailView::CMPopoverDetailView() : ui::View({{0, 0}, Size}) {
    setBackgroundColor(gfx::Color::white());
    m_name = label({Margin, Margin, Size.w - 2 * Margin, NameHeight}, DefaultName, true);
    addSubview(m_name);
    int i = 0;
    for (const char *caption : Captions) {
        const gfx::Rect cell{Margin + (i % 2) * ColumnPitch, GridTop + (i / 2) * RowPitch, CellWidth,
                             CellHeight};
        m_fields.push_back(label(cell, caption, false));
        addSubview(m_fields.back());
        ++i;
    }
}
