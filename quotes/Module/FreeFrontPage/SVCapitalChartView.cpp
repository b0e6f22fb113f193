#include "Module/FreeFrontPage/SVCapitalChartView.h"

#include "Common/Gdip.h"
#include "Common/Util.h"

#include <cmath>

namespace {

constexpr float AxisWidth = 1.1f, GridWidth = 1, ZeroLineWidth = 1, OutlineWidth = 1.2f;
// How far the axes run past the plot, and their arrow heads.
constexpr float AxisOverrun = 10, ArrowLength = 8, ArrowHalfWidth = 3, UpArrowHalfWidth = 2;
constexpr float Dash[] = {2, 3};
// Below this a middle value prints as "0".
constexpr double ZeroEpsilon = 1e-7;

base::Ref<gfx::Color> colorOf(const base::Value &value) {
    return value.objectAs<gfx::Color>();
}

} // namespace

SVCapitalChartView::SVCapitalChartView(gfx::Rect frame) : ui::View(frame) {
    const float w = frame.width(), h = frame.height();
    titleRect_ = {0, 0, w, TitleHeight};
    axisYUnitRect_ = {50, TitleHeight, float(int(w)) - ScaleWidth, UnitHeight};
    axisY1Rect_ = {0, TitleHeight + UnitHeight, ScaleWidth, h - TitleHeight - UnitHeight - NameBandHeight};
}

gfx::Rect SVCapitalChartView::contentRect() const {
    gfx::Rect b = bounds();
    return {ScaleWidth, TitleHeight + UnitHeight, b.width() - ScaleWidth - RightMargin,
            b.height() - TitleHeight - UnitHeight - NameBandHeight};
}

gfx::Rect SVCapitalChartView::axisXRect() const {
    gfx::Rect b = bounds();
    return {axisY1Rect_.maxX(), b.height() - NameBandHeight, b.width() - axisY1Rect_.maxX(), NameBandHeight};
}

void SVCapitalChartView::clearSVCapitalChartView() {
    setDicData(std::nullopt);
}

void SVCapitalChartView::setDicData(std::optional<base::Dict> dic) {
    dicData_ = std::move(dic);
    setNeedsDisplay();
}

void SVCapitalChartView::setAxisY1UnitString(std::string text) {
    axisY1UnitString_ = std::move(text);
    setNeedsDisplay();
}

void SVCapitalChartView::setDigit(int digit) {
    digit_ = digit;
    setNeedsDisplay();
}

void SVCapitalChartView::setTitleBGImg(base::Ref<gfx::Image> image) {
    titleBGImg_ = std::move(image);
    setNeedsDisplay();
}

SVCapitalChartView::Axis SVCapitalChartView::axis() const {
    Axis a;
    if (!dicData_)
        return a;
    const base::Value data = dicData_->get("kAxisData");
    if (const base::Dict *d = data.dict()) {
        if (d->has("kMaxAxisYVal1"))
            a.top = d->get("kMaxAxisYVal1").doubleValue();
        if (d->has("kMinAxisYVal1"))
            a.bottom = d->get("kMinAxisYVal1").doubleValue();
        if (d->has("kMiddleAxisYVal1"))
            a.middle = d->get("kMiddleAxisYVal1").doubleValue();
    }
    return a;
}

base::Array SVCapitalChartView::entries() const {
    if (!dicData_)
        return {};
    const base::Value content = dicData_->get("kContentData");
    return content.array() ? *content.array() : base::Array();
}

void SVCapitalChartView::buildCGGradientColors(std::span<const base::Ref<gfx::Color>> colors, int clrNum,
                                               float *colorComponents) {
    for (int i = 0; i < clrNum && size_t(i) < colors.size(); ++i) {
        const gfx::Color &c = *colors[size_t(i)];
        colorComponents[4 * i] = c.r();
        colorComponents[4 * i + 1] = c.g();
        colorComponents[4 * i + 2] = c.b();
        colorComponents[4 * i + 3] = c.a();
    }
}

