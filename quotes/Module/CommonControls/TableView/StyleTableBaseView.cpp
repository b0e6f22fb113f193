#include "Module/CommonControls/TableView/StyleTableBaseView.h"

#include "Common/StylePool.h"
#include "gfx/Font.h"

StyleTableBaseView::StyleTableBaseView(gfx::Rect frame, base::Weak<base::Object> controller)
    : TableBaseView(frame, std::move(controller)) {
    setBackgroundColor(gfx::Color::clear());
    tv().rowHeight = RowHeight;
    tv().setBackgroundColor(gfx::Color::clear());
}

void StyleTableBaseView::layoutSubviews() {
    float w = bounds().width(), h = bounds().height();
    tv().setFrame(m_bShowTitleBar ? gfx::Rect{2, TitleBarHeight, w - 4, h - 36}
                                  : gfx::Rect{2, 6, w - 4, h - 12});
    tv().setHidden(false);
    noDataLabel().setCenter(tv().center());
    calcColsSize();
    tv().reloadData();
    if (m_bShowTitleBar)
        createOrResetTitleBar(TitleBarHeight, StylePool::Instance().clTextName);
    setNeedsDisplay();
}

void StyleTableBaseView::setLabelFont(ui::Label &label) {
    label.setFont(gfx::Font::boldSystem(FontSize));
}
