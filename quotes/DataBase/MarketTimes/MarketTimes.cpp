#include "DataBase/MarketTimes/MarketTimes.h"

#include "Common/FileFunc.h"
#include "Common/Util.h"
#include "base/FileManager.h"

#include <algorithm>
#include <numeric>
#include <optional>

namespace {

constexpr const char *FileName = "tradetime.dat";
constexpr int UnknownMarketMinutes = 241;

struct BuiltInMarket {
    const char *code;
    std::vector<TradeTimeItem> times;
};

const std::vector<BuiltInMarket> &builtInMarkets() {
    static const std::vector<BuiltInMarket> markets = {
        {"SH", {{930, 1130}, {1300, 1500}}},
        {"SZ", {{930, 1130}, {1300, 1500}}},
        {"BI", {{930, 1130}, {1300, 1500}}},
        {"HK", {{930, 1200}, {1330, 1600}}},
        {"SF", {{915, 1130}, {1300, 1515}}},
        {"SC", {{900, 1130}, {1330, 1500}}},
        {"DC", {{900, 1130}, {1330, 1500}}},
        {"ZC", {{900, 1130}, {1330, 1500}}},
        {"SG", {{2100, 230}, {900, 1130}, {1330, 1530}}},
        {"FE", {{600, 520}}},
        {"IXUDI", {{600, 500}}},
        {"IXCRBI", {{600, 500}}},
        {"IXPLYI", {{600, 500}}},
        {"IXDJIA", {{2130, 400}}},
        {"IXSPX", {{2130, 400}}},
        {"IXNDX", {{2130, 400}}},
        {"IXFCHI", {{1500, 30}}},
        {"IXFTSE", {{1500, 45}}},
        {"IXGDAXI", {{1500, 45}}},
        {"IXBVSP", {{2200, 515}}},
        {"IXN225", {{800, 1000}, {1130, 1400}}},
        {"IXTWII", {{900, 1335}}},
        {"IXSENSEX", {{1225, 1815}}},
        {"IXKS11", {{800, 1405}}},
        {"IXKLSE", {{930, 1645}}},
        {"IXJKSE", {{1030, 1300}, {1430, 1700}}},
        {"IXSET", {{1100, 1300}, {1500, 1800}}},
        {"IXPCOMP", {{930, 1200}}},
        {"IXFTSTI", {{900, 1230}, {1400, 1700}}},
        {"IXAORD", {{700, 1315}}},
    };
    return markets;
}

bool isValidHHMM(int16_t time) {
    return time >= 0 && time / 100 < 24 && time % 100 < 60;
}

// Reads the saved table strictly: every field must be there in full.
class FileReader {
public:
    explicit FileReader(ByteView bytes) : bytes_(bytes) {}

    std::optional<int16_t> readShort() {
        uint32_t start = pos_;
        int16_t value = ComAPI::ReadShort(bytes_, pos_);
        return pos_ == start ? std::nullopt : std::optional(value);
    }
    std::optional<int8_t> readByte() {
        uint32_t start = pos_;
        int8_t value = ComAPI::ReadByte(bytes_, pos_);
        return pos_ == start ? std::nullopt : std::optional(value);
    }
    // An empty key is as damaged as a missing one: it would match every code.
    std::optional<std::string> readCode() {
        std::string code = ComAPI::ReadString(bytes_, pos_);
        return code.empty() ? std::nullopt : std::optional(code);
    }
    bool atEnd() const { return pos_ == bytes_.size(); }

private:
    ByteView bytes_;
    uint32_t pos_ = 0;
};

std::optional<std::vector<TradeTimeItem>> readSessions(FileReader &reader) {
    auto count = reader.readByte();
    if (!count || *count < 1 || *count > MarketTimes::MaxSessions)
        return std::nullopt;
    std::vector<TradeTimeItem> times;
    for (int i = 0; i < *count; ++i) {
        auto open = reader.readShort();
        auto close = reader.readShort();
        if (!open || !close)
            return std::nullopt;
        times.push_back({*open, *close});
    }
    if (!MarketTimes::isValidSessions(times))
        return std::nullopt;
    return times;
}

} // namespace

int TradeTimeItem::getMinCount() const {
    return Util::getMinCount(opentime, closetime);
}

MarketTimeItem::MarketTimeItem(std::string code, std::vector<TradeTimeItem> times)
    : code(std::move(code)), times(std::move(times)), minCount(getMinCount()) {}

void MarketTimeItem::addTradeTime(int16_t opentime, int16_t closetime) {
    times.push_back({opentime, closetime});
}

