#include "Class/Module/ToolBarView/TradeView/TradeView.h"

#include "Common/Util.h"
#include "Common/UtilUI.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"
#include "Module/NavToolBarModule/SearchMyStockPopover/StockSearchRule.h"

#include "base/NotificationCenter.h"
#include "base/Str.h"
#include "gfx/Font.h"
#include "ui/NavigationController.h"

#include <climits>
#include <cstdlib>

namespace {

constexpr const char *kNone = "--";
constexpr int kBookLevels = 5;
constexpr int kPriceDecimals = 3;
// Reply fields of the security: bid and ask volumes and prices of the five levels (1159 is no bid).
constexpr int kBidVolumes[] = {1151, 1152, 1153, 1154, 1155};
constexpr int kAskVolumes[] = {1162, 1163, 1164, 1165, 1166};
constexpr int kBidPrices[] = {1156, 1157, 1158, 1160, 1161};
constexpr int kAskPrices[] = {1167, 1168, 1169, 1170, 1171};

std::string field(const base::Dict &row, int tag) {
    return row.get(std::to_string(tag)).stringValue();
}

int number(const std::string &text) {
    return std::atoi(text.c_str());
}

// Characters of UTF-8 text.
size_t characters(std::string_view text) {
    size_t count = 0;
    for (char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

base::Ref<ui::Label> label(gfx::Rect frame, const std::string &text, base::Ref<gfx::Color> colour) {
    auto l = base::make<ui::Label>(frame);
    l->setBackgroundColor(gfx::Color::clear());
    l->setTextColor(std::move(colour));
    l->setText(text);
    return l;
}

base::Ref<ui::TextField> formField(gfx::Rect frame, int tag, const char *placeholder, bool numbers) {
    auto field = base::make<ui::TextField>(frame);
    field->tag = tag;
    field->setPlaceholder(placeholder);
    field->setBackgroundColor(gfx::Color::white());
    field->setTextColor(gfx::Color::black());
    field->setFont(gfx::Font::system(14));
    field->setContentVerticalAlignment(ui::TextField::VAlign::Center);
    if (numbers)
        field->keyboardType = ui::TextField::Keyboard::NumberPad;
    return field;
}

} // namespace

// The code field's edits: at most six characters; leaving it loads the code.
struct TradeView::FieldRelay : ui::TextFieldDelegate {
    base::Weak<TradeView> panel;
    base::Opt<bool> shouldChange(ui::TextField &field, ui::Range range, const std::string &text) override {
        size_t length = characters(field.text());
        size_t replaced = std::min(range.length, length);
        return range.location < kCodeLength && length - replaced + characters(text) <= kCodeLength;
    }
    base::Opt<void> didEndEditing(ui::TextField &) override {
        if (auto p = panel.lock())
            p->codeEditingEnded();
        return {};
    }
};

// A popover closed by a tap outside it is released.
struct TradeView::PopoverRelay : ui::PopoverDelegate {
    base::Weak<TradeView> panel;
    base::Opt<void> didDismiss(ui::Popover &popover) override {
        if (auto p = panel.lock())
            p->popoverClosed(popover);
        return {};
    }
};

struct TradeView::AlertRelay : ui::AlertDelegate {
    base::Weak<TradeView> panel;
    base::Opt<void> clicked(ui::Alert &alert, int index) override {
        if (auto p = panel.lock(); p && alert.tag == kConfirmTag && index == 1)
            p->confirmed();
        return {};
    }
    // Lines after the title read from the left.
    base::Opt<void> willPresent(ui::Alert &alert) override {
        if (alert.tag == kConfirmTag)
            alert.messageLabel().setTextAlignment(gfx::Align::Left);
        return {};
    }
};

TradeView::TradeView(gfx::Rect frame) : TradeBaseView(frame) {}

TradeView::~TradeView() {
    base::NotificationCenter::shared().removeObserver(this);
    if (m_WT_Timer)
        m_WT_Timer->invalidate();
    for (const base::Ref<ui::Popover> &popover : {m_searchPopover, m_accountPopover})
        if (popover)
            popover->dismiss(false);
}

base::Ref<TradeNetDataCenter> TradeView::netData() {
    return TradeDataBase::sharedTradeDataBase()->IO_TradeNetData();
}

int32_t TradeView::PriceThousandths(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), INT32_MAX);
    value *= 1000;
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (int64_t scale = 100; scale > 0 && i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
            value += (text[i] - '0') * scale, scale /= 10;
        if (i < text.size() && text[i] >= '5' && text[i] <= '9')
            ++value;
    }
    value = std::min<int64_t>(value, INT32_MAX);
    return int32_t(negative ? -value : value);
}

