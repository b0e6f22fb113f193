#include "Components/CMAlarmView/CMInputCell.h"

#include "gfx/Font.h"

struct CMInputCell::FieldRelay : ui::TextFieldDelegate {
    base::Weak<CMInputCell> cell;

    base::Opt<void> didBeginEditing(ui::TextField &) override {
        if (auto c = cell.lock())
            c->textFieldDidBeginEditing();
        return {};
    }
    base::Opt<void> didEndEditing(ui::TextField &) override {
        if (auto c = cell.lock())
            c->textFieldDidEndEditing();
        return {};
    }
};

CMInputCell::CMInputCell(gfx::Rect frame) : ui::TableCell(Style::Default, kIdentifier) {
    setFrame(frame);
    selectionStyle = Selection::None;
    m_nameLabel = base::make<ui::Label>();
    m_nameLabel->setFont(gfx::Font::boldSystem(14));
    m_nameLabel->setTextAlignment(gfx::Align::Left);
    m_nameLabel->setBackgroundColor(gfx::Color::clear());
    contentView().addSubview(m_nameLabel);
}

void CMInputCell::setUp() {
    ui::TableCell::setUp();
    m_relay = base::make<FieldRelay>();
    m_relay->cell = weakSelf<CMInputCell>();
    setInputCellType(TextKind);
}

float CMInputCell::lblWidth() {
    return contentView().bounds().width() / 3;
}

void CMInputCell::setInputCellType(int kind) {
    m_inputCellType = kind;
    if (kind == SwitchKind) {
        if (m_valueField) {
            m_valueField->resignFirstResponder();
            m_valueField->removeFromSuperview();
            m_valueField.reset();
        }
        if (!m_switchBtn) {
            m_switchBtn = CMSwitch::create({});
            m_switchBtn->leftLabel().setText(kOnceTitle);
            m_switchBtn->rightLabel().setText(kPermanentTitle);
            m_switchBtn->addTarget(BASE_ACTION(this, selectAction), ui::ValueChanged);
            contentView().addSubview(m_switchBtn);
        }
    } else {
        if (m_switchBtn) {
            m_switchBtn->removeFromSuperview();
            m_switchBtn.reset();
        }
        if (!m_valueField) {
            m_valueField = base::make<ui::TextField>();
            m_valueField->setBackgroundColor(gfx::Color::clear());
            m_valueField->setFont(gfx::Font::boldSystem(14));
            m_valueField->setTextAlignment(gfx::Align::Right);
            m_valueField->setContentVerticalAlignment(ui::TextField::VAlign::Center);
            m_valueField->keyboardType = ui::TextField::Keyboard::NumbersAndPunctuation;
            m_valueField->setPlaceholder(m_placeholder);
            m_valueField->delegate = m_relay;
            contentView().addSubview(m_valueField);
        }
    }
    setNeedsLayout();
}

void CMInputCell::setIsShowTag(bool shows) {
    m_isShowTag = shows;
    if (!shows && m_valueField)
        m_valueField->setRightView(nullptr, ui::TextField::ViewMode::Never);
}

void CMInputCell::setInputCellTitle(const std::string &title, const std::string &placeholder) {
    m_nameLabel->setText(title);
    m_placeholder = placeholder;
    if (m_valueField)
        m_valueField->setPlaceholder(placeholder);
}

void CMInputCell::setInputCellValue(const std::string &value) {
    if (m_valueField)
        m_valueField->setText(value);
}

void CMInputCell::setSelInputState(bool on, bool animated) {
    if (m_switchBtn)
        m_switchBtn->setOn(on, animated);
}

std::string CMInputCell::getInputFiledText() {
    if (!m_valueField)
        return {};
    m_valueField->resignFirstResponder();
    return m_valueField->text();
}

void CMInputCell::textFieldDidBeginEditing() {
    if (auto d = delegate.lock())
        d->beginTextInputAtIndex(indexPath);
    if (!m_valueField)
        return;
    if (m_isShowTag) {
        auto percent = base::make<ui::Label>(gfx::Rect{0, 0, tagWidth, contentView().bounds().height()});
        percent->setText("%");
        percent->setFont(m_valueField->font());
        percent->setBackgroundColor(gfx::Color::clear());
        m_valueField->setRightView(percent, ui::TextField::ViewMode::Always);
    }
}

void CMInputCell::textFieldDidEndEditing() {
    if (auto d = delegate.lock(); d && m_valueField)
        d->didTextInputAtIndex(indexPath, m_valueField->text());
}

void CMInputCell::selectAction() {
    if (auto d = delegate.lock(); d && m_switchBtn)
        d->didSelInputAtIndex(indexPath, m_switchBtn->isOn());
}

void CMInputCell::layoutSubviews() {
    ui::TableCell::layoutSubviews();
    const gfx::Rect r = contentView().bounds();
    const float third = lblWidth();
    m_nameLabel->setFrame({left, 0, third, r.height()});
    if (m_valueField)
        m_valueField->setFrame({third + left, 0, r.width() - third - left - fieldInset, r.height()});
    if (m_switchBtn)
        m_switchBtn->setFrame({r.width() - switchInset - third, (r.height() - CMSwitch::Size.h) / 2,
                               CMSwitch::Size.w, CMSwitch::Size.h});
}
