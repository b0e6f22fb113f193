#include "Class/Module/ToolBarView/TransAccountView/TransferCell.h"

#include "Class/Module/ToolBarView/TransAccountView/TransferRules.h"
#include "Common/UtilUI.h"

#include "gfx/Font.h"

TransferCell::TransferCell(std::string reuseIdentifier) : TradeRowCell(std::move(reuseIdentifier)) {}

void TransferCell::setUp() {
    TradeRowCell::setUp();
    selectionStyle = Selection::None;
    setBackgroundColor(gfx::Color::pattern(UtilUI::imageNamed("sellbtn_bg.png")));
    initUI();
}

void TransferCell::initUI() {
    auto black = gfx::Color::black();
    auto clear = gfx::Color::clear();
    auto left = gfx::Align::Left, centre = gfx::Align::Center;
    nameLabel = GenLabelWithText("", {}, nullptr, black, left, clear);
    dateLabel = GenLabelWithText("", {}, gfx::Font::system(12), black, left, clear);
    timeLabel = GenLabelWithText("", {}, gfx::Font::system(12), black, left, clear);
    currencyLabel = GenLabelWithText("", {}, gfx::Font::system(13), black, centre, clear);
    amountLabel = GenLabelWithText("", {}, gfx::Font::system(13), black, centre, clear);
    busiLabel = GenLabelWithText("", {}, gfx::Font::system(12), black, left, clear);
    busiLabel->setNumberOfLines(0);
    stateLabel = GenLabelWithText("", {}, gfx::Font::system(13), black, left, clear);
    stateLabel->setNumberOfLines(0);
    infoLabel = GenLabelWithText("", {}, gfx::Font::system(14), black, left, rgb(255, 217, 114, 0.2f));
}

void TransferCell::layoutSubviews() {
    TradeRowCell::layoutSubviews();
    float w = bounds().width(), b = bounds().height() - kInfoHeight;
    nameLabel->setFrame({0, 0, w / 3, 2 * b / 3});
    dateLabel->setFrame({0, 2 * b / 3, w / 6 + 20, b / 3});
    timeLabel->setFrame({w / 6 + 10, 2 * b / 3, w / 6, b / 3});
    currencyLabel->setFrame({w / 3, 0, w / 3 - 20, b / 2});
    amountLabel->setFrame({w / 3, b / 2, w / 3 - 20, b / 2});
    busiLabel->setFrame({2 * w / 3 - 20, 0, w / 3 - 30, b});
    stateLabel->setFrame({w - 70, 0, 70, b});
    infoLabel->setFrame({0, b, w, kInfoHeight});
}

void TransferCell::fill(const base::Dict &row) {
    nameLabel->setText(row.get(transfer::kBankName).stringValue());
    dateLabel->setText(row.get("1045").stringValue());
    timeLabel->setText(row.get("1046").stringValue());
    currencyLabel->setText(transfer::historyCurrency(row));
    amountLabel->setText(row.get("1192").stringValue());
    busiLabel->setText(row.get("1083").stringValue());
    infoLabel->setText(transfer::historyInfo(row));
    stateLabel->setText(row.get("1043").stringValue());
}
