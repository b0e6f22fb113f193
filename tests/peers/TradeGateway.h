#pragma once

#include "base/Object.h"
#include "base/RunLoop.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace peers {

// A request as the gateway read it.
struct TradeRequest {
    int connection = 0; // 1 for the first connection accepted
    char packtype = 0;
    int32_t synID = 0;
    int32_t cookie = 0;
    int32_t dseq = 0; // C requests
    // The function asked for; TradeGateway::kPhoneCheck for a D request, 0 when none was readable.
    int funcID = 0;
    // The message's pairs in order (C and F).
    std::vector<std::pair<int, std::string>> pairs;
    // The phone check's broker name and mobile (D).
    std::string broker;
    std::string mobile;

    // The value of the first pair with that tag; none when absent.
    std::optional<std::string> value(int tag) const;
};

// One account of the gateway: the phone check takes the broker, mobile and check code; the login
// the account and password.
struct GatewayAccount {
    std::string broker;
    std::string mobile;
    std::string code;
    std::string account;
    std::string password;
};

// How the gateway misbehaves on the replies to come. A fault shapes the reply to the next request
// of its function (0: any; kPhoneCheck: the phone check) `times` times (negative: for good). Its
// parts combine: the reply is altered (request number, packet type, block and header lengths, key,
// digest, compression, checksum), raw bytes are written around it, and the write goes out in the
// pieces the fault asks for. Nothing waits on time: held bytes go out on TradeGateway::resume().
struct TradeFault {
    int funcID = 0;
    int times = 1;

    bool silent = false;
    std::optional<int32_t> synID;
    std::optional<char> packtype;
    // The header announces this payload length; the payload written stays as it is.
    std::optional<int32_t> datalen;
    bool badCRC = false;
    // The header says compressed, and the payload is no zlib stream.
    bool badZlib = false;
    bool wrongKey = false;
    bool badDigest = false;
    // Fields of the plain block, written with a matching digest.
    std::optional<int32_t> storedLength;
    std::optional<int32_t> textLength;
    // The payload cut to this many bytes (a short phone-check reply, an empty payload).
    std::optional<size_t> payloadBytes;
    // A phone-check refusal whose reason runs to the end without its terminator.
    bool unterminated = false;
    // The true reply follows the altered one in the same write.
    bool thenReply = false;
    std::string before;
    std::string after;
    // That many bytes go out now, the rest on resume().
    size_t splitAfter = 0;
    // The connection closes once this many bytes are out.
    std::optional<size_t> closeAfter;

    static TradeFault on(int funcID, int count = 1) {
        TradeFault fault;
        fault.funcID = funcID;
        fault.times = count;
        return fault;
    }
    TradeFault &silence() { return silent = true, *this; }
    TradeFault &withSynID(int32_t id) { return synID = id, *this; }
    TradeFault &withPacktype(char type) { return packtype = type, *this; }
    TradeFault &announcing(int32_t length) { return datalen = length, *this; }
    TradeFault &withBadCRC() { return badCRC = true, *this; }
    TradeFault &withBadZlib() { return badZlib = true, *this; }
    TradeFault &withWrongKey() { return wrongKey = true, *this; }
    TradeFault &withBadDigest() { return badDigest = true, *this; }
    TradeFault &withStoredLength(int32_t length) { return storedLength = length, *this; }
    TradeFault &withTextLength(int32_t length) { return textLength = length, *this; }
    TradeFault &cutPayload(size_t bytes) { return payloadBytes = bytes, *this; }
    TradeFault &withoutTerminator() { return unterminated = true, *this; }
    TradeFault &followedByReply() { return thenReply = true, *this; }
    TradeFault &withBefore(std::string bytes) { return before = std::move(bytes), *this; }
    TradeFault &withAfter(std::string bytes) { return after = std::move(bytes), *this; }
    TradeFault &split(size_t bytes) { return splitAfter = bytes, *this; }
    TradeFault &closingAfter(size_t bytes) { return closeAfter = bytes, *this; }
};

// The loopback trade gateway: a TCP server on 127.0.0.1 served by the run loop of the thread that
// made it, so that a test driving its client on the same loop sees every exchange in order. It reads
// requests with its own cutter and parser, records each one and every breach of the protocol it
// notices (checksum, header fields, request number, cookie, digest, fill, block sequence, version
// pair, the session pairs and their values), and answers the phone check, the login, the
// heartbeat, the funds query, the login-support and registration requests and any function a test
// scripts; replies
// are compressed per block or per frame when asked. Faults shape the replies on command.
class TradeGateway {
public:
    static constexpr int kPhoneCheck = -100;
    // The block sequence number the phone check hands out.
    static constexpr int32_t kStartSeq = 1000;
    static constexpr const char *kUnknownMobile = "该手机号码未开通手机委托";
    static constexpr const char *kWrongPassword = "交易密码错误";

