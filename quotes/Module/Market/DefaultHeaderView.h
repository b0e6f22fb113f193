#pragma once

#include "Module/Market/FieldTableController.h"

#include "base/Value.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/Popover.h"

#include <string>

// What a header cell tells its header row.
class DefaultHeaderViewDelegate {
public:
    virtual ~DefaultHeaderViewDelegate() = default;
    // The sort area of cell `headerID`, which shows field `classID`, was tapped.
    virtual base::Opt<void> ReturnUpdownClassID(int classID, int headerID) {
        (void)classID, (void)headerID;
        return base::notImplemented;
    }
    // A field was chosen in the cell's pull-down list.
    virtual base::Opt<void> ReturnCurrentSelectedFieldName(const std::string &name, int classID,
                                                           int headerID) {
        (void)name, (void)classID, (void)headerID;
        return base::notImplemented;
    }
};

// One of the five cells of a mini-trend header (`DefaultColumn`): a sort arrow, the field's caption
// and, for cells whose field the user may change, a pull-down marker. A tap on the left part sorts
// by the cell's field; a tap on the marker opens the field list in a popover, made on the first
// opening and kept with the rows it was given then.
class DefaultHeaderView : public ui::View, public FieldTableControllerDelegate {
public:
    // The sort area ends this far before the right edge; the marker area starts 20 points before it.
    static constexpr float SortMargin = 40, MarkerMargin = 20;

    explicit DefaultHeaderView(gfx::Rect frame);

    // 0 points the arrow down, 1 up; other values change nothing.
    void SetImageUpdown(int upDown);
    void SetFieldArray(const base::Array &rows, int classID);
    base::Opt<void> SelectedFieldName(const std::string &name, int classID) override;
    void touchesBegan(const ui::TouchSet &touches, const ui::Event &event) override;

    ui::Label &fieldNameLabel() { return *m_fieldNameLabel; }
    ui::ImageView &updownTagImage() { return *m_updownTagImage; }
    ui::ImageView &pushTagImage() { return *m_pushTagImage; }
    ui::Popover *fieldTablePopoverController() const { return m_fieldTablePopoverController.get(); }
    int classID() const { return m_classID; }

    int headerID = 0;
    base::Weak<DefaultHeaderViewDelegate> delegate;

private:
    void openFieldTable();

    base::Ref<ui::Label> m_fieldNameLabel;
    base::Ref<ui::ImageView> m_updownTagImage, m_pushTagImage;
    base::Ref<ui::Popover> m_fieldTablePopoverController;
    base::Array m_fieldArray;
    int m_classID = 0;
};
