#pragma once

#include "DataBase/NetData/NetDataCenter.h"
#include "DataBase/NetData/StockQuoteInf.h"
#include "base/NotificationCenter.h"
#include "base/Object.h"
#include "base/Value.h"

#include <optional>
#include <string>
#include <vector>

// What the alarm screens implement; every operation is optional. Failure messages are the
// server's, absent when it sent none.
class StockAlarmDataDelegate {
public:
    using Message = std::optional<std::string>;
    virtual ~StockAlarmDataDelegate() = default;
    virtual base::Opt<void> updateCurrentAlarmArray(const base::Array &alarms) { return none(alarms); }
    virtual base::Opt<void> updateCurrentAlarmFail(const Message &message) { return none(message); }
    virtual base::Opt<void> updateHistoryAlarmArray(const base::Array &alarms) { return none(alarms); }
    virtual base::Opt<void> updateHistoryAlarmFail(const Message &message) { return none(message); }
    virtual base::Opt<void> updateAddAlarmSuccess() { return base::notImplemented; }
    virtual base::Opt<void> updateAddAlarmFail(const Message &message) { return none(message); }
    virtual base::Opt<void> updateModifyAlarmSuccess() { return base::notImplemented; }
    virtual base::Opt<void> updateModifyAlarmFail(const Message &message) { return none(message); }
    virtual base::Opt<void> updateDeleteAlarmSuccess() { return base::notImplemented; }
    virtual base::Opt<void> updateDeleteAlarmFail(const Message &message) { return none(message); }
    virtual base::Opt<void> updateStockQuoteDict(const base::Dict &quote) { return none(quote); }

private:
    template <class T> static base::Opt<void> none(const T &) { return base::notImplemented; }
};

// Between the price-alarm screens and the server's alarm messages: turns the edit screen's
// dictionaries into alarm requests, the replies into display dictionaries, and fetches the quote
// the edit screen shows. Requests go out and replies come back under the observer name.
class StockAlarmData : public base::Object, public DataPoolDelegate {
public:
    static constexpr int AlarmType = 3001;
    static constexpr int BaseInfoType = 2939;
    static constexpr int DynamicInfoType = 2940;
    static constexpr const char *Permanent = "永久";
    // Why an edit is refused before it is sent.
    static constexpr const char *NotANumber = "预警条件须为数字";

    // A data source observing `observerName` from now until it is released.
    static base::Ref<StockAlarmData> create(std::string observerName);
    ~StockAlarmData() override;

    void reqCurrentAlarmArray();
    void reqHistoryAlarmArray();
    // Edit dictionaries hold texts under "STOCKCODE", "STOCKNAME", "HIGH", "LOW", "UPRATE",
    // "DOWNRATE", "TURNOVER" and "LIMIT". A threshold that is not a number is refused with the
    // add or modify failure and nothing is sent; an empty one means not set.
    void reqAddAlarm(const base::Dict &edit);
    void reqModifyAlarm(const base::Dict &edit, int32_t alarmID);
    void reqEditAlarm(const base::Dict &edit, bool isAddAlarm, int32_t alarmID);
    void reqDeleteAlarmArray(const std::vector<int32_t> &alarmIDs);
    void reqDeleteAlarm(int32_t alarmID) { reqDeleteAlarmArray({alarmID}); }
    // Nothing for an absent code; otherwise forgets the previous security's record and asks for
    // the base info and the quote of this one.
    void reqStockQuoteInf(const std::optional<std::string> &code);

    // -1.0 for a missing or empty text, the number it holds, or nothing when it holds none.
    static std::optional<double> getAlarmFieldValue(const base::Value &text);

    void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) override;

    // Not retained: a screen that is gone is not called.
    void setDelegate(base::Weak<StockAlarmDataDelegate> delegate) { m_delegate = std::move(delegate); }
    const std::string &observerName() const { return m_observerName; }
    const base::Ref<StockBasicInf> &record() const { return m_record; }

private:
    void StockPoolDataNotify(const base::Notification &notification);
    void procAlarmReply(const base::Dict &reply);
    base::Dict quoteDict() const;
    base::Ref<NetDataCenter> center() const;

    std::string m_observerName;
    std::string m_code;
    base::Ref<StockBasicInf> m_record;
    base::Weak<StockAlarmDataDelegate> m_delegate;
};
