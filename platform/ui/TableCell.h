#pragma once

#include "ui/Control.h"
#include "ui/ImageView.h"
#include "ui/Label.h"

#include <string>

namespace ui {

class TableView;

enum class EditingStyle { None = 0, Delete = 1, Insert = 2 };

// One row of a table. Its own content goes into contentView (or the ready-made text label, detail
// label and image of the default styles); the background and selected-background views lie
// beneath it. A table keeps cells it scrolled away under their reuse identifier and hands them
// back through dequeueReusableCell, after prepareForReuse.
//
// The accessory sits at the right end (a drawn disclosure chevron or check mark, a detail
// disclosure button, or any view). While the table edits, a delete control shows at the left end
// (a tap on it shows the "删除" button that commits the deletion) and, for rows that can move, a
// reorder grip at the right end.
class TableCell : public View {
public:
    enum class Style { Default, Value1, Value2, Subtitle };
    enum class Selection { None, Blue, Gray };
    enum class Accessory { None, DisclosureIndicator, DetailDisclosureButton, Checkmark };
    // Where the cell lies in its section, for the rounded ends of grouped tables.
    enum class Position { Single, Top, Middle, Bottom };

    static constexpr float AccessoryWidth = 30, EditControlWidth = 38, ReorderWidth = 38;

    explicit TableCell(Style style = Style::Default, std::string reuseIdentifier = {});
    ~TableCell() override;

    const std::string &reuseIdentifier() const { return reuseIdentifier_; }
    Style style() const { return style_; }
    View &contentView() { return *content_; }
    // Made on first use.
    Label *textLabel();
    Label *detailTextLabel();
    ImageView *imageView();

    const base::Ref<View> &backgroundView() const { return background_; }
    void setBackgroundView(base::Ref<View> view);
    const base::Ref<View> &selectedBackgroundView() const { return selectedBackground_; }
    void setSelectedBackgroundView(base::Ref<View> view);
    Selection selectionStyle = Selection::Blue;
    Accessory accessoryType() const { return accessoryType_; }
    void setAccessoryType(Accessory type);
    const base::Ref<View> &accessoryView() const { return accessoryView_; }
    // A view of the owner's in place of the standard accessory.
    void setAccessoryView(base::Ref<View> view);
    bool showsReorderControl = false;

    bool isSelected() const { return selected_; }
    virtual void setSelected(bool selected, bool animated);
    bool isHighlighted() const { return highlighted_; }
    virtual void setHighlighted(bool highlighted, bool animated);
    bool isEditing() const { return editing_; }
    bool isShowingDeleteConfirmation() const;
    virtual void prepareForReuse();

    void layoutSubviews() override;
    void drawRect(gfx::Context &context, gfx::Rect dirty) override;

    // Set by the table that shows the cell.
    void placeIn(TableView *table, Position position);
    void setEditing(bool editing, bool deletable, bool movable);
    TableView *table() const { return table_; }
    View *reorderControl() const { return reorder_.get(); }
    Control *deleteControl() const { return deleteControl_.get(); }

private:
    void showConfirmation(bool shown);
    void confirmDelete();
    void updateLook();
    bool showsSelection() const;

    Style style_;
    std::string reuseIdentifier_;
    base::Ref<View> content_, background_, selectedBackground_, accessoryView_, standardAccessory_;
    // The plain selection colour, when there is no selected-background view.
    base::Ref<View> fill_;
    base::Ref<Label> text_, detail_;
    base::Ref<ImageView> image_;
    base::Ref<Control> deleteControl_;
    base::Ref<Control> confirm_;
    base::Ref<View> reorder_;
    Accessory accessoryType_ = Accessory::None;
    bool selected_ = false, highlighted_ = false, editing_ = false;
    TableView *table_ = nullptr;
    Position position_ = Position::Single;
};

} // namespace ui
