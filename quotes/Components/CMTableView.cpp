#include "Components/CMTableView.h"

#include "Components/CategoryTableViewCell.h"

struct CMTableView::Rows : ui::TableDataSource {
    base::Weak<CMTableView> menu;

    int numberOfRows(ui::TableView &, int) override {
        auto owner = menu.lock();
        const base::Array *rows = owner ? owner->tableDataArray_.array() : nullptr;
        return rows ? int(rows->size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto owner = menu.lock();
        return owner ? owner->cellForRow(table, path.row) : base::make<ui::TableCell>();
    }
};

struct CMTableView::Choices : ui::TableDelegate {
    base::Weak<CMTableView> menu;

    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override {
        auto owner = menu.lock();
        return owner ? owner->tableRowHeight_ : DefaultRowHeight;
    }
    base::Opt<void> didSelectRow(ui::TableView &, ui::IndexPath path) override {
        if (auto owner = menu.lock())
            owner->didSelectRow(path.row);
        return {};
    }
};

base::Ref<CMTableView> CMTableView::create(gfx::Rect frame) {
    struct Made : CMTableView {
        explicit Made(gfx::Rect frame) : CMTableView(frame) {}
    };
    base::Ref<CMTableView> menu = base::make<Made>(frame);
    menu->initUI();
    return menu;
}

CMTableView::CMTableView(gfx::Rect frame) : ui::View(frame) {}

void CMTableView::initUI() {
    const gfx::Rect b = bounds();
    categoryTableView_ = base::make<ui::TableView>(gfx::Rect{0, 0, b.width() - 1, b.height()});
    categoryTableView_->setBackgroundColor(gfx::Color::clear());
    categoryTableView_->opaque = false;
    categoryTableView_->separatorStyle = ui::TableView::Separator::SingleLine;
    categoryTableView_->separatorColor = gfx::Color::white();
    categoryTableView_->indicatorStyle = ui::ScrollView::Indicators::White;
    categoryTableView_->rowHeight = tableRowHeight_;
    rows_ = base::make<Rows>();
    rows_->menu = self<CMTableView>();
    choices_ = base::make<Choices>();
    choices_->menu = self<CMTableView>();
    categoryTableView_->dataSource = rows_;
    categoryTableView_->delegate = choices_;
    addSubview(categoryTableView_);
}

void CMTableView::setTableDataArray(base::Value rows) {
    tableDataArray_ = std::move(rows);
    categoryTableView_->reloadData();
}

void CMTableView::setTableRowWithHeight(float height) {
    tableRowHeight_ = height;
    categoryTableView_->rowHeight = height;
}

void CMTableView::setTitleFont(base::Ref<gfx::Font> font, base::Ref<gfx::Color> textColor) {
    if (font)
        categoryTitleFont_ = std::move(font);
    if (textColor)
        categoryTitleColor_ = std::move(textColor);
}

void CMTableView::setBackgroundImage(base::Ref<gfx::Image> image) {
    if (!backgroundImage_) {
        backgroundImage_ = base::make<ui::ImageView>(bounds());
        insertSubview(backgroundImage_, 0);
    }
    backgroundImage_->setImage(std::move(image));
}

void CMTableView::setRetDataActionTarget(base::Weak<base::Object> target, Action action) {
    target_ = std::move(target);
    action_ = std::move(action);
}

base::Ref<ui::TableCell> CMTableView::cellForRow(ui::TableView &table, int row) {
    base::Ref<CategoryTableViewCell> cell =
        std::dynamic_pointer_cast<CategoryTableViewCell>(table.dequeueReusableCell(CellIdentifier));
    if (!cell)
        cell = CategoryTableViewCell::create(CellIdentifier, {0, 0, bounds().width(), tableRowHeight_});
    const base::Value entry = tableDataArray_[row];
    // An entry without a name shows none rather than the title of the cell's previous row.
    cell->setCategory(entry["MENU_NAME"].stringValue());
    cell->setBackgroundImage(cellSelectedImage_);
    cell->setTitleFont(categoryTitleFont_, categoryTitleColor_);
    // A reused cell may come from a row with a sub-menu: the arrow is set either way.
    cell->setAccessoryType(entry["HasSubMenu"].boolValue() ? ui::TableCell::Accessory::DisclosureIndicator
                                                           : ui::TableCell::Accessory::None);
    return cell;
}

void CMTableView::didSelectRow(int row) {
    if (target_.lock() && action_)
        action_(tableDataArray_[row]);
}
