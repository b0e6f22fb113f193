#include "NewsBusFixture.h"

#include "HTTPRequest.h"

namespace newsbus {

namespace {

class Environment : public ::testing::Environment {
public:
    void SetUp() override {
        qvtest::ScratchBundle::install();
        base::Clock::setCurrent(&NewsBusTest::sharedClock());
    }
    void TearDown() override {
        HTTPRequest::stopNetworkThreadForTesting();
        base::Clock::setCurrent(nullptr);
        qvtest::ScratchBundle::remove();
    }
};

[[maybe_unused]] ::testing::Environment *const environment =
    ::testing::AddGlobalTestEnvironment(new Environment);

} // namespace

void Requester::setUp() {
    controllerID = DLDataManagement::sharedDLDataManagement()->getNewNotifyID();
    base::Weak<Requester> weak = weakSelf<Requester>();
    base::NotificationCenter::shared().addObserver(weak, controllerID, [weak](const base::Notification &n) {
        if (auto self = weak.lock())
            self->replies.push_back(n.userInfo);
    });
}

base::Dict Requester::post(base::Dict reqData, const std::string &dataSource) {
    base::Dict envelope =
        DLMsgData::encapMsg("", controllerID, "400", dataSource, std::move(reqData), base::Dict());
    base::NotificationCenter::shared().post(DLDataManagement::MsgCenterNotify, nullptr, envelope);
    return envelope;
}

base::VirtualClock &NewsBusTest::sharedClock() {
    // The HTTP client's thread reads the clock in its passes: it outlives every test.
    static auto *clock = new base::VirtualClock;
    return *clock;
}

NewsBusTest::NewsBusTest() {
    nginx->serveNewsRoot();
    qvtest::ScratchBundle::writeServerConfig({{"NewsServer", url("")}});
    DLDataManagement::resetSharedForTesting();
    DLDataManagement::sharedDLDataManagement()->initialize();
    driver.watch([] {
        auto hub = DLDataManagement::sharedDLDataManagement();
        return !hub->newsDataManagement() || hub->newsDataManagement()->pendingRequestCount() == 0;
    });
}

NewsBusTest::~NewsBusTest() {
    runUntilIdle();
    EXPECT_FALSE(driver.stalled());
}

base::Dict NewsBusTest::replyTo(base::Dict reqData) {
    auto asker = requester();
    asker->post(std::move(reqData));
    runUntilIdle();
    return asker->replies.size() == 1 ? *asker->replies[0].get(DLMsgData::RspData).dict() : base::Dict();
}

} // namespace newsbus
