#include "Class/Module/ToolBarView/AccountCheckView/AccountCheckView.h"

#include "Class/Module/ToolBarView/FullScrTradeBaseView/AccountFullScreenView.h"
#include "Class/Module/ToolBarView/TraderToolBarView.h"
#include "Common/Util.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"

#include "gfx/Font.h"

const AccountCheckView::Field AccountCheckView::kFields[kFieldCount] = {
    {"资金余额", "1077"}, {"可用资金", "1078"}, {"最新市值", "1065"},
    {"总资产", "1087"},   {"浮动盈亏", "1064"}, {"可取资金", "1079"},
};

base::Ref<gfx::Color> AccountCheckView::fundsColor() {
    return gfx::Color::rgba(255 / 255.f, 218 / 255.f, 160 / 255.f);
}

base::Ref<gfx::Color> AccountCheckView::fundsTextColor() {
    return gfx::Color::rgba(7 / 255.f, 24 / 255.f, 50 / 255.f);
}

void AccountCheckView::setUp() {
    TradeQueryPanel::setUp();
    m_moneyholdData->reqMoney();
    m_moneyholdData->reqHold();
}

std::vector<base::Ref<ui::Button>> AccountCheckView::MakeCurrencyTabs(ui::View &parent, const float (&xs)[3],
                                                                      const base::Weak<base::Object> &target,
                                                                      std::function<void(int)> action) {
    static const char *const names[] = {"人民币", "美元", "港元"};
    std::vector<base::Ref<ui::Button>> tabs;
    for (int i = 0; i < 3; ++i) {
        auto tab = ui::Button::custom({xs[i], 40, 66, 25});
        tab->tag = kFirstTabTag + i;
        tab->setTitle(names[i]);
        tab->setTitleColor(gfx::Color::black());
        int tag = tab->tag;
        tab->addTarget(
            base::Action(target, "SwitchCurrencyTab", [action, tag](base::Object *) { action(tag); }),
            ui::TouchUpInside);
        parent.addSubview(tab);
        tabs.push_back(tab);
    }
    MarkCurrencyTab(parent, kFirstTabTag);
    return tabs;
}

void AccountCheckView::MarkCurrencyTab(ui::View &parent, int tag) {
    for (int i = 0; i < 3; ++i) {
        auto *tab = dynamic_cast<ui::Button *>(parent.viewWithTag(kFirstTabTag + i));
        if (!tab)
            continue;
        bool marked = tab->tag == tag;
        tab->setEnabled(!marked);
        tab->setBackgroundColor(marked ? fundsColor() : gfx::Color::white());
    }
}

void AccountCheckView::initUI(gfx::Rect frame) {
    float w = frame.width();
    buildPanel(frame, 160, w - 110, w - 103, w - 53, 192, kRowHeight);
    base::Weak<AccountCheckView> weak = weakSelf<AccountCheckView>();
    MakeCurrencyTabs(*this, {0, 66, 132}, weakSelf<base::Object>(), [weak](int tag) {
        if (auto alive = weak.lock())
            alive->SwitchCurrencyTab(tag);
    });
    auto block = base::make<ui::View>(gfx::Rect{0, 65, w, 90});
    block->setBackgroundColor(fundsColor());
    addSubview(block);
    for (int i = 0; i < kFieldCount; ++i)
        GenerateValueField({w / 4 * 2 * float(i % 2), 65 + 30 * float(i / 2), w / 4, 30}, kFields[i].caption,
                           kFirstValueTag + i);
    m_moneyholdData = TradeDataLayerBase::create<MoneyHoldData>(kObserverName);
    m_moneyholdData->setDelegate(std::static_pointer_cast<MoneyHoldDataDelegate>(self<AccountCheckView>()));
}

void AccountCheckView::GenerateValueField(gfx::Rect rect, const char *fieldName, int tag) {
    auto caption = base::make<ui::Label>(rect);
    caption->setText(fieldName);
    caption->setFont(gfx::Font::boldSystem(14));
    caption->setTextAlignment(gfx::Align::Center);
    caption->setBackgroundColor(gfx::Color::clear());
    caption->setTextColor(fundsTextColor());
    auto value =
        base::make<ui::Label>(gfx::Rect{rect.x() + rect.width(), rect.y(), rect.width(), rect.height()});
    value->tag = tag;
    value->setText("0.00");
    value->setFont(gfx::Font::system(11));
    value->setTextAlignment(gfx::Align::Left);
    value->setBackgroundColor(gfx::Color::clear());
    value->setTextColor(fundsTextColor());
    addSubview(caption);
    addSubview(value);
}

