#include "Module/CommonControls/GeneralCell/GeneralCell.h"

#include "gfx/Font.h"

GeneralCell::GeneralCell(Style style, std::string reuseIdentifier, gfx::Rect frame)
    : ui::TableCell(style, std::move(reuseIdentifier)) {
    setFrame(frame);
    selectionStyle = Selection::None;
    m_background = base::make<ui::View>(gfx::Rect{0, 0, frame.width(), frame.height()});
    setBackgroundView(m_background);
}

void GeneralCell::SetFormatArray(const base::Array &columns) {
    m_widthArray.assign(columns.size(), 0);
    float x = 0, h = bounds().height();
    for (size_t i = 0; i < columns.size(); ++i) {
        const base::Value &entry = columns[i];
        float width = float(entry["ColWidth"].intValue());
        m_widthArray[i] = width;
        gfx::Rect frame{x, 0, width, h};
        std::string special = entry["SpecialName"].stringValue();
        base::Ref<ui::View> column;
        if (special == "NAME") {
            auto name = base::make<NameFieldView>(frame);
            name->StocknameLabel().setTextColor(cellTextColor);
            name->StockcodeLabel().setTextColor(cellCodeColor);
            m_nameIndex = int(i);
            column = name;
        } else {
            auto label = base::make<ui::Label>(frame);
            label->setBackgroundColor(gfx::Color::clear());
            if (special == "INDEX") {
                label->setTextColor(gfx::Color::rgba(29 / 255.f, 152 / 255.f, 226 / 255.f));
                label->setFont(gfx::Font::boldSystem(15));
                label->setTextAlignment(gfx::Align::Center);
            } else {
                label->setTextColor(cellTextColor);
                label->setFont(gfx::Font::named("Gurmukhi", 16));
                label->setTextAlignment(gfx::Align::Right);
                label->setAdjustsFontSizeToFitWidth(true);
            }
            column = label;
        }
        column->tag = BeginTag + int(i);
        contentView().addSubview(column);
        x += width;
    }
    setNeedsDisplay();
}

void GeneralCell::ClearColumns() {
    std::vector<base::Ref<ui::View>> columns;
    for (const auto &view : contentView().subviews())
        if (view->tag >= BeginTag)
            columns.push_back(view);
    for (const auto &view : columns)
        view->removeFromSuperview();
}

void GeneralCell::ResetFormatArray(const base::Array &columns, int32_t newTitleClass) {
    if (newTitleClass == 0 || newTitleClass == titleClass)
        return;
    ClearColumns();
    m_nameIndex = -1;
    SetFormatArray(columns);
    titleClass = newTitleClass;
}

ui::View *GeneralCell::columnAt(int index) {
    return contentView().viewWithTag(BeginTag + index);
}

void GeneralCell::SetValueArray(const base::Array &values) {
    for (int i = 0; i < columnNum(); ++i) {
        base::Value value = values.at(size_t(i));
        ui::View *column = columnAt(i);
        if (auto *name = dynamic_cast<NameFieldView *>(column)) {
            name->StocknameLabel().setText(value["StockName"].stringValue());
            name->StockcodeLabel().setText(value["StockCode"].stringValue());
        } else if (auto *label = dynamic_cast<ui::Label *>(column)) {
            label->setText(value.stringValue());
        }
    }
}

void GeneralCell::SetTextColorAtIndex(int index, int32_t value) {
    auto *label = dynamic_cast<ui::Label *>(columnAt(index));
    if (!label)
        return;
    label->setTextColor(value > 0   ? gfx::Color::red()
                        : value < 0 ? gfx::Color::green()
                                    : gfx::Color::white());
}

void GeneralCell::SetCellBgColor(base::Ref<gfx::Color> color) {
    m_background->setBackgroundColor(std::move(color));
}

void GeneralCell::SetCellBgColor(float red, float green, float blue, float alpha) {
    SetCellBgColor(gfx::Color::rgba(red / 255, green / 255, blue / 255, alpha));
}

void GeneralCell::ShowAccelerateButton(int show, const std::string &imageName) {
    if (show == 1) {
        if (!m_accButton) {
            float w = bounds().width(), h = bounds().height();
            m_accButton = ui::Button::custom({w - ButtonSize, (h - ButtonSize) / 2, ButtonSize, ButtonSize});
            m_accButton->setBackgroundImage(gfx::Image::named(imageName));
            m_accButton->addTarget(BASE_ACTION(this, accelerateButtonAction), ui::TouchUpInside);
            contentView().addSubview(m_accButton);
        }
        m_accButton->setHidden(false);
    } else if (show == 0 && m_accButton) {
        m_accButton->setHidden(true);
    }
}

void GeneralCell::accelerateButtonAction(ui::Button *button) {
    if (auto d = delegate.lock())
        d->ReturnSelectedCell(button, indexPath);
}

void GeneralCell::layoutSubviews() {
    ui::TableCell::layoutSubviews();
    float w = bounds().width(), h = bounds().height();
    m_background->setFrame({0, 0, w, h});
    if (m_accButton)
        m_accButton->setFrame({w - ButtonSize, (h - ButtonSize) / 2, ButtonSize, ButtonSize});
}

void GeneralCell::drawRect(gfx::Context &context, gfx::Rect dirty) {
    ui::TableCell::drawRect(context, dirty);
    context.setStroke(*gfx::Color::white());
    context.setLineWidth(0.08f);
    float x = 0, h = bounds().height();
    for (float width : m_widthArray) {
        context.strokeRect({x, 0, width, h});
        x += width;
    }
}
