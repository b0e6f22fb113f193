#include "QuoteServer.h"

#include "DataBase/NTDataPageHead.h"
#include "QuoteRow.h"
#include "base/Str.h"

#include <algorithm>
#include <climits>
#include <zlib.h>

namespace peers {

namespace {

constexpr int BoardClassID = 105;
constexpr int CodeListClassID = 106;
constexpr int KnownQuoteGroups = 0x3FFF;
constexpr int ServiceCount = 15;
// Class, flags, total and row count before a list reply's rows.
constexpr size_t ListHeadBytes = 8;

// A validity date word: start date in the low half, end date in the high half, each packed as
// year - 2000 in 7 bits, month in 4, day in 5.
uint32_t validityWord(int32_t start, int32_t end) {
    auto pack = [](int32_t date) {
        return uint32_t(date / 10000 - 2000) | uint32_t(date / 100 % 100) << 7 | uint32_t(date % 100) << 11;
    };
    return pack(start) | pack(end) << 16;
}

struct ProductClass {
    const char *name;
    int value; // class id of a leaf, child count otherwise
    bool hasChildren;
};

// The product class tree, depth first.
const ProductClass ProductClasses[] = {
    {"上海期货", 3, true},    {"铜", 101, false},
    {"铝", 102, false},       {"锌", 103, false},
    {"大连商品", 2, true},    {"大豆", 201, false},
    {"豆粕", 202, false},     {"郑州商品", 2, true},
    {"白糖", 301, false},     {"棉花", 302, false},
    {"上海黄金", 401, false}, {"中金所", 1, true},
    {"金融期货", 2, true},    {"股指期货", QuoteServer::IndexFuturesClassID, false},
    {"国债期货", 502, false},
};
constexpr int ProductRootChildren = 5;

base::Data compressed(const base::Data &plain) {
    uLongf length = compressBound(uLong(plain.length()));
    base::Data out;
    out.resize(length);
    compress2(out.mutableBytes(), &length, plain.bytes(), uLong(plain.length()), Z_BEST_COMPRESSION);
    out.resize(length);
    return out;
}

void writeQuoteGroups(base::Data &out, int flags, const QuoteRow &row) {
    auto ints = [&out](std::initializer_list<int32_t> values) {
        for (int32_t value : values)
            ComAPI::WriteInt(out, value);
    };
    if (flags & 0x0001) {
        ComAPI::WriteShort(out, 100); // shares per lot
        ComAPI::WriteInt(out, row.quote.volume);
    }
    if (flags & 0x0002)
        ComAPI::WriteInt(out, row.inner);
    if (flags & 0x0004)
        ComAPI::WriteInt(out, row.lastDeal);
    for (auto [bit, value] : {std::pair{0x0008, row.liangbi}, std::pair{0x0010, row.huanshou},
                              std::pair{0x0020, row.speed}, std::pair{0x0040, row.weibi}})
        if (flags & bit)
            ComAPI::WriteShort(out, value);
    if (flags & 0x0080)
        ComAPI::WriteByte(out, row.notes);
    if (flags & 0x0100)
        ints({row.pe, row.pb});
    if (flags & 0x0200)
        ints({row.sell1, row.buy1});
    if (flags & 0x0400)
        ints({row.rise7, row.transp7, row.rise30, row.transp30});
    if (flags & 0x0800) {
        ComAPI::WriteShort(out, row.ddx);
        ComAPI::WriteShort(out, row.ddy);
        ints({row.ddz, row.ddx60, row.ddy60});
        ComAPI::WriteByte(out, row.redDays);
        ComAPI::WriteByte(out, row.redRun);
    }
    if (flags & 0x1000)
        ints({row.fundIn, row.fundOut, row.fundIn5, row.fundOut5, row.fundAmount5, row.fundIn30,
              row.fundOut30, row.fundAmount30});
    if (flags & 0x2000)
        ints({row.yposition, row.ysettlement, row.position, row.settlement});
}

} // namespace

QuoteServer::QuoteServer(uint16_t port, MarketFixture market)
    : FrameServer(port), market_(std::move(market)), navigation_(NavigationInfo::pointingAt(this->port())) {
    start([this](const ReceivedFrame &request) { return answer(request); });
}

QuoteServer::~QuoteServer() {
    stop();
}

void QuoteServer::addAccount(const std::string &name, const std::string &password, int64_t rights) {
    std::lock_guard lock(stateMutex_);
    Account &account = accounts_[name];
    account.password = password;
    account.rights = rights;
}

void QuoteServer::setLoginResult(std::optional<int> result) {
    std::lock_guard lock(stateMutex_);
    loginResult_ = result;
}

void QuoteServer::setSyncResult(std::optional<int> result) {
    std::lock_guard lock(stateMutex_);
    syncResult_ = result;
}

std::vector<std::string> QuoteServer::watchList(const std::string &name) const {
    std::lock_guard lock(stateMutex_);
    auto it = accounts_.find(name);
    return it == accounts_.end() ? std::vector<std::string>{} : it->second.watchList;
}

void QuoteServer::setWatchList(const std::string &name, std::vector<std::string> codes) {
    std::lock_guard lock(stateMutex_);
    accounts_[name].watchList = std::move(codes);
}

int64_t QuoteServer::lastSessionID() const {
    std::lock_guard lock(stateMutex_);
    return lastSessionID_;
}

void QuoteServer::setNavigation(NavigationInfo info) {
    std::lock_guard lock(stateMutex_);
    navigation_ = std::move(info);
}

void QuoteServer::setBrokers(std::vector<GatewayBroker> brokers) {
    std::lock_guard lock(stateMutex_);
    brokers_ = std::move(brokers);
}

void QuoteServer::setCompressCodeTables(bool compress) {
    std::lock_guard lock(stateMutex_);
    compressCodeTables_ = compress;
}

void QuoteServer::setQuotesDate(int32_t date) {
    std::lock_guard lock(stateMutex_);
    market_.setQuotesDate(date);
    rankings_.clear();
}

void QuoteServer::stepDay(int minutes) {
    std::lock_guard lock(stateMutex_);
    stepLocked(minutes);
}

void QuoteServer::stepLocked(int minutes) {
    for (int i = 0; i < minutes; ++i)
        market_.step();
    if (minutes > 0)
        rankings_.clear();
}

void QuoteServer::setMarketMinute(int minute) {
    std::lock_guard lock(stateMutex_);
    market_.setMinute(minute);
    rankings_.clear();
}

void QuoteServer::moveWith(const base::Clock *clock, double secondsPerMinute) {
    std::lock_guard lock(stateMutex_);
    dayClock_ = clock;
    secondsPerMinute_ = secondsPerMinute;
    movedUntil_ = clock ? clock->monotonic() : 0;
}

void QuoteServer::catchUpWithClock() {
    if (!dayClock_ || secondsPerMinute_ <= 0)
        return;
    auto minutes = int((dayClock_->monotonic() - movedUntil_) / secondsPerMinute_);
    if (minutes <= 0)
        return;
    movedUntil_ += minutes * secondsPerMinute_;
    stepLocked(minutes);
}

void QuoteServer::setServerTime(int32_t date, int32_t hhmmss) {
    std::lock_guard lock(stateMutex_);
    serverDate_ = date;
    serverTime_ = hhmmss;
}

int32_t QuoteServer::addNews(std::string text) {
    std::lock_guard lock(stateMutex_);
    news_[++lastNewsID_] = std::move(text);
    return lastNewsID_;
}

void QuoteServer::skipNewsIds(int count) {
    std::lock_guard lock(stateMutex_);
    lastNewsID_ = int32_t(std::clamp<int64_t>(int64_t(lastNewsID_) + count, 0, INT32_MAX - 1));
}

MarketFixture QuoteServer::market() const {
    std::lock_guard lock(stateMutex_);
    return market_;
}

void QuoteServer::pushAccountError(int reason) {
    push(accountErrorFrame(reason));
}

void QuoteServer::pushAlarm(uint16_t subType, uint32_t serverValue, const base::Data &payload,
                            uint8_t seqID) {
    push(alarmFrame(seqID, subType, serverValue, payload));
}

Frame QuoteServer::accountErrorFrame(int reason, uint8_t seqID) {
    Frame frame{seqID, AccountErrorType};
    ComAPI::WriteByte(frame.body, reason);
    return frame;
}

Frame QuoteServer::alarmFrame(uint8_t seqID, uint16_t subType, uint32_t serverValue,
                              const base::Data &payload) {
    Frame frame{seqID, AlarmType};
    ComAPI::WriteByte(frame.body, 2);
    ComAPI::WriteShort(frame.body, subType);
    ComAPI::WriteShort(frame.body, 0);
    ComAPI::WriteShort(frame.body, int32_t(payload.length()));
    ComAPI::WriteInt(frame.body, int32_t(serverValue));
    frame.body.append(payload);
    return frame;
}

std::optional<Frame> QuoteServer::answer(const ReceivedFrame &request) {
    std::lock_guard lock(stateMutex_);
    catchUpWithClock();
    Frame reply{request.seqID, request.type};
    switch (request.type) {
    case HeartBeatType:
        return std::nullopt;
    case ServerAddressType:
        return navigation_.reply(request.seqID);
    case AccountLoginType:
        reply.body = login(request.bytes());
        break;
    case CodeTableType:
        return codeTable(request);
    case ProductClassType:
        ComAPI::WriteShort(reply.body, 0);
        ComAPI::WriteString(reply.body, "商品");
        ComAPI::WriteShort(reply.body, 0);
        ComAPI::WriteByte(reply.body, 1);
        ComAPI::WriteShort(reply.body, ProductRootChildren);
        for (const ProductClass &entry : ProductClasses) {
            ComAPI::WriteString(reply.body, entry.name);
            ComAPI::WriteByte(reply.body, 0);
            ComAPI::WriteByte(reply.body, 0);
            ComAPI::WriteByte(reply.body, entry.hasChildren ? 1 : 0);
            ComAPI::WriteShort(reply.body, entry.value);
        }
        break;
    case BreakingNewsType:
        reply.body = breakingNews(request.bytes());
        break;
    case CandleType:
        return candleReply(request);
    case MinLineType:
        return minLineReply(request);
    case ExrightType:
        reply.body = exrightReply(request.bytes());
        break;
    case QuoteListType:
        reply.body = quoteList(request.bytes());
        break;
    case ServerTimeType:
        reply.body = serverTime();
        break;
    case WatchListSyncType:
        reply.body = syncWatchList(request.bytes());
        break;
    case WebRightsType:
        reply.body = webRights(request.bytes());
        break;
    case BrokerTableType:
        if (!brokers_.empty())
            reply.body = brokerTableBody(brokers_);
        break;
    case PoolListType:
        reply.body = poolList(request.bytes());
        break;
    case OpenFundListType:
        reply.body = openFundList(request.bytes());
        break;
    case ProductListType:
        reply.body = productList(request.bytes());
        break;
    case AlarmType:
        return alarmReply(request);
    default:
        if (auto body = detailReply(request))
            reply.body = std::move(*body);
        else if (auto series = seriesReply(request))
            reply.body = std::move(*series);
        else if (auto level2 = level2Reply(request))
            reply.body = std::move(*level2);
        break;
    }
    return reply;
}

int QuoteServer::accountCheck(const std::string &name, const std::string &password) const {
    auto it = accounts_.find(name);
    if (it == accounts_.end())
        return 1;
    return it->second.password == password ? 0 : 2;
}

// Request: Int 0, String "", String name, String password.
base::Data QuoteServer::login(ByteView request) {
    uint32_t pos = 0;
    ComAPI::ReadInt(request, pos);
    ComAPI::ReadString(request, pos);
    std::string name = ComAPI::ReadString(request, pos);
    std::string password = ComAPI::ReadString(request, pos);
    int result = loginResult_.value_or(accountCheck(name, password));
    bool accepted = result == 0 || result == 6 || result == 7 || result == 9;

    base::Data body;
    ComAPI::WriteByte(body, result);
    if (!accepted) {
        sessionRights_ = 0;
        ComAPI::WriteShort(body, 0);
        ComAPI::WriteShort(body, 0);
        return body;
    }
    auto account = accounts_.find(name);
    lastSessionID_ = lastSessionID_ ? lastSessionID_ + 1 : 0x10000001;
    ComAPI::WriteLongLong(body, lastSessionID_);
    sessionRights_ = account == accounts_.end() ? AllRights : account->second.rights;
    ComAPI::WriteLongLong(body, sessionRights_);
    ComAPI::WriteShort(body, ServiceCount);
    for (int i = 0; i < ServiceCount; ++i)
        ComAPI::WriteInt(body, int32_t(validityWord(20120305, 20301231)));
    ComAPI::WriteShort(body, 0);
    return body;
}

// Request: two bytes of the market prefix, Int checksum held. The reply has the long header: u32
// records size, u32 checksum, u16 count, records. An unchanged table comes back without records.
Frame QuoteServer::codeTable(const ReceivedFrame &request) const {
    ByteView body = request.bytes();
    uint32_t pos = 0;
    char prefix[2] = {};
    ComAPI::ReadData(body, pos, prefix, 2);
    uint32_t held = uint32_t(ComAPI::ReadInt(body, pos));
    std::string_view title(prefix, 2);

    base::Data records = market_.codeTable(title);
    uint32_t crc = MarketFixture::checksum(records);
    auto count = int32_t(market_.codeTableSecurities(title).size());
    Frame reply{request.seqID, CodeTableType};
    if (held == crc) {
        records = {};
        count = 0;
    } else if (compressCodeTables_ && (request.attribute & CompressedAttribute) && count > 0) {
        reply.attribute = CompressedAttribute;
    }
    ComAPI::WriteInt(reply.body, int32_t(records.length()));
    ComAPI::WriteInt(reply.body, int32_t(crc));
    ComAPI::WriteShort(reply.body, count);
    reply.body.append(reply.attribute ? compressed(records) : records);
    return reply;
}

// Request: String "test", Short 0, Int id (0: the newest item; above 0: the item before that id,
// ids without an item passed over).
// Reply: Int id, String content; id 0 when there is no such item.
base::Data QuoteServer::breakingNews(ByteView request) const {
    uint32_t pos = 0;
    ComAPI::ReadString(request, pos);
    ComAPI::ReadShort(request, pos);
    int32_t wanted = ComAPI::ReadInt(request, pos);
    // The newest item, or the nearest one below the id asked for.
    auto found = wanted > 0 ? news_.lower_bound(wanted) : news_.end();
    base::Data body;
    if (found == news_.begin()) {
        ComAPI::WriteInt(body, 0);
        ComAPI::WriteString(body, "");
    } else {
        --found;
        ComAPI::WriteInt(body, found->first);
        ComAPI::WriteString(body, found->second);
    }
    return body;
}

// Request by class: Short class, Short flags, Byte sort field, Byte order, Short start, Short count.
// By codes: Short 106, Short flags, Short n, n Strings. Class pages are ranked by ranking().
base::Data QuoteServer::quoteList(ByteView request) const {
    uint32_t pos = 0;
    int classID = uint16_t(ComAPI::ReadShort(request, pos));
    int flags = ComAPI::ReadShort(request, pos) & KnownQuoteGroups;
    std::vector<const Security *> rows;
    size_t total = 0;
    if (classID == CodeListClassID) {
        int count = ComAPI::ReadShort(request, pos);
        for (int i = 0; i < count && pos < request.size(); ++i) {
            std::string code = ComAPI::ReadString(request, pos);
            const Security *security = findAnywhere(code);
            if (security && code != withheldCode_)
                rows.push_back(security);
        }
        total = rows.size();
    } else {
        int sortField = uint8_t(ComAPI::ReadByte(request, pos));
        int order = uint8_t(ComAPI::ReadByte(request, pos));
        size_t start = size_t(std::max<int>(ComAPI::ReadShort(request, pos), 0));
        size_t count = size_t(std::max<int>(ComAPI::ReadShort(request, pos), 0));
        const Ranking &ranked = ranking(classID, sortField, order, start + count);
        total = emptyLists_ ? 0 : ranked.rows.size();
        for (size_t i = start; i < ranked.sorted && rows.size() < count && !emptyLists_; ++i)
            rows.push_back(ranked.rows[i].security);
    }

    // Rows that would take the body past what a frame's length can say are left for the next page.
    base::Data rowBytes;
    size_t written = 0;
    for (; written < rows.size(); ++written) {
        const Security &security = *rows[written];
        QuoteRow row = QuoteRow::of(market_, security, QuoteRow::groupsNeedHistory(flags));
        fillBoardFundFlow(row);
        const Quote &quote = row.quote;
        size_t before = rowBytes.length();
        ComAPI::WriteString(rowBytes, security.fullCode());
        ComAPI::WriteString(rowBytes, security.name);
        ComAPI::WriteByte(rowBytes, security.decimal);
        ComAPI::WriteByte(rowBytes, security.type);
        for (int32_t field :
             {security.closePrice, quote.open, quote.last, quote.high, quote.low, quote.amount})
            ComAPI::WriteInt(rowBytes, field);
        if (classID == BoardClassID)
            ComAPI::WriteShort(rowBytes, boardListID(security));
        writeQuoteGroups(rowBytes, flags, row);
        if (rowBytes.length() + ListHeadBytes > NTDataPageHead::MaxBodyLength) {
            rowBytes.resize(before);
            break;
        }
    }
    base::Data body;
    ComAPI::WriteShort(body, classID);
    ComAPI::WriteShort(body, flags);
    ComAPI::WriteShort(body, int32_t(total));
    ComAPI::WriteShort(body, int32_t(written));
    body.append(rowBytes);
    return body;
}

// Short year, Byte month, Byte day, Byte hour, Byte minute, Byte second.
base::Data QuoteServer::serverTime() const {
    int32_t date = serverDate_.value_or(market_.quotesDate());
    int32_t time = serverDate_ || market_.minute() == MarketFixture::CloseMinute ? serverTime_
                                                                                 : market_.minuteTime() * 100;
    base::Data body;
    ComAPI::WriteShort(body, date / 10000);
    for (int32_t field : {date / 100 % 100, date % 100, time / 10000, time / 100 % 100, time % 100})
        ComAPI::WriteByte(body, field);
    return body;
}

// Request: Byte direction (1 upload, 0 download), String password, String name, and for an upload
// Short n and n codes. Reply: Byte result, and for a download accepted Short n and n codes.
base::Data QuoteServer::syncWatchList(ByteView request) {
    uint32_t pos = 0;
    bool upload = ComAPI::ReadByte(request, pos) == 1;
    std::string password = ComAPI::ReadString(request, pos);
    std::string name = ComAPI::ReadString(request, pos);
    int result = syncResult_.value_or(accountCheck(name, password));

    base::Data body;
    ComAPI::WriteByte(body, result);
    if (result != 0)
        return body;
    std::vector<std::string> &stored = accounts_[name].watchList;
    if (upload) {
        int count = ComAPI::ReadShort(request, pos);
        stored.clear();
        for (int i = 0; i < count && pos < request.size(); ++i)
            stored.push_back(ComAPI::ReadString(request, pos));
        return body;
    }
    ComAPI::WriteShort(body, int32_t(stored.size()));
    for (const std::string &code : stored)
        ComAPI::WriteString(body, code);
    return body;
}

// Request: Byte 2, Short 119, Short 0, Short length, String name, String password. Reply: the same
// sub-header and String user key. The key is made from the account, so that one account always gets
// the same key; the free login (no name) gets a guest key of its own. A wrong password, an unknown
// account or another sub-type gets the empty reply: no key.

} // namespace peers
