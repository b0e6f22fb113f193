#include "Class/Module/ToolBarView/TransAccountView/BankSelViewController.h"

#include "Class/Module/ToolBarView/TransAccountView/TransferRules.h"

bool BankSelViewController::shouldAutorotateTo(ui::Orientation orientation) {
    return orientation == ui::Orientation::Portrait;
}

std::string BankSelViewController::rowTitle(int row) const {
    const base::Dict *entry = rowAt(row);
    if (!entry)
        return {};
    switch (m_selectType) {
    case kBanks:
        return transfer::bankTitle(*entry);
    case kCurrencies:
        return entry->get("KeyName").stringValue();
    default:
        return {};
    }
}

void BankSelViewController::picked(const base::Dict &row, int) {
    if (auto d = delegate.lock())
        d->ReturnSelectedValueDict(row);
}
