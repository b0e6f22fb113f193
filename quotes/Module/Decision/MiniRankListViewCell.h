#pragma once

#include "base/Value.h"
#include "ui/Label.h"
#include "ui/TableCell.h"

// A row of a small rank list: the name over the code on the left, the price and the list's own
// value beside them, each text in the font and colour its display row names.
class MiniRankListViewCell : public ui::TableCell {
public:
    explicit MiniRankListViewCell(std::string reuseIdentifier);
    void setUp() override;
    void layoutSubviews() override;

    // Texts, colours and fonts from a display row ("nameKey", "codeKey", "DspVal1Key", "DspVal2Key",
    // their colours and the three fonts).
    void showRow(const base::Value &row);

    ui::Label &labelName() const { return *labelName_; }
    ui::Label &labelCode() const { return *labelCode_; }
    ui::Label &labelPrice() const { return *labelPrice_; }
    ui::Label &labelOther() const { return *labelOther_; }

private:
    base::Ref<ui::Label> labelName_, labelCode_, labelPrice_, labelOther_;
};
