#pragma once

#include "DataBase/WT/TradeFrame.h"
#include "DataBase/WT/TradeRequestRecord.h"
#include "DataBase/WT/TradeRspData.h"

#include "base/Object.h"
#include "base/Value.h"

#include <cstdint>
#include <optional>
#include <string>

// The byte layer of the trade message layer: frames requests as enciphered (C), phone-check (D)
// and plain (F) packets, opens replies into the shared reply object, and keeps the state that
// the phone check establishes (cookie, block sequence number, session key).
//
// The message layer derives from it and connects the three outlets: where framed requests go,
// what a passed phone check marks, and the session bookkeeping of successful replies.
class TradeNetCodec : public base::Object {
public:
    // Reply type of every D reply.
    static constexpr int kPhoneCheckReply = -100;
    // Longest mobile number and check code the phone check takes, in bytes.
    static constexpr size_t kMaxMobileLength = 36;
    static constexpr size_t kMaxCheckCodeLength = 99;

    TradeNetCodec();
    ~TradeNetCodec() override;
    TradeNetCodec(const TradeNetCodec &) = delete;
    TradeNetCodec &operator=(const TradeNetCodec &) = delete;

    // Sends the text as an enciphered C packet under the session key; `funcID` is the function the
    // text asks for, kept with the request so that a reply that cannot be read still reaches its
    // requester as that function.
    void requestCBase(const TradeRequester &delegate, const std::string &reqStr,
                      std::optional<base::Dict> reqParams = std::nullopt, int32_t funcID = 0);
    // Sends the text unchanged as a plain F packet.
    void requestFBase(const TradeRequester &delegate, const std::string &reqStr,
                      std::optional<base::Dict> reqParams = std::nullopt, int32_t funcID = 0);
    // Sends the phone check and keeps its key inputs. Refuses (sends nothing, changes nothing) a
    // mobile longer than 36 bytes or a check code longer than 99 bytes.
    bool requestD(const TradeRequester &delegate, const std::string &securitiesName,
                  const std::string &phoneNum, const std::string &checkNum);

    // Text of a C reply that could not be opened (wrong key or digest, damaged lengths or text).
    static constexpr const char *kUnreadableReply = "密钥验证失败";

    // Opens the payload of an accepted frame into the reply object and returns the reply type.
    // A C reply that cannot be opened gives 0 with the success flag cleared and "ErrMsg"
    // kUnreadableReply.
    int processRspData(const uint8_t *data, size_t datalen, const CommPackInfo &pcomm);
    // Parses a reply text (tag=value pairs closed by 0x01) into the reply object.
    void parseC(const uint8_t *data, size_t datalen);

    const base::Ref<TradeRspData> &IO_RspData() const { return m_rspData; }
    const std::string &phoneNum() const { return m_phoneNum; }
    void setPhoneNum(std::string phoneNum) { m_phoneNum = std::move(phoneNum); }
    // Whether the last phone check on this connection succeeded.
    bool phoneCheckSucceeded() const { return m_dsuccess; }

    // Back to the state of a new connection: no cookie, sequence -1, no key and no key inputs.
    // The request number runs on.
    void clearCodecParams();

protected:
    // Hands a framed request to the connection.
    virtual void queueRequest(TradeRequestRecord record) = 0;
    // The phone check of this connection has passed.
    virtual void onPhoneCheckPassed() = 0;
    // A reply with an odd (successful) function number has been parsed.
    virtual void onReplySucceeded(int funcID) = 0;

    // Fills and enciphers in place the block whose text already stands at offset 29 of a zeroed
    // buffer; `datalen` is 29 + the text length. Returns the block length.
    size_t fillCHeader(uint8_t *buffer, size_t datalen, bool iscompress);
    void addToReqQueue(const TradeRequester &delegate, const uint8_t *databuf, size_t datalen, char packtype,
                       std::optional<base::Dict> reqParams, int32_t funcID);
    void CreateDirc(base::Data data, const TradeRequester &delegate, int32_t synID, int32_t funcID,
                    std::optional<base::Dict> reqParams);

    void procD(const uint8_t *data, size_t datalen);
    // False when the block cannot be opened: nothing is parsed then.
    bool procCBase(const uint8_t *data, size_t datalen);
    void processRspPair(int tag, const std::string &value, base::Dict &rowDic, bool &isRowFields);
    int doSomethingAfterParseCBase();
    void doSomethingAfterParseDBase();

    int32_t m_synID = 0;
    int32_t m_cookie = 0;
    char m_compressed = 0;
    int32_t m_dseq = -1;
    uint8_t m_pws[100] = {};
    uint8_t m_rs[16] = {};
    uint8_t m_privatepws[16] = {};
    bool m_dsuccess = false;
    std::string m_phoneNum;

private:
    void failPhoneCheck(const char *errCode, const std::string &errMsg);
    void wipeKeyInputs();

    base::Ref<TradeRspData> m_rspData;
};
