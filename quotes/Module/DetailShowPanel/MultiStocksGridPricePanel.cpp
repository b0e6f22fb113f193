#include "Module/DetailShowPanel/MultiStocksGridPricePanel.h"

#include "gfx/Font.h"
#include "gfx/Image.h"

#include <cmath>

namespace {

base::Ref<ui::Label> makeLabel(base::Ref<gfx::Color> color, gfx::Align alignment, float fontSize = 0) {
    auto label = base::make<ui::Label>();
    label->setTextColor(std::move(color));
    label->setBackgroundColor(gfx::Color::clear());
    label->setTextAlignment(alignment);
    if (fontSize > 0)
        label->setFont(gfx::Font::boldSystem(fontSize));
    return label;
}

base::Ref<gfx::Color> rgb(int r, int g, int b) {
    return gfx::Color::rgba(float(r) / 255, float(g) / 255, float(b) / 255);
}

} // namespace

MultiStocksGridPricePanel::MultiStocksGridPricePanel(gfx::Rect frame) : ui::View(frame) {
    nameLabel = makeLabel(rgb(244, 216, 57), gfx::Align::Center);
    codeLabel = makeLabel(rgb(192, 223, 255), gfx::Align::Center, 14);
    lastLabel = makeLabel(gfx::Color::white(), gfx::Align::Right);
    rangeLabel = makeLabel(gfx::Color::white(), gfx::Align::Right, 14);
    exchangeNameLabel = makeLabel(gfx::Color::white(), gfx::Align::Right, 12);
    exchangeNameLabel->setText("换手");
    exchangeLabel = makeLabel(gfx::Color::white(), gfx::Align::Right);
    volNameLabel = makeLabel(gfx::Color::white(), gfx::Align::Right, 12);
    volNameLabel->setText("总手");
    volLabel = makeLabel(gfx::Color::white(), gfx::Align::Right);
    upDownImgView = base::make<ui::ImageView>();
    for (const base::Ref<ui::Label> &label : {nameLabel, codeLabel, lastLabel, rangeLabel, exchangeNameLabel,
                                              exchangeLabel, volNameLabel, volLabel})
        addSubview(label);
    addSubview(upDownImgView);
}

void MultiStocksGridPricePanel::layoutSubviews() {
    const float w = bounds().width(), h = bounds().height();
    const float x = w / 4.5f, a = (w - ArrowSize - 2 * x) / 2;
    const float top = 10, lower = h / 2 + 15;
    nameFontSize = x / 4.5f;
    lastFontSize = x / 5;
    nameLabel->setFont(gfx::Font::boldSystem(nameFontSize));
    for (ui::Label *label : {lastLabel.get(), exchangeLabel.get(), volLabel.get()})
        label->setFont(gfx::Font::boldSystem(lastFontSize));

    nameLabel->setFrame({5, top, x, 2 * h / 3});
    codeLabel->setFrame({5, lower, x, h / 2});
    // The percentage ends where the arrow begins, so the arrow never covers its last digit.
    rangeLabel->setFrame({x, top, x - ArrowOverlap, h / 2});
    lastLabel->setFrame({x, lower, x, h / 2});
    upDownImgView->setFrame({2 * x - ArrowOverlap, top, ArrowSize, ArrowSize});
    exchangeNameLabel->setFrame({2 * x, top, a, h / 2});
    exchangeLabel->setFrame({2 * x, lower, a, h / 2});
    volNameLabel->setFrame({2 * x + a, top, a, h / 2});
    volLabel->setFrame({2 * x + a, lower, a, h / 2});
}

void MultiStocksGridPricePanel::SetUpDown(float change) {
    if (std::isnan(change))
        return;
    const char *image = change > 0 ? "up.png" : change < 0 ? "down.png" : "equal.png";
    auto color = change > 0   ? gfx::Color::rgba(1, 0, 0)
                 : change < 0 ? gfx::Color::rgba(0, 1, 0)
                              : gfx::Color::white();
    upDownImgView->setImage(gfx::Image::named(image));
    lastLabel->setTextColor(color);
    rangeLabel->setTextColor(std::move(color));
}
