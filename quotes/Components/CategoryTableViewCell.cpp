#include "Components/CategoryTableViewCell.h"

base::Ref<CategoryTableViewCell> CategoryTableViewCell::create(std::string reuseIdentifier, gfx::Rect frame) {
    struct Made : CategoryTableViewCell {
        Made(std::string reuseIdentifier, gfx::Rect frame)
            : CategoryTableViewCell(std::move(reuseIdentifier), frame) {}
    };
    base::Ref<CategoryTableViewCell> cell = base::make<Made>(std::move(reuseIdentifier), frame);
    cell->initUI(frame);
    return cell;
}

CategoryTableViewCell::CategoryTableViewCell(std::string reuseIdentifier, gfx::Rect frame)
    : ui::TableCell(Style::Default, std::move(reuseIdentifier)) {
    setFrame(frame);
    setBackgroundColor(gfx::Color::clear());
}

void CategoryTableViewCell::initUI(gfx::Rect frame) {
    titleLabel_ = base::make<ui::Label>(gfx::Rect{5, 5, frame.width() - 10, frame.height() - 10});
    titleLabel_->setFont(gfx::Font::named("Helvetica-Bold", 17));
    titleLabel_->setTextColor(normalColor_);
    titleLabel_->setBackgroundColor(gfx::Color::clear());
    contentView().addSubview(titleLabel_);
    cellBackgroundView_ = base::make<ui::ImageView>(gfx::Rect{0, 0, frame.width(), frame.height()},
                                                    gfx::Image::named("SelectedBg.png"));
    setSelectedBackgroundView(cellBackgroundView_);
}

void CategoryTableViewCell::setTitleFont(base::Ref<gfx::Font> font, base::Ref<gfx::Color> textColor) {
    if (font)
        titleLabel_->setFont(std::move(font));
    if (!textColor)
        return;
    normalColor_ = std::move(textColor);
    if (!isSelected())
        titleLabel_->setTextColor(normalColor_);
}

void CategoryTableViewCell::setBackgroundImage(base::Ref<gfx::Image> image) {
    if (image)
        cellBackgroundView_->setImage(std::move(image));
}

void CategoryTableViewCell::setSelected(bool selected, bool animated) {
    ui::TableCell::setSelected(selected, animated);
    titleLabel_->setTextColor(selected ? gfx::Color::white() : normalColor_);
}
