#include "TradeGateway.h"

#include "TradeFrames.h"

#include "DataBase/WT/TradeCipher.h"
#include "DataBase/WT/TradeFrame.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <linux/sockios.h>
#include <map>
#include <netinet/in.h>
#include <sstream>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace peers {

namespace {

constexpr size_t kHeader = 22;
// Requests are small; a longer one means the cutter lost the frame boundaries.
constexpr int32_t kMaxRequest = 1 << 20;
constexpr int32_t kLastSynID = 0x7FFFFFFD;
const uint8_t kNonce[16] = {0x51, 0x56, 0x4e, 0x2d, 0x47, 0x57, 0x2d, 0x4e,
                            0x4f, 0x4e, 0x43, 0x45, 0x2d, 0x30, 0x31, 0x21};
const uint8_t kOtherKey[16] = {0xde, 0xad, 0xbe, 0xef, 0xde, 0xad, 0xbe, 0xef,
                               0xde, 0xad, 0xbe, 0xef, 0xde, 0xad, 0xbe, 0xef};

// The functions that go without the session pairs.
const std::set<int> kPlainFunctions = {10, 12010, 12056, 12058, 13008};
const int kSessionTags[] = {1205, 21010, 1207, 1203, 9006, 1005, 1016, 1030};
// The login request names the replies whose column titles it wants ("count,id,id,…").
constexpr int kTitleFunctions = 1325;
// The columns of the query replies, in the order the broker shows them: the fields the account
// book's rows carry.
const std::map<int, std::string> kColumnTitles = {
    {11105, "1028=币种,1077=资金余额,1078=可用资金,1079=可取资金,1065=证券市值,1087=总资产,1064=浮动盈亏"},
    {11133,
     "1042=委托编号,1036=证券代码,1037=证券名称,1026=买卖标志,1041=委托价格,1040=委托数量,1044=委托状态,"
     "1019=股东代码"},
    {11135,
     "1042=委托编号,1036=证券代码,1037=证券名称,1026=买卖标志,1041=委托价格,1040=委托数量,1044=委托状态,"
     "1047=成交数量,1019=股东代码"},
    {11137,
     "1046=委托日期,1042=委托编号,1036=证券代码,1037=证券名称,1026=买卖标志,1041=委托价格,1040=委托数量,"
     "1044=委托状态,1019=股东代码"},
    {11141,
     "1036=证券代码,1037=证券名称,1026=买卖标志,1048=成交价格,1047=成交数量,1042=委托编号,1019=股东代码"},
    {11143,
     "1046=成交日期,1036=证券代码,1037=证券名称,1026=买卖标志,1041=成交价格,1040=成交数量,1042=委托编号,"
     "1019=股东代码"},
    {11147, "1036=证券代码,1037=证券名称,1060=股份余额,1061=可卖数量,1052=冻结数量,1062=成本价,1181=最新价,"
            "1019=股东代码"},
};

// The title rows of the login reply for the replies the request names; all of them when it names
// none. A title text is "reply id,column count,id=caption,…".
std::string titleRows(const std::optional<std::string> &asked) {
    std::vector<int> functions;
    if (asked) {
        std::stringstream list(*asked);
        std::string item;
        std::getline(list, item, ',');
        while (std::getline(list, item, ','))
            functions.push_back(std::atoi(item.c_str()));
    } else {
        for (const auto &[function, columns] : kColumnTitles)
            functions.push_back(function);
    }
    std::string rows = "21000=2|";
    for (int function : functions) {
        auto columns = kColumnTitles.find(function);
        if (columns == kColumnTitles.end())
            continue;
        int count = int(std::count(columns->second.begin(), columns->second.end(), ',')) + 1;
        rows += "21002=|1326=" + std::to_string(function) + "," + std::to_string(count) + "," +
                columns->second + "|21003=|";
    }
    return rows;
}

// Pairs written with "|" for the closing 0x01.
std::string pairs(std::string text) {
    for (char &c : text)
        if (c == '|')
            c = '\x01';
    return text;
}

int toInt(const std::string &text) {
    char *end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    return text.empty() || *end != '\0' ? 0 : int(value);
}

std::string cString(const uint8_t *bytes, size_t length) {
    const char *text = reinterpret_cast<const char *>(bytes);
    return std::string(text, strnlen(text, length));
}

sockaddr_in loopback(uint16_t port) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return addr;
}

