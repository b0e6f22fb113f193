#include "Class/Module/LoginModel/LoginView/AccountList.h"

#include <gtest/gtest.h>

namespace {

SavedBrokerAccount entry(const char *broker, const char *dep, const char *account) {
    return {broker, "13800138000", "123456", "上海", dep, dep, "0", account, "YES"};
}

TEST(AccountList, StoringALogin) {
    const SavedBrokerAccount a1 = entry("甲", "01", "111"), aEmpty = entry("甲", "01", ""),
                             b2 = entry("乙", "02", "222");
    struct Case {
        const char *name;
        SavedBrokerAccounts before;
        int inUse;
        SavedBrokerAccount current;
        SavedBrokerAccounts after;
        int nowInUse;
        bool changed;
    } cases[] = {
        {"first login", {}, -1, a1, {a1}, 0, true},
        {"same login again", {b2, a1}, -1, a1, {b2, a1}, 1, false},
        {"in use without account takes it", {b2, aEmpty}, 1, a1, {b2, a1}, 1, true},
        {"in use loses its account when not saved", {b2, a1}, 1, aEmpty, {b2, aEmpty}, 1, true},
        {"in use of another branch keeps its account",
         {b2, a1},
         0,
         entry("甲", "01", "333"),
         {entry("甲", "01", "333"), b2, a1},
         0,
         true},
        {"in use of another branch is not given the account", {b2}, 0, aEmpty, {aEmpty, b2}, 0, true},
        {"same branch without account takes it", {b2, aEmpty}, 0, a1, {b2, a1}, 1, true},
        {"same branch, nothing to give", {aEmpty}, -1, aEmpty, {aEmpty}, 0, false},
        {"same branch with account, current empty", {a1}, -1, aEmpty, {a1}, -1, false},
        {"another account of the same branch",
         {a1},
         -1,
         entry("甲", "01", "444"),
         {entry("甲", "01", "444"), a1},
         0,
         true},
        {"in use beyond the list", {b2}, 4, a1, {a1, b2}, 0, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SavedBrokerAccounts accounts = c.before;
        AccountList::StoreResult result = AccountList::store(accounts, c.inUse, c.current);
        EXPECT_EQ(accounts, c.after);
        EXPECT_EQ(result.inUse, c.nowInUse);
        EXPECT_EQ(result.changed, c.changed);
    }
}

TEST(AccountList, TheIndexInUseAfterADeletion) {
    struct Case {
        int stored, deleted, after;
    } cases[] = {{2, 0, 1}, {2, 1, 1}, {2, 2, -1}, {2, 3, 2}, {0, 0, -1}, {-1, 0, -1}};
    for (const Case &c : cases)
        EXPECT_EQ(AccountList::indexAfterDeletion(c.stored, c.deleted), c.after)
            << c.stored << " " << c.deleted;
}

TEST(AccountList, EntriesReadMissingOrForeignValuesAsEmpty) {
    base::Dict dict{{"SecuritiesName", "甲"}, {"Account", 880001}, {"NeedSelectDep", "NO"}};
    SavedBrokerAccount read = SavedBrokerAccount::fromDict(dict);
    EXPECT_EQ(read.securitiesName, "甲");
    EXPECT_EQ(read.account, "");
    EXPECT_EQ(read.needSelectDep, "NO");
    EXPECT_EQ(read.toDict().size(), 9u);
    EXPECT_FALSE(read.toDict().has("Password"));
}

} // namespace
