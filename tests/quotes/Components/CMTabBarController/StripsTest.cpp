#include "Components/CMTabBarController/CMBoardBannerView.h"
#include "Components/CMTabBarController/CMIndexBannerView.h"
#include "Components/CMTabBarController/CMOverturnShowerView.h"
#include "Components/CMTabBarController/CMTabBarController.h"

#include "host/Offscreen.h"
#include "ui/Animator.h"

#include <gtest/gtest.h>

namespace {

base::Ref<StockQuoteInf> quote(const std::string &code, const std::string &name, int32_t close,
                               int32_t last) {
    auto record = base::make<StockQuoteInf>();
    record->code = code;
    record->name = name;
    record->decimal = 2;
    record->closeprice = close;
    record->newprice = last;
    record->amount = 12345;
    return record;
}

struct Picks : CMIndexBannerViewDelegate, CMBoardBannerViewDelegate, base::Object {
    std::vector<std::string> picked;
    base::Opt<void> ReturnSelectedIndex(const std::string &name, const std::string &code) override {
        picked.push_back(name + " " + code);
        return {};
    }
    base::Opt<void> ReturnSelectedBoard(const std::string &name, const std::string &code) override {
        picked.push_back(name + " " + code);
        return {};
    }
};

struct StripsTest : ::testing::Test {
    host::TestApp app;
    base::Ref<Picks> picks = base::make<Picks>();

