#include "UserFilesFixture.h"

#include "EncryptorAES.h"

namespace {

using base::Array;
using base::Dict;
using base::Value;

TEST_F(UserFiles, BrowsingMovesTheSecurityToTheTopAndAnnouncesIt) {
    dm.AddLatestBrowseViewed("浦发银行", "SH600000");
    dm.AddLatestBrowseViewed("平安银行", "SZ000001");
    dm.AddLatestBrowseViewed("浦发", "SH600000");

    const Array expected{stock("SH600000", "浦发"), stock("SZ000001", "平安银行")};
    EXPECT_EQ(dm.gLatestBrowseViewedArray, expected);
    EXPECT_EQ(dm.GetLatestBrowseViewed(), expected);
    ASSERT_EQ(posts().size(), 3u);
    EXPECT_EQ(posts()[2], (Dict{{"MSG_ID", "AddedLatestBrowse"},
                                {"Data", Dict{{"StockName", "浦发"}, {"MarketCode", "SH600000"}}}}));
}

TEST_F(UserFiles, RecentListsKeepTheTwentyNewest) {
    for (int i = 0; i < 21; ++i)
        dm.AddLatestRecentViewed("股" + std::to_string(i), "SZ" + std::to_string(300000 + i));
    Array recent = dm.GetLatestRecentViewed();
    ASSERT_EQ(recent.size(), 20u);
    EXPECT_EQ(recent[0], Value(stock("SZ300020", "股20")));
    EXPECT_EQ(recent[19], Value(stock("SZ300001", "股1")));
    EXPECT_EQ(dm.gLatestRecentViewedArray, recent);
    EXPECT_TRUE(posts().empty());

    dm.gLatestRecentViewedArray = Array();
    dm.initData();
    EXPECT_EQ(dm.gLatestRecentViewedArray, recent);
}

TEST_F(UserFiles, AFailedListWriteKeepsTheListAndAnnouncesNothing) {
    dm.AddLatestBrowseViewed("浦发银行", "SH600000");
    breakDocuments();
    dm.AddLatestBrowseViewed("平安银行", "SZ000001");
    EXPECT_EQ(dm.gLatestBrowseViewedArray, (Array{stock("SH600000", "浦发银行")}));
    EXPECT_EQ(posts().size(), 1u);
    EXPECT_EQ(toastTexts(), std::vector<std::string>{DataManager::WriteFailedText});
}

TEST_F(UserFiles, HelpIsShownUntilTheLastEntryForItsIdSaysOtherwise) {
    // The bundle default lists ids 0 to 3, all still to be shown.
    EXPECT_TRUE(dm.IsFirstShowHelp(2));
    EXPECT_TRUE(dm.IsFirstShowHelp(42));
    dm.SetHelpShowState(false, 2);
    EXPECT_FALSE(dm.IsFirstShowHelp(2));
    EXPECT_TRUE(dm.IsFirstShowHelp(1));
    EXPECT_EQ(stored("TipHelpSettings.plist")[2], Value(Dict{{"TIP_HELP_ID", 2}, {"IsShow", false}}));
    EXPECT_EQ(stored("TipHelpSettings.plist").array()->size(), 4u);

    auto flag = [](int id, bool show) { return Dict{{"TIP_HELP_ID", id}, {"IsShow", show}}; };
    store("TipHelpSettings.plist", Array{flag(5, false), "stray", flag(5, true), flag(6, false)});
    EXPECT_TRUE(dm.IsFirstShowHelp(5));
    EXPECT_FALSE(dm.IsFirstShowHelp(6));
    dm.SetHelpShowState(false, 5);
    EXPECT_EQ(stored("TipHelpSettings.plist"),
              Value(Array{flag(5, false), "stray", flag(5, false), flag(6, false)}));

    store("TipHelpSettings.plist", Array());
    EXPECT_TRUE(dm.IsFirstShowHelp(6));
}

TEST_F(UserFiles, ConfigurationStartsFromTheBundleCopyAndIsSavedOnChange) {
    EXPECT_TRUE(dm.gUserConfigDict.find("IsAutoMainLogin")->boolValue());
    EXPECT_FALSE(dm.gUserConfigDict.find("needReadOldVersionConfig")->boolValue());
    EXPECT_EQ(dm.GetTradeAddedAccountIndex(), 0);

    dm.SetAutoLogin(false);
    dm.SetTradeAddedAccountIndex(3);
    EXPECT_EQ(stored("UserConfig.plist")["IsAutoMainLogin"], Value(false));
    EXPECT_EQ(stored("UserConfig.plist")["TradeAddedAccountIndex"], Value(3));

    // An unchanged index is not written again.
    ASSERT_TRUE(base::FileManager::remove(path("UserConfig.plist")));
    dm.SetTradeAddedAccountIndex(3);
    EXPECT_FALSE(base::FileManager::exists(path("UserConfig.plist")));

    store("UserConfig.plist", Dict{{"TradeAddedAccountIndex", 2}, {"needReadOldVersionConfig", false}});
    dm.initData();
    EXPECT_EQ(dm.GetTradeAddedAccountIndex(), 2);
    EXPECT_EQ(dm.gUserConfigDict.find("IsAutoMainLogin"), nullptr);

    storeBytes("UserConfig.plist", "damaged");
    dm.initData();
    EXPECT_TRUE(dm.gUserConfigDict.find("IsShowNoticeAnnounce")->boolValue());
}

TEST_F(UserFiles, SavedLoginIsEncipheredAndThePasswordKeptOnlyWhenAsked) {
    struct Case {
        std::string name, password;
        bool save;
        std::string storedName, storedPassword;
    };
    for (const Case &c : std::vector<Case>{{"13800138000", "secret", true, "13800138000", "secret"},
                                           {"13800138000", "secret", false, "13800138000", ""},
                                           {"", "secret", true, "", "secret"},
                                           {"用户", "", true, "用户", ""}}) {
        SCOPED_TRACE(c.name + "/" + c.password);
        dm.SaveLoginNamePwd(c.name, c.password, c.save);
        Value config = stored("UserConfig.plist");
        auto clear = [](const Value &text) {
            const std::string cipher = text.stringValue();
            return cipher.empty()
                       ? std::string()
                       : EncryptorAES::decryptBase64String(cipher, "WbK53mt_ZP814QC").value_or("?");
        };
        EXPECT_EQ(clear(config["MainLoginName"]), c.storedName);
        EXPECT_EQ(clear(config["MainLoginPwd"]), c.storedPassword);
        EXPECT_EQ(config["MainLoginName"].stringValue().empty(), c.storedName.empty());
        EXPECT_EQ(config["IsSaveMainLoginPwd"], Value(c.save));
    }
}

class OldVersionImport : public UserFiles {
protected:
    // Starts again as a first start after an upgrade from the older program.
    void restartWithOldConfig(const Value &old) {
        store("UserConfig2012.stk", old);
        ASSERT_TRUE(base::FileManager::remove(path("UserConfig.plist")));
        dm.initData();
    }
    static Dict oldStock(const char *code, const char *name) { return {{"code", code}, {"name", name}}; }
};

TEST_F(OldVersionImport, FirstStartCopiesTheOldWatchListInOrderOnce) {
    restartWithOldConfig(
        Dict{{"SelfSelectStock", Array{oldStock("SH600000", "浦发银行"), "skipped",
                                       Dict{{"code", "SZ000002"}}, oldStock("SH601857", "中国石油")}}});
    const Array imported{stock("SH600000", "浦发银行"), stock("SZ000002", ""), stock("SH601857", "中国石油")};
    EXPECT_EQ(stored("MyStockList.plist"), Value(imported));
    EXPECT_EQ(stored("UserConfig.plist")["needReadOldVersionConfig"], Value(false));

    store("UserConfig2012.stk", Dict{{"SelfSelectStock", Array{oldStock("SZ000001", "平安银行")}}});
    dm.initData();
    EXPECT_EQ(stored("MyStockList.plist"), Value(imported));
}

TEST_F(OldVersionImport, AnExistingWatchListIsNeverReplaced) {
    store("MyStockList.plist", Array{stock("HKHSI", "恒生指数")});
    restartWithOldConfig(Dict{{"SelfSelectStock", Array{oldStock("SH600000", "浦发银行")}}});
    EXPECT_EQ(stored("MyStockList.plist"), Value(Array{stock("HKHSI", "恒生指数")}));
}

TEST_F(OldVersionImport, AnOldConfigurationWithoutStocksImportsNothing) {
    for (const Value &old : {Value(Dict{{"SelfSelectStock", "SH600000"}}), Value(Array{"x"})}) {
        restartWithOldConfig(old);
        EXPECT_FALSE(base::FileManager::exists(path("MyStockList.plist")));
        EXPECT_EQ(stored("UserConfig.plist")["needReadOldVersionConfig"], Value(false));
    }
    restartWithOldConfig(Dict{{"SelfSelectStock", Array()}});
    EXPECT_EQ(stored("MyStockList.plist"), Value(Array()));
}

} // namespace
