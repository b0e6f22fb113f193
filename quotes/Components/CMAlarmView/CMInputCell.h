#pragma once

#include "Components/CMSwitch.h"

#include "ui/IndexPath.h"
#include "ui/Label.h"
#include "ui/TableCell.h"
#include "ui/TextField.h"

#include <string>

// What the condition form hears from its rows; every operation is optional.
class CMInputCellDelegate {
public:
    virtual ~CMInputCellDelegate() = default;
    virtual base::Opt<void> beginTextInputAtIndex(ui::IndexPath path) {
        (void)path;
        return base::notImplemented;
    }
    virtual base::Opt<void> didTextInputAtIndex(ui::IndexPath path, const std::string &text) {
        (void)path, (void)text;
        return base::notImplemented;
    }
    virtual base::Opt<void> didSelInputAtIndex(ui::IndexPath path, bool on) {
        (void)path, (void)on;
        return base::notImplemented;
    }
};

// One condition row: a bold caption over the left third and either a right-aligned number field
// (kind 0) or a "一次"/"永久" switch (kind 1). Rows are reused as the table scrolls, so the owner
// sets the kind, the percent sign and the index path each time it shows one; the row reports under
// the index path it shows now.
class CMInputCell : public ui::TableCell {
public:
    static constexpr const char *kIdentifier = "grenresIdentifier";
    static constexpr float left = 25, fieldInset = 30, switchInset = 10, tagWidth = 18;
    static constexpr const char *kOnceTitle = "一次", *kPermanentTitle = "永久";
    enum Kind { TextKind = 0, SwitchKind = 1 };

    explicit CMInputCell(gfx::Rect frame);
    void setUp() override;

    void setInputCellType(int kind);
    int inputCellType() const { return m_inputCellType; }
    // Without the sign, a reused row also loses the one it showed for another row.
    void setIsShowTag(bool shows);
    bool isShowTag() const { return m_isShowTag; }
    void setInputCellTitle(const std::string &title, const std::string &placeholder);
    void setInputCellValue(const std::string &value);
    void setSelInputState(bool on, bool animated);
    // Takes the keyboard from the field and answers its text.
    std::string getInputFiledText();

    void textFieldDidBeginEditing();
    void textFieldDidEndEditing();
    void selectAction();

    ui::Label &nameLabel() { return *m_nameLabel; }
    ui::TextField *valueField() const { return m_valueField.get(); }
    CMSwitch *switchBtn() const { return m_switchBtn.get(); }

    void layoutSubviews() override;

    base::Weak<CMInputCellDelegate> delegate;
    ui::IndexPath indexPath;

private:
    struct FieldRelay;
    float lblWidth();

    base::Ref<ui::Label> m_nameLabel;
    base::Ref<ui::TextField> m_valueField;
    base::Ref<CMSwitch> m_switchBtn;
    base::Ref<FieldRelay> m_relay;
    std::string m_placeholder;
    int m_inputCellType = TextKind;
    bool m_isShowTag = false;
};
