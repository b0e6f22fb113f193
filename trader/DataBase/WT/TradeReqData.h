#pragma once

#include <string>

// The text of one trade request: pairs "tag=value" each closed by the byte 0x01, starting with
// the version pair and the function number.
class TradeReqData {
public:
    // The heartbeat (function 10) carries the control version "CTRL1.0", every other request "QVN1.0".
    explicit TradeReqData(int funcID);
    // The text may hold a password: it is wiped when the request goes.
    ~TradeReqData();
    TradeReqData(TradeReqData &&) = default;
    TradeReqData &operator=(TradeReqData &&) = default;

    void addIntValue(int tag, int value);
    // Refuses a value holding 0x01 or NUL, which would end the pair early and let the rest of the
    // value pose as pairs of its own; the request is then marked refused and must not be sent.
    bool addStrValue(int tag, const std::string &value);

    const std::string &getReqStr() const { return m_reqStr; }
    int funcID() const { return m_funcID; }
    // A value was refused: the text is incomplete.
    bool refused() const { return m_refused; }

private:
    void addPair(int tag, const std::string &value);

    std::string m_reqStr;
    int m_funcID;
    bool m_refused = false;
};
