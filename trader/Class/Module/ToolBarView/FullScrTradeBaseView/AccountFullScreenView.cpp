#include "Class/Module/ToolBarView/FullScrTradeBaseView/AccountFullScreenView.h"

#include "Class/Module/ToolBarView/AccountCheckView/AccountCheckView.h"
#include "Module/CommonControls/GeneralCell/GeneralCell.h"

#include "gfx/Font.h"

void AccountFullScreenView::initUI(gfx::Rect frame) {
    float w = frame.width(), h = frame.height();
    GenTitleBar({0, 0, w, 40});
    base::Weak<AccountFullScreenView> weak = weakSelf<AccountFullScreenView>();
    AccountCheckView::MakeCurrencyTabs(*this, {0, 71, 142}, weakSelf<base::Object>(), [weak](int tag) {
        if (auto alive = weak.lock())
            alive->SwitchCurrencyTab(tag);
    });
    auto strip = base::make<ui::View>(gfx::Rect{0, 65, w, 50});
    strip->setBackgroundColor(AccountCheckView::fundsColor());
    addSubview(strip);
    for (int i = 0; i < AccountCheckView::kFieldCount; ++i)
        GenerateValueField({w / 6 * float(i), 65, w / 6, 20}, AccountCheckView::kFields[i].caption,
                           AccountCheckView::kFirstValueTag + i);
    buildTable(120, 158, h - 158);
    m_moneyholdData = TradeDataLayerBase::create<MoneyHoldData>(kObserverName);
    m_moneyholdData->setDelegate(
        std::static_pointer_cast<MoneyHoldDataDelegate>(self<AccountFullScreenView>()));
}

void AccountFullScreenView::GenerateValueField(gfx::Rect rect, const char *fieldName, int tag) {
    auto caption = base::make<ui::Label>(rect);
    caption->setText(fieldName);
    caption->setFont(gfx::Font::boldSystem(14));
    caption->setTextAlignment(gfx::Align::Center);
    caption->setBackgroundColor(gfx::Color::clear());
    caption->setTextColor(AccountCheckView::fundsTextColor());
    auto value = base::make<ui::Label>(gfx::Rect{rect.x(), rect.y() + 20, rect.width(), 30});
    value->tag = tag;
    value->setText("--");
    value->setFont(gfx::Font::system(11));
    value->setTextAlignment(gfx::Align::Center);
    value->setBackgroundColor(gfx::Color::clear());
    value->setTextColor(AccountCheckView::fundsTextColor());
    addSubview(caption);
    addSubview(value);
}

ui::Label *AccountFullScreenView::valueLabel(int field) {
    return dynamic_cast<ui::Label *>(viewWithTag(AccountCheckView::kFirstValueTag + field));
}

void AccountFullScreenView::SetMoneyArray(const base::Array &moneyArray) {
    m_moneyArray = moneyArray;
    AccountCheckView::SetMoneyInfo(m_moneyArray, 0, *this);
}

void AccountFullScreenView::initHoldData(const MoneyHoldData &panelData) {
    m_moneyholdData->CopyFromDealData(panelData);
    showTakenOver(TradeNetDataCenter::kHoldList);
}

void AccountFullScreenView::SwitchCurrencyTab(int tag) {
    if (tag < AccountCheckView::kFirstTabTag || tag >= AccountCheckView::kFirstTabTag + 3)
        return;
    AccountCheckView::MarkCurrencyTab(*this, tag);
    AccountCheckView::SetMoneyInfo(m_moneyArray, tag - AccountCheckView::kFirstTabTag, *this);
}

base::Opt<void> AccountFullScreenView::UpdateHoldArray(const std::optional<base::Array> &rows,
                                                       const std::string &pageInfo) {
    showPage(rows, pageInfo);
    return {};
}

void AccountFullScreenView::styleCell(GeneralCell &cell, bool fresh, int row) {
    // The holdings keep their orange codes; the rows take the dark stripes of the other tables,
    // since black text would vanish on the pattern behind clear rows.
    if (fresh) {
        cell.cellCodeColor = gfx::Color::rgba(218 / 255.f, 116 / 255.f, 25 / 255.f);
        cell.SetFormatArray(columnArray());
    }
    stripe(cell, row);
}
