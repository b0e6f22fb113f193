#include "Module/FreeFrontPage/SVCapitalChartView.h"

#include "Golden.h"
#include "host/Offscreen.h"

#include <gtest/gtest.h>

namespace {

// The panel's chart size.
const gfx::Rect PanelChart{0, 0, 744, 260};

base::Value entry(double value, const std::string &name, const std::string &code = "") {
    base::Dict e{{"kValueY1", value},
                 {"kValueX1", name},
                 {"kPositiveClr1", base::Ref<base::Object>(gfx::Color::rgba(0.84f, 0.05f, 0.16f))},
                 {"kNegativeClr1", base::Ref<base::Object>(gfx::Color::rgba(0.32f, 0.08f, 0.09f))}};
    if (!code.empty())
        e.set("kStkCode", code);
    return e;
}

base::Dict data(base::Array entries, double top, double bottom) {
    return base::Dict{
        {"kContentData", entries},
        {"kAxisData",
         base::Dict{{"kMaxAxisYVal1", top}, {"kMinAxisYVal1", bottom}, {"kMiddleAxisYVal1", 0.0}}}};
}

// Eight boards, four each way, in 万元, coded BI000101 … BI000108.
base::Array eightBoards() {
    const double values[] = {23456, 12800, 8200, 3100, -1200, -5000, -9200, -15800};
    base::Array entries;
    for (int j = 0; j < 8; ++j)
        entries.add(entry(values[j], "板块" + std::to_string(j + 1), "BI00010" + std::to_string(j + 1)));
    return entries;
}

class Taps : public base::Object, public SVCapitalChartViewOperation {
public:
    base::Opt<void> chartViewClick(SVCapitalChartView &, const base::Dict &dic) override {
        codes.push_back(dic.get("kStkCode").stringValue());
        return {};
    }
    std::vector<std::string> codes;
};

class ChartTest : public ::testing::Test {
protected:
    void SetUp() override {
        chart = base::make<SVCapitalChartView>(PanelChart);
        chart->setBackgroundColor(gfx::Color::rgba(0.02f, 0.11f, 0.16f));
        app.window().addSubview(chart);
    }

