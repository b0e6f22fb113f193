#include "CoordinatorFixture.h"

#include "base/PropertyList.h"

#include <cstdlib>
#include <filesystem>

namespace coordinator {

namespace {

// A bundle beside the real one: the same resources, and a server list naming the navigation
// server of this program besides the real list's other hosts. Made before anything reads the bundle, in the
// test's home, and removed at the end.
class BundleEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        namespace fs = std::filesystem;
        const char *real = std::getenv("QV_BUNDLE");
        fs::path source = real ? fs::path(real) : fs::path(QV_FIXTURES_DIR) / ".." / ".." / "resources";
        dir_ = fs::path(base::Paths::home()) / base::str::format("qv-coordinator-bundle-%d", int(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        for (const fs::directory_entry &entry : fs::directory_iterator(source))
            if (entry.path().filename() != "ServerConfig.plist")
                fs::create_symlink(fs::absolute(entry.path()), dir_ / entry.path().filename());
        base::Dict server{{"host", "127.0.0.1"}, {"port", int(navigation().port())}};
        base::Array servers;
        servers.add(server);
        // The real list's other hosts stay.
        std::optional<base::Value> shipped =
            base::PropertyList::read((source / "ServerConfig.plist").string());
        base::Dict config = shipped && shipped->dict() ? shipped->dict()->copy() : base::Dict();
        config.set("NavServers", servers);
        ASSERT_TRUE(base::PropertyList::write(config, (dir_ / "ServerConfig.plist").string()));
        ::setenv("QV_BUNDLE", dir_.c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

private:
    std::filesystem::path dir_;
};

[[maybe_unused]] ::testing::Environment *const bundleEnvironment =
    ::testing::AddGlobalTestEnvironment(new BundleEnvironment);

constexpr const char *LostMarker = "网络连接已经中断!!!";

} // namespace

peers::NavigationServer &navigation() {
    static peers::NavigationServer server(peers::NavigationInfo::pointingAt(0));
    return server;
}

std::vector<std::string> RecordingDelegate::reconnectDelays() const {
    std::vector<std::string> delays;
    const std::string key = "重连延时:";
    for (const Report &report : reports)
        if (size_t at = report.marker.find(key); at != std::string::npos)
            delays.push_back(
                report.marker.substr(at + key.size(), report.marker.size() - at - key.size() - 1));
    return delays;
}

std::vector<float> RecordingDelegate::loginProgress() const {
    std::vector<float> values;
    for (const Report &report : reports)
        if (report.progress != -1)
            values.push_back(report.progress);
    return values;
}

CoordinatorTest::CoordinatorTest() : CoordinatorTest(peers::MarketFixture::standard()) {}

CoordinatorTest::CoordinatorTest(peers::MarketFixture market) : quotes(0, std::move(market)) {
    for (const char *file : {"MyStockList.plist", "UserConfig.plist"})
        base::FileManager::remove(documentsFile(file));
    base::FileManager::remove(documentsFile("code"));
    net::ReachabilityTarget::overrideFlags(net::Reachable);
    navigation().clearFaults();
    navigation().clearReceived();
    navigation().setInfo(peers::NavigationInfo::pointingAt(quotes.port()));
    driver.watch([this] { return quotes.quiet(); });
    driver.watch([] { return navigation().quiet(); });
    DataManager::sharedDataManager().msgboxParentHandle = app.window().self<ui::View>();
    base::NotificationCenter::shared().addObserver(
        observer, DataBase::LoginLevel2AccountNotify, [this](const base::Notification &n) {
            statuses.push_back(int(n.userInfo.get(DataBase::LoginLevel2AccountStatus).intValue()));
        });
    restart();
}

void CoordinatorTest::restart() {
    if (db) {
        db->Disconnect();
        settle();
    }
    statuses.clear();
    delegate->reports.clear();
    delegate->tips.clear();
    db = base::make<DataBase>();
    db->initialize(delegate);
}

CoordinatorTest::~CoordinatorTest() {
    db->Disconnect();
    settle();
    EXPECT_FALSE(driver.stalled()) << "a run until idle gave up after " << peers::LoopDriver::RealLimit
                                   << " real seconds";
    db.reset();
    quotes.stop();
    net::ReachabilityTarget::overrideFlags(std::nullopt);
}

void CoordinatorTest::loginWithoutAccount() {
    ASSERT_EQ(db->ConnectAndLoginWithoutAccount(nullptr, false), 1);
}

void CoordinatorTest::loginWithAccount(const std::string &name, const std::string &password) {
    ASSERT_EQ(db->ConnectAndLoginLevel2Account(nullptr, name, password, false), 1);
}

bool CoordinatorTest::waitForStatus(int status) {
    return runUntil([&] { return std::find(statuses.begin(), statuses.end(), status) != statuses.end(); });
}

bool CoordinatorTest::waitForEnd() {
    return runUntil([&] {
        return !statuses.empty() && (statuses.back() == 4 || statuses.back() == 6 || statuses.back() == 9);
    });
}

void CoordinatorTest::readyWithoutAccount() {
    loginWithoutAccount();
    ASSERT_TRUE(waitForEnd());
    ASSERT_EQ(statuses.back(), 9);
    settle();
}

void CoordinatorTest::readyWithAccount() {
    quotes.addAccount("u1", "pw");
    loginWithAccount();
    ASSERT_TRUE(waitForEnd());
    ASSERT_EQ(statuses.back(), 9);
    settle();
}

size_t CoordinatorTest::losses() const {
    return size_t(std::count_if(delegate->reports.begin(), delegate->reports.end(),
                                [](const RecordingDelegate::Report &r) { return r.marker == LostMarker; }));
}

} // namespace coordinator