int listenOn(uint16_t &port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in addr = loopback(port);
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0 || listen(fd, 16) != 0) {
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    socklen_t len = sizeof addr;
    getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len);
    port = ntohs(addr.sin_port);
    return fd;
}

// Rewrites header fields of a finished frame; the checksum is made right again unless `badCRC`.
void reseal(std::string &frame, bool badCRC) {
    auto *bytes = reinterpret_cast<uint8_t *>(frame.data());
    uint32_t crc = crc32_crypto(bytes + 4, frame.size() - 4);
    writeInt32LE(bytes, int32_t(badCRC ? crc ^ 1 : crc));
}

} // namespace

std::optional<std::string> TradeRequest::value(int tag) const {
    for (const auto &[t, v] : pairs)
        if (t == tag)
            return v;
    return std::nullopt;
}

struct TradeGateway::Session {
    int32_t cookie = 0;
    uint8_t key[16] = {};
    // The client's part of the key, as the last phone check carried it.
    uint8_t keyPart[16] = {};
    int32_t nextSeq = 0;
    int32_t replySeq = 1;
    bool checked = false;
    std::string broker;
    std::string mobile;
    // The values the session pairs must carry.
    std::string guid, checkCode, dep, customer, password;
};

struct TradeGateway::Connection {
    int number = 0;
    int fd = -1;
    base::Ref<base::FdSource> source;
    std::vector<uint8_t> input;
    std::string output;
    std::string held;
    bool closeWhenFlushed = false;
    std::set<int32_t> synIDs;
    Session session;

    bool open() const { return fd >= 0; }
};

TradeGateway::TradeGateway(uint16_t port) : port_(port) {
    if (!setListening(true))
        port_ = 0;
}

TradeGateway::~TradeGateway() {
    setListening(false);
    for (auto &conn : conns_)
        close(*conn);
}

bool TradeGateway::setListening(bool listening) {
    if (listener_ >= 0) {
        base::RunLoop::current().removeSource(*listenSource_);
        ::close(listener_);
        listener_ = -1;
        listenSource_.reset();
    }
    if (!listening)
        return true;
    listener_ = listenOn(port_);
    if (listener_ < 0)
        return false;
    listenSource_ =
        base::make<base::FdSource>(listener_, base::FdSource::Read, [this](unsigned) { acceptOne(); });
    base::RunLoop::current().addSource(listenSource_);
    return true;
}

void TradeGateway::addAccount(GatewayAccount account) {
    accounts_.push_back(std::move(account));
}

void TradeGateway::setReply(int funcID, std::string text) {
    setScript(funcID, [text = std::move(text)](const TradeRequest &) { return text; });
}

std::vector<TradeRequest> TradeGateway::received(int funcID) const {
    std::vector<TradeRequest> out;
    for (const auto &request : received_)
        if (request.funcID == funcID)
            out.push_back(request);
    return out;
}

std::string TradeGateway::holderCode(const std::string &account, int type) {
    return (type == 3 ? "A" : "0") + account;
}

// --- Connections

void TradeGateway::acceptOne() {
    int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0)
        return;
    auto conn = std::make_unique<Connection>();
    conn->number = ++accepted_;
    conn->fd = fd;
    Connection *raw = conn.get();
    conn->source = base::make<base::FdSource>(fd, base::FdSource::Read, [this, raw](unsigned events) {
        if (events & base::FdSource::Write)
            flush(*raw);
        if (raw->open() && (events & (base::FdSource::Read | base::FdSource::HangUp | base::FdSource::Error)))
            readFrom(*raw);
    });
    base::RunLoop::current().addSource(conn->source);
    conns_.push_back(std::move(conn));
}

void TradeGateway::readFrom(Connection &conn) {
    uint8_t chunk[4096];
    for (;;) {
        ssize_t n = recv(conn.fd, chunk, sizeof chunk, 0);
        if (n > 0) {
            conn.input.insert(conn.input.end(), chunk, chunk + n);
            continue;
        }
        if (n == 0 || errno != EAGAIN) {
            cutRequests(conn);
            close(conn);
            return;
        }
        break;
    }
    cutRequests(conn);
}

void TradeGateway::close(Connection &conn) {
    if (!conn.open())
        return;
    base::RunLoop::current().removeSource(*conn.source);
    ::close(conn.fd);
    conn.fd = -1;
}

void TradeGateway::closeConnection() {
    if (Connection *conn = newest())
        close(*conn);
}

int TradeGateway::openConnections() const {
    return int(std::count_if(conns_.begin(), conns_.end(), [](const auto &conn) { return conn->open(); }));
}

