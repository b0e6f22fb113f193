#pragma once

#include "DataBase/ComAPI.h"
#include "DataBase/NetData/KLineItem.h"
#include "DataBase/NetData/NewExrightItem.h"
#include "DataBase/NetData/StkMinLineItem.h"
#include "base/Data.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Per-security cache files of chart data in the documents directory, so that a chart opened again
// shows at once what was fetched before. Class operations only; never instantiated.
//
//   data/<market>/<number>/k<ktype>.dat   candles of one period, kept across days, merged on save
//   data/<market>/<number>/exright.dat    ex-rights events  } valid only on the quotes date
//   data/<market>/<number>/strike.dat     ticks             } stamped in them
//   data/minline/<code>.dat               intraday minutes  }
//   data/trade/tradeaddr.dat              the broker-table reply body
//
// Numbers are little-endian. A candle file is a 17-byte header (i32 version 1002, u8 oldest-candle
// flag, i32 first time, i32 last time, i32 count) and 32-byte records (time, open, high, low, close,
// volume, amount, hold), oldest first; the four prices and the volume are the unadjusted ones. The
// dated files have a 12-byte header (i32 version, i32 quotes date, i32 count) and records of 20
// (ex-rights), 24 (minutes) or 26 bytes (ticks).
//
// Files are written whole and atomically; a failed write answers NO. A file whose count is below 1
// or more than its bytes hold is treated as absent. Codes build paths, so a code must be longer
// than its two-letter market and hold no "/", NUL or "..".
//
// Lists are a requester's reply lists: of the record class itself or of objects holding it.
class LocalFileFunc {
public:
    LocalFileFunc() = delete;

    static constexpr int32_t KLineFileVersion = 1002;
    static constexpr int32_t ExrightFileVersion = 3001;
    static constexpr int32_t MinLineFileVersion = 2001;
    static constexpr int32_t StrikeFileVersion = 4001;
    static constexpr uint32_t KLineHeaderSize = 17;
    static constexpr uint32_t KLineRecordSize = 32;

    // Whether the code may name cache files.
    static bool isValidCacheCode(std::string_view code);
    // "data/<market>/<number>/"
    static std::string getCodePath(std::string_view code);

    // Writes the candles (oldest first), or merges them onto the file when they start later than it
    // and contain its last candle's time: that candle is replaced and the newer ones appended. A list
    // that starts later but misses that time leaves the file as it is (YES).
    template <class T>
    static bool saveKLine(std::string_view code, int ktype, const std::vector<base::Ref<T>> &klist,
                          bool isGetFirstKLine) {
        auto items = recordsOf<KLineItem>(klist);
        return items && saveKLineRecords(code, ktype, *items, isGetFirstKLine);
    }
    // Empties the list and appends every cached candle.
    template <class T>
    static bool readKLine(std::string_view code, int ktype, std::vector<base::Ref<T>> &resultKList,
                          char &pisGetFirstKLine) {
        if (!isValidCacheCode(code) || ktype < 0)
            return false;
        resultKList.clear();
        std::vector<base::Ref<KLineItem>> read;
        bool found = readAllKLines(code, ktype, read, pisGetFirstKLine);
        resultKList.assign(read.begin(), read.end());
        return found;
    }
    // Puts cached candles older than the list's first candle in front of it: the needCount before
    // it (or the last needCount of the file for an empty list), or, with needCount below 1, those
    // from fromTime on. The oldest-candle flag is set only when reading starts at the file's first
    // record, and left alone when nothing is read.
    template <class T>
    static bool readKLine(std::string_view code, int ktype, int needCount, int fromTime,
                          std::vector<base::Ref<T>> &resultKList, char &pisGetFirstKLine, int &preadCount,
                          int &pfirstTime, int &plastTime) {
        int32_t listFirstTime = 0;
        if (!resultKList.empty())
            if (auto first = dynamic_cast<const KLineItem *>(resultKList.front().get()))
                listFirstTime = first->time;
        std::vector<base::Ref<KLineItem>> older;
        if (!readOlderKLines(code, ktype, needCount, fromTime, listFirstTime, int(resultKList.size()), older,
                             pisGetFirstKLine, pfirstTime, plastTime))
            return false;
        resultKList.insert(resultKList.begin(), older.begin(), older.end());
        preadCount = int(older.size());
        return true;
    }
    // Jump search over the candle records of a file (record i at initialPos + 32 i): steps of
    // √approximateCount, then back one record at a time. Exact: the record with that time. Inexact:
    // the first record whose time is that or later, possibly one past the last. The index and
    // position are written only on YES.
    static bool findKLinePos(ByteView file, int searchTime, int totalRecordCount, int approximateCount,
                             int &precordIndex, int &ppos, int initialPos, bool isAccurateFind);
    // The header of a candle file; NO when there is no file or it is shorter than its header.
    static bool readKLineStatus(const std::string &path, int &pversionNum, int &pfirstTime, int &plastTime);

