#include "Class/Module/ToolBarView/TransAccountView/TransferQueryView.h"

#include "Class/Module/ToolBarView/TransAccountView/TransferCell.h"
#include "Class/Module/ToolBarView/TransAccountView/TransferRules.h"
#include "Common/Util.h"
#include "DataBase/TradeDataBase/TradeDataBase.h"
#include "DataBase/WT/TradeInterface.h"

namespace {

constexpr float kButtonHeight = 43, kRowY = 96, kStripY = 130;

base::Ref<TradeNetDataCenter> session() {
    return TradeDataBase::sharedTradeDataBase()->IO_TradeNetData();
}

} // namespace

struct TransferQueryView::Table : ui::TableDataSource, ui::TableDelegate {
    base::Weak<TransferQueryView> view;

    int numberOfRows(ui::TableView &, int) override {
        auto v = view.lock();
        return v ? int(v->m_dataArray.size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto cell = std::dynamic_pointer_cast<TransferCell>(
            table.dequeueReusableCell(TransferCell::kReuseIdentifier));
        if (!cell)
            cell = base::make<TransferCell>(TransferCell::kReuseIdentifier);
        auto v = view.lock();
        if (v && path.row >= 0 && size_t(path.row) < v->m_dataArray.size())
            if (const base::Dict *row = v->m_dataArray[size_t(path.row)].dict())
                cell->fill(*row);
        return cell;
    }
    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override { return kRowHeight; }
    base::Opt<float> heightForHeader(ui::TableView &, int) override { return kHeaderHeight; }
};

void TransferQueryView::setUp() {
    TransferTabView::setUp();
    initUI(frame());
}

void TransferQueryView::initUI(gfx::Rect frame) {
    float w = frame.width(), h = frame.height();
    base::Weak<TransferQueryView> weak = weakSelf<TransferQueryView>();
    auto wire = [weak](ui::Button &button, const char *name, void (TransferQueryView::*act)()) {
        button.addTarget(base::Action(name,
                                      [weak, act](base::Object *) {
                                          if (auto alive = weak.lock())
                                              ((*alive).*act)();
                                      }),
                         ui::TouchUpInside);
    };
    setBackgroundColor(gfx::Color::clear());
    // The table lies behind every other control, so that an open calendar covers it.
    m_table = base::make<Table>();
    m_table->view = weak;
    m_tableView = base::make<ui::TableView>(gfx::Rect{0, kTableY, w, h - kTableY});
    m_tableView->setBackgroundColor(gfx::Color::clear());
    m_tableView->separatorStyle = ui::TableView::Separator::None;
    m_tableView->rowHeight = kRowHeight;
    m_tableView->dataSource = m_table;
    m_tableView->delegate = m_table;
    addSubview(m_tableView);

    m_bankBtn = pickerButton({10, 0, w - 20, kButtonHeight}, "选择银行");
    wire(*m_bankBtn, "changeBankAction", &TransferQueryView::changeBankAction);
    addSubview(m_bankBtn);
    m_currencyBtn = pickerButton({10, 48, w - 20, kButtonHeight}, "人民币");
    wire(*m_currencyBtn, "changeCurrAction", &TransferQueryView::changeCurrAction);
    addSubview(m_currencyBtn);
    m_searchBtn = ui::Button::custom({232, kRowY, 50, TradeDateRange::kButtonHeight});
    m_searchBtn->setTitle("查询");
    m_searchBtn->setBackgroundColor(gfx::Color::rgba(255 / 255.f, 185 / 255.f, 79 / 255.f));
    wire(*m_searchBtn, "searchAction", &TransferQueryView::searchAction);
    addSubview(m_searchBtn);

    m_pageStrip = base::make<TradePageStrip>(gfx::Rect{0, kStripY, w, TradePageStrip::kHeight}, w - 110,
                                             w - 107, w - 57);
    m_pageStrip->delegate = weakSelf<TransferQueryView>();
    m_pageStrip->pageInfoLabel().setTextColor(gfx::Color::white());
    addSubview(m_pageStrip);
    m_dateRange = TradeDateRange::create(*this, {20, kRowY}, {126, kRowY}, {0, kStripY});
    m_dateRange->delegate = weakSelf<TransferQueryView>();
}

void TransferQueryView::SetTransferData(const base::Ref<TradeTransferData> &data) {
    attach(data);
    UpdateBankArray(session()->IO_TransferBankArray(), false, "");
}

base::Opt<void> TransferQueryView::UpdateBankArray(const base::Array &banks, bool, const std::string &) {
    SetBankRelInfo(!banks.empty() ? banks[0].dict() : nullptr);
    return {};
}

void TransferQueryView::SetBankRelInfo(const base::Dict *bank) {
    if (!bank) {
        m_selectedBankCode.clear();
        m_bankBtn->setTitle(kNoBankTitle);
        return;
    }
    m_selectedBankCode = bank->get(transfer::kBankCode).stringValue();
    m_bankBtn->setTitle(transfer::bankTitle(*bank));
    const base::Value *currency = bank->find(transfer::kCurrency);
    m_selectedCurrency = currency ? std::atoi(currency->stringValue().c_str()) : 0;
    m_currencyBtn->setTitle(TradeInterface::getCurrencyName(m_selectedCurrency));
}

void TransferQueryView::changeBankAction() {
    openBankPicker(*m_bankBtn, session()->IO_TransferBankArray());
}

void TransferQueryView::changeCurrAction() {
    openCurrencyPicker(*m_currencyBtn);
}

base::Opt<void> TransferQueryView::ReturnSelectedValueDict(const base::Dict &row) {
    if (btnType() == kCurrencyPicker) {
        const base::Value *value = row.find("KeyValue");
        m_selectedCurrency = value ? int(value->intValue()) : -1;
        m_currencyBtn->setTitle(TradeInterface::getCurrencyName(m_selectedCurrency));
    } else if (btnType() == kBankPicker) {
        SetBankRelInfo(&row);
    }
    return {};
}

void TransferQueryView::searchAction() {
    if (m_selectedBankCode.empty()) {
        Util::ShowInfoBox("没有可转帐的银行！");
        return;
    }
    if (m_selectedCurrency < 0) {
        Util::ShowInfoBox("请选择币种！");
        return;
    }
    if (auto data = transferData())
        data->SearchTransfer(
            m_dateRange->startDate(), m_dateRange->endDate(),
            base::Dict{{"bankCode", m_selectedBankCode}, {"currency", std::to_string(m_selectedCurrency)}});
}

base::Opt<void> TransferQueryView::prevPageAction() {
    if (auto data = transferData())
        data->GotoPrevPage();
    return {};
}

base::Opt<void> TransferQueryView::nextPageAction() {
    if (auto data = transferData())
        data->GotoNextTransferPage();
    return {};
}

base::Opt<void> TransferQueryView::UpdateTransferArray(const std::optional<base::Array> &rows,
                                                       const std::string &pageInfo) {
    m_pageStrip->setPageInfo(pageInfo);
    m_dataArray = rows.value_or(base::Array());
    m_tableView->reloadData();
    return {};
}

base::Opt<void> TransferQueryView::UpdateTransfer(bool errRsp, const std::string &errMsg) {
    StopWaitingAlert();
    Util::ShowInfoBox(errRsp ? "转帐失败！" + errMsg : std::string("转帐成功！"));
    return {};
}

base::Opt<void> TransferQueryView::dateRangeCalendarToggled(TradeDateRange &) {
    m_pageStrip->setPageInfo("");
    return {};
}
