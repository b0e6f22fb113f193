#include "Module/StockDataBaseMgnt/StockAlarmData.h"

#include "DataBase/DataBase.h"
#include "DataBase/NetData/StockAlarmInfo.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

enum SubType {
    AddAlarm = 300,
    DeleteAlarm = 301,
    HistoryAlarms = 302,
    CurrentAlarms = 307,
    ModifyAlarm = 308
};

// Display field ids of the quote the edit screen shows.
enum QuoteField { Last = 4, Change = 502, UpStop = 507, DownStop = 508, Turnover = 21 };

base::Dict currentAlarmDict(const StockAlarmInfo &alarm) {
    base::Dict dict{{"ALARMID", alarm.alarmID}, {"STOCKNAME", alarm.name}, {"STOCKCODE", alarm.code}};
    const char *keys[] = {"HIGH", "LOW", "UPRATE", "DOWNRATE", "TURNOVER", "LIMIT"};
    for (int id = 1; id <= 6; ++id)
        dict.set(keys[id - 1], alarm.FormatValue(id));
    return dict;
}

base::Dict historyAlarmDict(const StockHistoryAlarmInfo &alarm) {
    return {{"STOCKNAME", alarm.name}, {"STOCKCODE", alarm.code}, {"INFO", alarm.alarmDesc}};
}

template <class Record> base::Array convert(const base::Dict &reply, base::Dict (*toDict)(const Record &)) {
    base::Array out;
    base::Value value = reply.get("rspArray");
    if (const base::Array *rows = value.array())
        for (const base::Value &row : *rows)
            if (auto record = row.objectAs<Record>())
                out.add(toDict(*record));
    return out;
}

} // namespace

base::Ref<StockAlarmData> StockAlarmData::create(std::string observerName) {
    auto data = base::make<StockAlarmData>();
    data->m_observerName = std::move(observerName);
    base::Weak<StockAlarmData> weak = data;
    base::NotificationCenter::shared().addObserver(weak, data->m_observerName,
                                                   [weak](const base::Notification &n) {
                                                       if (auto alive = weak.lock())
                                                           alive->StockPoolDataNotify(n);
                                                   });
    return data;
}

StockAlarmData::~StockAlarmData() {
    base::NotificationCenter::shared().removeObserver(this);
}

base::Ref<NetDataCenter> StockAlarmData::center() const {
    return DataBase::sharedDataBase()->IO_NetDataCenter();
}

void StockAlarmData::reqCurrentAlarmArray() {
    if (auto c = center())
        c->RequestCurrentAlarmArray(m_observerName);
}

void StockAlarmData::reqHistoryAlarmArray() {
    if (auto c = center())
        c->RequestHistoryAlarmArray(m_observerName);
}

void StockAlarmData::reqAddAlarm(const base::Dict &edit) {
    reqEditAlarm(edit, true, 0);
}

void StockAlarmData::reqModifyAlarm(const base::Dict &edit, int32_t alarmID) {
    reqEditAlarm(edit, false, alarmID);
}

std::optional<double> StockAlarmData::getAlarmFieldValue(const base::Value &value) {
    const std::string *string = value.string();
    if (!string || string->empty())
        return -1.0;
    const char *begin = string->c_str();
    char *end = nullptr;
    errno = 0;
    double number = std::strtod(begin, &end);
    if (end == begin || *end != '\0' || errno == ERANGE || !std::isfinite(number))
        return std::nullopt;
    return number;
}

