// Price alarms kept on the server under the market account. Every body starts with an 11-byte
// sub-header: a marker, the sub-type, the length of the rest and a value the server hands out with
// each reply and expects back with the next request. The requests carry the account password as
// the protocol demands; nothing here may log them.
#include "DataBase/NetData/NetDataCenter.h"

#include "DataBase/NTDataPageHead.h"
#include "DataBase/NetData/StockAlarmInfo.h"

namespace {

constexpr int AlarmType = 3001;
constexpr uint32_t SubHeadSize = 11;
constexpr int RequestMarker = 2;
constexpr int AltReplyMarker = 3;

enum SubType : int {
    AddAlarm = 300,
    DeleteAlarm = 301,
    HistoryAlarms = 302,
    UploadToken = 306,
    CurrentAlarms = 307,
    ModifyAlarm = 308,
    MustReverify = 309,
    AlarmError = 313,
};

constexpr int Succeeded = 0;
constexpr int Failed = 1;
constexpr int HistoryPageSize = 50;
// What the pre-data tells the server about this client.
constexpr int ClientKind = 7;
constexpr const char *ClientVersion = "1.00";

void writeAlarmFields(base::Data &body, const StockAlarmInfo &alarm) {
    ComAPI::WriteString(body, alarm.code);
    ComAPI::WriteFloat(body, alarm.priceGreaterThan);
    ComAPI::WriteFloat(body, alarm.priceLessThan);
    ComAPI::WriteFloat(body, alarm.todayRise);
    ComAPI::WriteByte(body, alarm.todayRiseValid);
    ComAPI::WriteFloat(body, alarm.todayFall);
    ComAPI::WriteByte(body, alarm.todayFallValid);
    ComAPI::WriteFloat(body, alarm.todayExchange);
    ComAPI::WriteByte(body, alarm.todayExchangeValid);
    ComAPI::WriteByte(body, alarm.todayNewsValid);
}

base::Ref<StockAlarmInfo> readAlarm(ByteView frame, uint32_t &pos) {
    auto alarm = base::make<StockAlarmInfo>();
    alarm->alarmID = ComAPI::ReadInt(frame, pos);
    alarm->code = ComAPI::ReadString(frame, pos);
    alarm->name = ComAPI::ReadString(frame, pos);
    alarm->priceGreaterThan = ComAPI::ReadFloat(frame, pos);
    alarm->priceLessThan = ComAPI::ReadFloat(frame, pos);
    alarm->todayRise = ComAPI::ReadFloat(frame, pos);
    alarm->todayRiseValid = ComAPI::ReadByte(frame, pos);
    alarm->todayFall = ComAPI::ReadFloat(frame, pos);
    alarm->todayFallValid = ComAPI::ReadByte(frame, pos);
    alarm->todayExchange = ComAPI::ReadFloat(frame, pos);
    alarm->todayExchangeValid = ComAPI::ReadByte(frame, pos);
    alarm->todayNewsValid = ComAPI::ReadByte(frame, pos);
    alarm->decimal = ComAPI::ReadByte(frame, pos);
    return alarm;
}

base::Ref<StockHistoryAlarmInfo> readHistoryAlarm(ByteView frame, uint32_t &pos) {
    auto alarm = base::make<StockHistoryAlarmInfo>();
    alarm->msgType = ComAPI::ReadInt(frame, pos);
    alarm->code = ComAPI::ReadString(frame, pos);
    alarm->name = ComAPI::ReadString(frame, pos);
    alarm->alarmDesc = ComAPI::ReadString(frame, pos);
    return alarm;
}

template <class ReadRow> base::Array readAlarmRows(ByteView frame, uint32_t &pos, ReadRow &&readRow) {
    base::Array rows;
    int16_t count = ComAPI::ReadShort(frame, pos);
    ComAPI::ReadRows(frame, pos, count, [&](int64_t) { rows.add(readRow(frame, pos)); });
    return rows;
}

// The result byte of most replies: "resultFlag" YES on success, NO with the server's message on
// failure, nothing for any other result. Answers the result.
int readResult(ByteView frame, uint32_t &pos, base::Dict &dict) {
    int result = ComAPI::ReadByte(frame, pos);
    if (result == Succeeded) {
        dict.set("resultFlag", "YES");
    } else if (result == Failed) {
        dict.set("resultFlag", "NO");
        dict.set("errorMsg", ComAPI::ReadString(frame, pos));
    }
    return result;
}

// The sub-header of a reply: marker 2 or 3 and all ten bytes behind it.
bool readAlarmSubHead(ByteView frame, uint32_t &pos, int &subType, uint32_t &serverValue) {
    if (NetDataCenter::IsEmptyPack(frame))
        return false;
    int marker = int(ComAPI::ReadNum(frame, pos, 1));
    if (marker != RequestMarker && marker != AltReplyMarker)
        return false;
    if (uint64_t(pos) + SubHeadSize - 1 > frame.size())
        return false;
    subType = int(ComAPI::ReadNum(frame, pos, 2));
    ComAPI::ReadNum(frame, pos, 2);
    ComAPI::ReadNum(frame, pos, 2);
    serverValue = ComAPI::ReadNum(frame, pos, 4);
    return true;
}

} // namespace

void NetDataCenter::WriteAlarmSubHead(base::Data &buf) {
    ComAPI::WriteByte(buf, RequestMarker);
    const uint8_t zeros[SubHeadSize - 1] = {};
    buf.append(zeros, sizeof zeros);
}

