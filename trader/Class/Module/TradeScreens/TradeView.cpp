#include "Class/Module/TradeScreens/TradeView.h"

void TradeView::SetTradeProdCode(const std::string &code) {
    m_tradeProdCode = code;
}
