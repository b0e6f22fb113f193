#include "Candles.h"

#include "Common/FileFunc.h"
#include "base/Bundle.h"
#include "base/FileManager.h"
#include "base/PropertyList.h"

#include <cstdlib>
#include <filesystem>

using namespace candles;

namespace {

// Each test gets a documents directory of its own, so the user's parameter file starts absent.
class Parameters : public ::testing::Test {
protected:
    void SetUp() override {
        home_ = base::FileManager::uniqueTemporaryPath();
        ::setenv("QV_HOME", home_.c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove_all(home_); }

    static void writeUserFile(const base::Array &records) {
        std::filesystem::path path = FileFunc::getFilePath(TechIndex::UserSettingsFile);
        std::filesystem::create_directories(path.parent_path());
        ASSERT_TRUE(base::PropertyList::write(base::Value(records), path));
    }
    static base::Dict record(const char *name, std::initializer_list<int> params) {
        return base::Dict{{"TechName", name}, {"Params", paramList(params)}, {"Introduction", ""}};
    }

    std::string home_;
};

TEST_F(Parameters, ListsAreTakenUpToTheFirstRefusedRecord) {
    TechIndex macd(TechIndex::MACD, TechIndex::SubClass);
    struct Case {
        std::initializer_list<int> params;
        bool accepted;
        const char *title;
    };
    const Case cases[] = {
        {{10, 20, 5}, true, "MACD(10,20,5)"},  {{10, 0, 5}, false, "MACD(12,26,9)"},
        {{10, -3, 5}, false, "MACD(12,26,9)"}, {{1, 2, 3, 4, 5}, true, "MACD(1,2,3,4)"},
        {{}, false, "MACD(12,26,9)"},
    };
    for (const Case &c : cases) {
        macd.setTechType(TechIndex::MACD, paramList(c.params));
        EXPECT_EQ(macd.getParamsText(), c.title);
        EXPECT_EQ(TechIndex(TechIndex::MACD, 2).setParams(paramList(c.params)), c.accepted) << c.title;
    }
    // A refused list still keeps what came before the refused record.
    EXPECT_FALSE(macd.setParams(paramList({7, 0, 5})));
    EXPECT_EQ(macd.param(1), 7);
    EXPECT_EQ(macd.param(3), 0);
}

TEST_F(Parameters, TitlesAndDefaults) {
    struct Case {
        int32_t type;
        const char *title;
    };
    const Case cases[] = {
        {TechIndex::MA, "MA(5,10,20,30)"},  {TechIndex::VOL, "VOL(5,10,20)"},
        {TechIndex::KDJ, "KDJ(9,3,3)"},     {TechIndex::CCI, "CCI(14,0,10)"},
        {TechIndex::WR, "WR(14,28)"},       {TechIndex::DMA, "DMA(10,50)"},
        {TechIndex::BOLL, "BOLL(26,2)"},    {TechIndex::RSI, "RSI(6,12,24)"},
        {TechIndex::BIAS, "BIAS(6,12,24)"}, {TechIndex::MACD, "MACD(12,26,9)"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TechIndex(c.type, 2).getParamsText(), c.title);
    // CCI's factor and third parameter are fixed whatever the list says.
    TechIndex cci(TechIndex::CCI, 2);
    cci.setTechType(TechIndex::CCI, paramList({20, 30, 40}));
    EXPECT_EQ(cci.getParamsText(), "CCI(20,0,10)");
    // Defaults leave nothing of an earlier type behind.
    TechIndex tech(TechIndex::MA, 1);
    tech.setTechType(TechIndex::MACD, paramList({0}));
    EXPECT_EQ(tech.getParamsText(), "MACD(12,26,9)");
}

TEST_F(Parameters, NamesAndCodes) {
    EXPECT_EQ(TechIndex::getTechType("W&R"), TechIndex::WR);
    EXPECT_EQ(TechIndex::getTechName(TechIndex::WR), "WR");
    EXPECT_EQ(TechIndex::getTechType("WR"), 0);
    EXPECT_EQ(TechIndex::getTechType("MA"), TechIndex::MA);
    EXPECT_EQ(TechIndex::getTechType("ma"), 0);
    EXPECT_EQ(TechIndex::getTechName(4097), "");
    EXPECT_TRUE(TechIndex::cannotDraw(0));
    EXPECT_TRUE(TechIndex::cannotDraw(4098));
    EXPECT_FALSE(TechIndex::cannotDraw(4097));
    EXPECT_EQ(TechIndex::getLeftTextDigits(TechIndex::MACD), 3);
    EXPECT_EQ(TechIndex::getLeftTextDigits(TechIndex::KDJ), 2);
    EXPECT_EQ(TechIndex::getTopTextDigits(TechIndex::VOL), 0);
    EXPECT_EQ(TechIndex::getTopTextDigits(TechIndex::RSI), 3);
    TechIndex unknown(77, 2);
    EXPECT_EQ(unknown.getOutputParamCount(), 0);
    EXPECT_EQ(unknown.getTechItemName(0), "");
    TechIndex vol(TechIndex::VOL, 2);
    EXPECT_EQ(vol.getTechItemName(4), "MA3");
    EXPECT_EQ(vol.getTechItemName(5), "");
}

TEST_F(Parameters, TheBundleListCarriesEveryIndicatorWithItsDefaults) {
    auto path = base::Bundle::main().pathFor(TechIndex::BundleSettingsName, "plist");
    ASSERT_TRUE(path);
    auto list = base::PropertyList::read(*path);
    ASSERT_TRUE(list && list->array());
    const char *order[] = {"VOL", "DMA", "MA", "MACD", "BIAS", "CCI", "KDJ", "W&R", "RSI", "BOLL"};
    ASSERT_EQ(list->array()->size(), std::size(order));
    for (size_t i = 0; i < std::size(order); ++i) {
        const base::Value &record = (*list->array())[i];
        EXPECT_EQ(record["TechName"].stringValue(), order[i]);
        EXPECT_FALSE(record["Introduction"].stringValue().empty()) << order[i];
        base::Value paramsValue = record["Params"];
        const base::Array *params = paramsValue.array();
        ASSERT_TRUE(params && !params->empty()) << order[i];
        for (const base::Value &param : *params)
            EXPECT_FALSE(param["ParamName"].stringValue().empty()) << order[i];
        // The bundle holds the built-in defaults.
        int32_t type = TechIndex::getTechType(order[i]);
        EXPECT_TRUE(TechIndex(type, 2).readParamsFromFile()) << order[i];
        TechIndex fromFile(type, 2);
        TechIndex builtIn(type, 2);
        builtIn.setTechType(type, paramList({0}));
        EXPECT_EQ(fromFile.getParamsText(), builtIn.getParamsText());
    }
}

TEST_F(Parameters, TheUsersFileWinsOverTheBundle) {
    writeUserFile(base::Array{record("MA", {3, 6, 9, 12}), record("W&R", {7, 21}), record("KDJ", {5, 0, 3})});
    EXPECT_EQ(TechIndex(TechIndex::MA, 1).getParamsText(), "MA(3,6,9,12)");
    EXPECT_EQ(TechIndex(TechIndex::WR, 2).getParamsText(), "WR(7,21)");
    // Refused parameters and indicators the file lacks fall back to the built-in defaults.
    EXPECT_EQ(TechIndex(TechIndex::KDJ, 2).getParamsText(), "KDJ(9,3,3)");
    EXPECT_FALSE(TechIndex(TechIndex::RSI, 2).readParamsFromFile());
    EXPECT_EQ(TechIndex(TechIndex::RSI, 2).getParamsText(), "RSI(6,12,24)");
    EXPECT_FALSE(TechIndex(TechIndex::FundLine, 1).readParamsFromFile());

    // A damaged file reads as none of its records.
    std::filesystem::path path = FileFunc::getFilePath(TechIndex::UserSettingsFile);
    ASSERT_TRUE(base::FileManager::writeAtomically(path, base::Data::fromString("not a list")));
    EXPECT_FALSE(TechIndex(TechIndex::MA, 1).readParamsFromFile());
    EXPECT_EQ(TechIndex(TechIndex::MA, 1).getParamsText(), "MA(5,10,20,30)");
}

TEST_F(Parameters, PaneRanges) {
    auto list = series(40, [](int i) { return 1000 + 15 * (i % 7) - 3 * i; });
    float max = 0, min = 0;
    auto kdj = computed(TechIndex::KDJ, {}, list);
    EXPECT_FALSE(kdj->getMaxMinInfo(0, 39, max, min));
    EXPECT_EQ(max, 100);
    EXPECT_EQ(min, 0);
    auto rsi = computed(TechIndex::RSI, {}, list);
    EXPECT_FALSE(rsi->getMaxMinInfo(0, 39, max, min));
    EXPECT_EQ(max, 100);

    auto macd = computed(TechIndex::MACD, {}, list);
    EXPECT_TRUE(macd->getMaxMinInfo(0, 39, max, min));
    EXPECT_GT(max, 0);
    EXPECT_EQ(min, -max);

    auto vol = computed(TechIndex::VOL, {}, list);
    (*list)[3]->vol = 5000;
    vol->calculate(list, 2);
    EXPECT_TRUE(vol->getMaxMinInfo(0, 10, max, min));
    EXPECT_EQ(max, 5000);
    EXPECT_EQ(min, 0);

    // Hidden values stay out: MA4 (30) has its first, hidden, value at candle 29.
    auto rising = series(40, [](int i) { return 1000 + 10 * i; });
    auto ma = computed(TechIndex::MA, {30, 30, 30, 30}, rising);
    EXPECT_TRUE(ma->getMaxMinInfo(0, 29, max, min));
    EXPECT_EQ(max, TechIndex::RangeStartMax);
    EXPECT_EQ(min, TechIndex::RangeStartMin);
    // Shown from candle 30 (mean of closes 1..30) to 39 (mean of 10..39); the end is clipped.
    EXPECT_TRUE(ma->getMaxMinInfo(25, 1000, max, min));
    EXPECT_FLOAT_EQ(max, 12.45f);
    EXPECT_FLOAT_EQ(min, 11.55f);
    EXPECT_FALSE(TechIndex(4097, 2).getMaxMinInfo(0, 39, max, min));
}

} // namespace
