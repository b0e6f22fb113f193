#include "Module/Market/IndexReportHeader.h"

#include "gfx/Font.h"

IndexReportHeader::IndexReportHeader(gfx::Rect frame) : ui::View(frame) {
    gfx::Rect inside{0, 0, frame.width(), frame.height()};
    m_backgroundImageView = base::make<ui::ImageView>(inside, gfx::Image::named("header_bg.png"));
    addSubview(m_backgroundImageView);
    // The title keeps clear of the left edge.
    m_titleLabel =
        base::make<ui::Label>(gfx::Rect{TitleInset, 0, frame.width() - TitleInset, frame.height()});
    m_titleLabel->setBackgroundColor(gfx::Color::clear());
    m_titleLabel->setTextColor(gfx::Color::white());
    m_titleLabel->setFont(gfx::Font::boldSystem(18));
    addSubview(m_titleLabel);
}
