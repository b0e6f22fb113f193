// The detail screen's candlestick chart (mode 0, 1024 × 768: about 120 candles with moving
// averages, the volume pane with its averages and the DDX pane, grid, price and pane labels, title
// lines and time labels) redrawn, read against direct gfx drawing of the same rectangles, lines
// and texts in the same run: the chart's own work on top of the drawing should stay within 1.5
// times the plain drawing.
#include "Common/StylePool.h"
#include "Common/Util.h"
#include "DataBase/NetData/Level2BSItem.h"
#include "Module/CommonControls/KLine/KLine/KLineClass.h"
#include "gfx/Surface.h"
#include "gfx/Text.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr float Width = 1024, Height = 768;
constexpr int CandleCount = 130;
constexpr int32_t DDX = 2918;

base::Ref<StockBasicInf> snapshot() {
    auto inf = base::make<StockBasicInf>();
    inf->code = "SH600000";
    inf->name = "浦发银行";
    inf->type = 1;
    inf->decimal = 2;
    inf->circulatedCapital = 5000000;
    return inf;
}

base::Ref<KLineList> candles() {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> move(-30, 30), range(0, 20), volume(3000, 12000);
    auto list = base::make<KLineList>();
    int32_t close = 1000;
    for (int i = 0; i < CandleCount; ++i) {
        auto k = base::make<KLineItem>();
        k->time = 20120000 + (1 + i / 20 % 12) * 100 + i % 20 + 4;
        k->openprice = close;
        k->closeprice = std::max(100, close + move(random));
        k->highprice = std::max(k->openprice, k->closeprice) + range(random);
        k->lowprice = std::min(k->openprice, k->closeprice) - range(random);
        k->vol = volume(random);
        k->amount = k->vol * 10;
        k->backupPrices();
        close = k->closeprice;
        list->push_back(k);
    }
    return list;
}

base::Ref<KLineClassBase::ReplyList> ddx(const KLineList &list) {
    auto series = base::make<KLineClassBase::ReplyList>();
    for (size_t i = 0; i < list.size(); ++i) {
        auto item = base::make<DD_Item>();
        item->date = list[i]->time;
        item->value = float(int(i * 29 % 13) - 6) / 10.0f;
        series->push_back(item);
    }
    return series;
}

base::Ref<KLineClass> loadedChart() {
    auto chart = base::make<KLineClass>(0);
    chart->initLevel2TechIndex(DDX);
    auto list = candles();
    chart->Update(snapshot(), list, KLineClassBase::DayKType);
    chart->UpdateLevel2TechIndex(DDX, ddx(*list));
    return chart;
}

