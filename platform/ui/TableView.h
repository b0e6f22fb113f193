#pragma once

#include "ui/IndexPath.h"
#include "ui/ScrollView.h"
#include "ui/TableCell.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ui {

class TableView;

// Where a row comes to rest when the table scrolls to it.
enum class ScrollPosition { None, Top, Middle, Bottom };
// How rows leave or come back: 1 slides them to the right, as the platform numbers it.
enum class RowAnimation {
    Fade = 0,
    Right = 1,
    Left = 2,
    Top = 3,
    Bottom = 4,
    None = 5,
    Middle = 6,
    Automatic = 100
};

struct TableDataSource : base::Object {
    virtual int numberOfSections(TableView &) { return 1; }
    virtual int numberOfRows(TableView &, int section) = 0;
    virtual base::Ref<TableCell> cellForRow(TableView &, IndexPath) = 0;
    virtual base::Opt<std::string> titleForHeader(TableView &, int) { return base::notImplemented; }
    virtual base::Opt<std::string> titleForFooter(TableView &, int) { return base::notImplemented; }
    // The titles of the index strip at the right edge.
    virtual base::Opt<std::vector<std::string>> sectionIndexTitles(TableView &) {
        return base::notImplemented;
    }
    // The section an index entry leads to; by default the entry's position.
    virtual base::Opt<int> sectionForIndexTitle(TableView &, const std::string &, int) {
        return base::notImplemented;
    }
    virtual base::Opt<bool> canEditRow(TableView &, IndexPath) { return base::notImplemented; }
    // Rows can move only when the data source can move them (moveRow implemented) and allows it.
    virtual base::Opt<bool> canMoveRow(TableView &, IndexPath) { return base::notImplemented; }
    virtual base::Opt<void> commitEditing(TableView &, EditingStyle, IndexPath) {
        return base::notImplemented;
    }
    virtual base::Opt<void> moveRow(TableView &, IndexPath, IndexPath) { return base::notImplemented; }
};

struct TableDelegate : ScrollViewDelegate {
    virtual base::Opt<float> heightForRow(TableView &, IndexPath) { return base::notImplemented; }
    virtual base::Opt<float> heightForHeader(TableView &, int) { return base::notImplemented; }
    virtual base::Opt<float> heightForFooter(TableView &, int) { return base::notImplemented; }
    virtual base::Opt<base::Ref<View>> viewForHeader(TableView &, int) { return base::notImplemented; }
    virtual base::Opt<base::Ref<View>> viewForFooter(TableView &, int) { return base::notImplemented; }
    // The row to select instead of the tapped one; no row refuses the selection.
    virtual base::Opt<std::optional<IndexPath>> willSelectRow(TableView &, IndexPath) {
        return base::notImplemented;
    }
    virtual base::Opt<void> didSelectRow(TableView &, IndexPath) { return base::notImplemented; }
    virtual base::Opt<void> didDeselectRow(TableView &, IndexPath) { return base::notImplemented; }
    virtual base::Opt<EditingStyle> editingStyle(TableView &, IndexPath) { return base::notImplemented; }
    virtual base::Opt<void> accessoryButtonTapped(TableView &, IndexPath) { return base::notImplemented; }
};

// A vertical list of rows in sections, plain or grouped (rounded panels with their titles beside
// them). Cells exist only for the rows in view: rows scrolled away go into a reuse pool by
// identifier, and dequeueReusableCell hands them back. The data source and the delegate are weak:
// once the owner is gone the table shows nothing and calls nobody.
//
// A tap on a row asks the delegate's willSelectRow (which may refuse or redirect it), deselects the
// previous row and selects the new one. While editing, rows show their delete control and, where
// they can move, a grip; deleting commits through the data source, moving calls its moveRow.
class TableView : public ScrollView {
public:
    enum class Style { Plain, Grouped };
    enum class Separator { None, SingleLine };

    static constexpr float GroupMargin = 10, IndexWidth = 30;

    explicit TableView(gfx::Rect frame = {}, Style style = Style::Plain);
    ~TableView() override;

    Style style() const { return style_; }
    float rowHeight = 44;
    float sectionHeaderHeight = 22, sectionFooterHeight = 22;
    Separator separatorStyle = Separator::SingleLine;
    // Pattern colours allowed.
    base::Ref<gfx::Color> separatorColor;
    bool allowsSelection = true;
    bool allowsSelectionDuringEditing = false;
    base::Weak<TableDataSource> dataSource;
    base::Weak<TableDelegate> delegate;

