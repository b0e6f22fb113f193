#include "Class/Module/LoginModel/LoginView/AccountList.h"

#include "base/Paths.h"
#include "base/PropertyList.h"

#include <array>
#include <utility>

namespace {

using Field = std::string SavedBrokerAccount::*;

constexpr std::array<std::pair<const char *, Field>, 9> kKeys{{
    {"SecuritiesName", &SavedBrokerAccount::securitiesName},
    {"Mobile", &SavedBrokerAccount::mobile},
    {"MobileCheckNum", &SavedBrokerAccount::mobileCheckNum},
    {"AreaName", &SavedBrokerAccount::areaName},
    {"DepartmentName", &SavedBrokerAccount::departmentName},
    {"DepartmentCode", &SavedBrokerAccount::departmentCode},
    {"AccountType", &SavedBrokerAccount::accountType},
    {"Account", &SavedBrokerAccount::account},
    {"NeedSelectDep", &SavedBrokerAccount::needSelectDep},
}};

} // namespace

SavedBrokerAccount SavedBrokerAccount::fromDict(const base::Dict &dict) {
    SavedBrokerAccount entry;
    for (const auto &[key, field] : kKeys) {
        const base::Value *value = dict.find(key);
        const std::string *text = value ? value->string() : nullptr;
        entry.*field = text ? *text : std::string();
    }
    return entry;
}

base::Dict SavedBrokerAccount::toDict() const {
    base::Dict dict;
    for (const auto &[key, field] : kKeys)
        dict.set(key, this->*field);
    return dict;
}

bool SavedBrokerAccount::sameBranch(const SavedBrokerAccount &other) const {
    return securitiesName == other.securitiesName && mobile == other.mobile &&
           mobileCheckNum == other.mobileCheckNum && areaName == other.areaName &&
           departmentName == other.departmentName && departmentCode == other.departmentCode &&
           needSelectDep == other.needSelectDep;
}

namespace AccountList {

std::string path() {
    return base::Paths::documents() + "/" + kFileName;
}

SavedBrokerAccounts load() {
    SavedBrokerAccounts accounts;
    std::optional<base::Value> file = base::PropertyList::read(path());
    const base::Array *array = file ? file->array() : nullptr;
    if (!array)
        return accounts;
    for (const base::Value &item : *array)
        if (const base::Dict *dict = item.dict())
            accounts.push_back(SavedBrokerAccount::fromDict(*dict));
    return accounts;
}

bool save(const SavedBrokerAccounts &accounts) {
    base::Array array;
    for (const SavedBrokerAccount &entry : accounts)
        array.add(entry.toDict());
    return base::PropertyList::write(array, path(), 0600);
}

StoreResult store(SavedBrokerAccounts &accounts, int inUse, const SavedBrokerAccount &current) {
    const int count = int(accounts.size());
    for (int i = 0; i < count; ++i)
        if (accounts[size_t(i)].sameBranch(current) && accounts[size_t(i)].account == current.account)
            return {i, false};
    if (inUse >= 0 && inUse < count) {
        SavedBrokerAccount &used = accounts[size_t(inUse)];
        if (used.sameBranch(current) && (current.account.empty() || used.account.empty())) {
            used.account = current.account;
            return {inUse, true};
        }
    }
    for (int i = 0; i < count; ++i) {
        SavedBrokerAccount &entry = accounts[size_t(i)];
        if (!entry.sameBranch(current))
            continue;
        if (entry.account.empty()) {
            entry.account = current.account;
            return {i, !current.account.empty()};
        }
        if (current.account.empty())
            return {inUse, false};
        break;
    }
    accounts.insert(accounts.begin(), current);
    return {0, true};
}

int indexAfterDeletion(int stored, int deleted) {
    if (deleted < stored)
        return stored - 1;
    return deleted == stored ? -1 : stored;
}

} // namespace AccountList
