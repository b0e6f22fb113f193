#include "SecurityNewsFixture.h"

#include "base/Str.h"
#include "net/Reachability.h"

namespace newsbus {

SecurityNewsTest::SecurityNewsTest() {
    driver.watch([this] { return !quotes_ || quotes_->quiet(); });
    driver.watch([this] { return !screenQuiet || screenQuiet(); });
    base::NotificationCenter::shared().addObserver(
        observer_, DLDataManagement::MsgCenterNotify, [this](const base::Notification &n) {
            const base::Value req = n.userInfo.get(DLMsgData::ReqData);
            std::string code = req[QVNNewsDataInterface::StockCode].stringValue();
            std::string article = req[QVNNewsDataInterface::NewsContentUrl].stringValue();
            std::string host = url("");
            if (article.rfind(host, 0) == 0)
                article = article.substr(host.size());
            if (req.dict() && req.dict()->has(QVNNewsDataInterface::TodayNumDate))
                asked.push_back(base::str::format("mines %@ %d", code,
                                                  int(req[QVNNewsDataInterface::TodayNumDate].intValue())));
            else if (!code.empty())
                asked.push_back("news " + code);
            else if (!article.empty())
                asked.push_back(article);
        });
}

SecurityNewsTest::~SecurityNewsTest() {
    runUntilIdle();
    app.window().setRootViewController(nullptr);
    app.runPending();
    leaveQuoteServer();
    net::ReachabilityTarget::overrideFlags(std::nullopt);
}

void SecurityNewsTest::leaveQuoteServer() {
    if (db_) {
        db_->Disconnect();
        runUntilIdle();
        DataBase::setSharedDataBase(nullptr);
        db_.reset();
    }
    if (quotes_) {
        quotes_->stop();
        quotes_.reset();
    }
}

void SecurityNewsTest::notLoggedIn() {
    if (db_) {
        db_->Disconnect();
        runUntilIdle();
    }
    net::ReachabilityTarget::overrideFlags(net::Reachable);
    db_ = base::make<DataBase>();
    db_->initialize({});
    DataBase::setSharedDataBase(db_);
}

void SecurityNewsTest::loggedInOn(int32_t date) {
    leaveQuoteServer();
    quotes_ = std::make_unique<peers::QuoteServer>();
    quotes_->setServerTime(date, 100000);
    base::Array servers;
    servers.add(base::Dict{{"host", "127.0.0.1"}, {"port", int(quotes_->port())}});
    ASSERT_TRUE(qvtest::ScratchBundle::writeServerConfig({{"NewsServer", url("")}, {"NavServers", servers}}));
    notLoggedIn();
    ASSERT_EQ(db_->ConnectAndLoginWithoutAccount(nullptr, false), 1);
    ASSERT_TRUE(driver.runUntil([this] { return db_->IO_NetDataCenter()->IO_ServerDate != 0; }, 30));
    runUntilIdle();
}

void SecurityNewsTest::newsHostDown() {
    ASSERT_TRUE(qvtest::ScratchBundle::writeServerConfig(
        {{"NewsServer", "http://127.0.0.1:" + std::to_string(peers::NginxPeer::freePort())}}));
}

void SecurityNewsTest::tap(ui::View &view, gfx::Rect area) {
    gfx::Rect shown = view.convert(area, nullptr);
    app.tap({shown.midX(), shown.midY()});
    runUntilIdle();
}

std::vector<std::string> SecurityNewsTest::since(size_t from) const {
    return std::vector<std::string>(asked.begin() + long(std::min(from, asked.size())), asked.end());
}

} // namespace newsbus
