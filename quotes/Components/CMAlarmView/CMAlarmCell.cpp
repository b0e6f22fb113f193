#include "Components/CMAlarmView/CMAlarmCell.h"

#include "gfx/Font.h"

namespace {

struct Field {
    const char *caption;
    const char *key;
};
// By line, the left column first.
constexpr Field kAlarmFields[] = {{"股价高于:", "HIGH"},     {"股价低于:", "LOW"},
                                  {"日涨幅度:", "UPRATE"},   {"日跌幅度:", "DOWNRATE"},
                                  {"日换手率:", "TURNOVER"}, {"有效期 :", "LIMIT"}};

base::Ref<gfx::Color> alarmFieldColour(int tag) {
    switch (tag) {
    case 3:
        return gfx::Color::red();
    case 4:
        return gfx::Color::rgba(0, 0.6f, 0);
    case 5:
    case 6:
        return gfx::Color::rgba(0.85f, 0.6f, 0);
    default:
        return gfx::Color::black();
    }
}

base::Ref<ui::Label> boldLabel(gfx::Align alignment) {
    auto label = base::make<ui::Label>();
    label->setFont(gfx::Font::boldSystem(14));
    label->setTextColor(gfx::Color::black());
    label->setBackgroundColor(gfx::Color::clear());
    label->setTextAlignment(alignment);
    return label;
}

} // namespace

CMAlarmBaseCell::CMAlarmBaseCell(std::string reuseIdentifier, gfx::Rect frame)
    : ui::TableCell(Style::Default, std::move(reuseIdentifier)) {
    setFrame(frame);
    selectionStyle = Selection::None;
    m_nameLabel = boldLabel(gfx::Align::Center);
    m_codeLabel = boldLabel(gfx::Align::Center);
    contentView().addSubview(m_nameLabel);
    contentView().addSubview(m_codeLabel);
}

float CMAlarmBaseCell::lblHeight() {
    return contentView().bounds().height() / 4;
}

float CMAlarmBaseCell::lblWidth() {
    return (contentView().bounds().width() - inset() - hozSpace - rightMargin) / 4;
}

float CMAlarmBaseCell::inset() {
    return isEditing() ? hozSpace : left;
}

void CMAlarmBaseCell::placeNameAndCode(float nameUnits, float codeAt, float codeUnits) {
    const float unit = lblWidth(), line = lblHeight(), x = inset();
    m_nameLabel->setFrame({x, 0, unit * nameUnits, line});
    m_codeLabel->setFrame({x + hozSpace + unit * codeAt, 0, unit * codeUnits, line});
}

void CMAlarmBaseCell::genValueFieldWithFrame(gfx::Rect frame, const std::string &name, int tag) {
    auto caption = boldLabel(gfx::Align::Left);
    caption->setFrame(frame);
    caption->setText(name);
    caption->setAdjustsFontSizeToFitWidth(true);
    caption->tag = tag;
    auto value = base::make<ui::Label>(frame);
    value->setFont(gfx::Font::system(14));
    value->setBackgroundColor(gfx::Color::clear());
    value->setTextAlignment(gfx::Align::Right);
    value->tag = tag + ValueTagOffset;
    contentView().addSubview(caption);
    contentView().addSubview(value);
}

ui::Label *CMAlarmBaseCell::captionAtTag(int tag) {
    return dynamic_cast<ui::Label *>(contentView().viewWithTag(tag));
}

ui::Label *CMAlarmBaseCell::valueAtTag(int tag) {
    return dynamic_cast<ui::Label *>(contentView().viewWithTag(tag + ValueTagOffset));
}

void CMAlarmBaseCell::setValueAtTag(int tag, const std::optional<std::string> &text,
                                    base::Ref<gfx::Color> color) {
    ui::Label *value = valueAtTag(tag);
    if (!value)
        return;
    if (text)
        value->setText(*text);
    if (color)
        value->setTextColor(std::move(color));
}

void CMAlarmBaseCell::resetValueFieldAtTag(int tag, gfx::Rect frame) {
    if (ui::Label *caption = captionAtTag(tag))
        caption->setFrame(frame);
    if (ui::Label *value = valueAtTag(tag))
        value->setFrame(frame);
}

// --- Current alarm

CMAlarmCell::CMAlarmCell(gfx::Rect frame) : CMAlarmBaseCell(kIdentifier, frame) {
    for (int tag = 1; tag <= 6; ++tag) {
        genValueFieldWithFrame({}, kAlarmFields[tag - 1].caption, tag);
        setValueAtTag(tag, std::nullopt, alarmFieldColour(tag));
    }
}

void CMAlarmCell::setAlarmValue(const base::Value &alarm) {
    m_nameLabel->setText(alarm["STOCKNAME"].stringValue());
    m_codeLabel->setText(alarm["STOCKCODE"].stringValue());
    for (int tag = 1; tag <= 6; ++tag)
        setValueAtTag(tag, alarm[kAlarmFields[tag - 1].key].stringValue());
}

void CMAlarmCell::layoutSubviews() {
    CMAlarmBaseCell::layoutSubviews();
    placeNameAndCode(2, 2, 2);
    const float unit = lblWidth(), line = lblHeight(), x = inset();
    for (int tag = 1; tag <= 6; ++tag) {
        const int row = (tag - 1) / 2 + 1, column = (tag - 1) % 2;
        resetValueFieldAtTag(tag, {x + column * (hozSpace + 2 * unit), row * line, 2 * unit, line});
    }
}

// --- Fired alarm

CMAlarmDoneCell::CMAlarmDoneCell(gfx::Rect frame) : CMAlarmBaseCell(kIdentifier, frame) {
    m_infoLabel = boldLabel(gfx::Align::Left);
    m_infoLabel->setNumberOfLines(0);
    contentView().addSubview(m_infoLabel);
}

void CMAlarmDoneCell::setAlarmDoneValue(const base::Value &alarm) {
    m_nameLabel->setText(alarm["STOCKNAME"].stringValue());
    m_codeLabel->setText(alarm["STOCKCODE"].stringValue());
    m_infoLabel->setText(alarm["INFO"].stringValue());
}

void CMAlarmDoneCell::layoutSubviews() {
    CMAlarmBaseCell::layoutSubviews();
    placeNameAndCode(2, 2, 2);
    const gfx::Rect r = contentView().bounds();
    const float line = lblHeight();
    m_infoLabel->setFrame({left, line, r.width() - left, r.height() - line});
}