void StockAlarmData::reqEditAlarm(const base::Dict &edit, bool isAddAlarm, int32_t alarmID) {
    StockAlarmInfo alarm;
    alarm.code = edit.get("STOCKCODE").stringValue();
    alarm.name = edit.get("STOCKNAME").stringValue();
    std::pair<const char *, float *> fields[] = {{"HIGH", &alarm.priceGreaterThan},
                                                 {"LOW", &alarm.priceLessThan},
                                                 {"UPRATE", &alarm.todayRise},
                                                 {"DOWNRATE", &alarm.todayFall},
                                                 {"TURNOVER", &alarm.todayExchange}};
    for (auto [key, field] : fields) {
        auto value = getAlarmFieldValue(edit.get(key));
        if (!value) {
            if (auto delegate = m_delegate.lock())
                isAddAlarm ? delegate->updateAddAlarmFail(NotANumber)
                           : delegate->updateModifyAlarmFail(NotANumber);
            return;
        }
        *field = float(*value);
    }
    alarm.setValidFlag(edit.get("LIMIT").stringValue() == Permanent ? 1 : 0);
    auto c = center();
    if (!c)
        return;
    if (isAddAlarm)
        c->RequestAddAlarm(m_observerName, alarm);
    else
        c->RequestModifyAlarm(m_observerName, alarmID, alarm);
}

void StockAlarmData::reqDeleteAlarmArray(const std::vector<int32_t> &alarmIDs) {
    if (auto c = center())
        c->RequestDeleteAlarm(m_observerName, alarmIDs);
}

void StockAlarmData::reqStockQuoteInf(const std::optional<std::string> &code) {
    if (!code)
        return;
    m_code = *code;
    if (!m_record)
        m_record = base::make<StockBasicInf>();
    m_record->clear();
    if (auto c = center()) {
        c->RequestStkBaseInfo(m_observerName, m_code, 0, m_record);
        c->RequestDynamicInfo(m_observerName, m_code, 0, m_record);
    }
}

void StockAlarmData::StockPoolDataNotify(const base::Notification &notification) {
    DataBase::ProcRecvNotify(notification, *this);
}

void StockAlarmData::DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) {
    if (!params)
        return;
    if (reqType == BaseInfoType || reqType == DynamicInfoType) {
        if (params->get("code").stringValue() != m_code || !m_record)
            return;
        if (auto delegate = m_delegate.lock())
            delegate->updateStockQuoteDict(quoteDict());
        return;
    }
    if (reqType != AlarmType)
        return;
    base::Value reply = params->get("rspDict");
    if (const base::Dict *dict = reply.dict())
        procAlarmReply(*dict);
}

void StockAlarmData::procAlarmReply(const base::Dict &reply) {
    auto delegate = m_delegate.lock();
    if (!delegate)
        return;
    bool success = reply.get("resultFlag").stringValue() == "YES";
    StockAlarmDataDelegate::Message message;
    base::Value error = reply.get("errorMsg");
    if (const std::string *text = error.string())
        message = *text;
    switch (reply.get("subType").intValue()) {
    case AddAlarm:
        success ? delegate->updateAddAlarmSuccess() : delegate->updateAddAlarmFail(message);
        break;
    case DeleteAlarm:
        success ? delegate->updateDeleteAlarmSuccess() : delegate->updateDeleteAlarmFail(message);
        break;
    case HistoryAlarms:
        success ? delegate->updateHistoryAlarmArray(convert<StockHistoryAlarmInfo>(reply, historyAlarmDict))
                : delegate->updateHistoryAlarmFail(message);
        break;
    case CurrentAlarms:
        success ? delegate->updateCurrentAlarmArray(convert<StockAlarmInfo>(reply, currentAlarmDict))
                : delegate->updateCurrentAlarmFail(message);
        break;
    case ModifyAlarm:
        success ? delegate->updateModifyAlarmSuccess() : delegate->updateModifyAlarmFail(message);
        break;
    default:
        break;
    }
}

base::Dict StockAlarmData::quoteDict() const {
    const StockBasicInf &r = *m_record;
    return {{"STOCKCODE", r.code},
            {"STOCKNAME", r.name},
            {"LAST", r.FormatValue(Last)},
            {"UPDOWN", r.FormatValue(Change)},
            {"RATE", r.FormatValue(Change)},
            {"UPSTOP", r.FormatValue(UpStop)},
            {"DOWNSTOP", r.FormatValue(DownStop)},
            {"TURNOVER", r.FormatValue(Turnover)}};
}
