#pragma once

#include "ui/TableView.h"
#include "ui/ViewController.h"

#include <string>
#include <vector>

// One row of a pop-up menu: the choice's number or key, and its text.
struct PopMenuItem {
    int32_t itemID = 0;
    std::string itemName;
    std::string itemKey;
};

// What the owner of a pop-up menu hears when a row is chosen, with the menu's own id so that one
// owner can serve several menus. Both operations are optional; an owner that has both gets both,
// by id first.
class PopMenuControllerDelegate {
public:
    virtual ~PopMenuControllerDelegate() = default;
    virtual base::Opt<void> ReturnSelectedPopMenuItem(int popMenuID, int32_t itemID,
                                                      const std::string &itemName) {
        (void)popMenuID, (void)itemID, (void)itemName;
        return base::notImplemented;
    }
    virtual base::Opt<void> ReturnSelectedPopMenuItem(int popMenuID, const std::string &itemKey,
                                                      const std::string &itemName) {
        (void)popMenuID, (void)itemKey, (void)itemName;
        return base::notImplemented;
    }
};

// A short list of named choices, shown in a popover next to a button (the ex-rights adjustments
// and level-2 indicators of a chart). The owner fills it, wraps it in a popover, presents and
// dismisses it; the menu never dismisses itself. Only the size of the frame it is made with counts:
// it is the table's and the popover content's size.
class PopMenuController : public ui::ViewController {
public:
    static constexpr float DefaultFontSize = 14;
    static constexpr const char *CellIdentifier = "PopMenuControllerCell";

    explicit PopMenuController(gfx::Rect frame);
    ~PopMenuController() override;

    void viewDidLoad() override;
    bool shouldAutorotateTo(ui::Orientation) override { return true; }

    void addMenuItem(const std::string &name, int32_t itemID);
    void addMenuItem(const std::string &name, const std::string &itemKey);
    void removeAllMenuItems();
    // The name of the first item with the id; "" when none has it.
    std::string getMenuItemName(int32_t itemID) const;
    const std::vector<PopMenuItem> &items() const { return m_items; }

    // Row height: the font size scaled as 23 points are to 14, rounded up.
    float rowHeight() const;
    // Empty until the view loads.
    ui::TableView *tableView() const { return tv.get(); }

    base::Weak<PopMenuControllerDelegate> delegate;
    int popMenuID = 0;
    // Takes effect when the view loads.
    float fontSize = DefaultFontSize;

private:
    struct Rows;
    struct Choices;

    void initUI(gfx::Rect rect);
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, int row);
    void didSelectRow(int row);

    std::vector<PopMenuItem> m_items;
    base::Ref<ui::TableView> tv;
    base::Ref<Rows> rows_;
    base::Ref<Choices> choices_;
    gfx::Rect m_frame;
};
