#include "Common/StylePool.h"

#include "Common/Gdip.h"

#include <array>
#include <cmath>

namespace {

base::Ref<gfx::Color> rgb(int r, int g, int b, float a = 255) {
    return gfx::Color::rgba(float(r) / 255, float(g) / 255, float(b) / 255, a / 255);
}

base::Ref<gfx::Color> halfClear(int r, int g, int b) {
    return gfx::Color::rgba(float(r) / 255, float(g) / 255, float(b) / 255, 0.5f);
}

base::Ref<gfx::Image> picture(std::string_view name, int leftCap = 0, int topCap = 0) {
    base::Ref<gfx::Image> image = gfx::Image::named(name);
    if (image && (leftCap > 0 || topCap > 0))
        return image->stretchable(leftCap, topCap);
    return image;
}

base::Ref<gfx::Gradient> threeStops(std::array<int, 12> components) {
    std::array<float, 12> rgba;
    for (size_t i = 0; i < components.size(); ++i)
        rgba[i] = float(components[i]) / 255;
    return gfx::Gradient::deviceRgb(rgba, 3);
}

} // namespace

StylePool &StylePool::Instance() {
    static StylePool *pool = new StylePool;
    return *pool;
}

StylePool::StylePool()
    : clTextName(rgb(255, 255, 255, 221)), clTextRise(rgb(255, 82, 82)), clTextFall(rgb(82, 255, 82)),
      clTextPlane(rgb(192, 192, 192)), clTextRise2(rgb(255, 82, 82, 119)), clTextFall2(rgb(82, 255, 82, 119)),
      clTextPlane2(rgb(192, 192, 192, 119)), clTextVol(rgb(109, 109, 109)), clTextAmount(rgb(82, 255, 255)),
      clCutLine(rgb(255, 255, 255, 85)), clVolLine(rgb(255, 198, 21)), clBorder(rgb(47, 47, 47)),
      clRiseLine(rgb(231, 64, 83)), clFallLine(rgb(52, 172, 230)), clAxis(rgb(20, 20, 20)),
      clThickAxis(rgb(47, 47, 47)), clAxis2(rgb(52, 52, 52)), clPriceLine(rgb(242, 249, 242)),
      clPriceAveLine(rgb(255, 198, 21)), clMiniPriceLine(rgb(238, 144, 41)),
      clMiniPriceAveLine(rgb(109, 118, 165)), clCursorLine(rgb(208, 112, 16)),
      clCursorInfoBG(rgb(99, 110, 238, 102)), clExright(rgb(255, 0, 255)), clMA1(rgb(238, 238, 238)),
      clMA2(rgb(254, 231, 114)), clMA3(rgb(211, 25, 149)), clMA4(rgb(35, 255, 131)), clMA5(rgb(0, 160, 238)),
      clMA6(rgb(228, 124, 72)), clAddStock1(rgb(238, 238, 238)), clAddStock2(rgb(136, 73, 255)),
      clAddStock3(rgb(0, 160, 238)), clAddStock4(rgb(228, 124, 72)), clAddStock5(rgb(211, 25, 149)),
      clAddStock6(rgb(254, 231, 114)), clChartBG(halfClear(0, 0, 0)),
      clTrendLineEvenBG(halfClear(51, 51, 51)), imgTxtBG(picture("txtbg.png", 14, 0)),
      imgTableTitle(picture("detail_menu_bg.png")), imgMiniWaiting(picture("tline_holder.png")),
      imgSetTechIndex(picture("settings_KL.png")), imgTableViewBG(picture("title_bg.png", 20, 0)),
      fontPriceVol(gfx::Font::named("Helvetica-Bold", 16)), fontTechIndex(gfx::Font::named("Helvetica", 15)),
      gradientKLineRise(threeStops({152, 32, 47, 255, 231, 64, 83, 255, 206, 32, 54, 255})),
      gradientKLineFall(threeStops({19, 104, 170, 255, 52, 172, 230, 255, 9, 130, 214, 255})) {}

const base::Ref<gfx::Color> &StylePool::getPriceColor(int refPrice, int curPrice) const {
    if (refPrice == 0 || curPrice == 0)
        return clTextPlane;
    return getPriceColor(curPrice > refPrice ? 1 : curPrice < refPrice ? -1 : 0);
}

