#include "Module/NavToolBarModule/SettingsViewController/AccountPowerController.h"

#include "Module/NavToolBarModule/SettingsViewController/AccountPowerCell.h"

#include "DataBase/DataBase.h"

#include "base/Str.h"

AccountPowerController::AccountPowerController() {
    setTitle(kTitle);
    sectionArray = {"用户", "权限"};
    const base::Ref<NetDataCenter> &layer = DataBase::sharedDataBase()->IO_NetDataCenter();
    std::string name = layer ? layer->IO_L2UserName : std::string();
    bool loggedIn = layer && layer->IO_L2LoginSuccess;
    userArray = {base::str::format("用户名称:          %@", name.empty() ? std::string("--") : name),
                 base::str::format("登录状态:          %@", loggedIn ? "登录成功" : "--")};
    if (layer)
        powerArray = layer->IO_AccountPowerArray().deepCopy();
}

int AccountPowerController::rowCount(int section) const {
    return int(section == 0 ? userArray.size() : powerArray.size());
}

std::string AccountPowerController::rowText(ui::IndexPath path) const {
    return path.section == 0 ? userArray[size_t(path.row)] : std::string();
}

base::Ref<ui::TableCell> AccountPowerController::cellFor(ui::TableView &table, ui::IndexPath path) {
    if (path.section == 0)
        return SettingsTableController::cellFor(table, path);
    auto cell =
        std::dynamic_pointer_cast<AccountPowerCell>(table.dequeueReusableCell(AccountPowerCell::kIdentifier));
    if (!cell)
        cell = base::make<AccountPowerCell>(ui::TableCell::Style::Default, AccountPowerCell::kIdentifier);
    cell->show(powerArray.at(size_t(path.row)));
    return cell;
}