// ---------------------------------------------------------------------------------------------
// Creation

void TradeView::initData() {
    base::Weak<TradeView> weak = weakSelf<TradeView>();
    base::NotificationCenter::shared().addObserver(weak, kObserverName, [weak](const base::Notification &n) {
        if (auto alive = weak.lock())
            TradeDataBase::ProcRecvNotify(n, *alive);
    });
    m_curStockInf = base::make<StockBasicInf>();
    m_curAccountType = m_curExchangeNum = -1;
    m_accountArray = netData()->IO_AccountArray();
    m_fieldRelay = base::make<FieldRelay>();
    m_fieldRelay->panel = weak;
    m_popoverRelay = base::make<PopoverRelay>();
    m_popoverRelay->panel = weak;
    m_alertRelay = base::make<AlertRelay>();
    m_alertRelay->panel = weak;
}

void TradeView::initUI(gfx::Rect frame) {
    GenTitleBar({0, 0, frame.width(), kTitleBarHeight});
    zoomInButton()->setHidden(true);
    titleLabel()->setFrame({40, 3, 180, 34});
    closeButtonDismisses();
    setBackgroundColor(gfx::Color::pattern(UtilUI::imageNamed("trader_bg.png")));
    buildForm();
    SetTradeType(m_buySellType);
    netData()->RequestMoneyList(std::string(kObserverName));
    StartWaitingAlert();
    if (!m_accountArray.empty())
        chooseAccount(0);
    base::Ref<TradeMsgCenter> center = TradeMsgCenter::sharedTradeMsgCenter();
    if (!center->currentProdCode().empty()) {
        m_codeField->setText(center->currentProdCode());
        changeStockCode(center->currentProdCode());
    }
    center->setTradeViewHandle(weakSelf<TradeView>());
}