void NetDataCenter::WriteAlarmPreData(base::Data &buf) const {
    ComAPI::WriteString(buf, IO_L2UserName);
    ComAPI::WriteString(buf, IO_L2Password);
    ComAPI::WriteString(buf, "");
    ComAPI::WriteString(buf, "");
    ComAPI::WriteString(buf, deviceID());
    ComAPI::WriteByte(buf, ClientKind);
    ComAPI::WriteString(buf, ClientVersion);
}

void NetDataCenter::ResetAlarmSubHead(base::Data &buf, int subType) const {
    if (buf.length() < SubHeadSize)
        return;
    base::Data head;
    ComAPI::WriteShort(head, subType);
    ComAPI::WriteShort(head, 0);
    ComAPI::WriteShort(head, int32_t(buf.length() - SubHeadSize));
    ComAPI::WriteInt(head, int32_t(m_alarmSubExtension));
    buf.replace(1, head.length(), head.bytes(), head.length());
}

void NetDataCenter::sendAlarm(const QuoteRequester &requester, base::Data &body, int subType) {
    ResetAlarmSubHead(body, subType);
    sendRequest(AlarmType, body, requester, base::make<ReqParams>(ReqParams{{"rspDict", base::Dict()}}));
}

void NetDataCenter::RequestEditAlarm(const QuoteRequester &requester, bool isAddAlarm, int32_t alarmID,
                                     const StockAlarmInfo &alarmInfo) {
    base::Data body;
    WriteAlarmSubHead(body);
    WriteAlarmPreData(body);
    if (!isAddAlarm)
        ComAPI::WriteInt(body, alarmID);
    writeAlarmFields(body, alarmInfo);
    sendAlarm(requester, body, isAddAlarm ? AddAlarm : ModifyAlarm);
}

void NetDataCenter::RequestAddAlarm(const QuoteRequester &requester, const StockAlarmInfo &alarmInfo) {
    RequestEditAlarm(requester, true, 0, alarmInfo);
}

void NetDataCenter::RequestModifyAlarm(const QuoteRequester &requester, int32_t alarmID,
                                       const StockAlarmInfo &alarmInfo) {
    RequestEditAlarm(requester, false, alarmID, alarmInfo);
}

void NetDataCenter::RequestDeleteAlarm(const QuoteRequester &requester,
                                       const std::vector<int32_t> &alarmIDArray) {
    base::Data body;
    WriteAlarmSubHead(body);
    WriteAlarmPreData(body);
    ComAPI::WriteShort(body, int32_t(alarmIDArray.size()));
    for (int32_t alarmID : alarmIDArray)
        ComAPI::WriteInt(body, alarmID);
    sendAlarm(requester, body, DeleteAlarm);
}

void NetDataCenter::RequestHistoryAlarmArray(const QuoteRequester &requester) {
    base::Data body;
    WriteAlarmSubHead(body);
    WriteAlarmPreData(body);
    ComAPI::WriteShort(body, 0);
    ComAPI::WriteShort(body, HistoryPageSize);
    sendAlarm(requester, body, HistoryAlarms);
}

void NetDataCenter::RequestCurrentAlarmArray(const QuoteRequester &requester) {
    base::Data body;
    WriteAlarmSubHead(body);
    WriteAlarmPreData(body);
    sendAlarm(requester, body, CurrentAlarms);
}

void NetDataCenter::RequestUploadToken(const QuoteRequester &requester, const std::string &pushToken) {
    base::Data body;
    WriteAlarmSubHead(body);
    WriteAlarmPreData(body);
    ComAPI::WriteString(body, pushToken);
    sendAlarm(requester, body, UploadToken);
}

void NetDataCenter::ParseAlarmData(ByteView frame, const base::Ref<ReqParams> &reqParams) {
    base::Value value = reqParams ? reqParams->get("rspDict") : base::Value();
    base::Dict *dict = value.dict();
    if (!dict)
        return;
    dict->clear();
    uint32_t pos = NTDataPageHead::Size;
    int subType = 0;
    uint32_t serverValue = 0;
    if (!readAlarmSubHead(frame, pos, subType, serverValue))
        return;
    // The next request echoes what the server handed out last.
    m_alarmSubExtension = serverValue;
    dict->set("subType", subType);
    switch (subType) {
    case AddAlarm:
        if (readResult(frame, pos, *dict) == Succeeded)
            dict->set("alarmID", ComAPI::ReadInt(frame, pos));
        break;
    case DeleteAlarm:
    case ModifyAlarm:
        readResult(frame, pos, *dict);
        break;
    case UploadToken: {
        int result = readResult(frame, pos, *dict);
        if (result == Succeeded || result == Failed)
            m_tokenUploaded = result == Succeeded;
        break;
    }
    case CurrentAlarms:
        if (readResult(frame, pos, *dict) == Succeeded)
            dict->set("rspArray", readAlarmRows(frame, pos, readAlarm));
        break;
    case HistoryAlarms:
        if (ComAPI::ReadShort(frame, pos) < 1) {
            dict->set("resultFlag", "NO");
            dict->set("errorMsg", ComAPI::ReadString(frame, pos));
        } else {
            dict->set("resultFlag", "YES");
            dict->set("rspArray", readAlarmRows(frame, pos, readHistoryAlarm));
        }
        break;
    case MustReverify:
        m_alarmSubExtension = 0;
        break;
    default:
        break;
    }
}

void NetDataCenter::ParseAlarmPushData(ByteView frame) {
    uint32_t pos = NTDataPageHead::Size;
    int subType = 0;
    uint32_t serverValue = 0;
    // A push never hands out a value of its own; it can only take the current one back.
    if (readAlarmSubHead(frame, pos, subType, serverValue) && subType == MustReverify)
        m_alarmSubExtension = 0;
}
