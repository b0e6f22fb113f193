// Market code tables (refreshed at every login by checksum, kept in one file per market) and the
// server-side stock search.
#include "DataBase/NetData/NetDataCenter.h"

#include "Common/FileFunc.h"
#include "Common/Util.h"
#include "DataBase/NTDataPageHead.h"
#include "base/FileManager.h"
#include "base/Str.h"
#include "crypto/Crypto.h"

namespace {

constexpr int CodeTableType = 2956;
constexpr int SearchType = 2943;
constexpr int SearchWithPriceType = 2968;
constexpr uint16_t ZlibBodyBit = 4;
// Offsets in a code-table reply, behind its 9-byte header: size, checksum, count, records.
constexpr uint32_t SizeOffset = 9;
constexpr uint32_t RecordsOffset = 19;
// The body length counts size, checksum and count before the records.
constexpr uint32_t BodyFieldsLength = 10;
constexpr int64_t MaxFileCount = 0xFFFF;

std::string codeListPath(std::string_view title) {
    return FileFunc::getFilePath(base::str::format("code/%@.dat", title));
}

base::Array readSecurities(ByteView bytes, uint32_t &pos, int64_t count) {
    base::Array lib;
    ComAPI::ReadRows(bytes, pos, count, [&](int64_t) {
        base::Dict security;
        security.set("SCode", ComAPI::ReadString(bytes, pos));
        security.set("SName", ComAPI::ReadString(bytes, pos));
        security.set("SPinY", ComAPI::ReadString(bytes, pos));
        lib.add(security);
    });
    return lib;
}

struct CodeListFile {
    uint32_t crc = 0;
    base::Array lib;
};

// The stored table of a market; nothing when there is no file or it is empty.
std::optional<CodeListFile> readCodeListFile(std::string_view title, bool withLib) {
    auto data = base::FileManager::read(codeListPath(title));
    if (!data || data->empty())
        return std::nullopt;
    ByteView bytes = data->span();
    uint32_t pos = 0;
    ComAPI::ReadString(bytes, pos);
    CodeListFile file;
    file.crc = ComAPI::ReadNum(bytes, pos, 4);
    if (withLib)
        file.lib = readSecurities(bytes, pos, ComAPI::ReadNum(bytes, pos, 2));
    return file;
}

std::string entryTitle(const base::Dict &entry) {
    return entry.get("title").stringValue();
}

} // namespace

void NetDataCenter::RequestMarketStockList(const QuoteRequester &requester) {
    for (size_t i = 0; i < IO_MktStockCodeLib.size(); ++i) {
        base::Dict *entry = IO_MktStockCodeLib[i].dict();
        if (!entry)
            continue;
        std::string title = entryTitle(*entry);
        uint32_t crc = 0;
        if (!readCodeList(title, crc))
            crc = 0;
        entry->set("crc", crc);
        base::Data body;
        title.resize(2, '\0');
        body.append(title.data(), 2);
        ComAPI::WriteInt(body, int32_t(crc));
        sendRequest(CodeTableType, body, requester,
                    base::make<ReqParams>(ReqParams{{"marketID", int(i + 1)}}), true);
    }
}

void NetDataCenter::ParseMarketStockList(ByteView frame, const base::Ref<ReqParams> &reqParams) {
    auto head = NTDataPageHead::read(frame);
    if (!head || head->bodyLength == 0 || !reqParams || !reqParams->has("marketID"))
        return;
    int64_t marketID = reqParams->get("marketID").intValue();
    if (marketID < 1 || marketID > int64_t(IO_MktStockCodeLib.size()))
        return;
    base::Dict *entry = IO_MktStockCodeLib[size_t(marketID - 1)].dict();
    uint32_t length = head->bodyLength;
    if (!entry || length < BodyFieldsLength || length > MaxCodeTableBytes)
        return;
    uint32_t pos = SizeOffset;
    uint32_t size = ComAPI::ReadNum(frame, pos, 4);
    uint32_t crc = ComAPI::ReadNum(frame, pos, 4);
    int64_t count = ComAPI::ReadNum(frame, pos, 2);
    ByteView records = frame.size() > RecordsOffset ? frame.subspan(RecordsOffset) : ByteView{};
    records = records.first(std::min<size_t>(records.size(), length - BodyFieldsLength));

    // Checksums are 32-bit patterns wherever they come from: reply, file or entry.
    if (crc == uint32_t(entry->get("crc").intValue())) {
        const base::Value lib = entry->get("Lib");
        if (!lib.array() || lib.array()->empty())
            readCodeList(*entry);
        return;
    }
    std::optional<base::Data> inflated;
    if (head->attribute & ZlibBodyBit) {
        if (count < 1 || size < 1 || size > MaxCodeTableBytes)
            return;
        inflated = crypto::uncompress(records.data(), records.size(), size);
        if (!inflated)
            return;
        records = inflated->span();
    }
    pos = 0;
    entry->set("crc", crc);
    entry->set("Lib", readSecurities(records, pos, count));
    saveCodeList(*entry);
}

