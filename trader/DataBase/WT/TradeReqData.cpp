#include "DataBase/WT/TradeReqData.h"

#include "DataBase/WT/TradeCipher.h"

namespace {

constexpr int kVersionTag = 8;
constexpr int kFuncTag = 21004;
constexpr int kHeartbeatFunc = 10;

} // namespace

TradeReqData::TradeReqData(int funcID) : m_funcID(funcID) {
    m_reqStr.reserve(1024);
    addPair(kVersionTag, funcID == kHeartbeatFunc ? "CTRL1.0" : "QVN1.0");
    addIntValue(kFuncTag, funcID);
}

TradeReqData::~TradeReqData() {
    wipeSecret(m_reqStr.data(), m_reqStr.size());
}

void TradeReqData::addIntValue(int tag, int value) {
    addPair(tag, std::to_string(value));
}

bool TradeReqData::addStrValue(int tag, const std::string &value) {
    if (value.find_first_of(std::string("\x01\0", 2)) != std::string::npos) {
        m_refused = true;
        return false;
    }
    addPair(tag, value);
    return true;
}

void TradeReqData::addPair(int tag, const std::string &value) {
    m_reqStr += std::to_string(tag);
    m_reqStr += '=';
    m_reqStr += value;
    m_reqStr += '\x01';
}
