#include "Class/Module/ToolBarView/TraderToolBarView.h"

#include "Class/Module/ToolBarView/AccountCheckView/AccountCheckView.h"
#include "Class/Module/ToolBarView/DealQueryView/DealQueryView.h"
#include "Class/Module/ToolBarView/EntrustQueryView/EntrustQueryView.h"
#include "Class/Module/ToolBarView/TradeSettingsView/TradeSettingsView.h"
#include "Class/Module/ToolBarView/TradeView/TradeView.h"
#include "Class/Module/ToolBarView/TransAccountView/TransAccountView.h"
#include "Common/UtilUI.h"
#include "DataBase/TradeDataBase/TradeDataBase.h"

#include "gfx/Font.h"

namespace {

constexpr float kCaptionFontSize = 15;

// A panel still to be built by its own screen: the title bar and nothing else.
class EmptyTradePanel : public TradeBaseView {
public:
    using TradeBaseView::TradeBaseView;

protected:
    void initUI(gfx::Rect frame) override {
        GenTitleBar({0, 0, frame.width(), kTitleBarHeight});
        setBackgroundColor(gfx::Color::pattern(UtilUI::imageNamed("trader_bg.png")));
        zoomInButton()->setHidden(true);
        closeButtonDismisses();
    }
};

} // namespace

const TraderToolBarView::FunctionButton TraderToolBarView::kButtons[kFunctionCount] = {
    {100, "资金账户", "tab_account.png", {654, 65, 320, 654}, "账户信息"},
    {101, "买入", "tab_buy.png", {714, 65, 260, 654}, "买入"},
    {102, "卖出", "tab_sell.png", {714, 65, 260, 654}, "卖出"},
    {103, "撤单", "tab_withdraw.png", {654, 65, 320, 654}, "撤单"},
    {104, "委托查询", "tab_entrust.png", {654, 65, 320, 654}, "委托查询"},
    {105, "成交查询", "tab_deal.png", {654, 65, 320, 654}, "成交查询"},
    {106, "银证转账", "tab_transf.png", {614, 65, 360, 654}, "银行转账"},
};

struct TraderToolBarView::AlertRelay : ui::AlertDelegate {
    base::Weak<TraderToolBarView> bar;
    base::Opt<void> clicked(ui::Alert &alert, int index) override {
        if (auto alive = bar.lock())
            alive->alertView(alert, index);
        return {};
    }
};

struct TraderToolBarView::SlideRelay : ui::TransitionDelegate {
    base::Weak<TraderToolBarView> bar;
    base::Opt<void> animationDidStop(ui::Transition &, bool) override {
        if (auto alive = bar.lock())
            alive->slideEnded();
        return {};
    }
};

TraderToolBarView::TraderToolBarView(gfx::Rect frame) : ui::View(frame) {}

TraderToolBarView::~TraderToolBarView() = default;

void TraderToolBarView::setUp() {
    ui::View::setUp();
    m_alertRelay = base::make<AlertRelay>();
    m_alertRelay->bar = weakSelf<TraderToolBarView>();
    m_slideRelay = base::make<SlideRelay>();
    m_slideRelay->bar = weakSelf<TraderToolBarView>();
    initData();
    initUI(frame());
}

void TraderToolBarView::initData() {
    m_isHidden = false;
    m_prevType = -1;
    m_isClose = false;
    base::Ref<TradeMsgCenter> center = TradeMsgCenter::sharedTradeMsgCenter();
    center->setDelegate(weakSelf<TraderToolBarView>());
    center->StartLockTimeCount();
}