int MarketTimeItem::getMinCount() const {
    return std::accumulate(times.begin(), times.end(), 0,
                           [](int sum, const TradeTimeItem &time) { return sum + time.getMinCount(); });
}

MarketTimes &MarketTimes::Instance() {
    static MarketTimes table;
    return table;
}

MarketTimes::MarketTimes() {
    if (!readFromFile())
        loadTradeTimes();
}

base::Ref<MarketTimeItem> MarketTimes::getItem(std::string_view code) const {
    if (code.empty())
        return nullptr;
    for (const auto &item : list)
        if (code.substr(0, item->code.size()) == item->code)
            return item;
    return nullptr;
}

int MarketTimes::getMinCount(std::string_view code) const {
    auto item = getItem(code);
    return item ? item->minCount : UnknownMarketMinutes;
}

void MarketTimes::addItem(ByteView sessionBlock, std::string_view code) {
    uint32_t pos = 2;
    int count = uint16_t(ComAPI::ReadShort(sessionBlock, pos));
    int present = int(sessionBlock.size() < 4 ? 0 : (sessionBlock.size() - 4) / 4);
    count = std::min({count, MaxSessions, present});
    std::vector<TradeTimeItem> times;
    for (int i = 0; i < count; ++i) {
        int16_t open = ComAPI::ReadShort(sessionBlock, pos);
        times.push_back({open, ComAPI::ReadShort(sessionBlock, pos)});
    }
    if (!times.empty())
        addItemWithCheck(code, times);
}

bool MarketTimes::isValidSessions(std::span<const TradeTimeItem> times) {
    return !times.empty() && times.size() <= size_t(MaxSessions) &&
           std::all_of(times.begin(), times.end(), [](const TradeTimeItem &time) {
               return isValidHHMM(time.opentime) && isValidHHMM(time.closetime);
           });
}

void MarketTimes::addItemWithCheck(std::string_view code, std::span<const TradeTimeItem> times) {
    std::string key = fmtCode(code);
    if (key.empty() || !isValidSessions(times))
        return;
    for (const auto &item : list) {
        if (item->code != key)
            continue;
        if (std::equal(item->times.begin(), item->times.end(), times.begin(), times.end()))
            return;
        break;
    }
    delItems(key);
    addItem(key, times);
    saveToFile();
}

void MarketTimes::addItem(std::string_view code, std::span<const TradeTimeItem> times) {
    list.push_back(
        base::make<MarketTimeItem>(fmtCode(code), std::vector<TradeTimeItem>(times.begin(), times.end())));
}

void MarketTimes::delItems(std::string_view code) {
    std::string key = fmtCode(code);
    std::erase_if(list, [&](const base::Ref<MarketTimeItem> &item) { return item->code == key; });
}

std::string MarketTimes::fmtCode(std::string_view code) {
    if (code.size() < 2)
        return {};
    std::string_view market = code.substr(0, 2);
    if (market == "IX")
        return std::string(code);
    if (market == "CX")
        return code.size() < 4 ? std::string() : std::string(code.substr(0, 4));
    return std::string(market);
}

bool MarketTimes::saveToFile() const {
    if (list.empty())
        return false;
    base::Data bytes;
    ComAPI::WriteShort(bytes, int32_t(list.size()));
    for (const auto &item : list) {
        ComAPI::WriteString(bytes, item->code);
        ComAPI::WriteByte(bytes, int32_t(item->times.size()));
        for (const TradeTimeItem &time : item->times) {
            ComAPI::WriteShort(bytes, time.opentime);
            ComAPI::WriteShort(bytes, time.closetime);
        }
    }
    return base::FileManager::writeAtomically(FileFunc::getFilePath(FileName), bytes);
}

bool MarketTimes::readFromFile() {
    auto bytes = base::FileManager::read(FileFunc::getFilePath(FileName));
    if (!bytes || bytes->empty())
        return false;
    FileReader reader(bytes->span());
    auto count = reader.readShort();
    if (!count || *count < 1)
        return false;
    std::vector<base::Ref<MarketTimeItem>> read;
    for (int i = 0; i < *count; ++i) {
        auto code = reader.readCode();
        if (!code)
            return false;
        auto times = readSessions(reader);
        if (!times)
            return false;
        read.push_back(base::make<MarketTimeItem>(std::move(*code), std::move(*times)));
    }
    if (!reader.atEnd())
        return false;
    list.insert(list.end(), read.begin(), read.end());
    return true;
}

void MarketTimes::loadTradeTimes() {
    for (const auto &market : builtInMarkets())
        list.push_back(base::make<MarketTimeItem>(market.code, market.times));
}
