#pragma once

#include "base/Value.h"
#include "gfx/Color.h"
#include "gfx/Font.h"
#include "gfx/Image.h"
#include "ui/View.h"

#include <span>
#include <string>
#include <vector>

class SVCapitalChartView;

// Hears a tap on a bar of the fund-flow chart: {"kStkCode": the bar's code}.
class SVCapitalChartViewOperation {
public:
    virtual ~SVCapitalChartViewOperation() = default;
    virtual base::Opt<void> chartViewClick(SVCapitalChartView &chart, const base::Dict &dic) {
        (void)chart, (void)dic;
        return base::notImplemented;
    }
};

// Up to eight signed values as vertical bars around a zero line: a title band, the unit caption,
// a value scale on the left, the names under the bars and each value printed on the other side of
// the zero line from its bar. The upper and lower halves have scales of their own (top to middle,
// middle to bottom). It knows nothing of quotes: everything comes from `dicData`:
// - "kContentData": entries drawn left to right, each {"kValueY1" number, "kValueX1" name,
//   "kPositiveClr1" and "kNegativeClr1" colours (the bar's gradient from top to bottom; a plain
//   fill without the second), "kStkCode" reported on a tap};
// - "kAxisData": {"kMaxAxisYVal1" top, "kMinAxisYVal1" bottom, "kMiddleAxisYVal1" middle, and the
//   scale label colours "kMaxAxisYValClr", "kMinAxisYValClr", "kMiddleAxisYValClr"}.
// Bars appear only when the top is above 0 and the bottom below the top; scale labels only when
// the top is above the bottom. Without data only the title, caption, axes and grid show.
class SVCapitalChartView : public ui::View {
public:
    static constexpr float TitleHeight = 36, UnitHeight = 35, ScaleWidth = 70, NameBandHeight = 40;
    // The empty strip right of the plot.
    static constexpr float RightMargin = 20;
    // Slots across the plot (bars stand on lines 1 to 8), grid steps down it, scale steps.
    static constexpr int axisYLineNum = 9, axisXLineNum = 8, axisXStepLineNum = 4;
    static constexpr int MaxBars = axisYLineNum - 1;
    // A tap moving at least this far either way is a drag.
    static constexpr float TapSlop = 20;
    static constexpr int ScaleDigits = 2;
    static constexpr unsigned LabelLength = 8;

    explicit SVCapitalChartView(gfx::Rect frame);

    // Drops the data: title, caption, axes and grid only.
    void clearSVCapitalChartView();
    void setDicData(std::optional<base::Dict> dic);
    const std::optional<base::Dict> &dicData() const { return dicData_; }
    void setAxisY1UnitString(std::string text);
    const std::string &axisY1UnitString() const { return axisY1UnitString_; }
    void setDigit(int digit);
    int digit() const { return digit_; }
    void setTitleBGImg(base::Ref<gfx::Image> image);

    std::string titleName = "今日资金流向";
    base::Ref<gfx::Color> titleClr = gfx::Color::white();
    base::Ref<gfx::Font> titleFont = gfx::Font::boldSystem(17);
    base::Ref<gfx::Font> contentFont = gfx::Font::system(14);
    base::Ref<gfx::Font> axisFont = gfx::Font::system(14);
    base::Ref<gfx::Color> axisClr1 = gfx::Color::rgba(0.39f, 0.42f, 0.51f);
    base::Ref<gfx::Color> axisClr2 = gfx::Color::rgba(0.18f, 0.28f, 0.34f);
    int dspHistogramWidth = 24;
    base::Weak<SVCapitalChartViewOperation> delegate;

    gfx::Rect titleRect() const { return titleRect_; }
    gfx::Rect axisYUnitRect() const { return axisYUnitRect_; }
    gfx::Rect axisY1Rect() const { return axisY1Rect_; }
    gfx::Rect axisXRect() const;
    // The plot, from the current bounds.
    gfx::Rect contentRect() const;

    // What one entry draws: its bar (none for a value of 0), the outline and value colour, the
    // value label and the name under the plot.
    struct BarLook {
        bool hasBar = false;
        gfx::Rect bar;
        base::Ref<gfx::Color> lineColor;
        std::string value;
        gfx::Rect valueRect;
        std::string name;
        gfx::Rect nameRect;
    };
    // The bars the data gives now, left to right; empty when the bounds suppress them.
    std::vector<BarLook> barLooks() const;
    struct ScaleLabel {
        std::string text;
        gfx::Rect rect;
        base::Ref<gfx::Color> color;
    };
    // Top, the three steps and bottom; empty without data or when the top is not above the bottom.
    std::vector<ScaleLabel> scaleLabels() const;
    // The entry a tap at this plot point picks (may be past the last entry), or -1 outside the plot.
    int slotAt(gfx::Point point) const;

    // Red, green, blue and alpha of each colour, four floats a colour.
    static void buildCGGradientColors(std::span<const base::Ref<gfx::Color>> colors, int clrNum,
                                      float *colorComponents);

    void drawRect(gfx::Context &context, gfx::Rect dirty) override;
    void touchesBegan(const ui::TouchSet &touches, const ui::Event &event) override;
    void touchesEnded(const ui::TouchSet &touches, const ui::Event &event) override;

private:
    struct Axis {
        double top = -1e9, bottom = 1e9, middle = 0;
    };
    Axis axis() const;
    base::Array entries() const;
    void drawAxesAndGrid(gfx::Context &context, gfx::Rect plot) const;

    std::optional<base::Dict> dicData_;
    std::string axisY1UnitString_ = "净额（单位：亿元）";
    int digit_ = 4;
    base::Ref<gfx::Image> titleBGImg_;
    gfx::Rect titleRect_, axisYUnitRect_, axisY1Rect_;
    gfx::Point touchBeginPt_;
};
