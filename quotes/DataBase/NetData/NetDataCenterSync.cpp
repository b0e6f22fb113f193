// The user's watch-list codes up to and down from the server, under the market account.
#include "DataBase/NetData/NetDataCenter.h"

#include "DataBase/NTDataPageHead.h"

namespace {

constexpr int SyncType = 2912;
constexpr int Success = 0;

} // namespace

void NetDataCenter::RequestUpDownMyStocksByUserName(const QuoteRequester &requester,
                                                    const std::string &username, const std::string &password,
                                                    bool isDownload, const base::Array &stockArray, int tag) {
    base::Data body;
    ComAPI::WriteByte(body, isDownload ? 0 : 1);
    // This message puts the password before the name.
    ComAPI::WriteString(body, password);
    ComAPI::WriteString(body, username);
    if (!isDownload) {
        ComAPI::WriteShort(body, int32_t(stockArray.size()));
        for (const base::Value &code : stockArray)
            ComAPI::WriteString(body, code.stringValue());
    }
    sendRequest(SyncType, body, requester,
                base::make<ReqParams>(
                    ReqParams{{"isDownload", isDownload}, {"tag", tag}, {"stockArray", stockArray}}));
}

void NetDataCenter::ParseUpDownMyStocksByUserName(ByteView frame, const base::Ref<ReqParams> &reqParams) {
    base::Value list = reqParams ? reqParams->get("stockArray") : base::Value();
    base::Array *codes = list.array();
    if (!codes)
        return;
    bool isDownload = reqParams->get("isDownload").boolValue();
    if (isDownload)
        codes->clear();
    if (IsEmptyPack(frame))
        return;
    uint32_t pos = NTDataPageHead::Size;
    int result = ComAPI::ReadByte(frame, pos);
    reqParams->set("resultFlag", result);
    if (!isDownload || result != Success)
        return;
    int64_t count = ComAPI::ReadNum(frame, pos, 2);
    ComAPI::ReadRows(frame, pos, count, [&](int64_t) { codes->add(ComAPI::ReadString(frame, pos)); });
}
