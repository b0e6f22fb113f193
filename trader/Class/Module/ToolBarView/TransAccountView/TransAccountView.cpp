#include "Class/Module/ToolBarView/TransAccountView/TransAccountView.h"

#include "Class/Module/ToolBarView/TransAccountView/BankToAccountView.h"
#include "Class/Module/ToolBarView/TransAccountView/TransferQueryView.h"
#include "Common/UtilUI.h"

namespace {

constexpr const char *kCaptions[TransAccountView::kTabCount] = {"银行转证券", "证券转银行", "转账查询",
                                                                "银行余额"};

base::Ref<gfx::Color> selectedTabColour() {
    return gfx::Color::rgba(255 / 255.f, 218 / 255.f, 160 / 255.f);
}

} // namespace

TransAccountView::~TransAccountView() {
    endShownTab();
}

void TransAccountView::initData() {
    m_transferData = TradeDataLayerBase::create<TradeTransferData>(kObserverName);
}

void TransAccountView::initUI(gfx::Rect frame) {
    float w = frame.width();
    GenTitleBar({0, 0, w, kTitleBarHeight});
    closeButton()->addTarget(action("CloseAction", &TransAccountView::CloseAction), ui::TouchUpInside);
    zoomInButton()->setHidden(true);
    setBackgroundColor(gfx::Color::pattern(UtilUI::imageNamed("trader_bg.png")));
    for (int i = 0; i < kTabCount; ++i) {
        m_tabs[size_t(i)] = GenTabItem(kCaptions[i], kFirstTabTag + i, {i * w / 4, kTabY, w / 4, kTabHeight});
        addSubview(m_tabs[size_t(i)]);
    }
    ItemTabAction(kBankToAccount);
}

base::Ref<ui::Button> TransAccountView::GenTabItem(const char *caption, int tag, gfx::Rect frame) {
    auto button = ui::Button::custom(frame);
    button->tag = tag;
    button->setTitle(caption);
    button->setTitleColor(gfx::Color::black());
    button->setBackgroundColor(gfx::Color::white());
    base::Weak<TransAccountView> weak = weakSelf<TransAccountView>();
    button->addTarget(base::Action("ItemTabAction",
                                   [weak, tag](base::Object *) {
                                       if (auto alive = weak.lock())
                                           alive->ItemTabAction(tag);
                                   }),
                      ui::TouchUpInside);
    return button;
}

void TransAccountView::CloseAction() {
    DismissView();
}

void TransAccountView::ItemTabAction(int tag) {
    if (tag < kFirstTabTag || tag >= kFirstTabTag + kTabCount || tag == m_shownTab)
        return;
    for (const base::Ref<ui::Button> &tab : m_tabs) {
        bool pressed = tab->tag == tag;
        tab->setSelected(pressed);
        tab->setEnabled(!pressed);
        tab->setBackgroundColor(pressed ? selectedTabColour() : gfx::Color::white());
    }
    endShownTab();
    showTab(tag);
}

void TransAccountView::endShownTab() {
    if (!m_prevContentView)
        return;
    m_prevContentView->closeTab();
    m_prevContentView->removeFromSuperview();
    m_prevContentView.reset();
}

void TransAccountView::showTab(int tag) {
    m_shownTab = tag;
    switch (tag) {
    case kBankToAccount:
        m_prevContentView = GenBankToAccount();
        break;
    case kAccountToBank:
        m_prevContentView = GenAccountToBank();
        break;
    case kTransferQuery:
        m_prevContentView = TransferQuery();
        break;
    default:
        m_prevContentView = GenBankBalance();
        break;
    }
    addSubview(m_prevContentView);
    m_prevContentView->setParentTarget(weakSelf<TradeBaseView>());
    m_prevContentView->SetTransferData(m_transferData);
}

namespace {

gfx::Rect tabFrame(gfx::Rect panel, bool history) {
    float below = history ? TransAccountView::kContentY : TransAccountView::kContentY + 30;
    return {0, TransAccountView::kContentY, panel.width(), panel.height() - below};
}

} // namespace

base::Ref<TransferTabView> TransAccountView::GenBankToAccount() {
    return base::make<BankToAccountView>(tabFrame(frame(), false));
}

base::Ref<TransferTabView> TransAccountView::GenAccountToBank() {
    return base::make<AccountToBankView>(tabFrame(frame(), false));
}

base::Ref<TransferTabView> TransAccountView::TransferQuery() {
    return base::make<TransferQueryView>(tabFrame(frame(), true));
}

base::Ref<TransferTabView> TransAccountView::GenBankBalance() {
    return base::make<BankBalanceView>(tabFrame(frame(), false));
}