bool TradeGateway::quiet() const {
    for (const auto &conn : conns_) {
        if (!conn->open())
            continue;
        int unread = 0, unsent = 0;
        ioctl(conn->fd, SIOCINQ, &unread);
        ioctl(conn->fd, SIOCOUTQ, &unsent);
        if (unread > 0 || unsent > 0 || !conn->output.empty())
            return false;
    }
    return true;
}

TradeGateway::Connection *TradeGateway::newest() {
    for (auto it = conns_.rbegin(); it != conns_.rend(); ++it)
        if ((*it)->open())
            return it->get();
    return nullptr;
}

void TradeGateway::resume() {
    for (auto &conn : conns_) {
        if (!conn->open() || conn->held.empty())
            continue;
        conn->output += conn->held;
        conn->held.clear();
        flush(*conn);
    }
}

void TradeGateway::write(Connection &conn, const std::string &bytes, const TradeFault *fault) {
    std::string out = bytes;
    if (fault && fault->closeAfter && *fault->closeAfter < out.size()) {
        out.resize(*fault->closeAfter);
        conn.closeWhenFlushed = true;
    }
    if (fault && fault->splitAfter > 0 && fault->splitAfter < out.size()) {
        conn.held += out.substr(fault->splitAfter);
        out.resize(fault->splitAfter);
    }
    conn.output += out;
    flush(conn);
}

void TradeGateway::flush(Connection &conn) {
    while (conn.open() && !conn.output.empty()) {
        ssize_t n = ::send(conn.fd, conn.output.data(), conn.output.size(), MSG_NOSIGNAL);
        if (n <= 0)
            break;
        conn.output.erase(0, size_t(n));
    }
    if (!conn.open())
        return;
    conn.source->setInterest(base::FdSource::Read | (conn.output.empty() ? 0 : base::FdSource::Write));
    if (conn.output.empty() && conn.held.empty() && conn.closeWhenFlushed)
        close(conn);
}

void TradeGateway::violation(const Connection &conn, const std::string &what) {
    violations_.push_back("connection " + std::to_string(conn.number) + ": " + what);
}

// --- Reading requests

bool TradeGateway::cutRequests(Connection &conn) {
    while (conn.open() && conn.input.size() >= kHeader) {
        int32_t datalen = readInt32LE(conn.input.data() + 18);
        if (datalen < 0 || datalen > kMaxRequest) {
            violation(conn, "impossible length " + std::to_string(datalen));
            close(conn);
            return false;
        }
        size_t total = kHeader + size_t(datalen);
        if (conn.input.size() < total)
            break;
        std::optional<TradeRequest> request = readRequest(conn, conn.input.data(), total);
        conn.input.erase(conn.input.begin(), conn.input.begin() + long(total));
        if (request) {
            received_.push_back(*request);
            answer(conn, *request);
        }
    }
    return conn.open();
}

std::optional<TradeRequest> TradeGateway::readRequest(Connection &conn, const uint8_t *frame, size_t length) {
    TradeRequest request;
    request.connection = conn.number;
    request.packtype = char(frame[5]);
    request.cookie = readInt32LE(frame + 6);
    request.synID = readInt32LE(frame + 10);
    int32_t rawLength = readInt32LE(frame + 14);
    int32_t datalen = readInt32LE(frame + 18);
    if (uint32_t(readInt32LE(frame)) != crc32_crypto(frame + 4, length - 4))
        violation(conn, "checksum");
    if (frame[4] != 0)
        violation(conn, "compressed flag set");
    if (rawLength != datalen)
        violation(conn, "raw length differs from the payload length");
    if (request.synID < 1 || request.synID > kLastSynID)
        violation(conn, "request number out of range");
    if (!conn.synIDs.insert(request.synID).second)
        violation(conn, "request number " + std::to_string(request.synID) + " written twice");
    if (request.cookie != conn.session.cookie)
        violation(conn, "cookie");
    const uint8_t *payload = frame + kHeader;
    size_t payloadLength = length - kHeader;
    switch (request.packtype) {
    case kTradePackD:
        readPhoneCheck(conn, request, payload, payloadLength);
        break;
    case kTradePackC:
        if (!readBlock(conn, request, payload, payloadLength))
            return request;
        break;
    case kTradePackF:
        readText(conn, request, std::string(reinterpret_cast<const char *>(payload), payloadLength));
        break;
    default:
        violation(conn, "packet type " + std::to_string(int(request.packtype)));
    }
    return request;
}