void TraderToolBarView::initUI(gfx::Rect frame) {
    float w = frame.width(), h = frame.height();
    setBackgroundColor(gfx::Color::rgba(4 / 255.f, 20 / 255.f, 52 / 255.f));
    m_toolBarScrollView = base::make<ui::ScrollView>(gfx::Rect{0, 0, w, h - 3 * w});
    m_toolBarScrollView->setContentSize({w, kFunctionCount * w});
    addSubview(m_toolBarScrollView);
    base::Weak<TraderToolBarView> weak = weakSelf<TraderToolBarView>();
    for (int i = 0; i < kFunctionCount; ++i) {
        const FunctionButton &entry = kButtons[i];
        auto button = ui::Button::custom({0, i * (w + 1), w, w});
        button->tag = entry.tag;
        button->setBackgroundImage(UtilUI::imageNamed(entry.image));
        auto caption = base::make<ui::Label>(gfx::Rect{w / 8, 0, 3 * w / 4, w});
        caption->setBackgroundColor(gfx::Color::clear());
        caption->setTextColor(gfx::Color::white());
        caption->setFont(gfx::Font::boldSystem(kCaptionFontSize));
        caption->setTextAlignment(gfx::Align::Center);
        caption->setNumberOfLines(0);
        caption->setText(entry.caption);
        button->addSubview(caption);
        int tag = entry.tag;
        button->addTarget(base::Action("traderButtonAction",
                                       [weak, tag](base::Object *) {
                                           if (auto alive = weak.lock())
                                               alive->traderButtonAction(tag);
                                       }),
                          ui::TouchUpInside);
        m_toolBarScrollView->addSubview(button);
        m_buttons.push_back(button);
    }
    m_settingsButton = ui::Button::custom({0, h - 2 * w, w, w});
    m_settingsButton->tag = kSettingsTag;
    m_settingsButton->setBackgroundImage(UtilUI::imageNamed("settings_trader.png"));
    m_settingsButton->addTarget(base::Action("setttingsAction",
                                             [weak](base::Object *) {
                                                 if (auto alive = weak.lock())
                                                     alive->setttingsAction();
                                             }),
                                ui::TouchUpInside);
    m_exitButton = ui::Button::custom({0, h - w, w, w});
    m_exitButton->setBackgroundImage(UtilUI::imageNamed("lockon.png"));
    m_exitButton->addTarget(base::Action("closeAction",
                                         [weak](base::Object *) {
                                             if (auto alive = weak.lock())
                                                 alive->closeAction();
                                         }),
                            ui::TouchUpInside);
    addSubview(m_settingsButton);
    addSubview(m_exitButton);
}

