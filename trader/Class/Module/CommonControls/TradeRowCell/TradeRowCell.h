#pragma once

#include "ui/Button.h"
#include "ui/IndexPath.h"
#include "ui/Label.h"
#include "ui/TableCell.h"

#include <string>

// The base of the rows of the trade query panels (orders, deals, holdings): a narrow serial label
// at the left edge whose digits stand one above the other, labels made in one call, and a rule
// along the top edge in the panels' blue with a soft grey shadow under it. Subclasses place their
// labels in layoutSubviews for the row's size.
class TradeRowCell : public ui::TableCell {
public:
    explicit TradeRowCell(std::string reuseIdentifier, Selection selection = Selection::None)
        : ui::TableCell(Style::Default, std::move(reuseIdentifier)), m_selection(selection) {}
    // Sets the selection style and builds the row's controls (initUI).
    void setUp() override;

    // A label with its text, frame, font, text colour, alignment and background, added to the
    // content view.
    base::Ref<ui::Label> GenLabelWithText(const std::string &text, gfx::Rect frame, base::Ref<gfx::Font> font,
                                          base::Ref<gfx::Color> textColor, gfx::Align align,
                                          base::Ref<gfx::Color> bgColor);
    // The serial label: white bold digits on grey-green, as many lines as digits.
    base::Ref<ui::Label> GenSerialLabel(float fontSize);
    // A caption and a value sharing one frame: the caption at the left, the value at the right.
    void placePair(ui::Label &caption, ui::Label &value, gfx::Rect frame);

    void drawRect(gfx::Context &context, gfx::Rect dirty) override;

    // The row this cell shows.
    ui::IndexPath indexPath;

    static base::Ref<gfx::Color> rgb(int red, int green, int blue, float alpha = 1);
    // The rows lie on the panels' dark pattern: light text, and dates and times in a light blue.
    static base::Ref<gfx::Color> textColor() { return rgb(232, 232, 232); }
    static base::Ref<gfx::Color> dateColor() { return rgb(120, 180, 255); }

protected:
    virtual void initUI() = 0;

private:
    Selection m_selection;
};
