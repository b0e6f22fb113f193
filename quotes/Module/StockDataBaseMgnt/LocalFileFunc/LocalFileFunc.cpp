#include "Module/StockDataBaseMgnt/LocalFileFunc/LocalFileFunc.h"

#include "Common/FileFunc.h"
#include "Common/TimeFunc.h"
#include "Common/Util.h"
#include "Module/StockDataBaseMgnt/StockFunc.h"
#include "base/FileManager.h"
#include "base/Paths.h"
#include "base/Str.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr uint32_t DatedHeaderSize = 12;
constexpr uint32_t ExrightRecordSize = 20;
constexpr uint32_t MinLineRecordSize = 24;
constexpr uint32_t StrikeRecordSize = 26;
constexpr const char *MinLineDir = "data/minline/";
constexpr const char *TradeDir = "data/trade/";
constexpr const char *TradeFile = "data/trade/tradeaddr.dat";
constexpr const char *StrikeFileName = "strike.dat";
constexpr double StaleSeconds = 86400;

std::string kLinePath(std::string_view code, int ktype) {
    return LocalFileFunc::getCodePath(code) + base::str::format("k%d.dat", ktype);
}

std::string minLinePath(std::string_view code) {
    return std::string(MinLineDir) + std::string(code) + ".dat";
}

// The whole file below the documents directory; nothing when it is missing or empty.
std::optional<base::Data> readFile(const std::string &path) {
    auto bytes = base::FileManager::read(FileFunc::getFilePath(path));
    if (!bytes || bytes->empty())
        return std::nullopt;
    return bytes;
}

bool writeFile(const std::string &path, const base::Data &bytes) {
    return base::FileManager::writeAtomically(FileFunc::getFilePath(path), bytes);
}

// A count the file's bytes can hold.
bool isValidCount(int32_t count, size_t length, uint32_t headerSize, uint32_t recordSize) {
    return count >= 1 && length >= headerSize && uint64_t(count) <= (length - headerSize) / recordSize;
}

// A candle file with a valid header and count.
struct KLineFile {
    base::Data bytes;
    int8_t flag = 0;
    int32_t firstTime = 0;
    int32_t lastTime = 0;
    int32_t count = 0;

    static uint32_t recordPos(int index) {
        return LocalFileFunc::KLineHeaderSize + uint32_t(index) * LocalFileFunc::KLineRecordSize;
    }
    int32_t timeAt(int index) const {
        uint32_t pos = recordPos(index);
        return ComAPI::ReadInt(bytes.span(), pos);
    }
};

std::optional<KLineFile> readKLineFile(const std::string &path) {
    auto bytes = readFile(path);
    if (!bytes)
        return std::nullopt;
    KLineFile file;
    uint32_t pos = 0;
    int32_t version = ComAPI::ReadInt(bytes->span(), pos);
    file.flag = ComAPI::ReadByte(bytes->span(), pos);
    file.firstTime = ComAPI::ReadInt(bytes->span(), pos);
    file.lastTime = ComAPI::ReadInt(bytes->span(), pos);
    file.count = ComAPI::ReadInt(bytes->span(), pos);
    if (version != LocalFileFunc::KLineFileVersion ||
        !isValidCount(file.count, bytes->length(), LocalFileFunc::KLineHeaderSize,
                      LocalFileFunc::KLineRecordSize))
        return std::nullopt;
    file.bytes = std::move(*bytes);
    return file;
}

void writeKLineRecord(base::Data &out, const KLineItem &candle) {
    for (int32_t field : {candle.time, candle.oopenprice, candle.ohighprice, candle.olowprice,
                          candle.ocloseprice, candle.ovol, candle.amount, candle.holdVol})
        ComAPI::WriteInt(out, field);
}

base::Ref<KLineItem> readKLineRecord(ByteView bytes, int index) {
    uint32_t pos = KLineFile::recordPos(index);
    auto candle = base::make<KLineItem>();
    for (int32_t *field : {&candle->time, &candle->openprice, &candle->highprice, &candle->lowprice,
                           &candle->closeprice, &candle->vol, &candle->amount, &candle->holdVol})
        *field = ComAPI::ReadInt(bytes, pos);
    candle->backupPrices();
    return candle;
}

base::Data kLineFileBytes(std::span<const KLineItem *const> klist, bool isGetFirstKLine) {
    base::Data bytes;
    ComAPI::WriteInt(bytes, LocalFileFunc::KLineFileVersion);
    ComAPI::WriteByte(bytes, isGetFirstKLine ? 1 : 0);
    ComAPI::WriteInt(bytes, klist.front()->time);
    ComAPI::WriteInt(bytes, klist.back()->time);
    ComAPI::WriteInt(bytes, int32_t(klist.size()));
    for (const KLineItem *candle : klist)
        writeKLineRecord(bytes, *candle);
    return bytes;
}

