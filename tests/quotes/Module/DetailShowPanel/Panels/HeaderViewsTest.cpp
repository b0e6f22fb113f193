#include "Module/DetailShowPanel/StockInfoShowView.h"
#include "Module/DetailShowPanel/StockPriceShowView.h"

#include "gfx/Image.h"
#include "host/Offscreen.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

// The owner of the info header: notes the tags of the buttons it is handed and, as the screen
// does, flips the watch-list state after an add or a remove.
struct Owner : base::Object, StockInfoShowViewDelegate {
    base::Weak<StockInfoShowView> header;
    std::vector<std::string> heard;
    base::Opt<void> AddNewStockAction(ui::Button &sender) override {
        heard.push_back("add " + std::to_string(sender.tag));
        if (auto h = header.lock())
            h->SetAddMyStockStatus(sender.tag == StockInfoShowView::AddTag);
        return {};
    }
    base::Opt<void> NextStockAction(ui::Button &) override {
        heard.push_back("next");
        return {};
    }
};

gfx::Point centre(const ui::View &view) {
    gfx::Rect f = view.frame();
    return view.superview()->convert(gfx::Point{f.midX(), f.midY()}, nullptr);
}

TEST(StockPriceShowView, SixPairsInThreeRowsOfQuarterCells) {
    auto header = base::make<StockPriceShowView>(gfx::Rect{380, 0, 388, 80});
    EXPECT_EQ(header->nameLabel(0).frame(), (gfx::Rect{0, 5, 97, 20}));
    EXPECT_EQ(header->valueLabel(1).frame(), (gfx::Rect{291, 5, 97, 20}));
    EXPECT_EQ(header->nameLabel(2).frame(), (gfx::Rect{0, 30, 97, 20}));
    EXPECT_EQ(header->valueLabel(5).frame(), (gfx::Rect{291, 55, 97, 20}));
    EXPECT_EQ(header->nameLabel(4).text(), "内盘");

    header->SetFieldValueArray({"1.2%", "0.8", "3.1亿", "12万", "5万", "7万"});
    header->SetFieldNameArray({"总额", "市值"});
    EXPECT_EQ(header->nameLabel(1).text(), "市值") << "the texts given fill the slots they cover";
    EXPECT_EQ(header->nameLabel(2).text(), "总额");
    header->SetFieldValueArray({});
    EXPECT_EQ(header->valueLabel(2).text(), "3.1亿") << "an empty array changes nothing";
    header->clearView();
    EXPECT_EQ(header->valueLabel(2).text(), "");
    EXPECT_EQ(header->nameLabel(3).text(), "总手") << "captions stay";
}

TEST(StockInfoShowView, TheArrowAndColoursFollowTheSignOnly) {
    auto header = base::make<StockInfoShowView>(gfx::Rect{0, 0, 380, 80});
    EXPECT_FALSE(header->upDownImgView().image()) << "no arrow before the first quote";
    header->SetUpDown(0.5f);
    EXPECT_EQ(header->upDownImgView().image(), gfx::Image::named("up.png"));
    EXPECT_EQ(*header->changeLabel().textColor(), *gfx::Color::rgba(1, 0, 0));
    header->SetUpDown(-3);
    EXPECT_EQ(*header->rangeLabel().textColor(), *gfx::Color::rgba(0, 1, 0));
    header->SetUpDown(0);
    EXPECT_EQ(header->upDownImgView().image(), gfx::Image::named("equal.png"));
    EXPECT_EQ(*header->lastLabel().textColor(), *gfx::Color::white());
    header->SetUpDown(2);
    header->SetUpDown(std::nanf(""));
    EXPECT_EQ(header->upDownImgView().image(), gfx::Image::named("up.png")) << "not a number changes nothing";

    header->lastLabel().setText("10.20");
    header->clearView();
    for (ui::Label *label : {&header->nameLabel(), &header->codeLabel(), &header->lastLabel(),
                             &header->changeLabel(), &header->rangeLabel()})
        EXPECT_EQ(label->text(), "--");
    EXPECT_EQ(*header->lastLabel().textColor(), *gfx::Color::white());
}

TEST(StockInfoShowView, TheWatchListButtonSendsAddThenRemove) {
    host::TestApp app;
    auto header = base::make<StockInfoShowView>(gfx::Rect{0, 0, 380, 80});
    auto owner = base::make<Owner>();
    owner->header = header;
    header->delegate = owner;
    app.window().addSubview(header);
    app.tap(centre(header->addMyStockBtn()));
    app.tap(centre(header->addMyStockBtn()));
    app.tap(centre(header->nextStockBtn()));
    app.advance(0.5);
    EXPECT_EQ(owner->heard, (std::vector<std::string>{"add 1", "add 2", "next"}));
    EXPECT_EQ(header->addMyStockBtn().tag, StockInfoShowView::AddTag);
    EXPECT_EQ(header->addMyStockBtn().currentImage(), gfx::Image::named("add_stock.png"));
    header->SetAddMyStockStatus(true);
    EXPECT_EQ(header->addMyStockBtn().currentImage(), gfx::Image::named("remove_stock.png"));

    header->SetTurnPageShow(false);
    EXPECT_TRUE(header->prevStockBtn().isHidden());
    EXPECT_TRUE(header->nextStockBtn().isHidden());
}

TEST(StockInfoShowView, AnotherHeightMovesOnlyTheButtons) {
    auto header = base::make<StockInfoShowView>(gfx::Rect{0, 0, 380, 100});
    EXPECT_EQ(header->addMyStockBtn().frame(), (gfx::Rect{170, 35, 30, 30}));
    EXPECT_EQ(header->prevStockBtn().frame(), (gfx::Rect{130, 25, 22, 22}));
    EXPECT_EQ(header->nextStockBtn().frame(), (gfx::Rect{130, 53, 22, 22}));
    EXPECT_EQ(header->lastLabel().frame(), (gfx::Rect{202, 10, 110, 40})) << "clear of the add button";
    EXPECT_EQ(header->rangeLabel().frame(), (gfx::Rect{265, 55, 87, 20}));
}

} // namespace
