#include "TradeConnectionFixture.h"

namespace tradeconn {

base::Opt<void> Requester::OnTradeDataRsp(int reqType, const base::Ref<TradeRspData> &rsp,
                                          const std::optional<base::Dict> &params) {
    replies.push_back({reqType, rsp->successRsp(), rsp->dict().get("ErrCode").stringValue(),
                       rsp->getRspErrMsg().value_or(""), params, rsp->dict().deepCopy()});
    return {};
}

std::vector<Heard> Requester::of(int type) const {
    std::vector<Heard> out;
    for (const Heard &h : replies)
        if (h.type == type)
            out.push_back(h);
    return out;
}

TradeConnectionTest::TradeConnectionTest() {
    base::Clock::setCurrent(&clock);
    driver.watch([this] { return !gateway || gateway->quiet(); });
    base::NotificationCenter::shared().addObserver(
        observer_, "AppNotify", [this](const base::Notification &n) {
            if (n.userInfo.get("Data").stringValue() == "ReLaunchTrader")
                ++relaunches_;
        });
    start();
}

TradeConnectionTest::~TradeConnectionTest() {
    db.reset();
    gateway.reset();
    settle();
    base::NotificationCenter::shared().removeObserver(observer_.get());
    base::Clock::setCurrent(nullptr);
}

void TradeConnectionTest::start(std::vector<peers::GatewayBroker> more) {
    if (db)
        db->disconnectTradeServer({});
    db.reset();
    gateway.reset();
    settle();
    gateway = std::make_unique<peers::TradeGateway>();
    gateway->addAccount({kBroker, kMobile, kCode, kAccount, kPassword});
    quotes = NetDataCenter::create();
    more.insert(more.begin(), {kBroker, 'Z', {gateway->port()}});
    setBrokers(more);
    db = TradeDataBase::create();
    db->setQuoteLayer(quotes);
    db->setRandomIndex([](int) { return 0; });
    requester = base::make<Requester>();
}

void TradeConnectionTest::setBrokers(const std::vector<peers::GatewayBroker> &brokers) {
    base::Data body = peers::brokerTableBody(brokers);
    quotes->ReadTradeAddressInfo(body.span(), 0);
    quotes->IO_GetSecuritiesAddressRsp = true;
}

bool TradeConnectionTest::pumpUntil(const std::function<bool()> &done) {
    for (int round = 0; round < 200 && !driver.runUntilIdle(done);)
        round += base::RunLoop::main().runOnce(base::RunLoop::Default, 0.005) ? 0 : 1;
    return done();
}

int TradeConnectionTest::step(const std::string &broker, const std::string &code) {
    return db->ConnectAndCheckPhone(requester, broker, nullptr, kMobile, code, msg);
}

void TradeConnectionTest::connectAndCheck() {
    ASSERT_EQ(step(), TradeDataBase::kConnecting);
    ASSERT_TRUE(pumpUntil([&] { return !requester->connects.empty(); }));
    ASSERT_EQ(requester->connects.back(), std::make_pair(true, 1));
    ASSERT_EQ(step(), TradeDataBase::kCheckingPhone);
    ASSERT_TRUE(pumpUntil([&] { return !requester->of(-100).empty(); }));
    ASSERT_TRUE(requester->of(-100).back().success);
    ASSERT_EQ(step(), TradeDataBase::kReady);
    EXPECT_EQ(msg, "登录信息验证成功! ");
}

void TradeConnectionTest::loginReady() {
    connectAndCheck();
    db->IO_TradeNetData()->RequestUserLogin(requester, 1, kAccount, kPassword, "0101");
    ASSERT_TRUE(pumpUntil([&] { return !requester->of(11100).empty(); }));
    ASSERT_TRUE(requester->of(11100).back().success);
    requester->replies.clear();
}

std::vector<int> TradeConnectionTest::funcsReceived() const {
    std::vector<int> out;
    for (const auto &request : gateway->received())
        out.push_back(request.funcID);
    return out;
}

} // namespace tradeconn
