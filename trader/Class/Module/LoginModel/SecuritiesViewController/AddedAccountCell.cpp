#include "Class/Module/LoginModel/SecuritiesViewController/AddedAccountCell.h"

#include "Common/UtilUI.h"

#include "gfx/Font.h"

namespace {

base::Ref<gfx::Color> rgb(int r, int g, int b) {
    return gfx::Color::rgba(float(r) / 255, float(g) / 255, float(b) / 255);
}

// Characters, not bytes: accounts are digits, but a name may not be.
size_t characters(const std::string &text) {
    size_t count = 0;
    for (unsigned char c : text)
        count += (c & 0xC0) != 0x80;
    return count;
}

} // namespace

std::string AddedAccountCell::nameFor(const std::string &securitiesName, const std::string &account) {
    size_t count = characters(account);
    if (count == 0)
        return securitiesName;
    if (count < 5)
        return securitiesName + "-" + account;
    size_t start = account.size();
    for (size_t kept = 0; kept < 4 && start > 0;)
        kept += (static_cast<unsigned char>(account[--start]) & 0xC0) != 0x80;
    return securitiesName + "-尾号" + account.substr(start);
}

AddedAccountCell::AddedAccountCell() : ui::TableCell(Style::Default, kReuseIdentifier) {}

void AddedAccountCell::setUp() {
    ui::TableCell::setUp();
    m_background = base::make<ui::View>();
    // The platform's textured scroll-view grey.
    m_background->setBackgroundColor(rgb(111, 113, 121));
    setBackgroundView(m_background);
    m_nameLabel = base::make<ui::Label>();
    m_nameLabel->setBackgroundColor(gfx::Color::clear());
    m_nameLabel->setFont(gfx::Font::boldSystem(18));
    m_nameLabel->setTextColor(rgb(249, 205, 4));
    contentView().addSubview(m_nameLabel);
    m_delBtn = ui::Button::custom({0, 0, 20, 20});
    m_delBtn->setImage(UtilUI::imageNamed("delete_item.png"));
    base::Weak<AddedAccountCell> weak = weakSelf<AddedAccountCell>();
    m_delBtn->addTarget(base::Action("DeleteCell",
                                     [weak](base::Object *) {
                                         auto cell = weak.lock();
                                         if (!cell)
                                             return;
                                         if (auto listener = cell->delegate.lock())
                                             listener->DeleteCell(*cell->m_delBtn, cell->indexPath);
                                     }),
                        ui::TouchUpInside);
    contentView().addSubview(m_delBtn);
    m_line = base::make<ui::View>();
    m_line->setBackgroundColor(rgb(101, 106, 111));
    m_line->layer().shadowColor = rgb(191, 191, 191);
    m_line->layer().shadowOffset = {0, 1};
    m_line->layer().shadowRadius = 1;
    m_line->layer().shadowOpacity = 1;
    contentView().addSubview(m_line);
}

void AddedAccountCell::layoutSubviews() {
    ui::TableCell::layoutSubviews();
    gfx::Rect bounds = this->bounds();
    m_background->setFrame({0, 0, bounds.width(), bounds.height() - 1});
    m_nameLabel->setFrame({5, 0, bounds.width() - 30, bounds.height()});
    m_delBtn->setFrame({bounds.width() - 85, (bounds.height() - 20) / 2, 20, 20});
    m_line->setFrame({0, bounds.height() - 1, bounds.width(), 1});
}