void TradeView::buildForm() {
    base::Weak<TradeView> weak = weakSelf<TradeView>();
    auto wire = [&](ui::Button &button, const char *name, std::function<void(TradeView &)> act) {
        button.addTarget(base::Action(name,
                                      [weak, act](base::Object *) {
                                          if (auto alive = weak.lock())
                                              act(*alive);
                                      }),
                         ui::TouchUpInside);
    };
    m_accountBtn = ui::Button::custom({10, 51, 240, 43});
    m_accountBtn->setBackgroundImage(UtilUI::imageNamed("btn_gray.png"));
    m_accountBtn->setTitleColor(gfx::Color::white());
    wire(*m_accountBtn, "accountAction", [](TradeView &p) { p.accountAction(); });

    m_codeField = formField({10, 102, 120, 28}, kCodeTag, "股票代码/简拼", false);
    m_codeField->delegate = m_fieldRelay;
    base::NotificationCenter::shared().addObserver(weak, ui::TextField::TextDidChangeNotification,
                                                   [weak](const base::Notification &n) {
                                                       auto alive = weak.lock();
                                                       if (alive && n.object == alive->m_codeField)
                                                           alive->codeTextChanged();
                                                   });
    m_nameLabel = label({140, 102, 110, 28}, kNone, gfx::Color::white());
    m_nameLabel->setTextAlignment(gfx::Align::Center);
    m_priceField = formField({10, 138, 240, 28}, kPriceTag, "委托价格", true);
    m_volumeLine = label({10, 174, 240, 28}, "", gfx::Color::darkGray());
    m_volumeLine->tag = kVolumeLineTag;
    m_volumeField = formField({41, 210, 178, 28}, kVolumeTag, "委托数量", true);
    m_subBtn = ui::Button::custom({10, 210, 28, 28});
    m_subBtn->tag = kSubTag;
    m_subBtn->setBackgroundImage(UtilUI::imageNamed("subVol.png"));
    wire(*m_subBtn, "volumeStepAction", [](TradeView &p) { p.volumeStepAction(kSubTag); });
    m_addBtn = ui::Button::custom({222, 210, 28, 28});
    m_addBtn->tag = kAddTag;
    m_addBtn->setBackgroundImage(UtilUI::imageNamed("addVol.png"));
    wire(*m_addBtn, "volumeStepAction", [](TradeView &p) { p.volumeStepAction(kAddTag); });
    m_fundsLine = label({10, 246, 240, 28}, "可用资金: --", gfx::Color::darkGray());
    m_fundsLine->tag = kFundsLineTag;
    m_tradeBtn = ui::Button::custom({10, 282, 240, 28});
    m_tradeBtn->tag = kOrderTag;
    m_tradeBtn->setTitleColor(gfx::Color::white());
    wire(*m_tradeBtn, "tradeAction", [](TradeView &p) { p.tradeAction(); });

    m_buySellPanelView = base::make<BuySellPanelView>(gfx::Rect{10, 354, 240, 177});
    m_buySellPanelView->SetBuySellNum(kBookLevels);
    m_buySellPanelView->delegate = weak;
    m_buySellPanelView->clearView();

    m_upLimitLabel = label({58, 539, 72, 28}, kNone, gfx::Color::red());
    m_downLimitLabel = label({178, 539, 72, 28}, kNone, gfx::Color::green());
    for (const base::Ref<ui::View> &view : std::initializer_list<base::Ref<ui::View>>{
             m_accountBtn, m_codeField, m_nameLabel, m_priceField, m_volumeLine, m_subBtn, m_volumeField,
             m_addBtn, m_fundsLine, m_tradeBtn, m_buySellPanelView,
             label({10, 539, 48, 28}, "涨停:", gfx::Color::white()), m_upLimitLabel,
             label({130, 539, 48, 28}, "跌停:", gfx::Color::white()), m_downLimitLabel})
        addSubview(view);
}

void TradeView::SetTradeType(uint16_t type) {
    m_buySellType = type == kSell ? kSell : kBuy;
    if (!m_tradeBtn)
        return;
    bool buy = m_buySellType == kBuy;
    m_tradeBtn->setTitle(buy ? "买入" : "卖出");
    m_tradeBtn->setBackgroundColor(buy ? gfx::Color::rgba(255 / 255.f, 85 / 255.f, 61 / 255.f)
                                       : gfx::Color::rgba(75 / 255.f, 163 / 255.f, 255 / 255.f));
    showVolume(kNone);
}

void TradeView::chooseAccount(int index) {
    if (index < 0 || size_t(index) >= m_accountArray.size())
        return;
    m_cruSelAccount = index;
    m_accountStr = field(*m_accountArray[size_t(index)].dict(), 1019);
    m_accountBtn->setTitle(m_accountStr);
}

// ---------------------------------------------------------------------------------------------
// The security

void TradeView::SetTradeProdCode(const std::string &code) {
    m_codeField->setText(code);
    changeStockCode(code);
}

void TradeView::SetTradeCode(const std::string &code, const std::string &name, const std::string &price,
                             const std::string &) {
    m_codeField->setText(code);
    m_nameLabel->setText(name);
    m_priceField->setText(price);
    changeStockCode(code);
}

void TradeView::codeTextChanged() {
    const std::string &text = m_codeField->text();
    if (characters(text) < kCodeLength)
        forgetSecurity();
    if (text.empty()) {
        closeSearchPopover();
        return;
    }
    m_searchResultArray = StockSearchRule::search(text, StockSearchRule::OverlaySearch);
    if (!m_searchList) {
        m_searchList = base::make<SearchStockListController>();
        m_searchList->delegate = weakSelf<TradeView>();
    }
    m_searchList->SetTableDataArray(m_searchResultArray);
    if (!m_searchPopover) {
        m_searchPopover = base::make<ui::Popover>(m_searchList);
        m_searchPopover->delegate = m_popoverRelay;
    }
    m_searchPopover->presentFromRect(m_codeField->frame(), *this, ui::ArrowUp, true);
}