void AccountCheckView::SetMoneyInfo(const base::Array &moneyArray, int currency, ui::View &parentView) {
    const base::Dict *match = nullptr;
    for (const base::Value &row : moneyArray)
        if (const base::Dict *dict = row.dict(); dict && dict->get("1028").intValue() == currency) {
            match = dict;
            break;
        }
    for (int i = 0; i < kFieldCount; ++i) {
        auto *label = dynamic_cast<ui::Label *>(parentView.viewWithTag(kFirstValueTag + i));
        if (!label)
            continue;
        const base::Value *value = match ? match->find(kFields[i].key) : nullptr;
        label->setText(value ? value->stringValue() : "--");
    }
}

void AccountCheckView::SwitchCurrencyTab(int tag) {
    if (tag < kFirstTabTag || tag >= kFirstTabTag + 3)
        return;
    MarkCurrencyTab(*this, tag);
    m_selectedCurrency = tag - kFirstTabTag;
    SetMoneyInfo(m_moneyArray, m_selectedCurrency, *this);
}

base::Opt<void> AccountCheckView::UpdateMoneyArray(const std::optional<base::Array> &funds) {
    m_moneyArray = funds ? *funds : base::Array();
    // The user may have marked another currency while the funds were on their way.
    SetMoneyInfo(m_moneyArray, m_selectedCurrency, *this);
    return {};
}

base::Opt<void> AccountCheckView::UpdateHoldArray(const std::optional<base::Array> &rows,
                                                  const std::string &pageInfo) {
    showPage(rows, pageInfo);
    return {};
}

base::Opt<void> AccountCheckView::StartWaitingAlert() {
    TradeBaseView::StartWaitingAlert();
    return {};
}

base::Opt<void> AccountCheckView::StopWaitingAlert() {
    TradeBaseView::StopWaitingAlert();
    return {};
}

base::Ref<ui::TableCell> AccountCheckView::cellForRow(ui::TableView &table, ui::IndexPath path) {
    auto cell = std::dynamic_pointer_cast<AccountCell>(table.dequeueReusableCell(kCellIdentifier));
    if (!cell) {
        cell = base::make<AccountCell>(kCellIdentifier);
        cell->delegate = std::static_pointer_cast<AccountCellDelegate>(self<AccountCheckView>());
    }
    base::Dict row = rowAt(path.row);
    cell->indexPath = path;
    cell->noLabel->setText(serialText(path.row));
    cell->nameLabel->setText(row.get("1037").stringValue());
    cell->codeLabel->setText(row.get("1036").stringValue());
    cell->valueLabel->setText(Util::objectForKey("1181", row).stringValue());
    cell->amountLabel->setText(Util::objectForKey("1060", row).stringValue());
    cell->blockLabel->setText(Util::objectForKey("1052", row).stringValue());
    cell->sellLabel->setText(Util::objectForKey("1061", row).stringValue());
    cell->costLabel->setText(Util::objectForKey("1062", row).stringValue());
    return cell;
}

void AccountCheckView::didSelectRow(ui::IndexPath path) {
    base::Dict row = rowAt(path.row);
    std::string market;
    if (base::Ref<TradeNetDataCenter> net = TradeDataBase::sharedTradeDataBase()->IO_TradeNetData())
        market = net->getExchangeStr(row.get("1019").stringValue());
    TradeMsgCenter::sharedTradeMsgCenter()->SwitchToStock(market + row.get("1036").stringValue());
}

base::Opt<void> AccountCheckView::SellBtnAction(ui::Button *, ui::IndexPath indexPath) {
    base::Ref<AccountCheckView> keep = self<AccountCheckView>();
    auto bar = std::dynamic_pointer_cast<TraderToolBarView>(toolBarView.lock());
    if (!bar)
        return {};
    base::Dict row = rowAt(indexPath.row);
    bar->PopSpecialTradeModel(kSellPanelIndex);
    bar->SetTradeCode(row.get("1036").stringValue(), row.get("1037").stringValue(),
                      Util::objectForKey("1181", row).stringValue(),
                      Util::objectForKey("1061", row).stringValue());
    return {};
}

void AccountCheckView::FullScreenAction() {
    auto view = base::make<AccountFullScreenView>(kFullScreenFrame);
    view->ownerViewHandler = weakSelf<TradeBaseView>();
    view->titleLabel()->setText(titleLabel() ? titleLabel()->text() : std::string());
    view->SetMoneyArray(m_moneyArray);
    view->initHoldData(*m_moneyholdData);
    presentFullScreen(view);
}

base::Ref<AccountFullScreenView> AccountCheckView::accountFullScrView() const {
    return std::dynamic_pointer_cast<AccountFullScreenView>(fullScreenView());
}