void TradeGateway::readPhoneCheck(Connection &conn, TradeRequest &request, const uint8_t *payload,
                                  size_t length) {
    request.funcID = kPhoneCheck;
    if (length != 64) {
        violation(conn, "phone check of " + std::to_string(length) + " bytes");
        return;
    }
    request.broker = cString(payload, 20);
    request.mobile = cString(payload + 24, 20);
    std::memcpy(conn.session.keyPart, payload + 44, 16);
    if (readInt32LE(payload + 20) != 0 || readInt32LE(payload + 60) != 0)
        violation(conn, "phone check padding");
}

bool TradeGateway::readBlock(Connection &conn, TradeRequest &request, const uint8_t *payload, size_t length) {
    if (length < 32 || length % 16 != 0) {
        violation(conn, "block of " + std::to_string(length) + " bytes");
        return false;
    }
    std::vector<uint8_t> block(length);
    dec_aes(payload, length, conn.session.key, 16, block.data());
    uint8_t digest[16];
    md5(block.data() + 16, length - 16, digest);
    if (std::memcmp(digest, block.data(), 16) != 0) {
        violation(conn, "digest");
        return false;
    }
    request.dseq = readInt32LE(block.data() + 16);
    if (request.dseq != conn.session.nextSeq)
        violation(conn, "block sequence " + std::to_string(request.dseq) + ", expected " +
                            std::to_string(conn.session.nextSeq));
    conn.session.nextSeq = request.dseq + 1;
    int32_t textLength = readInt32LE(block.data() + 21);
    int32_t storedLength = readInt32LE(block.data() + 25);
    if (block[20] != 0)
        violation(conn, "block flags");
    if (textLength != storedLength || storedLength < 0 || 29 + size_t(storedLength) > length) {
        violation(conn, "block lengths");
        return false;
    }
    size_t end = 29 + size_t(storedLength);
    if ((end + 15) / 16 * 16 != length ||
        std::any_of(block.begin() + long(end), block.end(), [](uint8_t b) { return b != 0; }))
        violation(conn, "fill");
    readText(conn, request,
             std::string(reinterpret_cast<const char *>(block.data()) + 29, size_t(storedLength)));
    return true;
}

void TradeGateway::readText(Connection &conn, TradeRequest &request, const std::string &text) {
    if (!text.empty() && text.back() != '\x01')
        violation(conn, "text without its closing 0x01");
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\x01', start);
        if (end == std::string::npos)
            end = text.size();
        std::string item = text.substr(start, end - start);
        size_t eq = item.find('=');
        if (eq == std::string::npos)
            violation(conn, "item without '='");
        else
            request.pairs.emplace_back(toInt(item.substr(0, eq)), item.substr(eq + 1));
        start = end + 1;
    }
    if (request.pairs.size() < 2 || request.pairs[0].first != 8 || request.pairs[1].first != 21004) {
        violation(conn, "no version and function pairs");
        return;
    }
    request.funcID = toInt(request.pairs[1].second);
    if (request.pairs[0].second != (request.funcID == 10 ? "CTRL1.0" : "QVN1.0"))
        violation(conn,
                  "version " + request.pairs[0].second + " for function " + std::to_string(request.funcID));
    checkSessionPairs(conn, request);
}

void TradeGateway::checkSessionPairs(Connection &conn, const TradeRequest &request) {
    const std::string func = " (function " + std::to_string(request.funcID) + ")";
    bool withSession = request.packtype == kTradePackC && !kPlainFunctions.count(request.funcID);
    if (!withSession) {
        if (request.value(1030))
            violation(conn, "trade password outside the session pairs" + func);
        return;
    }
    if (!conn.session.checked)
        violation(conn, "session request before the phone check" + func);
    bool inOrder = request.pairs.size() >= 10;
    for (size_t i = 0; inOrder && i < 8; ++i)
        inOrder = request.pairs[2 + i].first == kSessionTags[i];
    if (!inOrder) {
        violation(conn, "session pairs out of order" + func);
        return;
    }
    Session &s = conn.session;
    auto at = [&](size_t i) { return request.pairs[2 + i].second; };
    if (request.funcID == 11100) {
        // The login brings the account, password and branch; the identifiers are not given yet.
        s.guid.clear();
        s.checkCode.clear();
        s.dep = at(5);
        s.customer = at(6);
        s.password = at(7);
        if (request.value(1019) != s.customer)
            violation(conn, "login account differs from the customer pair");
    }
    const std::string expected[] = {"15", s.guid, s.checkCode, s.mobile, "", s.dep, s.customer, s.password};
    for (size_t i = 0; i < 8; ++i)
        if (at(i) != expected[i])
            violation(conn, "session pair " + std::to_string(kSessionTags[i]) + " = '" + at(i) + "'" + func);
}

