#include "UserFilesFixture.h"

#include "Components/CMAlertView.h"

namespace {

using base::Array;
using base::Dict;
using base::Value;

const Dict added = {{"ModelName", "我的自选"},
                    {"ModelFileName", "MyStockList"},
                    {"StockName", "中国石油"},
                    {"MarketCode", "SH601857"}};

TEST_F(UserFiles, GroupsComeFromTheBundleUntilTheUserHasTheirOwn) {
    Array groups = dm.GetCurrentModelsArray();
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0], Value(Dict{{"ModelName", "我的自选"}, {"ModelFileName", "MyStockList"}}));
    EXPECT_EQ(dm.gMyStockModelArray, groups);

    store("MyStockModuleList.plist", Array{Dict{{"ModelName", "港股"}, {"ModelFileName", "HKList"}}});
    EXPECT_EQ(dm.GetCurrentModelsArray().size(), 1u);
    EXPECT_EQ(dm.GetCurrentMyStockArrayByModelName("HKList"), Array());
}

TEST_F(UserFiles, AddingPutsTheStockOnTopOfTheBundleDefaultAndAnnouncesIt) {
    EXPECT_TRUE(dm.IsStockInMyStock("SH600000", "MyStockList"));
    EXPECT_FALSE(dm.IsStockInMyStock("SH601857", "MyStockList"));

    ASSERT_TRUE(dm.AddNewStockToModel("我的自选", "MyStockList", "中国石油", "SH601857"));
    Value written = stored("MyStockList.plist");
    ASSERT_TRUE(written.array());
    EXPECT_EQ(written[0], Value(stock("SH601857", "中国石油")));
    EXPECT_EQ(written.array()->size(), 6u);
    EXPECT_EQ(dm.GetCurrentMyStockArrayByModelName("MyStockList"), *written.array());
    ASSERT_EQ(posts().size(), 1u);
    EXPECT_EQ(posts()[0], (Dict{{"MSG_ID", "AddedNewStock"}, {"Data", added}}));
}

TEST_F(UserFiles, AddingAStockAlreadyThereOnlyShowsTheMessageBox) {
    store("MyStockList.plist", Array{stock("SH601857", "中国石油")});
    EXPECT_FALSE(dm.AddNewStockToModel("我的自选", "MyStockList", "石油", "SH601857"));

    EXPECT_EQ(stored("MyStockList.plist"), Value(Array{stock("SH601857", "中国石油")}));
    EXPECT_TRUE(posts().empty());
    EXPECT_EQ(toastTexts(), std::vector<std::string>{"该股已存在自选股中"});
}

TEST_F(UserFiles, DeletingRemovesTheFirstMatchAndIsAnnouncedAsAnAddition) {
    store("MyStockList.plist",
          Array{stock("SH600000", "浦发银行"), stock("SH601857", "中国石油"), stock("SH601857", "重复")});
    ASSERT_TRUE(dm.DelNewStockToModel("我的自选", "MyStockList", "中国石油", "SH601857"));
    EXPECT_EQ(stored("MyStockList.plist"),
              Value(Array{stock("SH600000", "浦发银行"), stock("SH601857", "重复")}));
    ASSERT_EQ(posts().size(), 1u);
    EXPECT_EQ(posts()[0], (Dict{{"MSG_ID", "AddedNewStock"}, {"Data", added}}));

    EXPECT_FALSE(dm.DelNewStockToModel("我的自选", "MyStockList", "平安银行", "SZ000001"));
    EXPECT_EQ(posts().size(), 1u);
}

TEST_F(UserFiles, DeletingFromAMissingFileWorksOnTheBundleDefault) {
    ASSERT_TRUE(dm.DelNewStockToModel("重点关注", "MyFocusList", "招商银行", "SH600036"));
    EXPECT_EQ(stored("MyFocusList.plist"),
              Value(Array{stock("SH601318", "中国平安"), stock("SZ000858", "五粮液")}));
}

// A group file that is there but cannot be read is the user's data all the same: it is never
// replaced by the bundle default or by a list built from nothing.
TEST_F(UserFiles, ADamagedGroupFileRefusesChangesAndIsKept) {
    const std::string plistDict = "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict/></plist>";
    for (const std::string &bytes : {std::string("<plist><array><dict>"), plistDict, std::string()}) {
        SCOPED_TRACE(bytes);
        storeBytes("MyStockList.plist", bytes);
        EXPECT_FALSE(dm.AddNewStockToModel("我的自选", "MyStockList", "中国石油", "SH601857"));
        EXPECT_FALSE(dm.DelNewStockToModel("我的自选", "MyStockList", "上证指数", "SH000001"));
        EXPECT_EQ(*base::FileManager::read(path("MyStockList.plist")), base::Data::fromString(bytes));
        EXPECT_EQ(dm.GetCurrentMyStockArrayByModelName("MyStockList"), Array());
        EXPECT_FALSE(dm.IsStockInMyStock("SH000001", "MyStockList"));
    }
    EXPECT_TRUE(posts().empty());
    EXPECT_EQ(toastTexts().size(), 6u);
    EXPECT_EQ(toastTexts().back(), DataManager::DamagedGroupText);
}

TEST_F(UserFiles, GroupNamesThatLeaveTheDocumentsDirectoryAreRefused) {
    for (const char *name : {"", ".", "..", "../MyStockList", "sub/list"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(dm.AddNewStockToModel("组", name, "中国石油", "SH601857"));
        EXPECT_FALSE(dm.SaveMyStockArray(Array{stock("SH601857", "中国石油")}, name));
    }
    EXPECT_FALSE(std::filesystem::exists(home_ + "/MyStockList.plist"));
    EXPECT_TRUE(posts().empty());
}

TEST_F(UserFiles, AFailedGroupWriteAnnouncesNothingAndSaysSo) {
    breakDocuments();
    EXPECT_FALSE(dm.AddNewStockToModel("我的自选", "MyStockList", "中国石油", "SH601857"));
    EXPECT_TRUE(posts().empty());
    EXPECT_EQ(toastTexts(), std::vector<std::string>{DataManager::WriteFailedText});
}

} // namespace
