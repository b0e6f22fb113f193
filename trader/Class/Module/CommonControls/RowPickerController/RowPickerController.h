#pragma once

#include "base/Value.h"
#include "ui/PickerView.h"
#include "ui/ViewController.h"

#include <string>

// The pickers the trade screens open in a popover next to a button (the login's account types,
// shareholder accounts, banks, currencies): one wheel in 320 × 220, its column and row sizes given
// by the subclass (320 wide, rows 44 high unless it says otherwise), titled by the subclass. Every row the
// wheel comes to rest on is handed to the subclass at once; there is no confirm button, and the popover stays
// until a tap outside it.
class RowPickerController : public ui::ViewController {
public:
    static constexpr gfx::Size kContentSize{320, 220};

    explicit RowPickerController(float columnWidth = 320, float rowHeight = 44);
    void setUp() override;
    void loadView() override;

    // The rows and the one to show selected (−1: none); a built wheel reloads and selects it.
    void SetDataArray(const base::Array &rows, int index);
    virtual std::string rowTitle(int row) const = 0;
    // A row the wheel came to rest on.
    void didSelect(int row);

    ui::PickerView &pickerView();
    int selectedIndex() const { return m_selectedIndex; }
    const base::Array &dataArray() const { return m_dataArray; }

protected:
    virtual void picked(const base::Dict &row, int index) = 0;
    // The row's dictionary; nullptr outside the rows or for a row that is none.
    const base::Dict *rowAt(int row) const;

private:
    struct Wheel;
    base::Ref<ui::PickerView> m_pickerView;
    base::Ref<Wheel> m_wheel;
    base::Array m_dataArray;
    int m_selectedIndex = -1;
    float m_columnWidth, m_rowHeight;
};