    // The reply text (pairs closed by 0x01, the function pair included) to a request; nothing to
    // stay silent.
    using Script = std::function<std::optional<std::string>(const TradeRequest &)>;

    explicit TradeGateway(uint16_t port = 0);
    ~TradeGateway();
    TradeGateway(const TradeGateway &) = delete;
    TradeGateway &operator=(const TradeGateway &) = delete;

    // 0 when the port could not be bound.
    uint16_t port() const { return port_; }

    void addAccount(GatewayAccount account);
    // The phone check is refused with this reason whatever the account; nothing: by the accounts.
    void setPhoneCheckRefusal(std::optional<std::string> reason) { refusal_ = std::move(reason); }
    // What the login reply carries: a Table0 row with the session identifiers, Table1 accounts.
    void setLoginTables(bool identifiers, bool accounts) {
        loginIdentifiers_ = identifiers, loginAccounts_ = accounts;
    }
    // The login's Table1 rows in place of the two default accounts, as reply text
    // ("21002=|1021=3|1019=A1|1394=1|21003=|…"); the empty text for an empty table.
    void setLoginAccountRows(std::string rows) { loginAccountRows_ = std::move(rows); }
    // Replies compressed per block (C) or per frame.
    void setCompression(bool block, bool frame) { compressBlock_ = block, compressFrame_ = frame; }
    void setScript(int funcID, Script script) { scripts_[funcID] = std::move(script); }
    // A fixed reply text for a function.
    void setReply(int funcID, std::string text);

    void addFault(TradeFault fault) { faults_.push_back(std::move(fault)); }
    void clearFaults() { faults_.clear(); }
    // Lets held bytes go out.
    void resume();
    // Closes the newest open connection.
    void closeConnection();
    // Closes or reopens the listening socket (connecting is then refused); open connections stay.
    bool setListening(bool listening);

    const std::vector<TradeRequest> &received() const { return received_; }
    std::vector<TradeRequest> received(int funcID) const;
    const std::vector<std::string> &violations() const { return violations_; }
    int acceptedConnections() const { return accepted_; }
    // No bytes wait on a connection: none received and not yet read, none written and not yet
    // taken by the client. A test driving both ends on one run loop is idle only while this holds.
    bool quiet() const;
    // Connections neither side has closed yet.
    int openConnections() const;

    // The coded text the registration replies (13054, 13064) carry for a check code of digits:
    // per digit, its value XOR the mobile's digit at that place, in two hexadecimal digits.
    static std::string codedCheckNum(const std::string &code, const std::string &mobile);
    // The shareholder accounts the login reply lists for an account.
    static std::string holderCode(const std::string &account, int type);

private:
    struct Session;
    struct Connection;

    void acceptOne();
    void readFrom(Connection &conn);
    // Cuts and handles every whole request; false when the connection was closed.
    bool cutRequests(Connection &conn);
    std::optional<TradeRequest> readRequest(Connection &conn, const uint8_t *frame, size_t length);
    void readPhoneCheck(Connection &conn, TradeRequest &request, const uint8_t *payload, size_t length);
    bool readBlock(Connection &conn, TradeRequest &request, const uint8_t *payload, size_t length);
    void readText(Connection &conn, TradeRequest &request, const std::string &text);
    void checkSessionPairs(Connection &conn, const TradeRequest &request);
    void answer(Connection &conn, const TradeRequest &request);
    std::optional<std::string> replyText(Connection &conn, const TradeRequest &request);
    std::string login(Connection &conn, const TradeRequest &request);
    std::string phoneCheckReply(Connection &conn, const TradeRequest &request, const TradeFault *fault);
    std::string shape(Connection &conn, const TradeRequest &request, const std::string &text,
                      const TradeFault *fault);
    std::optional<TradeFault> takeFault(int funcID);
    void write(Connection &conn, const std::string &bytes, const TradeFault *fault);
    void flush(Connection &conn);
    void close(Connection &conn);
    void violation(const Connection &conn, const std::string &what);
    Connection *newest();

    uint16_t port_ = 0;
    int listener_ = -1;
    base::Ref<base::FdSource> listenSource_;
    std::vector<std::unique_ptr<Connection>> conns_;
    std::vector<GatewayAccount> accounts_;
    std::optional<std::string> refusal_;
    bool loginIdentifiers_ = true;
    bool loginAccounts_ = true;
    std::optional<std::string> loginAccountRows_;
    bool compressBlock_ = false;
    bool compressFrame_ = false;
    std::map<int, Script> scripts_;
    std::vector<TradeFault> faults_;
    std::vector<TradeRequest> received_;
    std::vector<std::string> violations_;
    int accepted_ = 0;
};

} // namespace peers