void TradeView::codeEditingEnded() {
    changeStockCode(m_codeField->text());
}

base::Opt<void> TradeView::ReturnSelectedStock(const std::string &code) {
    m_codeField->setText(Util::getNumCode(code));
    closeSearchPopover();
    changeStockCode(m_codeField->text());
    return {};
}

void TradeView::closeSearchPopover() {
    if (auto popover = std::exchange(m_searchPopover, nullptr))
        popover->dismiss(true);
    m_searchList.reset();
}

void TradeView::popoverClosed(ui::Popover &popover) {
    if (m_searchPopover.get() == &popover) {
        m_searchPopover.reset();
        m_searchList.reset();
    } else if (m_accountPopover.get() == &popover) {
        m_accountPopover.reset();
    }
}

void TradeView::changeStockCode(const std::string &code) {
    if (code.size() != kCodeLength || characters(code) != kCodeLength) {
        forgetSecurity();
        return;
    }
    if (code == m_curInputCode)
        return;
    // The shown security is not this one: no order may carry its exchange or type.
    m_curInputCode = code;
    m_shownCode.clear();
    m_curAccountType = m_curExchangeNum = -1;
    netData()->RequestStockInfo(std::string(kObserverName), 0, code);
}

void TradeView::forgetSecurity() {
    m_curInputCode.clear();
    m_shownCode.clear();
    m_curAccountType = m_curExchangeNum = -1;
    m_nameLabel->setText(kNone);
    m_priceField->setText("");
    m_upLimitLabel->setText(kNone);
    m_downLimitLabel->setText(kNone);
    showVolume(kNone);
    m_curStockInf->clear();
    m_buySellPanelView->clearView();
}

void TradeView::clearForm() {
    forgetSecurity();
    m_codeField->setText("");
    m_volumeField->setText("");
}

std::string TradeView::priceText(int32_t thousandths) const {
    return Util::FormatPrice(thousandths, kPriceDecimals);
}

void TradeView::showSecurity(const base::Dict &row) {
    StockBasicInf &record = *m_curStockInf;
    record.clear();
    record.code = field(row, 1036);
    std::string name = field(row, 1037);
    record.name = name.empty() ? kNone : name;
    record.decimal = kPriceDecimals;
    for (int level = 0; level < kBookLevels; ++level) {
        record.buyVol[size_t(level)] = number(field(row, kBidVolumes[level]));
        record.sellVol[size_t(level)] = number(field(row, kAskVolumes[level]));
        record.buyPrice[size_t(level)] = PriceThousandths(field(row, kBidPrices[level]));
        record.sellPrice[size_t(level)] = PriceThousandths(field(row, kAskPrices[level]));
    }
    record.highprice = PriceThousandths(field(row, 1172));
    record.lowprice = PriceThousandths(field(row, 1173));
    record.closeprice = PriceThousandths(field(row, 1178));
    record.newprice = PriceThousandths(field(row, 1181));
    m_curExchangeNum = number(field(row, 1003));
    m_curAccountType = number(field(row, 1021));
    m_shownCode = m_curInputCode;
    pickAccountFor(m_curAccountType);

    m_nameLabel->setText(record.name);
    int32_t best = m_buySellType == kBuy ? record.sellPrice[0] : record.buyPrice[0];
    m_priceField->setText(priceText(best > 0 ? best : record.newprice));
    m_upLimitLabel->setText(priceText(record.highprice));
    m_downLimitLabel->setText(priceText(record.lowprice));
    m_buySellPanelView->SetBuySellData(m_curStockInf);
    requestVolume();
}