// --- Answering

std::optional<TradeFault> TradeGateway::takeFault(int funcID) {
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (it->funcID != 0 && it->funcID != funcID)
            continue;
        TradeFault fault = *it;
        if (it->times > 0 && --it->times == 0)
            faults_.erase(it);
        return fault;
    }
    return std::nullopt;
}

void TradeGateway::answer(Connection &conn, const TradeRequest &request) {
    std::optional<std::string> text;
    if (request.funcID != kPhoneCheck) {
        text = replyText(conn, request);
        if (!text)
            return;
    }
    std::optional<TradeFault> fault = takeFault(request.funcID);
    if (fault && fault->silent)
        return;
    const TradeFault *f = fault ? &*fault : nullptr;
    std::string bytes = f ? f->before : std::string();
    if (request.funcID == kPhoneCheck) {
        bytes += phoneCheckReply(conn, request, f);
        if (f && f->thenReply)
            bytes += phoneCheckReply(conn, request, nullptr);
    } else {
        bytes += shape(conn, request, *text, f);
        if (f && f->thenReply)
            bytes += shape(conn, request, *text, nullptr);
    }
    if (f)
        bytes += f->after;
    write(conn, bytes, f);
}

std::optional<std::string> TradeGateway::replyText(Connection &conn, const TradeRequest &request) {
    auto script = scripts_.find(request.funcID);
    if (script != scripts_.end())
        return script->second(request);
    switch (request.funcID) {
    case 10:
        return pairs("21004=11|");
    case 11100:
        return login(conn, request);
    case 12010:
        return pairs(
            "21004=12011|21000=0|21002=|1021=0|1208=资金帐号|21003=|21002=|1021=3|1208=上海A股东|21003=|");
    case 12056:
        return pairs("21004=12057|21000=0|21002=|1296=021|1006=上海营业部|1005=0101|21003=|");
    case 12058:
        return pairs("21004=12059|21000=0|21002=|1295=021|1296=上海|21003=|");
    case 13008:
        return pairs("21004=13009|32003=1|");
    case 11104:
        return pairs("21004=11105|21000=0|21002=|1028=0|1078=100000.00|1415=1|21003=|");
    case 13028:
        return pairs("21004=13029|");
    case 13054: {
        std::string mobile = request.value(2002).value_or("");
        for (const auto &account : accounts_)
            if (account.mobile == mobile)
                return pairs("21004=13055|2007=" + codedCheckNum(account.code, mobile) + "|");
        return pairs(std::string("21004=13054|21008=-1|21009=") + kUnknownMobile + "|");
    }
    case 13056:
        return pairs("21004=13057|1208=ZC|2007=10658888,10659999,10657777|");
    case 13064:
        if (accounts_.empty())
            return pairs(std::string("21004=13064|21008=-1|21009=") + kUnknownMobile + "|");
        return pairs("21004=13065|2002=" + accounts_.front().mobile +
                     "|2007=" + codedCheckNum(accounts_.front().code, accounts_.front().mobile) + "|");
    default:
        return pairs("21004=" + std::to_string(request.funcID) + "|21008=-1|21009=功能暂不支持|");
    }
}

std::string TradeGateway::codedCheckNum(const std::string &code, const std::string &mobile) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string coded;
    for (size_t k = 0; k < code.size(); ++k) {
        int digit = k < mobile.size() && std::isdigit(uint8_t(mobile[k])) ? mobile[k] - '0' : 0;
        int value = (code[k] - '0') ^ digit;
        coded += kHex[value >> 4 & 15];
        coded += kHex[value & 15];
    }
    return coded;
}

