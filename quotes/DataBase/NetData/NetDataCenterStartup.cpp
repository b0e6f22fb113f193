// Messages that set up a session: server lists, account login, heartbeat, account errors, the
// server date and the product class tree.
#include "DataBase/NetData/NetDataCenter.h"

#include "Common/Util.h"
#include "DataBase/NTDataPageHead.h"
#include "base/Str.h"

#include <algorithm>

namespace {

constexpr int ServerAddressType = 1000;
constexpr int UserInfType = 2936;
constexpr int HeartBeatType = 2925;
constexpr int RecommUserType = 2908;
constexpr int ServerTimeType = 2963;
constexpr int ProdClassType = 2937;

constexpr size_t MaxDateWords = 64;
constexpr int ServiceCount = 15;
// The tree the server sends is a few levels deep; anything deeper is not a product tree and would
// only cost stack.
constexpr int MaxProdClassDepth = 16;

const std::array<std::string, ServiceCount> &serviceNames() {
    static const std::array<std::string, ServiceCount> names = {
        "扩展行情数据", "上证Level-2行情", "深证Level-2行情", "Level-2逐笔成交", "Level-2委托队列",
        "主力资金流向", "大单追踪",        "买卖信号",        "趋势分析",        "板块监测",
        "机构研报",     "投资顾问",        "专家解盘",        "个股诊断",        "股价预警",
    };
    return names;
}

// The account web site's page where a user changes a stolen password.
constexpr const char *AccountLoginPage = "https://account.qvnsolvane.com/login.jsp";

bool isAccepted(int result) {
    return result == 0 || result == 6 || result == 7 || result == 9;
}

const char *rejectionTip(int result) {
    switch (result) {
    case 1:
        return "手机号码不存在";
    case 2:
        return "密码或者用户名错误";
    case 3:
        return "用户没有该权限";
    case 4:
        return "帐户异常";
    case 5:
        return "其它原因的错误";
    case 8:
        return "账户已经过期";
    case 10:
        return "账户登陆成功，帐户为免费用户";
    default:
        return nullptr;
    }
}

} // namespace

void NetDataCenter::RequestServerAddress(const QuoteRequester &requester) {
    base::Data body;
    ComAPI::WriteString(body, "6.00");
    ComAPI::WriteString(body, m_deviceID);
    ComAPI::WriteString(body, "ipad");
    ComAPI::WriteByte(body, 0);
    sendRequest(ServerAddressType, body, requester);
}

void NetDataCenter::ParseServerAddress(ByteView frame) {
    IndexServerINF &inf = *IO_IndexServerINF;
    inf.serverAddrlist.clear();
    inf.wtserverAddrlist.clear();
    inf.loginnews.clear();
    inf.newverno.clear();
    inf.downloadaddrs.clear();
    inf.isupdate = false;
    inf.isforceupdate = false;
    if (IsEmptyPack(frame))
        return;
    uint32_t pos = NTDataPageHead::Size;
    for (auto *list : {&inf.serverAddrlist, &inf.wtserverAddrlist}) {
        int count = ComAPI::ReadShort(frame, pos);
        ComAPI::ReadRows(frame, pos, count,
                         [&](int64_t) { list->push_back(ComAPI::ReadString(frame, pos)); });
    }
    inf.loginnews = ComAPI::ReadString(frame, pos);
    inf.newverno = ComAPI::ReadString(frame, pos);
    inf.downloadaddrs = ComAPI::ReadString(frame, pos);
    // Flags missing at the end of the reply read as 0: no update.
    inf.isupdate = ComAPI::ReadNum(frame, pos, 1) == 1;
    inf.isforceupdate = ComAPI::ReadNum(frame, pos, 1) == 1;
}

void NetDataCenter::RequestUserInf(const QuoteRequester &requester, const std::string &username,
                                   const std::string &password) {
    IO_L2UserName = username;
    IO_L2Password = password;
    IO_L2LoginSuccess = false;
    m_sessionID = 0;
    m_rightsMask = 0;
    base::Data body;
    ComAPI::WriteInt(body, 0);
    ComAPI::WriteString(body, "");
    ComAPI::WriteString(body, username);
    // The protocol carries the password in clear; it is never logged.
    ComAPI::WriteString(body, password);
    sendRequest(UserInfType, body, requester);
}

void NetDataCenter::ParseUserInf(ByteView frame) {
    uint32_t pos = NTDataPageHead::Size;
    // A reply without its result byte is no acceptance.
    bool hasResult = !IsEmptyPack(frame);
    int result = int(ComAPI::ReadNum(frame, pos, 1));
    std::vector<uint32_t> dateWords;
    if (hasResult && isAccepted(result)) {
        IO_L2LoginSuccess = true;
        m_sessionID = ComAPI::ReadLongLong(frame, pos);
        m_rightsMask = ComAPI::ReadLongLong(frame, pos);
        int64_t count = std::min<int64_t>(ComAPI::ReadNum(frame, pos, 2), MaxDateWords);
        ComAPI::ReadRows(frame, pos, count,
                         [&](int64_t) { dateWords.push_back(ComAPI::ReadNum(frame, pos, 4)); });
        showTip("登陆成功");
    } else {
        IO_L2LoginSuccess = false;
        m_sessionID = 0;
        m_rightsMask = 0;
        if (const char *tip = hasResult ? rejectionTip(result) : nullptr)
            showTip(tip);
    }
    rebuildAccountPowers(dateWords);
}