    void tapOn(ui::View &view) {
        gfx::Rect frame = view.convert(view.bounds(), nullptr);
        app.tap({frame.midX(), frame.midY()});
        app.runPending();
    }
};

TEST_F(StripsTest, IndexBannerFlipsThroughItsEntriesEveryThreeSecondsInTheRiseColours) {
    auto banner = base::make<CMIndexBannerView>(gfx::Rect{0, 705, 180, 44});
    banner->delegate = picks;
    app.window().addSubview(banner);
    std::vector<base::Ref<CustomQuotesList::QuoteDic>> entries;
    for (auto [code, name, last] : {std::tuple{"SH000001", "上证指数", 215700},
                                    {"SZ399001", "深证成指", 862000},
                                    {"HKHSI", "恒生指数", 2251234}})
        entries.push_back(base::make<CustomQuotesList::QuoteDic>(CustomQuotesList::QuoteDic{
            code, quote(code, name, name == std::string("深证成指") ? 862745 : last, last)}));
    entries[0]->basicInf->closeprice = 215632;
    banner->SetIndexDataArray({});
    EXPECT_TRUE(banner->shownFace().indexNameLbl().text().empty()) << "an empty reply changes nothing";
    banner->SetIndexDataArray(entries);

    struct Step {
        const char *name;
        base::Ref<gfx::Color> colour;
    };
    const Step steps[] = {{"上证指数", gfx::Color::red()},
                          {"深证成指", gfx::Color::green()},
                          {"恒生指数", gfx::Color::white()},
                          {"上证指数", gfx::Color::red()}};
    for (const Step &step : steps) {
        IndexDetailView &face = banner->shownFace();
        EXPECT_EQ(face.indexNameLbl().text(), step.name);
        EXPECT_EQ(*face.lastLbl().textColor(), *step.colour) << step.name;
        EXPECT_EQ(*face.rangeLbl().textColor(), *step.colour) << step.name;
        EXPECT_EQ(*face.volLbl().textColor(), *gfx::Color::white());
        app.advance(2.9);
        EXPECT_EQ(banner->shownFace().indexNameLbl().text(), step.name) << "still shown before 3 s";
        app.advance(0.1);
    }
    ui::Transition *flip = banner->layer().transitionForKey("animation");
    ASSERT_NE(flip, nullptr);
    EXPECT_EQ(flip->type, ui::Transition::Type::Flip);
    EXPECT_EQ(flip->subtype, ui::Transition::From::Bottom);

    app.advance(1.5); // the flip has ended
    tapOn(*banner);
    EXPECT_EQ(picks->picked, (std::vector<std::string>{"深证成指 SZ399001"}))
        << "the entry of the face in front";
}

TEST_F(StripsTest, BoardBannerTurnsThroughTheRankingAndRestartsWhenAReplyShrinks) {
    auto banner = base::make<CMBoardBannerView>(gfx::Rect{924, 705, 100, 44});
    banner->delegate = picks;
    app.window().addSubview(banner);
    std::vector<base::Ref<StockQuoteInf>> boards;
    for (int i = 0; i < 5; ++i)
        boards.push_back(
            quote("BI00010" + std::to_string(i + 1), "板块" + std::to_string(i), 1000, 1100 - 50 * i));
    banner->SetBoardDataArray(boards, true);
    std::vector<std::string> places, colours;
    for (int i = 0; i < 5; ++i) {
        places.push_back(banner->shownFace().SNLabel().text());
        colours.push_back(banner->shownFace().rangeLbl().textColor()->description());
        app.advance(3);
    }
    EXPECT_EQ(places, (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(colours[0], gfx::Color::red()->description());
    EXPECT_EQ(colours[2], gfx::Color::white()->description());
    EXPECT_EQ(colours[4], gfx::Color::green()->description());
    ui::Transition *cube = banner->layer().transitionForKey("animation");
    ASSERT_NE(cube, nullptr);
    EXPECT_EQ(cube->type, ui::Transition::Type::Cube);
    EXPECT_EQ(cube->subtype, ui::Transition::From::Right);

    // At the first board again, then a step to the second; a reply of two boards is refilled
    // behind, and the next step, past its end, starts again at the first.
    app.advance(3);
    ASSERT_EQ(banner->iIndex(), 1);
    banner->SetBoardDataArray({boards[4], boards[3]}, true);
    EXPECT_EQ(banner->shownFace().boardNameLbl().text(), "板块1") << "what shows changes at the next step";
    app.advance(3);
    EXPECT_EQ(banner->shownFace().boardNameLbl().text(), "板块4");
    EXPECT_EQ(banner->shownFace().SNLabel().text(), "1");
    app.advance(1.5);
    tapOn(*banner);
    EXPECT_EQ(picks->picked, (std::vector<std::string>{"板块4 BI000105"}));
}

// How many pixels of the rectangle differ between two pictures of the window.
int differing(const gfx::Surface &a, const gfx::Surface &b, gfx::Rect r) {
    int count = 0;
    for (int y = int(r.y()); y < int(r.maxY()); ++y)
        for (int x = int(r.x()); x < int(r.maxX()); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

// A step shows the entry going and the next one coming: the flip and the cube start from the face
// shown before the step and end on the next entry.
TEST_F(StripsTest, BannerStepsTurnTheOldEntryIntoTheNewOne) {
    auto index = base::make<CMIndexBannerView>(gfx::Rect{0, 705, 180, 44});
    auto board = base::make<CMBoardBannerView>(gfx::Rect{924, 705, 100, 44});
    app.window().setBackgroundColor(gfx::Color::black());
    app.window().addSubview(index);
    app.window().addSubview(board);
    std::vector<base::Ref<CustomQuotesList::QuoteDic>> indexes;
    for (auto [code, name, last] :
         {std::tuple{"SH000001", "上证指数", 215700}, {"SZ399001", "深证成指", 862000}})
        indexes.push_back(base::make<CustomQuotesList::QuoteDic>(
            CustomQuotesList::QuoteDic{code, quote(code, name, 800000, last)}));
    index->SetIndexDataArray(indexes);
    board->SetBoardDataArray(
        {quote("BI000101", "银行板块", 1000, 1100), quote("BI000102", "券商", 1000, 900)}, true);
    app.advance(CMBannerView::SwitchInterval - 0.01);
    gfx::Surface before = app.render();
    app.advance(0.01);
    gfx::Surface starting = app.render();
    app.advance(CMBannerView::TransitionDuration + 0.1);
    gfx::Surface after = app.render();
    for (ui::View *banner : {static_cast<ui::View *>(index.get()), static_cast<ui::View *>(board.get())}) {
        gfx::Rect area = banner->frame();
        int changed = differing(before, after, area);
        ASSERT_GT(changed, 50) << "the next entry shows other texts";
        EXPECT_LT(differing(before, starting, area), changed / 10) << "the turn starts from the old entry";
    }
}

TEST_F(StripsTest, MarqueeShowsEachHeadlineForSixPointSixSecondsAndRestartsAfterRunningDry) {
    auto marquee = base::make<CMOverturnShowerView>(gfx::Rect{0, 685, 1024, 20});
    app.window().addSubview(marquee);
    marquee->addTitleToArray(base::Dict{{"title", "欢迎"}});
    EXPECT_EQ(marquee->switchTitleLabel().text(), " 欢迎");
    marquee->removeAllTitle();
    marquee->addTitleToArray(base::Dict{{"title", "甲"}, {"otime", "12-07 15:01"}, {"url", "u1"}});
    marquee->addTitleToArray(base::Dict{{"title", "乙"}});
    EXPECT_EQ(marquee->getNewsTitle(2), "--");
    EXPECT_EQ(marquee->getNewsTitle(-1), "--");

    app.advance(6.0 + 0.29);
    EXPECT_EQ(marquee->switchTitleLabel().text(), " 欢迎") << "fading out";
    app.advance(0.02);
    EXPECT_EQ(marquee->switchTitleLabel().text(), " 乙") << "the welcome item was at index 0";
    app.advance(6.6);
    EXPECT_EQ(marquee->switchTitleLabel().text(), "12-07 15:01 甲");

    marquee->removeAllTitle();
    app.advance(6.6);
    EXPECT_FALSE(marquee->isCycling());
    EXPECT_EQ(marquee->switchTitleLabel().alpha(), 0) << "an empty list leaves the label faded out";
    marquee->addTitleToArray(base::Dict{{"title", "丙"}});
    app.advance(0.3);
    EXPECT_EQ(marquee->switchTitleLabel().text(), " 丙");
    EXPECT_EQ(marquee->switchTitleLabel().alpha(), 1);
    EXPECT_TRUE(marquee->isCycling()) << "new items start the stopped cycle again";
}

} // namespace

namespace {

TEST(TabBarStrips, LandscapeFramesOnlyWhenTheOrientationIsSetBeforeTheViewIsBuilt) {
    host::TestApp app;
    // Screen frames, in the controller's view below the 20-point status bar.
    struct Case {
        int orientation;
        float marqueeY, bannerY;
    };
    for (const Case &c : {Case{4, 685, 705}, Case{3, 685, 705}, Case{0, 680, 700}, Case{1, 680, 700}}) {
        auto controller = base::make<CMTabBarController>();
        controller->setPrevOrientation(c.orientation);
        controller->view();
        EXPECT_EQ(controller->overturnShowerView().frame(), (gfx::Rect{0, c.marqueeY, 1024, 20}))
            << c.orientation;
        EXPECT_EQ(controller->indexBannerView().frame(), (gfx::Rect{0, c.bannerY, 180, 44})) << c.orientation;
        EXPECT_EQ(controller->boardBannerView().frame(), (gfx::Rect{924, c.bannerY, 100, 44}))
            << c.orientation;
        EXPECT_EQ(controller->overturnShowerView().switchTitleLabel().text(),
                  " " + CMTabBarController::welcomeText());
    }
}

} // namespace
