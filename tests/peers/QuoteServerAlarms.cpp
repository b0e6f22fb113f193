// Stock pools (2950) and price alarms (3001) of the loopback quote server. Alarms are kept per
// account; an alarm whose price condition the security's made-up quote already meets fires at
// once and goes into the account's history.
#include "QuoteServer.h"

#include "base/Str.h"

namespace peers {

namespace {

constexpr int AlarmSubHeadSize = 11;
constexpr int AlarmMarker = 2;
constexpr int AlarmSucceeded = 0;
constexpr int AlarmFailed = 1;

bool isPool(int id) {
    return (id >= 101 && id <= 108) || (id >= 201 && id <= 206) || (id >= 301 && id <= 306);
}

// The pre-data every alarm request carries: name, password, two empty texts, device id, client
// kind, version. Answers the name and password.
std::pair<std::string, std::string> readAlarmPreData(ByteView request, uint32_t &pos) {
    std::string name = ComAPI::ReadString(request, pos);
    std::string password = ComAPI::ReadString(request, pos);
    ComAPI::ReadString(request, pos);
    ComAPI::ReadString(request, pos);
    ComAPI::ReadString(request, pos);
    ComAPI::ReadByte(request, pos);
    ComAPI::ReadString(request, pos);
    return {name, password};
}

QuoteServer::Alarm readAlarmFields(ByteView request, uint32_t &pos) {
    QuoteServer::Alarm alarm;
    alarm.code = ComAPI::ReadString(request, pos);
    alarm.high = ComAPI::ReadFloat(request, pos);
    alarm.low = ComAPI::ReadFloat(request, pos);
    alarm.rise = ComAPI::ReadFloat(request, pos);
    alarm.riseValid = ComAPI::ReadByte(request, pos);
    alarm.fall = ComAPI::ReadFloat(request, pos);
    alarm.fallValid = ComAPI::ReadByte(request, pos);
    alarm.exchange = ComAPI::ReadFloat(request, pos);
    alarm.exchangeValid = ComAPI::ReadByte(request, pos);
    alarm.newsValid = ComAPI::ReadByte(request, pos);
    return alarm;
}

void writeFailure(base::Data &body, const std::string &message) {
    ComAPI::WriteByte(body, AlarmFailed);
    ComAPI::WriteString(body, message);
}

} // namespace

void QuoteServer::failNextAlarm(int subType, int result, std::string message) {
    std::lock_guard lock(stateMutex_);
    alarmFailures_[subType] = {result, std::move(message)};
}

std::vector<QuoteServer::Alarm> QuoteServer::alarms(const std::string &name) const {
    std::lock_guard lock(stateMutex_);
    auto it = accounts_.find(name);
    return it == accounts_.end() ? std::vector<Alarm>{} : it->second.alarms;
}

// Request: Short pool, Short start, Short count. Reply: Short pool, Short total, Int date, Short n
// and n rows; an unknown pool gets an empty reply. Every third stock from a place set by the pool
// id belongs to the pool. Members enter on the quotes date at 09:35 at the previous close, except
// every fourth, which entered on 3-7 at 09:05, and every fifth, which has no entry price.
base::Data QuoteServer::poolList(ByteView request) const {
    uint32_t pos = 0;
    int poolID = ComAPI::ReadShort(request, pos);
    size_t start = size_t(std::max<int>(ComAPI::ReadShort(request, pos), 0));
    size_t count = size_t(std::max<int>(ComAPI::ReadShort(request, pos), 0));
    base::Data body;
    if (!isPool(poolID))
        return body;
    std::vector<Security> members;
    size_t index = 0;
    for (const Security &security : market_.securities())
        if (security.type == 1 && (index++ + size_t(poolID)) % 3 == 0)
            members.push_back(security);
    size_t end = std::min(members.size(), start + count);
    ComAPI::WriteShort(body, poolID);
    ComAPI::WriteShort(body, int32_t(members.size()));
    ComAPI::WriteInt(body, market_.quotesDate());
    ComAPI::WriteShort(body, int32_t(end > start ? end - start : 0));
    int32_t date = market_.quotesDate();
    auto packed = [](int32_t month, int32_t day, int32_t hour, int32_t minute) {
        return (month << 16) | (day << 11) | (hour << 6) | minute;
    };
    for (size_t i = start; i < end; ++i) {
        const Security &security = members[i];
        Quote quote = market_.quote(security);
        int32_t entered = i % 4 == 3 ? packed(3, 7, 9, 5) : packed(date / 100 % 100, date % 100, 9, 35);
        int32_t entryPrice = i % 5 == 4 ? 0 : security.closePrice;
        ComAPI::WriteString(body, security.fullCode());
        ComAPI::WriteString(body, security.name);
        ComAPI::WriteByte(body, security.type);
        ComAPI::WriteByte(body, security.decimal);
        ComAPI::WriteShort(body, 100);
        int32_t close = security.closePrice;
        for (int32_t field :
             {close, close + close / 10, close - close / 10, 50000, 100000, quote.last, entered, entryPrice})
            ComAPI::WriteInt(body, field);
    }
    return body;
}

Frame QuoteServer::alarmReply(const ReceivedFrame &request) {
    ByteView bytes = request.bytes();
    uint32_t pos = 1;
    int subType = uint16_t(ComAPI::ReadShort(bytes, pos));
    pos = AlarmSubHeadSize;
    auto [name, password] = readAlarmPreData(bytes, pos);

    base::Data body;
    auto failure = alarmFailures_.find(subType);
    if (failure != alarmFailures_.end()) {
        ComAPI::WriteByte(body, failure->second.first);
        if (failure->second.first == AlarmFailed)
            ComAPI::WriteString(body, failure->second.second);
        alarmFailures_.erase(failure);
    } else if (accountCheck(name, password) != 0) {
        writeFailure(body, "账号或密码错误");
    } else {
        body = alarmBody(subType, accounts_[name], bytes, pos);
    }
    Frame reply = alarmFrame(request.seqID, uint16_t(subType), ++alarmServerValue_, body);
    return reply;
}

base::Data QuoteServer::alarmBody(int subType, Account &account, ByteView request, uint32_t pos) {
    base::Data body;
    auto find = [&](int32_t id) {
        return std::find_if(account.alarms.begin(), account.alarms.end(),
                            [id](const Alarm &a) { return a.id == id; });
    };
    switch (subType) {
    case 300:
    case 308: {
        int32_t id = subType == 308 ? ComAPI::ReadInt(request, pos) : ++account.lastAlarmID;
        Alarm alarm = readAlarmFields(request, pos);
        const Security *security = market_.find(alarm.code);
        auto existing = find(id);
        if (!security) {
            writeFailure(body, "证券代码不存在");
            break;
        }
        if (subType == 308 && existing == account.alarms.end()) {
            writeFailure(body, "预警不存在");
            break;
        }
        alarm.id = id;
        alarm.name = security->name;
        alarm.decimal = security->decimal;
        if (subType == 300)
            account.alarms.push_back(alarm);
        else
            *existing = alarm;
        fireAlarm(account, alarm, *security);
        ComAPI::WriteByte(body, AlarmSucceeded);
        if (subType == 300)
            ComAPI::WriteInt(body, id);
        break;
    }
    case 301: {
        int count = ComAPI::ReadShort(request, pos);
        std::vector<int32_t> ids;
        for (int i = 0; i < count && pos < request.size(); ++i)
            ids.push_back(ComAPI::ReadInt(request, pos));
        for (int32_t id : ids)
            if (find(id) == account.alarms.end()) {
                writeFailure(body, "预警不存在");
                return body;
            }
        for (int32_t id : ids)
            account.alarms.erase(find(id));
        ComAPI::WriteByte(body, AlarmSucceeded);
        break;
    }
    case 302:
        if (account.history.empty()) {
            ComAPI::WriteShort(body, 0);
            ComAPI::WriteString(body, "没有历史预警");
            break;
        }
        ComAPI::WriteShort(body, int32_t(account.history.size()));
        ComAPI::WriteShort(body, int32_t(account.history.size()));
        for (const FiredAlarm &fired : account.history) {
            ComAPI::WriteInt(body, 1);
            ComAPI::WriteString(body, fired.code);
            ComAPI::WriteString(body, fired.name);
            ComAPI::WriteString(body, fired.description);
        }
        break;
    case 307:
        ComAPI::WriteByte(body, AlarmSucceeded);
        ComAPI::WriteShort(body, int32_t(account.alarms.size()));
        for (const Alarm &alarm : account.alarms) {
            ComAPI::WriteInt(body, alarm.id);
            ComAPI::WriteString(body, alarm.code);
            ComAPI::WriteString(body, alarm.name);
            ComAPI::WriteFloat(body, alarm.high);
            ComAPI::WriteFloat(body, alarm.low);
            ComAPI::WriteFloat(body, alarm.rise);
            ComAPI::WriteByte(body, alarm.riseValid);
            ComAPI::WriteFloat(body, alarm.fall);
            ComAPI::WriteByte(body, alarm.fallValid);
            ComAPI::WriteFloat(body, alarm.exchange);
            ComAPI::WriteByte(body, alarm.exchangeValid);
            ComAPI::WriteByte(body, alarm.newsValid);
            ComAPI::WriteByte(body, alarm.decimal);
        }
        break;
    default:
        break;
    }
    return body;
}

// A price condition the day's last price already meets fires the alarm.
void QuoteServer::fireAlarm(Account &account, const Alarm &alarm, const Security &security) const {
    double scale = 1;
    for (int i = 0; i < security.decimal; ++i)
        scale *= 10;
    double last = market_.quote(security).last / scale;
    std::string text;
    if (alarm.high >= 0 && last >= alarm.high)
        text = base::str::format("最新价%.2f高于%.2f", last, double(alarm.high));
    else if (alarm.low >= 0 && last <= alarm.low)
        text = base::str::format("最新价%.2f低于%.2f", last, double(alarm.low));
    if (!text.empty())
        account.history.push_back({alarm.code, alarm.name, text});
}

} // namespace peers