void NetDataCenter::rebuildAccountPowers(const std::vector<uint32_t> &dateWords) {
    m_accountPowerArray.clear();
    for (int i = 0; i < ServiceCount; ++i) {
        bool granted = Util::isValidPower(uint64_t(m_rightsMask), i);
        std::string validDate = "--";
        if (granted && size_t(i) < dateWords.size()) {
            int begin = 0, end = 0;
            Util::formatPowerDate(dateWords[size_t(i)], begin, end);
            if (end >= 1)
                validDate = Util::formatDate(end, "-");
        }
        m_accountPowerArray.add(base::Dict{
            {"PowerName", serviceNames()[size_t(i)]}, {"ValidDate", validDate}, {"IsValid", granted}});
    }
}

bool NetDataCenter::isValidPower(int index) const {
    return Util::isValidPower(uint64_t(m_rightsMask), index);
}

void NetDataCenter::RequestHeartBeat() {
    if (m_sessionID == 0)
        return;
    base::Data body;
    ComAPI::WriteLongLong(body, m_sessionID);
    sendRequest(HeartBeatType, body, {});
}

std::string NetDataCenter::ParseAccountError(ByteView frame) {
    IO_L2LoginSuccess = false;
    uint32_t pos = NTDataPageHead::Size;
    int reason = ComAPI::ReadByte(frame, pos);
    switch (reason) {
    case 1:
        return base::str::format(
            "很抱歉，该账号已从其他位置登陆。\n若非您本人所为，则您的密码可能已经被盗。请立即登陆 "
            "%@ 修改密码！",
            AccountLoginPage);
    case 2:
        return "很抱歉，账号异常，请重新登陆！";
    default:
        return base::str::format("很抱歉，账号异常(错误代码:%d)，请重新登陆！", reason);
    }
}

void NetDataCenter::RequestRecommUser(const QuoteRequester &requester, const std::string &user,
                                      const std::string &phone) {
    base::Data body;
    ComAPI::WriteString(body, user);
    ComAPI::WriteShort(body, 1);
    ComAPI::WriteString(body, phone);
    sendRequest(RecommUserType, body, requester);
}

void NetDataCenter::ParseRecommUser(ByteView frame) {
    uint32_t pos = NTDataPageHead::Size;
    IO_RecommUserStatu = int32_t(ComAPI::ReadNum(frame, pos, 1));
}

void NetDataCenter::RequestServerTime(const QuoteRequester &requester) {
    sendRequest(ServerTimeType, {}, requester);
}

void NetDataCenter::ParseServerTime(ByteView frame) {
    if (IsEmptyPack(frame))
        return;
    uint32_t pos = NTDataPageHead::Size;
    int year = ComAPI::ReadShort(frame, pos);
    int month = ComAPI::ReadByte(frame, pos);
    int day = ComAPI::ReadByte(frame, pos);
    IO_ServerDate = year * 10000 + month * 100 + day;
}

void NetDataCenter::RequestMerchandiseMenu(const QuoteRequester &requester) {
    sendRequest(ProdClassType, {}, requester);
}

void NetDataCenter::ParseProdClass(ByteView frame) {
    m_prodClassList.clear();
    if (IsEmptyPack(frame))
        return;
    uint32_t pos = NTDataPageHead::Size;
    ComAPI::ReadNum(frame, pos, 2);
    ComAPI::ReadString(frame, pos);
    ComAPI::ReadNum(frame, pos, 2);
    bool hasChildren = ComAPI::ReadNum(frame, pos, 1) == 1;
    int count = int(ComAPI::ReadNum(frame, pos, 2));
    if (!hasChildren)
        return;
    int totalCount = 0;
    if (!ParseProdSubClass(frame, pos, count, m_prodClassList, totalCount, 1))
        m_prodClassList.clear();
}

bool NetDataCenter::ParseProdSubClass(ByteView frame, uint32_t &pos, int count, base::Array &parentArray,
                                      int &ptotalCount, int depth) {
    if (depth > MaxProdClassDepth)
        return false;
    bool ok = true;
    ComAPI::ReadRows(frame, pos, count, [&](int64_t) {
        if (!ok)
            return;
        ++ptotalCount;
        base::Dict entry{{"MENU_NAME", ComAPI::ReadString(frame, pos)}};
        ComAPI::ReadNum(frame, pos, 1);
        ComAPI::ReadNum(frame, pos, 1);
        bool hasChildren = ComAPI::ReadNum(frame, pos, 1) == 1;
        uint32_t value = ComAPI::ReadNum(frame, pos, 2);
        entry.set("MENU_ID", base::str::format("MENU_PRODUCT_%d", ptotalCount));
        entry.set("HasSubMenu", hasChildren);
        if (hasChildren) {
            base::Array children;
            ok = ParseProdSubClass(frame, pos, int(value), children, ptotalCount, depth + 1);
            entry.set("SUB_MENU_ARRAY", children);
        } else {
            entry.set("CLASS_ID", int(int16_t(value)));
        }
        parentArray.add(entry);
    });
    return ok;
}