// The file with its last record replaced by the list's candle of the same time and the newer
// candles appended; nothing when the list does not hold that time.
std::optional<base::Data> mergedKLineFile(const KLineFile &file, std::span<const KLineItem *const> klist) {
    int32_t lastStored = file.timeAt(file.count - 1);
    auto found = std::find_if(klist.rbegin(), klist.rend(),
                              [&](const KLineItem *candle) { return candle->time == lastStored; });
    if (found == klist.rend())
        return std::nullopt;
    size_t k = size_t(klist.rend() - found) - 1;
    base::Data bytes = file.bytes.subdata(0, KLineFile::recordPos(file.count - 1));
    for (size_t i = k; i < klist.size(); ++i)
        writeKLineRecord(bytes, *klist[i]);
    int32_t lastTimePos = 9;
    ComAPI::WriteInt(bytes, klist.back()->time, lastTimePos);
    int32_t countPos = 13;
    ComAPI::WriteInt(bytes, int32_t(file.count + klist.size() - k - 1), countPos);
    return bytes;
}

// The records of a dated file written on `date`, with their count; nothing for a missing, empty,
// other-dated or damaged file.
struct DatedFile {
    base::Data bytes;
    int32_t count = 0;
};

std::optional<DatedFile> readDatedFile(const std::string &path, int date, uint32_t recordSize) {
    auto bytes = readFile(path);
    if (!bytes)
        return std::nullopt;
    uint32_t pos = 4;
    int32_t storedDate = ComAPI::ReadInt(bytes->span(), pos);
    int32_t count = ComAPI::ReadInt(bytes->span(), pos);
    if (storedDate != date || !isValidCount(count, bytes->length(), DatedHeaderSize, recordSize))
        return std::nullopt;
    return DatedFile{std::move(*bytes), count};
}

base::Data datedHeader(int32_t version, int date, size_t count) {
    base::Data bytes;
    ComAPI::WriteInt(bytes, version);
    ComAPI::WriteInt(bytes, date);
    ComAPI::WriteInt(bytes, int32_t(count));
    return bytes;
}

// Reads `count` records of `recordSize` bytes, each with `readRecord(bytes, pos)`.
template <class U, class ReadRecord>
void readRecords(const DatedFile &file, uint32_t recordSize, std::vector<base::Ref<U>> &out,
                 ReadRecord readRecord) {
    for (int32_t i = 0; i < file.count; ++i) {
        uint32_t pos = DatedHeaderSize + uint32_t(i) * recordSize;
        auto record = base::make<U>();
        readRecord(file.bytes.span(), pos, *record);
        out.push_back(record);
    }
}

bool isTempFile(std::string_view relative) {
    std::string_view minLineDir = MinLineDir;
    if (relative.starts_with(minLineDir))
        return relative.find('/', minLineDir.size()) == std::string_view::npos;
    size_t slash = relative.rfind('/');
    return relative.substr(slash == std::string_view::npos ? 0 : slash + 1) == StrikeFileName;
}

std::optional<base::Date> modificationDate(const std::string &path) {
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return base::Date::since1970(double(info.st_mtim.tv_sec) + double(info.st_mtim.tv_nsec) / 1e9);
}

} // namespace

bool LocalFileFunc::isValidCacheCode(std::string_view code) {
    return StockFunc::isValidCode(code) && code.find('/') == std::string_view::npos &&
           code.find('\0') == std::string_view::npos && code.find("..") == std::string_view::npos;
}

std::string LocalFileFunc::getCodePath(std::string_view code) {
    return base::str::format("data/%s/%s/", Util::getMarketCode(code).c_str(),
                             Util::getNumCode(code).c_str());
}

bool LocalFileFunc::saveKLineRecords(std::string_view code, int ktype,
                                     std::span<const KLineItem *const> klist, bool isGetFirstKLine) {
    if (!isValidCacheCode(code) || ktype < 0 || klist.empty() || !FileFunc::checkDir(getCodePath(code)))
        return false;
    std::string path = kLinePath(code, ktype);
    auto file = readKLineFile(path);
    if (file && file->firstTime < klist.front()->time) {
        auto merged = mergedKLineFile(*file, klist);
        return !merged || writeFile(path, *merged);
    }
    return writeFile(path, kLineFileBytes(klist, isGetFirstKLine));
}

