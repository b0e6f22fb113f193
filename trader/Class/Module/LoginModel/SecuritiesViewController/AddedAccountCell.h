#pragma once

#include "ui/Button.h"
#include "ui/IndexPath.h"
#include "ui/Label.h"
#include "ui/TableCell.h"

class AddedAccountCell;

// Told when a saved account's delete button is pressed.
class AddedAccountCellDelegate {
public:
    virtual ~AddedAccountCellDelegate() = default;
    virtual base::Opt<void> DeleteCell(ui::Button &button, ui::IndexPath indexPath) {
        (void)button, (void)indexPath;
        return base::notImplemented;
    }
};

// The row of a saved broker account in the broker chooser: the broker's name with the account's
// tail in yellow and a delete button, which reports the row it shows to its delegate.
class AddedAccountCell : public ui::TableCell {
public:
    static constexpr const char *kReuseIdentifier = "addedAccountCell";
    // The cell's text: the broker's name, then "-尾号" and the last four characters of an account
    // of five or more, "-" and an account of one to four, nothing for no account.
    static std::string nameFor(const std::string &securitiesName, const std::string &account);

    AddedAccountCell();
    void setUp() override;
    void layoutSubviews() override;

    base::Weak<AddedAccountCellDelegate> delegate;
    ui::IndexPath indexPath;
    ui::Label &nameLabel() { return *m_nameLabel; }
    ui::Button &delBtn() { return *m_delBtn; }

private:
    base::Ref<ui::Label> m_nameLabel;
    base::Ref<ui::Button> m_delBtn;
    base::Ref<ui::View> m_line;
    base::Ref<ui::View> m_background;
};
