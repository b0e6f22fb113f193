// The whole made-up market: thousands of generated A-shares beside the real securities, and one or
// more securities of every other kind the client shows.
#include "MarketFixture.h"

#include "PYMethod.h"
#include "base/Str.h"

#include <set>

namespace peers {

namespace {

// Name parts: a first and a second character, and a line of business.
const char *const FirstParts[] = {"华", "东", "南", "北", "中", "金", "新", "天", "海", "长",
                                  "宏", "恒", "安", "信", "永", "明", "盛", "鑫", "瑞", "泰",
                                  "广", "正", "国", "大", "博", "康", "美", "光", "星", "鼎"};
const char *const SecondParts[] = {"达", "通", "兴", "源", "丰", "远", "辉", "宇", "峰", "润",
                                   "阳", "嘉", "和", "成", "立", "力", "德", "佳", "科", "利",
                                   "凯", "泽", "晨", "航", "联", "汇", "川", "龙", "威", "林"};
const char *const Businesses[] = {"科技", "股份", "电子", "医药", "能源", "控股", "实业",
                                  "化工", "机械", "传媒", "材料", "电气", "软件", "食品",
                                  "环保", "物流", "建设", "矿业", "纺织", "制药"};
constexpr uint32_t NameCount = std::size(FirstParts) * std::size(SecondParts) * std::size(Businesses);
// Coprime with NameCount, so that stepping by it visits every name once.
constexpr uint32_t NameStride = 7919;

// One run of generated codes: market, first code number, how many, digits, type, decimals, the
// previous close range (low, span) and a name suffix for B-shares.
struct CodeRun {
    const char *market;
    int first;
    int count;
    int type;
    int decimal;
    int32_t closeLow;
    int32_t closeSpan;
    const char *suffix;
};

const CodeRun StockRuns[] = {
    {"SH", 600100, 2200, MarketFixture::StockType, 2, 300, 5000, ""},
    {"SH", 900901, 50, MarketFixture::StockType, 3, 200, 1500, "B股"},
    {"SZ", 100, 1000, MarketFixture::StockType, 2, 300, 4000, ""},
    {"SZ", 2001, 800, MarketFixture::StockType, 2, 400, 4000, ""},
    {"SZ", 300001, 1000, MarketFixture::StockType, 2, 800, 6000, ""},
    {"SZ", 200011, 50, MarketFixture::StockType, 2, 300, 1200, "B"},
};

// Securities of the other kinds, as the client lists and opens them.
const Security OtherSecurities[] = {
    {"SH", "010107", "21国债⑺", "21GZ7", MarketFixture::BondType, 2, 10125},
    {"SH", "010213", "02国债⒀", "02GZ13", MarketFixture::BondType, 2, 10032},
    {"SH", "122001", "华能债", "HNZ", MarketFixture::BondType, 2, 10210},
    {"SZ", "112001", "万科债", "WKZ", MarketFixture::BondType, 2, 10087},
    {"SZ", "112002", "中联债", "ZLZ", MarketFixture::BondType, 2, 9978},
    {"SH", "510050", "50ETF", "50ETF", MarketFixture::FundType, 3, 1612},
    {"SH", "510300", "300ETF", "300ETF", MarketFixture::FundType, 3, 2345},
    {"SH", "500001", "基金金泰", "JJJT", MarketFixture::FundType, 3, 1034},
    {"SZ", "159901", "深100ETF", "S100ETF", MarketFixture::FundType, 3, 2871},
    {"SZ", "184688", "基金开元", "JJKY", MarketFixture::FundType, 3, 978},
    {"HK", "HSI", "恒生指数", "HSZS", MarketFixture::IndexType, 2, 2251234},
    {"HK", "00700", "腾讯控股", "TXKG", MarketFixture::StockType, 3, 183400},
    {"HK", "00005", "汇丰控股", "HFKG", MarketFixture::StockType, 3, 80250},
    {"IX", "DJIA", "道琼斯", "DQS", MarketFixture::IndexType, 2, 1302545},
    {"IX", "IXIC", "纳斯达克", "NSDK", MarketFixture::IndexType, 2, 298912},
    {"IX", "UDI", "美元指数", "MYZS", MarketFixture::IndexType, 2, 8012},
    {"SF", "IF1212", "沪深1212", "HS1212", MarketFixture::FutureType, 1, 22816},
    {"SF", "IF1301", "沪深1301", "HS1301", MarketFixture::FutureType, 1, 22902},
    {"SF", "IF1303", "沪深1303", "HS1303", MarketFixture::FutureType, 1, 23014},
    {"FE", "USDCNY", "美元人民币", "MYRMB", MarketFixture::CurrencyType, 4, 62342},
    {"FE", "EURCNY", "欧元人民币", "OYRMB", MarketFixture::CurrencyType, 4, 81215},
    {"FE", "HKDCNY", "港币人民币", "GBRMB", MarketFixture::CurrencyType, 4, 8043},
    {"FE", "JPYCNY", "日元人民币", "RYRMB", MarketFixture::CurrencyType, 4, 759},
    {"FE", "EURUSD", "欧元美元", "OYMY", MarketFixture::CurrencyType, 4, 13027},
};

// The boards: the first is the banks'.
const Security Boards[] = {
    {"BI", "000101", "银行板块", "YHBK", 0, 2, 100000}, {"BI", "000102", "证券板块", "ZQBK", 0, 2, 84210},
    {"BI", "000103", "保险板块", "BXBK", 0, 2, 92350},  {"BI", "000104", "白酒板块", "BJBK", 0, 2, 153200},
    {"BI", "000105", "汽车板块", "QCBK", 0, 2, 67480},  {"BI", "000106", "医药板块", "YYBK", 0, 2, 118900},
    {"BI", "000107", "地产板块", "DCBK", 0, 2, 56730},  {"BI", "000108", "钢铁板块", "GTBK", 0, 2, 43120},
};

// The funds of one fund type: the first code of its run, the first fund when it is a real one, the
// word the other names end in, and the decimals of their net values.
struct FundRun {
    int firstCode;
    Security first;
    const char *suffix;
    int decimal;
};

const FundRun FundRuns[MarketFixture::MoneyFundType + 1] = {
    {160100, {}, "精选", 4},
    {110022, {"OF", "110022", "消费行业", "XFHY", 1, 3, 1234}, "成长", 4},
    {217003, {}, "债券", 4},
    {163402, {}, "混合", 4},
    {202801, {}, "保本", 4},
    {9, {"OF", "000009", "天天理财", "TTLC", MarketFixture::MoneyFundType, 4, 10000}, "货币", 4},
};

std::vector<Security> makeFunds() {
    std::vector<Security> funds;
    for (int type = 0; type <= MarketFixture::MoneyFundType; ++type) {
        const FundRun &run = FundRuns[type];
        for (int row = 0; row < MarketFixture::FundsPerType; ++row) {
            if (row == 0 && !run.first.code.empty()) {
                funds.push_back(run.first);
                continue;
            }
            Security fund{"OF",
                          base::str::format("%06d", run.firstCode + row),
                          "",
                          "",
                          type,
                          run.decimal,
                          10000 + 137 * row + 11 * type};
            uint32_t n = MarketFixture::noise(fund.fullCode(), type);
            fund.name = std::string(FirstParts[n % std::size(FirstParts)]) +
                        SecondParts[(n >> 8) % std::size(SecondParts)] + run.suffix;
            fund.pinyin = PYMethod::getPinYin(fund.name);
            funds.push_back(std::move(fund));
        }
    }
    return funds;
}

std::string generatedName(uint32_t seed, uint32_t i, const char *suffix) {
    uint32_t n = (MarketFixture::noise("names", int32_t(seed)) + i * NameStride) % NameCount;
    std::string name = FirstParts[n % std::size(FirstParts)];
    n /= uint32_t(std::size(FirstParts));
    name += SecondParts[n % std::size(SecondParts)];
    n /= uint32_t(std::size(SecondParts));
    return name + Businesses[n] + suffix;
}

} // namespace

std::vector<Security> MarketFixture::boards() {
    return {std::begin(Boards), std::end(Boards)};
}

const std::vector<Security> &MarketFixture::funds() {
    static const std::vector<Security> Funds = makeFunds();
    return Funds;
}

const Security *MarketFixture::fund(int fundType, int row) {
    if (fundType < 0 || fundType > MoneyFundType || row < 0 || row >= FundsPerType)
        return nullptr;
    return &funds()[size_t(fundType * FundsPerType + row)];
}

const Security *MarketFixture::findFund(std::string_view fullCode) {
    for (const Security &fund : funds())
        if (fund.fullCode() == fullCode)
            return &fund;
    return nullptr;
}

int32_t MarketFixture::fundNetValue(const Security &fund) {
    int32_t value = fund.closePrice;
    for (int d = fund.decimal; d < 4; ++d)
        value *= 10;
    return value;
}

MarketFixture MarketFixture::whole(uint32_t seed) {
    std::vector<Security> securities = standard(0).securities();
    std::set<std::string> taken;
    for (const Security &security : securities)
        taken.insert(security.fullCode());
    uint32_t named = 0;
    for (const CodeRun &run : StockRuns) {
        for (int i = 0, number = run.first; i < run.count; ++number) {
            Security security{run.market, base::str::format("%06d", number), "", "", run.type, run.decimal,
                              0};
            if (!taken.insert(security.fullCode()).second)
                continue;
            security.name = generatedName(seed, named++, run.suffix);
            security.pinyin = PYMethod::getPinYin(security.name);
            security.closePrice =
                run.closeLow + int32_t(noise(security.fullCode(), int32_t(seed)) % uint32_t(run.closeSpan));
            securities.push_back(std::move(security));
            ++i;
        }
    }
    securities.insert(securities.end(), std::begin(OtherSecurities), std::end(OtherSecurities));
    securities.insert(securities.end(), std::begin(Boards), std::end(Boards));
    // One stock does not trade today.
    securities[securities.size() / 3].suspended = true;
    MarketFixture market(std::move(securities), DefaultQuotesDate);
    market.setHoldsFunds(true);
    return market;
}

} // namespace peers
