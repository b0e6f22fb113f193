#include "CoordinatorFixture.h"

#include "base/PropertyList.h"

#include <optional>

using coordinator::CoordinatorTest;
using coordinator::navigation;
using peers::Fault;

namespace {

constexpr const char *A = "SH600000";
constexpr const char *B = "SZ000001";
constexpr const char *C = "SH600036";

base::Dict stock(const std::string &code, const std::string &name) {
    return {{"StockName", name}, {"MarketCode", code}};
}

class SyncTest : public CoordinatorTest {
protected:
    void SetUp() override {
        quotes.addAccount("u1", "pw");
        quotes.setWatchList("u1", {A, B});
        readyWithAccount();
        base::NotificationCenter::shared().addObserver(
            observer, DataManager::MyStockSwitchCenter,
            [this](const base::Notification &n) { announcements.push_back(n.userInfo); });
    }

    void writeMyStocks(const base::Array &stocks) {
        ASSERT_TRUE(base::PropertyList::write(stocks, documentsFile("MyStockList.plist")));
    }
    std::optional<base::Value> myStocks() const {
        return base::PropertyList::read(documentsFile("MyStockList.plist"));
    }
    std::vector<std::pair<std::string, std::string>> myStockEntries() const {
        std::vector<std::pair<std::string, std::string>> entries;
        if (auto stocks = myStocks(); stocks && stocks->array())
            for (const base::Value &entry : *stocks->array())
                entries.emplace_back(entry["MarketCode"].stringValue(), entry["StockName"].stringValue());
        return entries;
    }
    // The message of the sync information box, once it is shown.
    std::optional<std::string> syncBox() {
        auto shown = [&] {
            return std::any_of(app.alerts().begin(), app.alerts().end(),
                               [](const host::AlertRecord &a) { return a.title == "自选股同步"; });
        };
        if (!pumpUntil(shown))
            return std::nullopt;
        for (const host::AlertRecord &alert : app.alerts())
            if (alert.title == "自选股同步")
                return alert.message;
        return std::nullopt;
    }