    const base::Ref<View> &backgroundView() const { return background_; }
    void setBackgroundView(base::Ref<View> view);
    const base::Ref<View> &tableHeaderView() const { return header_; }
    void setTableHeaderView(base::Ref<View> view);
    const base::Ref<View> &tableFooterView() const { return footer_; }
    void setTableFooterView(base::Ref<View> view);

    bool isEditing() const { return editing_; }
    void setEditing(bool editing, bool animated = false);

    // Asks the data source for everything again; cells on show go to the reuse pool first.
    void reloadData();
    void reloadSections(const std::vector<int> &sections, RowAnimation animation);
    base::Ref<TableCell> dequeueReusableCell(const std::string &identifier);
    // The rows must already be gone from the data source; the others move up into their place.
    void deleteRows(const std::vector<IndexPath> &rows, RowAnimation animation);

    int numberOfSections() const { return int(sections_.size()); }
    int numberOfRows(int section) const;
    gfx::Rect rectForRow(IndexPath path) const;
    gfx::Rect rectForHeader(int section) const;
    gfx::Rect rectForSection(int section) const;
    std::optional<IndexPath> indexPathForRow(gfx::Point point) const;
    std::optional<IndexPath> indexPathForCell(const TableCell &cell) const;
    // The cell of a row in view, else nullptr.
    base::Ref<TableCell> cellForRow(IndexPath path) const;
    std::vector<IndexPath> indexPathsForVisibleRows() const;
    std::vector<base::Ref<TableCell>> visibleCells() const;
    View *headerView(int section) const;
    View *sectionIndexView() const { return index_.get(); }

    std::optional<IndexPath> selectedRow() const { return selected_; }
    // Programmatic selection tells the delegate nothing.
    void selectRow(std::optional<IndexPath> path, bool animated, ScrollPosition position);
    void deselectRow(IndexPath path, bool animated);
    void scrollToRow(IndexPath path, ScrollPosition position, bool animated);
    // Scrolls the section's header (or first row) to the top, as the index strip does.
    void scrollToSection(int section);

    void layoutSubviews() override;
    void touchesBegan(const TouchSet &touches, const Event &event) override;
    void touchesMoved(const TouchSet &touches, const Event &event) override;
    void touchesEnded(const TouchSet &touches, const Event &event) override;
    void touchesCancelled(const TouchSet &touches, const Event &event) override;

    // Called by cells.
    void commitDelete(TableCell &cell);
    void accessoryTapped(TableCell &cell);
    void dragRow(TableCell &cell, Touch::Phase phase, gfx::Point point);

protected:
    base::Ref<ScrollViewDelegate> scrollDelegate() const override;
    void offsetChanged() override;
    bool scrollsForTouch(const View *view) const override;

private:
    struct Section {
        float top = 0, header = 0, footer = 0;
        std::vector<float> rows; // heights
        std::string headerTitle, footerTitle;
        base::Ref<View> headerView, footerView;
        float rowsTop() const { return top + header; }
        float height() const;
    };
    struct Dragging {
        base::Ref<TableCell> cell;
        IndexPath from;
        float grab = 0;
    };

    void measure();
    void place();
    void tile();
    void recycle(const IndexPath &path);
    void layoutCell(TableCell &cell, IndexPath path);
    base::Ref<View> makeHeader(const std::string &title, bool footer) const;
    void placeIndex();
    void placeHeaders();
    bool canMove(IndexPath path) const;
    bool canDelete(IndexPath path) const;
    void select(IndexPath path);
    std::optional<IndexPath> rowUnder(const TouchSet &touches) const;

    Style style_;
    std::vector<Section> sections_;
    std::map<IndexPath, base::Ref<TableCell>> visible_;
    std::map<std::string, std::vector<base::Ref<TableCell>>> pool_;
    base::Ref<View> background_, header_, footer_;
    base::Ref<View> index_;
    std::vector<std::string> indexTitles_;
    std::optional<IndexPath> selected_, pressed_;
    bool editing_ = false;
    bool tiling_ = false;
    std::optional<Dragging> dragging_;
    bool loaded_ = false;
};

} // namespace ui