std::string TradeGateway::login(Connection &conn, const TradeRequest &request) {
    Session &s = conn.session;
    std::string account = request.value(1019).value_or("");
    bool known = false;
    for (const auto &a : accounts_)
        known = known || (a.broker == s.broker && a.account == account && a.password == s.password);
    if (!known)
        return pairs(std::string("21004=11100|21008=-1|21009=") + kWrongPassword + "|");
    std::string reply = "21004=11101|21000=0|";
    if (loginIdentifiers_) {
        s.guid = "G" + std::to_string(conn.number);
        s.checkCode = "K" + std::to_string(conn.number);
        s.customer = "C" + account;
        s.dep = "0755";
        reply += "21002=|1207=" + s.checkCode + "|21010=" + s.guid + "|1016=" + s.customer +
                 "|1005=" + s.dep + "|21003=|";
    }
    if (loginAccounts_ && loginAccountRows_)
        reply += "21000=1|" + *loginAccountRows_;
    else if (loginAccounts_)
        reply += "21000=1|21002=|1021=3|1019=" + holderCode(account, 3) +
                 "|21003=|21002=|1021=2|1019=" + holderCode(account, 2) + "|21003=|";
    return pairs(reply + titleRows(request.value(kTitleFunctions)));
}

std::string TradeGateway::phoneCheckReply(Connection &conn, const TradeRequest &request,
                                          const TradeFault *fault) {
    Session &s = conn.session;
    s.cookie = 0x5100 + conn.number;
    const GatewayAccount *account = nullptr;
    for (const auto &a : accounts_)
        if (a.broker == request.broker && a.mobile == request.mobile)
            account = &a;
    base::Data payload;
    if (refusal_ || !account) {
        std::string reason = refusal_.value_or(kUnknownMobile);
        payload = refuseReply(reason);
        if (fault && fault->unterminated)
            payload = payload.subdata(0, payload.length() - 1);
    } else {
        std::vector<uint8_t> key = deriveKey(kNonce, account->code, s.keyPart);
        std::memcpy(s.key, key.data(), 16);
        s.checked = true;
        s.nextSeq = kStartSeq + 1;
        s.broker = request.broker;
        s.mobile = request.mobile;
        payload = acceptReply(kNonce, fault && fault->wrongKey ? kOtherKey : s.key, kStartSeq);
    }
    if (fault && fault->payloadBytes)
        payload = payload.subdata(0, std::min(payload.length(), *fault->payloadBytes));
    std::string frame = replyFrame(fault && fault->packtype ? *fault->packtype : kTradePackD, payload,
                                   fault && fault->synID ? *fault->synID : request.synID, s.cookie)
                            .toString();
    if (fault && (fault->datalen || fault->badCRC)) {
        if (fault->datalen)
            writeInt32LE(reinterpret_cast<uint8_t *>(frame.data()) + 18, *fault->datalen);
        reseal(frame, fault->badCRC);
    }
    return frame;
}

std::string TradeGateway::shape(Connection &conn, const TradeRequest &request, const std::string &text,
                                const TradeFault *fault) {
    Session &s = conn.session;
    base::Data payload;
    if (request.packtype == kTradePackC) {
        const uint8_t *key = fault && fault->wrongKey ? kOtherKey : s.key;
        payload = sealBlock(text, key, s.replySeq++, compressBlock_);
        if (fault && (fault->storedLength || fault->textLength)) {
            uint8_t *block = payload.mutableBytes();
            dec_aes(block, payload.length(), key, 16, block);
            if (fault->textLength)
                writeInt32LE(block + 21, *fault->textLength);
            if (fault->storedLength)
                writeInt32LE(block + 25, *fault->storedLength);
            md5(block + 16, payload.length() - 16, block);
            enc_aes(block, payload.length(), key, 16, block);
        }
        if (fault && fault->badDigest)
            payload.mutableBytes()[payload.length() - 1] ^= 0x20;
    } else {
        payload = base::Data::fromString(text);
    }
    if (fault && fault->payloadBytes)
        payload = payload.subdata(0, std::min(payload.length(), *fault->payloadBytes));
    char packtype = fault && fault->packtype ? *fault->packtype : request.packtype;
    int32_t synID = fault && fault->synID ? *fault->synID : request.synID;
    std::string frame;
    if (fault && fault->badZlib) {
        CommPackInfo header;
        header.compressed = 1;
        header.packtype = packtype;
        header.cookie = s.cookie;
        header.synID = synID;
        header.rawLength = int32_t(payload.length() + 16);
        frame = makeTradeFrame(header, payload.bytes(), payload.length()).toString();
    } else {
        frame = replyFrame(packtype, payload, synID, s.cookie, compressFrame_).toString();
    }
    if (fault && (fault->datalen || fault->badCRC)) {
        if (fault->datalen)
            writeInt32LE(reinterpret_cast<uint8_t *>(frame.data()) + 18, *fault->datalen);
        reseal(frame, fault->badCRC);
    }
    return frame;
}

} // namespace peers
