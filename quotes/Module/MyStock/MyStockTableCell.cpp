#include "Module/MyStock/MyStockTableCell.h"

#include "gfx/Font.h"

MyStockTableCell::MyStockTableCell(Style style, std::string reuseIdentifier, gfx::Rect frame)
    : StockModelCell(style, std::move(reuseIdentifier), frame) {
    StockNameLabel().setTextColor(gfx::Color::rgba(244 / 255.f, 216 / 255.f, 57 / 255.f));
    StockNameLabel().setTextAlignment(gfx::Align::Center);
    StockCodeLabel().setTextColor(gfx::Color::rgba(192 / 255.f, 223 / 255.f, 1));
    StockCodeLabel().setTextAlignment(gfx::Align::Center);
    placeNameBlock();
}

void MyStockTableCell::layoutSubviews() {
    StockModelCell::layoutSubviews();
    placeNameBlock();
}

void MyStockTableCell::placeNameBlock() {
    float h = bounds().height();
    StockNameLabel().setFrame({NameX, h / 6, NameWidth, h / 3});
    StockCodeLabel().setFrame({NameX, h / 2, NameWidth, h / 3});
}
