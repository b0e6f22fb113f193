#include "DetailScreenFixture.h"

#include "DataBase/ComAPI.h"

namespace detailscreen {
namespace {

// A member-list request as the server read it.
struct Asked {
    int board, first, count;
    bool operator==(const Asked &) const = default;
};

class BoardMembersTest : public DetailScreenTest {
protected:
    // Boards of some 40 members and more: two pages.
    BoardMembersTest() : DetailScreenTest(99) {}
    // A stock's screen on its "板块" tab, its boards listed.
    void SetUp() override {
        readyWithoutAccount();
        screen = open("SH600000");
        panel = screen->rightStockDetailPanel();
        ASSERT_TRUE(panel);
        panel->slideMenuViewTop().SetSelectedItemIndex(2);
        panel->ReturnSelectedIndex(2, panel->slideMenuViewTop());
        ASSERT_GE(boards().dataArray().size(), 2u);
        app.render();
    }
    ElementBoardView &boards() { return panel->elementBoardView(); }
    base::Ref<ElementStockView> members() { return boards().elementStockView(); }
    // Taps a board and lets its first page arrive and the list slide in.
    void enter(int row) {
        gfx::Rect r = boards().tableView().rectForRow({0, row});
        app.tap(boards().tableView().convert(gfx::Point{60, r.midY()}, nullptr));
        settle();
        app.advance(ElementStockView::SlideSeconds);
        settle();
    }
    std::vector<Asked> asked() const {
        std::vector<Asked> out;
        for (const peers::ReceivedFrame &frame : quotes.received())
            if (frame.type == 2955) {
                // Board, field groups, sort field, order, first row, rows.
                uint32_t pos = 0;
                int board = ComAPI::ReadShort(frame.bytes(), pos);
                ComAPI::ReadShort(frame.bytes(), pos);
                ComAPI::ReadByte(frame.bytes(), pos);
                ComAPI::ReadByte(frame.bytes(), pos);
                int first = ComAPI::ReadShort(frame.bytes(), pos);
                out.push_back({board, first, ComAPI::ReadShort(frame.bytes(), pos)});
            }
        return out;
    }
    gfx::Point inList(float x, float y) { return boards().convert(gfx::Point{x, y}, nullptr); }

    base::Ref<StockDetailViewController> screen;
    RightStockDetailPanel *panel = nullptr;
};

TEST_F(BoardMembersTest, ABoardsMembersArriveAndAreRefreshedOnlyWhileSlidIn) {
    quotes.clearReceived();
    enter(1);
    int board = boards().dataArray()[1]->boardID;
    ASSERT_TRUE(members());
    EXPECT_EQ(asked(), (std::vector<Asked>{{board, 0, 30}}));
    ASSERT_EQ(members()->dataArray()->items.size(), 30u);

    // The screen's tick asks the rows in view.
    quotes.clearReceived();
    advance(StockDetailViewController::RefreshPeriod + 0.5);
    EXPECT_EQ(asked(), (std::vector<Asked>{{board, 0, ElementStockView::RowsPerScreen}}));

    // Not while the finger holds the list, nor while it glides.
    quotes.clearReceived();
    app.touchDown(1, inList(128, 200));
    app.touchMove(1, inList(128, 150));
    app.touchMove(1, inList(128, 100));
    ASSERT_TRUE(members()->tableView().isDragging());
    boards().reqDataOnTimer();
    settle();
    EXPECT_EQ(asked(), std::vector<Asked>{});
    app.touchUp(1);

    // The name button slides it out; ticks then no longer reach it.
    members()->boardNameBtn().sendActions(ui::TouchUpInside);
    app.advance(ElementStockView::SlideSeconds);
    quotes.clearReceived();
    advance(2 * StockDetailViewController::RefreshPeriod + 1);
    EXPECT_EQ(asked(), std::vector<Asked>{});
}

// The next page is asked once less than one and a half screens of rows remain below those in view.
TEST_F(BoardMembersTest, TheNextPageIsAskedOnceAheadOfTheEnd) {
    enter(1);
    ASSERT_TRUE(members());
    ui::TableView &table = members()->tableView();
    int total = members()->boardElementData().pack()->totalCount;
    ASSERT_GT(total, 30);
    int board = members()->currentBoardID();
    float h = table.frame().height(), content = table.contentSize().h;
    quotes.clearReceived();
    // Just short of the threshold: nothing.
    float edge = content - ElementStockView::NextPageScreens * h;
    table.setContentOffset({0, edge - 1});
    settle();
    EXPECT_EQ(asked(), std::vector<Asked>{});
    table.setContentOffset({0, edge + 1});
    table.setContentOffset({0, edge + 2});
    settle();
    EXPECT_EQ(asked(), (std::vector<Asked>{{board, 30, 30}}));
    EXPECT_EQ(members()->dataArray()->items.size(), size_t(std::min(total, 60)));
}

} // namespace
} // namespace detailscreen