ui::Button *TraderToolBarView::button(int tag) const {
    if (tag == kSettingsTag)
        return m_settingsButton.get();
    if (tag == -1)
        return m_exitButton.get();
    for (const auto &b : m_buttons)
        if (b->tag == tag)
            return b.get();
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Sliding

void TraderToolBarView::ShowTraderToolBar() {
    auto parent = m_parentHandler.lock();
    if (!parent)
        return;
    parent->view().addSubview(self<ui::View>());
    setHidden(false);
    auto transition = base::make<ui::Transition>();
    transition->type = ui::Transition::Type::Push;
    transition->subtype = ui::Transition::From::Right;
    transition->duration = kSlideDuration;
    layer().addTransition(transition, TradeBaseView::kAnimationKey);
}

void TraderToolBarView::DismissTraderToolBar() {
    if (m_dismissing)
        return;
    m_dismissing = true;
    auto transition = base::make<ui::Transition>();
    transition->type = ui::Transition::Type::Push;
    transition->subtype = ui::Transition::From::Left;
    transition->duration = kSlideDuration;
    transition->delegate = m_slideRelay;
    setHidden(true);
    layer().addTransition(transition, TradeBaseView::kAnimationKey);
}

void TraderToolBarView::slideEnded() {
    base::Ref<TraderToolBarView> keep = self<TraderToolBarView>();
    m_isHidden = true;
    removeFromSuperview();
}

void TraderToolBarView::DismissTraderToolBarWithSubiew() {
    TradeMsgCenter::sharedTradeMsgCenter()->StopLockTimeCount();
    closeAll();
}

void TraderToolBarView::closeAll() {
    m_isClose = true;
    if (auto panel = m_prevView.lock())
        panel->DismissView();
    else
        DismissTraderToolBar();
}

// ---------------------------------------------------------------------------------------------
// Panels

void TraderToolBarView::dismissOpenPanel() {
    if (auto panel = m_prevView.lock())
        panel->DismissView();
}

void TraderToolBarView::traderButtonAction(int tag) {
    if (tag < kFirstFunctionTag || tag >= kFirstFunctionTag + kFunctionCount)
        return;
    if (tag == m_prevType) {
        dismissOpenPanel();
        return;
    }
    openPanel(tag, true);
}

void TraderToolBarView::PopSpecialTradeModel(int index) {
    int tag = kFirstFunctionTag + index;
    if (tag == m_prevType || index < 0 || index >= kFunctionCount)
        return;
    openPanel(tag, false);
}

void TraderToolBarView::openPanel(int tag, bool stopLockWhenDown) {
    dismissOpenPanel();
    if (!TradeDataBase::sharedTradeDataBase()->isConnected()) {
        if (stopLockWhenDown)
            TradeMsgCenter::sharedTradeMsgCenter()->StopLockTimeCount();
        m_isClose = true;
        DismissTraderToolBar();
        TradeMsgCenter::EnterTradeBar();
        return;
    }
    const FunctionButton &entry = kButtons[tag - kFirstFunctionTag];
    base::Ref<TradeBaseView> panel;
    if (tag == 101 || tag == 102) {
        auto order = base::make<TradeView>(entry.panelFrame);
        order->SetTradeType(tag == 101 ? TradeView::kBuy : TradeView::kSell);
        panel = order;
    } else if (tag == kTransferTag) {
        panel = base::make<TransAccountView>(entry.panelFrame);
    } else if (tag == 100) {
        panel = base::make<AccountCheckView>(entry.panelFrame);
    } else if (tag == 103 || tag == 104) {
        auto entrusts = base::make<EntrustQueryView>(entry.panelFrame);
        entrusts->SetQueryType(tag == 103);
        panel = entrusts;
    } else if (tag == 105) {
        panel = base::make<DealQueryView>(entry.panelFrame);
    } else {
        panel = base::make<EmptyTradePanel>(entry.panelFrame);
    }
    showPanel(panel, tag, entry.panelTitle);
}

void TraderToolBarView::setttingsAction() {
    TradeMsgCenter::sharedTradeMsgCenter()->StopLockTimeCount();
    if (m_prevType == kSettingsTag) {
        dismissOpenPanel();
        return;
    }
    dismissOpenPanel();
    showPanel(base::make<TradeSettingsView>(kSettingsFrame), kSettingsTag, "交易设置");
}

void TraderToolBarView::showPanel(base::Ref<TradeBaseView> panel, int tag, const char *title) {
    if (auto parent = m_parentHandler.lock())
        panel->parentView = parent->viewRef();
    panel->toolBarView = weakSelf<ui::View>();
    panel->delegate = weakSelf<TraderToolBarView>();
    panel->setTitle(title);
    panel->ShowView();
    m_prevView = panel;
    m_prevType = int16_t(tag);
}

void TraderToolBarView::SetTradeCode(const std::string &code, const std::string &name,
                                     const std::string &price, const std::string &vol) {
    if (auto order = std::dynamic_pointer_cast<TradeView>(m_prevView.lock()))
        order->SetTradeCode(code, name, price, vol);
}

// ---------------------------------------------------------------------------------------------
// Exit and lock

void TraderToolBarView::closeAction() {
    auto alert = base::make<ui::Alert>("提示", kExitQuestion, m_alertRelay, std::string("取消"),
                                       std::vector<std::string>{"确定"});
    alert->tag = kExitAlertTag;
    alert->show();
}

void TraderToolBarView::alertView(ui::Alert &alert, int buttonIndex) {
    if (alert.tag != kExitAlertTag || buttonIndex != 1)
        return;
    TradeMsgCenter::sharedTradeMsgCenter()->StopLockTimeCount();
    closeAll();
    TradeDataBase::sharedTradeDataBase()->disconnectTradeServer({});
}

void TraderToolBarView::LockToolBar() {
    closeAll();
}

// ---------------------------------------------------------------------------------------------
// Panel stages

base::Opt<void> TraderToolBarView::ShowFinishedAnimationResponse() {
    TradeMsgCenter::sharedTradeMsgCenter()->StopLockTimeCount();
    return {};
}

base::Opt<void> TraderToolBarView::DismissResponse() {
    m_prevView.reset();
    m_prevType = -1;
    // A closing bar keeps the timer stopped: it would lock a session already ended.
    if (!m_isClose)
        TradeMsgCenter::sharedTradeMsgCenter()->StartLockTimeCount();
    return {};
}

base::Opt<void> TraderToolBarView::DismissFinishedAnimationResponse() {
    if (m_isClose)
        DismissTraderToolBar();
    return {};
}
