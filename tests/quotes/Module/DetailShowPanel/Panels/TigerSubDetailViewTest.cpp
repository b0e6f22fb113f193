#include "Module/DetailShowPanel/TigerSubDetailView.h"

#include "gfx/Color.h"
#include "gfx/Image.h"
#include "host/Offscreen.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

namespace {

using Degree = TigerSubDetailView::Degree;
using Degrees = TigerSubDetailView::Degrees;

const gfx::Rect kTab{0, 30, 256, 355};

base::Ref<StockBasicInf> record(int zd, int dd, int tdd, int vol = 0) {
    auto r = base::make<StockBasicInf>();
    r->buyZDRate = int16_t(zd);
    r->buyDDRate = int16_t(dd);
    r->buyTDDRate = int16_t(tdd);
    r->vol = vol;
    return r;
}

// The tab in a window, rendered after each record as the screen would show it.
struct TigerTest : testing::Test {
    host::TestApp app;
    base::Ref<TigerSubDetailView> view = base::make<TigerSubDetailView>(kTab);

    void SetUp() override {
        app.window().addSubview(view);
        app.render();
    }
    void show(const base::Ref<StockBasicInf> &r) {
        view->SetTigerData(r);
        app.render();
    }
    TigerDetailCell &row(int section, int r) {
        return dynamic_cast<TigerDetailCell &>(*view->valueTableView().cellForRow({section, r}));
    }
};

// Opaque pixels of a slice's image in each quadrant as seen on screen: top right, bottom right,
// bottom left, top left.
std::array<int, 4> quadrants(TigerSubDetailView &view, int tag) {
    auto *slice = dynamic_cast<ui::ImageView *>(view.viewWithTag(tag));
    std::array<int, 4> counts{};
    if (!slice || !slice->image())
        return counts;
    const gfx::Surface &s = slice->image()->surface();
    int w = s.width(), h = s.height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (s.pixel(x, y).a > 0) {
                bool right = x >= w / 2, bottom = y >= h / 2;
                ++counts[right ? (bottom ? 1 : 0) : (bottom ? 2 : 3)];
            }
    return counts;
}

TEST_F(TigerTest, BuySliceAnglesAndArtworkFollowTheRates) {
    struct Case {
        const char *name;
        int zd, dd, tdd;
        Degrees red;
    };
    const Case cases[] = {
        {"all small", 0, 0, 0, {Degree{270, 270}, {270, 270}, {270, 270}, {270, 450}}},
        {"quarters", 2500, 2500, 2500, {Degree{270, 315}, {315, 360}, {360, 405}, {405, 450}}},
        {"one unit extra-large",
         0,
         0,
         1,
         {Degree{270, 270.018f}, {270.018f, 270.018f}, {270.018f, 270.018f}, {270.018f, 450}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        show(record(c.zd, c.dd, c.tdd));
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(view->redDegreeArray()[i].start, c.red[i].start, 1e-3) << i;
            EXPECT_NEAR(view->redDegreeArray()[i].end, c.red[i].end, 1e-3) << i;
        }
        EXPECT_EQ(view->redImageNames(),
                  (std::array<std::string, 4>{"red_04.png", "red_03.png", "red_02.png", "red_01.png"}));
    }
    // Whole degrees only: the 0.018-degree extra-large slice draws nothing, its row still counts.
    EXPECT_EQ(quadrants(*view, TigerSubDetailView::beginRedTag), (std::array<int, 4>{}));
    EXPECT_EQ(row(0, 3).valueLabel2().text(), "0.01%");
}

TEST_F(TigerTest, RenderedRingPutsBuyRightAndExtraLargeAtTheBottom) {
    auto r = record(2500, 2500, 2500);
    r->sellZDRate = r->sellDDRate = r->sellTDDRate = 2500;
    show(r);

    auto extraLargeBuy = quadrants(*view, TigerSubDetailView::beginRedTag);
    EXPECT_GT(extraLargeBuy[1], 0) << "bottom right";
    EXPECT_EQ(extraLargeBuy[0] + extraLargeBuy[2] + extraLargeBuy[3], 0);
    auto smallBuy = quadrants(*view, TigerSubDetailView::beginRedTag + 3);
    EXPECT_GT(smallBuy[0], 0) << "top right";
    EXPECT_EQ(smallBuy[1] + smallBuy[2] + smallBuy[3], 0);
    auto extraLargeSell = quadrants(*view, TigerSubDetailView::beginGreenTag + 3);
    EXPECT_GT(extraLargeSell[2], 0) << "bottom left";
    EXPECT_EQ(extraLargeSell[0] + extraLargeSell[1] + extraLargeSell[3], 0);
}

TEST_F(TigerTest, BeforeDataAndAfterClearing) {
    EXPECT_EQ(view->redDegreeArray(), (Degrees{Degree{270, 330}, {330, 360}, {360, 370}, {370, 450}}));
    EXPECT_EQ(view->greenDegreeArray(), (Degrees{Degree{90, 135}, {135, 180}, {180, 225}, {225, 270}}));
    EXPECT_FLOAT_EQ(view->tableRowHeight(), 18.5f);
    EXPECT_EQ(row(1, 2).titleLabel().text(), "大单");
    EXPECT_EQ(row(1, 2).valueLabel1().text(), "0");

    auto r = record(1000, 2000, 3000, 500);
    r->sellTDDRate = 4000;
    show(r);
    view->clearView();
    app.render();
    for (const Degrees *side : {&view->redDegreeArray(), &view->greenDegreeArray()}) {
        int nonEmpty = 0;
        for (const Degree &d : *side)
            nonEmpty += d.end > d.start;
        EXPECT_EQ(nonEmpty, 1) << "one colour a half";
    }
    for (int section = 0; section < 2; ++section)
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(row(section, i).valueLabel1().text(), "0");
            EXPECT_EQ(row(section, i).valueLabel2().text(), i == 0 ? "100.00%" : "0.00%");
        }
}

TEST_F(TigerTest, TableShowsClassVolumesAndSectionHeaders) {
    show(record(1234, 0, 0, 12345));
    EXPECT_EQ(row(0, 1).valueLabel1().text(), "1523");
    EXPECT_EQ(row(0, 1).valueLabel2().text(), "12.34%");
    EXPECT_EQ(row(0, 0).valueLabel1().text(), "10822");

    auto *buyHolder = view->valueTableView().headerView(0);
    auto *sellHolder = view->valueTableView().headerView(1);
    ASSERT_TRUE(buyHolder && sellHolder);
    auto *buy = dynamic_cast<TigerDetailHeader *>(buyHolder->subviews().at(0).get());
    auto *sell = dynamic_cast<TigerDetailHeader *>(sellHolder->subviews().at(0).get());
    ASSERT_TRUE(buy && sell);
    EXPECT_EQ(buy->titleLabel().text(), " 已成交的委买单");
    EXPECT_TRUE(*buy->titleLabel().textColor() == *gfx::Color::red());
    EXPECT_EQ(sell->titleLabel().text(), " 已成交的委卖单");
    EXPECT_TRUE(*sell->titleLabel().textColor() == *gfx::Color::green());
}

// Servers have sent rates past the whole and below zero: no slice may run backwards, no share or
// volume turn negative.
TEST_F(TigerTest, HostileRatesAreHeldToTheWhole) {
    struct Case {
        int zd, dd, tdd;
        TigerSubDetailView::Rates rates;
    };
    const Case cases[] = {
        {-5, 3000, 20000, {0, 0, 2307, 7693}},
        {6000, 6000, 0, {0, 5000, 5000, 0}},
        {3000, 3000, 3000, {1000, 3000, 3000, 3000}},
        {-100, -100, -100, {10000, 0, 0, 0}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TigerSubDetailView::SideRates(c.zd, c.dd, c.tdd), c.rates)
            << c.zd << " " << c.dd << " " << c.tdd;

    show(record(30000, 30000, 30000, 900));
    for (const Degree &d : view->redDegreeArray())
        EXPECT_GE(d.end, d.start);
    EXPECT_NEAR(view->redDegreeArray()[3].end, 450, 1e-3);
    EXPECT_EQ(row(0, 0).valueLabel1().text(), "0");
    EXPECT_EQ(row(0, 0).valueLabel2().text(), "0.00%");
}

} // namespace

namespace {

// Each class's slice artwork is drawn in the colour of its table row's swatch, so ring and table
// read alike: "red_01.png" the small buy orders down to "red_04.png" the extra-large, the greens alike.
TEST_F(TigerTest, SliceArtworkWearsItsRowsSwatch) {
    for (int section = 0; section < 2; ++section)
        for (int r = 0; r < 4; ++r) {
            std::string name =
                std::string(section == 0 ? "red_0" : "green_0") + std::to_string(r + 1) + ".png";
            SCOPED_TRACE(name);
            auto image = gfx::Image::named(name);
            ASSERT_TRUE(image);
            const gfx::Surface &s = image->surface();
            gfx::Rgba8 inside = s.pixel(s.width() / 2, s.height() / 4);
            const gfx::Color &swatch = *row(section, r).tagLabel().backgroundColor();
            EXPECT_NEAR(inside.r, swatch.r() * 255, 3);
            EXPECT_NEAR(inside.g, swatch.g() * 255, 3);
            EXPECT_NEAR(inside.b, swatch.b() * 255, 3);
        }
}

} // namespace
