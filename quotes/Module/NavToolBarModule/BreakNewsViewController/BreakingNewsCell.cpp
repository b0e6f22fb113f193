#include "Module/NavToolBarModule/BreakNewsViewController/BreakingNewsCell.h"

#include "gfx/Font.h"

BreakingNewsCell::BreakingNewsCell(gfx::Rect frame) : ui::TableCell(Style::Default, kIdentifier) {
    setFrame(frame);
    selectionStyle = Selection::None;
    m_background = base::make<ui::View>(frame);
    setBackgroundView(m_background);

    m_SNLabel = base::make<ui::Label>();
    m_SNLabel->setBackgroundColor(gfx::Color::rgba(24 / 255.f, 92 / 255.f, 181 / 255.f));
    m_SNLabel->setTextColor(gfx::Color::white());
    m_SNLabel->setFont(gfx::Font::system(10));
    m_SNLabel->setTextAlignment(gfx::Align::Center);
    m_SNLabel->setNumberOfLines(0);

    m_newsLabel = base::make<ui::Label>();
    m_newsLabel->setBackgroundColor(gfx::Color::clear());
    m_newsLabel->setTextColor(gfx::Color::rgba(15 / 255.f, 55 / 255.f, 90 / 255.f));
    m_newsLabel->setFont(gfx::Font::system(14));
    m_newsLabel->setNumberOfLines(0);

    contentView().addSubview(m_SNLabel);
    contentView().addSubview(m_newsLabel);
}

void BreakingNewsCell::SetCellBgColor(base::Ref<gfx::Color> color) {
    m_background->setBackgroundColor(std::move(color));
}

void BreakingNewsCell::layoutSubviews() {
    ui::TableCell::layoutSubviews();
    const gfx::Rect r = contentView().bounds();
    m_SNLabel->setFrame({0, 0, kSerialWidth, r.height()});
    m_newsLabel->setFrame({kTextLeft, 0, r.width() - kTextInset, r.height()});
}