const base::Ref<gfx::Color> &StylePool::getPriceColor(int change) const {
    return change > 0 ? clTextRise : change < 0 ? clTextFall : clTextPlane;
}

const base::Ref<gfx::Color> &StylePool::getDDTypeColor(int type) const {
    return type == 0 || type == 2 || type == 4 ? clTextRise : clTextFall;
}

const base::Ref<gfx::Color> &StylePool::getMAColor(int index) const {
    const base::Ref<gfx::Color> *colors[] = {&clMA1, &clMA2, &clMA3, &clMA4, &clMA5, &clMA6};
    return index >= 0 && index < 6 ? *colors[index] : clMA1;
}

const base::Ref<gfx::Color> &StylePool::getAddStockColor(int index) const {
    const base::Ref<gfx::Color> *colors[] = {&clAddStock1, &clAddStock2, &clAddStock3,
                                             &clAddStock4, &clAddStock5, &clAddStock6};
    return index >= 0 && index < 6 ? *colors[index] : clAddStock1;
}

void StylePool::drawKLineBorder(gfx::Context &context, gfx::Rect rt, int) const {
    Gdip::fillRect(context, rt.inset(1, 1), *gfx::Color::black());
    Gdip::drawRect(context, rt, *clBorder);
}

void StylePool::drawKSepLine(gfx::Context &context, gfx::Point p1, gfx::Point p2) {
    const gfx::Point first[] = {p1, p2};
    Gdip::drawDashLine(context, first, *clAxis, 1, SepDash);
    const bool vertical = p1.x == p2.x;
    const float dx = vertical ? 1 : 0, dy = vertical ? 0 : 1;
    const gfx::Point second[] = {{p1.x + dx, p1.y + dy}, {p2.x + dx, p2.y + dy}};
    Gdip::drawDashLine(context, second, *clAxis2, 1, SepDash);
}

void StylePool::drawThickKSepLine(gfx::Context &context, gfx::Point p1, gfx::Point p2, bool) {
    Gdip::drawLine(context, p1, p2, *clThickAxis, 1);
}

void StylePool::drawCursorLine(gfx::Context &context, gfx::Point p1, gfx::Point p2) const {
    const gfx::Point pts[] = {p1, p2};
    Gdip::drawDashLine(context, pts, *clCursorLine, 1, CursorDash);
}

void StylePool::drawCursorText(gfx::Context &context, int type, int x, int y, int w, std::string_view sText,
                               const gfx::Font &font) const {
    // Centred tags start at the truncated left edge, so an odd width leans left by half a point.
    const float left = type == 4 ? std::trunc(float(x) - float(w) / 2) : float(x);
    const gfx::Rect box{left, float(y), float(w), CursorTextHeight};
    Gdip::fillRect(context, box, *clCursorLine);
    Gdip::drawStrInRect(context, sText, box, font, *gfx::Color::white(), 1);
}

void StylePool::strokeVertical(gfx::Context &context, gfx::Rect rect) {
    context.beginPath();
    context.moveTo(rect.o);
    context.lineTo({rect.x(), rect.maxY()});
    context.strokePath();
}

void StylePool::drawKLineColumn(gfx::Context &context, gfx::Rect rect, bool isRise,
                                const gfx::Color &color) const {
    if (rect.width() <= 1)
        strokeVertical(context, rect);
    else if (rect.width() <= 2)
        Gdip::fillRect(context, rect, color);
    else
        drawKLineColumn(context, rect, isRise);
}

void StylePool::drawKLineVolColumn(gfx::Context &context, gfx::Rect rect, bool isRise) const {
    const gfx::Color &color = isRise ? *clRiseLine : *clFallLine;
    if (rect.width() <= 1) {
        context.setStroke(color);
        strokeVertical(context, rect);
    } else if (rect.width() <= 2) {
        Gdip::fillRect(context, rect, color);
    } else {
        drawKLineColumn(context, rect, isRise);
    }
}

void StylePool::drawKLineColumn(gfx::Context &context, gfx::Rect rect, bool isRise) const {
    context.save();
    context.clipToRect(rect);
    context.drawLinearGradient(isRise ? *gradientKLineRise : *gradientKLineFall, rect.o,
                               {rect.maxX(), rect.y()});
    context.restore();
}
