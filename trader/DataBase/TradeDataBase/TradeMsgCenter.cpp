#include "DataBase/TradeDataBase/TradeMsgCenter.h"

#include "DataBase/TradeDataBase/TradeDataBase.h"

#include "Components/CMViewController.h"

#include "base/Bundle.h"
#include "base/FileManager.h"
#include "base/NotificationCenter.h"
#include "base/Paths.h"
#include "base/PropertyList.h"
#include "gfx/Color.h"

#include <mutex>
#include <set>

namespace {

constexpr const char *kLockTimeKey = "LockTimeMin";
constexpr const char *kLockPasswordKey = "LockPassword";
constexpr unsigned kOwnerOnly = 0600;

// Minutes from a settings value: a positive number, else never.
double lockMinutes(const base::Value *value) {
    if (!value || !value->isNumber() || value->doubleValue() <= 0)
        return TradeMsgCenter::kNever;
    return value->doubleValue();
}

void postAppNotify(const char *data) {
    base::NotificationCenter::shared().post(TradeMsgCenter::kAppNotify, nullptr,
                                            base::Dict{{"MSG_ID", "Trader_MSG"}, {"Data", data}});
}

} // namespace

base::Ref<TradeMsgCenter> TradeMsgCenter::sharedTradeMsgCenter() {
    static std::mutex lock;
    std::lock_guard guard(lock);
    static const base::Ref<TradeMsgCenter> instance = create();
    return instance;
}

base::Ref<TradeMsgCenter> TradeMsgCenter::create() {
    auto center = base::make<TradeMsgCenter>();
    center->readSettings();
    return center;
}

TradeMsgCenter::~TradeMsgCenter() {
    StopLockTimeCount();
}

std::string TradeMsgCenter::dataFilePath(const std::string &fileName) {
    return base::Paths::join(base::Paths::documents(), fileName);
}

void TradeMsgCenter::readSettings() {
    std::optional<base::Value> settings = base::PropertyList::read(dataFilePath(kSettingsFile));
    if (!settings || !settings->dict())
        if (auto bundled = base::Bundle::main().pathFor(kSettingsName, "plist"))
            settings = base::PropertyList::read(*bundled);
    const base::Dict *dict = settings ? settings->dict() : nullptr;
    m_lockTimeMinute = lockMinutes(dict ? dict->find(kLockTimeKey) : nullptr);
    m_lockPassword = dict ? dict->get(kLockPasswordKey).stringValue() : std::string();
}

bool TradeMsgCenter::SaveSettings() const {
    base::Value minutes = m_lockTimeMinute == double(int64_t(m_lockTimeMinute))
                              ? base::Value(int64_t(m_lockTimeMinute))
                              : base::Value(m_lockTimeMinute);
    base::Dict settings{{kLockTimeKey, minutes}, {kLockPasswordKey, m_lockPassword}};
    return base::PropertyList::write(settings, dataFilePath(kSettingsFile), kOwnerOnly);
}

void TradeMsgCenter::setLockTimeMinute(double minutes) {
    base::Value value(minutes);
    m_lockTimeMinute = lockMinutes(&value);
}

void TradeMsgCenter::StartLockTimeCount() {
    StopLockTimeCount();
    if (m_lockTimeMinute == kNever)
        return;
    base::Weak<TradeMsgCenter> weak = weakSelf<TradeMsgCenter>();
    m_countTimer = base::Timer::scheduled(m_lockTimeMinute * 60, false,
                                          base::Action(weak, "countTimerAction", [weak](base::Object *) {
                                              if (auto self = weak.lock())
                                                  self->countTimerAction();
                                          }));
}

void TradeMsgCenter::StopLockTimeCount() {
    if (m_countTimer)
        m_countTimer->invalidate();
    m_countTimer.reset();
}

void TradeMsgCenter::countTimerAction() {
    m_isLocked = true;
    postAppNotify("TraderTimerOut");
    m_countTimer.reset();
    if (auto delegate = m_delegate.lock())
        delegate->LockToolBar();
    base::Ref<TradeDataBase> connection = TradeDataBase::sharedTradeDataBase();
    if (connection->isConnected()) {
        sharedTradeMsgCenter()->m_closingForLock = true;
        connection->disconnectTradeServer({});
    }
}

void TradeMsgCenter::TradeConnectionClosed() {
    if (!m_closingForLock)
        m_isLocked = false;
    m_closingForLock = false;
}

void TradeMsgCenter::SwitchToStock(const std::string &code) {
    static const std::set<std::string> showingSecurities{"FrontPageViewController", "MarketViewController",
                                                         "MyStockViewController",
                                                         "StockDetailViewController"};
    base::Ref<CMViewController> screen = m_currentActiveVCHandle.lock();
    if (screen && showingSecurities.contains(screen->className()))
        screen->PushStockVC(code);
}

void TradeMsgCenter::NeedShowLoginInParent(ui::View &parent, bool showCancelBtn) {
    if (auto shown = m_loginView.lock()) {
        shown->cancelBtn().setHidden(!showCancelBtn);
        return;
    }
    auto login = base::make<LoginView>(kLoginFrame);
    auto dim = base::make<ui::View>(kDimFrame);
    dim->tag = kDimTag;
    dim->setBackgroundColor(gfx::Color::black());
    dim->setAlpha(0.5f);
    login->setBgView(dim);
    login->cancelBtn().setHidden(!showCancelBtn);
    base::Weak<TradeMsgCenter> weak = weakSelf<TradeMsgCenter>();
    login->SetCancelTarget(weak, [weak] {
        if (auto self = weak.lock())
            self->LoginCancelAction();
    });
    parent.addSubview(dim);
    parent.addSubview(login);
    m_loginView = login;
}

void TradeMsgCenter::SetCurrentProductInTradeView(const std::string &code) {
    m_currentProdCode = code;
    if (auto panel = m_tradeViewHandle.lock())
        panel->SetTradeProdCode(code);
}

void TradeMsgCenter::EnterTradeBar() {
    postAppNotify("LaunchTrader");
}