    host::TestApp app;
    base::Ref<SVCapitalChartView> chart;
};

TEST_F(ChartTest, BandsAndBarsFollowTheViewSize) {
    EXPECT_EQ(chart->titleRect(), (gfx::Rect{0, 0, 744, 36}));
    EXPECT_EQ(chart->axisYUnitRect(), (gfx::Rect{50, 36, 674, 35}));
    EXPECT_EQ(chart->axisY1Rect(), (gfx::Rect{0, 71, 70, 149}));
    EXPECT_EQ(chart->contentRect(), (gfx::Rect{70, 71, 654, 149}));
    EXPECT_EQ(chart->axisXRect(), (gfx::Rect{70, 220, 674, 40}));

    chart->setDicData(data(eightBoards(), 1.1 * 23456, -1.1 * 15800));
    std::vector<SVCapitalChartView::BarLook> bars = chart->barLooks();
    ASSERT_EQ(bars.size(), 8u);
    const float zero = 71 + 149 / 2.0f;
    for (size_t j = 0; j < bars.size(); ++j) {
        SCOPED_TRACE(j);
        // 72.67 points a slot.
        EXPECT_NEAR(bars[j].bar.x() + 12, 70 + 654.0 / 9 * double(j + 1), 0.01);
        EXPECT_EQ(bars[j].bar.width(), 24);
        // Rising bars end on the zero line, falling ones start there.
        EXPECT_FLOAT_EQ(j < 4 ? bars[j].bar.maxY() : bars[j].bar.y(), zero);
    }
    // The tallest bar takes 1/1.1 of its half, each half on its own scale.
    EXPECT_NEAR(bars[0].bar.height(), 74.5 / 1.1, 0.01);
    EXPECT_NEAR(bars[7].bar.height(), 74.5 / 1.1, 0.01);
    EXPECT_NEAR(bars[4].bar.height(), 74.5 * 1200 / (1.1 * 15800), 0.01);
    // Each value sits on the other side of the zero line, the name under the plot.
    EXPECT_FLOAT_EQ(bars[0].valueRect.y(), zero);
    EXPECT_FLOAT_EQ(bars[7].valueRect.maxY(), zero);
    EXPECT_EQ(bars[2].name, "板块3");
    EXPECT_FLOAT_EQ(bars[2].nameRect.y(), 220);
    EXPECT_FLOAT_EQ(bars[2].nameRect.height(), 20);
}

TEST_F(ChartTest, ValuesPrintWithTheDigitAndZeroDrawsNoBar) {
    base::Array entries;
    entries.add(entry(123456, "涨"));
    entries.add(entry(0, "平"));
    entries.add(entry(-20000, "跌"));
    chart->setDicData(data(entries, 200000, -30000));
    std::vector<SVCapitalChartView::BarLook> bars = chart->barLooks();
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_EQ(bars[0].value, "12.3456");
    EXPECT_TRUE(bars[0].hasBar);
    EXPECT_FALSE(bars[1].hasBar);
    EXPECT_EQ(bars[1].value, "--");
    EXPECT_EQ(*bars[1].lineColor, *gfx::Color::white());
    EXPECT_FLOAT_EQ(bars[1].valueRect.y(), 71 + 149 / 2.0f) << "under the zero line";
    EXPECT_EQ(bars[2].value, "-2.0000");

    // The scale keeps two decimals whatever the digit: top, the steps and bottom, in 亿元.
    std::vector<std::string> scale;
    for (const auto &label : chart->scaleLabels())
        scale.push_back(label.text);
    EXPECT_EQ(scale, (std::vector<std::string>{"20.00", "10.00", "0", "-1.50", "-3.00"}));

    chart->setDigit(0);
    EXPECT_EQ(chart->barLooks()[0].value, "123456");
}

TEST_F(ChartTest, BoundsAndCountsThatDrawNoBars) {
    base::Array nine = eightBoards();
    nine.add(entry(100, "第九"));
    struct Case {
        const char *name;
        base::Array entries;
        double top, bottom;
        size_t bars;
        size_t labels;
    } cases[] = {
        {"past the eighth entry", nine, 30000, -20000, 8, 5},
        {"top of 0", eightBoards(), 0, -20000, 0, 5},
        {"negative top", eightBoards(), -5, -20000, 0, 5},
        {"bottom at the top", eightBoards(), 100, 100, 0, 0},
        {"both 0 (no rows)", base::Array(), 0, 0, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        chart->setDicData(data(c.entries, c.top, c.bottom));
        EXPECT_EQ(chart->barLooks().size(), c.bars);
        EXPECT_EQ(chart->scaleLabels().size(), c.labels);
    }
    // Without limits the top counts as -1e9 and the bottom as 1e9: nothing.
    chart->setDicData(base::Dict{{"kContentData", eightBoards()}});
    EXPECT_TRUE(chart->barLooks().empty());
    EXPECT_TRUE(chart->scaleLabels().empty());
}

TEST_F(ChartTest, TapsReportTheSlotsCode) {
    auto taps = base::make<Taps>();
    chart->delegate = taps;
    chart->setDicData(data(eightBoards(), 30000, -20000));
    const float y = 100, slot = 654 / 9.0f;
    struct Case {
        const char *name;
        gfx::Point from, to;
        const char *code; // nullptr: nothing reported
    } cases[] = {
        {"on the third bar", {70 + 3 * slot, y}, {70 + 3 * slot, y}, "BI000103"},
        {"between the last bar and the plot's right edge", {720, y}, {720, y}, "BI000108"},
        {"left of the first slot", {72, y}, {72, y}, "BI000101"},
        {"a drag of 25 points", {200, y}, {225, y}, nullptr},
        {"below the plot", {200, 240}, {200, 240}, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        taps->codes.clear();
        if (c.from == c.to)
            app.tap(c.from);
        else
            app.drag(c.from, c.to);
        app.runPending();
        EXPECT_EQ(taps->codes, c.code ? std::vector<std::string>{c.code} : std::vector<std::string>{});
    }
    // Past the entries there is nothing to report.
    base::Array two;
    two.add(entry(5, "一", "BI000101"));
    two.add(entry(-5, "二", "BI000102"));
    chart->setDicData(data(two, 10, -10));
    taps->codes.clear();
    app.tap({70 + 5 * slot, y});
    EXPECT_TRUE(taps->codes.empty());
}

TEST_F(ChartTest, ClearingLeavesTitleAxesAndGrid) {
    chart->setTitleBGImg(gfx::Image::named("HeaderSelectedBG.png"));
    chart->setDicData(data(eightBoards(), 30000, -20000));
    chart->clearSVCapitalChartView();
    EXPECT_FALSE(chart->dicData());
    EXPECT_TRUE(chart->barLooks().empty());
    EXPECT_TRUE(chart->scaleLabels().empty());
    app.runPending();
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "freefrontpage/chart-cleared"));
}

TEST_F(ChartTest, GradientComponentsFourFloatsAColour) {
    const base::Ref<gfx::Color> colours[] = {gfx::Color::rgba(0.1f, 0.2f, 0.3f, 0.4f),
                                             gfx::Color::rgba(0.5f, 0.6f, 0.7f)};
    float out[8] = {};
    SVCapitalChartView::buildCGGradientColors(colours, 2, out);
    EXPECT_EQ(std::vector<float>(out, out + 8),
              (std::vector<float>{0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 1}));
}

} // namespace
