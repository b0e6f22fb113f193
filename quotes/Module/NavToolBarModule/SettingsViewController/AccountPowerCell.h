#pragma once

#include "base/Value.h"
#include "ui/Label.h"
#include "ui/TableCell.h"

#include <string>

// A row of the account's service rights: the service's name, its end date and whether it is valid
// ("有效" / "无效"); date and validity black while valid, grey when not.
class AccountPowerCell : public ui::TableCell {
public:
    static constexpr const char *kIdentifier = "accountPowerCell";
    static constexpr float kHeight = 44, kFontSize = 15;

    AccountPowerCell(Style style, std::string reuseIdentifier);

    // Shows the record {"PowerName", "ValidDate", "IsValid"}.
    void show(const base::Value &record);
    void layoutSubviews() override;

    const ui::Label &nameLabel() const { return *m_nameLabel; }
    const ui::Label &dateLabel() const { return *m_dateLabel; }
    const ui::Label &validLabel() const { return *m_validLabel; }

private:
    base::Ref<ui::Label> m_nameLabel, m_dateLabel, m_validLabel;
};
