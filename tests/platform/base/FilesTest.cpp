#include "base/Bundle.h"
#include "base/FileManager.h"
#include "base/Paths.h"
#include "base/PropertyList.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sys/resource.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using base::Data;
using base::FileManager;
using base::Paths;

// A fresh directory per test, removed afterwards.
class TempDir : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = FileManager::uniqueTemporaryPath();
        ASSERT_TRUE(FileManager::createDirectory(dir_, true));
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        FileManager::remove(dir_);
    }
    std::string path(std::string_view name) const { return Paths::join(dir_, name); }
    void put(std::string_view name, std::string_view text) {
        ASSERT_TRUE(FileManager::writeAtomically(path(name), Data::fromString(text)));
    }
    std::string text(std::string_view name) const {
        auto data = FileManager::read(path(name));
        return data ? data->toString() : "<missing>";
    }

    std::string dir_;
};

TEST(Paths, JoinUsesOneSeparator) {
    struct Case {
        std::string joined, expected;
    } cases[] = {
        {Paths::join("a", "b"), "a/b"},
        {Paths::join("a/", "/b"), "a/b"},
        {Paths::join("/", "b"), "/b"},
        {Paths::join("", "b", ""), "b"},
        {Paths::join("/home/u", "data/minline", "x y.plist"), "/home/u/data/minline/x y.plist"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.joined, c.expected);
}

TEST(Paths, DirectoriesLieUnderTheHomeAndExist) {
    std::string previous = std::getenv("QV_HOME") ? std::getenv("QV_HOME") : "";
    std::string home = fs::temp_directory_path() / ("qv-home-" + std::to_string(::getpid()));
    setenv("QV_HOME", home.c_str(), 1);
    EXPECT_EQ(Paths::documents(), home + "/Documents");
    EXPECT_EQ(Paths::caches(), home + "/Library/Caches");
    EXPECT_EQ(Paths::temporary(), home + "/tmp");
    for (const auto &dir : {Paths::documents(), Paths::caches(), Paths::temporary()})
        EXPECT_TRUE(fs::is_directory(dir)) << dir;
    if (previous.empty())
        unsetenv("QV_HOME");
    else
        setenv("QV_HOME", previous.c_str(), 1);
    fs::remove_all(home);
}

TEST_F(TempDir, DirectoriesListingAndRemoval) {
    EXPECT_FALSE(FileManager::createDirectory(path("a/b"), false));
    ASSERT_TRUE(FileManager::createDirectory(path("a/b"), true));
    EXPECT_TRUE(FileManager::createDirectory(path("a/b"), true));
    EXPECT_FALSE(FileManager::createDirectory(path("a/b"), false));
    put("a/b/x.txt", "x");
    put("a/y z.txt", "y");

    bool isDir = false;
    EXPECT_TRUE(FileManager::exists(path("a"), &isDir));
    EXPECT_TRUE(isDir);
    EXPECT_TRUE(FileManager::exists(path("a/y z.txt"), &isDir));
    EXPECT_FALSE(isDir);
    EXPECT_FALSE(FileManager::exists(path("nothing"), &isDir));

    EXPECT_EQ(FileManager::subpaths(dir_), (std::vector<std::string>{"a", "a/b", "a/b/x.txt", "a/y z.txt"}));
    EXPECT_EQ(FileManager::contents(path("a")), (std::vector<std::string>{"b", "y z.txt"}));
    EXPECT_TRUE(FileManager::subpaths(path("nothing")).empty());

    EXPECT_TRUE(FileManager::remove(path("a")));
    EXPECT_FALSE(FileManager::exists(path("a")));
    EXPECT_FALSE(FileManager::remove(path("a")));
}

TEST_F(TempDir, ReadAnswersNothingForMissingFilesAndDirectories) {
    EXPECT_FALSE(FileManager::read(path("missing")));
    EXPECT_FALSE(FileManager::read(dir_));
    put("empty", "");
    ASSERT_TRUE(FileManager::read(path("empty")));
    EXPECT_TRUE(FileManager::read(path("empty"))->empty());
}

TEST_F(TempDir, AtomicWriteReplacesWholeAndLeavesNoTemporaryFiles) {
    put("f", "old contents");
    put("f", "new");
    EXPECT_EQ(text("f"), "new");
    EXPECT_EQ(FileManager::contents(dir_), std::vector<std::string>{"f"});
}

TEST_F(TempDir, AtomicWriteFailuresAreReported) {
    ASSERT_TRUE(FileManager::createDirectory(path("sub"), false));
    put("sub/keep", "kept");
    for (std::string target : {path("missing/f"), path("sub"), path("sub/keep/under-a-file"), dir_ + "/"}) {
        EXPECT_FALSE(FileManager::writeAtomically(target, Data::fromString("x"))) << target;
    }
    EXPECT_EQ(text("sub/keep"), "kept");
    EXPECT_EQ(FileManager::contents(path("sub")), std::vector<std::string>{"keep"});
}

TEST_F(TempDir, AtomicWriteIntoReadOnlyDirectoryKeepsOldFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the super-user";
    put("f", "old");
    fs::permissions(dir_, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_FALSE(FileManager::writeAtomically(path("f"), Data::fromString("new")));
    EXPECT_EQ(text("f"), "old");
}

TEST_F(TempDir, AtomicWriteThatFailsHalfwayKeepsOldFile) {
    put("f", "old");
    // A file-size limit makes the write itself fail part of the way through.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool written = FileManager::writeAtomically(path("f"), Data(std::vector<uint8_t>(8192, 'n')));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, SIG_DFL);

    EXPECT_FALSE(written);
    EXPECT_EQ(text("f"), "old");
    EXPECT_EQ(FileManager::contents(dir_), std::vector<std::string>{"f"});
}

TEST_F(TempDir, BundleFindsResourcesByNameAndType) {
    ASSERT_TRUE(FileManager::createDirectory(path("Month Calendar"), false));
    put("Month Calendar/Date Tile.png", "png");
    put("configfile.plist", "plist");
    put("README", "r");
    base::Bundle bundle(dir_);
    struct Case {
        const char *name;
        const char *type;
        const char *found; // nullptr: no such resource
    } cases[] = {
        {"configfile", "plist", "configfile.plist"},
        {"configfile.plist", "plist", "configfile.plist"},
        {"configfile.plist", "", "configfile.plist"},
        {"Month Calendar/Date Tile", "png", "Month Calendar/Date Tile.png"},
        {"README", "", "README"},
        {"configfile", "", nullptr},
        {"configfile", "html", nullptr},
        {"Month Calendar", "", nullptr},
        {"", "plist", nullptr},
    };
    for (const auto &c : cases) {
        auto found = bundle.pathFor(c.name, c.type);
        if (c.found)
            EXPECT_EQ(found, path(c.found)) << c.name;
        else
            EXPECT_FALSE(found) << c.name;
    }
}

TEST_F(TempDir, StringTablesAnswerTheKeyWhenTheyHaveNoText) {
    base::Dict main, socket;
    main.set("下拉刷新", "Pull down to refresh");
    main.set("ON", "");
    main.set("count", 3);
    socket.set("Timed out", "超时");
    ASSERT_TRUE(base::PropertyList::write(base::Value(main), path("Localizable.strings")));
    ASSERT_TRUE(base::PropertyList::write(base::Value(socket), path("RunLoopSocket.strings")));
    put("Broken.strings", "not a property list");
    base::Bundle bundle(dir_);
    struct Case {
        const char *key, *table, *text;
    } cases[] = {
        {"下拉刷新", "", "Pull down to refresh"},
        {"ON", "", ""}, // an empty entry is a text like any other
        {"count", "", "count"},
        {"释放刷新", "", "释放刷新"},
        {"Timed out", "RunLoopSocket", "超时"},
        {"下拉刷新", "RunLoopSocket", "下拉刷新"},
        {"Timed out", "Broken", "Timed out"},
        {"Timed out", "Missing", "Timed out"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(bundle.localizedString(c.key, c.table), c.text) << c.key << " in " << c.table;
    EXPECT_EQ(base::localized("下拉刷新"), "下拉刷新") << "the application bundle has no main table";
}

TEST(Bundle, InfoKeysOfTheApplicationBundle) {
    base::Bundle bundle(QV_FIXTURES_DIR "/../../resources");
    EXPECT_EQ(bundle.info("CFBundleName"), base::Value("QVNSolvaneMobile"));
    EXPECT_EQ(bundle.info("CFBundleVersion"), base::Value(3.0)) << "a number, compared with the server's";
    EXPECT_EQ(bundle.info("CFBundleShortVersionString"), base::Value("3.00"));
    EXPECT_TRUE(bundle.info("CFBundleDisplayName").isString());
    EXPECT_TRUE(bundle.info("NoSuchKey").isNull());
    EXPECT_TRUE(base::Bundle("/nonexistent").info("CFBundleName").isNull());
}

} // namespace
