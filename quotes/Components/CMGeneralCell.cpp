#include "Components/CMGeneralCell.h"

base::Ref<CMGeneralCell> CMGeneralCell::create(Style style, std::string reuseIdentifier) {
    struct Made : CMGeneralCell {
        Made(Style style, std::string reuseIdentifier) : CMGeneralCell(style, std::move(reuseIdentifier)) {}
    };
    base::Ref<CMGeneralCell> cell = base::make<Made>(style, std::move(reuseIdentifier));
    cell->initUI();
    return cell;
}

CMGeneralCell::CMGeneralCell(Style style, std::string reuseIdentifier)
    : ui::TableCell(style, std::move(reuseIdentifier)) {}

void CMGeneralCell::initUI() {
    setBackgroundView(base::make<ui::View>());
    if (ui::Label *text = textLabel())
        text->setBackgroundColor(gfx::Color::clear());
}

void CMGeneralCell::layoutSubviews() {
    ui::TableCell::layoutSubviews();
    backgroundView()->setFrame({0, 0, bounds().width(), bounds().height()});
}

void CMGeneralCell::SetCellBgColor(base::Ref<gfx::Color> color) {
    backgroundView()->setBackgroundColor(std::move(color));
}

void CMGeneralCell::SetCellBgColor(float red, float green, float blue, float alpha) {
    SetCellBgColor(gfx::Color::rgba(red / 255, green / 255, blue / 255, alpha));
}