bool LocalFileFunc::readAllKLines(std::string_view code, int ktype, std::vector<base::Ref<KLineItem>> &out,
                                  char &pisGetFirstKLine) {
    auto file = readKLineFile(kLinePath(code, ktype));
    if (!file)
        return false;
    pisGetFirstKLine = file->flag == 1 ? 1 : 0;
    for (int i = 0; i < file->count; ++i)
        out.push_back(readKLineRecord(file->bytes.span(), i));
    return true;
}

bool LocalFileFunc::readOlderKLines(std::string_view code, int ktype, int needCount, int fromTime,
                                    int32_t listFirstTime, int listCount,
                                    std::vector<base::Ref<KLineItem>> &out, char &pisGetFirstKLine,
                                    int &pfirstTime, int &plastTime) {
    if (!isValidCacheCode(code) || ktype < 0 || (needCount < 1 && fromTime < 1))
        return false;
    auto file = readKLineFile(kLinePath(code, ktype));
    if (!file)
        return false;
    pfirstTime = file->firstTime;
    plastTime = file->lastTime;

    const int count = file->count;
    const int32_t m = listFirstTime;
    auto find = [&](int time, int from, int approximate, bool exact, int &index) {
        index = from;
        int pos = int(KLineFile::recordPos(from));
        return findKLinePos(file->bytes.span(), time, count, approximate, index, pos, int(KLineHeaderSize),
                            exact);
    };
    int start = 0, number = 0;
    if (needCount >= 1 && listCount == 0) {
        number = std::min(needCount, count);
        start = count - number;
    } else if (needCount >= 1 && m >= 1) {
        int i = 0;
        if (find(m, 0, count - listCount, true, i)) {
            start = i < needCount ? 0 : i - needCount;
            number = i < needCount ? i : needCount;
        }
    } else if (needCount < 1 && (listCount == 0 || (fromTime < m && file->lastTime >= m))) {
        int i1 = 0, i2 = 0;
        if (find(fromTime, 0, count - listCount, false, i1)) {
            if (listCount == 0) {
                start = i1;
                number = count - i1;
            } else if (find(m, i1, count - listCount - i1, true, i2)) {
                start = i1;
                number = i2 - i1;
            }
        }
    }
    number = std::max(number, 0);
    if (number > 0)
        pisGetFirstKLine = file->flag == 1 && start == 0 ? 1 : 0;
    for (int i = start; i < start + number; ++i)
        out.push_back(readKLineRecord(file->bytes.span(), i));
    return true;
}

bool LocalFileFunc::findKLinePos(ByteView file, int searchTime, int totalRecordCount, int approximateCount,
                                 int &precordIndex, int &ppos, int initialPos, bool isAccurateFind) {
    const int step = std::max(1, approximateCount > 0 ? int(std::sqrt(double(approximateCount))) : 1);
    int64_t index = precordIndex;
    int64_t pos = ppos;
    auto timeAt = [&](int64_t at) {
        uint32_t cursor = at < 0 || at > UINT32_MAX ? UINT32_MAX : uint32_t(at);
        return ComAPI::ReadInt(file, cursor);
    };
    auto answer = [&](int64_t i, int64_t p) {
        precordIndex = int(i);
        ppos = int(p);
        return true;
    };
    bool passedEnd = true;
    while (index < totalRecordCount) {
        int32_t time = timeAt(pos);
        if (time == searchTime)
            return answer(index, pos);
        if (time > searchTime) {
            if (!isAccurateFind && index == 0)
                return answer(index, pos);
            passedEnd = false;
            break;
        }
        index += step;
        pos += int64_t(step) * KLineRecordSize;
    }
    if (passedEnd) {
        index = int64_t(totalRecordCount) - 1;
        pos = initialPos + index * KLineRecordSize;
    }
    for (; index >= 0; --index, pos -= KLineRecordSize) {
        int32_t time = timeAt(pos);
        if (time > searchTime)
            continue;
        if (time == searchTime)
            return answer(index, pos);
        return !isAccurateFind && answer(index + 1, pos + KLineRecordSize);
    }
    return false;
}

bool LocalFileFunc::readKLineStatus(const std::string &path, int &pversionNum, int &pfirstTime,
                                    int &plastTime) {
    auto bytes = base::FileManager::read(path);
    if (!bytes || bytes->length() < KLineHeaderSize)
        return false;
    uint32_t pos = 0;
    pversionNum = ComAPI::ReadInt(bytes->span(), pos);
    pos = 5;
    pfirstTime = ComAPI::ReadInt(bytes->span(), pos);
    plastTime = ComAPI::ReadInt(bytes->span(), pos);
    return true;
}