    std::vector<base::Dict> announcements;
};

TEST_F(SyncTest, DownloadAndMergeAppendsWhatIsMissing) {
    base::Array file;
    file.add(stock(B, "平安银行"));
    file.add(stock(C, "招商银行"));
    writeMyStocks(file);
    db->syncMyStock(2);
    EXPECT_EQ(syncBox(), "自选股同步成功");
    using Entry = std::pair<std::string, std::string>;
    EXPECT_EQ(myStockEntries(), (std::vector<Entry>{{B, "平安银行"}, {C, "招商银行"}, {A, ""}}));
    ASSERT_EQ(announcements.size(), 1u);
    EXPECT_EQ(announcements[0].get("MSG_ID").stringValue(), "AddedNewStock");
    base::Value data = announcements[0].get("Data");
    EXPECT_EQ(data["ModelName"].stringValue(), "我的自选");
    EXPECT_EQ(data["ModelFileName"].stringValue(), "MyStockList");
    EXPECT_FALSE(db->isDownloadingMyStock());
}

TEST_F(SyncTest, DownloadAndReplaceWritesExactlyTheDownloadedCodes) {
    base::Array file;
    file.add(stock(C, "招商银行"));
    writeMyStocks(file);
    db->syncMyStock(1);
    EXPECT_EQ(syncBox(), "自选股下载成功");
    using Entry = std::pair<std::string, std::string>;
    EXPECT_EQ(myStockEntries(), (std::vector<Entry>{{A, ""}, {B, ""}}));
    EXPECT_EQ(announcements.size(), 1u);
}

TEST_F(SyncTest, UploadSendsTheCodesOfTheDefaultGroup) {
    base::Array file;
    file.add(stock(B, "平安银行"));
    file.add(stock("", "空"));
    file.add(stock(C, "招商银行"));
    writeMyStocks(file);
    db->syncMyStock(3);
    EXPECT_EQ(syncBox(), "自选股已成功上传到服务器");
    EXPECT_EQ(quotes.watchList("u1"), (std::vector<std::string>{B, C}));
    EXPECT_TRUE(announcements.empty());
}

// Every failure leaves the file as it was and announces nothing.
TEST_F(SyncTest, FailuresAreShownAndLeaveTheFile) {
    struct Case {
        const char *name;
        std::optional<int> result;
        bool emptyReply;
        const char *text;
    };
    const Case cases[] = {
        {"no such user", 1, false, "不存在该用户"},
        {"wrong password", 2, false, "密码错误"},
        {"other result", 9, false, "未知错误"},
        {"no result at all", std::nullopt, true, "未知错误"},
    };
    base::Array file;
    file.add(stock(C, "招商银行"));
    writeMyStocks(file);
    for (const Case &c : cases) {
        for (int type : {1, 2, 3}) {
            SCOPED_TRACE(std::string(c.name) + " " + std::to_string(type));
            quotes.setSyncResult(c.result);
            if (c.emptyReply)
                quotes.addFault(Fault::on(2912).cutBody(0));
            size_t shown = app.alerts().size();
            db->syncMyStock(type);
            ASSERT_TRUE(pumpUntil([&] { return app.alerts().size() == shown + 1; }));
            EXPECT_EQ(app.alerts().back().title, "自选股同步");
            EXPECT_EQ(app.alerts().back().message, c.text);
            EXPECT_FALSE(db->isDownloadingMyStock());
        }
    }
    using Entry = std::pair<std::string, std::string>;
    EXPECT_EQ(myStockEntries(), (std::vector<Entry>{{C, "招商银行"}}));
    EXPECT_TRUE(announcements.empty());
}

TEST_F(SyncTest, SecondSyncWhileOneIsInFlightIsIgnored) {
    quotes.addFault(Fault::on(2912).split(3, -1));
    db->syncMyStock(1);
    db->syncMyStock(2);
    settle();
    EXPECT_TRUE(db->isDownloadingMyStock());
    quotes.resume();
    EXPECT_EQ(syncBox(), "自选股下载成功");
    settle();
    EXPECT_EQ(quotes.receivedCount(2912), 1u);
}

TEST_F(SyncTest, NoSyncWhileDisconnectedAndALostSyncIsAbandoned) {
    quotes.addFault(Fault::on(2912).silence());
    db->syncMyStock(1);
    ASSERT_TRUE(pumpUntil([&] { return quotes.receivedCount(2912) == 1; }));
    size_t lost = losses();
    quotes.closeConnection();
    ASSERT_TRUE(pumpUntil([&] { return losses() == lost + 1; }));
    EXPECT_FALSE(db->isDownloadingMyStock());
    db->syncMyStock(3);
    EXPECT_FALSE(db->isDownloadingMyStock());
    // Once connected again, a sync starts.
    advance(db->m_ConnectTimes());
    ASSERT_TRUE(runUntil([&] { return db->isHQConnected(); }));
    settle();
    db->syncMyStock(1);
    EXPECT_EQ(syncBox(), "自选股下载成功");
}

TEST_F(SyncTest, DamagedFileIsKeptByMergeAndUpload) {
    const std::string damaged = "<plist><array><dict>";
    ASSERT_TRUE(base::FileManager::writeAtomically(documentsFile("MyStockList.plist"),
                                                   base::Data::fromString(damaged)));
    for (int type : {2, 3}) {
        SCOPED_TRACE(type);
        size_t shown = app.alerts().size();
        db->syncMyStock(type);
        ASSERT_TRUE(pumpUntil([&] { return app.alerts().size() == shown + 1; }));
        EXPECT_EQ(app.alerts().back().message, DataManager::DamagedGroupText);
        EXPECT_FALSE(db->isDownloadingMyStock());
    }
    EXPECT_EQ(base::FileManager::read(documentsFile("MyStockList.plist"))->toString(), damaged);
    EXPECT_EQ(quotes.watchList("u1"), (std::vector<std::string>{A, B}));
    EXPECT_TRUE(announcements.empty());
}

TEST_F(SyncTest, FailedWriteShowsTheTipAndAnnouncesNothing) {
    // A directory where the file goes: the write cannot replace it.
    ASSERT_TRUE(base::FileManager::createDirectory(documentsFile("MyStockList.plist"), true));
    size_t shown = app.alerts().size();
    db->syncMyStock(1);
    ASSERT_TRUE(pumpUntil([&] {
        return std::any_of(app.toasts().begin(), app.toasts().end(),
                           [](const host::ToastRecord &t) { return t.text == DataManager::WriteFailedText; });
    }));
    settle();
    EXPECT_EQ(app.alerts().size(), shown);
    EXPECT_TRUE(announcements.empty());
    EXPECT_FALSE(db->isDownloadingMyStock());
    base::FileManager::remove(documentsFile("MyStockList.plist"));
}

// The upgrade notice compares the bundle's version (the number 3.00) with the navigation server's.
class UpgradeTest : public CoordinatorTest {
protected:
    void announce(const std::string &version, const std::string &address) {
        peers::NavigationInfo info = peers::NavigationInfo::pointingAt(quotes.port());
        info.version = version;
        info.downloadAddress = address;
        navigation().setInfo(info);
        readyWithoutAccount();
    }
};

TEST_F(UpgradeTest, NewerVersionOffersTheDownload) {
    const std::string address = "https://127.0.0.1/qvn/download";
    announce("3.10", address);
    db->AlertUpgrade(true);
    ASSERT_EQ(app.alerts().size(), 1u);
    EXPECT_EQ(app.alerts()[0].title, "系统提示");
    EXPECT_EQ(app.alerts()[0].message, "有最新版本3.10,是否现在升级？");
    EXPECT_EQ(app.alerts()[0].buttons, (std::vector<std::string>{"确 定", "取 消"}));
    EXPECT_EQ(app.visibleAlerts().back()->tag, DataBase::UpgradeAlertTag);
    ASSERT_TRUE(app.pressAlertButton(1));
    EXPECT_TRUE(app.openedUrls().empty());
    db->AlertUpgrade(true);
    ASSERT_TRUE(app.pressAlertButton(0));
    EXPECT_EQ(app.openedUrls(), (std::vector<std::string>{address}));
}

TEST_F(UpgradeTest, OnlyWebAddressesAreOpened) {
    announce("3.5", "file:///etc/passwd");
    db->AlertUpgrade(false);
    ASSERT_TRUE(app.pressAlertButton(0));
    EXPECT_TRUE(app.openedUrls().empty());
}

TEST_F(UpgradeTest, SameVersionIsQuietUnlessAsked) {
    announce("3.00", "https://127.0.0.1/qvn/download");
    db->AlertUpgrade(true);
    EXPECT_TRUE(app.alerts().empty());
    db->AlertUpgrade(false);
    ASSERT_EQ(app.alerts().size(), 1u);
    EXPECT_EQ(app.alerts()[0].title, "系统提示");
    EXPECT_EQ(app.alerts()[0].message, "没有发现新的版本，软件不需要升级。");
    EXPECT_EQ(app.alerts()[0].buttons, (std::vector<std::string>{"确 定"}));
}

} // namespace
