#include "Class/Module/CommonControls/TradeRowCell/TradeRowCell.h"

#include "gfx/Context.h"
#include "gfx/Font.h"

base::Ref<gfx::Color> TradeRowCell::rgb(int red, int green, int blue, float alpha) {
    return gfx::Color::rgba(float(red) / 255.f, float(green) / 255.f, float(blue) / 255.f, alpha);
}

void TradeRowCell::setUp() {
    ui::TableCell::setUp();
    selectionStyle = m_selection;
    initUI();
}

base::Ref<ui::Label> TradeRowCell::GenLabelWithText(const std::string &text, gfx::Rect frame,
                                                    base::Ref<gfx::Font> font,
                                                    base::Ref<gfx::Color> textColor, gfx::Align align,
                                                    base::Ref<gfx::Color> bgColor) {
    auto label = base::make<ui::Label>(frame);
    label->setText(text);
    if (font)
        label->setFont(std::move(font));
    label->setTextColor(std::move(textColor));
    label->setTextAlignment(align);
    label->setBackgroundColor(std::move(bgColor));
    contentView().addSubview(label);
    return label;
}

base::Ref<ui::Label> TradeRowCell::GenSerialLabel(float fontSize) {
    auto label = GenLabelWithText("", {}, gfx::Font::boldSystem(fontSize), gfx::Color::white(),
                                  gfx::Align::Center, rgb(87, 127, 128));
    label->setNumberOfLines(0);
    return label;
}

void TradeRowCell::placePair(ui::Label &caption, ui::Label &value, gfx::Rect frame) {
    caption.setFrame(frame);
    caption.setTextAlignment(gfx::Align::Left);
    // Right-aligned values keep clear of the row's edge.
    value.setFrame({frame.x(), frame.y(), frame.width() - 4, frame.height()});
    value.setTextAlignment(gfx::Align::Right);
}

void TradeRowCell::drawRect(gfx::Context &context, gfx::Rect dirty) {
    ui::TableCell::drawRect(context, dirty);
    context.save();
    base::Ref<gfx::Color> shadow = rgb(191, 191, 191);
    context.setShadow({0, 1}, 1, shadow.get());
    context.setStroke(*rgb(44, 175, 238));
    context.setLineWidth(1);
    context.beginPath();
    context.moveTo({0, 0.5f});
    context.lineTo({bounds().width(), 0.5f});
    context.strokePath();
    context.restore();
}