    template <class T>
    static bool saveExright(std::string_view code, const std::vector<base::Ref<T>> &exrightList, int date) {
        auto items = recordsOf<NewExrightItem>(exrightList);
        return items && saveExrightRecords(code, *items, date);
    }
    template <class T>
    static bool readExright(std::string_view code, std::vector<base::Ref<T>> &resultKList, int date) {
        return readDatedList<NewExrightItem>(code, resultKList, date, &readExrightRecords);
    }
    template <class T>
    static bool saveMinLine(std::string_view code, const std::vector<base::Ref<T>> &mlist, int date) {
        auto items = recordsOf<StkMinLineItem>(mlist);
        return items && saveMinLineRecords(code, *items, date);
    }
    template <class T>
    static bool readMinLine(std::string_view code, std::vector<base::Ref<T>> &resultKList, int date) {
        return readDatedList<StkMinLineItem>(code, resultKList, date, &readMinLineRecords);
    }
    template <class T>
    static bool saveStrikeDetail(std::string_view code, const std::vector<base::Ref<T>> &strikeList,
                                 int date) {
        auto items = recordsOf<StkStrikeDetailItem>(strikeList);
        return items && saveStrikeRecords(code, *items, date);
    }
    template <class T>
    static bool readStrikeDetail(std::string_view code, std::vector<base::Ref<T>> &resultList, int date) {
        return readDatedList<StkStrikeDetailItem>(code, resultList, date, &readStrikeRecords);
    }

    static bool saveTradeAddressInfo(ByteView bytes);
    // Nothing when there is no file or it is empty.
    static std::optional<base::Data> readTradeAddressInfo();

    // Deletes intraday files (directly under "data/minline/") and tick files ("strike.dat") modified
    // at least a full day before the local midnight that starts `date` (yyyymmdd). Nothing for a
    // date that is not one.
    static void clearTempFiles(int date);

private:
    // The records of a list; nothing when an item is missing or of another class.
    template <class U, class T>
    static std::optional<std::vector<const U *>> recordsOf(const std::vector<base::Ref<T>> &list) {
        std::vector<const U *> records;
        for (const auto &item : list) {
            auto record = dynamic_cast<const U *>(item.get());
            if (!record)
                return std::nullopt;
            records.push_back(record);
        }
        return records;
    }
    template <class U, class T>
    static bool readDatedList(std::string_view code, std::vector<base::Ref<T>> &result, int date,
                              bool (*read)(std::string_view, int, std::vector<base::Ref<U>> &)) {
        if (!isValidCacheCode(code))
            return false;
        result.clear();
        std::vector<base::Ref<U>> records;
        bool found = read(code, date, records);
        result.assign(records.begin(), records.end());
        return found;
    }

    static bool saveKLineRecords(std::string_view code, int ktype, std::span<const KLineItem *const> klist,
                                 bool isGetFirstKLine);
    static bool readAllKLines(std::string_view code, int ktype, std::vector<base::Ref<KLineItem>> &out,
                              char &pisGetFirstKLine);
    static bool readOlderKLines(std::string_view code, int ktype, int needCount, int fromTime,
                                int32_t listFirstTime, int listCount, std::vector<base::Ref<KLineItem>> &out,
                                char &pisGetFirstKLine, int &pfirstTime, int &plastTime);
    static bool saveExrightRecords(std::string_view code, std::span<const NewExrightItem *const> list,
                                   int date);
    static bool readExrightRecords(std::string_view code, int date,
                                   std::vector<base::Ref<NewExrightItem>> &out);
    static bool saveMinLineRecords(std::string_view code, std::span<const StkMinLineItem *const> list,
                                   int date);
    static bool readMinLineRecords(std::string_view code, int date,
                                   std::vector<base::Ref<StkMinLineItem>> &out);
    static bool saveStrikeRecords(std::string_view code, std::span<const StkStrikeDetailItem *const> list,
                                  int date);
    static bool readStrikeRecords(std::string_view code, int date,
                                  std::vector<base::Ref<StkStrikeDetailItem>> &out);
};
