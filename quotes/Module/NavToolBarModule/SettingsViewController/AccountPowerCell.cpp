#include "Module/NavToolBarModule/SettingsViewController/AccountPowerCell.h"

#include "gfx/Font.h"

#include <algorithm>

AccountPowerCell::AccountPowerCell(Style style, std::string reuseIdentifier)
    : ui::TableCell(style, std::move(reuseIdentifier)) {
    selectionStyle = Selection::None;
    m_nameLabel = base::make<ui::Label>(gfx::Rect{16, 0, 150, kHeight});
    m_dateLabel = base::make<ui::Label>(gfx::Rect{166, 0, 100, kHeight});
    m_validLabel = base::make<ui::Label>(gfx::Rect{266, 0, 50, kHeight});
    for (const auto &label : {m_nameLabel, m_dateLabel, m_validLabel}) {
        label->setBackgroundColor(gfx::Color::clear());
        label->setFont(gfx::Font::system(kFontSize));
        contentView().addSubview(label);
    }
}

// The rows of a grouped table are narrower than the popover: the validity column ends where the
// row does, so its text is never cut by the row's edge.
void AccountPowerCell::layoutSubviews() {
    ui::TableCell::layoutSubviews();
    gfx::Rect valid = m_validLabel->frame();
    float right = contentView().bounds().width();
    m_validLabel->setFrame(
        {valid.x(), valid.y(), std::min(50.f, std::max(0.f, right - valid.x())), valid.height()});
}

void AccountPowerCell::show(const base::Value &record) {
    bool valid = record["IsValid"].boolValue();
    m_nameLabel->setText(record["PowerName"].stringValue());
    m_dateLabel->setText(record["ValidDate"].stringValue());
    m_validLabel->setText(valid ? "有效" : "无效");
    base::Ref<gfx::Color> colour = valid ? gfx::Color::black() : gfx::Color::gray();
    m_dateLabel->setTextColor(colour);
    m_validLabel->setTextColor(colour);
}
