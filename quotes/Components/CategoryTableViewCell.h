#pragma once

#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/TableCell.h"

#include <string>

// A row of the one-column menu: a bold title that turns white on the selected-row picture
// ("SelectedBg.png" unless the menu gives another) and back to its own colour (black unless the
// menu gives another) when deselected.
class CategoryTableViewCell : public ui::TableCell {
public:
    static base::Ref<CategoryTableViewCell> create(std::string reuseIdentifier, gfx::Rect frame);

    void setCategory(const std::string &title) { titleLabel_->setText(title); }
    // Keeps each one that is given.
    void setTitleFont(base::Ref<gfx::Font> font, base::Ref<gfx::Color> textColor);
    // Replaces the selected-row picture; none keeps the current one.
    void setBackgroundImage(base::Ref<gfx::Image> image);
    void setSelected(bool selected, bool animated) override;

    ui::Label &titleLabel() { return *titleLabel_; }
    ui::ImageView &cellBackgroundView() { return *cellBackgroundView_; }

protected:
    CategoryTableViewCell(std::string reuseIdentifier, gfx::Rect frame);

private:
    void initUI(gfx::Rect frame);

    base::Ref<ui::Label> titleLabel_;
    base::Ref<ui::ImageView> cellBackgroundView_;
    base::Ref<gfx::Color> normalColor_ = gfx::Color::black();
};
