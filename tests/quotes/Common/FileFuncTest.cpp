#include "Common/FileFunc.h"
#include "Common/Util.h"

#include "base/FileManager.h"
#include "base/Paths.h"
#include "base/PropertyList.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

namespace {

namespace fs = std::filesystem;

// Each test gets an application home of its own.
class Documents : public ::testing::Test {
protected:
    void SetUp() override {
        home_ = base::FileManager::uniqueTemporaryPath();
        ::setenv("QV_HOME", home_.c_str(), 1);
    }
    void TearDown() override { fs::remove_all(home_); }

    std::string home_;
};

TEST_F(Documents, PathsLieUnderTheDocumentsDirectory) {
    EXPECT_EQ(FileFunc::getFilePath("code/SH.dat"), home_ + "/Documents/code/SH.dat");
    EXPECT_TRUE(FileFunc::checkDir("data/minline"));
    EXPECT_TRUE(fs::is_directory(home_ + "/Documents/data/minline"));
    EXPECT_TRUE(FileFunc::checkDir("data/minline"));
}

TEST_F(Documents, CheckDirFailsWhenTheDirectoryCannotBeMade) {
    ASSERT_TRUE(
        base::FileManager::writeAtomically(FileFunc::getFilePath("plain"), base::Data::fromString("x")));
    EXPECT_FALSE(FileFunc::checkDir("plain/sub"));
}

TEST_F(Documents, InstallationIdIsMadeOnceAndKept) {
    std::string id = Util::getUUID("219");
    EXPECT_TRUE(std::regex_match(id, std::regex("219[0-9A-F]{16}"))) << id;
    EXPECT_EQ(Util::getUUID("219"), id);
    EXPECT_EQ(Util::getUUID("301"), id);

    auto stored = base::PropertyList::read(FileFunc::getFilePath("uuid.plist"));
    ASSERT_TRUE(stored && stored->dict());
    EXPECT_EQ(*stored->dict(), (base::Dict{{"UUID", id}}));
}

TEST_F(Documents, EmptyOrDamagedIdFileGivesANewId) {
    const std::string path = FileFunc::getFilePath("uuid.plist");
    for (const base::Value &content : {base::Value(base::Dict{{"UUID", ""}}),
                                       base::Value(base::Dict{{"UUID", 7}}), base::Value(base::Array{"x"})}) {
        ASSERT_TRUE(base::PropertyList::write(content, path));
        std::string id = Util::getUUID("219");
        EXPECT_EQ(id.size(), 19u);
        EXPECT_EQ(Util::getUUID("219"), id);
    }
    ASSERT_TRUE(base::FileManager::writeAtomically(path, base::Data::fromString("not a list")));
    EXPECT_EQ(Util::getUUID("9").size(), 17u);
}

TEST_F(Documents, IdIsReturnedEvenWhenItCannotBeStored) {
    ASSERT_TRUE(FileFunc::checkDir("uuid.plist/blocked"));
    std::string first = Util::getUUID("219");
    EXPECT_EQ(first.size(), 19u);
    EXPECT_NE(Util::getUUID("219"), first);
}

} // namespace