void BM_KLineChartRedraw(benchmark::State &state) {
    auto chart = loadedChart();
    gfx::Surface surface{int(Width), int(Height)};
    gfx::Context context(surface);
    for (auto _ : state) {
        context.setFill(*gfx::Color::black());
        context.fillRect({0, 0, Width, Height});
        chart->draw(context, {0, 0, Width, Height});
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_KLineChartRedraw)->Unit(benchmark::kMillisecond);

// What the chart draws, as plain shapes: taken from one drawn chart, so that the geometry, the
// counts and the texts are the chart's own.
struct Scene {
    struct Text {
        std::string text;
        gfx::Rect rect;
        gfx::Align align;
    };
    struct Segment {
        gfx::Point from, to;
        const gfx::Color *color;
    };
    struct Body {
        gfx::Rect rect;
        bool rise;
    };
    std::vector<gfx::Rect> frames;
    std::vector<Segment> dashed, lines;
    std::vector<Body> gradientBodies;
    std::vector<std::pair<gfx::Rect, const gfx::Color *>> filled;
    std::vector<Text> texts;
};

Scene sceneOf(KLineClass &chart) {
    StylePool &style = StylePool::Instance();
    Scene s;
    gfx::Surface scratch{int(Width), int(Height)};
    gfx::Context scratchContext(scratch);
    chart.draw(scratchContext, {0, 0, Width, Height});
    for (gfx::Rect r : {chart.m_rtMainBorder, chart.m_rtVolBorder, chart.m_rtLevel2Border})
        s.frames.push_back(r);
    const gfx::Rect m = chart.m_rtMain;
    auto sep = [&](gfx::Rect plot, float y) {
        s.dashed.push_back({{plot.x() + 1, y}, {plot.maxX(), y}, style.clAxis.get()});
        s.dashed.push_back({{plot.x() + 1, y + 1}, {plot.maxX(), y + 1}, style.clAxis2.get()});
    };
    const int n = chart.horLineCountMain();
    for (int j = 0; j < n; ++j)
        sep(m, std::trunc(m.y() + m.height() / float(n) * float(j)));
    sep(chart.m_rtVol, std::trunc(chart.m_rtVol.y() + chart.m_rtVol.height() / 2));
    sep(chart.m_rtLevel2, std::trunc(chart.m_rtLevel2.y() + chart.m_rtLevel2.height() / 2));

    const float pitch = chart.ksize();
    const float maxP = float(chart.maxPrice()), minP = float(chart.minPrice());
    auto y = [&](float v, float max, float min, gfx::Rect plot) {
        return Util::mappingAsixYValue(max, min, v, plot.y(), plot.maxY());
    };
    float volMax = 0, volMin = 0, l2Max = 0, l2Min = 0;
    chart.secondTechIndex()->getMaxMinInfo(chart.indexFrom(), chart.indexTo(), volMax, volMin);
    chart.level2TechIndex()->getMaxMinInfo(chart.indexFrom(), chart.indexTo(), l2Max, l2Min);
    float x = m.x();
    for (int i = chart.indexFrom(); i <= chart.indexTo(); ++i, x += pitch) {
        const KLineItem &k = *(*chart.klineList())[size_t(i)];
        const bool rise = k.openprice <= k.closeprice;
        const float top = y(float(std::max(k.openprice, k.closeprice)), maxP, minP, m);
        const float bottom = y(float(std::min(k.openprice, k.closeprice)), maxP, minP, m);
        s.gradientBodies.push_back({{x + 1, top, pitch - 2, std::max(1.f, bottom - top)}, rise});
        const gfx::Color *c = (rise ? style.clRiseLine : style.clFallLine).get();
        const float centre = std::trunc(x + pitch / 2);
        s.lines.push_back({{centre, top}, {centre, y(float(k.highprice), maxP, minP, m)}, c});
        s.lines.push_back({{centre, bottom}, {centre, y(float(k.lowprice), maxP, minP, m)}, c});
        if (i == chart.indexFrom())
            continue;
        auto joins = [&](const TechIndexBase &tech, int first, float max, float min, gfx::Rect plot,
                         float scale) {
            auto now = tech.getItem(i), before = tech.getItem(i - 1);
            for (int o = first; now && before && o < now->count(); ++o)
                s.lines.push_back({{centre - pitch, y(before->getSubItem(o)->value * scale, max, min, plot)},
                                   {centre, y(now->getSubItem(o)->value * scale, max, min, plot)},
                                   chart.getTechColor(o, tech.techType()).get()});
        };
        joins(*chart.mainTechIndex(), 0, maxP, minP, m, chart.getPriceMulti());
        joins(*chart.secondTechIndex(), 2, volMax, volMin, chart.m_rtVol, 1);
        const float volTop = y(float(k.vol), volMax, volMin, chart.m_rtVol);
        s.gradientBodies.push_back({{x + 1, volTop, pitch - 2, chart.m_rtVol.maxY() - volTop}, rise});
        auto l2 = chart.level2TechIndex()->getItem(i);
        const float v = l2 ? y(l2->getSubItem(0)->value, l2Max, l2Min, chart.m_rtLevel2) : 0;
        const float mid = std::trunc(chart.m_rtLevel2.y() + chart.m_rtLevel2.height() / 2);
        s.filled.push_back({{x + 1, std::min(v, mid), pitch - 2, std::abs(v - mid)}, c});
    }
    // Period name, 7 price labels, 3 + 3 pane labels, 5 + 5 + 1 title texts, 2 time labels.
    const float th = chart.textHeight();
    s.texts.push_back({"日K线", {m.x(), chart.m_rtMainTitle.y(), 70, 20}, gfx::Align::Center});
    for (int j = 0; j <= n; ++j)
        s.texts.push_back({Util::FormatPrice(float(maxP - (maxP - minP) / float(n) * float(j)), 2, 2),
                           {m.maxX() + 2, m.y() + m.height() / float(n) * float(j) - th / 2, 46, th},
                           gfx::Align::Right});
    for (gfx::Rect r : {chart.m_rtVolRight, chart.m_rtLevel2Right})
        for (float f : {0.f, 0.5f, 1.f})
            s.texts.push_back({Util::FormatFloatWithUnit(volMax * (1 - f), 2),
                               {r.x(), r.y() + r.height() * f - th / 2, r.width(), th},
                               gfx::Align::Right});
    for (auto [title, line, values] :
         {std::tuple{chart.mainTechIndex()->getParamsText(), chart.m_rtMainTitle, 4},
          std::tuple{chart.secondTechIndex()->getParamsText(), chart.m_rtVolTitle, 4},
          std::tuple{std::string("DDX:0.200"), chart.m_rtLevel2Title, 0}}) {
        float tx = line.x() + 75;
        std::vector<std::string> pieces{title};
        for (int o = 0; o < values; ++o)
            pieces.push_back("MA" + std::to_string(o + 1) + ":" + Util::FormatFloatWithUnit(9.876f, 3));
        for (const std::string &piece : pieces) {
            const float w = gfx::measure(piece, *chart.techTitleFont()).w + 8;
            s.texts.push_back({piece, {tx, line.y(), w, line.height()}, gfx::Align::Left});
            tx += w;
        }
    }
    s.texts.push_back({"12-1-4", {m.x(), chart.m_rtBottom.y(), 80, th}, gfx::Align::Left});
    s.texts.push_back({"12-7-23", {m.maxX() - 80, chart.m_rtBottom.y(), 80, th}, gfx::Align::Right});
    return s;
}

void drawScene(gfx::Context &c, const Scene &s, const gfx::Font &font, const gfx::Font &titleFont) {
    StylePool &style = StylePool::Instance();
    for (const gfx::Rect &r : s.frames) {
        c.setFill(*gfx::Color::clear());
        c.fillRect(r);
        c.setStroke(*gfx::Color::white(47.0f / 255));
        c.setLineWidth(1);
        c.strokeRect(r);
    }
    const float dash[] = {3, 8};
    c.save();
    c.setDash(dash);
    for (const Scene::Segment &d : s.dashed) {
        c.setStroke(*d.color);
        c.beginPath();
        c.moveTo(d.from);
        c.lineTo(d.to);
        c.strokePath();
    }
    c.restore();
    for (const Scene::Body &b : s.gradientBodies) {
        c.save();
        c.clipToRect(b.rect);
        c.drawLinearGradient(b.rise ? *style.gradientKLineRise : *style.gradientKLineFall, b.rect.o,
                             {b.rect.maxX(), b.rect.y()});
        c.restore();
    }
    for (const auto &[r, color] : s.filled) {
        c.setFill(*color);
        c.fillRect(r);
    }
    for (const Scene::Segment &l : s.lines) {
        c.setStroke(*l.color);
        c.setLineWidth(1);
        c.beginPath();
        c.moveTo(l.from);
        c.lineTo(l.to);
        c.strokePath();
    }
    c.setFill(*style.clTextName);
    for (const Scene::Text &t : s.texts)
        c.drawText(t.text, t.rect, t.align == gfx::Align::Left ? titleFont : font, gfx::LineBreak::Clip,
                   t.align);
}

void BM_DirectGfxSameShapes(benchmark::State &state) {
    auto chart = loadedChart();
    const Scene scene = sceneOf(*chart);
    gfx::Surface surface{int(Width), int(Height)};
    gfx::Context context(surface);
    for (auto _ : state) {
        context.setFill(*gfx::Color::black());
        context.fillRect({0, 0, Width, Height});
        drawScene(context, scene, *chart->font(), *chart->techTitleFont());
        benchmark::ClobberMemory();
    }
    state.counters["rects"] = double(scene.frames.size() + scene.gradientBodies.size() + scene.filled.size());
    state.counters["lines"] = double(scene.dashed.size() + scene.lines.size());
    state.counters["texts"] = double(scene.texts.size());
}
BENCHMARK(BM_DirectGfxSameShapes)->Unit(benchmark::kMillisecond);

} // namespace
