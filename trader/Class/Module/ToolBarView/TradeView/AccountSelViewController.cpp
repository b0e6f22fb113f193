#include "Class/Module/ToolBarView/TradeView/AccountSelViewController.h"

std::string AccountSelViewController::rowTitle(int row) const {
    const base::Dict *entry = rowAt(row);
    return entry ? entry->get("1019").stringValue() : std::string();
}

void AccountSelViewController::picked(const base::Dict &row, int index) {
    if (auto d = delegate.lock())
        d->ReturnSelectedValueDict(row, index);
}