std::vector<SVCapitalChartView::BarLook> SVCapitalChartView::barLooks() const {
    std::vector<BarLook> looks;
    const Axis a = axis();
    if (!dicData_ || !(a.top > 0 && a.bottom < a.top))
        return looks;
    const gfx::Rect plot = contentRect();
    const float x = plot.x(), y = plot.y(), w = plot.width(), h = plot.height();
    const float slot = w / axisYLineNum, half = h / 2, barHalf = dspHistogramWidth / 2.0f;
    const double divisor = digit_ < 1 ? 1 : std::pow(10.0, digit_);
    const float fontHeight = contentFont->lineHeight();
    const gfx::Rect names = axisXRect();
    base::Array data = entries();
    for (size_t j = 0; j < data.size() && j < size_t(MaxBars); ++j) {
        const base::Value entry = data[j];
        const float v = float(entry["kValueY1"].doubleValue());
        const float cx = x + float(j + 1) * slot;
        BarLook look;
        if (v > 0) {
            float m = Util::mappingAsixYValue(float(a.top), float(a.middle), v, 0, half);
            look.hasBar = true;
            look.bar = {cx - barHalf, y + m, float(dspHistogramWidth), half - m};
            look.lineColor = colorOf(entry["kPositiveClr1"]);
        } else if (v < 0) {
            float m =
                Util::mappingAsixYValue(float(std::fabs(a.bottom)), float(std::fabs(a.middle)), -v, 0, half);
            look.hasBar = true;
            look.bar = {cx - barHalf, y + half, float(dspHistogramWidth), half - m};
            look.lineColor = colorOf(entry["kNegativeClr1"]);
        }
        if (!look.lineColor)
            look.lineColor = gfx::Color::white();
        look.value = Util::FormatDStr(float(v / divisor), LabelLength, digit_);
        look.valueRect = v >= 0 ? gfx::Rect{cx - slot / 2, y + half, slot, fontHeight}
                                : gfx::Rect{cx - slot / 2, y + half - fontHeight, slot, fontHeight};
        look.name = entry["kValueX1"].stringValue();
        look.nameRect = {cx - slot / 2, names.y(), slot, names.height() / 2};
        looks.push_back(std::move(look));
    }
    return looks;
}

std::vector<SVCapitalChartView::ScaleLabel> SVCapitalChartView::scaleLabels() const {
    std::vector<ScaleLabel> labels;
    const Axis a = axis();
    if (!dicData_ || !(a.top > a.bottom))
        return labels;
    const double divisor = digit_ < 1 ? 1 : std::pow(10.0, digit_);
    const double top = a.top / divisor, bottom = a.bottom / divisor, middle = a.middle / divisor;
    const base::Value axisValue = dicData_->get("kAxisData");
    base::Dict axisData;
    if (const base::Dict *d = axisValue.dict())
        axisData = *d;
    base::Ref<gfx::Color> maxClr = colorOf(axisData.get("kMaxAxisYValClr"));
    base::Ref<gfx::Color> minClr = colorOf(axisData.get("kMinAxisYValClr"));
    base::Ref<gfx::Color> midClr = colorOf(axisData.get("kMiddleAxisYValClr"));
    for (auto *clr : {&maxClr, &minClr, &midClr})
        if (!*clr)
            *clr = titleClr;
    const gfx::Rect col = axisY1Rect_;
    const float fh = contentFont->lineHeight(), q = col.height() / axisXStepLineNum;
    auto text = [](double value) { return Util::FormatDStr(float(value), LabelLength, ScaleDigits); };
    auto at = [&](float centreY) { return gfx::Rect{col.x() + 1, centreY - fh / 2, col.width() - 2, fh}; };
    labels.push_back({text(top), {col.x() + 1, col.y(), col.width() - 2, fh}, maxClr});
    labels.push_back({text(middle + std::fabs(top - middle) / 2), at(col.y() + q), maxClr});
    labels.push_back({std::fabs(middle) < ZeroEpsilon ? "0" : text(middle), at(col.y() + 2 * q), midClr});
    labels.push_back({text(middle - std::fabs(middle - bottom) / 2), at(col.y() + 3 * q), minClr});
    labels.push_back({text(bottom), {col.x() + 1, col.maxY() - fh, col.width() - 2, fh}, minClr});
    return labels;
}