void TradeView::pickAccountFor(int accountType) {
    int firstOfType = -1;
    for (size_t i = 0; i < m_accountArray.size(); ++i) {
        const base::Dict *account = m_accountArray[i].dict();
        if (!account || number(field(*account, 1021)) != accountType || field(*account, 1021).empty())
            continue;
        if (field(*account, 1394) == "1") {
            chooseAccount(int(i));
            return;
        }
        if (firstOfType < 0)
            firstOfType = int(i);
    }
    chooseAccount(firstOfType);
}

void TradeView::requestVolume() {
    if (m_curInputCode.empty())
        return;
    if (m_buySellType == kSell) {
        netData()->RequestHoldList(std::string(kObserverName), m_curInputCode);
        return;
    }
    if (m_curAccountType == -1 || m_curExchangeNum == -1 || !m_curAvailableMoney ||
        m_priceField->text().empty())
        return;
    netData()->RequestCanBuySellVol(std::string(kObserverName), m_curAccountType, m_accountStr,
                                    m_curExchangeNum, m_curInputCode, m_priceField->text(),
                                    *m_curAvailableMoney, kBuy);
}

void TradeView::showVolume(const std::string &volume) {
    m_volumeLine->setText(base::str::format("可%@数量: %@", m_buySellType == kBuy ? "买" : "卖", volume));
}

// ---------------------------------------------------------------------------------------------
// The form's controls

base::Opt<void> TradeView::ReturnSelBuySellValue(const std::string &price) {
    if (price != kNone)
        m_priceField->setText(price);
    return {};
}

void TradeView::volumeStepAction(int tag) {
    long volume = std::atol(m_volumeField->text().c_str()) + (tag == kAddTag ? kVolumeStep : -kVolumeStep);
    m_volumeField->setText(std::to_string(std::max(volume, 0L)));
}

void TradeView::accountAction() {
    if (auto popover = std::exchange(m_accountPopover, nullptr))
        popover->dismiss(false);
    if (m_accountArray.empty()) {
        Util::ShowInfoBox("未能查询到股东账号！", "提示");
        return;
    }
    auto picker = base::make<AccountSelViewController>();
    picker->setTitle("选择账号");
    picker->delegate = weakSelf<TradeView>();
    picker->SetDataArray(m_accountArray, std::max(m_cruSelAccount, 0));
    m_accountPopover = base::make<ui::Popover>(base::make<ui::NavigationController>(picker));
    m_accountPopover->delegate = m_popoverRelay;
    m_accountPopover->presentFromRect(m_accountBtn->frame(), *this, ui::ArrowRight, true);
}

base::Opt<void> TradeView::ReturnSelectedValueDict(const base::Dict &row, int index) {
    m_curAccountType = number(field(row, 1021));
    m_accountStr = field(row, 1019);
    m_accountBtn->setTitle(m_accountStr);
    m_cruSelAccount = index;
    return {};
}

// ---------------------------------------------------------------------------------------------
// Placing an order

void TradeView::tradeAction() {
    changeStockCode(m_codeField->text());
    const char *refusal = nullptr;
    if (m_accountStr.empty())
        refusal = "没有股东账号不能交易。";
    else if (characters(m_codeField->text()) != kCodeLength)
        refusal = "股票代码须为完整 6 位。";
    else if (m_priceField->text().empty())
        refusal = "委托价格必须填写。";
    else if (m_volumeField->text().empty())
        refusal = "委托数量必须填写。";
    else if (m_codeField->text() != m_shownCode || m_curExchangeNum == -1 || m_curAccountType == -1)
        refusal = kNotReady;
    if (refusal) {
        Util::ShowInfoBox(refusal);
        return;
    }
    auto alert = base::make<ui::Alert>(m_buySellType == kBuy ? "委托买入" : "委托卖出", confirmationText(),
                                       m_alertRelay, std::string("返回"), std::vector<std::string>{"确定"});
    alert->tag = kConfirmTag;
    alert->show();
}

