#include "TradeQueryFixture.h"

#include "Common/TimeFunc.h"
#include "Module/StockDataBaseMgnt/DataManager.h"
#include "peers/BrokerTable.h"

#include <algorithm>

namespace tradequery {

namespace {

constexpr const char *kMobile = "13800138000";
constexpr const char *kCode = "246810";
constexpr const char *kPassword = "pw";

// Connects with the requester's status and phone-check replies.
class Connector : public base::Object, public TradeDataDelegate {
public:
    base::Opt<void> OnTradeDataRsp(int reqType, const base::Ref<TradeRspData> &rsp,
                                   const std::optional<base::Dict> &) override {
        replies.emplace_back(reqType, rsp->successRsp());
        return {};
    }
    base::Opt<void> OnTradeConnect(bool success, int) override {
        connects.push_back(success);
        return {};
    }
    std::vector<std::pair<int, bool>> replies;
    std::vector<bool> connects;
};

} // namespace

int Log::count(const std::string &event) const {
    return int(std::count(events.begin(), events.end(), event));
}

TradeQueryTest::TradeQueryTest() {
    DataManager::sharedDataManager().msgboxParentHandle = app.window().weakSelf<ui::View>();
    driver.watch([this] { return !gateway || gateway->quiet(); });
    today = TimeFunc::getTodayStr("yyyyMMdd");
    gateway = std::make_unique<peers::TradeGateway>();
    gateway->addAccount({kBroker, kMobile, kCode, kAccount, kPassword});
    book = std::make_unique<peers::TradeAccountBook>(*gateway, today);
    quotes = NetDataCenter::create();
    quotes->ReadTradeAddressInfo(peers::brokerTableBody({{kBroker, 'Z', {gateway->port()}}}).span(), 0);
    quotes->IO_GetSecuritiesAddressRsp = true;
    db = TradeDataBase::sharedTradeDataBase();
    db->setQuoteLayer(quotes);
    db->setRandomIndex([](int) { return 0; });
    connectAndLogin();
}

TradeQueryTest::~TradeQueryTest() {
    disconnect();
    gateway.reset();
    settle();
    DataManager::sharedDataManager().msgboxParentHandle.reset();
}

void TradeQueryTest::settle() {
    for (int round = 0; round < 200 && !driver.runUntilIdle(); ++round)
        base::RunLoop::main().runOnce(base::RunLoop::Default, 0.005);
}

bool TradeQueryTest::pumpUntil(const std::function<bool()> &done) {
    for (int round = 0; round < 200 && !driver.runUntilIdle(done);)
        round += base::RunLoop::main().runOnce(base::RunLoop::Default, 0.005) ? 0 : 1;
    return done();
}

void TradeQueryTest::connectAndLogin() {
    auto connector = base::make<Connector>();
    std::string msg;
    for (int step = 0; step < 4; ++step) {
        int code = db->ConnectAndCheckPhone(connector, kBroker, nullptr, kMobile, kCode, msg);
        if (code == TradeDataBase::kReady)
            break;
        ASSERT_TRUE(code == TradeDataBase::kConnecting || code == TradeDataBase::kCheckingPhone) << msg;
        settle();
    }
    ASSERT_TRUE(db->isConnected());
    db->IO_TradeNetData()->RequestUserLogin(connector, 1, kAccount, kPassword, "0101");
    settle();
    ASSERT_FALSE(connector->replies.empty());
    ASSERT_EQ(connector->replies.back(), std::make_pair(11100, true));
    sent();
}

void TradeQueryTest::disconnect() {
    if (db->isConnected())
        db->disconnectTradeServer({});
    settle();
}

std::vector<peers::TradeRequest> TradeQueryTest::sentRequests() {
    const auto &all = gateway->received();
    std::vector<peers::TradeRequest> out(all.begin() + long(std::min(seen_, all.size())), all.end());
    seen_ = all.size();
    out.erase(std::remove_if(out.begin(), out.end(), [](const auto &r) { return r.funcID == 10; }),
              out.end());
    return out;
}

std::vector<int> TradeQueryTest::sent() {
    std::vector<int> out;
    for (const auto &request : sentRequests())
        out.push_back(request.funcID);
    return out;
}

std::vector<std::string> TradeQueryTest::alertTexts() const {
    std::vector<std::string> out;
    for (const auto &alert : app.alerts())
        out.push_back(alert.message);
    return out;
}

std::vector<std::string> TradeQueryTest::tipTexts() const {
    std::vector<std::string> out;
    for (const auto &toast : app.toasts())
        out.push_back(toast.text);
    return out;
}

std::string TradeQueryTest::shownDay(int daysBefore) const {
    std::string day = daysBefore == 0 ? today : book->daysBefore(daysBefore);
    return day.substr(0, 4) + "-" + day.substr(4, 2) + "-" + day.substr(6, 2);
}

} // namespace tradequery