void SVCapitalChartView::drawAxesAndGrid(gfx::Context &context, gfx::Rect plot) const {
    const float x = plot.x(), y = plot.y(), w = plot.width(), h = plot.height();
    const gfx::Point right{x + w + AxisOverrun, y + h};
    Gdip::drawLine(context, {x - AxisOverrun, y + h}, right, *axisClr1, AxisWidth);
    Gdip::drawLine(context, right, {right.x - ArrowLength, right.y - ArrowHalfWidth}, *axisClr1, AxisWidth);
    Gdip::drawLine(context, right, {right.x - ArrowLength, right.y + ArrowHalfWidth}, *axisClr1, AxisWidth);
    const gfx::Point up{x, y - AxisOverrun};
    Gdip::drawLine(context, up, {x, y + h + AxisOverrun}, *axisClr1, AxisWidth);
    Gdip::drawLine(context, up, {x - UpArrowHalfWidth, up.y + ArrowLength}, *axisClr1, AxisWidth);
    Gdip::drawLine(context, up, {x + UpArrowHalfWidth, up.y + ArrowLength}, *axisClr1, AxisWidth);
    for (int i = 0; i < axisXLineNum; ++i) {
        const float ly = y + float(i) * h / axisXLineNum;
        const gfx::Point line[] = {{x, ly}, {x + w, ly}};
        Gdip::drawDashLine(context, line, *axisClr2, GridWidth, Dash);
    }
    Gdip::drawLine(context, {x, y + h / 2}, {x + w, y + h / 2}, *axisClr1, ZeroLineWidth);
    for (int i = 1; i <= axisYLineNum; ++i) {
        const float lx = x + float(i) * w / axisYLineNum;
        const gfx::Point line[] = {{lx, y}, {lx, y + h}};
        Gdip::drawDashLine(context, line, *axisClr2, GridWidth, Dash);
    }
}

void SVCapitalChartView::drawRect(gfx::Context &context, gfx::Rect) {
    const gfx::Rect plot = contentRect();
    if (!titleName.empty()) {
        if (titleBGImg_)
            context.drawImage(titleRect_, *titleBGImg_);
        Gdip::drawStrInRect(context, titleName, titleRect_, *titleFont, *titleClr, true, 1);
    }
    for (const ScaleLabel &label : scaleLabels())
        Gdip::drawStrInRect(context, label.text, label.rect, *contentFont, *label.color, 2);
    Gdip::drawStrInRect(context, axisY1UnitString_, axisYUnitRect_, *axisFont, *titleClr, true, 0);
    drawAxesAndGrid(context, plot);
    base::Array data = entries();
    std::vector<BarLook> looks = barLooks();
    for (size_t j = 0; j < looks.size(); ++j) {
        const BarLook &look = looks[j];
        if (look.hasBar) {
            const base::Value entry = data[j];
            base::Ref<gfx::Color> first = colorOf(entry["kPositiveClr1"]);
            base::Ref<gfx::Color> second = colorOf(entry["kNegativeClr1"]);
            if (first && second) {
                const base::Ref<gfx::Color> stops[] = {first, second};
                float components[8];
                buildCGGradientColors(stops, 2, components);
                Gdip::drawGradientRect(context, look.bar, components, 2, false);
            } else if (first) {
                Gdip::fillRect(context, look.bar, *first);
            }
            Gdip::drawRect2(context, look.bar, *look.lineColor, OutlineWidth);
        }
        Gdip::drawStrInRect(context, look.value, look.valueRect, *contentFont, *look.lineColor, 1);
        Gdip::drawStrInRect(context, look.name, look.nameRect, *contentFont, *titleClr, true, 1);
    }
}

int SVCapitalChartView::slotAt(gfx::Point point) const {
    const gfx::Rect plot = contentRect();
    if (!plot.contains(point))
        return -1;
    const float slot = plot.width() / axisYLineNum, left = plot.x() + slot / 2;
    const gfx::Rect slots{left, plot.y(), plot.width() - slot, plot.height()};
    if (slots.contains(point))
        return int((point.x - left) / slot);
    if (point.x >= slots.maxX())
        return std::max(int(entries().size()) - 1, 0);
    return 0;
}

void SVCapitalChartView::touchesBegan(const ui::TouchSet &touches, const ui::Event &) {
    if (!touches.empty())
        touchBeginPt_ = touches.front()->location(this);
}

void SVCapitalChartView::touchesEnded(const ui::TouchSet &touches, const ui::Event &) {
    auto owner = delegate.lock();
    if (!owner || touches.empty())
        return;
    const gfx::Point end = touches.front()->location(this);
    if (std::fabs(end.x - touchBeginPt_.x) >= TapSlop || std::fabs(end.y - touchBeginPt_.y) >= TapSlop)
        return;
    const int index = slotAt(end);
    base::Array data = entries();
    if (index < 0 || size_t(index) >= data.size())
        return;
    const base::Value entry = data[size_t(index)];
    if (const base::Dict *d = entry.dict(); d && d->has("kStkCode"))
        owner->chartViewClick(*this, base::Dict{{"kStkCode", entry["kStkCode"]}});
}
