#include "Components/PopMenuController.h"

#include "ui/Label.h"
#include "ui/TableCell.h"

#include <cmath>

struct PopMenuController::Rows : ui::TableDataSource {
    base::Weak<PopMenuController> menu;

    int numberOfRows(ui::TableView &, int) override {
        auto owner = menu.lock();
        return owner ? int(owner->m_items.size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto owner = menu.lock();
        return owner ? owner->cellForRow(table, path.row) : base::make<ui::TableCell>();
    }
};

struct PopMenuController::Choices : ui::TableDelegate {
    base::Weak<PopMenuController> menu;

    base::Opt<void> didSelectRow(ui::TableView &, ui::IndexPath path) override {
        if (auto owner = menu.lock())
            owner->didSelectRow(path.row);
        return {};
    }
};

PopMenuController::PopMenuController(gfx::Rect frame) : m_frame(frame) {}

PopMenuController::~PopMenuController() {
    if (tv) {
        tv->dataSource.reset();
        tv->delegate.reset();
    }
}

void PopMenuController::viewDidLoad() {
    initUI(m_frame);
}

void PopMenuController::initUI(gfx::Rect rect) {
    setContentSizeInPopover(rect.s);
    tv = base::make<ui::TableView>(gfx::Rect{{0, 0}, rect.s});
    rows_ = base::make<Rows>();
    rows_->menu = self<PopMenuController>();
    choices_ = base::make<Choices>();
    choices_->menu = self<PopMenuController>();
    tv->dataSource = rows_;
    tv->delegate = choices_;
    tv->rowHeight = rowHeight();
    tv->setBackgroundColor(gfx::Color::clear());
    tv->opaque = false;
    tv->separatorColor = gfx::Color::clear();
    view().addSubview(tv);
}

float PopMenuController::rowHeight() const {
    return std::ceil(fontSize * 23 / 14);
}

void PopMenuController::addMenuItem(const std::string &name, int32_t itemID) {
    m_items.push_back({.itemID = itemID, .itemName = name});
}

void PopMenuController::addMenuItem(const std::string &name, const std::string &itemKey) {
    m_items.push_back({.itemName = name, .itemKey = itemKey});
}

void PopMenuController::removeAllMenuItems() {
    m_items.clear();
}

std::string PopMenuController::getMenuItemName(int32_t itemID) const {
    for (const PopMenuItem &item : m_items)
        if (item.itemID == itemID)
            return item.itemName;
    return "";
}

base::Ref<ui::TableCell> PopMenuController::cellForRow(ui::TableView &table, int row) {
    base::Ref<ui::TableCell> cell = table.dequeueReusableCell(CellIdentifier);
    if (!cell) {
        cell = base::make<ui::TableCell>(ui::TableCell::Style::Default, CellIdentifier);
        cell->textLabel()->setTextColor(gfx::Color::white());
        cell->textLabel()->setFont(gfx::Font::system(fontSize));
    }
    if (row >= 0 && size_t(row) < m_items.size())
        cell->textLabel()->setText(m_items[size_t(row)].itemName);
    return cell;
}

void PopMenuController::didSelectRow(int row) {
    if (row < 0 || size_t(row) >= m_items.size())
        return;
    const PopMenuItem item = m_items[size_t(row)];
    auto listener = delegate.lock();
    if (!listener)
        return;
    listener->ReturnSelectedPopMenuItem(popMenuID, item.itemID, item.itemName);
    listener->ReturnSelectedPopMenuItem(popMenuID, item.itemKey, item.itemName);
}