bool NetDataCenter::saveCodeList(const base::Dict &entry) {
    if (!FileFunc::checkDir("code"))
        return false;
    std::string title = entryTitle(entry);
    const base::Value lib = entry.get("Lib");
    const base::Array securities = lib.array() ? *lib.array() : base::Array();
    int64_t count = std::min<int64_t>(int64_t(securities.size()), MaxFileCount);
    base::Data file;
    ComAPI::WriteString(file, title);
    ComAPI::WriteInt(file, int32_t(entry.get("crc").intValue()));
    ComAPI::WriteShort(file, int32_t(count));
    for (int64_t i = 0; i < count; ++i) {
        const base::Value &security = securities[size_t(i)];
        for (const char *key : {"SCode", "SName", "SPinY"})
            ComAPI::WriteString(file, security[key].stringValue());
    }
    return base::FileManager::writeAtomically(codeListPath(title), file);
}

bool NetDataCenter::readCodeList(const std::string &title, uint32_t &pcrc) {
    auto file = readCodeListFile(title, false);
    if (file)
        pcrc = file->crc;
    return bool(file);
}

bool NetDataCenter::readCodeList(base::Dict entry) {
    auto file = readCodeListFile(entryTitle(entry), true);
    if (!file)
        return false;
    entry.set("crc", file->crc);
    entry.set("Lib", file->lib);
    return true;
}

std::optional<std::string> NetDataCenter::getNextCode(const std::string &code, int step) const {
    if (code.size() <= 2)
        return std::nullopt;
    std::string market = Util::getMarketCode(code);
    std::string number = Util::getNumCode(code);
    for (const base::Value &entry : IO_MktStockCodeLib) {
        const base::Value lib = entry["Lib"];
        if (entry["title"].stringValue() != market || !lib.array())
            continue;
        const base::Array &securities = *lib.array();
        for (size_t i = 0; i < securities.size(); ++i) {
            if (securities[i]["SCode"].stringValue() != number)
                continue;
            int64_t next = std::clamp<int64_t>(int64_t(i) + step, 0, int64_t(securities.size()) - 1);
            return market + securities[size_t(next)]["SCode"].stringValue();
        }
        return std::nullopt;
    }
    return std::nullopt;
}

void NetDataCenter::RequestSearchStocks(const QuoteRequester &requester, const std::string &searchKey,
                                        const base::Ref<StockQuoteList> &rspArray) {
    base::Data body;
    ComAPI::WriteString(body, searchKey);
    auto params = base::make<ReqParams>();
    params->setObject("rspArray", rspArray);
    sendRequest(SearchType, body, requester, params);
}

void NetDataCenter::RequestSearchStocksWithPrice(const QuoteRequester &requester,
                                                 const std::string &searchKey,
                                                 const base::Ref<StockQuoteList> &rspArray) {
    base::Data body;
    ComAPI::WriteString(body, searchKey);
    auto params = base::make<ReqParams>();
    params->setObject("rspArray", rspArray);
    sendRequest(SearchWithPriceType, body, requester, params);
}

namespace {

// Reads the search results into the request's result array, each row through `readRow`.
template <class ReadRow>
void parseSearch(ByteView frame, const base::Ref<ReqParams> &reqParams, ReadRow readRow) {
    auto rows = reqParams ? reqParams->object<StockQuoteList>("rspArray") : nullptr;
    if (!rows)
        return;
    rows->items.clear();
    if (NetDataCenter::IsEmptyPack(frame))
        return;
    uint32_t pos = NTDataPageHead::Size;
    int count = ComAPI::ReadShort(frame, pos);
    ComAPI::ReadRows(frame, pos, count, [&](int64_t) {
        auto row = base::make<StockQuoteInf>();
        row->code = ComAPI::ReadString(frame, pos);
        row->name = ComAPI::ReadString(frame, pos);
        row->type = ComAPI::ReadByte(frame, pos);
        readRow(pos, *row);
        rows->items.push_back(row);
    });
}

} // namespace

void NetDataCenter::ParseSearchStocks(ByteView frame, const base::Ref<ReqParams> &reqParams) {
    parseSearch(frame, reqParams, [](uint32_t &, StockQuoteInf &) {});
}

void NetDataCenter::ParseSearchStocksWithPrice(ByteView frame, const base::Ref<ReqParams> &reqParams) {
    parseSearch(frame, reqParams, [&](uint32_t &pos, StockQuoteInf &row) {
        row.decimal = ComAPI::ReadByte(frame, pos);
        row.newprice = ComAPI::ReadInt(frame, pos);
        row.riseRate7 = ComAPI::ReadInt(frame, pos);
    });
}
