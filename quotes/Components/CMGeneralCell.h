#pragma once

#include "ui/TableCell.h"

// A plain table row on a background of a settable colour; the stock pool grid stripes its rows
// with it.
class CMGeneralCell : public ui::TableCell {
public:
    static base::Ref<CMGeneralCell> create(Style style, std::string reuseIdentifier);

    void SetCellBgColor(base::Ref<gfx::Color> color);
    // Red, green and blue from 0 to 255, alpha from 0 to 1.
    void SetCellBgColor(float red, float green, float blue, float alpha);

    void layoutSubviews() override;

protected:
    CMGeneralCell(Style style, std::string reuseIdentifier);

private:
    void initUI();
};
