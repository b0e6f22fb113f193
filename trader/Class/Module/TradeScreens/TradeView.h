#pragma once

#include "ui/View.h"

#include <string>

// The order panel. It registers itself with the trade message centre while it is open, presets
// its security from the centre's current product and takes later codes through SetTradeProdCode.
class TradeView : public ui::View {
public:
    using ui::View::View;

    // Puts the security code into the panel.
    virtual void SetTradeProdCode(const std::string &code);
    const std::string &tradeProdCode() const { return m_tradeProdCode; }

private:
    std::string m_tradeProdCode;
};