std::string TradeView::confirmationText() const {
    return "    股东帐号：" + m_accountStr + "\n" + "    股票名称：" + m_nameLabel->text() + "\n" +
           "    股票代码：" + m_codeField->text() + "\n" + "    委托数量：" + m_volumeField->text() + "\n" +
           "    委托价格：" + m_priceField->text() + "\n" + "        是否交易？\n";
}

void TradeView::confirmed() {
    netData()->RequestBuySell(std::string(kObserverName), m_curAccountType, m_accountStr, m_curExchangeNum,
                              m_codeField->text(), m_priceField->text(), m_volumeField->text(),
                              m_buySellType);
    clearForm();
    stopOrderTimer();
    // The timer holds no target: the panel ends with its slide-out, and the firing with it.
    base::Weak<TradeView> weak = weakSelf<TradeView>();
    m_WT_Timer =
        base::Timer::scheduled(kOrderTimeout, false, base::Action("orderTimedOut", [weak](base::Object *) {
                                   if (auto alive = weak.lock())
                                       alive->orderTimedOut();
                               }));
}

void TradeView::stopOrderTimer() {
    if (auto timer = std::exchange(m_WT_Timer, nullptr))
        timer->invalidate();
}

void TradeView::orderTimedOut() {
    m_WT_Timer.reset();
    auto alert = base::make<ui::Alert>("提示信息", "请求超时，请查询当日委托，确认是否成功提交",
                                       base::Weak<ui::AlertDelegate>(), std::string("确定"),
                                       std::vector<std::string>{});
    alert->show();
}

// ---------------------------------------------------------------------------------------------
// Replies

base::Opt<void> TradeView::OnTradeDataRsp(int reqType, const base::Ref<TradeRspData> &rspData,
                                          const std::optional<base::Dict> &) {
    // A panel sliding out hears nothing more: its successor may already be asking under the same name.
    if (!rspData || !isStartEnd())
        return {};
    if (!rspData->successRsp()) {
        StopWaitingAlert();
        if (reqType == TradeNetDataCenter::kBuySell)
            stopOrderTimer();
        if (reqType != TradeNetDataCenter::kCanBuySellVol)
            Util::ShowTipBox(rspData->getRspErrMsg().value_or(""));
        return {};
    }
    std::optional<base::Dict> first = rspData->getRspInfoInArray();
    switch (reqType) {
    case TradeNetDataCenter::kMoneyList:
        showFunds(*rspData);
        break;
    case TradeNetDataCenter::kStockInfo:
        if (first && !m_curInputCode.empty() && field(*first, 1036).find(m_curInputCode) != std::string::npos)
            showSecurity(*first);
        break;
    case TradeNetDataCenter::kHoldList:
        if (m_buySellType == kSell && first && !m_curInputCode.empty() &&
            field(*first, 1036) == m_curInputCode)
            showVolume(field(*first, 1061));
        break;
    case TradeNetDataCenter::kCanBuySellVol:
        if (m_buySellType == kBuy && first)
            showVolume(field(*first, 1061));
        break;
    case TradeNetDataCenter::kBuySell:
        orderAnswered(*rspData);
        break;
    default:
        break;
    }
    return {};
}

void TradeView::showFunds(const TradeRspData &rsp) {
    StopWaitingAlert();
    std::optional<base::Array> rows = rsp.getRspArray();
    m_curAvailableMoney.reset();
    if (rows && !rows->empty()) {
        const base::Value *chosen = &(*rows)[0];
        for (const base::Value &row : *rows)
            if (row.dict() && field(*row.dict(), 1028) == "0") {
                chosen = &row;
                break;
            }
        if (chosen->dict())
            m_curAvailableMoney = field(*chosen->dict(), 1078);
    }
    m_fundsLine->setText(base::str::format("可用资金: %@", m_curAvailableMoney.value_or(kNone)));
}

void TradeView::orderAnswered(TradeRspData &rsp) {
    stopOrderTimer();
    std::optional<base::Dict> first = rsp.getRspInfoInArray();
    Util::ShowTipBox(
        base::str::format("委托成功，委托编号：%@", first ? field(*first, 1042) : std::string()));
    m_volumeField->setText("");
}
