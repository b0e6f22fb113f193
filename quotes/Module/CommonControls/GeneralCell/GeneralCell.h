#pragma once

#include "Module/CommonControls/GeneralCell/NameFieldView.h"

#include "base/Value.h"
#include "ui/Button.h"
#include "ui/IndexPath.h"
#include "ui/TableCell.h"

#include <cstdint>
#include <string>
#include <vector>

// Hears a tap on a row's right-edge button, with the row's position.
class GeneralCellDelegate {
public:
    virtual ~GeneralCellDelegate() = default;
    virtual base::Opt<void> ReturnSelectedCell(ui::Button *button, ui::IndexPath indexPath) {
        (void)button, (void)indexPath;
        return base::notImplemented;
    }
};

// A plain quote or trade table row built from a column list (see `GeneralColumn`), so that it lines
// up with its header: a serial number column ("INDEX"), a name-and-code column ("NAME", a
// `NameFieldView`) and right-aligned value columns, side by side from x 0. Column view i carries
// the tag 1500 + i. Owners build the columns once per reuse slot and write the values on every
// display; the text colours must be set before the columns are built.
class GeneralCell : public ui::TableCell {
public:
    static constexpr int BeginTag = 1500;
    static constexpr float ButtonSize = 30;

    GeneralCell(Style style, std::string reuseIdentifier, gfx::Rect frame);

    // Adds the columns of the list at the row's current height; earlier columns stay.
    void SetFormatArray(const base::Array &columns);
    void ClearColumns();
    // Rebuilds the columns only for a non-zero list id other than the one applied.
    void ResetFormatArray(const base::Array &columns, int32_t titleClass);
    // One entry per column: {"StockName", "StockCode"} for the name column, display texts for the
    // others. Columns the array does not reach show empty texts.
    void SetValueArray(const base::Array &values);
    // Red above 0, green below, white at 0.
    void SetTextColorAtIndex(int index, int32_t value);
    void SetCellBgColor(base::Ref<gfx::Color> color);
    // Red, green and blue from 0 to 255, alpha from 0 to 1.
    void SetCellBgColor(float red, float green, float blue, float alpha);
    // 1 shows the right-edge button (made on first use with the image), 0 hides it.
    void ShowAccelerateButton(int show, const std::string &imageName);
    void accelerateButtonAction(ui::Button *button);

    void layoutSubviews() override;
    void drawRect(gfx::Context &context, gfx::Rect dirty) override;

    int columnNum() const { return int(m_widthArray.size()); }
    int nameIndex() const { return m_nameIndex; }
    ui::View *columnAt(int index);
    ui::Button *accButton() const { return m_accButton.get(); }

    base::Weak<GeneralCellDelegate> delegate;
    ui::IndexPath indexPath;
    // An owner-defined id of the column list last applied; 0 for none.
    int32_t titleClass = 0;
    base::Ref<gfx::Color> cellTextColor = gfx::Color::white();
    base::Ref<gfx::Color> cellCodeColor = gfx::Color::rgba(1, 1, 0);

private:
    base::Ref<ui::View> m_background;
    base::Ref<ui::Button> m_accButton;
    std::vector<float> m_widthArray;
    int m_nameIndex = -1;
};
