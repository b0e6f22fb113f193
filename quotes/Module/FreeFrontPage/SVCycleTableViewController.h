#pragma once

#include "base/Value.h"
#include "ui/Popover.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

class SVCycleTableViewController;

// Hears the row chosen in the picker: the entry dictionary of that row.
class SVCycleTableViewDelegate {
public:
    virtual ~SVCycleTableViewDelegate() = default;
    virtual base::Opt<void> SVCycleTableViewClick(SVCycleTableViewController &picker,
                                                  const base::Value &entry) {
        (void)picker, (void)entry;
        return base::notImplemented;
    }
};

// A single-choice list for popovers: one 44-point row per entry {"nameKey" text, "cycleTypeKey"
// number}, the current entry's row selected (showing the selection picture) and given the chosen
// accessory. A tap only reports the entry: the owner stores the new current entry and closes its
// popover. Used for the fund-flow cycle and the rank lists' market class.
class SVCycleTableViewController : public ui::ViewController {
public:
    static constexpr const char *CellIdentifier = "Cell";
    static constexpr float RowHeight = 44;

    void setUp() override;
    void loadView() override;
    // Portrait only, as a popover's content.
    bool shouldAutorotateTo(ui::Orientation orientation) override;

    // Made with the picker, so that an owner sets it up before the popover first shows.
    ui::TableView &tableView() { return *table_; }
    // The owner's button: closes the popover holding this picker when it shows, else, when there
    // are rows, reloads them and presents it from the anchor.
    void togglePopover(ui::Popover &popover, ui::View &anchor, unsigned permittedArrows);

    base::Array tableArray;
    base::Weak<SVCycleTableViewDelegate> tblDelegate;
    int curSelType = 1;
    ui::TableCell::Accessory curCellAccessorType = ui::TableCell::Accessory::None;
    void setCurSelType(int type) { curSelType = type; }

private:
    struct Rows;

    base::Ref<Rows> rows_;
    base::Ref<ui::TableView> table_;
};
