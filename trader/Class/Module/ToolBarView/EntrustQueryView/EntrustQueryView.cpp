#include "Class/Module/ToolBarView/EntrustQueryView/EntrustQueryView.h"

#include "Class/Module/ToolBarView/FullScrTradeBaseView/EntrustFullScreenView.h"

#include "base/RunLoop.h"
#include "gfx/Font.h"

#include <cstdio>

struct EntrustQueryView::AlertRelay : ui::AlertDelegate {
    base::Weak<EntrustQueryView> panel;
    base::Opt<void> clicked(ui::Alert &alert, int index) override {
        if (auto alive = panel.lock())
            alive->alertView(alert, index);
        return {};
    }
};

EntrustQueryView::~EntrustQueryView() {
    base::RunLoop::main().cancelPerforms(this);
}

void EntrustQueryView::initUI(gfx::Rect frame) {
    float w = frame.width();
    buildPanel(frame, kPageStripY, w - 110, w - 107, w - 57, kTableY, kRowHeight);
    m_refreshBtn = ui::Button::custom({w - 162, kPageStripY, 50, TradePageStrip::kHeight});
    m_refreshBtn->setTitle("刷新");
    m_refreshBtn->titleLabel().setFont(gfx::Font::boldSystem(15));
    m_refreshBtn->setBackgroundColor(gfx::Color::rgba(46 / 255.f, 136 / 255.f, 1));
    m_refreshBtn->layer().cornerRadius = 5;
    m_refreshBtn->addTarget(action("refreshAction", &EntrustQueryView::refreshAction), ui::TouchUpInside);
    addSubview(m_refreshBtn);
    buildDateRow(119);
    m_alertRelay = base::make<AlertRelay>();
    m_alertRelay->panel = weakSelf<EntrustQueryView>();
    m_entrustData = TradeDataLayerBase::create<EntrustQueryData>(kObserverName);
    m_entrustData->setDelegate(std::static_pointer_cast<EntrustQueryDataDelegate>(self<EntrustQueryView>()));
}

void EntrustQueryView::SetQueryType(bool canDisentrust) {
    m_isQueryCanDisentrust = canDisentrust;
    m_dateRange->setButtonsHidden(canDisentrust);
    searchBtn()->setHidden(canDisentrust);
    m_refreshBtn->setHidden(!canDisentrust);
    reqCurrentEntrustList();
}

void EntrustQueryView::reqCurrentEntrustList() {
    if (m_isQueryCanDisentrust)
        m_entrustData->SearchCanDisentrust();
    else
        searchAction();
}

void EntrustQueryView::searchAction() {
    m_entrustData->SearchEntrust(m_dateRange->startDate(), m_dateRange->endDate());
}

void EntrustQueryView::refreshAction() {
    m_entrustData->SearchCanDisentrust();
}

base::Opt<void> EntrustQueryView::UpdateEntrustArray(const std::optional<base::Array> &rows,
                                                     const std::string &pageInfo, int reqType) {
    m_currentReqType = reqType;
    showPage(rows, pageInfo);
    return {};
}

base::Opt<void> EntrustQueryView::RefreshEntrustTableView() {
    // The panel may go before the delay runs out; the call then does nothing.
    base::Weak<EntrustQueryView> weak = weakSelf<EntrustQueryView>();
    base::RunLoop::main().performAfter(
        kRefreshDelay,
        base::Action(weakSelf<base::Object>(), "reqCurrentEntrustList", [weak](base::Object *) {
            auto alive = weak.lock();
            if (alive && alive->isStartEnd())
                alive->reqCurrentEntrustList();
        }));
    return {};
}

void EntrustQueryView::panelWillDismiss() {
    base::RunLoop::main().cancelPerforms(this);
    TradeQueryPanel::panelWillDismiss();
}

base::Opt<void> EntrustQueryView::StartWaitingAlert() {
    TradeBaseView::StartWaitingAlert();
    return {};
}

base::Opt<void> EntrustQueryView::StopWaitingAlert() {
    TradeBaseView::StopWaitingAlert();
    return {};
}

std::string EntrustQueryView::AveragePrice(const base::Dict &row) {
    double volume = row.get("1047").doubleValue();
    if (!(volume > 0))
        return "--";
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", row.get("1049").doubleValue() / volume);
    return text;
}

base::Ref<ui::TableCell> EntrustQueryView::cellForRow(ui::TableView &table, ui::IndexPath path) {
    auto cell = std::dynamic_pointer_cast<EntrustTradeCell>(table.dequeueReusableCell(kCellIdentifier));
    if (!cell) {
        cell = base::make<EntrustTradeCell>(kCellIdentifier);
        cell->delegate = std::static_pointer_cast<EntrustTradeCellDelegate>(self<EntrustQueryView>());
    }
    base::Dict row = rowAt(path.row);
    cell->NOLabel->setText(serialText(path.row));
    cell->indexPath = path;
    cell->nameLabel->setText(row.get("1037").stringValue());
    cell->codeLabel->setText(row.get("1036").stringValue());
    cell->buySellLabel->setText(row.get("1027").stringValue());
    cell->timeLabel->setText(row.get("1039").stringValue());
    cell->dateLabel->setText(row.get("1038").stringValue());
    cell->stateLabel->setText(row.get("1043").stringValue());
    cell->entPriceLabel->setText(row.get("1041").stringValue());
    cell->entrustVolLabel->setText(row.get("1040").stringValue());
    cell->dealVolLabel->setText(row.get("1047").stringValue());
    cell->dealPriceLabel->setText(AveragePrice(row));
    switch (m_currentReqType) {
    case TradeNetDataCenter::kHistoryEntrustList:
        cell->withDrawBtn->setHidden(true);
        break;
    case TradeNetDataCenter::kEntrustList:
        cell->withDrawBtn->setHidden(row.get("1214").stringValue() != "1");
        break;
    case TradeNetDataCenter::kCanDisentrustList:
        cell->withDrawBtn->setHidden(false);
        break;
    default:
        break;
    }
    return cell;
}

base::Opt<void> EntrustQueryView::ReturnWithDrawAction(ui::Button *, ui::IndexPath indexPath) {
    m_curDisentrustDic = rowAt(indexPath.row);
    std::string message = "确定要撤单[单号:" + m_curDisentrustDic.get("1042").stringValue() + "]吗？";
    auto alert = base::make<ui::Alert>(kCancelTitle, message, m_alertRelay, std::string("取消"),
                                       std::vector<std::string>{"确定"});
    alert->tag = kCancelAlertTag;
    alert->show();
    return {};
}

void EntrustQueryView::alertView(ui::Alert &alert, int buttonIndex) {
    if (alert.tag == kCancelAlertTag && buttonIndex == 1)
        m_entrustData->reqDisEntrust(m_curDisentrustDic);
}

void EntrustQueryView::FullScreenAction() {
    auto view = base::make<EntrustFullScreenView>(kFullScreenFrame);
    view->ownerViewHandler = weakSelf<TradeBaseView>();
    view->titleLabel()->setText(titleLabel() ? titleLabel()->text() : std::string());
    view->initEntrustData(*m_entrustData);
    view->SetQueryType(m_isQueryCanDisentrust);
    presentFullScreen(view);
}

base::Ref<EntrustFullScreenView> EntrustQueryView::entrustFullScrView() const {
    return std::dynamic_pointer_cast<EntrustFullScreenView>(fullScreenView());
}