bool LocalFileFunc::saveExrightRecords(std::string_view code, std::span<const NewExrightItem *const> list,
                                       int date) {
    if (!isValidCacheCode(code) || !FileFunc::checkDir(getCodePath(code)))
        return false;
    base::Data bytes = datedHeader(ExrightFileVersion, date, list.size());
    for (const NewExrightItem *item : list)
        for (int32_t field : {item->date, item->give, item->pei, item->peiPrice, item->profit})
            ComAPI::WriteInt(bytes, field);
    return writeFile(getCodePath(code) + "exright.dat", bytes);
}

bool LocalFileFunc::readExrightRecords(std::string_view code, int date,
                                       std::vector<base::Ref<NewExrightItem>> &out) {
    auto file = readDatedFile(getCodePath(code) + "exright.dat", date, ExrightRecordSize);
    if (!file)
        return false;
    readRecords(*file, ExrightRecordSize, out, [](ByteView bytes, uint32_t pos, NewExrightItem &item) {
        for (int32_t *field : {&item.date, &item.give, &item.pei, &item.peiPrice, &item.profit})
            *field = ComAPI::ReadInt(bytes, pos);
    });
    return true;
}

bool LocalFileFunc::saveMinLineRecords(std::string_view code, std::span<const StkMinLineItem *const> list,
                                       int date) {
    if (!isValidCacheCode(code) || !FileFunc::checkDir(MinLineDir))
        return false;
    base::Data bytes = datedHeader(MinLineFileVersion, date, list.size());
    for (const StkMinLineItem *item : list)
        for (int32_t field : {item->time, item->price, item->vol, item->totalVol, item->ave, item->holdVol})
            ComAPI::WriteInt(bytes, field);
    return writeFile(minLinePath(code), bytes);
}

bool LocalFileFunc::readMinLineRecords(std::string_view code, int date,
                                       std::vector<base::Ref<StkMinLineItem>> &out) {
    auto file = readDatedFile(minLinePath(code), date, MinLineRecordSize);
    if (!file)
        return false;
    readRecords(*file, MinLineRecordSize, out, [](ByteView bytes, uint32_t pos, StkMinLineItem &item) {
        for (int32_t *field : {&item.time, &item.price, &item.vol, &item.totalVol, &item.ave, &item.holdVol})
            *field = ComAPI::ReadInt(bytes, pos);
    });
    return true;
}

bool LocalFileFunc::saveStrikeRecords(std::string_view code, std::span<const StkStrikeDetailItem *const> list,
                                      int date) {
    if (!isValidCacheCode(code) || !FileFunc::checkDir(getCodePath(code)))
        return false;
    base::Data bytes = datedHeader(StrikeFileVersion, date, list.size());
    for (const StkStrikeDetailItem *item : list) {
        for (int32_t field :
             {item->pos, item->time, item->dealPrice, item->dealVol, item->holdVol, item->incVol})
            ComAPI::WriteInt(bytes, field);
        ComAPI::WriteByte(bytes, item->isOuterPan ? 1 : 0);
        ComAPI::WriteByte(bytes, item->dealType);
    }
    return writeFile(getCodePath(code) + StrikeFileName, bytes);
}

bool LocalFileFunc::readStrikeRecords(std::string_view code, int date,
                                      std::vector<base::Ref<StkStrikeDetailItem>> &out) {
    auto file = readDatedFile(getCodePath(code) + StrikeFileName, date, StrikeRecordSize);
    if (!file)
        return false;
    readRecords(*file, StrikeRecordSize, out, [](ByteView bytes, uint32_t pos, StkStrikeDetailItem &item) {
        for (int32_t *field :
             {&item.pos, &item.time, &item.dealPrice, &item.dealVol, &item.holdVol, &item.incVol})
            *field = ComAPI::ReadInt(bytes, pos);
        item.isOuterPan = ComAPI::ReadByte(bytes, pos) > 0;
        item.dealType = ComAPI::ReadByte(bytes, pos);
    });
    return true;
}

bool LocalFileFunc::saveTradeAddressInfo(ByteView bytes) {
    if (!FileFunc::checkDir(TradeDir))
        return false;
    return writeFile(TradeFile, base::Data(bytes.data(), bytes.size()));
}

std::optional<base::Data> LocalFileFunc::readTradeAddressInfo() {
    return readFile(TradeFile);
}

void LocalFileFunc::clearTempFiles(int date) {
    auto midnight = date > 0 ? TimeFunc::getDateFromNumDate(date) : std::nullopt;
    if (!midnight)
        return;
    const std::string documents = base::Paths::documents();
    for (const std::string &relative : base::FileManager::subpaths(documents)) {
        if (!isTempFile(relative))
            continue;
        std::string path = base::Paths::join(documents, relative);
        auto modified = modificationDate(path);
        if (modified && midnight->secondsSince(*modified) >= StaleSeconds)
            base::FileManager::remove(path);
    }
}
