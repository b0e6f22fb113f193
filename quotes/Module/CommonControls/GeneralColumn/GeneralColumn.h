#pragma once

#include "Module/CommonControls/GeneralColumn/GeneralHeaderView.h"

#include "base/Value.h"
#include "gfx/Font.h"

#include <vector>

class GeneralColumn;

// Hears a tap on a column caption: the cell, its column index and the direction it asks for.
class GeneralColumnDelegate {
public:
    virtual ~GeneralColumnDelegate() = default;
    virtual base::Opt<void> ClickHeaderAction(GeneralHeaderView &header, int column, int status) {
        (void)header, (void)column, (void)status;
        return base::notImplemented;
    }
};

// The sortable header row of a quote or trade table, built from the same column list as the
// table's `GeneralCell` rows so that captions and values line up. A column list is an array of
// dictionaries: "ColName" the caption, "ColWidth" the width in points (missing: 0), "Enabled"
// whether the caption reacts to taps (missing: no), "SpecialName" "INDEX" for the row-number
// column or "NAME" for the name column, and "ColID" the field the owner shows and sorts by.
// Columns lie side by side from x 0; caption i carries the tag 2500 + i.
class GeneralColumn : public ui::View, public GeneralHeaderViewDelegate {
public:
    static constexpr int BeginTag = 2500;

    GeneralColumn(gfx::Rect frame, base::Array columns, base::Ref<gfx::Font> textFont = nullptr);
    void setUp() override;

    // Shows the arrow (in that direction) on that column only; an index outside the list marks none.
    void SetSelectedHeader(int index, int upDown = 0);
    base::Opt<void> ClickHeaderAction(GeneralHeaderView &header, int status) override;
    void drawRect(gfx::Context &context, gfx::Rect dirty) override;

    GeneralHeaderView *headerAt(int index);
    int columnNum() const { return int(m_widthArray.size()); }
    const base::Array &colArray() const { return m_colArray; }

    base::Weak<GeneralColumnDelegate> delegate;
    // An owner-defined id of the column list; -1 until the owner sets one.
    int32_t titleClass = -1;
    bool isShowColumnLine = true;
    const base::Ref<gfx::Font> &textFont() const { return m_textFont; }

private:
    base::Array m_colArray;
    std::vector<float> m_widthArray;
    base::Ref<gfx::Font> m_textFont;
};
