#pragma once

#include "Module/NavToolBarModule/SettingsViewController/SettingsTableController.h"

#include "base/Value.h"

#include <string>
#include <vector>

// "用户权限信息": the level-2 account's name and login state, and its service rights as the last
// account login reported them. Everything is taken when the screen is made; the rights are a copy,
// so a login reply or a disconnect while the screen shows cannot change the rows under it.
class AccountPowerController : public SettingsTableController {
public:
    static constexpr const char *kTitle = "用户权限信息";

    AccountPowerController();

    std::vector<std::string> userArray;
    base::Array powerArray;

protected:
    int rowCount(int section) const override;
    std::string rowText(ui::IndexPath path) const override;
    base::Ref<ui::TableCell> cellFor(ui::TableView &table, ui::IndexPath path) override;
};
