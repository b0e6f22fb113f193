#pragma once

#include "base/Object.h"
#include "gfx/Color.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/TableView.h"
#include "ui/View.h"

#include <string>
#include <vector>

class TableBaseView;

// One column of a detail table. `owidth` is the width asked for (0 or less: the column shares the
// free width); `x` and `width` are computed by the column layout. Alignment 0 left, 1 centre,
// 2 right.
struct TableViewCol {
    std::string name;
    float x = 0;
    float width = 0;
    float owidth = 0;
    int alignment = 0;
    base::Ref<gfx::Color> textColor;
};

// Hears a double tap on a table (the stock and futures panels open the tick pager from it).
class TableViewBaseViewDelegate {
public:
    virtual ~TableViewBaseViewDelegate() = default;
    virtual base::Opt<void> ZoomInAction(TableBaseView &table) {
        (void)table;
        return base::notImplemented;
    }
};

// The base of the small read-only tables of the detail screen's right-hand panels: a plain table,
// the column list, the rows shown, an optional title bar with the column captions and a "没有数据"
// placeholder. A concrete table adds its columns when it is made, fills the labels of the cells
// that createOrResetCell hands it (label tag i + 1 shows column i) and passes its rows to
// updateList.
//
// Rows are kept as the data centre delivers them; the base never looks inside them. A cell or tap
// for a row outside the rows held gives an empty cell or nothing, so a late table callback never
// reaches a row of an older list. Updates keep the table scrolled to the position the caller asks
// for only while the user has not scrolled away from its end. Cells are reused by identifier and
// their labels re-framed only when the table's width has changed since they were laid out.
class TableBaseView : public ui::View {
public:
    using Rows = std::vector<base::Ref<base::Object>>;

    static constexpr const char *NoDataText = "没有数据";
    static constexpr float TitleBarImageHeight = 32;

    // `controller` is the owning panel, kept without owning it.
    TableBaseView(gfx::Rect frame, base::Weak<base::Object> controller);
    ~TableBaseView() override;
    void setUp() override;

    void addCol(const std::string &name, float width, int alignment, base::Ref<gfx::Color> textColor);
    // Places every column inside the table's frame (inset by 1 point): fixed columns keep their
    // width, flexible ones share what is left, 1 point apart, the last one 3 points narrower.
    void calcColsSize();
    // Replaces the rows and reloads. Position 2 scrolls the first row, 1 the last row into view
    // (at the bottom, animated) while the table is at its end; 0 leaves the scroll alone. Without
    // rows the placeholder keeps its state; with them it shows exactly when there are none.
    void updateList(const Rows *rows, int scrollToPos);
    void clearView() { updateList(nullptr, 0); }

    // A cell of the identifier whose labels 1..n exist and fit the current columns.
    base::Ref<ui::TableCell> createOrResetCell(ui::TableView &table, const std::string &identifier);
    // The title labels over the columns, `barHeight` high; made the first time, re-framed after.
    void createOrResetTitleBar(float barHeight, base::Ref<gfx::Color> textColor);
    void setLabelProp(ui::Label &label, int tag, int alignment, base::Ref<gfx::Color> textColor);
    virtual void setLabelFont(ui::Label &label) { (void)label; }

    ui::TableView &tv() { return *m_tv; }
    ui::Label &noDataLabel() { return *m_noDataLabel; }
    ui::ImageView *titleBarImage() const { return m_titleBarImage.get(); }
    // The title label of column `col`, or nullptr.
    ui::Label *titleLabel(size_t col) const {
        return col < m_titleLabels.size() ? m_titleLabels[col].get() : nullptr;
    }
    const std::vector<TableViewCol> &cols() const { return m_cols; }
    const Rows &list() const { return m_list; }
    bool isTableViewEnd() const { return m_isTableViewEnd; }
    base::Ref<TableViewBaseViewDelegate> tableViewBaseViewDelegate() const {
        return m_tableViewBaseViewDelegate.lock();
    }
    void setTableViewBaseViewDelegate(base::Weak<TableViewBaseViewDelegate> delegate) {
        m_tableViewBaseViewDelegate = std::move(delegate);
    }
    base::Ref<base::Object> controller() const { return m_controller.lock(); }

    // The label of column `col` (tag col + 1) in a cell, or nullptr.
    static ui::Label *cellLabel(ui::TableCell &cell, size_t col);
    // Sets the text, and the colour when one is given, of a cell's column label that exists.
    static void setCellText(ui::TableCell &cell, size_t col, const std::string &text,
                            base::Ref<gfx::Color> color = nullptr);

protected:
    // The concrete table's cell for a row held; `row` is within list().
    virtual base::Ref<ui::TableCell> cellForRow(ui::TableView &table, size_t row) = 0;
    // A tap on a row held (only where the table allows selection).
    virtual void didSelectRow(size_t row) { (void)row; }
    // The table's row as a record of the concrete table's type, or null.
    template <class T> base::Ref<T> rowAs(size_t row) const {
        return row < m_list.size() ? std::dynamic_pointer_cast<T>(m_list[row]) : nullptr;
    }

    std::vector<TableViewCol> m_cols;
    bool m_bShowTitleBar = false;
    bool m_bTitleBarCreated = false;

private:
    struct Relay;
    void zoom();

    base::Ref<ui::TableView> m_tv;
    base::Ref<ui::Label> m_noDataLabel;
    base::Ref<ui::ImageView> m_titleBarImage;
    // Title label i shows column i (tag i + 1); kept here since cell labels carry the same tags.
    std::vector<base::Ref<ui::Label>> m_titleLabels;
    base::Ref<Relay> m_relay;
    Rows m_list;
    bool m_isTableViewEnd = true;
    base::Weak<TableViewBaseViewDelegate> m_tableViewBaseViewDelegate;
    base::Weak<base::Object> m_controller;
};
