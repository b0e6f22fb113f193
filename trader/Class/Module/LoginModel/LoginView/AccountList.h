#pragma once

#include "base/Value.h"

#include <string>
#include <vector>

// The broker accounts saved on earlier logins ("AccountList.plist" in the documents directory,
// newest first) and the rules the login form keeps them by. Plain functions, so that the form and
// the broker chooser share them and tests can feed them lists directly. No password is ever part
// of an entry.
struct SavedBrokerAccount {
    std::string securitiesName;
    std::string mobile;
    std::string mobileCheckNum;
    std::string areaName;
    std::string departmentName;
    std::string departmentCode;
    std::string accountType;
    std::string account;
    std::string needSelectDep;

    // Every key present as a string; a missing key reads as empty.
    static SavedBrokerAccount fromDict(const base::Dict &dict);
    base::Dict toDict() const;
    // Equal in the seven fields a login is recognised by: all but the account and its type.
    bool sameBranch(const SavedBrokerAccount &other) const;
    bool operator==(const SavedBrokerAccount &) const = default;
};

using SavedBrokerAccounts = std::vector<SavedBrokerAccount>;

namespace AccountList {

constexpr const char *kFileName = "AccountList.plist";

std::string path();
// The saved accounts; none when the file is missing or no array.
SavedBrokerAccounts load();
// Writes the whole list atomically, readable by the owner only; false when the write failed.
bool save(const SavedBrokerAccounts &accounts);

// What storing a successful login decided: the entry now in use and whether the list changed.
struct StoreResult {
    int inUse = -1;
    bool changed = false;
};
// Stores `current` into `accounts` given the entry in use (-1: none). An entry matching in all
// eight compared fields is only taken into use. An entry in use that matches the branch gets the
// account when either side's account is empty. Else the first entry of the same branch without an
// account takes the current one; one with an account is kept, unless both accounts are set, in
// which case (as when nothing matches) a new entry goes in front.
StoreResult store(SavedBrokerAccounts &accounts, int inUse, const SavedBrokerAccount &current);

// The stored index of the entry in use after entry `deleted` went: later entries move up, and the
// deleted entry itself leaves nothing in use (-1).
int indexAfterDeletion(int stored, int deleted);

} // namespace AccountList
